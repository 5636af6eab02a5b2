// Both sounds: complete RIFF WAVE files of exactly the stated format and data size, that
// decode to clean stereo audio which starts and ends in silence and never clips.
#include "StoredFiles.h"
#include "platform/Resources.h"
#include "platform/WaveSound.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace tarnell {

using namespace resourcetest;

namespace {

struct Levels {
    int peak = 0;
    int firstFrame = 0; // the louder channel of the first and last frames
    int lastFrame = 0;
    qsizetype frames = 0;
};

Levels levelsOf(const platform::DecodedWave& wave) {
    Levels levels;
    const auto* samples = reinterpret_cast<const int16_t*>(wave.pcm16.constData());
    const qsizetype count = wave.pcm16.size() / 2;
    levels.frames = count / wave.channels;
    for (qsizetype i = 0; i < count; ++i)
        levels.peak = std::max(levels.peak, std::abs(static_cast<int>(samples[i])));
    for (int c = 0; c < wave.channels; ++c) {
        levels.firstFrame = std::max(levels.firstFrame, std::abs(static_cast<int>(samples[c])));
        levels.lastFrame = std::max(levels.lastFrame,
                                    std::abs(static_cast<int>(samples[count - wave.channels + c])));
    }
    return levels;
}

TEST(ClickSound, IsStereo16BitPcmWithExactly11552BytesOfSamples) {
    const QByteArray riff = platform::loadWave(QStringLiteral("CLICK"));
    ASSERT_FALSE(riff.isEmpty());
    EXPECT_TRUE(riff.startsWith("RIFF"));
    EXPECT_EQ(qFromLittleEndian<uint32_t>(riff.constData() + 4) + 8u,
              static_cast<uint32_t>(riff.size()));
    const auto format = readWaveFormat(riff);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->formatTag, 1) << "PCM";
    EXPECT_EQ(format->channels, 2);
    EXPECT_EQ(format->sampleRate, 22050u);
    EXPECT_EQ(format->bitsPerSample, 16);
    EXPECT_EQ(format->blockAlign, 4);
    EXPECT_EQ(format->byteRate, 22050u * 4u);
    EXPECT_EQ(waveDataSize(riff), 11552);
}

TEST(ClickSound, DecodesToAShortCleanClick) {
    const platform::DecodedWave wave = platform::decodeWave(platform::loadWave("CLICK"));
    ASSERT_TRUE(wave.isValid());
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.sampleRate, 22050);
    EXPECT_EQ(wave.pcm16.size(), 11552);
    const Levels levels = levelsOf(wave);
    EXPECT_GT(levels.peak, 8000) << "audible";
    EXPECT_LT(levels.peak, 32000) << "no clipping";
    EXPECT_LT(levels.firstFrame, 300) << "starts in silence";
    EXPECT_LT(levels.lastFrame, 300) << "ends in silence";
}

TEST(TadaSound, IsStereoMsAdpcmWithExactly47104BytesOfData) {
    const QByteArray riff = platform::loadWave(QStringLiteral("TADA"));
    ASSERT_FALSE(riff.isEmpty());
    EXPECT_EQ(qFromLittleEndian<uint32_t>(riff.constData() + 4) + 8u,
              static_cast<uint32_t>(riff.size()));
    const auto format = readWaveFormat(riff);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->formatTag, 2) << "Microsoft ADPCM";
    EXPECT_EQ(format->channels, 2);
    EXPECT_EQ(format->sampleRate, 22050u);
    EXPECT_EQ(format->bitsPerSample, 4);
    EXPECT_EQ(waveDataSize(riff), 47104);
    ASSERT_GT(format->blockAlign, 0);
    EXPECT_EQ(47104 % format->blockAlign, 0) << "whole blocks";
}

TEST(TadaSound, DecodesToAFanfareOfAboutTwoSeconds) {
    const platform::DecodedWave wave = platform::decodeWave(platform::loadWave("TADA"));
    ASSERT_TRUE(wave.isValid());
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.sampleRate, 22050);
    const Levels levels = levelsOf(wave);
    EXPECT_GT(levels.frames, 22050 * 2);
    EXPECT_LT(levels.frames, 22050 * 22 / 10);
    EXPECT_GT(levels.peak, 12000) << "bright";
    EXPECT_LT(levels.peak, 32000) << "no clipping";
    EXPECT_LT(levels.firstFrame, 300) << "starts in silence";
    EXPECT_LT(levels.lastFrame, 300) << "ends in silence";
    // Still sounding late in the chord, not cut short.
    const auto* samples = reinterpret_cast<const int16_t*>(wave.pcm16.constData());
    int late = 0;
    for (qsizetype f = levels.frames * 3 / 4; f < levels.frames * 3 / 4 + 2000; ++f)
        late = std::max(late, std::abs(static_cast<int>(samples[2 * f])));
    EXPECT_GT(late, 1000);
}

} // namespace

} // namespace tarnell
