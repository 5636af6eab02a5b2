// The player against an output that the test drives like a device: it holds a buffer of
// frames and plays them only when the test says so, so that what a new sound or a stop cuts,
// and when, shows in what the device heard. Last, the same device behind a table of ALSA
// functions, under the system's output: it runs dry and is suspended as ALSA's are.
#include "platform/SoundPlayer.h"
#include "SynthesisedWave.h"
#include "platform/AlsaOutput.h"
#include "platform/Resources.h"
#include "platform/Sound.h"

#include <QString>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <sndfile.h>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace tarnell {

namespace {

using namespace std::chrono_literals;

// What the device saw, in order. Samples are written as runs, "1000x600" being 600 samples
// of value 1000: each test sound holds one value throughout, so runs name the sound.
std::string runs(const std::vector<short>& samples) {
    std::ostringstream text;
    size_t i = 0;
    while (i < samples.size()) {
        size_t end = i;
        while (end < samples.size() && samples[end] == samples[i])
            ++end;
        text << (i == 0 ? "" : " ") << samples[i] << 'x' << end - i;
        i = end;
    }
    return text.str();
}

struct Device {
    std::mutex mutex;
    std::condition_variable changed;
    long capacity = 1024; // frames
    bool present = true;
    bool serverGone = false; // the output kept open lost its server: it fails until reopened
    bool failsAlways = false; // a server that takes the output and fails it at once, every time
    snd_pcm_state_t state = SND_PCM_STATE_OPEN; // behind the ALSA functions
    long delayWhenDry = 0; // what the output tells once it has played everything
    int channels = 0;
    bool open = false;
    int openAttempts = 0;
    std::vector<std::string> events;
    std::vector<short> written; // every sample handed over
    std::deque<short> queue;    // handed over and not heard yet
    std::vector<short> heard;

    void note(std::string event) {
        events.push_back(std::move(event));
        changed.notify_all();
    }
};

class DrivenOutput final : public platform::SoundOutput {
public:
    explicit DrivenOutput(std::shared_ptr<Device> device) : device_(std::move(device)) {}

    bool open(int channels, int sampleRate) override {
        const std::lock_guard lock(device_->mutex);
        ++device_->openAttempts;
        device_->changed.notify_all();
        // Kept open, it is used again without a look (as a real output whose server left).
        if (device_->open && device_->channels == channels)
            return true;
        if (!device_->present)
            return false;
        device_->open = true;
        device_->channels = channels;
        device_->note(std::string("open ")
                          .append(std::to_string(channels))
                          .append("x")
                          .append(std::to_string(sampleRate)));
        return true;
    }
    bool isOpen() const override {
        const std::lock_guard lock(device_->mutex);
        return device_->open;
    }
    long room() override {
        const std::lock_guard lock(device_->mutex);
        if (device_->serverGone || device_->failsAlways)
            return -1;
        return device_->capacity - static_cast<long>(device_->queue.size()) / device_->channels;
    }
    long write(const int16_t* samples, long frames) override {
        const std::lock_guard lock(device_->mutex);
        const long room =
            device_->capacity - static_cast<long>(device_->queue.size()) / device_->channels;
        if (frames > room)
            device_->note("overfilled");
        const std::vector<short> piece(samples, samples + frames * device_->channels);
        device_->written.insert(device_->written.end(), piece.begin(), piece.end());
        device_->queue.insert(device_->queue.end(), piece.begin(), piece.end());
        device_->note(std::string("write ").append(runs(piece)));
        return frames;
    }
    void finish() override {
        const std::lock_guard lock(device_->mutex);
        device_->note("finish");
    }
    long queued() override {
        const std::lock_guard lock(device_->mutex);
        const long queued = static_cast<long>(device_->queue.size()) / device_->channels;
        return queued > 0 ? queued : device_->delayWhenDry;
    }
    void drop() override {
        const std::lock_guard lock(device_->mutex);
        const std::vector<short> thrown(device_->queue.begin(), device_->queue.end());
        device_->queue.clear();
        device_->note(thrown.empty() ? std::string("drop")
                                     : std::string("drop ").append(runs(thrown)));
    }
    void close() override {
        const std::lock_guard lock(device_->mutex);
        if (!device_->open)
            return;
        device_->open = false;
        device_->serverGone = false; // the next open reaches the server that runs now
        device_->queue.clear();
        device_->note("close");
    }

private:
    std::shared_ptr<Device> device_;
};

// The device behind the ALSA functions: one at a time, a test's own.
Device* alsaDevice = nullptr;

const platform::AlsaFunctions* fakeAlsa() {
    using Lock = std::lock_guard<std::mutex>;
    static const platform::AlsaFunctions table = [] {
        platform::AlsaFunctions alsa;
        alsa.open = [](snd_pcm_t** pcm, const char*, snd_pcm_stream_t, int) {
            const Lock lock(alsaDevice->mutex);
            *pcm = reinterpret_cast<snd_pcm_t*>(alsaDevice);
            alsaDevice->state = SND_PCM_STATE_PREPARED;
            alsaDevice->open = true;
            return 0;
        };
        alsa.setParams = [](snd_pcm_t*, snd_pcm_format_t, snd_pcm_access_t, unsigned channels,
                            unsigned rate, int, unsigned) {
            const Lock lock(alsaDevice->mutex);
            alsaDevice->channels = static_cast<int>(channels);
            alsaDevice->note("open " + std::to_string(channels) + "x" + std::to_string(rate));
            return 0;
        };
        alsa.getParams = [](snd_pcm_t*, snd_pcm_uframes_t* buffer, snd_pcm_uframes_t* period) {
            *buffer = static_cast<snd_pcm_uframes_t>(alsaDevice->capacity);
            *period = *buffer / 4;
            return 0;
        };
        alsa.availUpdate = [](snd_pcm_t*) -> snd_pcm_sframes_t {
            const Lock lock(alsaDevice->mutex);
            if (alsaDevice->state == SND_PCM_STATE_SUSPENDED)
                return -ESTRPIPE;
            return alsaDevice->state == SND_PCM_STATE_XRUN
                       ? -EPIPE
                       : alsaDevice->capacity - static_cast<long>(alsaDevice->queue.size()) / 2;
        };
        alsa.state = [](snd_pcm_t*) {
            const Lock lock(alsaDevice->mutex);
            return alsaDevice->state;
        };
        // Played out and not told yet: it runs dry between the player's two questions.
        alsa.delay = [](snd_pcm_t*, snd_pcm_sframes_t* delay) {
            const Lock lock(alsaDevice->mutex);
            if (alsaDevice->state == SND_PCM_STATE_SUSPENDED)
                return -ESTRPIPE;
            if (alsaDevice->queue.empty())
                alsaDevice->state = SND_PCM_STATE_XRUN;
            *delay = static_cast<long>(alsaDevice->queue.size()) / 2;
            return alsaDevice->queue.empty() ? -EPIPE : 0;
        };
        alsa.start = [](snd_pcm_t*) {
            const Lock lock(alsaDevice->mutex);
            alsaDevice->state = SND_PCM_STATE_RUNNING;
            return 0;
        };
        alsa.write = [](snd_pcm_t* pcm, const void* samples,
                        snd_pcm_uframes_t frames) -> snd_pcm_sframes_t {
            const long room = fakeAlsa()->availUpdate(pcm);
            if (room <= 0)
                return room < 0 ? room : -EAGAIN;
            const long taken = std::min(static_cast<long>(frames), room);
            DrivenOutput(std::shared_ptr<Device>(alsaDevice, [](Device*) {
            })).write(static_cast<const int16_t*>(samples), taken);
            // A full buffer starts the device, unless it was suspended meanwhile (the test may
            // suspend it as soon as it sees the samples, before this line runs).
            const Lock lock(alsaDevice->mutex);
            if (taken == room && alsaDevice->state != SND_PCM_STATE_SUSPENDED)
                alsaDevice->state = SND_PCM_STATE_RUNNING;
            return taken;
        };
        // As the library does: a suspended device is waited for, a second at a time. (An
        // underrun, which the test's playing may cause, is nothing to tell.)
        alsa.recover = [](snd_pcm_t*, int error, int) {
            if (error == -ESTRPIPE) {
                {
                    const Lock lock(alsaDevice->mutex);
                    alsaDevice->note("waits");
                }
                std::this_thread::sleep_for(1s);
            }
            const Lock lock(alsaDevice->mutex);
            alsaDevice->state = SND_PCM_STATE_PREPARED;
            return 0;
        };
        alsa.drop = [](snd_pcm_t*) {
            DrivenOutput(std::shared_ptr<Device>(alsaDevice, [](Device*) {})).drop();
            const Lock lock(alsaDevice->mutex);
            alsaDevice->state = SND_PCM_STATE_SETUP;
            return 0;
        };
        alsa.prepare = [](snd_pcm_t*) {
            const Lock lock(alsaDevice->mutex);
            alsaDevice->state = SND_PCM_STATE_PREPARED;
            return 0;
        };
        alsa.close = [](snd_pcm_t*) {
            DrivenOutput(std::shared_ptr<Device>(alsaDevice, [](Device*) {})).close();
            return 0;
        };
        alsa.setErrorHandler = [](snd_lib_error_handler_t) { return 0; };
        return alsa;
    }();
    return &table;
}

// A stereo 16-bit wave whose every sample is `value`.
platform::WaveSound level(short value, int frames) {
    return platform::WaveSound(
        soundtest::synthesise(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 22050,
                              std::vector<short>(static_cast<size_t>(frames) * 2, value)));
}

class SoundPlayerTest : public ::testing::Test {
protected:
    void makePlayer(std::chrono::milliseconds closeAfterQuiet = 10s,
                    std::chrono::milliseconds stalledAfter = 10s) {
        player_ = std::make_unique<platform::SoundPlayer>(std::make_unique<DrivenOutput>(device_),
                                                          closeAfterQuiet, stalledAfter);
    }
    // The player over the system's output, with the ALSA functions of this test's device.
    void makeAlsaPlayer() {
        alsaDevice = device_.get();
        player_ = std::make_unique<platform::SoundPlayer>(
            std::make_unique<platform::AlsaOutput>(&fakeAlsa), 10s, 10s);
    }
    void TearDown() override { player_.reset(); }

    // Waits (10 s at most) until the device shows what `holds` looks for.
    void waitFor(const std::function<bool()>& holds, const char* what) {
        // Woken by the device, and now and then for what it does not see (a decoding).
        const auto limit = std::chrono::steady_clock::now() + 10s;
        std::unique_lock lock(device_->mutex);
        while (!holds()) {
            if (std::chrono::steady_clock::now() > limit)
                FAIL() << "waited in vain for " << what << "; the device saw: " << eventsLocked();
            device_->changed.wait_for(lock, 5ms);
        }
    }
    // Waits until `event` has been seen `times` times.
    void waitForEvent(const std::string& event, int times = 1) {
        waitFor([&] { return count(eventsLocked(), event) >= times; }, event.c_str());
    }
    static int count(const std::string& text, const std::string& part) {
        int found = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++found;
        return found;
    }
    void waitForWritten(size_t samples) {
        waitFor([&] { return device_->written.size() >= samples; }, "samples written");
    }
    // The device plays `frames` of what it holds.
    void advance(long frames) {
        const std::lock_guard lock(device_->mutex);
        const auto count = std::min(device_->queue.size(), static_cast<size_t>(frames) * 2);
        device_->heard.insert(device_->heard.end(), device_->queue.begin(),
                              device_->queue.begin() + static_cast<std::ptrdiff_t>(count));
        device_->queue.erase(device_->queue.begin(),
                             device_->queue.begin() + static_cast<std::ptrdiff_t>(count));
    }
    // Plays everything the player hands over until the sound has been written whole.
    void playThrough(size_t samples) {
        for (;;) {
            {
                const std::lock_guard lock(device_->mutex);
                if (device_->written.size() >= samples)
                    break;
            }
            waitFor([&] { return !device_->queue.empty(); }, "samples to play");
            if (HasFatalFailure())
                return;
            advance(device_->capacity);
        }
        advance(device_->capacity);
    }
    // Plays a sound through: the device plays all it is handed until `writtenAfter` samples
    // have been written since the test began, and the player finishes its `finish`-th sound.
    void playWhole(const platform::WaveSound& sound, size_t writtenAfter, int finish) {
        player_->play(sound);
        playThrough(writtenAfter);
        waitForEvent("finish", finish);
    }
    // Changes or reads the device under its lock.
    template <typename Change> auto onDevice(Change change) {
        const std::lock_guard lock(device_->mutex);
        return change();
    }
    std::string eventsLocked() const {
        std::string text;
        for (const std::string& event : device_->events)
            text.append(text.empty() ? "" : ", ").append(event);
        return text;
    }
    std::string events() {
        const std::lock_guard lock(device_->mutex);
        return eventsLocked();
    }
    std::string heard() {
        const std::lock_guard lock(device_->mutex);
        return runs(device_->heard);
    }

    std::shared_ptr<Device> device_ = std::make_shared<Device>();
    std::unique_ptr<platform::SoundPlayer> player_;
};

TEST_F(SoundPlayerTest, SoundsPlayWholeThroughOneOutputKeptOpen) {
    makePlayer();
    const platform::WaveSound first = level(1000, 3000);
    const platform::WaveSound second = level(2000, 500);
    playWhole(first, 6000, 1);
    player_->play(second);
    playThrough(7000);
    waitForEvent("write 2000x1000, finish");
    EXPECT_EQ(heard(), "1000x6000 2000x1000");
    const std::string seen = events();
    EXPECT_EQ(seen.find("open"), seen.rfind("open")) << seen;
    EXPECT_EQ(seen.find("close"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("overfilled"), std::string::npos) << seen;
    // The first sound's end was given time to play before the second began.
    EXPECT_NE(seen.find("write 1000x1904, finish, drop, write 2000x1000"), std::string::npos)
        << seen;
}

TEST_F(SoundPlayerTest, NewSoundOrStopCutsTheOnePlayingAtOnce) {
    makePlayer();
    player_->play(level(1000, 22050));
    waitForWritten(2048); // the device is full
    advance(300);
    // The device stands still: whatever it still holds of the first sound is thrown away,
    // and the second follows without one more frame of the first being heard.
    player_->play(level(2000, 22050));
    waitForEvent("write 2000x2048");
    std::string seen = events();
    const size_t cut = seen.rfind("drop", seen.find("write 2000x2048"));
    ASSERT_NE(cut, std::string::npos) << seen;
    EXPECT_EQ(seen.substr(cut, 10), "drop 1000x") << seen;
    EXPECT_EQ(seen.find("write 1000", cut), std::string::npos) << seen;
    advance(1024);
    EXPECT_EQ(heard(), "1000x600 2000x2048");

    player_->stop();
    waitForEvent("drop", 2);
    advance(1024);
    // The stop lets the output go at once, and nothing of the sound came after it.
    waitForEvent("close");
    seen = events();
    EXPECT_EQ(seen.substr(seen.rfind("drop")).find("write"), std::string::npos) << seen;
    EXPECT_EQ(heard(), "1000x600 2000x2048");
}

TEST_F(SoundPlayerTest, NewSoundOrStopCutsTheLastPeriodToo) {
    makePlayer();
    // Shorter than the device's buffer: all of it is handed over, and the device plays out
    // the end while the player waits.
    player_->play(level(1000, 600));
    waitForEvent("write 1000x1200, finish");
    advance(100);
    player_->play(level(2000, 400));
    waitForEvent("drop 1000x1000, write 2000x800");
    advance(100);
    player_->stop();
    waitForEvent("finish, drop 2000x600");
    advance(1024);
    EXPECT_EQ(heard(), "1000x200 2000x200");
}

TEST_F(SoundPlayerTest, SoundThatDoesNotDecodeLeavesThePlayingOneAlone) {
    makePlayer();
    player_->play(level(1000, 4000));
    waitForWritten(2048);
    QByteArray broken = soundtest::synthesise(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 22050,
                                              std::vector<short>(2000, 7));
    broken.truncate(40); // the wave's header, cut in its format chunk
    const int decodedBefore = platform::wavesDecoded();
    player_->play(platform::WaveSound(broken));
    waitFor([&] { return platform::wavesDecoded() > decodedBefore; },
            "the broken sound's decoding");
    playThrough(8000);
    waitForEvent("finish");
    EXPECT_EQ(heard(), "1000x8000");
    EXPECT_EQ(events().find("drop"), std::string::npos) << events();
}

TEST_F(SoundPlayerTest, SoundsDecodeOnceOnThePlayersThread) {
    makePlayer();
    const platform::WaveSound sound = level(1000, 500);
    const int decodedBefore = platform::wavesDecoded();
    const int decodedHereBefore = platform::wavesDecodedOnThisThread();
    player_->play(sound);
    EXPECT_EQ(platform::wavesDecodedOnThisThread(), decodedHereBefore);
    playThrough(1000);
    waitForEvent("finish");
    EXPECT_EQ(platform::wavesDecoded(), decodedBefore + 1);
    const platform::WaveSound copy = sound;
    playWhole(copy, 2000, 2);
    playWhole(sound, 3000, 3);
    EXPECT_EQ(heard(), "1000x3000");
    EXPECT_EQ(platform::wavesDecoded(), decodedBefore + 1);
    EXPECT_EQ(platform::wavesDecodedOnThisThread(), decodedHereBefore);
    // A sound made ready while another plays is decoded once that one is over, not meanwhile,
    // when its output would wait.
    player_->play(level(2000, 22050));
    waitForWritten(3000 + 2048);
    player_->prepare(level(3000, 100));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(platform::wavesDecoded(), decodedBefore + 2);
    player_->stop();
    waitFor([&] { return platform::wavesDecoded() == decodedBefore + 3; }, "the decoding");
}

TEST_F(SoundPlayerTest, EmbeddedSoundsDecodeOncePerRun) {
    if (platform::loadWave(QStringLiteral("TADA")).isEmpty())
        GTEST_SKIP() << "the embedded sounds are not generated yet";
    const QByteArray tada = platform::decodeWave(platform::loadWave(QStringLiteral("TADA"))).pcm16;
    makePlayer();
    const int decodedBefore = platform::wavesDecoded();
    // As the puzzle-solved dialog asks for it, once per dialog.
    for (int dialog = 0; dialog < 3; ++dialog) {
        player_->play(platform::embeddedSound(QStringLiteral("tada")));
        waitFor([&] { return !device_->written.empty(); }, "TADA's samples");
        player_->stop();
        waitForEvent("drop");
        const std::lock_guard lock(device_->mutex);
        device_->written.clear();
        device_->events.clear();
    }
    EXPECT_EQ(platform::embeddedSound(QStringLiteral("TADA")).wave().pcm16, tada);
    // At most once: an earlier test of this run may have decoded it already.
    EXPECT_LE(platform::wavesDecoded(), decodedBefore + 1);
}

TEST_F(SoundPlayerTest, WithoutADeviceNothingPlaysAndTheNextSoundTriesAgain) {
    device_->present = false;
    makePlayer();
    player_->play(level(1000, 500));
    waitFor([&] { return device_->openAttempts == 1; }, "an attempt to open the device");
    onDevice([&] { device_->present = true; }); // plugged in
    playWhole(level(2000, 500), 1000, 1);
    EXPECT_EQ(heard(), "2000x1000");
    EXPECT_EQ(events(), "open 2x22050, write 2000x1000, finish");
}

TEST_F(SoundPlayerTest, TheOutputClosesOnlyAfterAQuietWhile) {
    // So short a quiet while that any close during a sound would show.
    makePlayer(1ms);
    device_->capacity = 128;
    player_->play(level(1000, 2000));
    playThrough(4000);
    waitForEvent("finish, close");
    player_->play(level(2000, 100));
    waitForEvent("finish, close, open 2x22050, write 2000x200");
    const std::string seen = events();
    EXPECT_EQ(seen.find("close"), seen.find("finish, close") + 8) << seen;
    EXPECT_EQ(heard(), "1000x4000");
}

TEST_F(SoundPlayerTest, SoundsInARowAfterTheFirstQuietWhileShareOneOutput) {
    makePlayer(500ms);
    // The run has been going for longer than the quiet while before its first sound.
    std::this_thread::sleep_for(700ms);
    for (short value : {1000, 2000, 3000}) {
        player_->play(level(value, 500));
        playThrough(static_cast<size_t>(value / 1000) * 1000);
        // The player sees the end, and a close that came right after it would be seen.
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(heard(), "1000x1000 2000x1000 3000x1000");
    const std::string seen = events();
    EXPECT_EQ(count(seen, "open"), 1) << seen;
    EXPECT_EQ(seen.find("close"), std::string::npos) << seen;
    // Quiet from now on: the output is let go after the quiet while.
    waitForEvent("close");
}

TEST_F(SoundPlayerTest, ASoundEndsThoughTheOutputTellsAFewFramesOfDelayAfterIt) {
    // As PulseAudio's plug-in may, once its stream ran dry.
    device_->delayWhenDry = 6;
    makePlayer(300ms, 60s);
    player_->play(level(1000, 2000));
    playThrough(4000);
    // The sound is over: after the quiet while the output is let go (not after the much
    // longer while that an output that stopped moving gets).
    waitForEvent("finish, close");
    player_->play(level(2000, 500));
    playThrough(5000);
    waitForEvent("close", 2);
    EXPECT_EQ(heard(), "1000x4000 2000x1000");
    EXPECT_EQ(count(events(), "open"), 2) << events();
}

TEST_F(SoundPlayerTest, AfterTheServerWentAwayTheNextSoundOpensTheOutputAfreshAndIsHeard) {
    makePlayer();
    playWhole(level(1000, 500), 1000, 1);
    // The sound server was restarted while the output waited, open, for the next sound.
    onDevice([&] { device_->serverGone = true; });
    playWhole(level(2000, 500), 2000, 2);
    EXPECT_EQ(heard(), "1000x1000 2000x1000");
    EXPECT_EQ(count(events(), "open"), 2) << events();
    // A stop while the output is fine: the next sound opens it once, as always.
    player_->stop();
    waitForEvent("drop, close");
    playWhole(level(3000, 500), 3000, 3);
    EXPECT_EQ(count(events(), "open"), 3) << events();
    // Restarted once more in the same run: that sound too goes on through a fresh output.
    onDevice([&] { device_->serverGone = true; });
    playWhole(level(4000, 500), 4000, 4);
    EXPECT_EQ(heard(), "1000x1000 2000x1000 3000x1000 4000x1000");
    EXPECT_EQ(count(events(), "open"), 4) << events();
}

TEST_F(SoundPlayerTest, AnOutputThatFailsAgainAtOnceIsNotOpenedOverAndOver) {
    makePlayer();
    playWhole(level(1000, 500), 1000, 1);
    // Its server went away, and it is not back yet.
    const int attemptsBefore = onDevice([&] {
        device_->serverGone = true;
        device_->present = false;
        return device_->openAttempts;
    });
    player_->play(level(2000, 500));
    waitForEvent("close");
    std::this_thread::sleep_for(100ms);
    // The sound's own attempt, and once afresh; then the server is back.
    EXPECT_EQ(onDevice([&] { return device_->openAttempts; }), attemptsBefore + 2);
    onDevice([&] { device_->present = true; });
    playWhole(level(3000, 500), 2000, 2);
    EXPECT_EQ(heard(), "1000x1000 3000x1000");

    // Back, but failing every output it opens: opened afresh once, then the sound is let go.
    const int closesBefore = count(events(), "close");
    const int attemptsOnBroken = onDevice([&] {
        device_->failsAlways = true;
        return device_->openAttempts;
    });
    player_->play(level(4000, 500));
    waitForEvent("close", closesBefore + 2);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(onDevice([&] { return device_->openAttempts; }), attemptsOnBroken + 2);
}

TEST_F(SoundPlayerTest, AnOutputThatStopsPlayingIsLetGoAndTheNextSoundOpensItAfresh) {
    makePlayer(10s, 300ms);
    // A sound short enough to be handed over whole, and one that fills the device.
    player_->play(level(1000, 500));
    waitForEvent("write 1000x1000, finish");
    // The device never plays it (its stream was never connected, say).
    waitForEvent("close");
    player_->play(level(2000, 3000));
    waitForEvent("close, open 2x22050, write 2000x2048");
    waitForEvent("close", 2);
    player_->play(level(3000, 500));
    waitForEvent("close, open 2x22050, write 3000x1000");
    advance(1024);
    EXPECT_EQ(heard(), "3000x1000");
}

TEST_F(SoundPlayerTest, ASoundThatRanDryHasEndedAndTheSystemsOutputStaysOpenForTheNext) {
    makeAlsaPlayer();
    // Longer than the device's buffer, then shorter: each ends by running dry, which the
    // state tells, or the delay when it ran dry just then. Neither is a failure.
    for (const auto& [value, frames, dryAtOnce] :
         {std::tuple{1000, 2888, true}, std::tuple{2000, 500, false},
          std::tuple{3000, 700, true}}) {
        player_->play(level(static_cast<short>(value), frames));
        playThrough(static_cast<size_t>(frames) * 2);
        onDevice([&] {
            device_->written.clear();
            if (dryAtOnce)
                device_->state = SND_PCM_STATE_XRUN;
        });
        waitFor([&] { return device_->state == SND_PCM_STATE_XRUN; }, "the sound's end");
        std::this_thread::sleep_for(50ms); // the end seen
    }
    EXPECT_EQ(heard(), "1000x5776 2000x1000 3000x1400");
    EXPECT_EQ(count(events(), "open"), 1) << events();
    EXPECT_EQ(count(events(), "close"), 0) << events();
}

TEST_F(SoundPlayerTest, ASuspendedSystemOutputIsLetGoWithoutWaitingAndTheNextSoundIsHeard) {
    makeAlsaPlayer();
    player_->play(level(1000, 22050));
    waitForWritten(2048);
    onDevice([&] {
        device_->state = SND_PCM_STATE_SUSPENDED;
        device_->note("suspended");
    });
    // Lost, as a disconnected output is: let go at once (or opened afresh at once for the rest
    // of the sound), never waited for.
    waitFor(
        [&] {
            return eventsLocked().find("close", eventsLocked().find("suspended")) !=
                   std::string::npos;
        },
        "the output let go");
    player_->play(level(2000, 500));
    playThrough(2048 + 1000);
    waitForEvent("write 2000x1000");
    advance(1024);
    EXPECT_EQ(events().find("waits"), std::string::npos) << events();
    EXPECT_EQ(heard().substr(heard().size() - 9), "2000x1000") << heard();
}

} // namespace

} // namespace tarnell
