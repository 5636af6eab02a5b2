#include "BoardKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

namespace tarnell {

namespace {

TBoardKey jumpTo(TJump jump) {
    return TBoardKey{TBoardKey::Action::Jump, QPoint(), true, jump};
}

TBoardKey ask(TQuestion question) {
    return TBoardKey{TBoardKey::Action::Ask, QPoint(), true, TJump::RowStart, question};
}

} // namespace

std::optional<TBoardKey> boardKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    if (modifiers & Qt::ControlModifier) {
        // Ctrl+N, Ctrl+F1 and the like belong to the window.
        if (key.key() == Qt::Key_Home)
            return jumpTo(TJump::BoardStart);
        if (key.key() == Qt::Key_End)
            return jumpTo(TJump::BoardEnd);
        return std::nullopt;
    }
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
        return ask(TQuestion::Numbers);
    case Qt::Key_C:
        return ask(TQuestion::CurrentCell);
    case Qt::Key_R:
        return ask(TQuestion::Repeat);
    case Qt::Key_N:
        return TBoardKey{TBoardKey::Action::NextMayHideFox, QPoint(),
                         !(modifiers & Qt::ShiftModifier)};
    case Qt::Key_Home:
        return jumpTo(TJump::RowStart);
    case Qt::Key_End:
        return jumpTo(TJump::RowEnd);
    case Qt::Key_PageUp:
        return jumpTo(TJump::ColumnTop);
    case Qt::Key_PageDown:
        return jumpTo(TJump::ColumnBottom);
    case Qt::Key_L:
        return ask(TQuestion::Lines);
    default:
        return std::nullopt;
    }
}

QString boardKeysHelp() {
    return QStringLiteral("Arrow keys move the current cell; Space or Enter opens it; N goes to "
                          "the next plate that may hide a fox, Shift+N back; Home, End, Page Up "
                          "and Page Down jump; L tells its lines; C tells it in full; R says the "
                          "last message again; I tells the time, the steps and the foxes found");
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
    switch (wanted->action) {
    case TBoardKey::Action::Move:
        emit moveRequested(wanted->step.y(), wanted->step.x());
        break;
    case TBoardKey::Action::NextMayHideFox:
        emit nextMayHideFoxRequested(wanted->forward);
        break;
    case TBoardKey::Action::Jump:
        emit jumpRequested(wanted->jump);
        break;
    // A held key opens once, as a held mouse button clicks once; and a held key that tells
    // something tells it once.
    case TBoardKey::Action::Ask:
        if (!key.isAutoRepeat())
            emit questionAsked(wanted->question);
        break;
    case TBoardKey::Action::Open:
        if (!key.isAutoRepeat())
            emit openRequested();
        break;
    }
    return true;
}

} // namespace tarnell
