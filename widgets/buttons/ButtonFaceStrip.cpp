#include "ButtonFaceStrip.h"

#include "ButtonFaceDrawing.h"
#include "platform/Resources.h"

#include <QEnterEvent>
#include <cmath>

namespace tarnell {

namespace {
QSize stripButtonSize(const QString& sizeStrip, QSize fallback) {
    const QImage strip = platform::loadBitmap(sizeStrip);
    if (strip.isNull())
        return fallback;
    return {static_cast<int>(std::lround(strip.width() / 4.0)), strip.height()};
}
} // namespace

TStripFaceButton::TStripFaceButton(GlyphImageStore& store, const QStringList& stripNames,
                                   int firstSelected, const QString& sizeStrip, QSize fallbackSize,
                                   QWidget* parent)
    : TFaceButton(store, stripButtonSize(sizeStrip, fallbackSize), parent),
      firstSelected_(firstSelected) {
    strips_.reserve(static_cast<size_t>(stripNames.size()));
    for (const QString& name : stripNames)
        strips_.push_back(platform::loadBitmap(name));
    setCaption(QString());
}

void TStripFaceButton::setSelected(int value) {
    if (value == selected_)
        return;
    selected_ = value;
    refreshAccessibleName();
    update();
}

void TStripFaceButton::setFaceWords(const QStringList& words) {
    faceWords_ = words;
    refreshAccessibleName();
}

QString TStripFaceButton::faceText() const {
    const qsizetype index = selected_ - firstSelected_;
    if (index < 0 || index >= faceWords_.size() || index > lastSelected() - firstSelected_)
        return {};
    return faceWords_.at(index);
}

QImage TStripFaceButton::selectedStrip() const {
    if (selected_ < firstSelected_ || selected_ > lastSelected())
        return {};
    return strips_[static_cast<size_t>(selected_ - firstSelected_)];
}

void TStripFaceButton::replaceFaceStrip(int selected, const QImage& strip) {
    if (selected < firstSelected_ || selected > lastSelected())
        return;
    strips_[static_cast<size_t>(selected - firstSelected_)] =
        strip.convertToFormat(QImage::Format_RGB32);
    update();
}

void TStripFaceButton::paintFace(QImage& surface, bool pressed) {
    const QImage strip = selectedStrip();
    if (strip.isNull())
        return;
    drawStripFrame(surface, strip, isActiveButton() ? FaceFrame::Active : FaceFrame::Normal);
    if (pressed)
        drawStripFrame(surface, strip, FaceFrame::Pressed);
    if (!isEnabled())
        drawStripFrame(surface, strip, FaceFrame::Disabled);
}

void TStripFaceButton::enterEvent(QEnterEvent* event) {
    TFaceButton::enterEvent(event);
    emit OnMouseEnter();
}

void TStripFaceButton::leaveEvent(QEvent* event) {
    TFaceButton::leaveEvent(event);
    emit OnMouseLeave();
}

} // namespace tarnell
