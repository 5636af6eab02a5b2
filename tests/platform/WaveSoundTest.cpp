// Decoding waves from memory (PCM and Microsoft ADPCM written here with libsndfile) and
// refusing malformed input.
#include "platform/WaveSound.h"
#include "SynthesisedWave.h"
#include "platform/Resources.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <sndfile.h>
#include <tuple>
#include <vector>

namespace tarnell {

namespace {

using soundtest::stereoTone;
using soundtest::synthesise;

std::vector<short> samplesOf(const platform::DecodedWave& wave) {
    std::vector<short> samples(static_cast<size_t>(wave.pcm16.size()) / sizeof(short));
    std::memcpy(samples.data(), wave.pcm16.constData(), samples.size() * sizeof(short));
    return samples;
}

// Sixteen-bit samples come back as they are, eight-bit ones widened to sixteen.
TEST(DecodeWave, PcmComesBackSampleForSample) {
    for (const auto& [format, channels, rate, samples] :
         {std::tuple{SF_FORMAT_PCM_16, 2, 22050, stereoTone(2888)},
          std::tuple{SF_FORMAT_PCM_U8, 1, 11025,
                     std::vector<short>{0, 256, -256, 32512, -32768, 1024}}}) {
        SCOPED_TRACE(format == SF_FORMAT_PCM_16 ? "16-bit" : "8-bit");
        const QByteArray riff = synthesise(SF_FORMAT_WAV | format, channels, rate, samples);
        ASSERT_FALSE(riff.isEmpty());
        const platform::DecodedWave wave = platform::decodeWave(riff);
        ASSERT_TRUE(wave.isValid());
        EXPECT_EQ(wave.channels, channels);
        EXPECT_EQ(wave.sampleRate, rate);
        EXPECT_EQ(samplesOf(wave), samples);
    }
}

TEST(DecodeWave, MicrosoftAdpcmDecodesCloseToTheOriginal) {
    const int frames = 23000;
    const std::vector<short> samples = stereoTone(frames);
    const QByteArray riff = synthesise(SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 2, 22050, samples);
    ASSERT_FALSE(riff.isEmpty());
    ASSERT_LT(riff.size(), frames * 4 / 3); // really compressed, about 4 bits a sample
    const platform::DecodedWave wave = platform::decodeWave(riff);
    ASSERT_TRUE(wave.isValid());
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.sampleRate, 22050);
    const std::vector<short> decoded = samplesOf(wave);
    ASSERT_GE(decoded.size(), samples.size());
    ASSERT_LT(decoded.size(), samples.size() + 2 * 2048); // at most one block of padding
    double errorSum = 0;
    for (size_t i = 0; i < samples.size(); ++i)
        errorSum += std::abs(decoded[i] - samples[i]);
    EXPECT_LT(errorSum / static_cast<double>(samples.size()), 300.0);
}

TEST(DecodeWave, RefusesWhatIsNotAWave) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("RIFF"),
                                    QByteArray("RIFF\x10\0\0\0WAVE", 12), QByteArray(4096, '\0')})
        EXPECT_FALSE(platform::decodeWave(bytes).isValid()) << bytes.size() << " bytes";
    // Well-formed sound files of other kinds are not waves.
    for (const int format : {SF_FORMAT_AIFF | SF_FORMAT_PCM_16, SF_FORMAT_WAV | SF_FORMAT_FLOAT}) {
        const QByteArray other = synthesise(format, 2, 22050, stereoTone(500));
        ASSERT_FALSE(other.isEmpty()) << std::hex << format;
        EXPECT_FALSE(platform::decodeWave(other).isValid()) << std::hex << format;
    }
}

TEST(DecodeWave, HeaderSizesAreNotTrusted) {
    const std::vector<short> samples = stereoTone(1000);
    QByteArray riff = synthesise(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 22050, samples);
    const qsizetype data = riff.indexOf("data");
    ASSERT_GT(data, 0);
    // The data chunk claims nearly 4 GB and the RIFF chunk more than there is.
    const char huge[4] = {'\xf0', '\xff', '\xff', '\x7f'};
    riff.replace(data + 4, 4, huge, 4);
    riff.replace(4, 4, huge, 4);
    const platform::DecodedWave wave = platform::decodeWave(riff);
    if (wave.isValid()) {
        EXPECT_LE(wave.pcm16.size(), static_cast<qsizetype>(samples.size() * sizeof(short)));
    }
    // Zero channels and an absurd rate in the format chunk.
    QByteArray noChannels = synthesise(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 22050, samples);
    const qsizetype fmt = noChannels.indexOf("fmt ");
    ASSERT_GT(fmt, 0);
    noChannels[fmt + 10] = 0;
    noChannels[fmt + 11] = 0;
    EXPECT_FALSE(platform::decodeWave(noChannels).isValid());
}

TEST(DecodeWave, TruncatedAndScrambledInputNeverCrashes) {
    const QByteArray whole =
        synthesise(SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 2, 22050, stereoTone(6000));
    const platform::DecodedWave full = platform::decodeWave(whole);
    ASSERT_TRUE(full.isValid());
    for (qsizetype length = 0; length < whole.size(); length += 37) {
        const platform::DecodedWave part = platform::decodeWave(whole.left(length));
        EXPECT_LE(part.pcm16.size(), full.pcm16.size()) << length;
    }
    std::mt19937 random(20261207u);
    for (int round = 0; round < 2000; ++round) {
        QByteArray scrambled = whole;
        const int changes = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < changes; ++i) {
            // Mostly the headers, where the sizes live.
            const qsizetype at =
                static_cast<qsizetype>(random() % (round % 2 ? 100 : scrambled.size()));
            scrambled[at] = static_cast<char>(random());
        }
        const platform::DecodedWave wave = platform::decodeWave(scrambled);
        if (wave.isValid()) {
            EXPECT_GE(wave.channels, 1);
            EXPECT_LE(wave.pcm16.size(), 64 * 1024 * 1024);
        }
    }
}

TEST(DecodeWave, EmbeddedSoundsDecode) {
    for (const char* name : {"CLICK", "TADA"}) {
        const QByteArray riff = platform::loadWave(QString::fromLatin1(name));
        if (riff.isEmpty())
            GTEST_SKIP() << "the embedded sounds are not generated yet";
        const platform::DecodedWave wave = platform::decodeWave(riff);
        ASSERT_TRUE(wave.isValid()) << name;
        EXPECT_EQ(wave.channels, 2) << name;
        EXPECT_EQ(wave.sampleRate, 22050) << name;
    }
}

} // namespace

} // namespace tarnell
