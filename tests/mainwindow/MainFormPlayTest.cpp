// Playing in the main window: the set-up buttons and their displays, the first click, moves
// and the foxes-revealed display, the clock display, and the dialogs the window opens.
#include "MainFormFixture.h"

#include "dialogs/donat.h"
#include "dialogs/game_over.h"
#include "dialogs/score.h"
#include "dialogs/warnin_fo.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/buttons/buts2.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

namespace tarnell {

using namespace mainformtest;

namespace {

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

// Top-level windows of a dialog class that are on the screen.
template <typename Form> int visibleDialogs() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<Form*>(widget) && widget->isVisible())
            ++count;
    return count;
}

} // namespace

TEST_F(MainForm, SetUpButtonsStopAtTheirLimitsAndRepaintOnlyTheDisplaysThatChange) {
    struct Case {
        int size, foxes;
        void (Tmainform_form::*button)();
        const char* wantSize;
        const char* wantFoxes;
    };
    const Case cases[] = {
        {10, 10, &Tmainform_form::mybitbutn3Click, "09", "08"}, // the cap lowers the foxes
        {9, 8, &Tmainform_form::mybitbutn1Click, "10", "08"},   // no cap: foxes untouched
        {10, 4, &Tmainform_form::mybitbutn1Click, "10", "04"},  // at the limit
        {3, 1, &Tmainform_form::mybitbutn3Click, "03", "01"},
        {8, 5, &Tmainform_form::mybitbutn2Click, "08", "06"},
        {8, 6, &Tmainform_form::mybitbutn2Click, "08", "06"}, // MaxFoxes(8) = 6
        {8, 1, &Tmainform_form::mybitbutn4Click, "08", "01"},
        {8, 2, &Tmainform_form::mybitbutn4Click, "08", "01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " x " + std::to_string(c.foxes));
        store(QStringLiteral("Fin"), c.size);
        store(QStringLiteral("Lim"), c.foxes);
        open();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        QTest::qWait(20);
        const QString sizeBefore = ui<"LCDLabel5">()->Caption();
        const QString foxesBefore = ui<"LCDLabel6">()->Caption();
        PaintCounter sizePaints(ui<"LCDLabel5">()), foxPaints(ui<"LCDLabel6">());
        (window_.get()->*c.button)();
        QTest::qWait(20);
        EXPECT_EQ(ui<"LCDLabel5">()->Caption(), QLatin1String(c.wantSize));
        EXPECT_EQ(ui<"LCDLabel6">()->Caption(), QLatin1String(c.wantFoxes));
        // A display whose value stays flickers not: it is not repainted.
        EXPECT_EQ(sizePaints.count > 0, sizeBefore != QLatin1String(c.wantSize));
        EXPECT_EQ(foxPaints.count > 0, foxesBefore != QLatin1String(c.wantFoxes));
        // The field, its displays and the clock are not touched.
        EXPECT_EQ(window_->puzzle().FieldSize(), c.size);
        EXPECT_EQ(ui<"LCDLabel2">()->Caption(), QStringLiteral("00"));
        window_.reset();
    }
}

TEST_F(MainForm, SetUpChangesDoNotResizeTheRunningPuzzle) {
    open();
    hideFoxesAt({{1, 1}, {3, 3}, {5, 5}, {7, 7}, {1, 8}});
    window_->mybitbutn510Click();
    window_->mybitbutn3Click();
    window_->mybitbutn3Click();
    EXPECT_EQ(ui<"LCDLabel5">()->Caption(), QStringLiteral("06"));
    EXPECT_EQ(ui<"LCDLabel2">()->Caption(), QStringLiteral("08"));
    EXPECT_EQ(window_->puzzle().FieldSize(), 8);
}

TEST_F(MainForm, FirstClickOnAnEmptySpotGeneratesAndStartsTheClockButOpensNothing) {
    open();
    clock_.Set(10, 0, 0, 0);
    hideFoxesAt({{2, 2}, {4, 4}, {6, 6}, {8, 8}, {2, 7}});
    window_->PaintBox3MouseUp(Qt::LeftButton, 5, 220); // the lower-left corner of the area
    const TPuzzle& puzzle = window_->puzzle();
    EXPECT_TRUE(puzzle.Started());
    EXPECT_FALSE(puzzle.Finished());
    EXPECT_EQ(puzzle.StepCount(), 0);
    for (int row = 1; row <= 8; ++row)
        for (int col = 1; col <= 8; ++col)
            EXPECT_EQ(puzzle.ViewState(row, col), vsCovered);
    EXPECT_EQ(clicks_, 0); // nothing was hit, so no sound
    EXPECT_TRUE(ui<"mybitbutn51">()->isEnabled());
    EXPECT_EQ(ui<"LCDLabel2">()->Caption(), QStringLiteral("08"));
    EXPECT_EQ(ui<"LCDLabel3">()->Caption(), QStringLiteral("05"));
    EXPECT_EQ(ui<"LCDLabel4">()->Caption(), QStringLiteral("00"));

    clock_.Advance(1500);
    window_->Timer1Timer();
    EXPECT_EQ(ui<"LCDLabel1">()->Caption(), QStringLiteral("00:01,5"));
}

TEST_F(MainForm, OtherButtonsDoNothingAtAll) {
    open();
    window_->PaintBox3MouseUp(Qt::RightButton, cellCentre(1, 1).x(), cellCentre(1, 1).y());
    window_->PaintBox3MouseUp(Qt::MiddleButton, cellCentre(1, 1).x(), cellCentre(1, 1).y());
    EXPECT_FALSE(window_->puzzle().Started());
    EXPECT_EQ(clicks_, 0);
}

TEST_F(MainForm, MovesPlayTheClickAndFoundFoxesShowOnTheRevealedDisplay) {
    open();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    clickCell(2, 3); // generates, then opens
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(window_->puzzle().ViewState(2, 3), vsOpened);
    EXPECT_EQ(ui<"LCDLabel4">()->Caption(), QStringLiteral("00"));

    clickCell(3, 4);
    EXPECT_EQ(ui<"LCDLabel4">()->Caption(), QStringLiteral("01"));
    clickCell(3, 4); // again: the sound, but no step and no count
    EXPECT_EQ(clicks_, 3);
    EXPECT_EQ(ui<"LCDLabel4">()->Caption(), QStringLiteral("01"));
    EXPECT_EQ(window_->puzzle().StepCount(), 2);

    // The move is drawn at the next frame: the fox's plate is amber under its fox.
    window_->PaintBox3MouseMove(0, 0);
    window_->Timer1Timer();
    EXPECT_TRUE(isAmberPlate(fieldPixel(cellCentre(2, 3) + QPoint(-12, 0))));
}

TEST_F(MainForm, SolvingOpensThePuzzleSolvedDialogOnceAndFreezesTheGame) {
    openActive();
    clock_.Set(12, 0, 0, 0);
    hideFoxesAt({{1, 1}, {3, 3}});
    window_->mybitbutn3Click();
    window_->mybitbutn3Click();
    window_->mybitbutn3Click(); // 5 x 5, the foxes capped at 3
    window_->mybitbutn4Click(); // 2 foxes
    window_->mybitbutn510Click();
    clock_.Advance(4200);
    window_->Timer1Timer();
    clickCell(1, 1);
    clock_.Advance(3000);
    clickCell(3, 3);
    EXPECT_TRUE(window_->puzzle().Finished());
    EXPECT_EQ(ui<"LCDLabel4">()->Caption(), QStringLiteral("02"));
    EXPECT_EQ(window_->OpenDialogMarker(), odPuzzleSolved);
    ASSERT_NE(window_->puzzleSolvedDialog(), nullptr);
    EXPECT_EQ(window_->puzzleSolvedDialog()->result().FieldSize, 5);
    EXPECT_EQ(window_->puzzleSolvedDialog()->result().FoxCount, 2);
    EXPECT_EQ(window_->puzzleSolvedDialog()->result().StepCount, 2);
    EXPECT_EQ(ElapsedMilliseconds(window_->puzzleSolvedDialog()->result().Elapsed), 7200);
    EXPECT_EQ(visibleDialogs<Tgame_over_form>(), 1);

    // The clock display stands at its last tick; clicks do nothing, not even the sound.
    const int soundsSoFar = clicks_;
    clock_.Advance(5000);
    window_->Timer1Timer();
    EXPECT_EQ(ui<"LCDLabel1">()->Caption(), QStringLiteral("00:04,2"));
    clickCell(2, 2);
    EXPECT_EQ(clicks_, soundsSoFar);
    EXPECT_EQ(window_->puzzle().ViewState(2, 2), vsCovered);

    // The next solved puzzle replaces the dialog.
    hideFoxesAt({{1, 1}, {3, 3}});
    window_->mybitbutn510Click(); // solved: no question asked
    EXPECT_EQ(window_->confirmationDialog(), nullptr);
    clickCell(1, 1);
    clickCell(3, 3);
    EXPECT_EQ(visibleDialogs<Tgame_over_form>(), 1);
}

TEST_F(MainForm, TheClockDisplayPausesOnTheAboutPageAndJumpsOnReturn) {
    openActive();
    clock_.Set(23, 59, 58, 0); // and across midnight
    window_->mybitbutn510Click();
    clock_.Advance(1000);
    window_->Timer1Timer();
    EXPECT_EQ(ui<"LCDLabel1">()->Caption(), QStringLiteral("00:01,0"));

    QTest::keyClick(window_.get(), Qt::Key_F2, Qt::ControlModifier);
    ASSERT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::AboutPage);
    const QImage frameBefore = ui<"PaintBox3">()->renderer().backBuffer();
    clock_.Advance(3000);
    window_->Timer1Timer();
    EXPECT_EQ(ui<"LCDLabel1">()->Caption(), QStringLiteral("00:01,0"));
    EXPECT_TRUE(ui<"RxGIFAnimator1">()->Active());

    QTest::keyClick(window_.get(), Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(ui<"LCDLabel1">()->Caption(), QStringLiteral("00:04,0"));
    EXPECT_FALSE(ui<"RxGIFAnimator1">()->Active());
}

TEST_F(MainForm, ShowHintsRedrawsAtOnceFromTheBoxAndItsKeyboardHandle) {
    openActive();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    clickCell(3, 4); // a fox: its neighbours are proven fox-free
    window_->PaintBox3MouseMove(0, 0);
    window_->Timer1Timer();
    const QPoint neighbour = cellCentre(2, 4) + QPoint(-12, 0);
    ASSERT_TRUE(isAmberPlate(fieldPixel(neighbour)));

    QTest::mouseClick(ui<"JvgCheckBox12">(), Qt::LeftButton);
    EXPECT_FALSE(ui<"JvgCheckBox12">()->isChecked());
    EXPECT_TRUE(isGreenPlate(fieldPixel(neighbour)));

    ui<"RzBmpButton16">()->setFocus();
    QTest::keyClick(ui<"RzBmpButton16">(), Qt::Key_Space);
    EXPECT_TRUE(ui<"JvgCheckBox12">()->isChecked());
    EXPECT_TRUE(isAmberPlate(fieldPixel(neighbour)));
    QTest::keyClick(ui<"RzBmpButton16">(), Qt::Key_Return);
    EXPECT_FALSE(ui<"JvgCheckBox12">()->isChecked());
    QTest::mouseClick(ui<"RzBmpButton16">(), Qt::LeftButton);
    EXPECT_TRUE(ui<"JvgCheckBox12">()->isChecked());
}

TEST_F(MainForm, StartNewGameAsksFirstOnlyWhileAPuzzleRuns) {
    openActive();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    window_->mybitbutn510Click(); // before the first puzzle: at once
    EXPECT_TRUE(window_->puzzle().Started());
    EXPECT_EQ(window_->confirmationDialog(), nullptr);
    clickCell(2, 3);
    const double startedAt = window_->puzzle().StartTime();

    clock_.Advance(2000);
    window_->mybitbutn510Click();
    EXPECT_EQ(window_->OpenDialogMarker(), odConfirmation);
    ASSERT_NE(window_->confirmationDialog(), nullptr);
    EXPECT_EQ(window_->confirmationDialog()->caption(), QStringLiteral("Warning!"));
    EXPECT_EQ(window_->confirmationDialog()->RxLabel1->Caption(),
              QStringLiteral("This game hasn't finished yet. Generate the new puzzle?"));
    EXPECT_EQ(window_->puzzle().StartTime(), startedAt); // nothing generated yet
    EXPECT_EQ(window_->puzzle().ViewState(2, 3), vsOpened);

    window_->mybitbutn510Click(); // asked again: still one question on the screen
    EXPECT_EQ(visibleDialogs<Twarnin_form>(), 1);

    window_->mybitbutn3Click(); // the new puzzle takes the set-up at "Yes"
    window_->confirmationDialog()->mybitbut1Click();
    EXPECT_NE(window_->puzzle().StartTime(), startedAt);
    EXPECT_EQ(window_->puzzle().FieldSize(), 7);
    EXPECT_EQ(window_->puzzle().ViewState(2, 3), vsCovered);
    EXPECT_EQ(ui<"LCDLabel2">()->Caption(), QStringLiteral("07"));
    EXPECT_EQ(ui<"LCDLabel4">()->Caption(), QStringLiteral("00"));
    EXPECT_EQ(window_->OpenDialogMarker(), odNone);
    EXPECT_EQ(visibleDialogs<Twarnin_form>(), 0);
}

TEST_F(MainForm, HighScoreOpensOnlyForAStartedPuzzleWithItsOwnSizeAndFoxes) {
    openActive();
    window_->mybitbutn51Click(); // disabled on the screen; the handler still sets the marker
    EXPECT_EQ(window_->OpenDialogMarker(), odHighScore);
    EXPECT_EQ(window_->highScoreDialog(), nullptr);

    hideFoxesAt({{1, 1}, {3, 3}, {5, 5}, {1, 5}, {5, 1}});
    window_->mybitbutn510Click();
    window_->mybitbutn1Click(); // the set-up changes; the dialog shows the puzzle's values
    QTest::mouseClick(ui<"mybitbutn51">(), Qt::LeftButton);
    ASSERT_NE(window_->highScoreDialog(), nullptr);
    EXPECT_EQ(window_->OpenDialogMarker(), odHighScore);
    EXPECT_EQ(visibleDialogs<Tscore_form>(), 1);
    EXPECT_TRUE(QFile::exists(QStringLiteral("h_fame.dat")));
    window_->mybitbutn51Click();
    EXPECT_EQ(visibleDialogs<Tscore_form>(), 1);
}

TEST_F(MainForm, BothDonationButtonsOpenOneDonationDialog) {
    openActive();
    QTest::mouseClick(ui<"mybitbutn52">(), Qt::LeftButton);
    EXPECT_EQ(window_->OpenDialogMarker(), odDonation);
    ASSERT_NE(window_->donationDialog(), nullptr);
    window_->mybitbutn53Click();
    EXPECT_EQ(visibleDialogs<Tdonat_form>(), 1);
    window_->donationDialog()->close();
    EXPECT_EQ(window_->OpenDialogMarker(), odNone);
}

TEST_F(MainForm, AConfirmationOutlivedByAnotherDialogOnlyCloses) {
    openActive();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    window_->mybitbutn510Click();
    const double startedAt = window_->puzzle().StartTime();
    clock_.Advance(1000);
    window_->mybitbutn510Click();
    Twarnin_form* question = window_->confirmationDialog();
    ASSERT_NE(question, nullptr);
    window_->mybitbutn52Click(); // the donation dialog takes the marker
    question->mybitbut1Click();
    EXPECT_EQ(window_->puzzle().StartTime(), startedAt);
}

TEST_F(MainForm, ActivatingTheWindowKeepsTheOpenDialogUpWithoutBlockingTheWindow) {
    openActive();
    window_->mybitbutn52Click();
    QWidget* dialog = window_->donationDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    // The dialog is raised, not activated: the activation stays where the player put it...
    QTest::qWait(50);
    EXPECT_TRUE(window_->isActiveWindow());
    EXPECT_TRUE(dialog->isVisible());
    // ...so the side buttons, which act only in the active window, still work.
    QTest::mousePress(ui<"MyAni2">(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(ui<"MyAni2">(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::AboutPage);
    EXPECT_EQ(ui<"MyAni2">()->pos(), QPoint(3, 222));
}

} // namespace tarnell
