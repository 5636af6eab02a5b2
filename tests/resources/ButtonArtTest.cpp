// The push-button faces as embedded: strips of four looks that differ the way the buttons
// use them, the dialog pills that stretch cleanly, the arrow buttons that point their way,
// and the standard glyphs on their olive ground.
#include "StoredFiles.h"
#include "platform/Resources.h"

#include <QColor>
#include <QSet>
#include <gtest/gtest.h>

namespace tarnell {

using namespace resourcetest;

namespace {

double meanLightness(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += QColor(rgbAt(image, x, y)).lightness();
    return sum / (image.width() * image.height());
}

int maxSaturation(const QImage& image) {
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            most = std::max(most, QColor(rgbAt(image, x, y)).hsvSaturation());
    return most;
}

struct Strip {
    const char* name;
    int width;
    int height;
};

const Strip Strips[] = {
    {"BT1", 180, 22}, {"BT2", 180, 22}, {"BT3", 180, 22}, {"BT4", 180, 22}, {"BT5", 180, 22},
    {"BT6", 180, 22}, {"BT7", 240, 22}, {"BT8", 240, 22}, {"BT9", 240, 22}, {"BTA", 240, 22},
    {"BTB", 240, 22}, {"BTC", 240, 22}, {"BTD", 240, 22}, {"B1", 96, 19},   {"B2", 96, 19},
    {"B3", 96, 19},   {"B4", 96, 19},   {"B5", 96, 19},   {"B6", 96, 19},   {"B7", 96, 19},
};

class FaceStrip : public ::testing::TestWithParam<Strip> {};

TEST_P(FaceStrip, HoldsFourLooksThatDifferAsTheyShould) {
    const Strip s = GetParam();
    const auto header = readBmpHeader(platform::bitmapFileBytes(QString::fromLatin1(s.name)));
    ASSERT_TRUE(header.has_value()) << s.name << " is not embedded";
    EXPECT_EQ(header->bitsPerPixel, 8);
    const QImage strip = platform::loadBitmap(QString::fromLatin1(s.name));
    ASSERT_EQ(strip.size(), QSize(s.width, s.height));
    const int w = s.width / 4;
    const QImage normal = frameOf(strip, w, 0);
    const QImage active = frameOf(strip, w, 1);
    const QImage pressed = frameOf(strip, w, 2);
    const QImage disabled = frameOf(strip, w, 3);
    EXPECT_GT(meanLightness(active), meanLightness(normal) + 8) << "the active face is brighter";
    EXPECT_LT(meanLightness(pressed), meanLightness(normal) - 8) << "the pressed face is darker";
    EXPECT_GT(maxSaturation(normal), 120) << "the normal face has colour";
    EXPECT_LT(maxSaturation(disabled), 20) << "the disabled face is grey";
    // Every face fills its frame: the rounded corners are its only ground.
    EXPECT_NE(rgbAt(normal, w / 2, s.height / 2), rgbAt(normal, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Embedded, FaceStrip, ::testing::ValuesIn(Strips),
                         [](const auto& info) { return std::string(info.param.name); });

// Each lettered face is picked by its colour; the table of Selected values names them.
TEST(LetteredFaces, WearTheirColours) {
    struct Expectation {
        const char* name;
        char colour;
    };
    const Expectation expected[] = {{"BT1", 'r'}, {"BT2", 'b'}, {"BT3", 'r'}, {"BT4", 'b'},
                                    {"BT5", 'g'}, {"BT6", 'c'}, {"BT7", 'b'}, {"BT8", 'c'},
                                    {"BT9", 'g'}, {"BTA", 'r'}, {"BTB", 'b'}, {"BTC", 'b'},
                                    {"BTD", 'g'}};
    for (const Expectation& e : expected) {
        const QImage strip = platform::loadBitmap(QString::fromLatin1(e.name));
        // A body pixel in the lower half at the face's left end, clear of the lettering.
        const QColor c(rgbAt(strip, 3, 15));
        char seen = '?';
        if (c.red() > 2 * c.green() && c.red() > 2 * c.blue())
            seen = 'r';
        else if (c.blue() > 2 * c.red() && c.blue() > c.green() + 40)
            seen = 'b';
        else if (c.green() > 2 * c.red() && c.green() > c.blue() + 60)
            seen = 'g';
        else if (c.green() > 2 * c.red() && c.blue() > 2 * c.red())
            seen = 'c';
        EXPECT_EQ(seen, e.colour) << e.name << " " << c.name().toStdString();
    }
}

// The pressed face's lettering sits one pixel right and down of the normal face's.
TEST(LetteredFaces, PressedLetteringMovesOnePixelRightAndDown) {
    const QImage strip = platform::loadBitmap(QStringLiteral("BTA"));
    auto whiteInk = [](const QImage& face) {
        QRect box;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) {
                const QColor c(rgbAt(face, x, y));
                if (c.red() > 225 && c.green() > 225 && c.blue() > 225 && y > 3)
                    box = box.united(QRect(x, y, 1, 1));
            }
        return box;
    };
    const QRect normal = whiteInk(frameOf(strip, 60, 0));
    const QRect pressed = whiteInk(frameOf(strip, 60, 2));
    ASSERT_FALSE(normal.isEmpty());
    EXPECT_EQ(pressed.topLeft(), normal.topLeft() + QPoint(1, 1));
}

// Selected 6 (B5) increases and 7 (B6) decreases: the triangle's broad side is at the back.
TEST(ArrowFaces, IncreasePointsRightAndDecreasePointsLeft) {
    auto greenColumns = [](const char* name) {
        const QImage face = frameOf(platform::loadBitmap(QString::fromLatin1(name)), 24, 0);
        std::vector<int> counts(24, 0);
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 24; ++x) {
                const QColor c(rgbAt(face, x, y));
                counts[static_cast<size_t>(x)] += c.green() > 140 && c.green() > 2 * c.red();
            }
        return counts;
    };
    auto broadSide = [](const std::vector<int>& counts) {
        int left = 0, right = 0;
        for (size_t x = 0; x < 12; ++x)
            left += counts[x];
        for (size_t x = 12; x < 24; ++x)
            right += counts[x];
        return left - right;
    };
    EXPECT_GT(broadSide(greenColumns("B5")), 6) << "B5 is not a right-pointing triangle";
    EXPECT_LT(broadSide(greenColumns("B6")), -6) << "B6 is not a left-pointing triangle";
}

// ---- the dialog buttons' pills ------------------------------------------------------------

TEST(DialogPills, MiddleColumnsAreUniformSoTheyStretch) {
    for (const char* name : {"C1", "C2", "C3"}) {
        const auto header = readBmpHeader(platform::bitmapFileBytes(QString::fromLatin1(name)));
        ASSERT_TRUE(header.has_value()) << name;
        EXPECT_EQ(header->bitsPerPixel, 8);
        const QImage pill = platform::loadBitmap(QString::fromLatin1(name));
        ASSERT_EQ(pill.size(), QSize(56, 23));
        for (int x = 10; x <= 45; ++x)
            for (int y = 0; y < 23; ++y)
                ASSERT_EQ(rgbAt(pill, x, y), rgbAt(pill, 10, y))
                    << name << " column " << x << " row " << y;
        // The caps are rounded: the corner pixels are the ground, the middle of the edge is not.
        EXPECT_EQ(rgbAt(pill, 0, 0), rgbAt(pill, 55, 22));
        EXPECT_NE(rgbAt(pill, 0, 11), rgbAt(pill, 0, 0));
        EXPECT_LT(maxSaturation(pill), 40) << name << " is a grey pill";
    }
    const QImage normal = platform::loadBitmap(QStringLiteral("C1"));
    const QImage pressed = platform::loadBitmap(QStringLiteral("C2"));
    const QImage active = platform::loadBitmap(QStringLiteral("C3"));
    EXPECT_GT(meanLightness(active), meanLightness(normal) + 6) << "C3 is a brighter C1";
    EXPECT_LT(meanLightness(pressed), meanLightness(normal) - 6);
}

// ---- the standard kinds' glyphs -----------------------------------------------------------

TEST(StandardGlyphs, TwoLooksOnTheOliveGroundIn16Colours) {
    const char* names[] = {"ABOK",    "ABCANCEL", "ABHELP",  "ABYES",    "ABNO",
                           "ABCLOSE", "ABABORT",  "ABRETRY", "ABIGNORE", "ABALL"};
    const QRgb olive = plainRgb(128, 128, 0);
    for (const char* name : names) {
        const auto header = readBmpHeader(platform::bitmapFileBytes(QString::fromLatin1(name)));
        ASSERT_TRUE(header.has_value()) << name;
        EXPECT_EQ(header->bitsPerPixel, 4) << name;
        const QImage image = platform::loadBitmap(QString::fromLatin1(name));
        ASSERT_EQ(image.size(), QSize(36, 18)) << name;
        EXPECT_EQ(rgbAt(image, 0, 17), olive) << name;
        EXPECT_EQ(rgbAt(image, 18, 17), olive) << name;
        const QSet<QRgb> disabledColours{olive, plainRgb(255, 255, 255), plainRgb(128, 128, 128)};
        int colouredPixels = 0;
        for (int y = 0; y < 18; ++y) {
            for (int x = 0; x < 18; ++x) {
                const QColor c(rgbAt(image, x, y));
                colouredPixels += rgbAt(image, x, y) != olive && c.hsvSaturation() > 100;
                EXPECT_TRUE(disabledColours.contains(rgbAt(image, x + 18, y)))
                    << name << " disabled look at " << x << "," << y;
            }
        }
        EXPECT_GT(colouredPixels, 15) << name << " has no coloured glyph";
    }
    // The pairs that share a meaning share a picture.
    EXPECT_EQ(platform::loadBitmap(QStringLiteral("ABOK")),
              platform::loadBitmap(QStringLiteral("ABYES")));
    EXPECT_EQ(platform::loadBitmap(QStringLiteral("ABCANCEL")),
              platform::loadBitmap(QStringLiteral("ABABORT")));
    EXPECT_NE(platform::loadBitmap(QStringLiteral("ABOK")),
              platform::loadBitmap(QStringLiteral("ABALL")));
}

} // namespace

} // namespace tarnell
