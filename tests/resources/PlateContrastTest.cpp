// Plates that colour-blind players tell apart, measured on the stored bitmaps: the luminance
// contrast between the three plate families for normal vision and three simulated colour-vision
// deficiencies, and the ring that marks the current plate without relying on its colour.
#include "StoredFiles.h"
#include "platform/Resources.h"

#include <QImage>
#include <QPoint>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <iostream>
#include <string>
#include <vector>

namespace tarnell {

using namespace resourcetest;

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// How an eye sees a colour: a matrix applied to linear RGB. The deficiencies are the
// severity-1 (dichromat) simulations of Machado, Oliveira and Fernandes (2009).
struct Vision {
    const char* name;
    Matrix simulation;
};

const Vision Visions[] = {
    {"normal", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
    {"protanopia",
     {{{0.152286, 1.052583, -0.204868},
       {0.114503, 0.786281, 0.099216},
       {-0.003882, -0.048116, 1.051998}}}},
    {"deuteranopia",
     {{{0.367322, 0.860646, -0.227968},
       {0.280085, 0.672501, 0.047413},
       {-0.011820, 0.042940, 0.968881}}}},
    {"tritanopia",
     {{{1.255528, -0.076749, -0.178779},
       {-0.078411, 0.930809, 0.147602},
       {0.004733, 0.691367, 0.303900}}}},
};

// An sRGB channel in linear light, as WCAG 2.1 defines it.
double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// WCAG 2.1 relative luminance of a colour as the given eye sees it.
double luminance(QRgb colour, const Vision& vision) {
    const std::array<double, 3> rgb{linear(qRed(colour)), linear(qGreen(colour)),
                                    linear(qBlue(colour))};
    std::array<double, 3> seen{};
    for (int row = 0; row < 3; ++row) {
        double sum = 0;
        for (int k = 0; k < 3; ++k)
            sum += vision.simulation[row][k] * rgb[k];
        seen[row] = std::clamp(sum, 0.0, 1.0);
    }
    return 0.2126 * seen[0] + 0.7152 * seen[1] + 0.0722 * seen[2];
}

// WCAG 2.1 contrast ratio, lighter over darker: from 1 (equal) to 21 (black on white).
double contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QImage load(const char* name) {
    return platform::loadBitmap(QString::fromLatin1(name));
}

bool inMask(const QImage& mask, int x, int y) {
    return isPureWhite(rgbAt(mask, x, y));
}

// The lightness of a plate: the mean relative luminance of every pixel its mask lets through
// (top face, rim and side face alike), which is what the eye averages over a plate at 1x.
double plateLuminance(const QImage& plate, const QImage& mask, const Vision& vision) {
    double sum = 0;
    int pixels = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (inMask(mask, x, y)) {
                sum += luminance(rgbAt(plate, x, y), vision);
                ++pixels;
            }
    return pixels == 0 ? 0 : sum / pixels;
}

struct Shape {
    const char* plain;
    const char* current;
    const char* highlighted;
    const char* mask;
};

const Shape Shapes[] = {
    {"PLATE", "PLATEB", "PLATEY", "MASKP"},
    {"PLATE_L", "PLATE_LB", "PLATE_LY", "MASK_L"},
    {"PLATE_R", "PLATE_RB", "PLATE_RY", "MASK_R"},
};

struct Row {
    const char* shape;
    const char* vision;
    double plainVsHighlighted;
    double currentVsPlain;
    double currentVsHighlighted;
};

std::vector<Row> contrastTable() {
    std::vector<Row> rows;
    for (const Shape& shape : Shapes) {
        const QImage mask = load(shape.mask);
        const QImage plain = load(shape.plain);
        const QImage current = load(shape.current);
        const QImage highlighted = load(shape.highlighted);
        for (const Vision& vision : Visions) {
            const double p = plateLuminance(plain, mask, vision);
            const double c = plateLuminance(current, mask, vision);
            const double h = plateLuminance(highlighted, mask, vision);
            rows.push_back(
                {shape.plain, vision.name, contrast(p, h), contrast(c, p), contrast(c, h)});
        }
    }
    return rows;
}

std::string formatted(const std::vector<Row>& rows) {
    std::string text = "shape    vision        plain:highlighted  current:plain  "
                       "current:highlighted\n";
    char line[160];
    for (const Row& r : rows) {
        std::snprintf(line, sizeof line, "%-8s %-13s %10.2f : 1 %10.2f : 1 %13.2f : 1\n", r.shape,
                      r.vision, r.plainVsHighlighted, r.currentVsPlain, r.currentVsHighlighted);
        text += line;
    }
    return text;
}

TEST(PlateContrast, PlainAndHighlightedPlatesDifferByThreeToOneForEveryVision) {
    const std::vector<Row> rows = contrastTable();
    ASSERT_EQ(rows.size(), std::size(Shapes) * std::size(Visions));
    // The table is printed whether or not the test passes, for the review of new shades.
    std::cout << "Mean luminance contrast of the plates' masked pixels:\n" << formatted(rows);
    for (const Row& r : rows)
        EXPECT_GE(r.plainVsHighlighted, 3.0)
            << r.shape << " against its highlighted plate under " << r.vision << "\n"
            << formatted(rows);
}

// Where the flag and the fox of a cell lie on its plate, as the renderer places them
// relative to the plate's box.
struct Sprite {
    const char* mask;
    QPoint onPlate;
};
const Sprite Sprites[] = {{"FLAG_M", {20, -10}}, {"FOX_M", {11, 2}}};

bool onTopFace(int x, int y) {
    return std::abs(x - 20) + 2 * std::abs(y - 10) <= 20;
}

bool underASprite(int x, int y, const std::vector<QImage>& spriteMasks) {
    for (size_t k = 0; k < spriteMasks.size(); ++k) {
        const QPoint at = QPoint(x, y) - Sprites[k].onPlate;
        const QImage& mask = spriteMasks[k];
        if (mask.rect().contains(at) && rgbAt(mask, at.x(), at.y()) != 0)
            return true;
    }
    return false;
}

// The top-face pixels that stand out from the plate's own face by 3 : 1 under the given eye
// and that neither the flag nor the fox covers, counted on each side of the diamond
// (upper left, upper right, lower left, lower right). The face is the median luminance of
// the top face.
std::array<int, 4> outstandingPixelsBySide(const QImage& plate, const Vision& vision,
                                           const std::vector<QImage>& spriteMasks) {
    std::vector<double> face;
    for (int y = 0; y <= 20; ++y)
        for (int x = 0; x <= 40; ++x)
            if (onTopFace(x, y))
                face.push_back(luminance(rgbAt(plate, x, y), vision));
    std::nth_element(face.begin(), face.begin() + face.size() / 2, face.end());
    const double median = face[face.size() / 2];
    std::array<int, 4> sides{};
    for (int y = 0; y <= 20; ++y)
        for (int x = 0; x <= 40; ++x) {
            if (!onTopFace(x, y) || underASprite(x, y, spriteMasks) ||
                contrast(luminance(rgbAt(plate, x, y), vision), median) < 3.0)
                continue;
            if (x != 20 && y != 10)
                ++sides[(x < 20 ? 0 : 1) + (y < 10 ? 0 : 2)];
        }
    return sides;
}

std::string sidesText(const std::array<int, 4>& sides) {
    return "upper left " + std::to_string(sides[0]) + ", upper right " + std::to_string(sides[1]) +
           ", lower left " + std::to_string(sides[2]) + ", lower right " + std::to_string(sides[3]);
}

// A stretch of outline a player sees at 1x: several pixels on one side of the diamond.
constexpr int VisibleStretch = 6;

TEST(CurrentPlate, CarriesARingOnAllFourSidesThatTheFlagAndTheFoxLeaveShowing) {
    const std::vector<QImage> spriteMasks{load(Sprites[0].mask), load(Sprites[1].mask)};
    for (const Shape& shape : Shapes)
        for (const Vision& vision : Visions) {
            const std::array<int, 4> sides =
                outstandingPixelsBySide(load(shape.current), vision, spriteMasks);
            EXPECT_GE(*std::min_element(sides.begin(), sides.end()), VisibleStretch)
                << shape.current << " under " << vision.name
                << ", outline pixels on each side: " << sidesText(sides);
        }
}

TEST(CurrentPlate, PlainAndHighlightedPlatesCarryNoSuchRing) {
    // Without the ring the current plate would be told from a highlighted one by its hue
    // alone; the others must not look ringed themselves, even with nothing on top.
    for (const Shape& shape : Shapes)
        for (const char* name : {shape.plain, shape.highlighted})
            for (const Vision& vision : Visions) {
                const std::array<int, 4> sides = outstandingPixelsBySide(load(name), vision, {});
                const auto ringed = std::count_if(sides.begin(), sides.end(),
                                                  [](int side) { return side >= VisibleStretch; });
                EXPECT_LT(ringed, 4)
                    << name << " under " << vision.name << ": " << sidesText(sides);
            }
}

} // namespace

} // namespace tarnell
