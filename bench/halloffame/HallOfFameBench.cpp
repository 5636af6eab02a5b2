// Costs of the hall of fame as the dialogs use it: the look-up while a dialog is built,
// and the store on "OK", for a file of every pair the game allows, twice over.
#include "halloffame/HallOfFame.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace tarnell {

namespace {

// Runs in a folder of its own and leaves a full hall of fame there: a time record and a
// steps record for every field size and fox count.
class FullHallOfFame {
public:
    FullHallOfFame() {
        previous_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
        halloffame::HallOfFame fame;
        for (int size = 3; size <= 10; ++size)
            for (int foxes = 1; foxes <= (size * size + 5) / 10; ++foxes)
                fame.store(result(size, foxes, 500.0), {true, true}, QStringLiteral("Bench"));
    }
    ~FullHallOfFame() { QDir::setCurrent(previous_); }

    static TPuzzleResult result(int size, int foxes, double seconds) {
        TPuzzleResult r;
        r.FieldSize = size;
        r.FoxCount = foxes;
        r.StepCount = 50;
        r.Elapsed = seconds / 86400.0;
        return r;
    }

private:
    QTemporaryDir folder_;
    QString previous_;
};

void LookUpInAFullFile(benchmark::State& state) {
    FullHallOfFame full;
    halloffame::HallOfFame fame;
    // What a dialog does while it is built: one check and one look-up.
    for (auto _ : state) {
        benchmark::DoNotOptimize(fame.check());
        benchmark::DoNotOptimize(fame.lookUp(8, 5));
    }
    state.counters["bytes"] = static_cast<double>(QFile(QStringLiteral("h_fame.dat")).size());
}
BENCHMARK(LookUpInAFullFile)->Unit(benchmark::kMicrosecond);

// Dominated by putting the new file on the disk (fsync) before it replaces the old one.
void StoreInAFullFile(benchmark::State& state) {
    FullHallOfFame full;
    halloffame::HallOfFame fame;
    double seconds = 400.0;
    for (auto _ : state) {
        seconds -= 0.01;
        fame.store(FullHallOfFame::result(8, 5, seconds), {true, false}, QStringLiteral("Fast"));
    }
}
BENCHMARK(StoreInAFullFile)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tarnell

using namespace tarnell;

BENCHMARK_MAIN();
