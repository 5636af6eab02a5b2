// The main window's start and stop: the settings read, repaired and written back, the first
// frame, and the set-up values saved once by every way of closing the window.
#include "MainFormFixture.h"

#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QMouseEvent>
#include <functional>

namespace tarnell {

using namespace mainformtest;

namespace {

// Plates of cells (1..n, 1..n) are drawn, the plate places just beyond are background.
void expectEmptyBoard(const MainForm& test, const std::function<QColor(QPoint)>& pixel, int n) {
    (void)test;
    for (int row = 1; row <= n; ++row)
        for (int col = 1; col <= n; ++col)
            EXPECT_TRUE(isGreenPlate(pixel(cellCentre(row, col))))
                << "cell " << row << "," << col << " is "
                << pixel(cellCentre(row, col)).name().toStdString();
    if (n < MaxFieldSize) {
        EXPECT_TRUE(isGrey(pixel(cellCentre(n + 1, n + 1))));
        EXPECT_TRUE(isGrey(pixel(cellCentre(1, n + 1) + QPoint(4, 0))));
    }
}

} // namespace

TEST_F(MainForm, FirstStartWritesTheDefaultsAndShowsAnEmptyEightByEightBoard) {
    ASSERT_FALSE(QFile::exists(settingsPath()));
    open();
    // Written at start, before anything is played or closed.
    EXPECT_EQ(stored(QStringLiteral("Lim")).toInt(), 5);
    EXPECT_EQ(stored(QStringLiteral("Fin")).toInt(), 8);
    EXPECT_EQ(stored(QStringLiteral("Hints")).toString(), QStringLiteral("1"));

    EXPECT_EQ(ui<"LCDLabel5">()->Caption(), QStringLiteral("08"));
    EXPECT_EQ(ui<"LCDLabel6">()->Caption(), QStringLiteral("05"));
    EXPECT_EQ(ui<"LCDLabel2">()->Caption(), QStringLiteral("00"));
    EXPECT_EQ(ui<"LCDLabel3">()->Caption(), QStringLiteral("00"));
    EXPECT_EQ(ui<"LCDLabel4">()->Caption(), QStringLiteral("00"));
    EXPECT_EQ(ui<"LCDLabel1">()->Caption(), QStringLiteral("00:00,0"));
    EXPECT_TRUE(ui<"JvgCheckBox12">()->isChecked());
    EXPECT_FALSE(ui<"mybitbutn51">()->isEnabled());
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::GamePage);
    EXPECT_FALSE(window_->puzzle().Started());
    EXPECT_EQ(window_->puzzle().FieldSize(), 8);
    expectEmptyBoard(
        *this, [this](QPoint p) { return fieldPixel(p); }, 8);
    EXPECT_TRUE(testsupport::messages().isEmpty())
        << testsupport::messages().join('\n').toStdString();
}

TEST_F(MainForm, StoredTenAndTenGiveAnEmptyTenByTenBoard) {
    store(QStringLiteral("Fin"), 10);
    store(QStringLiteral("Lim"), 10);
    open();
    EXPECT_EQ(ui<"LCDLabel5">()->Caption(), QStringLiteral("10"));
    EXPECT_EQ(ui<"LCDLabel6">()->Caption(), QStringLiteral("10"));
    expectEmptyBoard(
        *this, [this](QPoint p) { return fieldPixel(p); }, 10);
    // The left corner plate starts at the area's left edge, the right one ends at 400.
    EXPECT_TRUE(isGreenPlate(fieldPixel(QPoint(3, 115))));
    EXPECT_TRUE(isGreenPlate(fieldPixel(QPoint(397, 115))));
    // Hints was missing: written back checked; existing values are not rewritten.
    EXPECT_EQ(stored(QStringLiteral("Hints")).toInt(), 1);
    EXPECT_EQ(stored(QStringLiteral("Fin")).toInt(), 10);
}

TEST_F(MainForm, StoredValuesOutOfRangeAreBroughtIntoRangeAndSavedThatWayAtExit) {
    struct Case {
        QVariant size, foxes;
        int wantSize, wantFoxes;
    };
    const Case cases[] = {
        {15, 3, 8, 3},   // too large a field falls back to 8
        {2, 1, 8, 1},    // too small a field too
        {5, 7, 5, 3},    // too many foxes for 5 x 5: the default 5, lowered to the most, 3
        {9, 0, 9, 5},    // no foxes at all: the default
        {10, -4, 10, 5}, // negative
        {4, 2, 4, 2},    // in range: kept
        {3, 5, 3, 1},    // the default lowered to the one fox of 3 x 3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size.toString().toStdString() + " " + c.foxes.toString().toStdString());
        QFile::remove(settingsPath());
        store(QStringLiteral("Fin"), c.size);
        store(QStringLiteral("Lim"), c.foxes);
        open();
        EXPECT_EQ(window_->puzzle().SetupSize(), c.wantSize);
        EXPECT_EQ(window_->puzzle().SetupFoxes(), c.wantFoxes);
        EXPECT_EQ(window_->puzzle().FieldSize(), c.wantSize);
        EXPECT_EQ(ui<"LCDLabel5">()->Caption(), QString::fromStdString(TwoDigits(c.wantSize)));
        EXPECT_EQ(ui<"LCDLabel6">()->Caption(), QString::fromStdString(TwoDigits(c.wantFoxes)));
        // Values that exist are left alone at start...
        EXPECT_EQ(stored(QStringLiteral("Fin")), c.size);
        // ...and the values in use are what the exit saves.
        window_->close();
        EXPECT_EQ(stored(QStringLiteral("Fin")).toInt(), c.wantSize);
        EXPECT_EQ(stored(QStringLiteral("Lim")).toInt(), c.wantFoxes);
        window_.reset();
    }
}

TEST_F(MainForm, ValuesOfTheWrongTypeCountAsMissingAndAreRepaired) {
    store(QStringLiteral("Fin"), QStringLiteral("large"));
    store(QStringLiteral("Lim"), QStringLiteral("7.5"));
    store(QStringLiteral("Hints"), QStringLiteral("yes"));
    open();
    EXPECT_EQ(window_->puzzle().SetupSize(), 8);
    EXPECT_EQ(window_->puzzle().SetupFoxes(), 5);
    EXPECT_TRUE(ui<"JvgCheckBox12">()->isChecked());
    EXPECT_EQ(stored(QStringLiteral("Fin")).toString(), QStringLiteral("8"));
    EXPECT_EQ(stored(QStringLiteral("Lim")).toString(), QStringLiteral("5"));
    EXPECT_EQ(stored(QStringLiteral("Hints")).toString(), QStringLiteral("1"));
    EXPECT_TRUE(testsupport::messages().isEmpty());
}

TEST_F(MainForm, StoredHintsOffUnchecksTheBoxAndIsKeptAtExit) {
    store(QStringLiteral("Hints"), 0);
    open();
    EXPECT_FALSE(ui<"JvgCheckBox12">()->isChecked());
    window_->close();
    EXPECT_EQ(stored(QStringLiteral("Hints")).toInt(), 0);
}

// Each way of closing the window, run on an active, shown window.
struct CloseRoute {
    const char* name;
    std::function<void(Tmainform_form&)> close;
};

class Closing : public MainForm, public ::testing::WithParamInterface<CloseRoute> {};

TEST_P(Closing, SavesTheSetUpValuesAndTheCheckBoxExactlyOnce) {
    openActive();
    // A puzzle with other values is on the field; the set-up values are what is saved.
    window_->mybitbutn510Click();
    window_->mybitbutn1Click(); // 9
    window_->mybitbutn1Click(); // 10
    window_->mybitbutn2Click(); // 6
    window_->RzBmpButton16Click();
    ASSERT_EQ(window_->puzzle().FieldSize(), 8);

    GetParam().close(*window_);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(stored(QStringLiteral("Fin")).toInt(), 10);
    EXPECT_EQ(stored(QStringLiteral("Lim")).toInt(), 6);
    EXPECT_EQ(stored(QStringLiteral("Hints")).toInt(), 0);

    // Destroying the closed window writes nothing more.
    store(QStringLiteral("Fin"), 4);
    window_.reset();
    EXPECT_EQ(stored(QStringLiteral("Fin")).toInt(), 4);
}

namespace {

void releaseSideButton(TMyAni* button) {
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    EveryRoute, Closing,
    ::testing::Values(
        CloseRoute{"ExitSideButton",
                   [](Tmainform_form& w) { releaseSideButton(control<"MyAni4">(w)); }},
        CloseRoute{"CtrlF3",
                   [](Tmainform_form& w) {
                       QTest::keyClick(control<"mybitbutn510">(w), Qt::Key_F3, Qt::ControlModifier);
                   }},
        CloseRoute{"AltF4",
                   [](Tmainform_form& w) {
                       QTest::keyClick(control<"mybitbutn510">(w), Qt::Key_F4, Qt::AltModifier);
                   }},
        CloseRoute{"CaptionCloseButton",
                   [](Tmainform_form& w) {
                       const QPoint close(w.width() - 27, 12);
                       QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, close);
                       QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, close);
                       QTest::qWait(50); // the close request is posted
                   }},
        CloseRoute{"WindowManager", [](Tmainform_form& w) { w.close(); }}),
    [](const ::testing::TestParamInfo<CloseRoute>& info) { return std::string(info.param.name); });

TEST_F(MainForm, DestroyingTheWindowWithoutClosingItStillSaves) {
    open();
    window_->mybitbutn3Click(); // 7
    window_.reset();
    EXPECT_EQ(stored(QStringLiteral("Fin")).toInt(), 7);
    EXPECT_EQ(stored(QStringLiteral("Lim")).toInt(), 5);
}

} // namespace tarnell
