// Timings of the puzzle core: generating the largest puzzle and one move with the
// lines-complete sweep over a field full of opened cells.
#include "core/Puzzle.h"

#include "tests/support/ScriptedSources.h"

#include <benchmark/benchmark.h>

#include <random>

namespace tarnell {

namespace {

// The tests' stand-ins: unscripted, the random source draws from a generator seeded at each
// new puzzle, and the clock moves only when told, so each puzzle is made a millisecond later
// than the one before and gets a fresh seed.
using testsupport::Game;

void NewPuzzleLargest(benchmark::State& state) {
    Game game;
    TPuzzle& puzzle = game.puzzle;
    puzzle.Reset(MaxFieldSize, MaxFoxes(MaxFieldSize));
    for (auto _ : state) {
        game.clock.Advance(1);
        puzzle.NewPuzzle();
        benchmark::DoNotOptimize(puzzle.FoxPlane());
    }
}
BENCHMARK(NewPuzzleLargest);

// A 10 x 10 puzzle with 10 foxes where every cell without a fox is open: each click
// repeats the count, the rules and the sweep over about 90 opened cells.
void OpenCellWithSweep(benchmark::State& state) {
    Game game;
    TPuzzle& puzzle = game.puzzle;
    puzzle.Reset(MaxFieldSize, MaxFoxes(MaxFieldSize));
    puzzle.NewPuzzle();
    int row = 0;
    int col = 0;
    for (int r = 1; r <= MaxFieldSize; ++r) {
        for (int c = 1; c <= MaxFieldSize; ++c) {
            if (puzzle.FoxPlane()[r][c] != fpFox) {
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
    Game game;
    TPuzzle& puzzle = game.puzzle;
    puzzle.Reset(MaxFieldSize, MaxFoxes(MaxFieldSize));
    std::mt19937 pick(7u);
    for (auto _ : state) {
        state.PauseTiming();
        game.clock.Advance(1);
        puzzle.NewPuzzle();
        const int row = static_cast<int>(pick() % 10) + 1;
        const int col = static_cast<int>(pick() % 10) + 1;
        state.ResumeTiming();
        benchmark::DoNotOptimize(puzzle.OpenCell(row, col));
    }
}
BENCHMARK(OpenCellFirstMove);

} // namespace

} // namespace tarnell

using namespace tarnell;

BENCHMARK_MAIN();
