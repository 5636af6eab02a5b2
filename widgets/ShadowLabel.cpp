#include "ShadowLabel.h"

#include "platform/drawing/Fonts.h"

#include <QPainter>

namespace tarnell {

TShadowLabel::TShadowLabel(const QString& caption, platform::TColor color, QWidget* parent)
    : QWidget(parent), caption_(caption), fontColor_(color) {
    setFont(platform::programFont(true));
    setFocusPolicy(Qt::NoFocus);
    installAccessibleInterfaces();
    // Read aloud as one line: the line breaks only lay the caption out.
    setAccessibleName(caption.simplified());
}

void TShadowLabel::useEngravedLook() {
    transparent_ = false;
    parentColor_ = true;
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    fontColor_ = platform::clWindowText;
    shadowColor_ = platform::clBtnHighlight;
    shadowPos_ = spLeftTop;
    shadowSize_ = 1;
    update();
}

void TShadowLabel::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    setAccessibleName(caption.simplified());
    updateGeometry();
    update();
}

void TShadowLabel::setFontColor(platform::TColor color) {
    if (color == fontColor_)
        return;
    fontColor_ = color;
    update();
}

void TShadowLabel::setShadowColor(platform::TColor color) {
    if (color == shadowColor_)
        return;
    shadowColor_ = color;
    update();
}

void TShadowLabel::setShadowSize(int size) {
    if (size < 0 || size == shadowSize_)
        return;
    shadowSize_ = size;
    update();
}

void TShadowLabel::setShadowPos(TShadowPosition position) {
    if (position == shadowPos_)
        return;
    shadowPos_ = position;
    update();
}

void TShadowLabel::setTransparent(bool transparent) {
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    setAttribute(Qt::WA_OpaquePaintEvent, fillsItself());
    update();
}

void TShadowLabel::setColor(platform::TColor color) {
    if (color == color_ && !parentColor_)
        return;
    color_ = color;
    parentColor_ = false;
    setAttribute(Qt::WA_OpaquePaintEvent, fillsItself());
    update();
}

void TShadowLabel::setParentColor(bool parentColor) {
    if (parentColor == parentColor_)
        return;
    parentColor_ = parentColor;
    setAttribute(Qt::WA_OpaquePaintEvent, fillsItself());
    update();
}

void TShadowLabel::setWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_)
        return;
    wordWrap_ = wordWrap;
    update();
}

void TShadowLabel::setAlignment(Qt::Alignment alignment) {
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    update();
}

QRect TShadowLabel::textRect() const {
    const int s = shadowSize_;
    const bool left = shadowPos_ == spLeftTop || shadowPos_ == spLeftBottom;
    const bool top = shadowPos_ == spLeftTop || shadowPos_ == spRightTop;
    // The text gives way on the shadow's side so that the shadow stays inside the label.
    return rect().adjusted(left ? s : 0, top ? s : 0, left ? 0 : -s, top ? 0 : -s);
}

QRect TShadowLabel::shadowRect() const {
    const int s = shadowSize_;
    const bool left = shadowPos_ == spLeftTop || shadowPos_ == spLeftBottom;
    const bool top = shadowPos_ == spLeftTop || shadowPos_ == spRightTop;
    return textRect().translated(left ? -s : s, top ? -s : s);
}

int TShadowLabel::textFlags() const {
    return static_cast<int>(alignment_) | Qt::TextExpandTabs | Qt::TextDontClip |
           (wordWrap_ ? Qt::TextWordWrap : 0);
}

QSize TShadowLabel::sizeHint() const {
    const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, 10000, 10000),
                                                    textFlags() & ~Qt::TextWordWrap, caption_);
    return bounds.size() + QSize(shadowSize_, shadowSize_);
}

void TShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (fillsItself())
        painter.fillRect(rect(), platform::toQColor(color_));
    painter.setFont(font());
    if (shadowSize_ > 0) {
        painter.setPen(platform::toQColor(shadowColor_));
        painter.drawText(shadowRect(), textFlags(), caption_);
    }
    painter.setPen(platform::toQColor(isEnabled() ? fontColor_ : platform::clGrayText));
    painter.drawText(textRect(), textFlags(), caption_);
}

} // namespace tarnell
