// Test pictures for the button, check box and animation tests: strips whose every pixel tells
// where it came from, and the nearest-neighbour sampling the faces are expected to use.
#pragma once

#include <QImage>
#include <QSet>
#include <QWidget>
#include <cmath>

namespace tarnell::buttontest {

// Red = column, green = row (times 7), blue = a tag that tells strips apart.
inline QImage patternStrip(int width, int height, int tag) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, (y * 7) % 256, (tag * 37) % 256));
    return image;
}

inline QImage solidImage(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Source pixel sampled by target pixel i when m source pixels are stretched onto n: the
// source pixel under the target pixel's centre.
inline int sampleOf(int i, int m, int n) {
    return static_cast<int>(std::floor((i + 0.5) * m / static_cast<double>(n)));
}

inline QImage grabImage(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QSet<QPoint> pixelsOf(const QImage& image, QRgb colour) {
    QSet<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xFF000000u) == (colour | 0xFF000000u))
                points.insert(QPoint(x, y));
    return points;
}

// Where a copy of the points moved by (dx, dy) shows beside them: a shadow or a highlight.
inline QSet<QPoint> edgeOf(const QSet<QPoint>& points, int dx, int dy) {
    QSet<QPoint> moved;
    for (const QPoint& p : points)
        if (!points.contains(p + QPoint(dx, dy)))
            moved.insert(p + QPoint(dx, dy));
    return moved;
}

} // namespace tarnell::buttontest
