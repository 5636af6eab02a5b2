#include "Clock.h"

#include <cmath>

namespace tarnell {

std::string TwoDigits(int n) {
    std::string digits = std::to_string(n);
    if (digits.size() < 2)
        digits.insert(digits.begin(), '0');
    return digits;
}

std::string ClockText(double elapsedDays) {
    const TElapsedParts parts = SplitElapsed(elapsedDays);
    return TwoDigits(parts.Minutes) + ":" + TwoDigits(parts.Seconds) + "," +
           std::to_string(parts.Milliseconds / 100);
}

double ElapsedBetween(double startDay, double endDay) {
    double elapsed = endDay - startDay;
    // Instants are times of day: a negative difference means midnight lay between them.
    if (elapsed < 0.0)
        elapsed += 1.0;
    return elapsed;
}

int64_t ElapsedMilliseconds(double elapsedDays) {
    const double milliseconds = elapsedDays * MillisecondsPerDay;
    // A span longer than this is no duration the game can produce; it only guards the
    // conversion below against overflow.
    constexpr double Longest = 1e15;
    if (!(milliseconds > 0.0))
        return 0;
    if (milliseconds > Longest)
        return static_cast<int64_t>(Longest);
    return std::llround(milliseconds);
}

TElapsedParts SplitElapsed(double elapsedDays) {
    int64_t total = ElapsedMilliseconds(elapsedDays);
    TElapsedParts parts;
    parts.Milliseconds = static_cast<int>(total % 1000);
    total /= 1000;
    parts.Seconds = static_cast<int>(total % 60);
    total /= 60;
    parts.Minutes = static_cast<int>(total % 60);
    parts.Hours = total / 60;
    return parts;
}

} // namespace tarnell
