// Behaviour of the skinned window: layout of the five windows, the left strip, the caption
// buttons' press and release, dragging by the caption band, activation and closing.
#include "skin/SkinnedForm.h"
#include "SkinTestImages.h"
#include "skin/SkinFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

using skintest::regionMatches;
using skintest::Source;

namespace {

const QColor Grey(128, 128, 128);

struct NamedLayout {
    const char* name;
    TSkinLayout layout;
};

const NamedLayout Windows[] = {
    {"main", {QSize(488, 376), QStringLiteral("Tarnell"), QSize(40, 314), QSize(40, 315), false}},
    {"warning", {QSize(427, 127), QStringLiteral("Warning!"), QSize(40, 65), QSize(40, 66), true}},
    {"solved",
     {QSize(427, 277), QStringLiteral("Congradulations!"), QSize(40, 216), QSize(40, 216), true}},
    {"score", {QSize(427, 221), QStringLiteral("Highscore"), QSize(40, 160), QSize(40, 160), true}},
    {"donation",
     {QSize(357, 271), QStringLiteral("Donation"), QSize(40, 210), QSize(40, 210), true}},
};

// A window that counts its hooks, as the main window and the dialogs use them.
class ProbeForm : public TSkinnedForm {
public:
    using TSkinnedForm::TSkinnedForm;
    int activations_ = 0;
    int closes_ = 0;

protected:
    void FormActivate() override { ++activations_; }
    void FormClose() override { ++closes_; }
};

// Records the regions that a widget is asked to paint.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted_;
    int paints_ = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted_ += static_cast<QPaintEvent*>(event)->region();
            ++paints_;
        }
        return false;
    }
};

// Delivers a mouse event with explicit window and screen positions, as the platform does.
void sendMouse(QWidget* window, QEvent::Type type, QPoint global, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    const QPoint local = window->mapFromGlobal(global);
    QMouseEvent event(type, QPointF(local), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}
void press(QWidget* w, QPoint local) {
    sendMouse(w, QEvent::MouseButtonPress, w->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton);
}
void release(QWidget* w, QPoint local) {
    sendMouse(w, QEvent::MouseButtonRelease, w->mapToGlobal(local), Qt::LeftButton, Qt::NoButton);
}
// Processes events until the condition holds or two seconds have passed (QTRY_* would
// return silently from a gtest body).
template <typename Condition> bool waitUntil(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 2000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qSleep(5);
    }
    return true;
}
void moveHeld(QWidget* w, QPoint global) {
    sendMouse(w, QEvent::MouseMove, global, Qt::NoButton, Qt::LeftButton);
}

class SkinnedFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<ProbeForm>(Windows[0].layout);
        form_->move(100, 100);
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }
    void TearDown() override {
        form_.reset();
        QCoreApplication::processEvents();
    }

    // The close button of the 488-wide window: zone 455 < x < 467; minimise: 441 < x < 455.
    static constexpr QPoint CloseSpot{460, 10};
    static constexpr QPoint MinimiseSpot{448, 10};

    skintest::ScopedSkin skin_{Source::Synthetic};
    std::unique_ptr<ProbeForm> form_;
};

TEST(SkinnedFormLayout, EveryWindowIsAFixedFramelessGreyWindowWithItsStrip) {
    skintest::ScopedSkin skin(Source::Synthetic);
    for (const NamedLayout& w : Windows) {
        SCOPED_TRACE(w.name);
        TSkinnedForm form(w.layout);
        EXPECT_EQ(form.size(), w.layout.clientSize);
        EXPECT_EQ(form.minimumSize(), w.layout.clientSize);
        EXPECT_EQ(form.maximumSize(), w.layout.clientSize);
        EXPECT_TRUE(form.isWindow());
        EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(bool(form.windowFlags() & Qt::WindowStaysOnTopHint), w.layout.isDialog);
        EXPECT_FALSE(form.isModal());
        EXPECT_EQ(form.testAttribute(Qt::WA_QuitOnClose), !w.layout.isDialog);
        EXPECT_EQ(form.windowTitle(), w.layout.caption);
        EXPECT_EQ(form.caption(), w.layout.caption);
        EXPECT_TRUE(form.hasMouseTracking());
        EXPECT_EQ(form.palette().color(QPalette::Window), Grey);
        EXPECT_EQ(form.stripPanel()->geometry(), QRect(QPoint(8, 46), w.layout.panelSize));
        EXPECT_EQ(form.strip()->geometry(), QRect(QPoint(0, 0), w.layout.stripSize));
        EXPECT_EQ(form.strip()->objectName(), QStringLiteral("PaintBox1"));
        EXPECT_EQ(form.stripPanel()->objectName(), QStringLiteral("Panel1"));
    }
}

TEST(SkinnedFormLayout, EachWindowLoadsItsOwnSkinAtCreation) {
    QStringList asked;
    skintest::ScopedSkin synthetic(Source::Synthetic);
    const skin::SkinImageLoader previous = skin::setSkinImageLoader([&asked](const QString& name) {
        asked << name;
        return skintest::syntheticImage(name);
    });
    {
        TSkinnedForm first(Windows[1].layout);
        TSkinnedForm second(Windows[4].layout);
        EXPECT_TRUE(first.skinBitmaps().missing().isEmpty());
        EXPECT_TRUE(second.skinBitmaps().missing().isEmpty());
    }
    skin::setSkinImageLoader(previous);
    const QStringList thirteen{"C_UL",  "TOP",    "TOP_D", "LEF",    "RIG",   "BOT",   "MASK",
                               "I_MIN", "I_MIND", "I_MAX", "I_MAXD", "I_CLO", "I_CLOD"};
    for (const QString& name : thirteen)
        EXPECT_EQ(asked.count(name), 2) << name.toStdString();
    EXPECT_EQ(asked.count(QStringLiteral("MAINICON")), 2);
}

// Row y of the strip, worked out by hand: 255 steps from (0, 255, 255) to (0, 32, 32), one row
// per step while the strip has room, the remaining rows in the end colour.
QColor stripRow(int y, int height) {
    const int n = std::min(255, height);
    const int band = height / n;
    const int k = y / band;
    if (k >= n)
        return QColor(0, 32, 32);
    const int g = 255 + static_cast<int>(std::lround(k * (32.0 - 255.0) / (n - 1)));
    return QColor(0, g, g);
}

TEST(SkinnedFormLayout, LeftStripIsTheCyanGradient) {
    skintest::ScopedSkin skin(Source::Synthetic);
    for (const NamedLayout& w : Windows) {
        SCOPED_TRACE(w.name);
        TSkinnedForm form(w.layout);
        const QImage strip = form.strip()->grab().toImage();
        const int height = w.layout.stripSize.height();
        ASSERT_EQ(strip.height(), height);
        for (int y = 0; y < height; ++y)
            for (int x : {0, 39})
                ASSERT_EQ(QColor(strip.pixel(x, y)), stripRow(y, height)) << "row " << y;
    }
    // Spot values: the main strip's step 254 at row 254 and the plain end below it.
    TSkinnedForm main(Windows[0].layout);
    const QImage strip = main.strip()->grab().toImage();
    EXPECT_EQ(QColor(strip.pixel(5, 0)), QColor(0, 255, 255));
    EXPECT_EQ(QColor(strip.pixel(5, 1)), QColor(0, 254, 254));
    EXPECT_EQ(QColor(strip.pixel(5, 254)), QColor(0, 32, 32));
    EXPECT_EQ(QColor(strip.pixel(5, 313)), QColor(0, 32, 32));
}

TEST(SkinnedFormLayout, AnOverlayIsPaintedOverTheGradientUntilRemoved) {
    skintest::ScopedSkin skin(Source::Synthetic);
    TSkinnedForm form(Windows[0].layout);
    form.strip()->setOverlay(
        [](QPainter& painter) { painter.fillRect(QRect(2, 170, 37, 1), Qt::black); });
    QImage strip = form.strip()->grab().toImage();
    EXPECT_EQ(QColor(strip.pixel(2, 170)), QColor(Qt::black));
    EXPECT_EQ(QColor(strip.pixel(1, 170)), stripRow(170, 314));
    EXPECT_EQ(QColor(strip.pixel(2, 171)), stripRow(171, 314));
    form.strip()->setOverlay({});
    strip = form.strip()->grab().toImage();
    EXPECT_EQ(QColor(strip.pixel(2, 170)), stripRow(170, 314));
}

TEST(SkinnedFormLayout, WarningPanelShowsOneGreyRowBelowItsStrip) {
    skintest::ScopedSkin skin(Source::Synthetic);
    TSkinnedForm form(Windows[1].layout);
    const QImage panel = form.stripPanel()->grab().toImage();
    ASSERT_EQ(panel.size(), QSize(40, 66));
    EXPECT_EQ(QColor(panel.pixel(10, 64)), QColor(0, 32, 32));
    EXPECT_EQ(QColor(panel.pixel(10, 65)), Grey);
}

TEST_F(SkinnedFormTest, ScreenPaintShowsTheFrameAndTheStrip) {
    const QImage shown = form_->grab().toImage();
    const QImage frame = form_->renderFrame(form_->isActiveWindow());
    // Everything outside the strip panel is the frame and background exactly.
    EXPECT_TRUE(regionMatches(shown, QRect(0, 0, 488, 46), frame, QPoint(0, 0)));
    EXPECT_TRUE(regionMatches(shown, QRect(48, 46, 440, 330), frame, QPoint(48, 46)));
    EXPECT_EQ(QColor(shown.pixel(8, 46)), QColor(0, 255, 255));
}

TEST_F(SkinnedFormTest, CloseButtonClosesOnReleaseInItsZone) {
    press(form_.get(), CloseSpot);
    EXPECT_TRUE(form_->closePressed());
    EXPECT_FALSE(form_->minimisePressed());
    release(form_.get(), CloseSpot);
    EXPECT_FALSE(form_->closePressed());
    // The close request is posted: the window is still there when the release returns.
    EXPECT_TRUE(form_->isVisible());
    ASSERT_TRUE(waitUntil([&] { return !form_->isVisible(); }));
    EXPECT_EQ(form_->closes_, 1);
}

TEST_F(SkinnedFormTest, PressShowsThePressedLookAndReleaseRestoresIt) {
    const QImage before = form_->grab().toImage();
    press(form_.get(), CloseSpot);
    const QImage pressed = form_->grab().toImage();
    const skin::SkinBitmaps& b = form_->skinBitmaps();
    // Picture 2 right and 1 down in the unmoved box at 452.
    EXPECT_TRUE(regionMatches(pressed, QRect(453, 3, 14, 22),
                              form_->isActiveWindow() ? b.I_CLO : b.I_CLOD, QPoint(0, 0)));
    // Released one pixel outside the zone (x = 467) without a move in between: no action.
    PaintRecorder recorder(form_.get());
    release(form_.get(), QPoint(467, 10));
    EXPECT_FALSE(form_->closePressed());
    QApplication::processEvents();
    EXPECT_TRUE(recorder.painted_.contains(QRect(452, 3, 15, 22)));
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(form_->grab().toImage(), before);
    QTest::qWait(20);
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(form_->closes_, 0);
}

TEST_F(SkinnedFormTest, AnyMoveBetweenPressAndReleaseCancelsTheButton) {
    press(form_.get(), CloseSpot);
    ASSERT_TRUE(form_->closePressed());
    // One pixel, still inside the zone.
    moveHeld(form_.get(), form_->mapToGlobal(CloseSpot + QPoint(1, 0)));
    EXPECT_FALSE(form_->closePressed());
    release(form_.get(), CloseSpot + QPoint(1, 0));
    QTest::qWait(20);
    EXPECT_TRUE(form_->isVisible());

    // A move event at the pressed spot is no movement and keeps the press.
    press(form_.get(), MinimiseSpot);
    ASSERT_TRUE(form_->minimisePressed());
    moveHeld(form_.get(), form_->mapToGlobal(MinimiseSpot));
    EXPECT_TRUE(form_->minimisePressed());
    // Moving without a button (mouse tracking) clears it as well.
    sendMouse(form_.get(), QEvent::MouseMove, form_->mapToGlobal(QPoint(200, 200)), Qt::NoButton,
              Qt::NoButton);
    EXPECT_FALSE(form_->minimisePressed());
}

TEST_F(SkinnedFormTest, ReleaseOnRow27DoesNotActButPressOnRow27Does) {
    press(form_.get(), QPoint(460, 27));
    EXPECT_TRUE(form_->closePressed());
    release(form_.get(), QPoint(460, 27));
    EXPECT_FALSE(form_->closePressed());
    QTest::qWait(20);
    EXPECT_TRUE(form_->isVisible());
    press(form_.get(), QPoint(460, 28));
    EXPECT_FALSE(form_->closePressed());
    release(form_.get(), QPoint(460, 28));
    // The zone edges are open: 455 belongs to neither button, 467 is outside.
    for (int x : {441, 455, 467}) {
        press(form_.get(), QPoint(x, 5));
        EXPECT_FALSE(form_->closePressed() || form_->minimisePressed()) << x;
        release(form_.get(), QPoint(x, 5));
    }
    press(form_.get(), QPoint(456, 0));
    EXPECT_TRUE(form_->closePressed());
    release(form_.get(), QPoint(466, 26));
    ASSERT_TRUE(waitUntil([&] { return !form_->isVisible(); }));
}

TEST_F(SkinnedFormTest, ReleaseOverTheOtherButtonDoesNothing) {
    press(form_.get(), CloseSpot);
    release(form_.get(), MinimiseSpot);
    QTest::qWait(20);
    EXPECT_TRUE(form_->isVisible());
    EXPECT_FALSE(form_->isMinimized());
}

TEST_F(SkinnedFormTest, MinimiseButtonMinimisesEveryVisibleWindowOfTheProgram) {
    TSkinnedForm dialog(Windows[4].layout);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    TSkinnedForm hidden(Windows[1].layout);
    press(form_.get(), MinimiseSpot);
    EXPECT_TRUE(form_->minimisePressed());
    release(form_.get(), MinimiseSpot);
    EXPECT_FALSE(form_->minimisePressed());
    ASSERT_TRUE(waitUntil([&] { return form_->isMinimized(); }));
    ASSERT_TRUE(waitUntil([&] { return dialog.isMinimized(); }));
    EXPECT_FALSE(hidden.isVisible());
    EXPECT_FALSE(hidden.isMinimized());
    EXPECT_TRUE(form_->isVisible());
}

TEST_F(SkinnedFormTest, DraggingTheBandMovesTheWindow) {
    // Over the corner, the caption text, and the band's last row right of the text.
    for (QPoint spot : {QPoint(20, 10), QPoint(80, 12), QPoint(300, 27), QPoint(440, 3)}) {
        SCOPED_TRACE(spot.x());
        const QPoint start = form_->pos();
        const QPoint grip = form_->mapToGlobal(spot);
        press(form_.get(), spot);
        moveHeld(form_.get(), grip + QPoint(30, 17));
        moveHeld(form_.get(), grip + QPoint(-12, 40));
        release(form_.get(), form_->mapFromGlobal(grip + QPoint(-12, 40)));
        EXPECT_EQ(form_->pos(), start + QPoint(-12, 40));
        // After the release, moves no longer drag.
        sendMouse(form_.get(), QEvent::MouseMove, grip + QPoint(100, 100), Qt::NoButton,
                  Qt::NoButton);
        EXPECT_EQ(form_->pos(), start + QPoint(-12, 40));
    }
}

// A window whose caption drags the window system carries out (a compositor, a window
// manager); it counts the button releases that reach it.
class SystemMovedForm : public ProbeForm {
public:
    using ProbeForm::ProbeForm;
    int releases_ = 0;

protected:
    bool requestSystemMove() override { return true; }
    void mouseReleaseEvent(QMouseEvent* event) override {
        ++releases_;
        ProbeForm::mouseReleaseEvent(event);
    }
};

// Counts the pointer motions and button releases that reach a widget.
class PointerCounter : public QObject {
public:
    explicit PointerCounter(QWidget* widget) { widget->installEventFilter(this); }
    int moves_ = 0;
    int releases_ = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        moves_ += event->type() == QEvent::MouseMove ? 1 : 0;
        releases_ += event->type() == QEvent::MouseButtonRelease ? 1 : 0;
        return false;
    }
};

// Delivers a mouse event to the window as the platform does, so that Qt routes a held
// button to the widget that took the press.
void deliver(QWidget* form, QEvent::Type type, QPoint local, Qt::MouseButton button,
             Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(local), QPointF(local), QPointF(form->mapToGlobal(local)),
                      button, buttons, Qt::NoModifier);
    QApplication::sendEvent(form->windowHandle(), &event);
}

TEST_F(SkinnedFormTest, AMoveTheWindowSystemCarriesOutEndsWithOneReleaseWhetherItComesBackOrNot) {
    SystemMovedForm form(Windows[0].layout);
    form.move(100, 100);
    auto* below = new QWidget(&form);
    below->setGeometry(200, 150, 100, 100);
    below->setMouseTracking(true);
    below->setAttribute(Qt::WA_NoMousePropagation); // its own presses stay its own
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const PointerCounter motions(below);
    const QPoint band(200, 12);
    const QPoint over(250, 200);

    // A window manager hands the release back: nothing is added to it, not even to a press
    // held on another widget afterwards.
    deliver(&form, QEvent::MouseButtonPress, band, Qt::LeftButton, Qt::LeftButton);
    deliver(&form, QEvent::MouseButtonRelease, band, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form.releases_, 1);
    deliver(&form, QEvent::MouseMove, over, Qt::NoButton, Qt::NoButton);
    deliver(&form, QEvent::MouseButtonPress, over, Qt::LeftButton, Qt::LeftButton);
    deliver(&form, QEvent::MouseMove, over + QPoint(3, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(motions.releases_, 0) << "a release while the button is still held";
    deliver(&form, QEvent::MouseButtonRelease, over, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(motions.releases_, 1);
    EXPECT_EQ(motions.moves_, 2);
    EXPECT_EQ(form.releases_, 1);

    // A compositor keeps it: the window gets the release it is owed when the pointer comes
    // back, and that motion already reaches the widget under the pointer.
    deliver(&form, QEvent::MouseButtonPress, band, Qt::LeftButton, Qt::LeftButton);
    deliver(&form, QEvent::MouseMove, over + QPoint(5, 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form.releases_, 2);
    EXPECT_EQ(motions.moves_, 3);
    deliver(&form, QEvent::MouseMove, over, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form.releases_, 2);
    EXPECT_EQ(motions.moves_, 4);
    EXPECT_EQ(motions.releases_, 1);
    // The window system moved the window; it was never moved by hand as well.
    EXPECT_EQ(form.pos(), QPoint(100, 100));
}

TEST_F(SkinnedFormTest, TheButtonsAndTheRowsBelowTheBandDoNotDrag) {
    for (QPoint spot : {CloseSpot, MinimiseSpot, QPoint(200, 28), QPoint(300, 200)}) {
        SCOPED_TRACE(spot.x() * 1000 + spot.y());
        const QPoint start = form_->pos();
        press(form_.get(), spot);
        moveHeld(form_.get(), form_->mapToGlobal(spot) + QPoint(25, 25));
        EXPECT_EQ(form_->pos(), start);
        release(form_.get(), spot + QPoint(25, 25));
    }
    QTest::qWait(20);
    EXPECT_TRUE(form_->isVisible());
}

TEST_F(SkinnedFormTest, ALabelInTheBandStillDragsAndPressesTheButtons) {
    // Presses that a child ignores reach the window in its own coordinates.
    auto* label = new QLabel(QStringLiteral("in the band"), form_.get());
    label->setGeometry(60, 2, 420, 24);
    label->show();
    const QPoint start = form_->pos();
    const QPoint grip = label->mapToGlobal(QPoint(40, 8));
    sendMouse(label, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    sendMouse(label, QEvent::MouseMove, grip + QPoint(21, 13), Qt::NoButton, Qt::LeftButton);
    sendMouse(label, QEvent::MouseButtonRelease, grip + QPoint(21, 13), Qt::LeftButton,
              Qt::NoButton);
    EXPECT_EQ(form_->pos(), start + QPoint(21, 13));

    const QPoint button = form_->mapToGlobal(CloseSpot);
    sendMouse(label, QEvent::MouseButtonPress, button, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(form_->closePressed());
    sendMouse(label, QEvent::MouseButtonRelease, button, Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(waitUntil([&] { return !form_->isVisible(); }));
}

TEST_F(SkinnedFormTest, MovingTheWindowClearsAPressedButton) {
    press(form_.get(), CloseSpot);
    ASSERT_TRUE(form_->closePressed());
    form_->move(form_->pos() + QPoint(5, 5));
    EXPECT_FALSE(form_->closePressed());
    release(form_.get(), CloseSpot);
    QTest::qWait(20);
    EXPECT_TRUE(form_->isVisible());
}

TEST_F(SkinnedFormTest, ActivationSwapsTheCaptionLookAndRepaintsOnlyTheTopRows) {
    const skin::SkinBitmaps& b = form_->skinBitmaps();
    TSkinnedForm other(Windows[3].layout);
    other.move(700, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    form_->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return form_->isActiveWindow(); }));
    QApplication::processEvents();
    EXPECT_GE(form_->activations_, 1);
    QImage shown = form_->grab().toImage();
    EXPECT_TRUE(regionMatches(shown, QRect(46, 0, 13, 31), b.TOP, QPoint(0, 0)));
    EXPECT_TRUE(regionMatches(shown, QRect(438, 3, 15, 22), b.I_MIN, QPoint(1, 1)));
    EXPECT_TRUE(regionMatches(shown, QRect(453, 3, 14, 22), b.I_CLO, QPoint(2, 1)));

    QApplication::processEvents();
    PaintRecorder recorder(form_.get());
    const int activationsBefore = form_->activations_;
    other.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return other.isActiveWindow(); }));
    ASSERT_TRUE(waitUntil([&] { return recorder.paints_ > 0; }));
    EXPECT_FALSE(form_->isActiveWindow());
    EXPECT_EQ(recorder.painted_.boundingRect(), QRect(0, 0, 488, 46));
    EXPECT_EQ(form_->activations_, activationsBefore);
    shown = form_->grab().toImage();
    EXPECT_TRUE(regionMatches(shown, QRect(46, 0, 13, 31), b.TOP_D, QPoint(0, 0)));
    EXPECT_TRUE(regionMatches(shown, QRect(438, 3, 15, 22), b.I_MIND, QPoint(1, 1)));
    EXPECT_TRUE(regionMatches(shown, QRect(453, 3, 14, 22), b.I_CLOD, QPoint(2, 1)));

    form_->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return form_->isActiveWindow(); }));
    EXPECT_EQ(form_->activations_, activationsBefore + 1);
}

// "Stay on top" means nothing to some window systems (Wayland): there a dialog stays above
// the main window because it is the main window's transient child.
TEST_F(SkinnedFormTest, ADialogShownBesideTheMainWindowIsItsTransientChild) {
    TSkinnedForm dialog(Windows[1].layout);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_NE(dialog.windowHandle(), nullptr);
    EXPECT_EQ(dialog.windowHandle()->transientParent(), form_->windowHandle());
    EXPECT_EQ(form_->windowHandle()->transientParent(), nullptr);

    // Another main window does not become anyone's child, and a dialog shown while no main
    // window is visible stands alone.
    TSkinnedForm second(Windows[0].layout);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    EXPECT_EQ(second.windowHandle()->transientParent(), nullptr);
    second.hide();
    form_->hide();
    TSkinnedForm alone(Windows[2].layout);
    alone.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&alone));
    EXPECT_EQ(alone.windowHandle()->transientParent(), nullptr);
}

TEST_F(SkinnedFormTest, ClosingByAnyRouteRunsTheCloseHookOnce) {
    form_->close();
    EXPECT_EQ(form_->closes_, 1);
    EXPECT_FALSE(form_->isVisible());
    // A caption change while hidden is kept and shown as the title.
    form_->setCaption(QStringLiteral("Warning!"));
    EXPECT_EQ(form_->windowTitle(), QStringLiteral("Warning!"));
}

} // namespace

} // namespace tarnell
