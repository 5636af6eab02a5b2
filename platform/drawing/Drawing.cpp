#include "Drawing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tarnell::platform {

int gradientChannel(int start, int end, int k, int n) {
    if (n < 2)
        return start;
    const double step = static_cast<double>(k) * (end - start) / (n - 1);
    // std::lround rounds halves away from zero.
    return start + static_cast<int>(std::lround(step));
}

void gradientFill(QPainter& painter, const QRect& rect, QColor start, QColor end, int steps,
                  GradientDirection direction) {
    if (rect.isEmpty())
        return;
    if (steps < 2) {
        painter.fillRect(rect, start);
        return;
    }
    const bool vertical = direction == GradientDirection::TopToBottom;
    const int length = vertical ? rect.height() : rect.width();
    const int n = std::max(2, std::min(steps, length));
    const int band = length / n;
    for (int k = 0; k < n; ++k) {
        const QColor colour(gradientChannel(start.red(), end.red(), k, n),
                            gradientChannel(start.green(), end.green(), k, n),
                            gradientChannel(start.blue(), end.blue(), k, n));
        if (band == 0)
            break;
        const QRect piece = vertical
                                ? QRect(rect.left(), rect.top() + k * band, rect.width(), band)
                                : QRect(rect.left() + k * band, rect.top(), band, rect.height());
        painter.fillRect(piece, colour);
    }
    const int tail = length - band * n;
    if (tail > 0) {
        const QRect piece = vertical
                                ? QRect(rect.left(), rect.bottom() + 1 - tail, rect.width(), tail)
                                : QRect(rect.right() + 1 - tail, rect.top(), tail, rect.height());
        painter.fillRect(piece, end);
    }
}

namespace {

// image itself when it is already 32-bit RGB, otherwise a converted copy.
QImage asRgb32(const QImage& image) {
    const QImage::Format format = image.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

void maskComposite(QImage& target, QPoint pos, const QImage& image, const QImage& mask) {
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32)
        target = target.convertToFormat(QImage::Format_RGB32);
    const QRect box = QRect(pos, image.size()).intersected(target.rect());
    if (box.isEmpty())
        return;
    const QImage source = asRgb32(image);
    const QImage shape = asRgb32(mask);
    // Past the mask's own size nothing is ORed, as a mask blitted at its own size leaves it.
    const QRect maskBox = QRect(pos, mask.size()).intersected(box);

    uchar* targetBits = target.bits();
    const qsizetype targetStride = target.bytesPerLine();
    const int dx = pos.x();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(targetBits + y * targetStride);
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y - pos.y()));
        int x = box.left();
        if (y >= maskBox.top() && y <= maskBox.bottom()) {
            const auto* m = reinterpret_cast<const QRgb*>(shape.constScanLine(y - pos.y()));
            for (; x < maskBox.left(); ++x)
                out[x] = (out[x] & in[x - dx]) | 0xFF000000u;
            for (; x <= maskBox.right(); ++x)
                out[x] = ((out[x] | m[x - dx]) & in[x - dx]) | 0xFF000000u;
        }
        for (; x <= box.right(); ++x)
            out[x] = (out[x] & in[x - dx]) | 0xFF000000u;
    }
}

void maskComposite(QImage& target, QPoint pos, const QImage& image, const QImage& mask,
                   QImage& /*scratch*/) {
    maskComposite(target, pos, image, mask);
}

void drawPixelArt(QPainter& painter, QPoint target, const QImage& image, const QRect& source) {
    if (image.isNull())
        return;
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    if (smooth)
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (source.isNull())
        painter.drawImage(target, image);
    else
        painter.drawImage(target, image, source);
    if (smooth)
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

qreal devicePixelRatioOf(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device ? device->devicePixelRatio() : 1.0;
}

QImage pixelArtAtRatio(const QImage& image, qreal ratio) {
    if (image.isNull() || !(ratio > 1.0))
        return image;
    const int width = static_cast<int>(std::ceil(image.width() * ratio - 1e-9));
    const int height = static_cast<int>(std::ceil(image.height() * ratio - 1e-9));
    // Pixels are copied as they are, so any 32-bit format keeps its meaning (alpha included).
    QImage source = image;
    const QImage::Format format = image.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        source = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                               : QImage::Format_RGB32);
    QImage scaled(width, height, source.format());
    if (scaled.isNull())
        return image;
    std::vector<int> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<size_t>(x)] =
            std::min(image.width() - 1, static_cast<int>(std::floor((x + 0.5) / ratio)));
    for (int y = 0; y < height; ++y) {
        const int sourceRow =
            std::min(image.height() - 1, static_cast<int>(std::floor((y + 0.5) / ratio)));
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(sourceRow));
        auto* out = reinterpret_cast<QRgb*>(scaled.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = in[columns[static_cast<size_t>(x)]];
    }
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

void drawPixelRun(QPainter& painter, QPoint from, QPoint to, const QColor& colour) {
    if (from.x() != to.x() && from.y() != to.y()) {
        painter.save();
        painter.setPen(colour);
        painter.drawLine(from, to);
        painter.restore();
        return;
    }
    painter.fillRect(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                           QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))),
                     colour);
}

void drawPixelOutline(QPainter& painter, const QRect& rect, const QColor& colour) {
    if (rect.width() < 0 || rect.height() < 0)
        return;
    const int left = rect.left();
    const int top = rect.top();
    const int right = left + rect.width();
    const int bottom = top + rect.height();
    drawPixelRun(painter, QPoint(left, top), QPoint(right, top), colour);
    drawPixelRun(painter, QPoint(left, bottom), QPoint(right, bottom), colour);
    drawPixelRun(painter, QPoint(left, top), QPoint(left, bottom), colour);
    drawPixelRun(painter, QPoint(right, top), QPoint(right, bottom), colour);
}

} // namespace tarnell::platform
