// Ends a window move that the window system carried out: gives the pointer back to the
// widgets under it when the compositor kept the button release of that move.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWindow>

namespace tarnell::skin {

// While a move carried out by the window system is under way, a Wayland compositor keeps
// the pointer to itself and, when the player lets go, keeps the button release as well
// (xdg_toplevel.move). Qt then still believes the button is held: it routes every mouse
// event to the widget that took the press, so nothing else of the window sees the pointer
// (no hover, no cyan plate) until the next click. An X server with a window manager hands a
// release back to the program, so there nothing needs mending.
//
// Installed on the moved window, this watcher takes the first pointer event after the move
// (the pointer entering again, a motion or a press) as the move's end, and delivers the
// release that Qt never got just before that event; a release that does arrive ends the
// watch without anything added.
class SystemMoveEnd : public QObject {
public:
    explicit SystemMoveEnd(QObject* parent = nullptr) : QObject(parent) {}

    // Starts watching a window whose move the window system has taken over.
    void watch(QWindow* window);
    void stop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWindow> window_;
};

} // namespace tarnell::skin
