// Drawing helpers shared by the field renderer, the skin and the widgets: the stepped
// gradient fill, mask compositing with the OR and AND raster operations, and pixel art kept
// crisp at any device pixel ratio.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;

namespace tarnell::platform {

enum class GradientDirection { TopToBottom, LeftToRight };

// Fills rect with bands stepping from start to end: n = max(2, min(steps, length)) bands of
// length / n pixels, band k = start + round(k * (end - start) / (n - 1)) per channel (halves
// away from zero), the length mod n tail in the end colour. steps < 2 fills with start.
void gradientFill(QPainter& painter, const QRect& rect, QColor start, QColor end, int steps,
                  GradientDirection direction);
// The colour channel of band k of n (exposed for the widgets that draw gradients by hand).
int gradientChannel(int start, int end, int k, int n);

// Mask compositing onto target (Format_RGB32) with image/mask top-left at pos: the result
// of copying the target rectangle to a scratch surface, ORing the mask onto it, ANDing the
// image onto it and copying it back, i.e. every pixel p of the box inside target becomes
// (p | mask) & image. Works on the pixels directly, with no scratch surface and no painter;
// image and mask in another format than 32-bit RGB are converted first.
void maskComposite(QImage& target, QPoint pos, const QImage& image, const QImage& mask);
// The same; scratch is no longer needed and left untouched (kept for existing callers).
void maskComposite(QImage& target, QPoint pos, const QImage& image, const QImage& mask,
                   QImage& scratch);

// Every image of the program is pixel art made for one image pixel per logical pixel. On a
// screen with a device pixel ratio above 1 each image pixel must become a sharp block of
// device pixels, never a blur: these helpers scale by nearest neighbour only.

// Draws image's source rectangle (the whole image when source is null) with its top-left at
// target, one image pixel per logical pixel, with smoothing off whatever the painter's hints.
void drawPixelArt(QPainter& painter, QPoint target, const QImage& image,
                  const QRect& source = QRect());

// The device pixel ratio a painter draws at (1 for a device that has none).
qreal devicePixelRatioOf(const QPainter& painter);

// A copy of image for a device of the given pixel ratio: ceil(size * ratio) device pixels,
// device pixel (x, y) taking image pixel (floor((x + 0.5) / ratio), floor((y + 0.5) / ratio)),
// with the ratio set on it. Text drawn on the copy with a painter is then rendered at the
// device's resolution, over pixel art that stays in sharp blocks. A ratio of 1 (or less,
// or not a number) returns the image unchanged.
QImage pixelArtAtRatio(const QImage& image, qreal ratio);

// The one-pixel lines of frames and bevels. A pen's line is centred on the pixels' edges,
// which on a screen of ratio 2 puts it one device pixel up and left of every picture; these
// fill the pixels themselves, so the lines stay on the grid of the art at any ratio and
// cover at 1x exactly what the pen covers.
// The horizontal or vertical run from `from` to `to`, both ends included (drawLine at 1x); a
// slanted run is drawn with the painter's pen.
void drawPixelRun(QPainter& painter, QPoint from, QPoint to, const QColor& colour);
// The outline that drawRect(rect) draws with a one-pixel pen at 1x: columns rect.left() to
// rect.left() + rect.width() and rows rect.top() to rect.top() + rect.height().
void drawPixelOutline(QPainter& painter, const QRect& rect, const QColor& colour);

} // namespace tarnell::platform
