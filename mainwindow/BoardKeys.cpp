#include "BoardKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

namespace tarnell {

std::optional<TBoardKey> boardKey(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (key.key()) {
    case Qt::Key_Up:
        return TBoardKey{TBoardKey::Action::Move, QPoint(0, -1)};
    case Qt::Key_Down:
        return TBoardKey{TBoardKey::Action::Move, QPoint(0, 1)};
    case Qt::Key_Left:
        return TBoardKey{TBoardKey::Action::Move, QPoint(-1, 0)};
    case Qt::Key_Right:
        return TBoardKey{TBoardKey::Action::Move, QPoint(1, 0)};
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TBoardKey{TBoardKey::Action::Open, QPoint()};
    case Qt::Key_I:
        return TBoardKey{TBoardKey::Action::TellNumbers, QPoint()};
    default:
        return std::nullopt;
    }
}

TBoardKeys::TBoardKeys(std::vector<QWidget*> targets, QObject* parent)
    : QObject(parent), targets_(std::move(targets)) {
    for (QWidget* target : targets_)
        target->installEventFilter(this);
}

bool TBoardKeys::keyboardOnBoard() const {
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->isActiveWindow() &&
           std::find(targets_.begin(), targets_.end(), focus) != targets_.end();
}

bool TBoardKeys::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        emit keyboardArrived();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const std::optional<TBoardKey> wanted = boardKey(key);
    if (!wanted)
        return false;
    event->accept();
    if (wanted->action == TBoardKey::Action::Move) {
        emit moveRequested(wanted->step.y(), wanted->step.x());
    } else if (wanted->action == TBoardKey::Action::TellNumbers) {
        if (!key.isAutoRepeat())
            emit numbersRequested();
    } else if (!key.isAutoRepeat()) {
        // A held key opens once, as a held mouse button clicks once.
        emit openRequested();
    }
    return true;
}

} // namespace tarnell
