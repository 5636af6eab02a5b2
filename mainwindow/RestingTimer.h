// The main window's 100 ms timer with leave to rest: it stops while its ticks would change
// nothing and, woken, ticks again on the beat it kept from its start, as if it never stopped.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QTimer;

namespace tarnell {

// Milliseconds from the timer's beat at elapsed milliseconds since its start to the next
// beat after it, 1 to period; any elapsed value, also a negative one, counts modulo period.
int64_t MillisecondsToNextBeat(int64_t elapsed, int period);

class TRestingTimer : public QObject {
    Q_OBJECT
public:
    // Drives ticks, a repeating timer of its own interval, which it starts and stops;
    // milliseconds is a steady clock (only differences of its readings count).
    TRestingTimer(QTimer& ticks, std::function<int64_t()> milliseconds, QObject* parent = nullptr);

    // Starts the ticks; the beat counts from now.
    void start();
    // Stops the ticks until the next wake.
    void rest();
    // If resting, the next tick comes on the next beat, and the ticks run on from there.
    void wake();
    // For good: wakes are ignored from now on.
    void stop();

    bool resting() const;
    // The delay of the wake waiting for its beat, in milliseconds; 0 when none waits.
    int pendingWakeDelay() const;

signals:
    // A tick that a wake brought: the ticks run again from here, and this is the first.
    void wokenTick();

private:
    QTimer& ticks_;
    QTimer* wake_;
    std::function<int64_t()> milliseconds_;
    int64_t startedAt_ = 0;
    bool stopped_ = false;
};

} // namespace tarnell
