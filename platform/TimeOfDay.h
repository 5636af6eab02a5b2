// The local time of day in days, with millisecond resolution, and the production
// sources of time and randomness handed to the puzzle core.
#pragma once

#include "core/Puzzle.h"

#include <random>

namespace tarnell::platform {

double timeOfDayInDays();

class SystemTimeOfDay : public TimeOfDaySource {
public:
    double Now() const override { return timeOfDayInDays(); }
};

class StdRandom : public RandomSource {
public:
    void Reseed(uint32_t seed) override { engine_.seed(seed); }
    int Next(int n) override;

private:
    std::mt19937 engine_{5489u};
};

} // namespace tarnell::platform
