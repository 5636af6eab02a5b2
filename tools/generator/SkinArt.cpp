// The window skin: a polished steel frame lit from the top left. The corner piece holds a
// round recess for the icon, the caption pieces carry a blue (active) or dim teal (inactive)
// oval behind the caption text, the borders are raised bars and the bottom border has a
// groove along its middle.
#include "Art.h"
#include "PixelArt.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace tarnell::generator {

namespace {

// The frame's steel, from the outline to the highlight.
const QRgb Outline = qRgb(26, 34, 58);
const QRgb InnerEdge = qRgb(44, 52, 80);
const QRgb Dark = qRgb(86, 98, 130);
const QRgb Highlight = qRgb(226, 233, 246);

// Two gradients meeting in the middle, like a brushed, rounded bar: a bright upper half and
// a deeper lower half.
QRgb steel(double t) {
    if (t < 0.42)
        return mix(qRgb(212, 220, 238), qRgb(170, 182, 208), t / 0.42);
    return mix(qRgb(150, 162, 192), qRgb(112, 124, 156), (t - 0.42) / 0.58);
}

// The caption bar, row by row (31 rows); every piece of the top edge uses it.
QRgb captionRow(int y) {
    if (y <= 0)
        return Outline;
    if (y == 1)
        return Highlight;
    if (y == 29)
        return Dark;
    if (y >= 30)
        return InnerEdge;
    return steel((y - 2) / 26.0);
}

// The side borders, column by column from left to right (8 columns): a raised bar lit on
// its left slope, with the window's outline on its outer side and a dark line on its inner.
QRgb borderColumn(int x, bool leftBorder) {
    static const QRgb profile[8] = {Outline,
                                    Highlight,
                                    qRgb(190, 200, 222),
                                    qRgb(164, 176, 202),
                                    qRgb(142, 154, 184),
                                    qRgb(122, 134, 166),
                                    Dark,
                                    InnerEdge};
    x = std::clamp(x, 0, 7);
    if (x == 0)
        return leftBorder ? Outline : InnerEdge;
    if (x == 7)
        return leftBorder ? InnerEdge : Outline;
    return profile[x];
}

// The bottom border, row by row (15 rows), with the groove in rows 6 to 8.
QRgb bottomRow(int y) {
    switch (y) {
    case 0:
        return InnerEdge;
    case 1:
        return Highlight;
    case 6:
        return qRgb(64, 74, 104); // the groove's shaded upper wall
    case 7:
        return qRgb(104, 116, 148);
    case 8:
        return qRgb(206, 214, 232); // its lit lower lip
    case 13:
        return Dark;
    case 14:
        return Outline;
    default:
        return steel(y <= 5 ? (y - 2) / 10.0 : 0.45 + (y - 9) / 8.0);
    }
}

// The fraction of a pixel inside a shape, from 4 x 4 samples.
double coverage(int x, int y, const std::function<bool(double, double)>& inside) {
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
            hits += inside(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0) ? 1 : 0;
    return hits / 16.0;
}

// The caption oval spans rows 4 to 26; its ends are half ellipses.
constexpr double OvalTop = 4.0;
constexpr double OvalBottom = 27.0;
constexpr double OvalHalfHeight = (OvalBottom - OvalTop) / 2.0;
constexpr double OvalMiddle = OvalTop + OvalHalfHeight;
constexpr double CapLength = 9.5;

struct OvalColours {
    QRgb top, bottom, outline, shine;
};

// The oval's body is the band between its top and bottom; a cap whose centre column is
// capCentre narrows it towards capDirection (-1 to the left, +1 to the right, 0: no cap).
bool insideOval(double px, double py, double capCentre, int capDirection, double shrink) {
    const double b = OvalHalfHeight - shrink;
    const double dy = (py - OvalMiddle) / b;
    if (std::abs(dy) > 1.0)
        return false;
    const double beyond = (px - capCentre) * capDirection;
    if (capDirection == 0 || beyond <= 0.0)
        return true;
    const double dx = beyond / (CapLength - shrink);
    return dx * dx + dy * dy <= 1.0;
}

// Paints the oval over the caption metal of columns [from, to) of a piece.
void paintOval(QImage& image, int from, int to, double capCentre, int capDirection,
               const OvalColours& c) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = from; x < to; ++x) {
            const double outer = coverage(x, y, [&](double px, double py) {
                return insideOval(px, py, capCentre, capDirection, 0.0);
            });
            if (outer <= 0.0)
                continue;
            const double inner = coverage(x, y, [&](double px, double py) {
                return insideOval(px, py, capCentre, capDirection, 1.1);
            });
            const double t = (y + 0.5 - OvalTop) / (OvalBottom - OvalTop);
            QRgb fill = mix(c.top, c.bottom, t);
            // A glassy reflection over the upper part, strongest near the top.
            if (t > 0.08 && t < 0.42)
                fill = mix(fill, c.shine, 0.28 * (0.42 - t) / 0.34 + 0.12);
            const QRgb withEdge = mix(c.outline, fill, inner);
            const QRgb under = image.pixel(x, y);
            image.setPixel(x, y, mix(under, withEdge, outer));
        }
}

const OvalColours ActiveOval{qRgb(96, 160, 252), qRgb(18, 56, 168), qRgb(14, 26, 74),
                             qRgb(232, 242, 255)};
const OvalColours InactiveOval{qRgb(128, 168, 168), qRgb(44, 94, 98), qRgb(28, 52, 58),
                               qRgb(208, 226, 226)};

// The caption piece, 60 x 31: columns 0-12 the oval's left end, 13-20 its repeatable body,
// 21-33 its right end, 34-41 plain steel (stretched under the caption buttons) and 42-59 the
// end of the bar, which turns into the right border along a mitre.
QImage drawCaptionPiece(const OvalColours& oval) {
    QImage image = canvas(60, 31);
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 60; ++x)
            image.setPixel(x, y, captionRow(y));
    paintOval(image, 0, 13, 12.5, -1, oval);
    paintOval(image, 13, 21, 0.0, 0, oval);
    paintOval(image, 21, 34, 21.5, +1, oval);
    for (int y = 0; y < 31; ++y)
        for (int x = 52; x < 60; ++x) {
            const bool border = x - 52 > 30 - y;
            if (border && y > 0)
                image.setPixel(x, y, borderColumn(x - 52, false));
        }
    for (int y = 0; y < 31; ++y)
        image.setPixel(59, y, Outline);
    return image;
}

// The recess for the icon: a floor of even grey inside the icon's disc (the icon is ANDed
// with it, and the icon keeps only bits this grey has, so it shows in its own colours), a
// sunken wall shaded away from the light, a raised lip and an outline.
constexpr double RecessX = 26.0; // the disc's centre: the icon's 32 x 32 box is at (10, 8)
constexpr double RecessY = 24.0;
constexpr double FloorRadius = 15.0;
const QRgb RecessFloor = qRgb(224, 224, 224);

QRgb recessColour(double px, double py, QRgb under) {
    const double dx = px - RecessX;
    const double dy = py - RecessY;
    const double r = std::hypot(dx, dy);
    if (r <= FloorRadius)
        return RecessFloor;
    // towardLight is 1 on the side facing the light (upper left), -1 opposite.
    const double towardLight = -(dx + dy) / (r * std::sqrt(2.0));
    const double lit = std::round((0.5 + 0.5 * towardLight) * 6.0) / 6.0;
    if (r <= 16.6)
        return mix(qRgb(218, 224, 236), qRgb(58, 66, 92), lit); // the wall, in its own shadow
    if (r <= 17.6)
        return mix(qRgb(92, 104, 136), qRgb(222, 229, 244), lit); // the lip, lit
    if (r <= 18.4)
        return Outline;
    return under;
}

// The upper-left corner, 46 x 46: the caption bar across the top, the left border down the
// side (meeting along a mitre), the recess for the icon, and below the bar pure white
// that the program paints in the strip's cyan.
QImage drawCorner() {
    QImage image = canvas(46, 46);
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 46; ++x) {
            const bool border = x < y - 23;
            image.setPixel(x, y, border ? borderColumn(x, true) : captionRow(y));
        }
    for (int y = 31; y < 46; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, borderColumn(x, true));
    for (int y = 0; y < 46; ++y)
        image.setPixel(0, y, Outline);
    for (int y = 0; y < 46; ++y)
        for (int x = 0; x < 46; ++x)
            image.setPixel(x, y, recessColour(x + 0.5, y + 0.5, image.pixel(x, y)));
    return image;
}

// The icon's clipping disc: black inside the recess floor's circle, white outside.
QImage drawIconMask() {
    QImage image = canvas(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (std::hypot(x + 0.5 - 16.0, y + 0.5 - 16.0) <= FloorRadius)
                image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

// The bottom border, 247 x 15: columns 0-77 its left end, 78-166 a repeatable stretch,
// 169-246 its right end. A groove runs between two rivets; the side borders come down
// into the corners along mitres.
QImage drawBottom() {
    constexpr int Width = 247;
    constexpr int GrooveStart = 20;
    constexpr int GrooveEnd = 226;
    QImage image = canvas(Width, 15);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < Width; ++x) {
            QRgb colour = bottomRow(y);
            if (y >= 6 && y <= 8 && (x < GrooveStart || x > GrooveEnd))
                colour = steel(0.45 + (y - 6) / 16.0);
            image.setPixel(x, y, colour);
        }
    // The groove's ends: the left one in shadow, the right one catching the light.
    for (int y = 6; y <= 8; ++y) {
        image.setPixel(GrooveStart, y, qRgb(64, 74, 104));
        image.setPixel(GrooveEnd, y, qRgb(206, 214, 232));
    }
    // Two rivets, lit on their upper left.
    for (const int cx : {12, Width - 13}) {
        drawPixelMap(image, {cx - 1, 6}, {".hm", "hmd", "mdd"},
                     {{'h', Highlight}, {'m', qRgb(150, 162, 192)}, {'d', qRgb(58, 66, 92)}});
    }
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 8; ++x) {
            if (x + y < 7)
                image.setPixel(x, y, borderColumn(x, true));
            if (7 - x + y < 7)
                image.setPixel(Width - 8 + x, y, borderColumn(x, false));
        }
    for (int y = 0; y < 15; ++y) {
        image.setPixel(0, y, Outline);
        image.setPixel(Width - 1, y, Outline);
    }
    return image;
}

// One pixel high slice of a side border.
QImage drawBorderSlice(bool leftBorder) {
    QImage image = canvas(8, 1);
    for (int x = 0; x < 8; ++x)
        image.setPixel(x, 0, borderColumn(x, leftBorder));
    return image;
}

enum class CaptionSymbol { Minimise, Maximise, Close };

bool symbolPixel(CaptionSymbol symbol, int x, int y) {
    switch (symbol) {
    case CaptionSymbol::Minimise:
        return x >= 5 && x <= 11 && y >= 15 && y <= 17;
    case CaptionSymbol::Maximise: {
        const bool box = x >= 4 && x <= 12 && y >= 7 && y <= 16;
        const bool hollow = x >= 6 && x <= 10 && y >= 10 && y <= 14;
        return box && !hollow;
    }
    case CaptionSymbol::Close: {
        // Two diagonals two pixels wide, 7 x 7.
        const int dx = x - 8;
        const int dy = y - 12;
        if (dx < -3 || dx > 4 || dy < -3 || dy > 3)
            return false;
        return dx - dy == 0 || dx - dy == 1 || dx + dy == 0 || dx + dy == 1;
    }
    }
    return false;
}

// A caption button, 16 x 23: the bar's steel behind a small rounded steel cap (columns
// 2-14, rows 2-22), its symbol in blue, or in a dim grey-blue for an inactive window. Row 0
// and column 0 only show while the button is pressed and the picture moves.
QImage drawCaptionButton(CaptionSymbol symbol, bool active) {
    QImage image = canvas(16, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, captionRow(y + 2));
    const QRect cap(2, 2, 13, 21);
    auto corner = [&](int x, int y) {
        const int cx = std::min(x - cap.left(), cap.right() - x);
        const int cy = std::min(y - cap.top(), cap.bottom() - y);
        return cx + cy < 2;
    };
    for (int y = cap.top(); y <= cap.bottom(); ++y)
        for (int x = cap.left(); x <= cap.right(); ++x) {
            if (corner(x, y))
                continue;
            const bool edge = x == cap.left() || x == cap.right() || y == cap.top() ||
                              y == cap.bottom() || corner(x - 1, y) || corner(x + 1, y) ||
                              corner(x, y - 1) || corner(x, y + 1);
            QRgb colour = steel((y - cap.top()) / double(cap.height()));
            if (edge)
                colour = Outline;
            else if (x == cap.left() + 1 || y == cap.top() + 1)
                colour = Highlight;
            else if (x == cap.right() - 1 || y == cap.bottom() - 1)
                colour = Dark;
            image.setPixel(x, y, colour);
        }
    const QRgb fill = active ? qRgb(36, 104, 232) : qRgb(128, 140, 164);
    const QRgb rim = active ? qRgb(12, 28, 96) : qRgb(84, 94, 118);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 16; ++x) {
            if (symbolPixel(symbol, x, y)) {
                image.setPixel(x, y, fill);
                continue;
            }
            const bool touches = symbolPixel(symbol, x - 1, y) || symbolPixel(symbol, x + 1, y) ||
                                 symbolPixel(symbol, x, y - 1) || symbolPixel(symbol, x, y + 1);
            if (touches)
                image.setPixel(x, y, rim);
        }
    return image;
}

} // namespace

std::vector<GeneratedImage> DrawSkinArt() {
    return {
        {QStringLiteral("C_UL"), drawCorner(), 8},
        {QStringLiteral("MASK"), drawIconMask(), 8},
        {QStringLiteral("TOP"), drawCaptionPiece(ActiveOval), 8},
        {QStringLiteral("TOP_D"), drawCaptionPiece(InactiveOval), 8},
        {QStringLiteral("LEF"), drawBorderSlice(true), 4},
        {QStringLiteral("RIG"), drawBorderSlice(false), 4},
        {QStringLiteral("BOT"), drawBottom(), 8},
        {QStringLiteral("I_MIN"), drawCaptionButton(CaptionSymbol::Minimise, true), 8},
        {QStringLiteral("I_MIND"), drawCaptionButton(CaptionSymbol::Minimise, false), 8},
        {QStringLiteral("I_MAX"), drawCaptionButton(CaptionSymbol::Maximise, true), 8},
        {QStringLiteral("I_MAXD"), drawCaptionButton(CaptionSymbol::Maximise, false), 8},
        {QStringLiteral("I_CLO"), drawCaptionButton(CaptionSymbol::Close, true), 8},
        {QStringLiteral("I_CLOD"), drawCaptionButton(CaptionSymbol::Close, false), 8},
    };
}

} // namespace tarnell::generator
