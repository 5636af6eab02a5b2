// The one set of stand-ins for what the program takes from outside: a scripted random
// source, a time of day that moves only when told, and a puzzle with its foxes where a test
// (or a benchmark) wants them. Plain C++, so the benchmarks use them too.
#pragma once

#include "core/Clock.h"
#include "core/Puzzle.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tarnell::testsupport {

// Returns the scripted numbers first, then numbers from a generator seeded by Reseed.
// Records every seed handed in, and every range asked for since the last seed (one
// generation's draws).
class ScriptedRandom : public RandomSource {
public:
    void Reseed(uint32_t seed) override {
        seeds_.push_back(seed);
        engine_.seed(seed);
        ranges_.clear();
    }
    int Next(int n) override {
        // Far more draws than any layout needs: this generation does not end.
        if (ranges_.size() >= 1000000)
            throw std::runtime_error("the random source was asked a million times");
        ranges_.push_back(n);
        if (position_ < script_.size())
            return script_[position_++];
        return std::uniform_int_distribution<int>(0, n - 1)(engine_);
    }
    void Script(std::vector<int> numbers) {
        script_ = std::move(numbers);
        position_ = 0;
        ranges_.clear();
    }

    std::vector<int> script_;
    std::size_t position_ = 0;
    std::vector<int> ranges_;
    std::vector<uint32_t> seeds_;
    std::mt19937 engine_{1u};
};

// A time of day that moves only when the test says so.
class ScriptedClock : public TimeOfDaySource {
public:
    double Now() const override { return now_; }
    void Set(int hours, int minutes, int seconds, int milliseconds) {
        now_ = (hours * 3600000.0 + minutes * 60000.0 + seconds * 1000.0 + milliseconds) /
               MillisecondsPerDay;
    }
    // Moves on by whole milliseconds, wrapping at midnight like a time of day.
    void Advance(int64_t milliseconds) {
        const int64_t day = 86400000;
        int64_t at = std::llround(now_ * MillisecondsPerDay) + milliseconds;
        at = ((at % day) + day) % day;
        now_ = static_cast<double>(at) / MillisecondsPerDay;
    }

    double now_ = 0.5;
};

using Cell = std::pair<int, int>;

// A puzzle with its sources.
struct Game {
    ScriptedRandom random;
    ScriptedClock clock;
    TPuzzle puzzle{random, clock};

    // Generates a size x size puzzle with the foxes exactly on the given cells, by
    // scripting the random source with their rows and columns.
    void Hide(int size, const std::vector<Cell>& foxes) {
        puzzle.Reset(size, static_cast<int>(foxes.size()));
        Generate(foxes);
    }
    // The same with the set-up as it stands, without resetting first.
    void Generate(const std::vector<Cell>& foxes) {
        std::vector<int> numbers;
        for (const auto& [row, col] : foxes) {
            numbers.push_back(row - 1);
            numbers.push_back(col - 1);
        }
        random.Script(numbers);
        puzzle.NewPuzzle();
    }
};

// The hint marks of rows and columns 1..n as text, one string per row: 'X' cleared.
inline std::vector<std::string> Marks(const TPuzzle& puzzle) {
    std::vector<std::string> rows;
    for (int r = 1; r <= puzzle.FieldSize(); ++r) {
        std::string line;
        for (int c = 1; c <= puzzle.FieldSize(); ++c)
            line += puzzle.Cleared(r, c) ? 'X' : '.';
        rows.push_back(line);
    }
    return rows;
}

// The sighting count worked out from the positions alone: a fox shares the row, the
// column, the difference (falling diagonal) or the sum (rising diagonal) of the cell.
inline int SightingsOf(const std::vector<Cell>& foxes, int row, int col) {
    int count = 0;
    for (const auto& [r, c] : foxes)
        count += (r == row) + (c == col) + (r - c == row - col) + (r + c == row + col);
    return count;
}

} // namespace tarnell::testsupport
