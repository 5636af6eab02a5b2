#include "TimeOfDay.h"

#include <QTime>

namespace tarnell::platform {

double timeOfDayInDays() {
    const QTime now = QTime::currentTime();
    return now.msecsSinceStartOfDay() / 86400000.0;
}

int StdRandom::Next(int n) {
    if (n <= 1)
        return 0;
    std::uniform_int_distribution<int> dist(0, n - 1);
    return dist(engine_);
}

} // namespace tarnell::platform
