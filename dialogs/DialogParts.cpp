#include "DialogParts.h"

#include "platform/Resources.h"
#include "platform/Screen.h"
#include "platform/drawing/Drawing.h"
#include "widgets/AccessibleWidgets.h"
#include "widgets/buttons/ButtonGlyphs.h"
#include "widgets/buttons/buts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStringList>
#include <QWindow>

namespace tarnell {

namespace {

// What a screen reader says for labels drawn side by side as one line: their captions joined
// by single blanks, read left to right.
QString spokenLine(const std::vector<TShadowLabel*>& parts) {
    QStringList captions;
    for (const TShadowLabel* part : parts)
        captions.append(part->Caption());
    return captions.join(QLatin1Char(' ')).simplified();
}

} // namespace

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void TPictureBox::setPicture(const QImage& bitmap) {
    bitmap_ = bitmap;
    rebuild();
}

void TPictureBox::setTransparent(bool transparent) {
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    rebuild();
}

void TPictureBox::setAutoSize(bool autoSize) {
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    rebuild();
}

void TPictureBox::rebuild() {
    if (bitmap_.isNull()) {
        shown_ = QImage();
    } else if (transparent_) {
        const QRgb ground = bitmap_.pixel(0, bitmap_.height() - 1);
        shown_ = cutGlyphImage(bitmap_, 0, 1, ground);
    } else {
        shown_ = bitmap_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    if (autoSize_ && !shown_.isNull())
        resize(shown_.size());
    update();
}

void TPictureBox::paintEvent(QPaintEvent*) {
    if (shown_.isNull())
        return;
    QPainter painter(this);
    platform::drawPixelArt(painter, QPoint(0, 0), shown_);
}

TSunkenEdit::TSunkenEdit(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setTextMargins(EdgeWidth, EdgeWidth, EdgeWidth, EdgeWidth);
}

void TSunkenEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    // Two rings: the outer one dark grey and white, the inner one black and light grey.
    const auto ring = [&](int inset, platform::TColor topLeft, platform::TColor bottomRight) {
        drawFrame3D(painter, rect().adjusted(inset, inset, -inset, -inset),
                    platform::toQColor(topLeft), platform::toQColor(bottomRight));
    };
    ring(0, platform::clBtnShadow, platform::clBtnHighlight);
    ring(1, platform::cl3DDkShadow, platform::cl3DLight);
}

void setLabelCaption(TShadowLabel& label, const QString& caption) {
    label.setCaption(caption);
    label.resize(label.sizeHint());
}

TSkinLayout TDialogForm::dialogSkin(TSkinLayout skin) {
    skin.isDialog = true;
    return skin;
}

TDialogForm::TDialogForm(Layout layout, TDialogHost& host)
    : TSkinnedForm(dialogSkin(layout.skin)), host_(host) {
    // A dialog, not an anonymous window: a screen reader reads its title and its lines when
    // it opens.
    setAccessibleRole(this, QAccessible::Dialog);
    // Closing only hides the window; its owner decides when it goes.
    setAttribute(Qt::WA_DeleteOnClose, false);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(QRect(PanelPos, layout.panelSize));
    Panel2->setAutoFillBackground(true);

    Bevel1 = new TBevel(Panel2);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(QRect(BevelPos, layout.bevelSize));

    Image1 = addPicture("Image1", QStringLiteral("PIC_WARNING"), PicturePos, true);
}

void TDialogForm::centreOnScreen() {
    move(platform::centredPosition(size()));
}

void TDialogForm::showOnTop() {
    QPalette palette = Panel2->palette();
    palette.setColor(QPalette::Window, PanelColour);
    Panel2->setPalette(palette);
    for (const std::vector<TShadowLabel*>& line : spokenLines_) {
        const QString spoken = spokenLine(line);
        for (TShadowLabel* part : line)
            part->setAccessibleName(part == line.front() ? spoken : QString());
    }
    show();
    raise();
    activateWindow();
}

TShadowLabel* TDialogForm::addLabel(const char* name, const QString& caption,
                                    platform::TColor colour, QPoint pos) {
    auto* label = new TShadowLabel(QString(), colour, Panel2);
    label->setObjectName(QLatin1String(name));
    label->move(pos);
    setLabelCaption(*label, caption);
    return label;
}

Tmybitbut* TDialogForm::addButton(const char* name, const QString& caption,
                                  const QString& glyphName, QPoint pos) {
    auto* button = new Tmybitbut(Panel2);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(QRect(pos, ButtonSize));
    button->setCaption(caption);
    button->setGlyph(platform::loadBitmap(glyphName));
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    return button;
}

QLineEdit* TDialogForm::addTextBox(const char* name, const QRect& rect, bool sunken) {
    QLineEdit* box = sunken ? new TSunkenEdit(Panel2) : new QLineEdit(Panel2);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(rect);
    box->setFrame(false);
    box->setFont(font());
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    box->setPalette(palette);
    return box;
}

TPictureBox* TDialogForm::addPicture(const char* name, const QString& bitmapName, QPoint pos,
                                     bool transparent) {
    auto* picture = new TPictureBox(Panel2);
    picture->setObjectName(QLatin1String(name));
    picture->setGeometry(QRect(pos, PictureSize));
    picture->setTransparent(transparent);
    picture->setPicture(platform::loadBitmap(bitmapName));
    return picture;
}

void TDialogForm::speakAsOneLine(std::vector<TShadowLabel*> parts) {
    if (!parts.empty())
        spokenLines_.push_back(std::move(parts));
}

void TDialogForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier)) {
        event->accept();
        close();
        return;
    }
    TSkinnedForm::keyPressEvent(event);
}

void TDialogForm::FormClose() {
    host_.SetOpenDialogMarker(odNone);
    // The keyboard goes back to the window the dialog stands over: without a window manager
    // nothing else would hand it back, and the keys would reach no window at all.
    if (!isActiveWindow() || !windowHandle())
        return;
    const QWindow* owner = windowHandle()->transientParent();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (owner && window->windowHandle() == owner && window->isVisible()) {
            window->activateWindow();
            return;
        }
    }
}

} // namespace tarnell
