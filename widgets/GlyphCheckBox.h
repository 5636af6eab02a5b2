// A check box drawn with its own 14 x 14 glyphs for on, off and disabled, on a transparent
// ground, whose caption is shown raised or recessed. It never takes the focus itself: a
// keyboard handle of its owner does that for it.
#pragma once

#include "platform/drawing/Colors.h"

#include <QAbstractButton>
#include <QImage>

namespace tarnell {

class TGlyphCheckBox : public QAbstractButton {
    Q_OBJECT
public:
    enum class CaptionStyle { Raised, Recessed };
    // Gap between the glyph and the caption.
    static constexpr int GlyphSpacing = 4;

    explicit TGlyphCheckBox(const QString& caption = QString(), QWidget* parent = nullptr);

    CaptionStyle captionStyle() const { return captionStyle_; }
    void setCaptionStyle(CaptionStyle style);
    // Replaces the glyphs CHECK_ON, CHECK_OFF and CHECK_DIS; each one's bottom-left pixel
    // colour is transparent.
    void replaceGlyphs(const QImage& on, const QImage& off, const QImage& disabled);
    platform::TColor FontColor() const { return fontColor_; }
    void setFontColor(platform::TColor color);
    // The caption's dark edge (below and right when raised, above and left when recessed) and
    // its light edge on the other side; a colour of NoColor leaves that edge out.
    static constexpr platform::TColor NoColor = 0x1FFFFFFFu;
    platform::TColor HighlightColor() const { return highlightColor_; }
    void setHighlightColor(platform::TColor color);
    platform::TColor ShadowColor() const { return shadowColor_; }
    void setShadowColor(platform::TColor color);

    // Where the glyph and the caption are drawn.
    QRect glyphRect() const;
    QRect captionRect() const;

    QSize sizeHint() const override;

signals:
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    static QImage keyed(const QImage& glyph);

    QImage on_;
    QImage off_;
    QImage disabled_;
    CaptionStyle captionStyle_ = CaptionStyle::Raised;
    platform::TColor fontColor_ = platform::clWhite;
    platform::TColor highlightColor_ = NoColor;
    platform::TColor shadowColor_ = platform::clBlack;
};

} // namespace tarnell
