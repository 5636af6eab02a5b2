// The thread that decodes and plays sounds, and the output it hands samples to: the system's
// device in the game, a stand-in in the tests. The output stays open between sounds.
#pragma once

#include "platform/WaveSound.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace tarnell::platform {

// Where the player's samples go. Only the player's thread calls it, and nothing here may wait
// for the sound to be heard: on a sound server, waiting for the end of one sound would hold
// back the next one.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Gets ready for interleaved 16-bit samples of this format, keeping the output open when
    // it already has it; false when there is no output.
    virtual bool open(int channels, int sampleRate) = 0;
    virtual bool isOpen() const = 0;
    // Frames the output takes now without waiting; negative when it failed.
    virtual long room() = 0;
    // Hands over at most room() frames; the frames taken, negative when it failed.
    virtual long write(const int16_t* samples, long frames) = 0;
    // No more samples follow: what was handed over plays to its end by itself (a sound shorter
    // than the output's buffer is set going here). Returns at once.
    virtual void finish() = 0;
    // Frames handed over and not heard yet; 0 once the sound has ended, negative when the
    // output failed.
    virtual long queued() = 0;
    // Throws away what was handed over and not heard yet, at once; the output stays open.
    virtual void drop() = 0;
    virtual void close() = 0;
};

class SoundPlayer {
public:
    // An idle output is closed after this long without a sound: an open output keeps the
    // sound server's sink (or, without a server, the card itself) from resting, while a
    // player who clicks now and then finds it open.
    static constexpr std::chrono::milliseconds DefaultCloseAfterQuiet{10000};
    // An output that neither takes samples nor plays any for this long has failed (a stream
    // its server never connected, say): it is let go, and the next sound opens it afresh.
    static constexpr std::chrono::milliseconds DefaultStalledAfter{2000};
    // A sound that plays is over this long after its last frame was due to be heard,
    // whatever the output still tells. (Only the quiet while counts from the end: a new sound
    // cuts in at once all the same.)
    static constexpr std::chrono::milliseconds EndsWithin{250};

    explicit SoundPlayer(std::unique_ptr<SoundOutput> output,
                         std::chrono::milliseconds closeAfterQuiet = DefaultCloseAfterQuiet,
                         std::chrono::milliseconds stalledAfter = DefaultStalledAfter);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // These return at once; the player's thread does the work. A new sound replaces the one
    // that plays, unless it does not decode.
    void play(const WaveSound& sound);
    // Decodes the sound and opens the output for its format, without playing, once the
    // sound that plays now has ended.
    void prepare(const WaveSound& sound);
    // Cuts the sound that plays and lets the output go (the next sound opens it again).
    void stop();

private:
    using Duration = std::chrono::steady_clock::duration;
    void run();
    void start(const std::optional<WaveSound>& next, bool release);
    void warmUp(const WaveSound& sound);
    // Moves the sound on; how long the thread may rest before the next step, or nothing
    // when only a request can give it work.
    std::optional<Duration> step();
    // After the output failed: whether the sound goes on through an output opened afresh.
    bool reopen();
    // The sound is over, heard to its end or not; the output rests from now on.
    void ended();
    // Rests while the output plays `queued` frames, or lets it go when it has stopped moving.
    std::optional<Duration> waitWhileItPlays(long queued);
    Duration durationOf(long frames) const;
    Duration restFor(long frames) const;

    const std::unique_ptr<SoundOutput> output_;
    const std::chrono::milliseconds closeAfterQuiet_;
    const std::chrono::milliseconds stalledAfter_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool requested_ = false;           // a play or stop waits to be taken
    std::optional<WaveSound> next_;    // the sound to play; empty for stop
    bool release_ = false;             // a stop asked for, even if a sound followed it
    std::optional<WaveSound> prepare_; // a sound to make ready
    bool quit_ = false;

    // The player's thread alone uses these.
    std::optional<WaveSound> playing_;
    long position_ = 0; // frames handed over
    bool finishing_ = false;
    bool playedSome_ = false;                      // the output was seen to play this sound
    std::chrono::steady_clock::time_point endsBy_; // when the last frame is heard
    bool reopened_ = false;                        // this sound already had a fresh output
    long lastQueued_ = 0;
    std::chrono::steady_clock::time_point movedAt_; // the output last took or played frames
    std::chrono::steady_clock::time_point quietSince_;

    std::thread thread_; // last: it starts once everything it uses is there
};

} // namespace tarnell::platform
