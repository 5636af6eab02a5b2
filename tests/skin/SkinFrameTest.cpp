// Pixel tests of the painted frame: every piece of the caption bar, the caption buttons,
// the corner with the icon, the borders and the seam, for the main window and a dialog.
#include "skin/SkinFrame.h"
#include "SkinTestImages.h"
#include "skin/SkinnedForm.h"

#include "platform/drawing/Colors.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

using skintest::regionIs;
using skintest::regionMatches;
using skintest::Source;

namespace {

const QColor Grey(128, 128, 128);
const QColor Cyan(0, 255, 255);

TSkinLayout mainLayout() {
    return {QSize(488, 376), QString(), QSize(40, 314), QSize(40, 315), false};
}
TSkinLayout donationLayout() {
    return {QSize(357, 271), QString(), QSize(40, 210), QSize(40, 210), true};
}

// The corner as it should look, worked out pixel by pixel: the icon on white, ORed with the
// disc mask, ANDed with the recess at (10, 8); then near-white pixels of rows 31..45 in cyan.
QImage expectedCorner(const skin::SkinBitmaps& b) {
    QImage corner = b.C_UL.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb argb = b.MAINICON.pixel(x, y);
            const QRgb icon = qAlpha(argb) >= 128 ? argb : qRgb(255, 255, 255);
            const QRgb masked = (icon | b.MASK.pixel(x, y)) & corner.pixel(10 + x, 8 + y);
            corner.setPixel(10 + x, 8 + y, masked | 0xFF000000);
        }
    for (int y = 31; y <= 45; ++y)
        for (int x = 0; x < 46; ++x) {
            const QRgb p = corner.pixel(x, y);
            if (qRed(p) > 250 && qGreen(p) > 250 && qBlue(p) > 250)
                corner.setPixel(x, y, qRgb(0, 255, 255));
        }
    return corner;
}

class FramePixelTest : public ::testing::TestWithParam<Source> {
protected:
    void SetUp() override {
        if (GetParam() == Source::Embedded && !skintest::embeddedSkinPresent())
            GTEST_SKIP() << "the skin bitmaps are not embedded yet";
        skin_ = std::make_unique<skintest::ScopedSkin>(GetParam());
        mainForm_ = std::make_unique<TSkinnedForm>(mainLayout());
        donationForm_ = std::make_unique<TSkinnedForm>(donationLayout());
        bitmaps_ = mainForm_->skinBitmaps();
    }

    std::unique_ptr<skintest::ScopedSkin> skin_;
    std::unique_ptr<TSkinnedForm> mainForm_;
    std::unique_ptr<TSkinnedForm> donationForm_;
    skin::SkinBitmaps bitmaps_;
};

TEST_P(FramePixelTest, MainWindowCaptionBarIsTiledFromTheCaptionPiece) {
    const QImage frame = mainForm_->renderFrame(true);
    const QImage& top = bitmaps_.TOP;
    const QRect buttons(438, 3, 29, 22);
    EXPECT_TRUE(regionMatches(frame, QRect(46, 0, 13, 31), top, QPoint(0, 0)));
    // 45 tiles of columns 13..20 from x = 59; the 45th shows only its first column.
    for (int k = 1; k <= 44; ++k)
        EXPECT_TRUE(regionMatches(frame, QRect(59 + 8 * (k - 1), 0, 8, 31), top, QPoint(13, 0)))
            << "tile " << k;
    EXPECT_TRUE(regionMatches(frame, QRect(411, 0, 1, 31), top, QPoint(13, 0))) << "tile 45";
    EXPECT_TRUE(regionMatches(frame, QRect(412, 0, 13, 31), top, QPoint(21, 0)));
    // Columns 34..41 stretched to 470 pixels from x = 425: only their start shows.
    for (int x = 425; x < 470; ++x)
        EXPECT_TRUE(regionMatches(frame, QRect(x, 0, 1, 31), top,
                                  QPoint(34 + (x - 425) * 8 / 470, 0), buttons))
            << "x " << x;
    EXPECT_TRUE(regionMatches(frame, QRect(470, 0, 18, 31), top, QPoint(42, 0), buttons));
}

TEST_P(FramePixelTest, MainWindowButtonsAndMinimiseOverlapsClose) {
    const QImage frame = mainForm_->renderFrame(true);
    // Minimise 438..452 is painted after close 452..466 and so owns column 452.
    EXPECT_TRUE(regionMatches(frame, QRect(438, 3, 15, 22), bitmaps_.I_MIN, QPoint(1, 1)));
    EXPECT_TRUE(regionMatches(frame, QRect(453, 3, 14, 22), bitmaps_.I_CLO, QPoint(2, 1)));
    // Rows just above and below the boxes are the caption bar again.
    // (The stretched column 34 lies under both boxes.)
    for (int x = 438; x < 467; ++x) {
        EXPECT_TRUE(regionMatches(frame, QRect(x, 2, 1, 1), bitmaps_.TOP, QPoint(34, 2)));
        EXPECT_TRUE(regionMatches(frame, QRect(x, 25, 1, 1), bitmaps_.TOP, QPoint(34, 25)));
    }
}

TEST_P(FramePixelTest, PressedButtonsShiftThePictureAndKeepTheFirstColumn) {
    const skin::SkinBitmaps& b = bitmaps_;
    auto render = [&](bool closePressed, bool minimisePressed) {
        QImage image(488, 376, QImage::Format_RGB32);
        image.fill(Grey);
        QPainter painter(&image);
        skin::paintFrame(painter, b,
                         {QSize(488, 376), QString(), true, closePressed, minimisePressed, 23});
        return image;
    };
    const QImage closeDown = render(true, false);
    // Close box at 452 stays put; its picture is image columns 0..13 and rows 0..21 from 453.
    EXPECT_TRUE(regionMatches(closeDown, QRect(453, 3, 14, 22), b.I_CLO, QPoint(0, 0)));
    EXPECT_TRUE(regionMatches(closeDown, QRect(438, 3, 15, 22), b.I_MIN, QPoint(1, 1)));

    const QImage minimiseDown = render(false, true);
    // The minimise box moves to 439; its first column keeps the caption bar beneath, and the
    // picture (columns 0..13, rows 0..21) covers 440..453, one column into the close box.
    for (int x : {438, 439})
        EXPECT_TRUE(regionMatches(minimiseDown, QRect(x, 3, 1, 22), b.TOP, QPoint(34, 3)));
    EXPECT_TRUE(regionMatches(minimiseDown, QRect(440, 3, 14, 22), b.I_MIN, QPoint(0, 0)));
    EXPECT_TRUE(regionMatches(minimiseDown, QRect(454, 3, 13, 22), b.I_CLO, QPoint(3, 1)));
}

TEST_P(FramePixelTest, MainWindowBottomBorderRepeatsFourTimes) {
    const QImage frame = mainForm_->renderFrame(true);
    const QImage& bot = bitmaps_.BOT;
    const int y = 376 - 15;
    EXPECT_TRUE(regionMatches(frame, QRect(0, y, 78, 15), bot, QPoint(0, 0)));
    for (int x : {78, 167, 256})
        EXPECT_TRUE(regionMatches(frame, QRect(x, y, 89, 15), bot, QPoint(78, 0))) << "x " << x;
    // The fourth repeat at 345 is cut by the end piece at 410.
    EXPECT_TRUE(regionMatches(frame, QRect(345, y, 65, 15), bot, QPoint(78, 0)));
    EXPECT_TRUE(regionMatches(frame, QRect(410, y, 78, 15), bot, QPoint(169, 0)));
}

TEST_P(FramePixelTest, CornerHoldsTheIconInTheDiscAndRecolouredRows) {
    const QImage frame = mainForm_->renderFrame(true);
    const QImage corner = expectedCorner(bitmaps_);
    EXPECT_TRUE(regionMatches(frame, QRect(0, 0, 46, 46), corner, QPoint(0, 0)));
}

TEST_P(FramePixelTest, SeamSidesAndInterior) {
    const QImage frame = mainForm_->renderFrame(true);
    EXPECT_TRUE(regionIs(frame, QRect(46, 31, 2, 15), Cyan));
    // 4 + 19 is not above 31: no button-face fill right of the seam.
    EXPECT_TRUE(regionIs(frame, QRect(48, 31, 431, 15), Grey));
    for (int y = 46; y < 361; ++y)
        ASSERT_TRUE(regionMatches(frame, QRect(0, y, 8, 1), bitmaps_.LEF, QPoint(0, 0)))
            << "row " << y;
    for (int y = 31; y < 361; ++y)
        ASSERT_TRUE(regionMatches(frame, QRect(480, y, 8, 1), bitmaps_.RIG, QPoint(0, 0)))
            << "row " << y;
    EXPECT_TRUE(regionIs(frame, QRect(8, 46, 472, 315), Grey));
}

TEST_P(FramePixelTest, TallerSystemCaptionFillsBelowTheBarWithButtonFace) {
    QImage image(488, 376, QImage::Format_RGB32);
    image.fill(Grey);
    QPainter painter(&image);
    skin::paintFrame(painter, bitmaps_, {QSize(488, 376), QString(), true, false, false, 40});
    painter.end();
    EXPECT_TRUE(regionIs(image, QRect(48, 31, 431, 9), platform::toQColor(platform::clBtnFace)));
    EXPECT_TRUE(regionIs(image, QRect(48, 40, 431, 6), Grey));
    EXPECT_TRUE(regionIs(image, QRect(46, 31, 2, 15), Cyan));
}

TEST_P(FramePixelTest, DonationDialogHas28TilesAndItsButtons) {
    const QImage frame = donationForm_->renderFrame(true);
    const QImage& top = bitmaps_.TOP;
    for (int k = 1; k <= 27; ++k)
        EXPECT_TRUE(regionMatches(frame, QRect(59 + 8 * (k - 1), 0, 8, 31), top, QPoint(13, 0)))
            << "tile " << k;
    // The 28th tile at 275 is cut by the piece at 357 - 76 = 281.
    EXPECT_TRUE(regionMatches(frame, QRect(275, 0, 6, 31), top, QPoint(13, 0)));
    EXPECT_TRUE(regionMatches(frame, QRect(281, 0, 13, 31), top, QPoint(21, 0)));
    EXPECT_TRUE(regionMatches(frame, QRect(339, 0, 18, 31), top, QPoint(42, 0)));
    EXPECT_TRUE(regionMatches(frame, QRect(307, 3, 15, 22), bitmaps_.I_MIN, QPoint(1, 1)));
    EXPECT_TRUE(regionMatches(frame, QRect(322, 3, 14, 22), bitmaps_.I_CLO, QPoint(2, 1)));
    const int y = 271 - 15;
    for (int x : {78, 167})
        EXPECT_TRUE(regionMatches(frame, QRect(x, y, 89, 15), bitmaps_.BOT, QPoint(78, 0))) << x;
    EXPECT_TRUE(regionMatches(frame, QRect(256, y, 23, 15), bitmaps_.BOT, QPoint(78, 0)));
    EXPECT_TRUE(regionMatches(frame, QRect(279, y, 78, 15), bitmaps_.BOT, QPoint(169, 0)));
}

TEST_P(FramePixelTest, InactiveLookUsesTheDimCaptionAndButtons) {
    const QImage frame = mainForm_->renderFrame(false);
    EXPECT_TRUE(regionMatches(frame, QRect(46, 0, 13, 31), bitmaps_.TOP_D, QPoint(0, 0)));
    EXPECT_TRUE(regionMatches(frame, QRect(59, 0, 8, 31), bitmaps_.TOP_D, QPoint(13, 0)));
    EXPECT_TRUE(regionMatches(frame, QRect(470, 0, 18, 31), bitmaps_.TOP_D, QPoint(42, 0),
                              QRect(438, 3, 29, 22)));
    EXPECT_TRUE(regionMatches(frame, QRect(438, 3, 15, 22), bitmaps_.I_MIND, QPoint(1, 1)));
    EXPECT_TRUE(regionMatches(frame, QRect(453, 3, 14, 22), bitmaps_.I_CLOD, QPoint(2, 1)));
    // The rest of the frame does not depend on activation.
    const QImage active = mainForm_->renderFrame(true);
    EXPECT_EQ(frame.copy(0, 31, 488, 345), active.copy(0, 31, 488, 345));
    EXPECT_EQ(frame.copy(0, 0, 46, 31), active.copy(0, 0, 46, 31));
}

TEST_P(FramePixelTest, CaptionTextIsWhiteFromItsTopLeft) {
    mainForm_->setCaption(QStringLiteral("Tarnell"));
    const QImage withText = mainForm_->renderFrame(true);
    mainForm_->setCaption(QString());
    const QImage without = mainForm_->renderFrame(true);
    QRect changed;
    int white = 0;
    for (int y = 0; y < 376; ++y)
        for (int x = 0; x < 488; ++x)
            if (withText.pixel(x, y) != without.pixel(x, y)) {
                changed |= QRect(x, y, 1, 1);
                const QColor c(withText.pixel(x, y));
                // Text edges blend towards the bar; the ink itself is white.
                if (c == Qt::white)
                    ++white;
            }
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_GT(white, 20);
    EXPECT_GE(changed.left(), 68);
    EXPECT_LE(changed.left(), 70);
    EXPECT_GE(changed.top(), 6);
    EXPECT_LE(changed.top(), 9);
    EXPECT_LT(changed.bottom(), 31);
    EXPECT_LT(changed.right(), 438);
}

INSTANTIATE_TEST_SUITE_P(Sources, FramePixelTest,
                         ::testing::Values(Source::Synthetic, Source::Embedded),
                         skintest::sourceName);

TEST(StretchCopy, MapsEveryTargetPixelToTheSourcePixelBelowIt) {
    QImage source(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            source.setPixel(x, y, qRgb(10 * x, 100 * y, 0));
    const QImage wide = skin::stretchCopy(source, QRect(1, 0, 2, 2), QSize(5, 4));
    // Columns 0..4 take source columns 1 + {0, 0, 0, 1, 1}; rows 0..3 take {0, 0, 1, 1}.
    const int cols[] = {1, 1, 1, 2, 2};
    const int rows[] = {0, 0, 1, 1};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(wide.pixel(x, y), source.pixel(cols[x], rows[y])) << x << "," << y;
}

} // namespace

} // namespace tarnell
