#include "FormParts.h"

#include <QKeyEvent>

namespace tarnell {

TImagelessButton::TImagelessButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void TImagelessButton::paintEvent(QPaintEvent* /*event*/) {}

void TImagelessButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

// The window losing or regaining the activation takes the focus away from the window and
// gives it back to the same control: that is no move between controls.
void TImagelessButton::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason)
        emit OnEnter();
}

void TImagelessButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason)
        emit OnExit();
}

} // namespace tarnell
