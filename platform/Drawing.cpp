#include "Drawing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace platform {

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
        const QRect piece = vertical ? QRect(rect.left(), rect.top() + k * band, rect.width(), band)
                                     : QRect(rect.left() + k * band, rect.top(), band, rect.height());
        painter.fillRect(piece, colour);
    }
    const int tail = length - band * n;
    if (tail > 0) {
        const QRect piece =
            vertical ? QRect(rect.left(), rect.bottom() + 1 - tail, rect.width(), tail)
                     : QRect(rect.right() + 1 - tail, rect.top(), tail, rect.height());
        painter.fillRect(piece, end);
    }
}

void maskComposite(QImage& target, QPoint pos, const QImage& image, const QImage& mask,
                   QImage& scratch) {
    const QSize size = image.size();
    if (scratch.size() != size || scratch.format() != QImage::Format_RGB32)
        scratch = QImage(size, QImage::Format_RGB32);
    const QRect box(pos, size);
    // A pixel of the box outside the target stays black in scratch and is clipped on copy back.
    scratch.fill(Qt::black);
    QPainter painter(&scratch);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), target, box);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(QPoint(0, 0), mask);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(QPoint(0, 0), image);
    painter.end();
    QPainter back(&target);
    back.setCompositionMode(QPainter::CompositionMode_Source);
    back.drawImage(pos, scratch);
}

} // namespace platform
