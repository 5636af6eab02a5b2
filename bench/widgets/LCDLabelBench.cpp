// The LCD label's paint cost: the clock display is repainted ten times a second, so one
// caption change must stay far below 100 ms; larger looks show how the cost grows.
#include "widgets/lcd/LCD_Lab.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace tarnell {

namespace {

void mainWindowLook(TLCDLabel& label, int chars) {
    label.setPixelSize(pix1x1);
    label.setPixelShape(spShaped);
    label.setPixelSpacing(1);
    label.setCharSpacing(2);
    label.setLineSpacing(1);
    label.setBorderSpace(2);
    label.setBorderStyle(frNone);
    label.setBackGround(platform::clBlack);
    label.setPixelOn(platform::clLime);
    label.setPixelOff(platform::rgb(0, 72, 0));
    label.setNoOfChars(chars);
}

// A clock tick that changes the text: store, lay out, repaint on the (offscreen) screen.
void BM_ClockTick(benchmark::State& state) {
    TLCDLabel label;
    mainWindowLook(label, 7);
    label.show();
    QApplication::processEvents(); // exposed, so that every repaint really paints
    int tenths = 0;
    for (auto _ : state) {
        ++tenths;
        label.setCaption(QStringLiteral("%1:%2,%3")
                             .arg(tenths / 600 % 100, 2, 10, QChar('0'))
                             .arg(tenths / 10 % 60, 2, 10, QChar('0'))
                             .arg(tenths % 10));
    }
    state.counters["paints"] = label.paintCount();
}
BENCHMARK(BM_ClockTick);

// The same caption again: the tick the main window makes while nothing changes.
void BM_ClockTickUnchanged(benchmark::State& state) {
    TLCDLabel label;
    mainWindowLook(label, 7);
    label.setCaption("00:00,0");
    label.show();
    QApplication::processEvents();
    for (auto _ : state)
        label.setCaption(QStringLiteral("00:00,0"));
}
BENCHMARK(BM_ClockTickUnchanged);

// Building the off-screen image alone, for the clock and for a large shaped display.
void BM_RenderClock(benchmark::State& state) {
    TLCDLabel label;
    mainWindowLook(label, 7);
    label.setCaption("12:34,5");
    for (auto _ : state)
        benchmark::DoNotOptimize(label.renderImage());
}
BENCHMARK(BM_RenderClock);

void BM_RenderLargeShaped(benchmark::State& state) {
    TLCDLabel label;
    label.setDotMatrix(mat9x12);
    label.setPixelSize(pix4x4);
    label.setPixelShape(spShaped);
    label.setNoOfChars(20);
    label.setTextLines(2);
    label.setCaption("The quick brown fox jumps over the lazy dog");
    for (auto _ : state)
        benchmark::DoNotOptimize(label.renderImage());
}
BENCHMARK(BM_RenderLargeShaped);

} // namespace

} // namespace tarnell

using namespace tarnell;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
