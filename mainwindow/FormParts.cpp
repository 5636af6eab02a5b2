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

void TImagelessButton::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    emit OnEnter();
}

void TImagelessButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    emit OnExit();
}

} // namespace tarnell
