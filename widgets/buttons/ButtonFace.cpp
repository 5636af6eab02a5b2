#include "ButtonFace.h"

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcutEvent>

#include "platform/drawing/Drawing.h"
#include "platform/drawing/Fonts.h"

namespace tarnell {

namespace {

bool isPushButton(const QWidget* widget) {
    return qobject_cast<const TFaceButton*>(widget) != nullptr ||
           qobject_cast<const QPushButton*>(widget) != nullptr;
}

// Watches the key presses that reach a window unhandled (the focused control did not want
// them) and turns Enter, Escape and accelerator letters into clicks of that window's buttons.
class DialogKeyDispatcher : public QObject {
public:
    explicit DialogKeyDispatcher(QWidget* window) : QObject(window), window_(window) {
        setObjectName(name());
        window->installEventFilter(this);
    }

    static void attachTo(QWidget* window) {
        if (window->findChild<QObject*>(name(), Qt::FindDirectChildrenOnly) == nullptr)
            new DialogKeyDispatcher(window);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_ || event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (TFaceButton* button = buttonFor(*key)) {
            button->click();
            key->accept();
            return true;
        }
        return false;
    }

private:
    static QString name() { return QStringLiteral("tarnell-dialog-key-dispatcher"); }

    TFaceButton* buttonFor(const QKeyEvent& key) const {
        const Qt::KeyboardModifiers shiftState =
            key.modifiers() &
            (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        const QList<TFaceButton*> buttons = window_->findChildren<TFaceButton*>();
        auto first = [&](auto&& wanted) -> TFaceButton* {
            for (TFaceButton* button : buttons)
                if (button->window() == window_ && button->canTakeFocus() && wanted(*button))
                    return button;
            return nullptr;
        };
        if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
            if (shiftState != Qt::NoModifier)
                return nullptr;
            return first([](const TFaceButton& b) { return b.isActiveButton(); });
        }
        if (key.key() == Qt::Key_Escape) {
            if (shiftState != Qt::NoModifier)
                return nullptr;
            return first([](const TFaceButton& b) { return b.Cancel(); });
        }
        // Alt with the letter is a shortcut of the button itself (see setCaption).
        if (shiftState & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return nullptr;
        const QChar pressed = pressedCharacter(key);
        if (pressed.isNull())
            return nullptr;
        return first(
            [pressed](const TFaceButton& b) { return captionAccelerator(b.Caption()) == pressed; });
    }

    static QChar pressedCharacter(const QKeyEvent& key) {
        if ((key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) ||
            (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9))
            return QChar(key.key());
        const QString text = key.text();
        if (text.size() == 1 && text.at(0).isPrint())
            return text.at(0).toUpper();
        return {};
    }

    QWidget* window_;
};

} // namespace

QChar captionAccelerator(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (caption.at(i + 1) != QLatin1Char('&'))
            return caption.at(i + 1).toUpper();
        ++i;
    }
    return {};
}

QString captionWithoutAccelerator(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown.append(caption.at(i));
    }
    return shown;
}

TFaceButton::TFaceButton(GlyphImageStore& store, QSize initialSize, QWidget* parent)
    : QAbstractButton(parent), glyph_(store), initialSize_(initialSize) {
    setFont(platform::programFont(false));
    setFocusPolicy(Qt::StrongFocus);
    resize(initialSize);
    // Connected before any owner connects, so the modal result is set before its handlers run.
    connect(this, &QAbstractButton::clicked, this, &TFaceButton::runClickAction);
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                          [this](QWidget*, QWidget* now) { focusMoved(now); });
}

// QWidget's destructor gives the focus away and so announces a focus change; by then this
// button is only half there, so it must stop listening first.
TFaceButton::~TFaceButton() {
    disconnect(focusWatch_);
}

void TFaceButton::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    refreshAccessibleName();
    if (acceleratorShortcut_ != 0)
        releaseShortcut(acceleratorShortcut_);
    acceleratorShortcut_ = 0;
    const QChar accelerator = captionAccelerator(caption);
    if (!accelerator.isNull())
        acceleratorShortcut_ = grabShortcut(
            QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(accelerator.unicode()))));
    update();
}

void TFaceButton::refreshAccessibleName() {
    QString name = captionWithoutAccelerator(caption_);
    if (name.isEmpty())
        name = faceText();
    if (name.isEmpty())
        name = toolTip().trimmed();
    const QString current = accessibleName();
    if (!current.isEmpty() && current != automaticName_)
        return;
    automaticName_ = name;
    if (name != current)
        setAccessibleName(name);
    // A screen reader says the description (the hint) after the name unless the two are the
    // same: a hint that differs from its name by blanks alone would be said twice.
    const QString description = toolTip().trimmed() == name ? name : QString();
    if (accessibleDescription() != description &&
        (accessibleDescription().isEmpty() || accessibleDescription() == automaticDescription_)) {
        automaticDescription_ = description;
        setAccessibleDescription(description);
    }
}

void TFaceButton::setDefault(bool value) {
    if (value == default_)
        return;
    default_ = value;
    updateActiveFromFocus();
}

void TFaceButton::setGlyph(const QImage& bitmap) {
    glyph_.setGlyph(bitmap);
    glyphModified_ = true;
    update();
}

TmybitbutKind TFaceButton::Kind() const {
    if (kind_ == bkCustom)
        return bkCustom;
    const StandardKind& standard = standardKind(kind_);
    if (glyphModified_ || caption_ != standard.caption || modalResult_ != standard.modalResult ||
        default_ != standard.isDefault || cancel_ != standard.isCancel)
        return bkCustom;
    return kind_;
}

void TFaceButton::setKind(TmybitbutKind kind) {
    if (kind < bkCustom || kind > bkAll)
        return;
    kind_ = kind;
    if (kind == bkCustom)
        return;
    const StandardKind& standard = standardKind(kind);
    setCaption(standard.caption);
    modalResult_ = standard.modalResult;
    setDefault(standard.isDefault);
    cancel_ = standard.isCancel;
    glyph_.setGlyph(glyph_.store().kindGlyph(kind));
    glyphModified_ = false;
    update();
}

void TFaceButton::setLayout(TButtonLayout layout) {
    if (layout == layout_)
        return;
    layout_ = layout;
    update();
}

void TFaceButton::setMargin(int margin) {
    if (margin < -1 || margin == margin_)
        return;
    margin_ = margin;
    update();
}

void TFaceButton::setNumGlyphs(int value) {
    if (glyph_.setNumGlyphs(value))
        update();
}

void TFaceButton::setSpacing(int spacing) {
    if (spacing == spacing_)
        return;
    spacing_ = spacing;
    update();
}

bool TFaceButton::canTakeFocus() const {
    return isVisible() && isEnabled() && focusPolicy() != Qt::NoFocus;
}

QSize TFaceButton::sizeHint() const {
    return initialSize_;
}

QImage TFaceButton::renderFace(qreal devicePixelRatio) {
    if (width() <= 0 || height() <= 0)
        return {};
    QImage surface(size(), QImage::Format_RGB32);
    surface.fill(palette().color(QPalette::Button));
    const bool pressed = isDown();
    paintFace(surface, pressed);
    const GlyphAndCaptionPlace place = placeContent(pressed);
    QPainter painter(&surface);
    drawGlyph(painter, place, pressed);
    if (devicePixelRatio > 1.0) {
        // The caption goes onto the enlarged face, so that it is not enlarged itself.
        painter.end();
        surface = platform::pixelArtAtRatio(surface, devicePixelRatio);
        painter.begin(&surface);
    }
    drawCaption(painter, place);
    return surface;
}

void TFaceButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage surface = renderFace(platform::devicePixelRatioOf(painter));
    if (!surface.isNull())
        platform::drawPixelArt(painter, QPoint(0, 0), surface);
}

GlyphAndCaptionPlace TFaceButton::placeContent(bool pressed) const {
    QRect client = rect();
    if (pressed)
        client.translate(1, 1);
    const QFontMetrics metrics(font());
    const QSize captionSize =
        caption_.isEmpty() ? QSize(0, 0)
                           : metrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, caption_);
    return layoutGlyphAndCaption(client, glyph_.imageSize(), captionSize, layout_, margin_,
                                 spacing_);
}

void TFaceButton::drawGlyph(QPainter& painter, const GlyphAndCaptionPlace& place, bool pressed) {
    const GlyphState state = !isEnabled() ? GlyphState::Disabled
                             : pressed    ? GlyphState::Pressed
                                          : GlyphState::Up;
    const QImage image = glyph_.image(state);
    if (!image.isNull())
        painter.drawImage(place.glyph, image);
}

void TFaceButton::drawCaption(QPainter& painter, const GlyphAndCaptionPlace& place) const {
    if (caption_.isEmpty())
        return;
    painter.setFont(font());
    const int flags =
        Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine | Qt::TextDontClip;
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
        painter.drawText(place.caption, flags, caption_);
    } else {
        painter.setPen(QColor(255, 255, 255));
        painter.drawText(place.caption.translated(1, 1), flags, caption_);
        painter.setPen(QColor(128, 128, 128));
        painter.drawText(place.caption, flags, caption_);
    }
}

bool TFaceButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTipChange)
        refreshAccessibleName();
    if (event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == acceleratorShortcut_ &&
        acceleratorShortcut_ != 0) {
        if (canTakeFocus())
            click();
        return true;
    }
    return QAbstractButton::event(event);
}

void TFaceButton::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    emit OnEnter();
}

void TFaceButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    emit OnExit();
}

void TFaceButton::showEvent(QShowEvent* event) {
    QAbstractButton::showEvent(event);
    attachKeyboard();
    updateActiveFromFocus();
}

void TFaceButton::attachKeyboard() {
    DialogKeyDispatcher::attachTo(window());
}

void TFaceButton::focusMoved(QWidget* now) {
    if (now == nullptr || now->window() != window())
        return;
    setActiveFlag(isPushButton(now) ? now == this : default_);
}

void TFaceButton::updateActiveFromFocus() {
    const QWidget* focus = window()->focusWidget();
    setActiveFlag(isPushButton(focus) ? focus == this : default_);
}

void TFaceButton::setActiveFlag(bool active) {
    if (active == active_)
        return;
    active_ = active;
    repaint();
}

void TFaceButton::runClickAction() {
    QWidget* form = window();
    if (Kind() == bkClose && form != this) {
        form->close();
        return;
    }
    form->setProperty("ModalResult", modalResult_);
    if (auto* dialog = qobject_cast<QDialog*>(form); dialog && dialog->isModal() && modalResult_)
        dialog->done(modalResult_);
}

} // namespace tarnell
