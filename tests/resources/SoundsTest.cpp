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

// The click: 16-bit PCM, 11552 bytes of samples, short and audible. The fanfare: Microsoft
// ADPCM, 47104 bytes in whole blocks, about two seconds, bright, still sounding late.
struct Sound {
    const char* name;
    uint16_t formatTag;
    uint16_t bitsPerSample;
    qint64 dataBytes;
    int minPeak;
    qsizetype minFrames, maxFrames; // decoded, both ends included
};
const Sound Sounds[] = {{"CLICK", 1, 16, 11552, 8000, 11552 / 4, 11552 / 4},
                        {"TADA", 2, 4, 47104, 12000, 22050 * 2 + 1, 22050 * 22 / 10 - 1}};

TEST(EmbeddedSounds, AreStereoRiffWavesOfTheirFormatAndDataSize) {
    for (const Sound& sound : Sounds) {
        SCOPED_TRACE(sound.name);
        const QByteArray riff = platform::loadWave(QString::fromLatin1(sound.name));
        ASSERT_FALSE(riff.isEmpty());
        EXPECT_TRUE(riff.startsWith("RIFF"));
        EXPECT_EQ(qFromLittleEndian<uint32_t>(riff.constData() + 4) + 8u,
                  static_cast<uint32_t>(riff.size()));
        const auto format = readWaveFormat(riff);
        ASSERT_TRUE(format.has_value());
        EXPECT_EQ(format->formatTag, sound.formatTag);
        EXPECT_EQ(format->channels, 2);
        EXPECT_EQ(format->sampleRate, 22050u);
        EXPECT_EQ(format->bitsPerSample, sound.bitsPerSample);
        EXPECT_EQ(waveDataSize(riff), sound.dataBytes);
        ASSERT_GT(format->blockAlign, 0);
        EXPECT_EQ(sound.dataBytes % format->blockAlign, 0) << "whole blocks";
        if (sound.formatTag == 1) {
            EXPECT_EQ(format->blockAlign, 4);
            EXPECT_EQ(format->byteRate, 22050u * 4u);
        }
    }
}

TEST(EmbeddedSounds, DecodeToCleanStereoThatStartsAndEndsInSilence) {
    for (const Sound& sound : Sounds) {
        SCOPED_TRACE(sound.name);
        const platform::DecodedWave wave =
            platform::decodeWave(platform::loadWave(QString::fromLatin1(sound.name)));
        ASSERT_TRUE(wave.isValid());
        EXPECT_EQ(wave.channels, 2);
        EXPECT_EQ(wave.sampleRate, 22050);
        const Levels levels = levelsOf(wave);
        EXPECT_GE(levels.frames, sound.minFrames);
        EXPECT_LE(levels.frames, sound.maxFrames);
        EXPECT_GT(levels.peak, sound.minPeak) << "audible";
        EXPECT_LT(levels.peak, 32000) << "no clipping";
        EXPECT_LT(levels.firstFrame, 300) << "starts in silence";
        EXPECT_LT(levels.lastFrame, 300) << "ends in silence";
    }
    // The fanfare is still sounding late in the chord, not cut short.
    const platform::DecodedWave tada = platform::decodeWave(platform::loadWave("TADA"));
    const auto* samples = reinterpret_cast<const int16_t*>(tada.pcm16.constData());
    const qsizetype lateFrame = tada.pcm16.size() / 4 * 3 / 4;
    int late = 0;
    for (qsizetype f = lateFrame; f < lateFrame + 2000; ++f)
        late = std::max(late, std::abs(static_cast<int>(samples[2 * f])));
    EXPECT_GT(late, 1000);
}

} // namespace

} // namespace tarnell
