// A message for screen readers: what just happened that no focused control can say (a fox
// found with the count, a solved puzzle, a new game, a set-up value), drawn nowhere.
#pragma once

#include <QWidget>
#include <functional>

namespace tarnell {

// Orca, the screen reader of the Linux desktops, presents a notification when it becomes
// showing, whichever control has the focus; Qt 6.4 has no announcement event of its own. So
// each message is the name of a notification that is hidden and shown again.
class TAnnouncer : public QWidget {
    Q_OBJECT
public:
    explicit TAnnouncer(QWidget* parent);

    // Says text to a listening screen reader; while none listens it does no work at all.
    void announce(const QString& text);
    // The last message said.
    QString lastMessage() const { return accessibleName(); }
    // Whether a screen reader listens: by default whether the platform's accessibility
    // bridge is active; a test hands in its own.
    void setListening(std::function<bool()> listening) { listening_ = std::move(listening); }

private:
    std::function<bool()> listening_;
};

} // namespace tarnell
