#include "Bevel.h"

#include "platform/drawing/Colors.h"
#include "platform/drawing/Drawing.h"

#include <QPainter>

namespace tarnell {

namespace {

QColor shadow() {
    return platform::toQColor(platform::clBtnShadow);
}
QColor highlight() {
    return platform::toQColor(platform::clBtnHighlight);
}

void run(QPainter& painter, const QColor& colour, int x1, int y1, int x2, int y2) {
    platform::drawPixelRun(painter, QPoint(x1, y1), QPoint(x2, y2), colour);
}

} // namespace

void drawFrame3D(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom) {
    if (rect.width() < 1 || rect.height() < 1)
        return;
    const int left = rect.left();
    const int topY = rect.top();
    const int right = rect.right();
    const int bottomY = rect.bottom();
    run(painter, top, left, topY, left, bottomY - 1);
    run(painter, top, left, topY, right - 1, topY);
    run(painter, bottom, right, topY, right, bottomY);
    run(painter, bottom, left, bottomY, right, bottomY);
}

TBevel::TBevel(QWidget* parent, Shape shape) : QWidget(parent), shape_(shape) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void TBevel::paintEvent(QPaintEvent* /*event*/) {
    if (width() < 2 || height() < 2)
        return;
    QPainter painter(this);
    if (shape_ == Shape::Box) {
        const int right = width() - 1;
        const int bottom = height() - 1;
        run(painter, highlight(), right, 0, right, bottom - 1);
        run(painter, highlight(), 1, bottom, right, bottom);
        run(painter, shadow(), 0, 0, 0, bottom);
        run(painter, shadow(), 0, 0, right - 1, 0);
        return;
    }
    // Outlines one pixel wide: the dark one covers 0 .. w-2, the white one 1 .. w-1; the
    // white one first, so that the dark one stays on top where they cross.
    const QSize outline(width() - 2, height() - 2);
    platform::drawPixelOutline(painter, QRect(QPoint(1, 1), outline), highlight());
    platform::drawPixelOutline(painter, QRect(QPoint(0, 0), outline), shadow());
}

TBevelPanel::TBevelPanel(const QColor& colour, QWidget* parent) : QWidget(parent), colour_(colour) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBevelPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
    drawFrame3D(painter, rect(), highlight(), shadow());
    drawFrame3D(painter, rect().adjusted(1, 1, -1, -1), shadow(), highlight());
}

} // namespace tarnell
