// The program's icon: a fox's head, centred for the disc it is clipped to in the corner
// recess. Its colours use only channel values that are multiples of 32 up to 224, the bits
// of the recess floor it is ANDed with, so the recess shows it unchanged.
#include "Art.h"

#include <QPainter>
#include <QPolygon>
#include <initializer_list>

namespace tarnell::generator {

namespace {

// The polygon and its mirror image about the icon's vertical axis.
QPolygon polygon(std::initializer_list<QPoint> points) {
    return QPolygon(QList<QPoint>(points));
}

QPolygon mirrored(const QPolygon& shape) {
    QPolygon result;
    for (const QPoint& p : shape)
        result << QPoint(32 - p.x(), p.y());
    return result;
}

void fillBoth(QPainter& painter, const QPolygon& shape, QColor colour) {
    painter.setBrush(colour);
    painter.drawPolygon(shape);
    painter.drawPolygon(mirrored(shape));
}

} // namespace

QImage DrawMainIcon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QColor coat(224, 128, 32);
    const QColor lit(224, 160, 64);
    const QColor shade(160, 64, 0);
    const QColor cheek(224, 224, 192);
    const QColor earInside(96, 32, 0);
    const QColor black(0, 0, 0);
    const QColor outline(64, 32, 0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        // Ears, the head, the white cheeks and muzzle, then the face's details.
        fillBoth(painter, polygon({{8, 5}, {15, 10}, {8, 16}}), coat);
        fillBoth(painter, polygon({{8, 7}, {13, 11}, {9, 14}}), earInside);
        fillBoth(painter, polygon({{7, 11}, {16, 8}, {16, 29}, {9, 23}, {4, 18}}), coat);
        painter.setBrush(lit);
        painter.drawPolygon(polygon({{8, 11}, {16, 9}, {16, 13}, {9, 15}}));
        fillBoth(painter, polygon({{4, 18}, {10, 19}, {14, 23}, {16, 24}, {16, 29}, {9, 23}}),
                 cheek);
        fillBoth(painter, polygon({{13, 13}, {16, 12}, {16, 22}, {14, 19}}), coat);
        painter.setBrush(shade);
        painter.drawPolygon(mirrored(polygon({{7, 11}, {10, 10}, {9, 13}, {5, 17}})));
        // Round, bright eyes: dark with a glint on the side of the light.
        fillBoth(painter, polygon({{10, 15}, {13, 15}, {13, 18}, {10, 18}}), black);
        painter.setBrush(cheek);
        painter.drawRect(10, 15, 1, 1);
        painter.drawRect(19, 15, 1, 1);
        fillBoth(painter, polygon({{14, 26}, {16, 25}, {16, 29}}), black);
    }
    // A dark outline around the whole head keeps it legible on the grey recess.
    QImage result = image;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                continue;
            bool touches = false;
            for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const QPoint n(x + d.x(), y + d.y());
                touches = touches || (image.rect().contains(n) && qAlpha(image.pixel(n)) != 0);
            }
            if (touches)
                result.setPixel(x, y, outline.rgba());
        }
    return result;
}

} // namespace tarnell::generator
