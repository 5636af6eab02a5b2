// The stepped gradient, mask compositing and colour values, checked pixel for pixel
// against values worked out here in integer arithmetic.
#include "platform/drawing/Drawing.h"
#include "platform/drawing/Colors.h"
#include "tests/support/TestSupport.h"

#include <QPainter>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace tarnell {

// Readable colours in failure messages.
void PrintTo(const QColor& colour, std::ostream* out) {
    *out << "RGB(" << colour.red() << ", " << colour.green() << ", " << colour.blue() << ")";
}

namespace {

using platform::GradientDirection;
using testsupport::pixel;

// round(numerator / denominator) with halves away from zero, denominator > 0.
int roundedQuotient(int numerator, int denominator) {
    const int magnitude = (2 * std::abs(numerator) + denominator) / (2 * denominator);
    return numerator < 0 ? -magnitude : magnitude;
}

// The colour every pixel along the gradient should have, one entry per pixel.
std::vector<QColor> expectedRamp(int length, QColor start, QColor end, int steps) {
    std::vector<QColor> ramp;
    if (steps < 2) {
        ramp.assign(static_cast<size_t>(length), start);
        return ramp;
    }
    int n = steps < length ? steps : length;
    if (n < 2)
        n = 2;
    const int band = length / n;
    for (int k = 0; k < n; ++k) {
        auto channel = [&](int from, int to) {
            return from + roundedQuotient(k * (to - from), n - 1);
        };
        const QColor colour(channel(start.red(), end.red()), channel(start.green(), end.green()),
                            channel(start.blue(), end.blue()));
        for (int i = 0; i < band; ++i)
            ramp.push_back(colour);
    }
    while (static_cast<int>(ramp.size()) < length)
        ramp.push_back(end);
    return ramp;
}

QImage filled(QSize size, QColor ground) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(ground);
    return image;
}

// One gradient painted over `rect` of an image filled with magenta, which no ramp here
// holds, and pixels whose colours were worked out by hand.
struct Gradient {
    const char* what;
    QSize size;
    QRect rect;
    QColor start, end;
    int steps;
    GradientDirection direction;
    std::vector<std::pair<QPoint, QColor>> spots;
};

void PrintTo(const Gradient& gradient, std::ostream* out) {
    *out << gradient.what;
}

class GradientFill : public ::testing::TestWithParam<Gradient> {};

// Every pixel of the rectangle has the colour of its band along the direction, and nothing
// outside the rectangle is touched.
TEST_P(GradientFill, EveryPixelTakesItsBandsColourAndNothingOutsideIsTouched) {
    const Gradient& g = GetParam();
    QImage image = filled(g.size, Qt::magenta);
    {
        QPainter painter(&image);
        platform::gradientFill(painter, g.rect, g.start, g.end, g.steps, g.direction);
    }
    const bool across = g.direction == GradientDirection::LeftToRight;
    const std::vector<QColor> ramp =
        expectedRamp(across ? g.rect.width() : g.rect.height(), g.start, g.end, g.steps);
    for (int y = 0; y < g.size.height(); ++y) {
        for (int x = 0; x < g.size.width(); ++x) {
            const auto along = static_cast<size_t>(across ? x - g.rect.left() : y - g.rect.top());
            ASSERT_EQ(pixel(image, x, y), g.rect.contains(x, y) ? ramp[along] : QColor(Qt::magenta))
                << "x " << x << " y " << y;
        }
    }
    for (const auto& [at, colour] : g.spots)
        EXPECT_EQ(pixel(image, at.x(), at.y()), colour) << "x " << at.x() << " y " << at.y();
}

const QColor Cyan(0, 255, 255), DarkTeal(0, 32, 32);
constexpr auto Across = GradientDirection::LeftToRight, Down = GradientDirection::TopToBottom;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, GradientFill, ::testing::Values(
    // The field's background: 255 stripes of two pixels and a grey tail. Stripe 1 rounds
    // -0.504 to -1, stripe 127 is exactly halfway (128).
    Gradient{"FieldBackground", {546, 280}, {0, 0, 546, 280}, QColor(192, 192, 192),
             QColor(64, 64, 64), 255, Across,
             {{{2, 0}, QColor(191, 191, 191)}, {{254, 0}, QColor(128, 128, 128)},
              {{508, 0}, QColor(64, 64, 64)}, {{545, 279}, QColor(64, 64, 64)}}},
    // Vertical strips from cyan to dark teal. At 314 pixels, 255 one-pixel bands and 59 of
    // the end colour (223 / 254 = 0.88 rounds to 1); at 65, 65 bands spanning the range.
    Gradient{"Strip314", {5, 318}, {1, 2, 3, 314}, Cyan, DarkTeal, 255, Down,
             {{{1, 2}, Cyan}, {{1, 3}, QColor(0, 254, 254)}, {{1, 256}, DarkTeal},
              {{1, 315}, DarkTeal}}},
    Gradient{"Strip216", {5, 220}, {1, 2, 3, 216}, Cyan, DarkTeal, 255, Down, {}},
    Gradient{"Strip210", {5, 214}, {1, 2, 3, 210}, Cyan, DarkTeal, 255, Down, {}},
    Gradient{"Strip160", {5, 164}, {1, 2, 3, 160}, Cyan, DarkTeal, 255, Down, {}},
    Gradient{"Strip65", {5, 69}, {1, 2, 3, 65}, Cyan, DarkTeal, 255, Down,
             {{{2, 34}, QColor(0, 143, 143)}}}, // 255 + round(-111.5) = 255 - 112
    // Fewer than two steps fill with the start colour.
    Gradient{"OneStep", {40, 10}, {0, 0, 40, 10}, QColor(10, 20, 30), QColor(200, 100, 0), 1,
             Across, {{{39, 5}, QColor(10, 20, 30)}}},
    Gradient{"NoSteps", {40, 10}, {0, 0, 40, 10}, QColor(10, 20, 30), QColor(200, 100, 0), 0,
             Across, {{{39, 5}, QColor(10, 20, 30)}}},
    Gradient{"NegativeSteps", {40, 10}, {0, 0, 40, 10}, QColor(10, 20, 30), QColor(200, 100, 0),
             -5, Across, {{{39, 5}, QColor(10, 20, 30)}}},
    // Very short lengths use two bands at least. Length 3: three bands of one, 50.5 rounds
    // up, and going down halves round away from zero too (101 + round(-50.5) = 101 - 51).
    Gradient{"ThreePixelsUp", {3, 1}, {0, 0, 3, 1}, Qt::black, QColor(101, 0, 0), 255, Across,
             {{{0, 0}, Qt::black}, {{1, 0}, QColor(51, 0, 0)}, {{2, 0}, QColor(101, 0, 0)}}},
    Gradient{"ThreePixelsDown", {3, 1}, {0, 0, 3, 1}, QColor(101, 0, 0), Qt::black, 255, Across,
             {{{1, 0}, QColor(50, 0, 0)}}},
    // Length 1: two bands of no pixel, all tail.
    Gradient{"OnePixel", {4, 1}, {2, 0, 1, 1}, Qt::black, Qt::green, 255, Across,
             {{{2, 0}, Qt::green}}},
    Gradient{"EmptyRectangle", {4, 4}, {1, 1, 0, 3}, Qt::black, Qt::white, 255, Down, {}}),
    [](const ::testing::TestParamInfo<Gradient>& info) { return std::string(info.param.what); });
// clang-format on

// A 5 x 4 shape: the mask is white on a plus sign and black elsewhere; the image holds a
// colour on the plus sign and white elsewhere, as the plate and fox bitmaps do.
struct Sprite {
    QImage image = filled(QSize(5, 4), Qt::white);
    QImage mask = filled(QSize(5, 4), Qt::black);
    Sprite() {
        for (QPoint p : {QPoint(2, 0), QPoint(1, 1), QPoint(2, 1), QPoint(3, 1), QPoint(2, 2)}) {
            image.setPixel(p, qRgb(10, 200, 30));
            mask.setPixel(p, qRgb(255, 255, 255));
        }
    }
    bool inside(QPoint p) const {
        return mask.rect().contains(p) && mask.pixel(p) == qRgb(255, 255, 255);
    }
};

QColor groundAt(int x, int y) {
    return QColor(x * 7 % 256, y * 13 % 256, (x + y) * 5 % 256);
}

QImage patterned(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, groundAt(x, y));
    return image;
}

void expectComposite(const QImage& result, QPoint pos, const Sprite& sprite) {
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            const QPoint local(x - pos.x(), y - pos.y());
            const QColor expected = sprite.inside(local) ? QColor(10, 200, 30) : groundAt(x, y);
            ASSERT_EQ(pixel(result, x, y), expected)
                << "pos " << pos.x() << "," << pos.y() << " pixel " << x << "," << y;
        }
    }
}

// Inside the mask the image, outside it the target, clipped at the target's edges; with a
// scratch surface kept from one call to the next or without one.
TEST(MaskComposite, InsideTakesTheImageOutsideKeepsTheTargetAndItIsClipped) {
    const Sprite sprite;
    QImage scratch;
    for (QPoint pos : {QPoint(4, 3), QPoint(0, 0), QPoint(-2, -1), QPoint(9, 7), QPoint(-1, 6),
                       QPoint(10, -2), QPoint(-5, 0), QPoint(40, 40)}) {
        for (const bool withScratch : {true, false}) {
            QImage target = patterned(QSize(12, 9));
            if (withScratch)
                platform::maskComposite(target, pos, sprite.image, sprite.mask, scratch);
            else
                platform::maskComposite(target, pos, sprite.image, sprite.mask);
            expectComposite(target, pos, sprite);
        }
    }
}

// A small picture in which every pixel has its own colour, so a sample shows where it came from.
QImage numberedPicture(QSize size, QImage::Format format = QImage::Format_RGB32) {
    QImage image(size, format);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgba(10 + 20 * x, 10 + 20 * y, 77, 255 - 40 * ((x + y) % 2)));
    return image;
}

TEST(PixelArt, DoubleRatioMakesEveryPixelATwoByTwoBlock) {
    const QImage picture = numberedPicture(QSize(5, 3));
    const QImage enlarged = platform::pixelArtAtRatio(picture, 2.0);
    ASSERT_EQ(enlarged.size(), QSize(10, 6));
    EXPECT_EQ(enlarged.devicePixelRatio(), 2.0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(enlarged.pixel(x, y), picture.pixel(x / 2, y / 2)) << x << ", " << y;
}

TEST(PixelArt, FractionalRatioSamplesTheNearestPixelWithoutBlending) {
    const QImage picture = numberedPicture(QSize(4, 2));
    const QImage enlarged = platform::pixelArtAtRatio(picture, 1.5);
    // ceil(4 * 1.5) x ceil(2 * 1.5); device pixel x takes pixel floor((x + 0.5) / 1.5).
    ASSERT_EQ(enlarged.size(), QSize(6, 3));
    const int columns[] = {0, 1, 1, 2, 3, 3};
    const int rows[] = {0, 1, 1};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(enlarged.pixel(x, y), picture.pixel(columns[x], rows[y])) << x << ", " << y;
}

TEST(PixelArt, RatioOfOneOrLessLeavesTheImageAndAlphaSurvives) {
    const QImage picture = numberedPicture(QSize(3, 3), QImage::Format_ARGB32);
    EXPECT_EQ(platform::pixelArtAtRatio(picture, 1.0), picture);
    EXPECT_EQ(platform::pixelArtAtRatio(picture, 0.5), picture);
    const QImage enlarged = platform::pixelArtAtRatio(picture, 3.0);
    ASSERT_EQ(enlarged.format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(enlarged.pixel(3, 0)), qAlpha(picture.pixel(1, 0)));
    EXPECT_NE(qAlpha(picture.pixel(1, 0)), 255);
    // An indexed image is enlarged as 32-bit colour with the same colours.
    const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8);
    const QImage fromIndexed = platform::pixelArtAtRatio(indexed, 2.0);
    EXPECT_EQ(fromIndexed.pixel(5, 5), indexed.pixel(2, 2));
}

TEST(PixelArt, DrawingStaysInBlocksEvenWithSmoothingAskedFor) {
    const QImage picture = numberedPicture(QSize(6, 4));
    for (const QRect& source : {QRect(), QRect(1, 1, 4, 2)}) {
        QImage device(40, 30, QImage::Format_RGB32);
        device.setDevicePixelRatio(2.0);
        device.fill(Qt::black);
        QPainter painter(&device);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        platform::drawPixelArt(painter, QPoint(3, 2), picture, source);
        EXPECT_TRUE(painter.testRenderHint(QPainter::SmoothPixmapTransform))
            << "the painter's own hints are left as they were";
        painter.end();
        const QRect shown = source.isNull() ? picture.rect() : source;
        for (int y = 0; y < shown.height() * 2; ++y)
            for (int x = 0; x < shown.width() * 2; ++x)
                ASSERT_EQ(device.pixel(6 + x, 4 + y),
                          picture.pixel(shown.left() + x / 2, shown.top() + y / 2))
                    << x << ", " << y;
        EXPECT_EQ(device.pixel(5, 4), qRgb(0, 0, 0));
        EXPECT_EQ(device.pixel(6 + shown.width() * 2, 4), qRgb(0, 0, 0));
    }
}

// Runs and outlines of the frames: the pixels a one-pixel pen covers at 1x, on the
// art's grid at 2x.
TEST(PixelLines, CoverWhatAOnePixelPenCoversAtOneAndWholeBlocksAtTwo) {
    struct Shape {
        std::function<void(QPainter&)> pen;
        std::function<void(QPainter&)> pixels;
    };
    const QColor ink(20, 40, 60);
    const std::vector<Shape> shapes = {
        {[&](QPainter& p) { p.drawLine(2, 3, 9, 3); },
         [&](QPainter& p) { platform::drawPixelRun(p, QPoint(2, 3), QPoint(9, 3), ink); }},
        {[&](QPainter& p) { p.drawLine(4, 8, 4, 1); },
         [&](QPainter& p) { platform::drawPixelRun(p, QPoint(4, 8), QPoint(4, 1), ink); }},
        {[&](QPainter& p) { p.drawLine(5, 5, 5, 5); },
         [&](QPainter& p) { platform::drawPixelRun(p, QPoint(5, 5), QPoint(5, 5), ink); }},
        {[&](QPainter& p) { p.drawRect(QRect(1, 2, 7, 5)); },
         [&](QPainter& p) { platform::drawPixelOutline(p, QRect(1, 2, 7, 5), ink); }},
    };
    for (size_t k = 0; k < shapes.size(); ++k) {
        QImage byPen(12, 10, QImage::Format_RGB32);
        byPen.fill(Qt::white);
        {
            QPainter painter(&byPen);
            painter.setPen(ink);
            shapes[k].pen(painter);
        }
        QImage once(12, 10, QImage::Format_RGB32);
        once.fill(Qt::white);
        {
            QPainter painter(&once);
            shapes[k].pixels(painter);
        }
        EXPECT_EQ(once, byPen) << "shape " << k;

        QImage twice(24, 20, QImage::Format_RGB32);
        twice.setDevicePixelRatio(2.0);
        twice.fill(Qt::white);
        {
            QPainter painter(&twice);
            shapes[k].pixels(painter);
        }
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 24; ++x)
                ASSERT_EQ(twice.pixel(x, y), once.pixel(x / 2, y / 2))
                    << "shape " << k << " at " << x << ", " << y;
    }
}

TEST(Colors, PlainValuesAreBlueGreenRedFromTheHighByte) {
    EXPECT_EQ(platform::rgb(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(platform::toQColor(0x00563412u), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(platform::toQColor(platform::clAqua), QColor(0, 255, 255));
    EXPECT_EQ(platform::fromQColor(QColor(255, 0, 128)), 0x008000FFu);
    EXPECT_FALSE(platform::isSystemColor(0x00FFFFFFu));
}

TEST(Colors, SystemColoursResolveToTheClassicValues) {
    EXPECT_TRUE(platform::isSystemColor(platform::clBtnFace));
    EXPECT_EQ(platform::toQColor(platform::clBtnFace), QColor(192, 192, 192));
    EXPECT_EQ(platform::toQColor(platform::clBtnShadow), QColor(128, 128, 128));
    EXPECT_EQ(platform::toQColor(platform::clBtnHighlight), QColor(255, 255, 255));
    EXPECT_EQ(platform::toQColor(platform::cl3DDkShadow), QColor(64, 64, 64));
    EXPECT_EQ(platform::toQColor(platform::cl3DLight), QColor(223, 223, 223));
    EXPECT_EQ(platform::toQColor(platform::clBtnText), QColor(0, 0, 0));
    EXPECT_EQ(platform::toQColor(platform::clWindow), QColor(255, 255, 255));
    EXPECT_EQ(platform::toQColor(platform::clWindowText), QColor(0, 0, 0));
}

} // namespace

} // namespace tarnell
