#include "PixelArt.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarnell::generator {

QRgb mix(QRgb a, QRgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return qRgb(channel(qRed(a), qRed(b)), channel(qGreen(a), qGreen(b)),
                channel(qBlue(a), qBlue(b)));
}

QRgb scaled(QRgb colour, double factor) {
    auto channel = [factor](int x) {
        return std::clamp(static_cast<int>(std::lround(x * factor)), 0, 255);
    };
    return qRgb(channel(qRed(colour)), channel(qGreen(colour)), channel(qBlue(colour)));
}

QImage canvas(int width, int height, QRgb ground) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(ground);
    return image;
}

void drawPixelMap(QImage& image, QPoint origin, std::initializer_list<const char*> rows,
                  const std::map<char, QRgb>& legend) {
    int y = origin.y();
    for (const char* row : rows) {
        const int length = static_cast<int>(std::strlen(row));
        for (int i = 0; i < length; ++i) {
            const auto found = legend.find(row[i]);
            const int x = origin.x() + i;
            if (found != legend.end() && image.rect().contains(x, y))
                image.setPixel(x, y, found->second | 0xFF000000u);
        }
        ++y;
    }
}

QImage maskOf(const QImage& image, QRgb ground, QRgb shapeColour) {
    QImage mask(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool shape = (image.pixel(x, y) | 0xFF000000u) != (ground | 0xFF000000u);
            mask.setPixel(x, y, shape ? (shapeColour | 0xFF000000u) : 0xFF000000u);
        }
    return mask;
}

} // namespace tarnell::generator
