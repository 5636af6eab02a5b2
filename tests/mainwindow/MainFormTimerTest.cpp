// Timer1 rests while its ticks would change nothing: on an empty board it stops, everything
// that can change what a tick shows wakes it, and the ticks it brings land on the beat it
// kept from its start, so the screen changes when it would under a timer that never stops.
#include "MainFormFixture.h"

#include "mainwindow/GameSession.h"

#include "dialogs/donat.h"
#include "mainwindow/RestingTimer.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"
#include "widgets/buttons/buts2.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QExposeEvent>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <functional>

namespace tarnell {

namespace {

using namespace mainformtest;

// Generous for a loaded machine: a tick is due within 100 ms.
constexpr int TickWait = 5000;

class Timer1Rest : public MainForm {
protected:
    // Shows the window and waits for its timer's first rest (the first tick of an empty board).
    void openResting() {
        openActive();
        waitForRest("after start");
    }
    void waitForRest(const char* after) {
        ASSERT_TRUE(QTest::qWaitFor([this] { return window_->session().timer1Rest()->resting(); }, TickWait))
            << "Timer1 did not rest " << after << ": ticking " << ui<"Timer1">()->isActive()
            << ", wake due in " << window_->session().timer1Rest()->pendingWakeDelay() << " ms";
    }
    // Counts the ticks that reach the window, from Timer1 and from its wakes alike.
    int ticks() const { return timeouts_->count() + wokenTicks_->count(); }
    void countTicks() {
        timeouts_ = std::make_unique<QSignalSpy>(ui<"Timer1">(), &QTimer::timeout);
        wokenTicks_ =
            std::make_unique<QSignalSpy>(window_->session().timer1Rest(), &TRestingTimer::wokenTick);
    }
    void waitForTick(const QString& after) {
        const int before = ticks();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks() > before; }, TickWait))
            << "no tick came after " << after.toStdString() << " (resting "
            << window_->session().timer1Rest()->resting() << ")";
    }
    QPoint onWindow(QWidget* widget, QPoint at) const { return widget->mapTo(window_.get(), at); }

    std::unique_ptr<QSignalSpy> timeouts_;
    std::unique_ptr<QSignalSpy> wokenTicks_;
};

TEST(RestingTimerBeat, TheNextBeatCountsFromTheStartAndSurvivesMidnight) {
    struct Case {
        int64_t elapsed;
        int64_t delay;
    };
    const Case cases[] = {{0, 100},
                          {1, 99},
                          {99, 1},
                          {100, 100},
                          {230, 70},
                          {123456789, 11},
                          {-30, 30},
                          {-100, 100},
                          // the scripted time of day wraps at midnight: a day is whole beats
                          {230 - 86400000, 70}};
    for (const Case& c : cases)
        EXPECT_EQ(MillisecondsToNextBeat(c.elapsed, 100), c.delay) << "elapsed " << c.elapsed;
}

TEST_F(Timer1Rest, AnEmptyBoardRestsAndAPointerMoveBringsOneTickOnTheBeat) {
    openResting();
    countTicks();
    // Nothing ticks while nothing changes.
    const int resting = ticks();
    QTest::qWait(350);
    EXPECT_EQ(ticks(), resting);

    // 230 ms after the start the pointer comes onto cell (2, 3): the tick that shows it
    // comes 70 ms later, at the third beat, not at once and not 100 ms after the move.
    clock_.Advance(230);
    const QPoint cell = cellCentre(2, 3);
    QTest::mouseMove(window_->windowHandle(), onWindow(ui<"PaintBox3">(), cell));
    EXPECT_EQ(window_->session().timer1Rest()->pendingWakeDelay(), 70);
    EXPECT_FALSE(isCyanPlate(fieldPixel(cell))) << "drawn before the tick";
    // Further moves before the beat keep it.
    clock_.Advance(20);
    QTest::mouseMove(window_->windowHandle(), onWindow(ui<"PaintBox3">(), cell + QPoint(1, 0)));
    EXPECT_EQ(window_->session().timer1Rest()->pendingWakeDelay(), 70);
    waitForTick("a pointer move");
    EXPECT_TRUE(isCyanPlate(fieldPixel(cell)));
    waitForRest("after the pointer's tick");
    EXPECT_EQ(ui<"Timer1">()->interval(), TGameSession::TimerInterval);
}

TEST_F(Timer1Rest, EveryEventThatCanChangeATickWakesIt) {
    openResting();
    countTicks();
    struct Waker {
        const char* what;
        std::function<void()> act;
    };
    QWidget* const form = window_.get();
    const auto clickOn = [this](QWidget* widget) {
        QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          onWindow(widget, widget->rect().center()));
    };
    const Waker wakers[] = {
        {"the pointer over the field",
         [&] {
             QTest::mouseMove(form->windowHandle(), onWindow(ui<"PaintBox3">(), {200, 40}));
         }},
        {"a set-up button", [&] { clickOn(ui<"mybitbutn1">()); }},
        {"the set-up changed by its handler", [&] { window_->mybitbutn3Click(); }},
        {"\"Show hints\"", [&] { clickOn(ui<"JvgCheckBox12">()); }},
        {"a key", [&] { QTest::keyClick(form, Qt::Key_Right); }},
        {"the about page", [&] { QTest::keyClick(form, Qt::Key_F2, Qt::ControlModifier); }},
        {"the game page", [&] { QTest::keyClick(form, Qt::Key_F1, Qt::ControlModifier); }},
        {"a dialog opening", [&] { window_->mybitbutn52Click(); }},
        {"a dialog closing", [&] { window_->donationDialog()->close(); }},
        {"the window uncovered",
         [&] {
             QExposeEvent exposed{QRegion(form->rect())};
             QApplication::sendEvent(form->windowHandle(), &exposed);
         }},
        {"another screen or scale",
         [&] {
             QEvent changed(QEvent::ScreenChangeInternal);
             QApplication::sendEvent(form, &changed);
         }},
        {"a new puzzle", [&] { window_->StartNewPuzzle(); }},
    };
    for (const Waker& waker : wakers) {
        SCOPED_TRACE(waker.what);
        ASSERT_TRUE(window_->session().timer1Rest()->resting());
        // Anywhere into the beat: the wake is due at the next one.
        clock_.Advance(37);
        const int64_t sinceStart =
            std::llround(clock_.now_ * MillisecondsPerDay) - std::llround(0.5 * MillisecondsPerDay);
        waker.act();
        EXPECT_FALSE(window_->session().timer1Rest()->resting());
        if (window_->session().timer1Rest()->pendingWakeDelay() != 0) {
            EXPECT_EQ(window_->session().timer1Rest()->pendingWakeDelay(), 100 - sinceStart % 100);
        }
        waitForTick(QString::fromUtf8(waker.what));
        if (window_->puzzle().Started())
            break; // the clock runs now: the timer ticks on
        waitForRest(waker.what);
    }
    // A new puzzle starts the clock: the ticks go on with nothing else happening.
    ASSERT_TRUE(window_->puzzle().Started());
    waitForTick("the first tick of the clock");
    waitForTick("the second tick of the clock");
    EXPECT_TRUE(ui<"Timer1">()->isActive());
}

TEST_F(Timer1Rest, TheClockRunsFromItsFirstTenthAndTheTimerRestsOnceItStops) {
    openResting();
    countTicks();
    hideFoxesAt({{1, 1}});
    while (window_->puzzle().SetupFoxes() > 1)
        window_->mybitbutn4Click();
    waitForRest("the set-up");

    // The first click generates the puzzle 230 ms after the start; the clock keeps its
    // reading until the tick on the next beat.
    clock_.Advance(230);
    clickCell(2, 3);
    ASSERT_TRUE(window_->puzzle().Started());
    EXPECT_EQ(ui<"LCDLabel1">()->Caption(), QStringLiteral("00:00,0"));
    EXPECT_EQ(window_->session().timer1Rest()->pendingWakeDelay(), 70);
    clock_.Advance(170); // the tick finds 170 ms gone
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return ui<"LCDLabel1">()->Caption() == QStringLiteral("00:00,1"); }, TickWait))
        << "the clock shows " << ui<"LCDLabel1">()->Caption().toStdString();
    // From there the timer ticks by itself.
    clock_.Advance(100);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return ui<"LCDLabel1">()->Caption() == QStringLiteral("00:00,2"); }, TickWait))
        << "the clock stopped at " << ui<"LCDLabel1">()->Caption().toStdString();
    EXPECT_FALSE(window_->session().timer1Rest()->resting());

    // On the about page the ticks do nothing, so the timer rests, puzzle or not; back on the
    // game page the clock jumps to the true time at once and runs on.
    QTest::keyClick(window_.get(), Qt::Key_F2, Qt::ControlModifier);
    waitForRest("on the about page");
    // The page's animation runs on its own timer meanwhile.
    const int frame = ui<"RxGIFAnimator1">()->shownFrame();
    ASSERT_TRUE(QTest::qWaitFor(
        [this, frame] { return ui<"RxGIFAnimator1">()->shownFrame() != frame; }, TickWait))
        << "the about animation stays on frame " << frame;
    EXPECT_TRUE(window_->session().timer1Rest()->resting());
    clock_.Advance(5000);
    QTest::keyClick(window_.get(), Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(ui<"LCDLabel1">()->Caption(), QStringLiteral("00:05,2"));
    clock_.Advance(100);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return ui<"LCDLabel1">()->Caption() == QStringLiteral("00:05,3"); }, TickWait))
        << "the clock stopped at " << ui<"LCDLabel1">()->Caption().toStdString();

    // The last fox stops the clock; the tick after it draws the fox, then the timer rests.
    clickCell(1, 1);
    ASSERT_TRUE(window_->puzzle().Finished());
    const QString frozen = ui<"LCDLabel1">()->Caption();
    waitForRest("the last fox");
    EXPECT_FALSE(isGreenPlate(fieldPixel(cellCentre(1, 1))));
    clock_.Advance(3000);
    QTest::qWait(250);
    EXPECT_EQ(ui<"LCDLabel1">()->Caption(), frozen);
    EXPECT_TRUE(window_->session().timer1Rest()->resting());
}

TEST_F(Timer1Rest, AClosedWindowIsNeverWokenAgain) {
    openResting();
    window_->close();
    window_->StartNewPuzzle();
    window_->PaintBox3MouseMove(200, 40);
    EXPECT_TRUE(window_->session().timer1Rest()->resting());
}

} // namespace

} // namespace tarnell
