// What reaches the sound output: the system's default output is pointed (through the scratch
// HOME's ALSA configuration) at a file, which then holds exactly the samples played. (That
// output takes samples as fast as they come, so it cannot show one sound cutting another:
// SoundPlayerTest drives an output that can. It writes its file a period at a time and the
// last part of a period when the output lets go; a device plays the whole buffer by itself.)
#include "SynthesisedWave.h"
#include "platform/Sound.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <vector>

namespace tarnell {

namespace {

QString outputPath() {
    return QDir(testsupport::scratchHome()).filePath(QStringLiteral("played.raw"));
}

class SoundOutput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QFile config(QDir(testsupport::scratchHome()).filePath(QStringLiteral(".asoundrc")));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("pcm.!default {\n  type file\n  slave.pcm \"null\"\n"
                                    "  file \"%1\"\n  format \"raw\"\n}\n")
                         .arg(outputPath())
                         .toUtf8());
    }
    void SetUp() override { QFile::remove(outputPath()); }

    static QByteArray played() {
        QFile file(outputPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The bytes written so far, once the file holds at least `bytes` of them or after a while
    // (the output is written on the player's own thread).
    static QByteArray playedOnceAtLeast(qsizetype bytes) {
        QByteArray bytesPlayed;
        for (int wait = 0; wait < 400 && bytesPlayed.size() < bytes; ++wait) {
            bytesPlayed = played();
            if (bytesPlayed.size() < bytes)
                QThread::msleep(25);
        }
        return bytesPlayed;
    }
    // Everything played, once the sounds that make up `bytes` have been handed over whole:
    // the file holds all but the last period, and nothing more comes. Then the output is let
    // go, which writes the rest.
    static QByteArray playedAllButTheLastPeriod(qsizetype bytes) {
        playedOnceAtLeast(bytes - OnePeriodAtMost);
        for (int wait = 0; wait < 400; ++wait) {
            const qsizetype before = played().size();
            QThread::msleep(100);
            if (played().size() == before)
                break;
        }
        return played();
    }
    static QByteArray playedToTheEnd(qsizetype bytes) {
        playedAllButTheLastPeriod(bytes);
        platform::stopSound();
        return playedOnceAtLeast(bytes);
    }
    // The output's whole buffer (50 ms of the game's stereo 16-bit samples) and more.
    static constexpr qsizetype OnePeriodAtMost = 22050 / 20 * 4 + 64;
};

// A stereo tone of the game's format (16-bit PCM, 22,050 Hz), the same in both channels.
QByteArray wave(int frames, double pitch) {
    std::vector<short> samples;
    for (int i = 0; i < frames; ++i)
        for (int channel = 0; channel < 2; ++channel)
            samples.push_back(static_cast<short>(std::lround(9000.0 * std::sin(i * pitch))));
    return soundtest::synthesise(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 22050, samples);
}

TEST_F(SoundOutput, PlayingWritesExactlyTheSoundsSamples) {
    const platform::WaveSound click(wave(2888, 0.07));
    ASSERT_TRUE(click.isValid());
    platform::prepareSound(click); // as after the first frame: nothing plays
    platform::playSound(click);
    EXPECT_EQ(playedToTheEnd(click.wave().pcm16.size()), click.wave().pcm16);
}

TEST_F(SoundOutput, SoundsInARowFollowEachOtherThroughTheOutputKeptOpen) {
    // Whatever an earlier test left open lets go of its file first.
    platform::stopSound();
    const platform::WaveSound first(wave(2888, 0.07));
    const platform::WaveSound second(wave(1500, 0.11));
    ASSERT_TRUE(first.isValid() && second.isValid());
    platform::playSound(first);
    // All of the first sound but its last period, so that the second one follows it.
    const QByteArray firstPlayed = playedOnceAtLeast(first.wave().pcm16.size() - OnePeriodAtMost);
    ASSERT_TRUE(first.wave().pcm16.startsWith(firstPlayed));
    QThread::msleep(200); // handed over whole
    // The output opened again would start its file afresh.
    platform::playSound(second);
    EXPECT_EQ(playedToTheEnd(first.wave().pcm16.size() + second.wave().pcm16.size()),
              first.wave().pcm16 + second.wave().pcm16);
}

} // namespace

} // namespace tarnell
