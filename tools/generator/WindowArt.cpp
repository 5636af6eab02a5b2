// The pictures that belong to one window each: the main window's toolbar strips, its about
// animation and check box, the dialogs' pictures and glyphs, the donation pictures.
#include "Art.h"
#include "ButtonFaceArt.h"
#include "ButtonGlyphArt.h"
#include "ButtonPixelArt.h"
#include "WindowAnimations.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace tarnell::generator {
namespace {

// The check boxes and the dialog pictures stand on the page grey, which is drawn
// transparent and therefore kept out of the shapes themselves.

// ---- check box ---------------------------------------------------------------------------

enum class CheckLook { On, Off, Disabled };

QImage checkBox(CheckLook look) {
    constexpr int size = 14;
    QImage image = filled(size, size, QColor(kPageGrey));
    // A sunken white well with clipped corners, lit from the top left, so its upper left
    // inner edge lies in shade.
    ShapeMask box(size, size);
    for (int y = 0; y < size - 1; ++y)
        for (int x = 0; x < size - 1; ++x)
            box.set(x, y, !((x == 0 || x == size - 2) && (y == 0 || y == size - 2)));
    const bool disabled = look == CheckLook::Disabled;
    paintFlat(image, box.shifted(1, 1).minus(box), QColor(224, 224, 228));
    paintShaded(image, box,
                disabled
                    ? Shading{QColor(112, 112, 116), QColor(170, 170, 174), QColor(196, 196, 200),
                              QColor(206, 206, 210), QColor(214, 214, 218)}
                    : Shading{QColor(40, 46, 70), QColor(170, 176, 196), QColor(236, 240, 250),
                              QColor(255, 255, 255), QColor(255, 255, 255)});
    if (look == CheckLook::On) {
        QPainterPath tick;
        tick.moveTo(3, 6.5);
        tick.lineTo(5.5, 9);
        tick.lineTo(10, 3.5);
        const ShapeMask mark = strokeShape(size, size, tick, 1.6, Qt::SquareCap);
        paintShaded(image, mark.grown(),
                    {QColor(0, 90, 20), QColor(110, 230, 110), QColor(30, 180, 40),
                     QColor(30, 180, 40), QColor(20, 140, 30)});
    }
    return image;
}

// ---- dialog pictures ---------------------------------------------------------------------

const QColor kShadowGrey(92, 92, 96);

QImage warningPicture() {
    QImage image = filled(32, 32, QColor(kPageGrey));
    const ShapeMask blocks = ShapeMask::fromPainting(32, 32, [](QPainter& p) {
        p.drawRect(11, 2, 8, 18);
        p.drawRect(11, 23, 8, 6);
    });
    paintExtruded(image, blocks, shadingFor(QColor(255, 214, 24)), shadingFor(QColor(206, 146, 0)),
                  3, kShadowGrey);
    return image;
}

QImage errorPicture() {
    QImage image = filled(32, 32, QColor(kPageGrey));
    const ShapeMask bar = polygonShape(
        32, 32, QPolygonF({QPointF(9.5, 2), QPointF(20.5, 2), QPointF(17, 20), QPointF(13, 20)}));
    const ShapeMask ball = ShapeMask::fromPainting(
        32, 32, [](QPainter& p) { p.drawEllipse(QPointF(15, 25.5), 4, 4); });
    const Shading red = shadingFor(QColor(232, 36, 30));
    const Shading sides = shadingFor(QColor(150, 16, 14));
    paintExtruded(image, bar.united(ball), red, sides, 3, kShadowGrey);
    paintShaded(image, bar, red);
    paintBall(image, ball, red, QPointF(13.5, 23.5));
    return image;
}

QImage questionPicture() {
    QImage image = filled(32, 32, QColor(kPageGrey));
    const Lettering mark = letter(QStringLiteral("?"), letteringFont(31), 29, 32);
    paintExtruded(image, mark.solid().grown(), shadingFor(QColor(46, 200, 50)),
                  shadingFor(QColor(18, 124, 26)), 3, kShadowGrey);
    return image;
}

// ---- donation pictures -------------------------------------------------------------------

QImage payPalPicture() {
    constexpr int width = 62;
    constexpr int height = 31;
    QImage image =
        glossyFace(width, height, QColor(250, 158, 24), FaceLook::Normal, QColor(kPageGrey), 9, 9);
    const Lettering name = letter(QStringLiteral("PayPal"), letteringFont(13), width, 16);
    paintLettering(image, name, QColor(18, 44, 128), QColor(255, 236, 190), QPoint(0, 1));
    const Lettering word = letter(QStringLiteral("Donate"), letteringFont(11), width, 14);
    paintLettering(image, word, Qt::white, QColor(150, 74, 0), QPoint(0, 15));
    return image;
}

QImage webMoneyPicture() {
    constexpr int width = 95;
    constexpr int height = 41;
    QImage image = filled(width, height, Qt::white);
    const QPointF centre(14.5, 20.5);
    const double radius = 12;
    const ShapeMask globe = ShapeMask::fromPainting(
        width, height, [&](QPainter& p) { p.drawEllipse(centre, radius, radius); });
    paintBall(image, globe, shadingFor(QColor(30, 100, 220)), centre - QPointF(5, 6));
    // The grid of the globe: the equator, two parallels and three meridians.
    const ShapeMask grid = ShapeMask::fromPainting(width, height, [&](QPainter& p) {
        p.setPen(QPen(Qt::white, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(centre.x() - radius, centre.y()),
                   QPointF(centre.x() + radius, centre.y()));
        p.drawLine(QPointF(centre.x(), centre.y() - radius),
                   QPointF(centre.x(), centre.y() + radius));
        p.drawEllipse(centre, radius * 0.45, radius);
        for (double offset : {-0.55, 0.55}) {
            const double y = centre.y() + offset * radius;
            const double half = radius * std::sqrt(1 - offset * offset);
            p.drawLine(QPointF(centre.x() - half, y), QPointF(centre.x() + half, y));
        }
    });
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (globe.isBorder(x, y))
                image.setPixel(x, y, QColor(12, 40, 120).rgb());
            else if (globe.at(x, y) && grid.at(x, y))
                image.setPixel(x, y, mix(QColor(image.pixel(x, y)), Qt::white, 0.55).rgb());
        }
    }

    // The name in two blues, "Web" lighter than "Money", as large as fits beside the globe.
    const QString name = QStringLiteral("WebMoney");
    const int textLeft = 28;
    const int textWidth = width - textLeft - 1;
    int pixelSize = 16;
    while (pixelSize > 8 &&
           QFontMetrics(letteringFont(pixelSize)).tightBoundingRect(name).width() > textWidth - 2)
        --pixelSize;
    const QFont font = letteringFont(pixelSize);
    const QFontMetrics metrics(font);
    const QRect ink = metrics.tightBoundingRect(name);
    const int split = (textWidth - ink.width()) / 2 - ink.left() +
                      metrics.horizontalAdvance(QStringLiteral("Web"));
    const Lettering whole = letter(name, font, textWidth, height);
    Lettering web = whole;
    Lettering money = whole;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < textWidth; ++x)
            (x < split ? money : web).level[static_cast<size_t>(y * textWidth + x)] = 0;
    paintLettering(image, web, QColor(34, 110, 226), Qt::white, QPoint(textLeft, 0));
    paintLettering(image, money, QColor(16, 40, 112), Qt::white, QPoint(textLeft, 0));
    return image;
}

} // namespace

std::vector<GeneratedImage> DrawWindowArt() {
    return {
        {QStringLiteral("ANI_SOLVE"), solvePuzzleStrip(), 24},
        {QStringLiteral("ANI_ABOUT"), aboutStrip(), 24},
        {QStringLiteral("ANI_EXIT"), exitStrip(), 24},
        {QStringLiteral("ABOUT_ANIM"), aboutPageStrip(), 24},
        {QStringLiteral("CHECK_ON"), checkBox(CheckLook::On), 24},
        {QStringLiteral("CHECK_OFF"), checkBox(CheckLook::Off), 24},
        {QStringLiteral("CHECK_DIS"), checkBox(CheckLook::Disabled), 24},
        {QStringLiteral("PIC_WARNING"), warningPicture(), 24},
        {QStringLiteral("PIC_ERROR"), errorPicture(), 24},
        {QStringLiteral("PIC_QUESTION"), questionPicture(), 24},
        {QStringLiteral("GLYPH_TICK"), standardGlyphPair(StandardGlyph::Tick), 24},
        {QStringLiteral("GLYPH_CROSS"), standardGlyphPair(StandardGlyph::Cross), 24},
        {QStringLiteral("DONATE_PAYPAL"), payPalPicture(), 24},
        {QStringLiteral("DONATE_WEBMONEY"), webMoneyPicture(), 24},
    };
}

} // namespace tarnell::generator
