#include "TimeOfDay.h"

#include <algorithm>
#include <ctime>

namespace tarnell::platform {

double timeOfDayInDays() {
    // The clock asks ten times a second while a puzzle runs. localtime_r reads the time zone
    // once per process; QTime::currentTime would look the zone file up again on every call.
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const time_t seconds = now.tv_sec;
    tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return 0.0;
    const long long milliseconds =
        ((local.tm_hour * 60LL + local.tm_min) * 60LL + std::min(local.tm_sec, 59)) * 1000LL +
        now.tv_nsec / 1000000;
    return static_cast<double>(milliseconds) / 86400000.0;
}

int StdRandom::Next(int n) {
    if (n <= 1)
        return 0;
    std::uniform_int_distribution<int> dist(0, n - 1);
    return dist(engine_);
}

} // namespace tarnell::platform
