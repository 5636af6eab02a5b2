#include "WindowAnimations.h"
#include "ButtonPixelArt.h"

#include <QPainter>
#include <QtMath>
#include <array>
#include <cmath>

namespace tarnell::generator {
namespace {

// ---- "Solve a puzzle": a pencil writing on a sheet ---------------------------------------

const QColor kSolveKey(255, 49, 255);
constexpr int kSolveSize = 32;
// The written part of the sheet, and the ruled lines on it.
const QRect kWritingArea(5, 6, 15, 22);
constexpr int kLineSpacing = 5;
constexpr int kCurrentLine = 20; // the line the pencil writes on
constexpr int kWriteFrom = 6;
constexpr int kWriteTo = 16;

// The handwriting on one line: heights of the ink above the line, column by column from
// kWriteFrom; -1 leaves a gap between words.
constexpr std::array<int, 11> kHandwriting = {0, 1, 2, 1, 0, -1, 1, 2, 1, 1, 0};

struct SolveState {
    double tipX;      // where the pencil's point is
    int lift;         // how far the point is above the line
    int scroll;       // how far the sheet has moved up
    double writtenTo; // the current line is written up to this column
};

ShapeMask sheetShape() {
    // A sheet with its upper right corner folded down.
    return polygonShape(kSolveSize, kSolveSize,
                        QPolygonF({QPointF(3, 3), QPointF(18, 3), QPointF(23, 8), QPointF(23, 30),
                                   QPointF(3, 30)}));
}

// The ink of one line whose rule lies at lineY, written up to column writtenTo.
void addHandwriting(ShapeMask& ink, int lineY, double writtenTo) {
    int previous = -1;
    for (size_t i = 0; i < kHandwriting.size(); ++i) {
        const int x = kWriteFrom + static_cast<int>(i);
        const int height = kHandwriting[i];
        if (x > writtenTo || height < 0) {
            previous = -1;
            if (x > writtenTo)
                break;
            continue;
        }
        const int y = lineY - 1 - height;
        // Join to the previous column so the stroke is unbroken.
        const int from = previous < 0 ? y : std::min(previous, y);
        const int to = previous < 0 ? y : std::max(previous, y);
        for (int row = from; row <= to; ++row)
            if (kWritingArea.contains(x, row))
                ink.set(x, row);
        previous = y;
    }
}

std::vector<Piece> pencilPieces(QPointF tip) {
    const QPointF along(0.7071, -0.7071);
    const QPointF across(0.7071, 0.7071);
    const double half = 2.4;
    auto band = [&](double from, double to, double halfFrom, double halfTo) {
        return polygonShape(
            kSolveSize, kSolveSize,
            QPolygonF({tip + along * from - across * halfFrom, tip + along * to - across * halfTo,
                       tip + along * to + across * halfTo,
                       tip + along * from + across * halfFrom}));
    };
    return {{band(4.5, 13.5, half, half), QColor(250, 194, 24)},
            {band(13.5, 15.5, half, half), QColor(184, 192, 208)},
            {band(15.5, 18.0, half, half), QColor(236, 112, 138)},
            {band(1.2, 4.5, 0.9, half), QColor(238, 198, 142)},
            {band(-0.6, 2.0, 0.3, 1.2), QColor(58, 58, 70)}};
}

QImage solveFrame(const SolveState& state) {
    QImage frame = filled(kSolveSize, kSolveSize, kSolveKey);
    const ShapeMask sheet = sheetShape();
    paintFlat(frame, sheet.shifted(1, 1).minus(sheet), QColor(72, 72, 84));
    paintShaded(frame, sheet,
                {QColor(56, 60, 86), QColor(255, 255, 255), QColor(252, 252, 248),
                 QColor(226, 230, 240), QColor(196, 200, 214)});
    // The folded corner.
    paintShaded(frame,
                polygonShape(kSolveSize, kSolveSize,
                             QPolygonF({QPointF(17.5, 3), QPointF(23.5, 9), QPointF(17.5, 9)})),
                {QColor(56, 60, 86), QColor(236, 238, 246), QColor(214, 218, 230),
                 QColor(200, 204, 218), QColor(176, 180, 196)});

    ShapeMask rules(kSolveSize, kSolveSize);
    ShapeMask ink(kSolveSize, kSolveSize);
    for (int line = -3; line <= 2; ++line) {
        const int lineY = kCurrentLine + line * kLineSpacing - state.scroll;
        for (int x = kWritingArea.left(); x <= kWritingArea.right(); ++x)
            if (kWritingArea.contains(x, lineY))
                rules.set(x, lineY);
        if (line < 0)
            addHandwriting(ink, lineY, kWriteTo);
        else if (line == 0)
            addHandwriting(ink, lineY, state.writtenTo);
    }
    paintFlat(frame, rules, QColor(166, 198, 236));
    paintFlat(frame, ink, QColor(28, 44, 158));

    const QPointF tip(state.tipX + 0.5, kCurrentLine - 1 - state.lift + 0.5);
    for (const Piece& piece : pencilPieces(tip))
        paintShaded(frame, piece.shape, shadingFor(piece.colour));
    return frame;
}

// ---- "About": a blue figure --------------------------------------------------------------

const QColor kAboutKey(249, 91, 240);
const QColor kFigureBlue(54, 128, 250);

QImage figureFrame(double armDegrees) {
    QImage frame = filled(32, 32, kAboutKey);
    auto stroke = [](QPointF from, QPointF to, double width) {
        QPainterPath path;
        path.moveTo(from);
        path.lineTo(to);
        return strokeShape(32, 32, path, width, Qt::RoundCap);
    };
    const Shading blue = shadingFor(kFigureBlue);
    const Shading paleBlue = shadingFor(lighter(kFigureBlue, 0.25));
    // The resting arm and the legs lie behind the body.
    paintShaded(frame, stroke({12.5, 13.5}, {9.5, 21.5}, 3.6), paleBlue);
    paintShaded(frame, stroke({14, 21}, {13, 29.5}, 4.0), blue);
    paintShaded(frame, stroke({18.5, 21}, {19.5, 29.5}, 4.0), blue);
    paintShaded(frame,
                polygonShape(32, 32,
                             QPolygonF({QPointF(10.5, 12), QPointF(22, 12), QPointF(21, 23.5),
                                        QPointF(11.5, 23.5)})),
                blue);
    const ShapeMask head = ShapeMask::fromPainting(
        32, 32, [](QPainter& p) { p.drawEllipse(QPointF(16, 6.5), 4.6, 4.6); });
    paintBall(frame, head, blue, QPointF(14, 4.5));
    // The raised arm: straight from the shoulder, armDegrees from pointing straight up.
    const QPointF shoulder(20, 13.5);
    const double angle = qDegreesToRadians(armDegrees);
    const QPointF hand = shoulder + QPointF(std::sin(angle), -std::cos(angle)) * 8.5;
    paintShaded(frame, stroke(shoulder, hand, 3.6), paleBlue);
    const ShapeMask palm =
        ShapeMask::fromPainting(32, 32, [&](QPainter& p) { p.drawEllipse(hand, 2.3, 2.3); });
    paintBall(frame, palm, shadingFor(lighter(kFigureBlue, 0.35)), hand - QPointF(1, 1));
    return frame;
}

// ---- "Exit": a door and an arrow going out -----------------------------------------------

const QColor kExitKey(255, 153, 255);
constexpr int kExitWidth = 34;
constexpr int kExitHeight = 33;
const QRect kDoorway(5, 4, 12, 28);

QImage exitFrame(double openDegrees, int arrowTip, bool arrowShown) {
    QImage frame = filled(kExitWidth, kExitHeight, kExitKey);
    auto rect = [](const QRect& r) {
        return ShapeMask::fromPainting(kExitWidth, kExitHeight,
                                       [&](QPainter& p) { p.drawRect(r); });
    };
    const ShapeMask outer = rect(QRect(3, 2, 16, 30));
    const ShapeMask doorway = rect(kDoorway);
    paintShaded(frame, outer.minus(doorway), shadingFor(QColor(132, 80, 42)));
    paintShaded(frame, doorway,
                {QColor(20, 18, 40), QColor(64, 72, 128), QColor(44, 50, 104), QColor(30, 34, 76),
                 QColor(26, 28, 60)});

    // The leaf hangs on the left jamb; opening towards the viewer it narrows and its free
    // edge, coming nearer, grows taller.
    const double angle = qDegreesToRadians(openDegrees);
    const double edgeX = kDoorway.left() + (kDoorway.width() - 0.2) * std::cos(angle);
    const double grow = 3.0 * std::sin(angle);
    const ShapeMask leaf = polygonShape(
        kExitWidth, kExitHeight,
        QPolygonF({QPointF(kDoorway.left(), kDoorway.top()), QPointF(edgeX, kDoorway.top() - grow),
                   QPointF(edgeX, kDoorway.bottom() + 1 + grow),
                   QPointF(kDoorway.left(), kDoorway.bottom() + 1)}));
    paintShaded(frame, leaf, shadingFor(QColor(206, 130, 62)));
    if (edgeX - kDoorway.left() > 4) {
        const QPointF knob(edgeX - 2.5, 18.5);
        paintBall(frame,
                  ShapeMask::fromPainting(kExitWidth, kExitHeight,
                                          [&](QPainter& p) { p.drawEllipse(knob, 1.6, 1.6); }),
                  shadingFor(QColor(250, 210, 60)), knob - QPointF(1, 1));
    }

    if (arrowShown) {
        const double tip = arrowTip + 0.5;
        ShapeMask arrow = polygonShape(
            kExitWidth, kExitHeight,
            QPolygonF({QPointF(tip - 15, 14), QPointF(tip - 7, 14), QPointF(tip - 7, 9.5),
                       QPointF(tip, 16.5), QPointF(tip - 7, 23.5), QPointF(tip - 7, 19),
                       QPointF(tip - 15, 19)}));
        // Coming out of the doorway, the arrow is hidden by the leaf and the left jamb.
        arrow = arrow.minus(leaf).minus(rect(QRect(0, 0, kDoorway.left(), kExitHeight)));
        paintShaded(frame, arrow, shadingFor(QColor(58, 206, 58)));
    }
    return frame;
}

// ---- the about page: a fox on a turning plate --------------------------------------------

constexpr int kPageFrame = 50;

// A part of a picture with its own shading.
struct ShadedPart {
    ShapeMask shape;
    Shading shading;
};

std::vector<ShadedPart> sittingFox(double tailDegrees) {
    auto shape = [](const std::function<void(QPainter&)>& paint) {
        return ShapeMask::fromPainting(kPageFrame, kPageFrame, paint);
    };
    const QColor orange(232, 112, 30);
    const QColor white(250, 248, 240);
    const QColor dark(70, 40, 28);
    const ShapeMask tail = shape([&](QPainter& p) {
        p.translate(34, 29);
        p.rotate(tailDegrees);
        p.drawEllipse(QRectF(-8, -3.5, 16, 7));
    });
    const ShapeMask tailTip = tail.intersected(shape([&](QPainter& p) {
        p.translate(34, 29);
        p.rotate(tailDegrees);
        p.drawRect(QRectF(3.5, -5, 6, 10));
    }));
    const ShapeMask body = shape([](QPainter& p) { p.drawEllipse(QRectF(17.5, 18, 15, 16)); });
    const ShapeMask chest = shape([](QPainter& p) { p.drawEllipse(QRectF(21.5, 21, 7, 11)); });
    const ShapeMask paws = shape([](QPainter& p) {
        p.drawRect(20, 30, 3, 4);
        p.drawRect(27, 30, 3, 4);
    });
    const ShapeMask head = shape([](QPainter& p) {
        p.drawEllipse(QRectF(17.5, 8.5, 15, 12));
        p.drawPolygon(QPolygonF({QPointF(17.5, 13), QPointF(18.5, 3), QPointF(23.5, 9.5)}));
        p.drawPolygon(QPolygonF({QPointF(32.5, 13), QPointF(31.5, 3), QPointF(26.5, 9.5)}));
    });
    const ShapeMask ears = shape([](QPainter& p) {
        p.drawPolygon(QPolygonF({QPointF(19.5, 10), QPointF(20, 5.5), QPointF(22.5, 9.5)}));
        p.drawPolygon(QPolygonF({QPointF(30.5, 10), QPointF(30, 5.5), QPointF(27.5, 9.5)}));
    });
    const ShapeMask muzzle = shape([](QPainter& p) {
        p.drawPolygon(QPolygonF({QPointF(18.5, 15), QPointF(31.5, 15), QPointF(25, 21.5)}));
    });
    const ShapeMask eyes = shape([](QPainter& p) {
        p.drawRect(21, 12, 2, 2);
        p.drawRect(27, 12, 2, 2);
    });
    const ShapeMask nose = shape([](QPainter& p) { p.drawRect(24, 18, 2, 2); });
    // White fur is outlined in the fox's own brown; the tail's tip has no line of its own.
    const Shading fur = shadingFor(orange);
    const Shading whiteFur{fur.outline, white, white, QColor(236, 230, 220), QColor(214, 206, 196)};
    ShapeMask tipInside = tailTip;
    for (int y = 0; y < kPageFrame; ++y)
        for (int x = 0; x < kPageFrame; ++x)
            if (tail.isBorder(x, y))
                tipInside.set(x, y, false);
    Shading tipShading = whiteFur;
    tipShading.outline = white;
    const Shading black = shadingFor(QColor(30, 24, 20));
    return {{tail, fur},
            {tipInside, tipShading},
            {body, fur},
            {chest, whiteFur},
            {paws, shadingFor(dark)},
            {head, fur},
            {ears, shadingFor(dark)},
            {muzzle.minus(eyes), whiteFur},
            {eyes, black},
            {nose, black}};
}

QImage plateFrame(double turnDegrees, const std::vector<ShadedPart>& fox) {
    QImage frame = filled(kPageFrame, kPageFrame, QColor(kPageGrey));
    const QPointF centre(25, 35);
    const double radius = 21;
    const double squash = 0.5;
    const int thickness = 4;
    std::array<QPointF, 4> corners;
    for (int i = 0; i < 4; ++i) {
        const double angle = qDegreesToRadians(turnDegrees + 45 + 90 * i);
        corners[static_cast<size_t>(i)] =
            centre + QPointF(radius * std::cos(angle), radius * std::sin(angle) * squash);
    }
    const ShapeMask top = polygonShape(kPageFrame, kPageFrame,
                                       QPolygonF({corners[0], corners[1], corners[2], corners[3]}));
    // The slab: the top face pushed down by the plate's thickness, outlined as one solid.
    ShapeMask slab = top;
    for (int step = 1; step <= thickness; ++step)
        slab = slab.united(top.shifted(0, step));
    paintFlat(frame, slab, QColor(0, 70, 0));
    // The sides that face the viewer, lit the more the further they turn to the left.
    for (int i = 0; i < 4; ++i) {
        const QPointF a = corners[static_cast<size_t>(i)];
        const QPointF b = corners[static_cast<size_t>((i + 1) % 4)];
        const double normal = qDegreesToRadians(turnDegrees + 90 + 90 * i);
        if (std::sin(normal) <= 0)
            continue;
        const double lit = (1 - std::cos(normal)) / 2;
        const QColor side = mix(QColor(0, 112, 0), QColor(0, 180, 0), lit);
        const QPointF down(0, thickness + 1);
        const ShapeMask face =
            polygonShape(kPageFrame, kPageFrame, QPolygonF({a, b, b + down, a + down}));
        for (int y = 0; y < kPageFrame; ++y)
            for (int x = 0; x < kPageFrame; ++x)
                if (face.at(x, y) && slab.at(x, y) && !slab.isBorder(x, y))
                    frame.setPixel(x, y, side.rgb());
    }
    paintShaded(frame, top,
                {QColor(0, 70, 0), QColor(170, 255, 170), QColor(40, 255, 40), QColor(0, 230, 0),
                 QColor(0, 206, 0)});
    const ShapeMask shadow = ShapeMask::fromPainting(
        kPageFrame, kPageFrame, [](QPainter& p) { p.drawEllipse(QRectF(15.5, 31.5, 21, 5)); });
    paintFlat(frame, shadow.intersected(top), QColor(0, 176, 0));
    for (const ShadedPart& part : fox)
        paintShaded(frame, part.shape, part.shading);
    return frame;
}

} // namespace

QImage solvePuzzleStrip() {
    std::vector<QImage> frames;
    // The still picture: the pencil resting half-way along the line it writes.
    frames.push_back(solveFrame({11, 1, 0, 11}));
    // Frames 1 to 6 write the line; in 7 and 8 the pencil lifts and goes back while the
    // sheet moves up, and frame 1 is the sheet one line further on.
    for (int frame = 1; frame <= 6; ++frame) {
        const double tipX = kWriteFrom + (kWriteTo - kWriteFrom) * (frame - 1) / 5.0;
        frames.push_back(solveFrame({tipX, 0, 0, tipX}));
    }
    for (int frame = 7; frame <= 8; ++frame) {
        const double back = (frame - 6) / 3.0;
        frames.push_back(
            solveFrame({kWriteTo - (kWriteTo - kWriteFrom) * back,
                        static_cast<int>(std::lround(2 * std::sin(M_PI * back))),
                        static_cast<int>(std::lround(kLineSpacing * back)), double(kWriteTo)}));
    }
    return sideBySide(frames);
}

QImage aboutStrip() {
    std::vector<QImage> frames{figureFrame(160)};
    for (int frame = 1; frame <= 5; ++frame)
        frames.push_back(figureFrame(28 + 24 * std::sin(2 * M_PI * (frame - 1) / 5.0)));
    return sideBySide(frames);
}

QImage exitStrip() {
    std::vector<QImage> frames{exitFrame(0, 31, true)};
    struct Step {
        double open;
        int arrowTip;
        bool arrowShown;
    };
    // Frame 1 is the closed door, like frame 9's nearly closed one before it.
    const Step steps[] = {{0, 0, false},  {40, 0, false}, {72, 14, true},
                          {80, 20, true}, {80, 26, true}, {80, 31, true},
                          {74, 37, true}, {45, 0, false}, {16, 0, false}};
    for (const Step& step : steps)
        frames.push_back(exitFrame(step.open, step.arrowTip, step.arrowShown));
    return sideBySide(frames);
}

QImage aboutPageStrip() {
    // The plate turns 10 degrees a frame, a quarter turn over the nine frames, which brings
    // the square back onto itself; the tail sways once in the same time.
    std::vector<QImage> frames;
    for (int frame = 0; frame < 9; ++frame)
        frames.push_back(
            plateFrame(frame * 10.0, sittingFox(-35 + 9 * std::sin(2 * M_PI * frame / 9.0))));
    return sideBySide(frames);
}

} // namespace tarnell::generator
