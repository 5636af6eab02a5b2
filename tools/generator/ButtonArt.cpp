// The push-button faces: lettered strips, pictogram strips, the grey pills of the dialog
// buttons and the glyph pairs of the standard button kinds.
#include "Art.h"
#include "ButtonFaceArt.h"
#include "ButtonGlyphArt.h"
#include "ButtonPixelArt.h"

#include <QPainter>
#include <QPen>
#include <QtMath>
#include <cmath>

namespace tarnell::generator {
namespace {

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
    reduceColours(strip, 256, {kPageGrey});
    return strip;
}

// ---- lettered faces ----------------------------------------------------------------------

QImage letteredFace(int width, const QString& word, const QColor& base, FaceLook look) {
    const int height = 22;
    QImage face = glossyFace(width, height, base, look, QColor(kPageGrey), 5, 5);
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

ShapeMask smallShape(const std::function<void(QPainter&)>& paint) {
    return ShapeMask::fromPainting(kSmallWidth, kSmallHeight, paint);
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
    const QPointF up(-0.7071, -0.7071);    // along the wrench, towards its jaw
    const QPointF across(0.7071, -0.7071); // along the hammer, towards its head
    QPainterPath wrenchHandle;
    wrenchHandle.moveTo(17, 15.5);
    wrenchHandle.lineTo(9.5, 8);
    ShapeMask wrench = strokeShape(kSmallWidth, kSmallHeight, wrenchHandle, 2.6);
    const QPointF jawCentre(8, 6.5);
    wrench = wrench.united(smallShape([&](QPainter& p) { p.drawEllipse(jawCentre, 3.9, 3.9); }));
    // The jaw opens away from the handle.
    wrench = wrench.minus(
        polygonShape(kSmallWidth, kSmallHeight,
                     QPolygonF({jawCentre + across * 1.2, jawCentre + across * 1.2 + up * 6,
                                jawCentre - across * 1.2 + up * 6, jawCentre - across * 1.2})));
    QPainterPath hammerHandle;
    hammerHandle.moveTo(6.5, 15.5);
    hammerHandle.lineTo(13.5, 8.5);
    const ShapeMask handle = strokeShape(kSmallWidth, kSmallHeight, hammerHandle, 2.6);
    // The head lies square to the handle at its upper end.
    const QPointF headCentre(15.6, 6.6);
    const QPointF length(0.7071, 0.7071);
    const ShapeMask head = polygonShape(kSmallWidth, kSmallHeight,
                                        QPolygonF({headCentre - length * 3.6 - across * 2.2,
                                                   headCentre + length * 3.6 - across * 2.2,
                                                   headCentre + length * 3.6 + across * 2.2,
                                                   headCentre - length * 3.6 + across * 2.2}));
    return {{wrench, QColor(214, 222, 238)},
            {handle.minus(head), QColor(222, 150, 76)},
            {head, QColor(236, 70, 52)}};
}

QImage pictogramFace(const std::vector<Piece>& pieces, FaceLook look) {
    QImage face = glossyFace(kSmallWidth, kSmallHeight, kSlate, look, QColor(kPageGrey), 4, 4);
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
    return glossyFace(56, 23, kPillGrey, look, QColor(kPageGrey), 10, 11.5);
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

    const std::pair<const char*, StandardGlyph> glyphs[] = {
        {"ABOK", StandardGlyph::Tick},
        {"ABCANCEL", StandardGlyph::Cross},
        {"ABHELP", StandardGlyph::Question},
        {"ABYES", StandardGlyph::Tick},
        {"ABNO", StandardGlyph::BarredCircle},
        {"ABCLOSE", StandardGlyph::OpenDoor},
        {"ABABORT", StandardGlyph::Cross},
        {"ABRETRY", StandardGlyph::Retry},
        {"ABIGNORE", StandardGlyph::WalkingFigure},
        {"ABALL", StandardGlyph::DoubleTick},
    };
    for (const auto& [name, kind] : glyphs) {
        QImage pair = standardGlyphPair(kind);
        reduceColours(pair, 16, {kGlyphGround, qRgb(255, 255, 255), qRgb(128, 128, 128)});
        images.push_back({QString::fromLatin1(name), pair, 4});
    }
    return images;
}

} // namespace tarnell::generator
