#include "LeftStrip.h"

#include "SkinFrame.h"

#include <QPainter>

namespace tarnell {

TLeftStrip::TLeftStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    // The gradient covers every pixel, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void TLeftStrip::setOverlay(Overlay overlay) {
    overlay_ = std::move(overlay);
    update();
}

void TLeftStrip::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintBox1Paint(painter);
}

void TLeftStrip::PaintBox1Paint(QPainter& painter) {
    skin::paintLeftStrip(painter, rect());
    if (overlay_)
        overlay_(painter);
}

} // namespace tarnell
