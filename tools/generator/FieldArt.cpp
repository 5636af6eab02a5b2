// The field's pictures: the diamond plates in three colours and three shapes, their masks,
// the count flag and the found fox, each on its white (for the fox near-white) ground.
#include "Art.h"
#include "PixelArt.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tarnell::generator {

namespace {

constexpr int PlateWidth = 41;
constexpr int FlatHeight = 23;
constexpr int ThickHeight = 25;
constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Black = 0xFF000000u;
// The fox's ground; the fox's own colours keep only the bits that this colour has, so
// that ANDing the fox onto a pixel ORed with its mask gives them back unchanged.
constexpr QRgb FoxGround = 0xFFFAFAF9u;

struct PlateColours {
    QRgb face;
    QRgb rim;
    // A dark ring inset from the edges, drawn only on the current cell's plate: it tells that
    // plate from the others without relying on its hue, and the flag and fox leave it showing.
    std::optional<QRgb> ring = std::nullopt;
};

enum class SideFace { None, Left, Right };

// Distances, in half-pixel rows, of a pixel from the four edges of the plate's diamond
// (top (20, 0), left (0, 10), right (40, 10), bottom (20, 20)); all four are >= 0 inside.
struct EdgeDistances {
    int upperLeft, upperRight, lowerLeft, lowerRight;
    int nearest() const { return std::min({upperLeft, upperRight, lowerLeft, lowerRight}); }
};

EdgeDistances edgeDistances(int x, int y) {
    return {x + 2 * y - 20, 20 - x + 2 * y, 20 + x - 2 * y, 60 - x - 2 * y};
}

// The shading of the top face: a dark rim on every edge, a highlight on the two upper
// edges (strongest on the upper left, facing the light), a shade along the lower right
// and a soft gloss towards the upper-left corner.
QRgb topFaceColour(int x, int y, const PlateColours& c) {
    const EdgeDistances e = edgeDistances(x, y);
    const int d = e.nearest();
    if (d <= 1)
        return c.rim;
    if (d <= 3) {
        if (e.upperLeft == d)
            return mix(c.face, White, d == 2 ? 0.72 : 0.38);
        if (e.upperRight == d)
            return mix(c.face, White, d == 2 ? 0.42 : 0.14);
        if (e.lowerRight == d)
            return mix(c.face, c.rim, d == 2 ? 0.55 : 0.22);
        return mix(c.face, c.rim, d == 2 ? 0.3 : 0.0);
    }
    if (c.ring && d <= 5)
        return *c.ring;
    // Gloss: an elliptical sheen left of centre in the upper half, in four flat steps.
    const double dx = (x - 14.0) / 8.0;
    const double dy = (y - 7.0) / 3.2;
    const double sheen = std::max(0.0, 1.0 - (dx * dx + dy * dy));
    const double stepped = std::floor(sheen * 4.0) / 4.0;
    return mix(c.face, White, 0.5 * stepped);
}

// The side faces: 5 rows of thickness below the lower-left or lower-right edge, lighter
// just under the edge, a darker bottom line and a seam at the outer end, where the next
// plate of the board's front edge meets it.
QRgb sideColour(int depth, bool seam, const PlateColours& c, SideFace side) {
    const double base = side == SideFace::Left ? 0.70 : 0.52;
    if (depth >= 9)
        return scaled(c.face, base * 0.55);
    if (seam)
        return scaled(c.face, base * 0.72);
    if (depth <= 2)
        return scaled(c.face, base + 0.12);
    return scaled(c.face, base - 0.03 * (depth - 3) / 2.0);
}

QImage drawPlate(const PlateColours& colours, SideFace side) {
    QImage image = canvas(PlateWidth, side == SideFace::None ? FlatHeight : ThickHeight);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < PlateWidth; ++x) {
            if (edgeDistances(x, y).nearest() >= 0) {
                image.setPixel(x, y, topFaceColour(x, y, colours));
                continue;
            }
            if (side == SideFace::Left && x <= 20) {
                const int depth = 2 * y - x - 20;
                if (depth >= 1 && depth <= 10)
                    image.setPixel(x, y, sideColour(depth, x == 0, colours, side));
            } else if (side == SideFace::Right && x >= 20) {
                const int depth = x + 2 * y - 60;
                if (depth >= 1 && depth <= 10)
                    image.setPixel(x, y, sideColour(depth, x == 40, colours, side));
            }
        }
    return image;
}

// The count flag: a dark pole in the image's left column with a gilt knob, and a red cloth
// over the top 12 rows; the count is written on the cloth in white.
QImage drawFlag() {
    QImage image = canvas(15, 19);
    const QRgb pole = qRgb(56, 44, 40);
    const QRgb knob = qRgb(236, 186, 48);
    const QRgb red = qRgb(214, 28, 30);
    const QRgb light = qRgb(238, 70, 60);
    const QRgb shade = qRgb(176, 14, 20);
    const QRgb edge = qRgb(112, 6, 12);
    for (int y = 0; y < 19; ++y)
        image.setPixel(0, y, y == 0 ? knob : pole);
    // Folds in the cloth are bands of shade and light; the count is written over them.
    for (int x = 1; x < 15; ++x)
        for (int y = 0; y <= 11; ++y) {
            QRgb colour = red;
            if (x == 14 || y == 11)
                colour = edge;
            else if (y == 0 || x == 1)
                colour = light;
            else if (x >= 6 && x <= 7)
                colour = shade;
            else if (x >= 10 && x <= 11)
                colour = light;
            image.setPixel(x, y, colour);
        }
    return image;
}

// Keeps only the bits of the fox's ground colour (see FoxGround).
QRgb foxColour(int r, int g, int b) {
    return qRgb(r & qRed(FoxGround), g & qGreen(FoxGround), b & qBlue(FoxGround));
}

// A fox lying on the ground, facing left with its head raised, its brush curled along
// its flank with a white tip.
QImage drawFox() {
    QImage image = canvas(20, 15, FoxGround);
    const std::map<char, QRgb> legend{
        {'K', foxColour(72, 34, 16)},    // outline
        {'D', foxColour(40, 24, 18)},    // legs, ear backs, nose
        {'O', foxColour(226, 114, 34)},  // coat
        {'H', foxColour(250, 168, 72)},  // lit coat
        {'S', foxColour(176, 74, 22)},   // shaded coat
        {'W', foxColour(250, 250, 241)}, // chest, muzzle, tail tip
        {'w', foxColour(210, 202, 192)}, // shaded white
        {'E', foxColour(16, 8, 8)},      // eye
    };
    drawPixelMap(image, {0, 0},
                 {
                     ".....K..K...........",
                     "....KDKKDK..........",
                     "....KOHKOK..........",
                     "...KHOOOOSK.........",
                     "..KHOOEOOSK.........",
                     "KKHOOOOOOSK.........",
                     "DWWWWOOOSK..........",
                     ".KKWWWWOSKKKKKK.....",
                     "...KWWWWHHHHHHOKK...",
                     "...KWWOOOOOOOOOSSKKK",
                     "...KwOOOOOOOOOOSKOOK",
                     "..KDSOOOOOOOOSKOHOWK",
                     ".KDDKSSSSSSSKOOWWWWK",
                     "KDDDDKKKKKKKKKWWWWK.",
                     ".KKKK........KKKKK..",
                 },
                 legend);
    return image;
}

} // namespace

std::vector<GeneratedImage> DrawFieldArt() {
    // Plain plates are a deep green and highlighted ones a light amber, so that the two
    // differ in lightness by more than 3 : 1 also for eyes that cannot tell their hues
    // apart; the current plate is a light cyan and carries the ring besides.
    const PlateColours green{qRgb(0, 96, 16), qRgb(0, 68, 10)};
    const PlateColours cyan{qRgb(100, 236, 246), qRgb(40, 184, 200), qRgb(0, 48, 64)};
    const PlateColours amber{qRgb(255, 206, 56), qRgb(220, 164, 28)};
    const QImage flat = drawPlate(green, SideFace::None);
    const QImage left = drawPlate(green, SideFace::Left);
    const QImage right = drawPlate(green, SideFace::Right);
    const QImage flag = drawFlag();
    const QImage fox = drawFox();
    return {
        {QStringLiteral("PLATE"), flat, 8},
        {QStringLiteral("PLATEB"), drawPlate(cyan, SideFace::None), 8},
        {QStringLiteral("PLATEY"), drawPlate(amber, SideFace::None), 8},
        {QStringLiteral("PLATE_L"), left, 8},
        {QStringLiteral("PLATE_LB"), drawPlate(cyan, SideFace::Left), 8},
        {QStringLiteral("PLATE_LY"), drawPlate(amber, SideFace::Left), 8},
        {QStringLiteral("PLATE_R"), right, 8},
        {QStringLiteral("PLATE_RB"), drawPlate(cyan, SideFace::Right), 8},
        {QStringLiteral("PLATE_RY"), drawPlate(amber, SideFace::Right), 24},
        {QStringLiteral("MASKP"), maskOf(flat, White), 1},
        {QStringLiteral("MASK_L"), maskOf(left, White), 1},
        {QStringLiteral("MASK_R"), maskOf(right, White), 1},
        {QStringLiteral("FLAG"), flag, 24},
        {QStringLiteral("FLAG_M"), maskOf(flag, White), 1},
        {QStringLiteral("FOX"), fox, 4},
        {QStringLiteral("FOX_M"), maskOf(fox, FoxGround, FoxGround), 24},
    };
}

} // namespace tarnell::generator
