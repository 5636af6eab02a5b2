// Costs of the platform services on the game's paths: the field background's gradient
// (drawn on every frame) and decoding the two sounds (once per window, or per tick).
#include "platform/WaveSound.h"
#include "platform/drawing/Drawing.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <sndfile.h>
#include <unistd.h>
#include <vector>

namespace tarnell {

namespace {

void GradientFillFieldBackground(benchmark::State& state) {
    QImage image(546, 280, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        platform::gradientFill(painter, image.rect(), QColor(192, 192, 192), QColor(64, 64, 64),
                               255, platform::GradientDirection::LeftToRight);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(GradientFillFieldBackground);

// A stereo 22,050 Hz tone of the given length written by libsndfile in the given format.
QByteArray tone(int format, double seconds) {
    char path[] = "/tmp/tarnell-bench-XXXXXX";
    const int descriptor = mkstemp(path);
    if (descriptor < 0)
        return {};
    close(descriptor);
    SF_INFO info{};
    info.channels = 2;
    info.samplerate = 22050;
    info.format = format;
    SNDFILE* out = sf_open(path, SFM_WRITE, &info);
    const int frames = static_cast<int>(seconds * 22050);
    std::vector<short> samples;
    for (int i = 0; i < frames; ++i) {
        samples.push_back(static_cast<short>(10000 * std::sin(i * 0.07)));
        samples.push_back(static_cast<short>(9000 * std::sin(i * 0.05)));
    }
    sf_writef_short(out, samples.data(), frames);
    sf_close(out);
    QByteArray bytes;
    if (FILE* in = std::fopen(path, "rb")) {
        char buffer[65536];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            bytes.append(buffer, static_cast<qsizetype>(got));
        std::fclose(in);
    }
    std::remove(path);
    return bytes;
}

void DecodeClickPcm(benchmark::State& state) {
    const QByteArray riff = tone(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.13);
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::decodeWave(riff).pcm16.size());
    state.SetBytesProcessed(state.iterations() * riff.size());
}
BENCHMARK(DecodeClickPcm)->Unit(benchmark::kMicrosecond);

void DecodeTadaAdpcm(benchmark::State& state) {
    const QByteArray riff = tone(SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 2.1);
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::decodeWave(riff).pcm16.size());
    state.SetBytesProcessed(state.iterations() * riff.size());
}
BENCHMARK(DecodeTadaAdpcm)->Unit(benchmark::kMicrosecond);

} // namespace

} // namespace tarnell

using namespace tarnell;

BENCHMARK_MAIN();
