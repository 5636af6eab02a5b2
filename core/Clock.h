// Clock texts of the game: the seven-character elapsed time and two-digit numbers,
// and the midnight-safe difference of two times of day.
#pragma once

#include <string>

namespace tarnell {

constexpr double MillisecondsPerDay = 86400000.0;

// "05", "10", "123".
std::string TwoDigits(int n);
// Minutes ":" seconds "," tenths; hours are not shown.
std::string ClockText(double elapsedDays);
// end - start in days, one day added when the puzzle ran across midnight.
double ElapsedBetween(double startDay, double endDay);

} // namespace tarnell
