#include "RestingTimer.h"

#include <QTimer>

namespace tarnell {

int64_t MillisecondsToNextBeat(int64_t elapsed, int period) {
    const int64_t intoBeat = ((elapsed % period) + period) % period;
    return period - intoBeat;
}

TRestingTimer::TRestingTimer(QTimer& ticks, std::function<int64_t()> milliseconds, QObject* parent)
    : QObject(parent), ticks_(ticks), wake_(new QTimer(this)),
      milliseconds_(std::move(milliseconds)) {
    wake_->setObjectName(QStringLiteral("Timer1Wake"));
    wake_->setSingleShot(true);
    // The wake must land on the beat itself, not somewhere near it.
    wake_->setTimerType(Qt::PreciseTimer);
    connect(wake_, &QTimer::timeout, this, [this] {
        ticks_.start();
        emit wokenTick();
    });
}

void TRestingTimer::start() {
    startedAt_ = milliseconds_();
    ticks_.start();
}

void TRestingTimer::rest() {
    ticks_.stop();
    wake_->stop();
}

void TRestingTimer::wake() {
    if (stopped_ || ticks_.isActive() || wake_->isActive())
        return;
    const int64_t delay = MillisecondsToNextBeat(milliseconds_() - startedAt_, ticks_.interval());
    wake_->start(static_cast<int>(delay));
}

void TRestingTimer::stop() {
    stopped_ = true;
    rest();
}

bool TRestingTimer::resting() const {
    return !ticks_.isActive() && !wake_->isActive();
}

int TRestingTimer::pendingWakeDelay() const {
    return wake_->isActive() ? wake_->interval() : 0;
}

} // namespace tarnell
