// Clock texts of the game: the seven-character elapsed time and two-digit numbers,
// and the midnight-safe difference of two times of day.
#pragma once

#include <cstdint>
#include <string>

namespace tarnell {

constexpr double MillisecondsPerDay = 86400000.0;

// "05", "10", "123".
std::string TwoDigits(int n);
// Minutes ":" seconds "," tenths; hours are not shown.
std::string ClockText(double elapsedDays);
// end - start in days, one day added when the puzzle ran across midnight.
double ElapsedBetween(double startDay, double endDay);

// An elapsed time in whole milliseconds, rounded to the nearest one (halves away from
// zero). Negative or non-finite spans count as 0. Durations compare by this value.
int64_t ElapsedMilliseconds(double elapsedDays);

// An elapsed time split the way the clock shows it: minutes, seconds and milliseconds
// stay below 60, 60 and 1000; hours are not bounded.
struct TElapsedParts {
    int64_t Hours = 0;
    int Minutes = 0;
    int Seconds = 0;
    int Milliseconds = 0;
};
TElapsedParts SplitElapsed(double elapsedDays);

} // namespace tarnell
