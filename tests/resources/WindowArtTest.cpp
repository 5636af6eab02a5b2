// The pictures of single windows as embedded: sizes and depths, the transparent ground in
// the bottom-left pixel and nowhere inside a shape, the toolbar strips' exact key colours
// and frame counts, and animations whose loops run on without a jump.
#include "StoredFiles.h"
#include "platform/Resources.h"

#include <QColor>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace tarnell {

using namespace resourcetest;

namespace {

int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += rgbAt(a, x, y) != rgbAt(b, x, y);
    return count;
}

// Ground-coloured pixels that cannot be reached from the picture's edge through ground:
// holes that would let the page show through the middle of a shape.
int enclosedGround(const QImage& image, QRgb ground) {
    const int w = image.width();
    const int h = image.height();
    std::vector<char> reached(static_cast<size_t>(w * h), 0);
    std::vector<QPoint> todo;
    for (int x = 0; x < w; ++x)
        for (int y : {0, h - 1})
            todo.push_back({x, y});
    for (int y = 0; y < h; ++y)
        for (int x : {0, w - 1})
            todo.push_back({x, y});
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h)
            continue;
        char& seen = reached[static_cast<size_t>(p.y() * w + p.x())];
        if (seen || rgbAt(image, p.x(), p.y()) != ground)
            continue;
        seen = 1;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    int enclosed = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            enclosed += rgbAt(image, x, y) == ground && !reached[static_cast<size_t>(y * w + x)];
    return enclosed;
}

// A pixel close to the key but not the key: the half-blended fringe of an anti-aliased edge.
int fringePixels(const QImage& image, QRgb key) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = rgbAt(image, x, y);
            if (c == key)
                continue;
            const int distance = std::abs(qRed(c) - qRed(key)) + std::abs(qGreen(c) - qGreen(key)) +
                                 std::abs(qBlue(c) - qBlue(key));
            count += distance < 60;
        }
    return count;
}

struct Picture {
    const char* name;
    int width;
    int height;
};

const Picture Pictures[] = {
    {"ANI_SOLVE", 288, 32},    {"ANI_ABOUT", 192, 32},      {"ANI_EXIT", 340, 33},
    {"ABOUT_ANIM", 450, 50},   {"CHECK_ON", 14, 14},        {"CHECK_OFF", 14, 14},
    {"CHECK_DIS", 14, 14},     {"PIC_WARNING", 32, 32},     {"PIC_ERROR", 32, 32},
    {"PIC_QUESTION", 32, 32},  {"GLYPH_TICK", 36, 18},      {"GLYPH_CROSS", 36, 18},
    {"DONATE_PAYPAL", 62, 31}, {"DONATE_WEBMONEY", 95, 41},
};

class WindowPicture : public ::testing::TestWithParam<Picture> {};

TEST_P(WindowPicture, IsStoredAt24BitsInItsSize) {
    const Picture p = GetParam();
    const auto header = readBmpHeader(platform::bitmapFileBytes(QString::fromLatin1(p.name)));
    ASSERT_TRUE(header.has_value()) << p.name << " is not embedded";
    EXPECT_EQ(header->bitsPerPixel, 24);
    const QImage image = platform::loadBitmap(QString::fromLatin1(p.name));
    EXPECT_EQ(image.size(), QSize(p.width, p.height));
}

INSTANTIATE_TEST_SUITE_P(Embedded, WindowPicture, ::testing::ValuesIn(Pictures),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the side toolbar's strips -------------------------------------------------------------

struct ToolbarStrip {
    const char* name;
    int frames;
    int frameWidth;
    QRgb key;
};

const ToolbarStrip ToolbarStrips[] = {
    {"ANI_SOLVE", 9, 32, plainRgb(255, 49, 255)},
    {"ANI_ABOUT", 6, 32, plainRgb(249, 91, 240)},
    {"ANI_EXIT", 10, 34, plainRgb(255, 153, 255)},
};

class ToolbarAnimation : public ::testing::TestWithParam<ToolbarStrip> {};

TEST_P(ToolbarAnimation, EveryFrameStandsOnTheExactKeyWithoutAFringe) {
    const ToolbarStrip s = GetParam();
    const QImage strip = platform::loadBitmap(QString::fromLatin1(s.name));
    ASSERT_EQ(strip.width(), s.frames * s.frameWidth);
    EXPECT_EQ(rgbAt(strip, 0, strip.height() - 1), s.key)
        << "the control takes its transparent colour from the strip's bottom-left pixel";
    for (int i = 0; i < s.frames; ++i) {
        const QImage frame = frameOf(strip, s.frameWidth, i);
        EXPECT_EQ(rgbAt(frame, 0, frame.height() - 1), s.key) << "frame " << i;
        const int keyPixels = countPixels(frame, [&](QRgb c) { return c == s.key; });
        // A picture, not an empty frame and not a frame without ground.
        EXPECT_GT(keyPixels, frame.width() * frame.height() / 5) << "frame " << i;
        EXPECT_LT(keyPixels, frame.width() * frame.height() * 4 / 5) << "frame " << i;
        EXPECT_EQ(fringePixels(frame, s.key), 0) << "frame " << i;
    }
}

// The still frame 0 is shown only while the pointer is elsewhere; the hovered loop runs
// 1, 2, ..., N - 1, 1, ... and every step of it, the wrap included, changes the picture by
// a comparable amount.
TEST_P(ToolbarAnimation, LoopsThroughFramesOneToLastWithoutAJump) {
    const ToolbarStrip s = GetParam();
    const QImage strip = platform::loadBitmap(QString::fromLatin1(s.name));
    std::vector<int> steps;
    for (int i = 1; i < s.frames; ++i) {
        const int next = i + 1 < s.frames ? i + 1 : 1;
        steps.push_back(
            differingPixels(frameOf(strip, s.frameWidth, i), frameOf(strip, s.frameWidth, next)));
        EXPECT_GT(steps.back(), 0) << "frames " << i << " and " << next << " are the same";
    }
    const int largest = *std::max_element(steps.begin(), steps.end());
    std::vector<int> sorted = steps;
    std::sort(sorted.begin(), sorted.end());
    const int median = sorted[sorted.size() / 2];
    EXPECT_LE(largest, 3 * median + 20) << "one step of the loop jumps";
    const int largestInside = *std::max_element(steps.begin(), steps.end() - 1);
    EXPECT_LE(steps.back(), largestInside * 5 / 4 + 20) << "the wrap to frame 1 jumps";
}

INSTANTIATE_TEST_SUITE_P(Embedded, ToolbarAnimation, ::testing::ValuesIn(ToolbarStrips),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AboutPageAnimation, NineFramesOnThePageGreyLoopWithoutEnd) {
    const QImage strip = platform::loadBitmap(QStringLiteral("ABOUT_ANIM"));
    ASSERT_EQ(strip.size(), QSize(450, 50));
    const QRgb page = plainRgb(148, 148, 148);
    std::vector<int> steps;
    for (int i = 0; i < 9; ++i) {
        const QImage frame = frameOf(strip, 50, i);
        EXPECT_EQ(rgbAt(frame, 0, 0), page) << "frame " << i;
        EXPECT_EQ(rgbAt(frame, 49, 0), page) << "frame " << i;
        steps.push_back(differingPixels(frame, frameOf(strip, 50, (i + 1) % 9)));
        EXPECT_GT(steps.back(), 0) << "frame " << i << " does not move on";
    }
    std::vector<int> sorted = steps;
    std::sort(sorted.begin(), sorted.end());
    const int largestInside = *std::max_element(steps.begin(), steps.end() - 1);
    EXPECT_LE(steps.back(), largestInside * 5 / 4 + 20)
        << "the last frame does not lead into the first";
    EXPECT_LE(steps.back(), 3 * sorted[4] + 20) << "the last frame does not lead into the first";
}

// ---- pictures drawn over their ground --------------------------------------------------------

struct GroundedPicture {
    const char* name;
    int shapeWidth; // the pictures side by side in the image, each this wide
};

const GroundedPicture GroundedPictures[] = {
    {"CHECK_ON", 14},  {"CHECK_OFF", 14},    {"CHECK_DIS", 14},  {"PIC_WARNING", 32},
    {"PIC_ERROR", 32}, {"PIC_QUESTION", 32}, {"GLYPH_TICK", 18}, {"GLYPH_CROSS", 18},
};

class PictureOnGround : public ::testing::TestWithParam<GroundedPicture> {};

TEST_P(PictureOnGround, GroundLiesAroundTheShapeOnlyWithHardEdges) {
    const GroundedPicture g = GetParam();
    const QImage image = platform::loadBitmap(QString::fromLatin1(g.name));
    ASSERT_FALSE(image.isNull());
    const QRgb ground = rgbAt(image, 0, image.height() - 1);
    for (int x = 0; x < image.width(); x += g.shapeWidth) {
        const QImage one = image.copy(x, 0, g.shapeWidth, image.height());
        EXPECT_EQ(enclosedGround(one, ground), 0) << "the ground shows inside the shape";
        EXPECT_EQ(fringePixels(one, ground), 0) << "a blended edge against the ground";
        const int shapePixels = countPixels(one, [&](QRgb c) { return c != ground; });
        EXPECT_GT(shapePixels, one.width() * one.height() / 8) << "the picture is nearly empty";
    }
}

INSTANTIATE_TEST_SUITE_P(Embedded, PictureOnGround, ::testing::ValuesIn(GroundedPictures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckBoxGlyphs, ThreeLooksThatDifferOnOneGround) {
    const QImage on = platform::loadBitmap(QStringLiteral("CHECK_ON"));
    const QImage off = platform::loadBitmap(QStringLiteral("CHECK_OFF"));
    const QImage disabled = platform::loadBitmap(QStringLiteral("CHECK_DIS"));
    const QRgb ground = rgbAt(on, 0, 13);
    EXPECT_EQ(rgbAt(off, 0, 13), ground);
    EXPECT_EQ(rgbAt(disabled, 0, 13), ground);
    EXPECT_GT(differingPixels(on, off), 6) << "the checked box shows no mark";
    EXPECT_GT(differingPixels(off, disabled), 20) << "the disabled box looks enabled";
    // Only the checked box carries colour; the others are greys and whites.
    auto coloured = [](const QImage& image) {
        return countPixels(image, [](QRgb c) { return QColor(c).hsvSaturation() > 80; });
    };
    EXPECT_GT(coloured(on), 6);
    EXPECT_EQ(coloured(disabled), 0);
}

// The dialog button shows the right half when disabled and maps its white and $808080 to
// the system's highlight and shadow, so that half holds nothing but those and the ground.
TEST(DialogGlyphs, DisabledHalfIsWhiteAndGreyOnTheGround) {
    for (const char* name : {"GLYPH_TICK", "GLYPH_CROSS"}) {
        const QImage image = platform::loadBitmap(QString::fromLatin1(name));
        const QRgb ground = rgbAt(image, 0, 17);
        const QSet<QRgb> allowed{ground, plainRgb(255, 255, 255), plainRgb(128, 128, 128)};
        int grey = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 18; x < 36; ++x) {
                EXPECT_TRUE(allowed.contains(rgbAt(image, x, y)))
                    << name << " at " << x << "," << y;
                grey += rgbAt(image, x, y) == plainRgb(128, 128, 128);
            }
        EXPECT_GT(grey, 20) << name;
    }
    auto dominantHue = [](const char* name) {
        const QImage image = platform::loadBitmap(QString::fromLatin1(name));
        QColor sum(0, 0, 0);
        int red = 0, green = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 18; ++x) {
                const QColor c(rgbAt(image, x, y));
                if (c.hsvSaturation() > 120 && c.value() > 120) {
                    red += c.red() > 2 * c.green();
                    green += c.green() > 2 * c.red();
                }
            }
        return std::pair{red, green};
    };
    const auto [tickRed, tickGreen] = dominantHue("GLYPH_TICK");
    EXPECT_GT(tickGreen, 10 * std::max(1, tickRed)) << "the tick is green";
    const auto [crossRed, crossGreen] = dominantHue("GLYPH_CROSS");
    EXPECT_GT(crossRed, 10 * std::max(1, crossGreen)) << "the cross is red";
}

TEST(DialogPictures, EachHasItsColour) {
    auto share = [](const char* name, auto test) {
        return countPixels(platform::loadBitmap(QString::fromLatin1(name)),
                           [&](QRgb c) { return test(QColor(c)); });
    };
    auto yellow = [](const QColor& c) { return c.red() > 180 && c.green() > 150 && c.blue() < 90; };
    auto red = [](const QColor& c) { return c.red() > 170 && c.green() < 90 && c.blue() < 90; };
    auto green = [](const QColor& c) { return c.green() > 150 && c.red() < 120 && c.blue() < 120; };
    EXPECT_GT(share("PIC_WARNING", yellow), 50);
    EXPECT_GT(share("PIC_ERROR", red), 50);
    EXPECT_GT(share("PIC_QUESTION", green), 50);
    EXPECT_EQ(share("PIC_WARNING", red), 0);
    EXPECT_EQ(share("PIC_QUESTION", yellow), 0);
}

TEST(DonationPictures, PayPalIsAnOrangeButtonAndWebMoneyStandsOnWhite) {
    const QImage payPal = platform::loadBitmap(QStringLiteral("DONATE_PAYPAL"));
    const QColor middle(rgbAt(payPal, 4, 15));
    EXPECT_GT(middle.red(), 200);
    EXPECT_GT(middle.green(), 110);
    EXPECT_LT(middle.blue(), 90) << "orange at the button's left end";
    const QImage webMoney = platform::loadBitmap(QStringLiteral("DONATE_WEBMONEY"));
    for (QPoint corner : {QPoint(0, 0), QPoint(94, 0), QPoint(0, 40), QPoint(94, 40)})
        EXPECT_EQ(rgbAt(webMoney, corner.x(), corner.y()), plainRgb(255, 255, 255));
    const int blue = countPixels(webMoney.copy(0, 0, 40, 41), [](QRgb c) {
        return qBlue(c) > 150 && qRed(c) < 100;
    });
    EXPECT_GT(blue, 200) << "the globe is blue";
}

} // namespace

} // namespace tarnell
