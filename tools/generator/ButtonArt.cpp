// The push-button faces: lettered strips, pictogram strips, the grey pills of the dialog
// buttons and the glyphs of the standard button kinds.
#include "Art.h"
#include "ButtonFace.h"
#include "ButtonPixelArt.h"

#include <QPainter>
#include <QPen>
#include <QtMath>
#include <cmath>

namespace generator {
namespace {

// The page the main window's buttons stand on.
const QColor kPageGrey(148, 148, 148);
// The transparent ground of the standard glyphs.
const QColor kOlive(128, 128, 0);

const QColor kRed(214, 38, 32);
const QColor kBlue(36, 92, 214);
const QColor kGreen(34, 170, 40);
const QColor kCyan(0, 168, 196);

// A strip of the four looks of one face, side by side.
QImage faceStrip(const std::function<QImage(FaceLook)>& drawLook) {
    std::vector<QImage> frames;
    for (FaceLook look : kFaceLooks)
        frames.push_back(drawLook(look));
    QImage strip = sideBySide(frames);
    reduceColours(strip, 256, {kPageGrey.rgb()});
    return strip;
}

// ---- lettered faces ----------------------------------------------------------------------

QImage letteredFace(int width, const QString& word, const QColor& base, FaceLook look) {
    const int height = 22;
    QImage face = glossyFace(width, height, base, look, kPageGrey, 5, 5);
    const Lettering lettering = letter(word, letteringFont(11), width, height);
    const QColor colour = lookColour(base, look);
    QColor fill = Qt::white;
    QColor outline = darker(colour, 0.62);
    if (look == FaceLook::Pressed)
        fill = QColor(236, 236, 236);
    if (look == FaceLook::Disabled) {
        fill = QColor(214, 214, 214);
        outline = QColor(112, 112, 112);
    }
    paintLettering(face, lettering, fill, outline, lookShift(look));
    return face;
}

struct LetteredStrip {
    const char* name;
    const char* word;
    QColor colour;
};

// ---- pictogram faces ---------------------------------------------------------------------

const QColor kSlate(78, 92, 118);
constexpr int kSmallWidth = 24;
constexpr int kSmallHeight = 19;

struct Piece {
    ShapeMask shape;
    QColor colour;
    bool hole = false; // a dark opening, left open in the disabled look
};

ShapeMask smallShape(const std::function<void(QPainter&)>& paint) {
    return ShapeMask::fromPainting(kSmallWidth, kSmallHeight, paint);
}

ShapeMask polygonShape(int width, int height, const QPolygonF& polygon) {
    return ShapeMask::fromPainting(width, height,
                                   [&](QPainter& painter) { painter.drawPolygon(polygon); });
}

// A stroke of the given width along a path, as a hard-edged shape.
ShapeMask strokeShape(int width, int height, const QPainterPath& path, double penWidth,
                      Qt::PenCapStyle cap = Qt::RoundCap) {
    return ShapeMask::fromPainting(width, height, [&](QPainter& painter) {
        painter.setPen(QPen(Qt::white, penWidth, Qt::SolidLine, cap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    });
}

std::vector<Piece> stopSquare() {
    return {{smallShape([](QPainter& p) { p.drawRect(7, 4, 10, 10); }), QColor(226, 36, 30)}};
}

std::vector<Piece> pauseBars() {
    return {{smallShape([](QPainter& p) {
                 p.drawRect(7, 3, 4, 12);
                 p.drawRect(13, 3, 4, 12);
             }),
             QColor(250, 206, 24)}};
}

std::vector<Piece> exitDoor() {
    ShapeMask door = smallShape([](QPainter& p) { p.drawRect(4, 2, 8, 14); });
    ShapeMask arrow =
        polygonShape(kSmallWidth, kSmallHeight,
                     QPolygonF({QPointF(10, 7), QPointF(15, 7), QPointF(15, 4), QPointF(20.5, 9.5),
                                QPointF(15, 15), QPointF(15, 12), QPointF(10, 12)}));
    return {{door, QColor(176, 110, 52)}, {arrow, QColor(60, 210, 60)}};
}

std::vector<Piece> triangle(const QPolygonF& corners) {
    return {{polygonShape(kSmallWidth, kSmallHeight, corners), QColor(52, 212, 52)}};
}

std::vector<Piece> crossedTools() {
    // The wrench lies from lower right to upper left, the hammer over it the other way.
    QPainterPath wrenchHandle;
    wrenchHandle.moveTo(17.5, 15.5);
    wrenchHandle.lineTo(8, 6);
    ShapeMask wrench = strokeShape(kSmallWidth, kSmallHeight, wrenchHandle, 3.0);
    const QPointF jawCentre(6.5, 5.0);
    const ShapeMask jaw = smallShape([&](QPainter& p) { p.drawEllipse(jawCentre, 4.2, 4.2); });
    // The open end of the jaw faces away from the handle.
    const QPointF away(-0.7071, -0.7071);
    const QPointF across(0.7071, -0.7071);
    const ShapeMask opening =
        polygonShape(kSmallWidth, kSmallHeight,
                     QPolygonF({jawCentre + across * 1.3, jawCentre + across * 1.3 + away * 6,
                                jawCentre - across * 1.3 + away * 6, jawCentre - across * 1.3}));
    wrench = wrench.united(jaw).minus(opening);
    QPainterPath hammerHandle;
    hammerHandle.moveTo(6, 16);
    hammerHandle.lineTo(15, 7);
    const ShapeMask handle = strokeShape(kSmallWidth, kSmallHeight, hammerHandle, 3.0);
    const ShapeMask head =
        polygonShape(kSmallWidth, kSmallHeight,
                     QPolygonF({QPointF(11, 5), QPointF(16, 0), QPointF(21, 5), QPointF(16, 10)}));
    return {{wrench, QColor(176, 186, 204)},
            {handle.minus(head), QColor(190, 120, 60)},
            {head, QColor(150, 158, 176)}};
}

QImage pictogramFace(const std::vector<Piece>& pieces, FaceLook look) {
    QImage face = glossyFace(kSmallWidth, kSmallHeight, kSlate, look, kPageGrey, 4, 4);
    const QPoint shift = lookShift(look);
    ShapeMask all(kSmallWidth, kSmallHeight);
    for (const Piece& piece : pieces)
        all = all.united(piece.shape);
    // A soft drop shadow below and right of the whole pictogram.
    paintFlat(face, all.shifted(1, 1).minus(all), darker(lookColour(kSlate, look), 0.5), shift);
    for (const Piece& piece : pieces) {
        Shading shading = shadingFor(piece.colour);
        if (look == FaceLook::Active)
            shading = shadingFor(lighter(piece.colour, 0.25));
        if (look == FaceLook::Pressed)
            shading = shadingFor(darker(piece.colour, 0.15));
        if (look == FaceLook::Disabled)
            shading = greyed(shadingFor(lighter(piece.colour, 0.2)));
        paintShaded(face, piece.shape, shading, shift);
    }
    return face;
}

// ---- the dialog buttons' pills -----------------------------------------------------------

const QColor kPillGrey(178, 180, 188);

QImage pill(FaceLook look) {
    return glossyFace(56, 23, kPillGrey, look, kPageGrey, 9, 11.5);
}

// ---- glyphs of the standard kinds --------------------------------------------------------

constexpr int kGlyph = 18;

ShapeMask glyphStroke(const QPainterPath& path, double width, Qt::PenCapStyle cap = Qt::SquareCap) {
    return strokeShape(kGlyph, kGlyph, path, width, cap);
}

Shading flatShading(const QColor& base) {
    Shading shading = shadingFor(base);
    shading.top = base;
    shading.bottom = base;
    return shading;
}

QPainterPath tickPath(double dx, double size) {
    QPainterPath path;
    path.moveTo(dx + 2, 9);
    path.lineTo(dx + 2 + 0.35 * size, 9 + 0.35 * size);
    path.lineTo(dx + 2 + size, 9 + 0.35 * size - 0.75 * size);
    return path;
}

std::vector<Piece> tickGlyph() {
    return {{glyphStroke(tickPath(1, 12), 2.0), QColor(40, 200, 40)}};
}

std::vector<Piece> crossGlyph() {
    QPainterPath path;
    path.moveTo(4, 4);
    path.lineTo(13, 13);
    path.moveTo(13, 4);
    path.lineTo(4, 13);
    return {{glyphStroke(path, 2.2), QColor(226, 40, 32)}};
}

std::vector<Piece> questionGlyph() {
    const Lettering mark = letter(QStringLiteral("?"), letteringFont(17), kGlyph, kGlyph);
    return {{mark.solid(), QColor(40, 96, 232)}};
}

std::vector<Piece> barredCircleGlyph() {
    const ShapeMask ring = ShapeMask::fromPainting(kGlyph, kGlyph, [](QPainter& p) {
        p.setPen(QPen(Qt::white, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2.5, 2.5, 12, 12));
    });
    QPainterPath bar;
    bar.moveTo(5, 5);
    bar.lineTo(12.5, 12.5);
    return {{ring.united(glyphStroke(bar, 1.0, Qt::FlatCap)), QColor(226, 40, 32)}};
}

std::vector<Piece> openDoorGlyph() {
    // A dark doorway in its frame, the leaf swung out on its right-hand hinge.
    const ShapeMask frame =
        ShapeMask::fromPainting(kGlyph, kGlyph, [](QPainter& p) { p.drawRect(1, 1, 10, 16); });
    const ShapeMask doorway =
        ShapeMask::fromPainting(kGlyph, kGlyph, [](QPainter& p) { p.drawRect(3, 3, 6, 14); });
    const ShapeMask leaf =
        polygonShape(kGlyph, kGlyph,
                     QPolygonF({QPointF(10, 1), QPointF(17, 4), QPointF(17, 15), QPointF(10, 17)}));
    return {{frame.minus(doorway).minus(leaf), QColor(150, 92, 44)},
            {doorway, QColor(40, 32, 56), true},
            {leaf, QColor(214, 146, 70)}};
}

// A triangular arrow head centred on a point of a circle of the given radius round
// centre, pointing clockwise along it.
QPolygonF clockwiseHead(QPointF centre, double radius, double degrees, double size) {
    const double angle = qDegreesToRadians(degrees);
    const QPointF at = centre + QPointF(radius * std::cos(angle), -radius * std::sin(angle));
    const QPointF ahead(std::sin(angle), std::cos(angle));
    const QPointF across(-ahead.y(), ahead.x());
    return QPolygonF({at + ahead * size * 1.1, at + across * size, at - across * size});
}

std::vector<Piece> retryGlyph() {
    const QRectF circle(3.5, 3.5, 11, 11);
    QPainterPath arcs;
    arcs.arcMoveTo(circle, 195);
    arcs.arcTo(circle, 195, -125);
    arcs.arcMoveTo(circle, 15);
    arcs.arcTo(circle, 15, -125);
    ShapeMask arrows = glyphStroke(arcs, 1.5, Qt::FlatCap);
    for (double degrees : {70.0, 250.0})
        arrows = arrows.united(
            polygonShape(kGlyph, kGlyph, clockwiseHead(circle.center(), 5.5, degrees, 3.2)));
    return {{arrows, QColor(40, 196, 40)}};
}

std::vector<Piece> walkingFigureGlyph() {
    const ShapeMask head =
        ShapeMask::fromPainting(kGlyph, kGlyph, [](QPainter& p) { p.drawEllipse(8, 0, 4, 4); });
    QPainterPath limbs;
    limbs.moveTo(9.5, 5.5); // body
    limbs.lineTo(8, 11);
    limbs.moveTo(8, 11); // legs striding
    limbs.lineTo(4.5, 16.5);
    limbs.moveTo(8, 11);
    limbs.lineTo(12, 13);
    limbs.lineTo(12, 16.5);
    limbs.moveTo(5, 9); // arms swinging
    limbs.lineTo(9.5, 6.5);
    limbs.lineTo(13, 9.5);
    return {{head.united(glyphStroke(limbs, 1.5, Qt::RoundCap)), QColor(244, 204, 40)}};
}

std::vector<Piece> doubleTickGlyph() {
    const ShapeMask ticks =
        glyphStroke(tickPath(-0.5, 9), 2.0).united(glyphStroke(tickPath(5.5, 9), 2.0));
    return {{ticks, QColor(40, 200, 40)}};
}

// Two 18 x 18 images on the olive ground: the glyph, and its embossed disabled look.
QImage standardGlyph(const std::vector<Piece>& pieces) {
    QImage strip = filled(2 * kGlyph, kGlyph, kOlive);
    // Each piece wears a dark outline just outside its own pixels.
    ShapeMask all(kGlyph, kGlyph);
    for (const Piece& piece : pieces) {
        paintShaded(strip, piece.shape.grown(), flatShading(piece.colour));
        all = all.united(piece.shape.grown());
    }
    for (const Piece& piece : pieces)
        if (piece.hole)
            all = all.minus(piece.shape);
    paintEmbossed(strip, all, QPoint(kGlyph, 0));
    reduceColours(strip, 16, {kOlive.rgb(), qRgb(255, 255, 255), qRgb(128, 128, 128)});
    return strip;
}

} // namespace

std::vector<GeneratedImage> DrawButtonArt() {
    std::vector<GeneratedImage> images;

    const LetteredStrip lettered[] = {
        {"BT1", "New", kRed},       {"BT2", "Replay", kBlue}, {"BT3", "Try", kRed},
        {"BT4", "Clear", kBlue},    {"BT5", "Play", kGreen},  {"BT6", "Copy", kCyan},
        {"BT7", "Selected", kBlue}, {"BT8", "Random", kCyan}, {"BT9", "Puzzle", kGreen},
        {"BTA", "Generate", kRed},  {"BTB", "Print", kBlue},  {"BTC", "Donate", kBlue},
        {"BTD", "Score", kGreen},
    };
    for (int i = 0; i < 13; ++i) {
        const LetteredStrip& strip = lettered[i];
        const int width = i < 6 ? 45 : 60;
        images.push_back({QString::fromLatin1(strip.name), faceStrip([&](FaceLook look) {
                              return letteredFace(width, QString::fromLatin1(strip.word),
                                                  strip.colour, look);
                          }),
                          8});
    }

    const std::vector<Piece> pictograms[] = {
        stopSquare(),
        pauseBars(),
        exitDoor(),
        triangle(QPolygonF({QPointF(9, 4.5), QPointF(16, 9.5), QPointF(9, 14.5)})),
        triangle(QPolygonF({QPointF(7, 2), QPointF(18, 9.5), QPointF(7, 17)})),
        triangle(QPolygonF({QPointF(17, 2), QPointF(6, 9.5), QPointF(17, 17)})),
        crossedTools(),
    };
    for (int i = 0; i < 7; ++i)
        images.push_back(
            {QStringLiteral("B%1").arg(i + 1),
             faceStrip([&](FaceLook look) { return pictogramFace(pictograms[i], look); }), 8});

    images.push_back({QStringLiteral("C1"), pill(FaceLook::Normal), 8});
    images.push_back({QStringLiteral("C2"), pill(FaceLook::Pressed), 8});
    images.push_back({QStringLiteral("C3"), pill(FaceLook::Active), 8});

    const std::pair<const char*, std::vector<Piece>> glyphs[] = {
        {"ABOK", tickGlyph()},
        {"ABCANCEL", crossGlyph()},
        {"ABHELP", questionGlyph()},
        {"ABYES", tickGlyph()},
        {"ABNO", barredCircleGlyph()},
        {"ABCLOSE", openDoorGlyph()},
        {"ABABORT", crossGlyph()},
        {"ABRETRY", retryGlyph()},
        {"ABIGNORE", walkingFigureGlyph()},
        {"ABALL", doubleTickGlyph()},
    };
    for (const auto& [name, pieces] : glyphs)
        images.push_back({QString::fromLatin1(name), standardGlyph(pieces), 4});
    return images;
}

} // namespace generator
