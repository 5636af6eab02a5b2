// The shadowed label: a caption of one or more lines with a copy in the shadow colour a few
// pixels aside, on a transparent or an opaque ground.
#pragma once

#include "platform/drawing/Colors.h"
#include "widgets/AccessibleWidgets.h"

#include <QWidget>

namespace tarnell {

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

class TShadowLabel : public QWidget, public TSpokenControl {
    Q_OBJECT
public:
    // Bold 8 pt, transparent, black shadow one pixel right and below, text in color: the look
    // of the game page's labels.
    explicit TShadowLabel(const QString& caption = QString(),
                          platform::TColor color = platform::clWindowText,
                          QWidget* parent = nullptr);

    // Opaque in its parent's colour, text in the window-text colour, shadow in the highlight
    // colour one pixel left and above: the look of the about page's labels.
    void useEngravedLook();

    QString Caption() const { return caption_; }
    // A '\n' starts a new line.
    void setCaption(const QString& caption);
    platform::TColor FontColor() const { return fontColor_; }
    void setFontColor(platform::TColor color);
    platform::TColor ShadowColor() const { return shadowColor_; }
    void setShadowColor(platform::TColor color);
    int ShadowSize() const { return shadowSize_; }
    // Negative values are ignored.
    void setShadowSize(int size);
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void setShadowPos(TShadowPosition position);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    platform::TColor Color() const { return color_; }
    // An opaque label fills itself with Color; setting it ends ParentColor.
    void setColor(platform::TColor color);
    // An opaque label in its parent's colour shows the parent's own ground beneath its text,
    // whatever way the parent paints it.
    bool ParentColor() const { return parentColor_; }
    void setParentColor(bool parentColor);
    bool WordWrap() const { return wordWrap_; }
    // Breaks the caption at blanks to fit the width.
    void setWordWrap(bool wordWrap);
    Qt::Alignment Alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);

    // Where the text and its shadow are drawn inside the label.
    QRect textRect() const;
    QRect shadowRect() const;

    QSize sizeHint() const override;
    // Static text, named by its caption.
    QAccessible::Role spokenRole() const override { return QAccessible::StaticText; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int textFlags() const;
    bool fillsItself() const { return !transparent_ && !parentColor_; }

    QString caption_;
    platform::TColor fontColor_;
    platform::TColor shadowColor_ = platform::clBlack;
    int shadowSize_ = 1;
    TShadowPosition shadowPos_ = spRightBottom;
    bool transparent_ = true;
    platform::TColor color_ = platform::clBtnFace;
    bool parentColor_ = true;
    bool wordWrap_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
};

} // namespace tarnell
