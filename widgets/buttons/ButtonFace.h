// The common part of the skinned push buttons: the glyph-button properties, the active flag
// that follows the push-button focus rule, the keyboard (Enter, Escape, accelerators) and the
// content drawn on every face. Each button class paints its own face under the content.
//
// A click emits QAbstractButton::clicked(). Before any owner's handler runs, the button hands
// ModalResult to its window (the window's "ModalResult" property; a modal QDialog is ended
// with it when it is not 0), and a bkClose button closes its window.
#pragma once

#include "ButtonGlyphs.h"

#include <QAbstractButton>
#include <QImage>

namespace tarnell {

class TFaceButton : public QAbstractButton {
    Q_OBJECT
public:
    ~TFaceButton() override;

    bool Cancel() const { return cancel_; }
    void setCancel(bool value) { cancel_ = value; }
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool Default() const { return default_; }
    void setDefault(bool value);
    const QImage& Glyph() const { return glyph_.glyph(); }
    void setGlyph(const QImage& bitmap);
    // bkCustom as soon as caption, glyph, modal result, Default or Cancel leave the standard.
    TmybitbutKind Kind() const;
    void setKind(TmybitbutKind kind);
    TButtonLayout Layout() const { return layout_; }
    void setLayout(TButtonLayout layout);
    using QWidget::setLayout;
    int Margin() const { return margin_; }
    // Values below -1 are ignored; -1 centres the content.
    void setMargin(int margin);
    int ModalResult() const { return modalResult_; }
    void setModalResult(int value) { modalResult_ = value; }
    int NumGlyphs() const { return glyph_.numGlyphs(); }
    // Kept within 1 to 4.
    void setNumGlyphs(int value);
    int Spacing() const { return spacing_; }
    void setSpacing(int spacing);

    // Whether Tab reaches the button; without it a click or the owner can still focus it.
    bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
    void setTabStop(bool tabStop) { setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus); }

    // True while the button is the window's active button: it shows the active face.
    bool isActiveButton() const { return active_; }
    // Sets the active flag from the window's focus control: for a window that is not active,
    // whose focus moves Qt does not report.
    void updateActiveFromFocus();
    // Whether the button could take the keyboard focus now (keyboard clicks need it).
    bool canTakeFocus() const;

    QSize sizeHint() const override;

    // The owner-drawn face with its content, as paintEvent shows it. Above a device pixel
    // ratio of 1 the face and glyph are enlarged in sharp blocks and the caption is drawn on
    // them at the device's resolution (the image carries the ratio).
    QImage renderFace(qreal devicePixelRatio = 1.0);

signals:
    void OnEnter();
    void OnExit();

protected:
    TFaceButton(GlyphImageStore& store, QSize initialSize, QWidget* parent);

    // The words a face shows in its own pixels (a lettered strip); none by default.
    virtual QString faceText() const { return {}; }
    // Names the button for assistive technology by what it shows: its caption, else the
    // words on its face, else its hint (tool tip). A name the owner has set stays.
    void refreshAccessibleName();

    // Paints the face (everything beneath glyph and caption) onto surface.
    virtual void paintFace(QImage& surface, bool pressed) = 0;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    GlyphAndCaptionPlace placeContent(bool pressed) const;
    void drawGlyph(QPainter& painter, const GlyphAndCaptionPlace& place, bool pressed);
    void drawCaption(QPainter& painter, const GlyphAndCaptionPlace& place) const;
    void focusMoved(QWidget* now);
    void attachKeyboard();
    void setActiveFlag(bool active);
    void runClickAction();

    TButtonGlyph glyph_;
    QString caption_;
    bool cancel_ = false;
    bool default_ = false;
    bool active_ = false;
    TmybitbutKind kind_ = bkCustom;
    bool glyphModified_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    int modalResult_ = 0;
    QSize initialSize_;
    int acceleratorShortcut_ = 0;
    QString automaticName_;        // the accessible name refreshAccessibleName gave
    QString automaticDescription_; // and the description
    QMetaObject::Connection focusWatch_;
};

// The accelerator of a caption: the character after a single '&' ("&&" is a literal '&'),
// upper-cased; a null character when there is none.
QChar captionAccelerator(const QString& caption);
// The caption as shown, without the accelerator marks.
QString captionWithoutAccelerator(const QString& caption);

} // namespace tarnell
