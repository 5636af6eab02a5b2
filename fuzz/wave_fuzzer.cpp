// Arbitrary bytes as a wave file through the decoder the sounds are played with: it must
// refuse them or give a sound whose sizes agree with each other.
#include "fuzz/FuzzSupport.h"
#include "platform/WaveSound.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace tarnell {

namespace {

// The decoder's own bounds, as its header and the sounds' format allow them.
constexpr int MaxChannels = 8;
constexpr int MinSampleRate = 1000;
constexpr int MaxSampleRate = 384000;
constexpr qsizetype MaxDecodedBytes = 64 * 1024 * 1024;

void checkWave(const platform::DecodedWave& wave) {
    if (!wave.isValid()) {
        FUZZ_CHECK(wave.pcm16.isEmpty() || wave.channels <= 0 || wave.sampleRate <= 0);
        return;
    }
    FUZZ_CHECK(wave.channels >= 1 && wave.channels <= MaxChannels);
    FUZZ_CHECK(wave.sampleRate >= MinSampleRate && wave.sampleRate <= MaxSampleRate);
    // Whole frames of 16-bit samples, one per channel.
    FUZZ_CHECK(wave.pcm16.size() % (2 * wave.channels) == 0);
    FUZZ_CHECK(wave.pcm16.size() <= MaxDecodedBytes);
}

} // namespace

} // namespace tarnell

using namespace tarnell;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startApplication(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray riff(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const platform::DecodedWave wave = platform::decodeWave(riff);
    checkWave(wave);
    // Decoding is a pure function of the bytes: the sound made from them is the same.
    const platform::WaveSound sound(riff);
    FUZZ_CHECK(sound.isValid() == wave.isValid());
    FUZZ_CHECK(sound.wave().pcm16 == wave.pcm16);
    return 0;
}
