// The skin pictures: the corner's recess and its near-white seam area, the disc mask, the
// repeatable and stretchable columns of the caption and bottom pieces, the caption ovals and
// button symbols, and the icon shown unchanged through the recess.
#include "StoredFiles.h"
#include "platform/Resources.h"

#include <QColor>
#include <gtest/gtest.h>

namespace tarnell {

using namespace resourcetest;

namespace {

QImage load(const char* name) {
    return platform::loadBitmap(QString::fromLatin1(name));
}

bool nearWhite(QRgb c) {
    return qRed(c) > 250 && qGreen(c) > 250 && qBlue(c) > 250;
}

bool insideDisc(const QImage& mask, int x, int y) {
    return rgbAt(mask, x, y) == 0x000000;
}

TEST(IconMask, IsACentredBlackDiscOnWhite) {
    const QImage mask = load("MASK");
    int black = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = rgbAt(mask, x, y);
            ASSERT_TRUE(c == 0x000000 || c == 0xFFFFFF) << x << ", " << y;
            black += c == 0 ? 1 : 0;
            // Symmetric about both axes, as a centred disc is.
            EXPECT_EQ(c, rgbAt(mask, 31 - x, y));
            EXPECT_EQ(c, rgbAt(mask, x, 31 - y));
        }
    EXPECT_TRUE(insideDisc(mask, 16, 16));
    EXPECT_FALSE(insideDisc(mask, 0, 0));
    EXPECT_FALSE(insideDisc(mask, 31, 31));
    // Between a disc of radius 14 and one of radius 16.
    EXPECT_GT(black, 616);
    EXPECT_LT(black, 805);
}

TEST(Corner, HasAGreyRecessUnderTheDiscAndNearWhiteBelowTheCaption) {
    const QImage corner = load("C_UL");
    const QImage mask = load("MASK");
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (insideDisc(mask, x, y)) {
                const QRgb c = rgbAt(corner, 10 + x, 8 + y);
                EXPECT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c))
                    << "the recess is grey at " << 10 + x << ", " << 8 + y;
                EXPECT_FALSE(nearWhite(c)) << "the recess would turn cyan";
            }
    // The program paints the near-white pixels of rows 31 to 45 in the strip's cyan: they
    // fill the area between the left border and the seam under the recess.
    int nearWhiteBelow = 0;
    for (int y = 31; y <= 45; ++y)
        for (int x = 0; x < 46; ++x)
            nearWhiteBelow += nearWhite(rgbAt(corner, x, y)) ? 1 : 0;
    EXPECT_GT(nearWhiteBelow, 200);
    for (int y = 40; y <= 45; ++y)
        EXPECT_TRUE(nearWhite(rgbAt(corner, 45, y))) << "meets the seam at row " << y;
    for (int y = 31; y <= 45; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_FALSE(nearWhite(rgbAt(corner, x, y))) << "the left border at " << x << ", " << y;
}

TEST(Corner, ShowsTheIconUnchangedInsideTheDisc) {
    // As the frame paints it: the icon on white, OR the disc mask, AND the corner.
    const QImage corner = load("C_UL");
    const QImage mask = load("MASK");
    const QImage icon = platform::loadIcon(QStringLiteral("MAINICON"), 32);
    ASSERT_FALSE(icon.isNull());
    int opaque = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb p = icon.pixel(x, y);
            if (qAlpha(p) < 128 || !insideDisc(mask, x, y))
                continue;
            ++opaque;
            const QRgb shown = (p | rgbAt(mask, x, y)) & rgbAt(corner, 10 + x, 8 + y) & 0xFFFFFF;
            EXPECT_EQ(shown, p & 0xFFFFFF) << "icon pixel " << x << ", " << y;
        }
    EXPECT_GT(opaque, 300) << "the icon fills most of the disc";
}

TEST(Icon, LiesWithinTheDisc) {
    const QImage mask = load("MASK");
    const QImage icon = platform::loadIcon(QStringLiteral("MAINICON"), 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (qAlpha(icon.pixel(x, y)) >= 128) {
                EXPECT_TRUE(insideDisc(mask, x, y)) << "clipped away at " << x << ", " << y;
            }
}

void expectEqualColumns(const QImage& image, int from, int to, const char* name) {
    for (int x = from + 1; x <= to; ++x)
        for (int y = 0; y < image.height(); ++y)
            ASSERT_EQ(rgbAt(image, x, y), rgbAt(image, from, y))
                << name << ": column " << x << " differs from column " << from << " at row " << y;
}

TEST(CaptionPiece, RepeatedAndStretchedColumnsJoinWithoutSeams) {
    for (const char* name : {"TOP", "TOP_D"}) {
        const QImage top = load(name);
        expectEqualColumns(top, 13, 20, name); // repeated: any cut of the tile joins cleanly
        expectEqualColumns(top, 34, 41, name); // stretched
        // The left end continues the corner piece's caption bar.
        const QImage corner = load("C_UL");
        for (int y = 0; y < 31; ++y)
            EXPECT_EQ(rgbAt(top, 0, y), rgbAt(corner, 45, y)) << name << " row " << y;
    }
}

TEST(CaptionPiece, ActiveOvalIsBlueAndInactiveOvalADimTeal) {
    const QImage active = load("TOP");
    const QImage inactive = load("TOP_D");
    const QColor blue = QColor(rgbAt(active, 16, 16));
    const QColor teal = QColor(rgbAt(inactive, 16, 16));
    EXPECT_GT(blue.blue(), blue.red() + 80);
    EXPECT_GT(blue.blue(), blue.green() + 40);
    EXPECT_LT(std::abs(teal.green() - teal.blue()), 30) << "teal: green and blue alike";
    EXPECT_GT(teal.green(), teal.red() + 30);
    EXPECT_LT(teal.hsvSaturation(), blue.hsvSaturation()) << "dimmer than the active oval";
    // Under the caption buttons (stretched columns) both pieces are the same plain bar.
    for (int y = 0; y < 31; ++y)
        EXPECT_EQ(rgbAt(active, 37, y), rgbAt(inactive, 37, y));
}

TEST(BottomPiece, RepeatedStretchIsUniformAndHasAGroove) {
    const QImage bottom = load("BOT");
    expectEqualColumns(bottom, 78, 166, "BOT");
    // The groove: a dark line over a light one in the middle of the border.
    int darkOverLight = 0;
    for (int y = 4; y < 11; ++y) {
        const QColor upper(rgbAt(bottom, 120, y));
        const QColor lower(rgbAt(bottom, 120, y + 2));
        darkOverLight += upper.value() + 80 < lower.value() ? 1 : 0;
    }
    EXPECT_GT(darkOverLight, 0);
}

TEST(BorderSlices, MatchTheCornerAndBottomPieces) {
    const QImage left = load("LEF");
    const QImage right = load("RIG");
    const QImage corner = load("C_UL");
    const QImage top = load("TOP");
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(rgbAt(left, x, 0), rgbAt(corner, x, 45)) << "left border column " << x;
        EXPECT_EQ(rgbAt(right, x, 0), rgbAt(top, 52 + x, 30)) << "right border column " << x;
    }
}

bool strongBlue(QRgb c) {
    return qBlue(c) > qRed(c) + 100 && qBlue(c) > qGreen(c) + 60;
}

TEST(CaptionButtons, BlueSymbolsWhenActiveDimWhenNot) {
    const char* pairs[][2] = {{"I_MIN", "I_MIND"}, {"I_MAX", "I_MAXD"}, {"I_CLO", "I_CLOD"}};
    QImage previous;
    for (const auto& pair : pairs) {
        const QImage active = load(pair[0]);
        const QImage dim = load(pair[1]);
        int blue = 0, dimBlue = 0;
        for (int y = 1; y <= 22; ++y)
            for (int x = 1; x <= 15; ++x) {
                blue += strongBlue(rgbAt(active, x, y)) ? 1 : 0;
                dimBlue += strongBlue(rgbAt(dim, x, y)) ? 1 : 0;
            }
        EXPECT_GE(blue, 7) << pair[0];
        EXPECT_EQ(dimBlue, 0) << pair[1];
        EXPECT_NE(active, previous) << pair[0] << " repeats the previous symbol";
        previous = active;
        // The picture's first row and column show only while pressed; they are the bar.
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(rgbAt(active, x, 0), rgbAt(dim, x, 0));
    }
}

} // namespace

} // namespace tarnell
