// The animated toolbar image: frame guessing, the frame sequence around the inactive frame,
// stopping, the cases that never advance, loading, transparency and placement, mouse events.
#include "widgets/MyAni.h"
#include "platform/Resources.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/buttons/ButtonFaceTestImages.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tarnell {

using buttontest::grabImage;

namespace {

const QRgb Key = qRgb(255, 153, 255);

// A strip of count frames of frameSize side by side; frame k is filled with frameColour(k)
// except its bottom-left pixel and a one-pixel border, which are the key colour.
QRgb frameColour(int k) {
    return qRgb(20 * k, 200 - 10 * k, 100);
}

QImage frameStrip(int count, QSize frameSize) {
    QImage strip(frameSize.width() * count, frameSize.height(), QImage::Format_RGB32);
    strip.fill(Key);
    for (int k = 0; k < count; ++k)
        for (int y = 1; y < frameSize.height() - 1; ++y)
            for (int x = 1; x < frameSize.width() - 1; ++x)
                strip.setPixel(k * frameSize.width() + x, y, frameColour(k));
    return strip;
}

// The frame a control shows, read back from its pixels.
int frameOnScreen(TAnimatedImage& image) {
    const QImage shown = grabImage(image);
    const QRgb centre = shown.pixel(shown.width() / 2, shown.height() / 2);
    for (int k = 0; k < 12; ++k)
        if (centre == frameColour(k))
            return k;
    return -1;
}

// The exit button of the toolbar: 340 x 33 strip, NumGlyphs 10 written after the glyph.
struct ExitButton {
    QWidget toolbar;
    TMyAni* ani = new TMyAni(&toolbar);
    ExitButton() {
        ani->setLoading(true);
        ani->setGlyph(frameStrip(10, QSize(34, 33)));
        ani->setNumGlyphs(10);
        ani->setInactiveGlyph(0);
        ani->setInterval(150);
        ani->setLoading(false);
    }
};

} // namespace

TEST(AnimatedImage, InitialProperties) {
    TAnimatedImage image;
    EXPECT_EQ(image.Orientation(), goHorizontal);
    EXPECT_EQ(image.NumGlyphs(), 1);
    EXPECT_EQ(image.GlyphNum(), 0);
    EXPECT_EQ(image.InactiveGlyph(), -1);
    EXPECT_EQ(image.Interval(), 100u);
    EXPECT_FALSE(image.Active());
    EXPECT_EQ(image.TransparentColor(), TAnimatedImage::clNone);
    EXPECT_FALSE(image.Opaque());
    EXPECT_TRUE(image.Stretch());
    EXPECT_FALSE(image.Center());
    EXPECT_TRUE(image.AutoSize());
    EXPECT_EQ(image.focusPolicy(), Qt::NoFocus);
}

TEST(AnimatedImage, SquareFramesAreGuessedFromTheStrip) {
    QWidget parent;
    TMyAni about(&parent);
    QImage strip = frameStrip(6, QSize(32, 32));
    strip.setPixel(0, 31, qRgb(249, 91, 240));
    about.setGlyph(strip);
    EXPECT_EQ(about.NumGlyphs(), 6);
    EXPECT_EQ(about.frameSize(), QSize(32, 32));
    EXPECT_EQ(about.size(), QSize(32, 32)); // auto size
    EXPECT_EQ(about.TransparentColor(), platform::rgb(249, 91, 240));

    about.setOrientation(goVertical);
    about.setGlyph(frameStrip(3, QSize(20, 20)).transformed(QTransform().rotate(90)));
    EXPECT_EQ(about.NumGlyphs(), 3);
    EXPECT_EQ(about.frameSize(), QSize(20, 20));
}

TEST(AnimatedImage, EmbeddedToolbarStrips) {
    TMyAni ani;
    ani.setGlyph(platform::loadBitmap(QStringLiteral("ANI_ABOUT")));
    EXPECT_EQ(ani.NumGlyphs(), 6);
    EXPECT_EQ(ani.size(), QSize(32, 32));
    ani.setGlyph(platform::loadBitmap(QStringLiteral("ANI_SOLVE")));
    EXPECT_EQ(ani.NumGlyphs(), 9);
    EXPECT_EQ(ani.TransparentColor(), platform::rgb(255, 49, 255));
    ani.setGlyph(platform::loadBitmap(QStringLiteral("ANI_EXIT")));
    EXPECT_EQ(ani.NumGlyphs(), 1); // 340 x 33: no whole multiple
    ani.setNumGlyphs(10);
    EXPECT_EQ(ani.size(), QSize(34, 33));
}

TEST(AnimatedImage, NumGlyphsWrittenAfterTheGlyphOverridesTheGuess) {
    ExitButton exit;
    EXPECT_EQ(exit.ani->NumGlyphs(), 10);
    EXPECT_EQ(exit.ani->frameSize(), QSize(34, 33));
    EXPECT_EQ(exit.ani->size(), QSize(34, 33));
    EXPECT_EQ(frameOnScreen(*exit.ani), 0);
}

TEST(AnimatedImage, AnimatesThroughEveryFrameButTheInactiveOne) {
    ExitButton exit;
    QSignalSpy changes(exit.ani, &TAnimatedImage::OnFrameChanged);
    QSignalSpy starts(exit.ani, &TAnimatedImage::OnStart);
    exit.ani->setActive(true);
    EXPECT_EQ(starts.count(), 1);
    EXPECT_TRUE(exit.ani->isTimerRunning());
    EXPECT_EQ(frameOnScreen(*exit.ani), 0); // nothing moves before the first tick

    std::vector<int> seen;
    for (int tick = 0; tick < 20; ++tick) {
        exit.ani->TimerTick();
        seen.push_back(exit.ani->GlyphNum());
        ASSERT_EQ(frameOnScreen(*exit.ani), seen.back());
    }
    const std::vector<int> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(changes.count(), 20);
}

TEST(AnimatedImage, StoppingMidCycleShowsTheInactiveFrameAtOnce) {
    ExitButton exit;
    exit.toolbar.show();
    exit.ani->setActive(true);
    for (int tick = 0; tick < 4; ++tick)
        exit.ani->TimerTick();
    ASSERT_EQ(exit.ani->GlyphNum(), 4);
    QSignalSpy changes(exit.ani, &TAnimatedImage::OnFrameChanged);
    QSignalSpy stops(exit.ani, &TAnimatedImage::OnStop);
    exit.ani->setActive(false);
    EXPECT_FALSE(exit.ani->isTimerRunning());
    EXPECT_EQ(exit.ani->GlyphNum(), 0);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(stops.count(), 1);
    EXPECT_EQ(frameOnScreen(*exit.ani), 0);
    exit.ani->TimerTick(); // a tick that was already queued changes nothing
    EXPECT_EQ(exit.ani->GlyphNum(), 0);
}

TEST(AnimatedImage, HiddenOrSingleFrameControlsNeverAdvance) {
    QWidget toolbar;
    TMyAni options(&toolbar);
    options.setGlyph(frameStrip(4, QSize(16, 16)));
    options.setInactiveGlyph(0);
    options.hide();
    options.setActive(true);
    for (int tick = 0; tick < 5; ++tick)
        options.TimerTick();
    EXPECT_EQ(options.GlyphNum(), 0);

    TMyAni still(&toolbar);
    still.setGlyph(frameStrip(1, QSize(32, 32)));
    ASSERT_EQ(still.NumGlyphs(), 1);
    still.setActive(true);
    for (int tick = 0; tick < 5; ++tick)
        still.TimerTick();
    EXPECT_EQ(still.GlyphNum(), 0);

    TMyAni empty(&toolbar); // no picture at all, as the options button
    empty.setActive(true);
    empty.TimerTick();
    EXPECT_EQ(empty.GlyphNum(), 0);
}

TEST(AnimatedImage, TheTimerDrivesTheTicks) {
    QWidget toolbar;
    TMyAni solve(&toolbar);
    solve.setGlyph(frameStrip(9, QSize(32, 32)));
    solve.setInactiveGlyph(0);
    solve.setInterval(5);
    solve.setActive(true);
    for (int wait = 0; wait < 100 && solve.GlyphNum() < 2; ++wait)
        QTest::qWait(5);
    EXPECT_GE(solve.GlyphNum(), 2);
    solve.setInterval(0); // no period: the timer rests instead of spinning
    EXPECT_FALSE(solve.isTimerRunning());
    solve.setInterval(200);
    EXPECT_TRUE(solve.isTimerRunning());
}

TEST(AnimatedImage, InactiveGlyphRules) {
    ExitButton exit;
    exit.ani->setInactiveGlyph(10); // not below NumGlyphs after loading: ignored
    EXPECT_EQ(exit.ani->InactiveGlyph(), 0);
    exit.ani->setInactiveGlyph(-7);
    EXPECT_EQ(exit.ani->InactiveGlyph(), -1);
    exit.ani->setInactiveGlyph(3);
    EXPECT_EQ(exit.ani->GlyphNum(), 3); // shown at once while still
    EXPECT_EQ(frameOnScreen(*exit.ani), 3);

    // While loading any number is taken; one the strip lacks is dropped when loading ends.
    TMyAni loading;
    loading.setLoading(true);
    loading.setInactiveGlyph(5);
    EXPECT_EQ(loading.InactiveGlyph(), 5);
    loading.setLoading(false);
    EXPECT_EQ(loading.InactiveGlyph(), -1);

    // A smaller NumGlyphs that no longer holds the inactive frame clears it.
    exit.ani->setNumGlyphs(3);
    EXPECT_EQ(exit.ani->InactiveGlyph(), -1);
    EXPECT_EQ(exit.ani->GlyphNum(), 0);
}

TEST(AnimatedImage, GlyphNumRules) {
    ExitButton exit;
    QSignalSpy changes(exit.ani, &TAnimatedImage::OnFrameChanged);
    exit.ani->setGlyphNum(10);
    exit.ani->setGlyphNum(-1);
    exit.ani->setGlyphNum(0); // the current one
    EXPECT_EQ(changes.count(), 0);
    exit.ani->setGlyphNum(5); // still: the inactive frame takes its place again
    EXPECT_EQ(exit.ani->GlyphNum(), 0);
    EXPECT_EQ(changes.count(), 1);
    exit.ani->setActive(true);
    exit.ani->setGlyphNum(5);
    EXPECT_EQ(exit.ani->GlyphNum(), 5);
    EXPECT_EQ(frameOnScreen(*exit.ani), 5);
}

TEST(AnimatedImage, TransparentPixelsShowTheParent) {
    QWidget toolbar;
    toolbar.resize(60, 60);
    toolbar.setAutoFillBackground(true);
    QPalette palette = toolbar.palette();
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    toolbar.setPalette(palette);
    TMyAni ani(&toolbar);
    ani.setGlyph(frameStrip(2, QSize(20, 20)));
    ani.move(5, 5);
    const QImage shown = grabImage(toolbar);
    EXPECT_EQ(shown.pixel(5, 5), qRgb(10, 20, 30)); // key-coloured border
    EXPECT_EQ(shown.pixel(15, 15), frameColour(0)); // the picture
    EXPECT_EQ(shown.pixel(5 + 19, 5 + 19), qRgb(10, 20, 30));

    ani.setOpaque(true);
    ani.setColor(platform::rgb(200, 0, 0));
    EXPECT_EQ(grabImage(toolbar).pixel(5, 5), qRgb(200, 0, 0));
}

TEST(AnimatedImage, StretchCentreAndTopLeftPlacement) {
    QWidget parent;
    TAnimatedImage image(&parent);
    image.setAutoSize(false);
    image.resize(40, 30);
    image.setGlyph(frameStrip(1, QSize(20, 10)));
    image.setNumGlyphs(1); // 20 x 10 would be guessed as two square frames
    ASSERT_EQ(image.size(), QSize(40, 30));
    ASSERT_EQ(image.frameSize(), QSize(20, 10));
    // Stretched: the frame's 1-pixel key border becomes 2 pixels wide and 3 high.
    image.setOpaque(true);
    image.setColor(platform::rgb(0, 0, 255));
    QImage shown = grabImage(image);
    EXPECT_EQ(shown.pixel(1, 2), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(2, 3), frameColour(0));
    EXPECT_EQ(shown.pixel(37, 26), frameColour(0));
    EXPECT_EQ(shown.pixel(38, 27), qRgb(0, 0, 255));

    image.setStretch(false);
    image.setCenter(true); // frame at ((40 - 20) / 2, (30 - 10) / 2) = (10, 10)
    shown = grabImage(image);
    EXPECT_EQ(shown.pixel(10, 10), qRgb(0, 0, 255)); // its key corner
    EXPECT_EQ(shown.pixel(11, 11), frameColour(0));
    EXPECT_EQ(shown.pixel(28, 18), frameColour(0));
    EXPECT_EQ(shown.pixel(29, 18), qRgb(0, 0, 255));
    image.setCenter(false);
    shown = grabImage(image);
    EXPECT_EQ(shown.pixel(1, 1), frameColour(0));
    EXPECT_EQ(shown.pixel(18, 8), frameColour(0));
    EXPECT_EQ(shown.pixel(20, 8), qRgb(0, 0, 255));
}

TEST(AnimatedImage, MouseAndPointerEventsReachTheOwner) {
    ExitButton exit;
    exit.toolbar.show();
    QSignalSpy downs(exit.ani, &TAnimatedImage::OnMouseDown);
    QSignalSpy ups(exit.ani, &TAnimatedImage::OnMouseUp);
    QSignalSpy clicks(exit.ani, &TAnimatedImage::OnClick);
    QSignalSpy enters(exit.ani, &TMyAni::OnMouseEnter);
    QSignalSpy leaves(exit.ani, &TMyAni::OnMouseLeave);

    QTest::mousePress(exit.ani, Qt::LeftButton, {}, QPoint(5, 6));
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(downs.at(0).at(2).toPoint(), QPoint(5, 6));
    QTest::mouseRelease(exit.ani, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_EQ(ups.count(), 1);
    EXPECT_EQ(clicks.count(), 1);
    QTest::mousePress(exit.ani, Qt::RightButton, {}, QPoint(5, 6));
    QTest::mouseRelease(exit.ani, Qt::RightButton, {}, QPoint(5, 6));
    EXPECT_EQ(downs.count(), 2);
    EXPECT_EQ(clicks.count(), 1);

    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(exit.ani, &enter);
    EXPECT_EQ(enters.count(), 1);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(exit.ani, &leave);
    EXPECT_EQ(leaves.count(), 1);
}

} // namespace tarnell
