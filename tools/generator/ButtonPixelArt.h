// Pixel-art tools shared by the button faces and the single-window pictures: hard-edged
// shapes, outlined shading lit from the top left, lettering in few tones, colour reduction.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QRgb>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace tarnell::generator {

// The grey of the pages that the buttons and pictures stand on: the ground of the faces'
// corners and of the pictures drawn transparent there.
inline constexpr QRgb kPageGrey = qRgb(148, 148, 148);

// A hard-edged shape on a pixel grid: each pixel is either inside or outside.
class ShapeMask {
public:
    ShapeMask() = default;
    ShapeMask(int width, int height);
    // The pixels whose centres a painting without anti-aliasing covers.
    static ShapeMask fromPainting(int width, int height,
                                  const std::function<void(QPainter&)>& paint);
    static ShapeMask fromPath(int width, int height, const QPainterPath& path);

    int width() const { return width_; }
    int height() const { return height_; }
    bool at(int x, int y) const;
    void set(int x, int y, bool inside = true);
    bool isEmpty() const;
    QRect bounds() const;
    // Inside, with one of its four neighbours outside.
    bool isBorder(int x, int y) const;

    ShapeMask grown() const; // every pixel with an inside pixel among its eight neighbours
    ShapeMask shifted(int dx, int dy) const;
    ShapeMask united(const ShapeMask& other) const;
    ShapeMask minus(const ShapeMask& other) const;
    ShapeMask intersected(const ShapeMask& other) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> bits_;
};

// Hard-edged shapes from outlines: a filled polygon, and a stroke of a given width.
ShapeMask polygonShape(int width, int height, const QPolygonF& polygon);
ShapeMask strokeShape(int width, int height, const QPainterPath& path, double penWidth,
                      Qt::PenCapStyle cap = Qt::RoundCap);

// The colours of a shaded shape: a dark outline, a one-pixel light edge on the upper
// left, a one-pixel shade on the lower right, and the body running from top to bottom.
struct Shading {
    QColor outline;
    QColor highlight;
    QColor top;
    QColor bottom;
    QColor shade;
};

// A shading built around one base colour.
Shading shadingFor(const QColor& base);
// The same shading in greys of equal lightness.
Shading greyed(const Shading& shading);

// One coloured part of a picture. A hole is a dark opening that a disabled look leaves open.
struct Piece {
    ShapeMask shape;
    QColor colour;
    bool hole = false;
};

// Paints the shape onto image with its top-left corner at offset.
void paintShaded(QImage& image, const ShapeMask& shape, const Shading& shading, QPoint offset = {});
// Shades a round shape as a ball lit from light (in the shape's coordinates): bands of
// highlight, top, bottom and shade by the distance from that point, outline on the border.
void paintBall(QImage& image, const ShapeMask& shape, const Shading& shading, QPointF light,
               QPoint offset = {});
// A solid seen from the front and pushed depth pixels back towards the lower right: the
// side faces in sides, the front face in front, and a cast shadow further on the ground.
void paintExtruded(QImage& image, const ShapeMask& front, const Shading& frontShading,
                   const Shading& sides, int depth, const QColor& shadow, QPoint offset = {});
void paintFlat(QImage& image, const ShapeMask& shape, const QColor& colour, QPoint offset = {});
// The classic look of a disabled glyph: the shape in grey $808080 with a white copy one
// pixel right and down where the grey does not cover it.
void paintEmbossed(QImage& image, const ShapeMask& shape, QPoint offset = {});

QColor mix(const QColor& from, const QColor& to, double amount);
QColor lighter(const QColor& colour, double amount); // towards white
QColor darker(const QColor& colour, double amount);  // towards black
QColor greyOf(const QColor& colour);                 // a grey of the same lightness

// A solid image of one colour.
QImage filled(int width, int height, const QColor& colour);
// The images laid side by side from the left, all of the first one's height.
QImage sideBySide(const std::vector<QImage>& frames);

// The bold sans face of the lettering at a pixel size.
QFont letteringFont(int pixelSize);
// Lettering as coverage levels 0 (none) to 3 (full), with the ink centred horizontally
// in a width x height box and the baseline placed so capitals sit centred vertically.
struct Lettering {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> level; // row by row
    int at(int x, int y) const;
    ShapeMask solid() const; // level 2 and above
};
Lettering letter(const QString& text, const QFont& font, int width, int height);
// Paints the lettering at offset: the fill in its coverage over a one-pixel outline
// drawn around its solid part.
void paintLettering(QImage& image, const Lettering& lettering, const QColor& fill,
                    const QColor& outline, QPoint offset = {});

// Reduces the image to at most maxColours distinct colours by median cut, without
// dithering; the colours in keep are never altered and count towards the limit.
void reduceColours(QImage& image, int maxColours, const std::vector<QRgb>& keep = {});
int countColours(const QImage& image);

} // namespace tarnell::generator
