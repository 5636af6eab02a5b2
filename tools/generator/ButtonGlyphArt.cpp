#include "ButtonGlyphArt.h"
#include "ButtonPixelArt.h"

#include <QPainter>
#include <QPen>
#include <QtMath>
#include <cmath>

namespace tarnell::generator {
namespace {

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
        ShapeMask::fromPainting(kGlyph, kGlyph, [](QPainter& p) { p.drawRect(2, 1, 9, 15); });
    const ShapeMask doorway =
        ShapeMask::fromPainting(kGlyph, kGlyph, [](QPainter& p) { p.drawRect(4, 3, 5, 13); });
    const ShapeMask leaf = polygonShape(
        kGlyph, kGlyph,
        QPolygonF({QPointF(10, 1), QPointF(16.5, 3.5), QPointF(16.5, 14), QPointF(10, 16)}));
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

std::vector<Piece> piecesOf(StandardGlyph kind) {
    switch (kind) {
    case StandardGlyph::Tick:
        return tickGlyph();
    case StandardGlyph::Cross:
        return crossGlyph();
    case StandardGlyph::Question:
        return questionGlyph();
    case StandardGlyph::BarredCircle:
        return barredCircleGlyph();
    case StandardGlyph::OpenDoor:
        return openDoorGlyph();
    case StandardGlyph::Retry:
        return retryGlyph();
    case StandardGlyph::WalkingFigure:
        return walkingFigureGlyph();
    case StandardGlyph::DoubleTick:
        return doubleTickGlyph();
    }
    return {};
}

} // namespace

QImage standardGlyphPair(StandardGlyph kind) {
    // The outline reaches one pixel beyond a piece; no piece may reach the bottom-left
    // pixel, which gives the ground colour to whoever draws the glyph.
    const std::vector<Piece> pieces = piecesOf(kind);
    QImage strip = filled(2 * kGlyph, kGlyph, QColor(kGlyphGround));
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
    return strip;
}

} // namespace tarnell::generator
