// Playing through the facade the windows call: at once, never decoding on the caller's
// thread, and without an audio device quietly.
#include "platform/Sound.h"
#include "SynthesisedWave.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <sndfile.h>

namespace tarnell {

namespace {

using soundtest::stereoTone;
using soundtest::synthesise;

TEST(PlaySound, ReturnsAtOnceAndReportsNothing) {
    // Ten seconds of sound: a call that waited for the end would be seen at once.
    const platform::WaveSound longSound(
        synthesise(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 22050, stereoTone(220500)));
    ASSERT_TRUE(longSound.isValid());
    const platform::WaveSound invalid(QByteArray("not a wave"));
    EXPECT_FALSE(invalid.isValid());
    testsupport::clearMessages();
    QElapsedTimer timer;
    timer.start();
    platform::playSound(longSound);
    platform::playSound(invalid);
    platform::playSound(longSound); // replaces the first
    EXPECT_LT(timer.elapsed(), 3000);
    platform::stopSound();
    platform::stopSound();
    EXPECT_TRUE(testsupport::messages().isEmpty());
}

TEST(PlaySound, NeverDecodesOnTheCallersThread) {
    // A sound made and played as the puzzle-solved dialog used to: not decoded yet.
    const platform::WaveSound fresh(
        synthesise(SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 2, 22050, stereoTone(46000)));
    const int decodedHere = platform::wavesDecodedOnThisThread();
    const int decoded = platform::wavesDecoded();
    testsupport::clearMessages();
    platform::playSound(fresh);
    EXPECT_EQ(platform::wavesDecodedOnThisThread(), decodedHere);
    // The player's thread decodes it (with no audio device too, where nothing plays).
    QElapsedTimer timer;
    timer.start();
    while (platform::wavesDecoded() < decoded + 1 && timer.elapsed() < 10000)
        QThread::msleep(5);
    EXPECT_GE(platform::wavesDecoded(), decoded + 1) << "the player never decoded the sound";
    // As the puzzle-solved dialog plays its fanfare.
    platform::playSound(platform::embeddedSound(QStringLiteral("TADA")));
    platform::stopSound();
    EXPECT_EQ(platform::wavesDecodedOnThisThread(), decodedHere);
    EXPECT_TRUE(testsupport::messages().isEmpty())
        << testsupport::messages().join(u'\n').toStdString();
}

} // namespace

} // namespace tarnell
