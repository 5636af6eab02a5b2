// Ticks that change nothing draw nothing, the timer rests while they would, and the displays
// repaint only what changed: after any sequence of play, the window on the screen still shows
// exactly what drawing everything afresh shows.
#include "MainFormFixture.h"
#include "core/Clock.h"
#include "mainwindow/FieldArea.h"
#include "mainwindow/RestingTimer.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/buttons/buts2.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <random>

namespace tarnell {

namespace {

using namespace mainformtest;

// What the window shows on the screen: the offscreen platform's copy of what was flushed.
QImage onScreen(QWidget& window, const QRect& area) {
    QCoreApplication::processEvents();
    return window.screen()
        ->grabWindow(window.winId(), area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage asRgb32(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

QRect inWindow(const QWidget& widget) {
    return QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
}

// The first pixel where two images differ, for the failure message.
QString firstDifference(const QImage& shown, const QImage& expected) {
    if (shown.size() != expected.size())
        return QStringLiteral("sizes differ");
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("first at (%1, %2): %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(shown.pixel(x, y), 8, 16)
                    .arg(expected.pixel(x, y), 8, 16);
    return {};
}

TEST_F(MainForm, AfterRandomPlayTheScreenShowsWhatAFullRedrawShows) {
    Tmainform_form& form = openActive();
    TFieldRenderer fresh(loadFieldImages());
    std::mt19937 dice(20261207u);
    auto roll = [&dice](int n) { return std::uniform_int_distribution<int>(0, n - 1)(dice); };

    int compared = 0;
    for (int step = 0; step < 400; ++step) {
        switch (roll(10)) {
        case 0:
        case 1:
        case 2: // the pointer moves, on or beside the board
            form.PaintBox3MouseMove(roll(401), roll(225));
            break;
        case 3:
        case 4: { // a move, mostly on the board
            const QPoint at = cellCentre(1 + roll(10), 1 + roll(10));
            form.PaintBox3MouseUp(Qt::LeftButton, at.x(), at.y());
            break;
        }
        case 5: // "Show hints"
            form.RzBmpButton16Click();
            break;
        case 6: // another size, then a new puzzle of it
            if (roll(2) == 0)
                form.mybitbutn1Click();
            else
                form.mybitbutn3Click();
            if (roll(3) == 0)
                form.StartNewPuzzle();
            break;
        default: // time passes: up to a minute and a bit
            clock_.Advance(roll(70000));
            break;
        }
        // Several steps may pass between two ticks; the screen is looked at after a tick.
        if (roll(3) == 0)
            continue;
        form.Timer1Timer();
        if (roll(3) == 0)
            continue;

        const QImage screen = onScreen(form, form.rect());
        ASSERT_FALSE(screen.isNull());
        const QImage redrawn = asRgb32(form.grab().toImage());
        ASSERT_EQ(screen.size(), redrawn.size());
        ASSERT_EQ(screen, redrawn)
            << "step " << step << ": " << firstDifference(screen, redrawn).toStdString();

        // The field on the screen is the frame of the puzzle as it is now, drawn afresh.
        fresh.drawFrame(form.puzzle(), ui<"JvgCheckBox12">()->isChecked());
        const QRect field = inWindow(*ui<"PaintBox3">());
        const QImage expectedField =
            fresh.backBuffer().copy(0, 0, TFieldRenderer::AreaWidth, TFieldRenderer::AreaHeight);
        const QImage shownField = screen.copy(field);
        ASSERT_EQ(shownField, expectedField)
            << "step " << step << ": " << firstDifference(shownField, expectedField).toStdString();

        // Each display shows its whole caption, as it would drawn afresh.
        for (TLCDLabel* display :
             {ui<"LCDLabel1">(), ui<"LCDLabel2">(), ui<"LCDLabel3">(), ui<"LCDLabel4">()}) {
            const QRect box = inWindow(*display);
            const QImage expected = display->renderImage().copy(QRect(QPoint(0, 0), box.size()));
            ASSERT_EQ(screen.copy(box), expected)
                << "step " << step << ", display " << display->Caption().toStdString() << ": "
                << firstDifference(screen.copy(box), expected).toStdString();
        }
        ++compared;
    }
    EXPECT_GT(compared, 50);
    EXPECT_TRUE(form.puzzle().Started()); // the play really played
}

// The same with Timer1 left to itself: it rests whenever its ticks would change nothing, and
// after every step of play, once its next tick has come or while it rests, the screen shows
// what drawing everything afresh shows and the clock shows the time gone.
TEST_F(MainForm, AfterRandomPlayTheRestingTimerLeavesNothingStale) {
    Tmainform_form& form = openActive();
    TFieldRenderer fresh(loadFieldImages());
    const QSignalSpy timeouts(ui<"Timer1">(), &QTimer::timeout);
    const QSignalSpy woken(form.session().timer1Rest(), &TRestingTimer::wokenTick);
    const auto ticks = [&] { return timeouts.count() + woken.count(); };
    std::mt19937 dice(20261208u);
    auto roll = [&dice](int n) { return std::uniform_int_distribution<int>(0, n - 1)(dice); };
    const auto click = [&form](QWidget* widget, QPoint at) {
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          widget->mapTo(&form, at));
    };

    // A small puzzle, soon solved: the timer rests before the first click and after the last
    // fox; while the clock runs it ticks.
    while (form.puzzle().SetupSize() > 3)
        form.mybitbutn3Click();
    while (form.puzzle().SetupFoxes() > 1)
        form.mybitbutn4Click();
    hideFoxesAt({{2, 2}});

    int rested = 0;
    for (int step = 0; step < 80; ++step) {
        const int before = ticks();
        switch (roll(6)) {
        case 0: // the pointer moves, mostly on the board
            QTest::mouseMove(form.windowHandle(),
                             ui<"PaintBox3">()->mapTo(&form, cellCentre(1 + roll(4), 1 + roll(4))));
            break;
        case 1: { // from step 20 a click beside the fox; from step 50 also on it
            if (step < 20)
                continue;
            Cell cell{1 + roll(4), 1 + roll(4)};
            if (cell == Cell(2, 2) || (step >= 50 && roll(2) == 0))
                cell = step >= 50 ? Cell(2, 2) : Cell(3, 1);
            click(ui<"PaintBox3">(), cellCentre(cell.first, cell.second));
            break;
        }
        case 2: // "Show hints"
            click(ui<"JvgCheckBox12">(), QPoint(7, 7));
            break;
        case 3: // another set-up size
            click(roll(2) == 0 ? static_cast<QWidget*>(ui<"mybitbutn1">()) : ui<"mybitbutn3">(),
                  QPoint(12, 9));
            break;
        default: // time passes, not always a whole beat
            clock_.Advance(roll(700));
            break;
        }
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return ticks() > before || form.session().timer1Rest()->resting(); }, 5000))
            << "step " << step << ": no tick came and the timer does not rest";
        rested += form.session().timer1Rest()->resting() ? 1 : 0;

        const QImage screen = onScreen(form, form.rect());
        fresh.drawFrame(form.puzzle(), ui<"JvgCheckBox12">()->isChecked());
        const QImage expectedField =
            fresh.backBuffer().copy(0, 0, TFieldRenderer::AreaWidth, TFieldRenderer::AreaHeight);
        const QImage shownField = screen.copy(inWindow(*ui<"PaintBox3">()));
        ASSERT_EQ(shownField, expectedField)
            << "step " << step << ": " << firstDifference(shownField, expectedField).toStdString();
        if (form.puzzle().Started() && !form.puzzle().Finished()) {
            const std::string elapsed =
                ClockText(ElapsedBetween(form.puzzle().StartTime(), clock_.Now()));
            ASSERT_EQ(ui<"LCDLabel1">()->Caption().toStdString(), elapsed) << "step " << step;
        }
        const QRect clock = inWindow(*ui<"LCDLabel1">());
        ASSERT_EQ(screen.copy(clock),
                  ui<"LCDLabel1">()->renderImage().copy(QRect(QPoint(0, 0), clock.size())))
            << "step " << step;
    }
    EXPECT_GT(rested, 0);                 // the timer did rest between steps
    EXPECT_TRUE(form.puzzle().Started()); // the play really played
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints_ = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints_;
        return false;
    }
};

TEST_F(MainForm, TicksThatChangeNothingPaintNothing) {
    Tmainform_form& form = openActive();
    ui<"Timer1">()->stop(); // only the ticks of this test
    QCoreApplication::processEvents();
    const PaintCounter field(*ui<"PaintBox3">());
    const int clockPaints = ui<"LCDLabel1">()->paintCount();
    const QImage before = onScreen(form, form.rect());
    for (int tick = 0; tick < 20; ++tick) {
        form.Timer1Timer();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(field.paints_, 0);
    EXPECT_EQ(ui<"LCDLabel1">()->paintCount(), clockPaints);
    EXPECT_EQ(onScreen(form, form.rect()), before);

    // A change of any input draws the next frame.
    const QPoint cell = cellCentre(2, 3);
    form.PaintBox3MouseMove(cell.x(), cell.y());
    form.Timer1Timer();
    EXPECT_TRUE(isCyanPlate(onScreen(form, inWindow(*ui<"PaintBox3">())).pixel(cell)));
    EXPECT_GT(field.paints_, 0);
}

} // namespace

} // namespace tarnell
