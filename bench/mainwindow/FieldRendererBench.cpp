// Cost of one frame of the field: the 100 ms timer redraws it for the whole life of the
// program, so a frame should stay well under a millisecond.
#include "core/Puzzle.h"
#include "mainwindow/FieldArea.h"
#include "platform/drawing/Fonts.h"
#include "tests/support/ScriptedSources.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace tarnell {

namespace {

// The embedded images, or stand-ins of the same sizes when they are not there (the cost
// of a frame does not depend on what the pictures show).
TFieldImages benchImages(bool& standIns) {
    TFieldImages images = loadFieldImages();
    standIns = !images.problems().isEmpty();
    if (!standIns)
        return images;
    auto white = [](QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    };
    using R = TFieldRenderer;
    for (auto* plate : {&images.Inner, &images.LastRow, &images.LastColumn}) {
        const QSize size = plate == &images.Inner ? R::PlateSize : R::SidePlateSize;
        *plate = {white(size), white(size), white(size), white(size)};
    }
    images.Flag = images.FlagMask = white(R::FlagSize);
    images.Fox = images.FoxMask = white(R::FoxSize);
    return images;
}

// A puzzle with the tests' random source and clock: the same layout on every run.
struct Board : testsupport::Game {
    Board(int size, int foxes) {
        puzzle.Reset(size, foxes);
        puzzle.NewPuzzle();
    }
    // Opens every cell without a fox, then finds every fox: the most sprites and counts.
    void uncoverAll() {
        const int n = puzzle.FieldSize();
        for (int pass = 0; pass < 2; ++pass)
            for (int i = 1; i <= n; ++i)
                for (int j = 1; j <= n; ++j)
                    if ((puzzle.FoxPlane()[i][j] == fpFox) == (pass == 1))
                        puzzle.OpenCell(i, j);
    }
};

void runFrames(benchmark::State& state, const TPuzzle& puzzle) {
    bool standIns = false;
    const TFieldImages images = benchImages(standIns);
    state.SetLabel(standIns ? "stand-in images" : "embedded images");
    TFieldRenderer renderer(images);
    for (auto _ : state) {
        renderer.drawFrame(puzzle, true);
        benchmark::DoNotOptimize(renderer.backBuffer().constBits());
    }
}

void BM_FrameTenByTenAllUncovered(benchmark::State& state) {
    Board board(10, 10);
    board.uncoverAll();
    runFrames(state, board.puzzle);
}
BENCHMARK(BM_FrameTenByTenAllUncovered)->Unit(benchmark::kMicrosecond);

void BM_FrameTenByTenCovered(benchmark::State& state) {
    Board board(10, 10);
    board.puzzle.MouseMove(200, 120);
    runFrames(state, board.puzzle);
}
BENCHMARK(BM_FrameTenByTenCovered)->Unit(benchmark::kMicrosecond);

// A frame shown on a screen of device pixel ratio 2: the frame keeps its pictures without
// the counts, and the paint enlarges them and writes the counts at the device's resolution.
void BM_FrameAndPaintAtRatioTwo(benchmark::State& state) {
    Board board(10, 10);
    board.uncoverAll();
    bool standIns = false;
    const TFieldImages images = benchImages(standIns);
    state.SetLabel(standIns ? "stand-in images" : "embedded images");
    TFieldRenderer renderer(images);
    renderer.setDevicePixelRatio(2.0);
    QImage screen(2 * TFieldRenderer::AreaWidth, 2 * TFieldRenderer::AreaHeight,
                  QImage::Format_RGB32);
    screen.setDevicePixelRatio(2.0);
    for (auto _ : state) {
        renderer.drawFrame(board.puzzle, true);
        QPainter painter(&screen);
        renderer.paintArea(painter);
        painter.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_FrameAndPaintAtRatioTwo)->Unit(benchmark::kMicrosecond);

} // namespace

} // namespace tarnell

using namespace tarnell;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::resolveProgramFaces();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
