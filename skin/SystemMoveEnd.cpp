#include "SystemMoveEnd.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>

namespace tarnell::skin {

void SystemMoveEnd::watch(QWindow* window) {
    stop();
    if (!window)
        return;
    window_ = window;
    window->installEventFilter(this);
}

void SystemMoveEnd::stop() {
    if (window_)
        window_->removeEventFilter(this);
    window_.clear();
}

bool SystemMoveEnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_)
        return false;
    QPointF local;
    QPointF global;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        // The window system handed the release back itself.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            stop();
        return false;
    case QEvent::Enter: {
        const auto* enter = static_cast<QEnterEvent*>(event);
        local = enter->position();
        global = enter->globalPosition();
        break;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        local = mouse->position();
        global = mouse->globalPosition();
        modifiers = mouse->modifiers();
        break;
    }
    default:
        return false;
    }
    QWindow* window = window_;
    stop();
    // The release goes where Qt sends it, to the widget that took the press; the event that
    // revealed the move's end then reaches the widget under the pointer.
    QMouseEvent release(QEvent::MouseButtonRelease, local, local, global, Qt::LeftButton,
                        Qt::NoButton, modifiers);
    QCoreApplication::sendEvent(window, &release);
    return false;
}

} // namespace tarnell::skin
