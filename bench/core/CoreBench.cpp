// Timings of the puzzle core: generating the largest puzzle and one move with the
// lines-complete sweep over a field full of opened cells.
#include "core/Puzzle.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

class BenchRandom : public tarnell::RandomSource {
public:
    void Reseed(uint32_t seed) override { engine_.seed(seed); }
    int Next(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }

private:
    std::mt19937 engine_;
};

// Moves on by a millisecond at every reading, so each puzzle gets a fresh seed.
class BenchClock : public tarnell::TimeOfDaySource {
public:
    double Now() const override {
        ticks_ = (ticks_ + 1) % 86400000;
        return ticks_ / 86400000.0;
    }

private:
    mutable long ticks_ = 0;
};

void NewPuzzleLargest(benchmark::State& state) {
    BenchRandom random;
    BenchClock clock;
    tarnell::TPuzzle puzzle(random, clock);
    puzzle.Reset(tarnell::MaxFieldSize, tarnell::MaxFoxes(tarnell::MaxFieldSize));
    for (auto _ : state) {
        puzzle.NewPuzzle();
        benchmark::DoNotOptimize(puzzle.FoxPlane());
    }
}
BENCHMARK(NewPuzzleLargest);

// A 10 x 10 puzzle with 10 foxes where every cell without a fox is open: each click
// repeats the count, the rules and the sweep over about 90 opened cells.
void OpenCellWithSweep(benchmark::State& state) {
    BenchRandom random;
    BenchClock clock;
    tarnell::TPuzzle puzzle(random, clock);
    puzzle.Reset(tarnell::MaxFieldSize, tarnell::MaxFoxes(tarnell::MaxFieldSize));
    puzzle.NewPuzzle();
    int row = 0;
    int col = 0;
    for (int r = 1; r <= tarnell::MaxFieldSize; ++r) {
        for (int c = 1; c <= tarnell::MaxFieldSize; ++c) {
            if (puzzle.FoxPlane()[r][c] != tarnell::fpFox) {
                puzzle.OpenCell(r, c);
                row = r;
                col = c;
            }
        }
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(puzzle.OpenCell(row, col));
}
BENCHMARK(OpenCellWithSweep);

// The first click on a fresh 10 x 10 puzzle, generation excluded from the timing.
void OpenCellFirstMove(benchmark::State& state) {
    BenchRandom random;
    BenchClock clock;
    tarnell::TPuzzle puzzle(random, clock);
    puzzle.Reset(tarnell::MaxFieldSize, tarnell::MaxFoxes(tarnell::MaxFieldSize));
    std::mt19937 pick(7u);
    for (auto _ : state) {
        state.PauseTiming();
        puzzle.NewPuzzle();
        const int row = static_cast<int>(pick() % 10) + 1;
        const int col = static_cast<int>(pick() % 10) + 1;
        state.ResumeTiming();
        benchmark::DoNotOptimize(puzzle.OpenCell(row, col));
    }
}
BENCHMARK(OpenCellFirstMove);

} // namespace

BENCHMARK_MAIN();
