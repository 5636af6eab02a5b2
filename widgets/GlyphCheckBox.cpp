#include "GlyphCheckBox.h"

#include "platform/Resources.h"
#include "platform/drawing/Drawing.h"
#include "platform/drawing/Fonts.h"
#include "widgets/buttons/ButtonGlyphs.h"

#include <QPainter>

namespace tarnell {

TGlyphCheckBox::TGlyphCheckBox(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setFont(platform::programFont(false));
    setText(caption);
    replaceGlyphs(platform::loadBitmap(QStringLiteral("CHECK_ON")),
                  platform::loadBitmap(QStringLiteral("CHECK_OFF")),
                  platform::loadBitmap(QStringLiteral("CHECK_DIS")));
}

QImage TGlyphCheckBox::keyed(const QImage& glyph) {
    if (glyph.isNull())
        return {};
    return cutGlyphImage(glyph, 0, 1, glyph.pixel(0, glyph.height() - 1) | 0xFF000000u);
}

void TGlyphCheckBox::replaceGlyphs(const QImage& on, const QImage& off, const QImage& disabled) {
    on_ = keyed(on);
    off_ = keyed(off);
    disabled_ = keyed(disabled);
    update();
}

void TGlyphCheckBox::setCaptionStyle(CaptionStyle style) {
    if (style == captionStyle_)
        return;
    captionStyle_ = style;
    update();
}

void TGlyphCheckBox::setFontColor(platform::TColor color) {
    if (color == fontColor_)
        return;
    fontColor_ = color;
    update();
}

void TGlyphCheckBox::setHighlightColor(platform::TColor color) {
    if (color == highlightColor_)
        return;
    highlightColor_ = color;
    update();
}

void TGlyphCheckBox::setShadowColor(platform::TColor color) {
    if (color == shadowColor_)
        return;
    shadowColor_ = color;
    update();
}

QRect TGlyphCheckBox::glyphRect() const {
    const QSize glyph = on_.isNull() ? QSize(14, 14) : on_.size();
    return QRect(QPoint(0, (height() - glyph.height() + 1) / 2), glyph);
}

QRect TGlyphCheckBox::captionRect() const {
    const int left = glyphRect().right() + 1 + GlyphSpacing;
    return QRect(left, 0, std::max(0, width() - left), height());
}

QSize TGlyphCheckBox::sizeHint() const {
    const QSize caption = fontMetrics().size(Qt::TextShowMnemonic, text());
    const QRect glyph = glyphRect();
    return {glyph.width() + GlyphSpacing + caption.width() + 2,
            std::max(glyph.height(), caption.height() + 2)};
}

void TGlyphCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& glyph = !isEnabled() ? disabled_ : isChecked() ? on_ : off_;
    if (!glyph.isNull())
        platform::drawPixelArt(painter, glyphRect().topLeft(), glyph);

    if (text().isEmpty())
        return;
    painter.setFont(font());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine |
                      Qt::TextDontClip;
    const QRect place = captionRect().adjusted(1, 0, -1, 0);
    // Raised: light edge above and left, dark edge below and right; recessed the other way.
    const int darkOffset = captionStyle_ == CaptionStyle::Raised ? 1 : -1;
    if (highlightColor_ != NoColor) {
        painter.setPen(platform::toQColor(highlightColor_));
        painter.drawText(place.translated(-darkOffset, -darkOffset), flags, text());
    }
    if (shadowColor_ != NoColor) {
        painter.setPen(platform::toQColor(shadowColor_));
        painter.drawText(place.translated(darkOffset, darkOffset), flags, text());
    }
    painter.setPen(platform::toQColor(isEnabled() ? fontColor_ : platform::clGrayText));
    painter.drawText(place, flags, text());
}

void TGlyphCheckBox::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    emit OnMouseEnter();
}

void TGlyphCheckBox::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    emit OnMouseLeave();
}

} // namespace tarnell
