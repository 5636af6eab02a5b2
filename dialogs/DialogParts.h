// What the four dialogs share: the picture with a transparent ground, the sunken text box,
// the self-sizing labels and the dialog window with its grey panel, frame line, picture and
// push buttons.
#pragma once

#include "dialogs/DialogHost.h"
#include "platform/drawing/Colors.h"
#include "skin/SkinnedForm.h"
#include "widgets/Bevel.h"
#include "widgets/ShadowLabel.h"

#include <QImage>
#include <QLineEdit>
#include <QWidget>
#include <vector>

namespace tarnell {

class Tmybitbut;

// A picture (Image1, Image2, ...): a bitmap drawn at the top-left of the control. A transparent
// picture leaves out every pixel of the colour of the bitmap's bottom-left pixel.
class TPictureBox : public QWidget {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    // The bitmap as it is drawn (transparent pixels with alpha 0).
    const QImage& picture() const { return shown_; }
    void setPicture(const QImage& bitmap);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    // With AutoSize the control takes the size of its bitmap.
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuild();

    QImage bitmap_;
    QImage shown_;
    bool transparent_ = false;
    bool autoSize_ = false;
};

// A one-line text box with the sunken two-pixel edge of the classic desktop: dark grey and
// white outside, black and light grey inside, around a white field in the window font.
class TSunkenEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int EdgeWidth = 2;
    explicit TSunkenEdit(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Sets a label's caption and sizes the label to it (the dialogs' labels size themselves).
void setLabelCaption(TShadowLabel& label, const QString& caption);

// The dialog window: a skinned, stay-on-top, non-modal window holding Panel2 (372 or 302
// pixels wide, grey 148) at 48, 32 with Bevel1 and the picture Image1 (the yellow block
// exclamation mark) at 8, 8. Its close, by any route, sets the open-dialog marker to 0.
// Closing hides the window; the owner destroys it when it opens the next dialog of its kind.
class TDialogForm : public TSkinnedForm {
    Q_OBJECT
public:
    static constexpr QPoint PanelPos{48, 32};
    static constexpr QPoint BevelPos{2, 2};
    static constexpr QPoint PicturePos{8, 8};
    static constexpr QSize PictureSize{32, 32};
    static constexpr QSize ButtonSize{97, 25};
    static inline const QColor PanelColour{148, 148, 148};

    // The label colours of the dialogs.
    static constexpr platform::TColor Yellow = platform::clYellow;
    static constexpr platform::TColor White = platform::clWhite;
    static constexpr platform::TColor Aqua = platform::clAqua;
    static constexpr platform::TColor Lime = platform::clLime;

    QWidget* Panel2 = nullptr;
    TBevel* Bevel1 = nullptr;
    TPictureBox* Image1 = nullptr;

protected:
    struct Layout {
        TSkinLayout skin; // isDialog is set by the dialog window itself
        QSize panelSize;
        QSize bevelSize;
    };
    TDialogForm(Layout layout, TDialogHost& host);

    TDialogHost& host() const { return host_; }

    // Creation steps shared by every dialog: the window centred on the usable screen area...
    void centreOnScreen();
    // ...and, last, the panel's grey, then the window shown on top of all others.
    void showOnTop();

    // Controls on Panel2.
    TShadowLabel* addLabel(const char* name, const QString& caption, platform::TColor colour,
                           QPoint pos);
    // A push button 97 x 25 with the glyph bitmap of that name (two 18 x 18 images).
    Tmybitbut* addButton(const char* name, const QString& caption, const QString& glyphName,
                         QPoint pos);
    // A one-line text box in the window font, black on white: with the sunken edge, or
    // without any border.
    QLineEdit* addTextBox(const char* name, const QRect& rect, bool sunken);
    // A picture of the embedded bitmap of that name.
    TPictureBox* addPicture(const char* name, const QString& bitmapName, QPoint pos,
                            bool transparent);
    // Labels drawn side by side ("Number of foxes:" and "5") that a screen reader reads as one
    // line when the dialog opens; a label alone of fewer than three words would be skipped.
    // The first label carries the line, the others go nameless so nothing is said twice. The
    // names are given when the window shows, once every caption is set.
    void speakAsOneLine(std::vector<TShadowLabel*> parts);

    void FormClose() override;
    // Alt+F4 is the platform's close command, also where no window manager gives it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    static TSkinLayout dialogSkin(TSkinLayout skin);

    TDialogHost& host_;
    std::vector<std::vector<TShadowLabel*>> spokenLines_;
};

} // namespace tarnell
