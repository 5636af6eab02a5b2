// A message for screen readers: what just happened that no focused control can say (a new
// game, a set-up value, an answer while the keyboard is off the board), said where the keyboard
// is, as plainly as a move is read.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

namespace tarnell {

class TSpokenItems;

// A control of one pixel in the window's corner that paints nothing, takes no click and no
// keyboard; each message is a new item of it that takes the focus (see TSpokenItems), which a
// screen reader reads by its name alone. Keys and clicks still go where they went.
class TAnnouncer : public QWidget {
    Q_OBJECT
public:
    explicit TAnnouncer(QWidget* parent);
    ~TAnnouncer() override;

    // Says text to a listening screen reader; while none listens it does no work at all.
    void announce(const QString& text);
    // Whether a screen reader listens: by default whether the platform's accessibility
    // bridge is active; a test hands in its own.
    void setListening(std::function<bool()> listening) { listening_ = std::move(listening); }
    // The messages' items, for the announcer's accessible object.
    TSpokenItems& items() { return *items_; }

private:
    std::function<bool()> listening_;
    std::unique_ptr<TSpokenItems> items_;
};

} // namespace tarnell
