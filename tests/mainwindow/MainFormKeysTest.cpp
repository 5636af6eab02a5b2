// Playing without a mouse: the arrow keys, N and the jumps move the current cell, Space and
// Enter open it as a click does, only where the game page parks the focus; Ctrl+N starts a new
// game; a dialog closed from the keyboard hands the keyboard back to the main window.
#include "MainFormFixture.h"

#include "dialogs/game_over.h"
#include "dialogs/score.h"
#include "dialogs/warnin_fo.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/buttons/buts.h"
#include "widgets/buttons/buts2.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QFileInfo>
#include <QKeyEvent>

namespace tarnell {

using namespace mainformtest;

namespace {

class Keys : public MainForm {
protected:
    // A key pressed and released where the keyboard focus is.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
    }
    Cell current() const { return {window_->puzzle().HotRow(), window_->puzzle().HotCol()}; }
    void moveTo(const Cell& cell) {
        const QPoint at = cellCentre(cell.first, cell.second);
        window_->PaintBox3MouseMove(at.x(), at.y());
    }

    // What a player sees of a game: every cell's state and mark, the counters, the displays.
    struct Seen {
        TPlane view, hints;
        int steps, found, clicks;
        QString foundDisplay, sizeDisplay;
        int marker;
        bool operator==(const Seen&) const = default;
    };
    Seen seen() const {
        const TPuzzle& p = window_->puzzle();
        return {p.ViewPlane(),
                p.HintPlane(),
                p.StepCount(),
                p.FoundCount(),
                clicks_,
                ui<"LCDLabel4">()->Caption(),
                ui<"LCDLabel2">()->Caption(),
                window_->OpenDialogMarker()};
    }
};

const std::vector<Cell> Foxes = {{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}};

TEST_F(Keys, ArrowsMoveTheCurrentCellByRowAndColumnAndStopAtTheEdges) {
    openActive();
    ASSERT_EQ(QApplication::focusWidget(), ui<"RzBmpButton1">()) << "the focus starts parked";
    press(Qt::Key_Left);
    EXPECT_EQ(current(), Cell(1, 1)) << "the first arrow makes the top cell current";
    press(Qt::Key_Right);
    press(Qt::Key_Down);
    EXPECT_EQ(current(), Cell(2, 2));
    for (int i = 0; i < 12; ++i)
        press(Qt::Key_Down);
    EXPECT_EQ(current(), Cell(8, 2));
    press(Qt::Key_Left);
    press(Qt::Key_Left);
    EXPECT_EQ(current(), Cell(8, 1));
    press(Qt::Key_Up, Qt::KeypadModifier); // the keypad's arrows too
    press(Qt::Key_Right, Qt::KeypadModifier);
    EXPECT_EQ(current(), Cell(7, 2));
    // Arrows held with Ctrl, Alt or Meta are not the board's.
    for (const Qt::KeyboardModifiers held :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier),
          Qt::KeyboardModifiers(Qt::MetaModifier), Qt::MetaModifier | Qt::KeypadModifier,
          Qt::MetaModifier | Qt::ShiftModifier}) {
        for (const Qt::Key arrow : {Qt::Key_Right, Qt::Key_Up, Qt::Key_Left, Qt::Key_Down}) {
            press(arrow, held);
            EXPECT_EQ(current(), Cell(7, 2))
                << "arrow " << arrow << " with modifiers " << std::hex << held.toInt();
        }
    }
    // The cyan plate follows at once, without waiting for the next tick.
    const QPoint plate = cellCentre(7, 2) + QPoint(-12, 0);
    EXPECT_TRUE(isCyanPlate(fieldPixel(plate)));
    EXPECT_EQ(window_->puzzle().Started(), false) << "moving opens nothing";
    EXPECT_EQ(clicks_, 0);
}

TEST_F(Keys, ThePointerSetsTheCurrentCellAndTheNextArrowGoesOnFromThere) {
    openActive();
    moveTo({3, 4});
    press(Qt::Key_Down);
    EXPECT_EQ(current(), Cell(4, 4));
    window_->PaintBox3MouseMove(200, 224); // beside the board: no current cell
    press(Qt::Key_Right);
    EXPECT_EQ(current(), Cell(1, 1));
}

TEST_F(Keys, SpaceAndEnterOpenTheCurrentCellExactlyAsALeftClickDoes) {
    // The same moves once with the keys and once with the mouse leave the same game behind.
    const std::vector<Cell> moves = {{2, 2}, {3, 4}, {3, 4}, {6, 6}, {1, 1}};
    std::vector<Seen> byKeys, byMouse;
    const Qt::Key keys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter};
    openActive();
    hideFoxesAt(Foxes);
    for (std::size_t i = 0; i < moves.size(); ++i) {
        moveTo(moves[i]);
        press(keys[i % 3], i % 3 == 2 ? Qt::KeypadModifier : Qt::NoModifier);
        byKeys.push_back(seen());
    }
    EXPECT_TRUE(ui<"mybitbutn51">()->isEnabled()) << "the first key generated the puzzle";
    window_.reset();
    clicks_ = 0;
    QFile::remove(settingsPath());
    open();
    hideFoxesAt(Foxes);
    for (const Cell& cell : moves) {
        clickCell(cell.first, cell.second);
        byMouse.push_back(seen());
    }
    EXPECT_TRUE(byKeys == byMouse);
    EXPECT_EQ(byKeys.back().clicks, 5) << "every opening plays CLICK, repeated ones too";
    EXPECT_EQ(byKeys.back().steps, 4);
    EXPECT_EQ(byKeys.back().foundDisplay, QStringLiteral("02"));
}

TEST_F(Keys, TheLastFoxFoundByKeyOpensThePuzzleSolvedDialogAndThenKeysOpenNothing) {
    openActive();
    hideFoxesAt(Foxes);
    for (const Cell& fox : Foxes) {
        moveTo(fox);
        QTest::keyClick(ui<"RzBmpButton1">(), Qt::Key_Space);
    }
    EXPECT_TRUE(window_->puzzle().Finished());
    EXPECT_EQ(window_->OpenDialogMarker(), odPuzzleSolved);
    ASSERT_NE(window_->puzzleSolvedDialog(), nullptr);
    const int before = clicks_;
    QTest::keyClick(ui<"RzBmpButton1">(), Qt::Key_Space);
    QTest::keyClick(ui<"RzBmpButton1">(), Qt::Key_Down);
    EXPECT_EQ(clicks_, before) << "a solved puzzle takes no more moves, not even the sound";
    EXPECT_EQ(current(), Cell(8, 5)) << "but the current cell still moves";
}

TEST_F(Keys, OnAPushButtonSpaceAndEnterPressTheButtonAndArrowsLeaveTheBoardAlone) {
    openActive();
    ui<"mybitbutn3">()->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_EQ(ui<"LCDLabel5">()->Caption(), QStringLiteral("07"));
    ui<"mybitbutn3">()->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    EXPECT_EQ(ui<"LCDLabel5">()->Caption(), QStringLiteral("06"));
    ui<"mybitbutn3">()->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Down);
    EXPECT_EQ(current(), Cell(0, 0));
    EXPECT_FALSE(window_->puzzle().Started());
    EXPECT_EQ(clicks_, 0);
    // On the board itself the keys act as on the parking button.
    ui<"PaintBox3">()->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Down);
    EXPECT_EQ(current(), Cell(1, 1));
}

TEST_F(Keys, AHeldKeyOpensOnceAndWithNoCurrentCellItOnlyShowsTheTopCell) {
    openActive();
    hideFoxesAt(Foxes);
    press(Qt::Key_Space);
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_FALSE(window_->puzzle().Started()) << "nothing is opened, nothing generated";
    EXPECT_EQ(clicks_, 0);
    press(Qt::Key_Right);
    press(Qt::Key_Space);
    ASSERT_EQ(clicks_, 1);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(ui<"RzBmpButton1">(), &repeat);
    EXPECT_EQ(clicks_, 1);
    EXPECT_TRUE(repeat.isAccepted()) << "the repeat does not reach the button either";
}

TEST_F(Keys, CtrlNStartsANewGameAndAsksFirstWhileOneRuns) {
    openActive();
    hideFoxesAt(Foxes);
    press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(window_->puzzle().Started());
    EXPECT_EQ(ui<"LCDLabel2">()->Caption(), QStringLiteral("08"));
    moveTo({2, 2});
    press(Qt::Key_Space);
    const int steps = window_->puzzle().StepCount();
    press(Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window_->OpenDialogMarker(), odConfirmation);
    ASSERT_NE(window_->confirmationDialog(), nullptr);
    EXPECT_TRUE(window_->confirmationDialog()->isVisible());
    EXPECT_EQ(window_->puzzle().StepCount(), steps) << "the running puzzle waits for the answer";
    // N alone starts nothing.
    window_->confirmationDialog()->close();
    QTest::keyClick(ui<"RzBmpButton1">(), Qt::Key_N);
    EXPECT_EQ(window_->OpenDialogMarker(), odNone);
    // From the about page it comes back to the game page, where the new board shows.
    press(Qt::Key_F2, Qt::ControlModifier);
    ASSERT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::AboutPage);
    QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::GamePage);
    EXPECT_EQ(window_->OpenDialogMarker(), odConfirmation);
}

TEST_F(Keys, NAndShiftNGoToThePlatesThatMayHideAFoxAsTheBoardShowsThem) {
    store(QStringLiteral("Fin"), 5);
    store(QStringLiteral("Lim"), 3);
    openActive();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}});
    press(Qt::Key_N);
    EXPECT_EQ(current(), Cell(0, 0)) << "before the first game no plate may hide a fox";
    press(Qt::Key_N, Qt::ControlModifier);
    press(Qt::Key_N, Qt::ShiftModifier);
    EXPECT_EQ(current(), Cell(5, 5)) << "with no current plate Shift+N starts after the last";
    press(Qt::Key_N);
    EXPECT_EQ(current(), Cell(1, 1)) << "and N wraps on to the first";
    EXPECT_EQ(window_->puzzle().StepCount(), 0) << "moving opens nothing";
    // The worked example's first two moves prove (2, 3)'s lines and (3, 4)'s neighbours free.
    moveTo({2, 3});
    press(Qt::Key_Space);
    moveTo({3, 4});
    press(Qt::Key_Space);
    const int clicks = clicks_;
    press(Qt::Key_N);
    EXPECT_EQ(current(), Cell(4, 2)) << "past the proven (3, 5) and (4, 1)";
    press(Qt::Key_N, Qt::ShiftModifier);
    EXPECT_EQ(current(), Cell(3, 1));
    EXPECT_TRUE(isCyanPlate(fieldPixel(cellCentre(3, 1) + QPoint(-12, 0))))
        << "the cyan plate follows at once";
    // With the hints hidden every covered plate may hide a fox, as the board then shows.
    window_->RzBmpButton16Click();
    ASSERT_FALSE(ui<"JvgCheckBox12">()->isChecked());
    press(Qt::Key_N);
    EXPECT_EQ(current(), Cell(3, 2));
    window_->RzBmpButton16Click();
    press(Qt::Key_N);
    EXPECT_EQ(current(), Cell(4, 2));
    EXPECT_EQ(clicks_, clicks) << "N opens nothing";
    EXPECT_EQ(window_->OpenDialogMarker(), odNone);
}

TEST_F(Keys, HomeEndPageUpPageDownAndCtrlHomeEndJumpToTheEnds) {
    openActive();
    press(Qt::Key_End);
    EXPECT_EQ(current(), Cell(1, 8)) << "with no current plate, from the top plate";
    press(Qt::Key_PageDown);
    EXPECT_EQ(current(), Cell(8, 8));
    press(Qt::Key_PageDown);
    EXPECT_EQ(current(), Cell(8, 8)) << "at the edge it stays";
    press(Qt::Key_Home);
    EXPECT_EQ(current(), Cell(8, 1));
    press(Qt::Key_PageUp);
    EXPECT_EQ(current(), Cell(1, 1));
    moveTo({4, 6});
    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(8, 8));
    press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1, 1));
    // The keypad's keys too, and Ctrl+Shift as Ctrl.
    press(Qt::Key_End, Qt::KeypadModifier);
    EXPECT_EQ(current(), Cell(1, 8));
    press(Qt::Key_PageDown, Qt::KeypadModifier);
    EXPECT_EQ(current(), Cell(8, 8));
    press(Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(current(), Cell(1, 1));
    // With Alt or Meta they are not the board's, nor Ctrl with Page Up and Page Down.
    press(Qt::Key_End, Qt::AltModifier);
    press(Qt::Key_End, Qt::MetaModifier);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1, 1));
    // Only on the board: on a push button Ctrl+End and End move nothing.
    ui<"mybitbutn3">()->setFocus(Qt::TabFocusReason);
    press(Qt::Key_End, Qt::ControlModifier);
    press(Qt::Key_End);
    press(Qt::Key_N);
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_FALSE(window_->puzzle().Started());
    EXPECT_EQ(clicks_, 0);
    // Ctrl+N stays the window's while the board has the keys.
    ui<"RzBmpButton1">()->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(window_->puzzle().Started());
    EXPECT_EQ(current(), Cell(1, 1));
}

TEST_F(Keys, ADialogClosedFromTheKeyboardHandsTheKeyboardBackToTheMainWindow) {
    openActive();
    hideFoxesAt(Foxes);
    press(Qt::Key_N, Qt::ControlModifier);
    ui<"mybitbutn51">()->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    Tscore_form* scores = window_->highScoreDialog();
    ASSERT_NE(scores, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([scores] {
        return QApplication::focusWidget() == scores->mybitbut1;
    })) << "an opened dialog takes the keyboard, on its first button";
    press(Qt::Key_Space);
    EXPECT_FALSE(scores->isVisible());
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return QApplication::focusWidget() == ui<"mybitbutn51">(); }));
    // The confirmation dialog: Escape says "No" and the keyboard comes back to the board.
    ui<"RzBmpButton1">()->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Down);
    press(Qt::Key_Space);
    press(Qt::Key_N, Qt::ControlModifier);
    Twarnin_form* question = window_->confirmationDialog();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(
        QTest::qWaitFor([question] { return QApplication::focusWidget() == question->mybitbut1; }));
    press(Qt::Key_Escape);
    EXPECT_FALSE(question->isVisible());
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return QApplication::focusWidget() == ui<"RzBmpButton1">(); }));
    press(Qt::Key_Right);
    EXPECT_EQ(current(), Cell(1, 2));

    // Alt+F4 closes a dialog as its close button does: the puzzle-solved one stores nothing.
    for (const Cell& fox : Foxes) {
        moveTo(fox);
        press(Qt::Key_Space);
    }
    Tgame_over_form* solved = window_->puzzleSolvedDialog();
    ASSERT_NE(solved, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([solved] { return solved->isActiveWindow(); }));
    press(Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(solved->isVisible());
    EXPECT_EQ(QFileInfo(QStringLiteral("h_fame.dat")).size(), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return window_->isActiveWindow(); }));
}

} // namespace

} // namespace tarnell
