#include "ButtonFaceStrip.h"

#include "ButtonFaceDrawing.h"
#include "platform/Resources.h"

#include <QEnterEvent>
#include <cmath>

namespace tarnell {

namespace {
QSize stripButtonSize(const QString& sizeStrip, QSize fallback) {
    const QSize strip = platform::bitmapSize(sizeStrip);
    if (!strip.isValid() || strip.isEmpty())
        return fallback;
    return {static_cast<int>(std::lround(strip.width() / 4.0)), strip.height()};
}
} // namespace

TStripFaceButton::TStripFaceButton(GlyphImageStore& store, const QStringList& stripNames,
                                   int firstSelected, const QString& sizeStrip, QSize fallbackSize,
                                   QWidget* parent)
    : TFaceButton(store, stripButtonSize(sizeStrip, fallbackSize), parent), stripNames_(stripNames),
      strips_(static_cast<size_t>(stripNames.size())),
      loaded_(static_cast<size_t>(stripNames.size()), false), firstSelected_(firstSelected) {
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
    // A button shows one strip for good: the others are loaded only if it is ever asked for
    // them, rather than held in memory by every button of the class.
    const auto index = static_cast<size_t>(selected_ - firstSelected_);
    if (!loaded_[index]) {
        strips_[index] = platform::loadBitmap(stripNames_[static_cast<qsizetype>(index)]);
        loaded_[index] = true;
    }
    return strips_[index];
}

void TStripFaceButton::replaceFaceStrip(int selected, const QImage& strip) {
    if (selected < firstSelected_ || selected > lastSelected())
        return;
    const auto index = static_cast<size_t>(selected - firstSelected_);
    strips_[index] = strip.convertToFormat(QImage::Format_RGB32);
    loaded_[index] = true;
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
