// Keys by ear against arrows by sight: 8 x 8 puzzles with 5 foxes, each from a seed, solved by
// N and Space alone (N to the next plate that may hide a fox, Space to open it), beside the
// arrows and Spaces a sighted player needs to open the same plates in the same order: one
// arrow onto the top plate, then one for each row or column between one plate and the next.
// Prints the keys and steps of each seed and their medians, then times one such game.
// The same game heard through Orca: tests/e2e/orca_by_ear.py --games 5.
#include "core/Puzzle.h"

#include "tests/support/ScriptedSources.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tarnell {

namespace {

using testsupport::Game;

constexpr int Size = DefaultSetupSize;
constexpr int Foxes = DefaultSetupFoxes;
constexpr int Seeds = 5;

struct ByEar {
    int steps = 0;
    int keysByEar = 0;   // N and Space
    int keysBySight = 0; // arrows and Space
};

// The puzzle made from a seed: the generator is reseeded from the millisecond of the day.
ByEar solveByEar(int seed) {
    Game game;
    game.clock.Set(0, 0, 0, seed);
    game.puzzle.Reset(Size, Foxes);
    game.puzzle.NewPuzzle();
    TPuzzle& puzzle = game.puzzle;
    ByEar result;
    TCell sighted{1, 1};
    result.keysBySight = 1;
    while (!puzzle.Finished()) {
        const std::optional<TCell> next = puzzle.NextMayHideFox(true, true);
        if (!next) {
            std::fprintf(stderr, "seed %d: no plate may hide a fox before the last fox\n", seed);
            std::exit(1);
        }
        puzzle.MoveCurrentCellTo(*next);
        puzzle.OpenCell(next->Row, next->Col);
        result.keysByEar += 2;
        result.keysBySight +=
            std::abs(next->Row - sighted.Row) + std::abs(next->Col - sighted.Col) + 1;
        sighted = *next;
    }
    result.steps = puzzle.StepCount();
    return result;
}

template <typename Member> double median(std::vector<ByEar> games, Member member) {
    std::sort(games.begin(), games.end(),
              [member](const ByEar& a, const ByEar& b) { return a.*member < b.*member; });
    return games[games.size() / 2].*member;
}

void report() {
    std::vector<ByEar> games;
    std::printf("%d x %d, %d foxes, hints shown; N and Space by ear, arrows and Space by sight\n",
                Size, Size, Foxes);
    for (int seed = 1; seed <= Seeds; ++seed) {
        games.push_back(solveByEar(seed));
        const ByEar& game = games.back();
        std::printf("seed %d: %2d steps, by ear %3d keys, by sight %3d keys (%.2f)\n", seed,
                    game.steps, game.keysByEar, game.keysBySight,
                    static_cast<double>(game.keysByEar) / game.keysBySight);
    }
    std::printf("median: %.0f steps, by ear %.0f keys, by sight %.0f keys\n\n",
                median(games, &ByEar::steps), median(games, &ByEar::keysByEar),
                median(games, &ByEar::keysBySight));
}

void SolveByEar(benchmark::State& state) {
    const int seed = static_cast<int>(state.range(0));
    ByEar game;
    for (auto _ : state)
        benchmark::DoNotOptimize(game = solveByEar(seed));
    state.counters["steps"] = game.steps;
    state.counters["keys_by_ear"] = game.keysByEar;
    state.counters["keys_by_sight"] = game.keysBySight;
}
BENCHMARK(SolveByEar)->DenseRange(1, Seeds);

} // namespace

} // namespace tarnell

int main(int argc, char** argv) {
    tarnell::report();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
