#include "SoundPlayer.h"

#include <algorithm>
#include <utility>

namespace tarnell::platform {

namespace {

long framesOf(const DecodedWave& wave) {
    return static_cast<long>(wave.pcm16.size() / static_cast<qsizetype>(sizeof(int16_t)) /
                             wave.channels);
}

} // namespace

SoundPlayer::SoundPlayer(std::unique_ptr<SoundOutput> output,
                         std::chrono::milliseconds closeAfterQuiet,
                         std::chrono::milliseconds stalledAfter)
    : output_(std::move(output)), closeAfterQuiet_(closeAfterQuiet), stalledAfter_(stalledAfter),
      quietSince_(std::chrono::steady_clock::now()), thread_([this] { run(); }) {}

SoundPlayer::~SoundPlayer() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void SoundPlayer::play(const WaveSound& sound) {
    {
        std::lock_guard lock(mutex_);
        requested_ = true;
        next_ = sound;
    }
    wake_.notify_one();
}

void SoundPlayer::prepare(const WaveSound& sound) {
    {
        std::lock_guard lock(mutex_);
        prepare_ = sound;
    }
    wake_.notify_one();
}

void SoundPlayer::stop() {
    {
        std::lock_guard lock(mutex_);
        requested_ = true;
        release_ = true;
        next_.reset();
    }
    wake_.notify_one();
}

void SoundPlayer::run() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (requested_) {
            requested_ = false;
            const std::optional<WaveSound> next = std::move(next_);
            next_.reset();
            const bool release = std::exchange(release_, false);
            lock.unlock();
            start(next, release);
            lock.lock();
            continue;
        }
        // Made ready once nothing plays: decoding on this thread while a sound plays could
        // keep its output waiting.
        if (prepare_ && !playing_) {
            const WaveSound sound = std::move(*prepare_);
            prepare_.reset();
            lock.unlock();
            warmUp(sound);
            lock.lock();
            continue;
        }
        lock.unlock();
        const std::optional<Duration> rest = step();
        lock.lock();
        const auto hasWork = [this] {
            return quit_ || requested_ || (prepare_.has_value() && !playing_);
        };
        if (rest)
            wake_.wait_for(lock, *rest, hasWork);
        else
            wake_.wait(lock, hasWork);
    }
    lock.unlock();
    output_->close();
}

void SoundPlayer::start(const std::optional<WaveSound>& next, bool release) {
    if (release) {
        if (output_->isOpen()) {
            output_->drop();
            output_->close();
        }
        playing_.reset();
    }
    if (!next)
        return;
    // Decoded here, once per sound; one that does not decode leaves the playing one alone.
    const DecodedWave& wave = next->wave();
    if (!wave.isValid())
        return;
    if (output_->isOpen())
        output_->drop();
    if (!output_->open(wave.channels, wave.sampleRate)) {
        playing_.reset(); // no output: silence
        return;
    }
    playing_ = next;
    position_ = 0;
    finishing_ = false;
    reopened_ = false;
    playedSome_ = false;
    lastQueued_ = 0;
    movedAt_ = std::chrono::steady_clock::now();
}

void SoundPlayer::warmUp(const WaveSound& sound) {
    const DecodedWave& wave = sound.wave();
    // Opening reads the system's sound configuration and loads its plug-ins once for all.
    if (!playing_ && wave.isValid() && output_->open(wave.channels, wave.sampleRate))
        quietSince_ = std::chrono::steady_clock::now();
}

SoundPlayer::Duration SoundPlayer::durationOf(long frames) const {
    return std::chrono::microseconds(static_cast<int64_t>(frames) * 1'000'000 /
                                     std::max(1, playing_->wave().sampleRate));
}

SoundPlayer::Duration SoundPlayer::restFor(long frames) const {
    // Half of what is queued: the output never runs dry, and the thread is not busy.
    return std::clamp<Duration>(durationOf(frames) / 2, std::chrono::milliseconds(2),
                                std::chrono::milliseconds(20));
}

std::optional<SoundPlayer::Duration> SoundPlayer::step() {
    if (!playing_) {
        if (!output_->isOpen())
            return std::nullopt;
        const auto closeAt = quietSince_ + closeAfterQuiet_;
        const auto now = std::chrono::steady_clock::now();
        if (now < closeAt)
            return closeAt - now;
        output_->close();
        return std::nullopt;
    }
    const DecodedWave& wave = playing_->wave();
    const long total = framesOf(wave);
    // As much as the output has room for; it rests only once the output is full.
    while (position_ < total) {
        const long room = output_->room();
        const long written =
            room <= 0 ? room
                      : output_->write(reinterpret_cast<const int16_t*>(wave.pcm16.constData()) +
                                           static_cast<qsizetype>(position_) * wave.channels,
                                       std::min(room, total - position_));
        if (written < 0) {
            if (reopen())
                continue;
            return std::nullopt;
        }
        if (written == 0)
            return waitWhileItPlays(output_->queued());
        position_ += written;
        movedAt_ = std::chrono::steady_clock::now();
    }
    if (!finishing_) {
        output_->finish();
        finishing_ = true;
        endsBy_ = std::chrono::steady_clock::time_point::max();
    }
    // The end plays by itself; the thread only looks now and then whether it is over, and
    // takes requests meanwhile.
    const long queued = output_->queued();
    if (queued == 0) {
        ended();
        return step();
    }
    const std::optional<Duration> rest = waitWhileItPlays(queued);
    if (!rest || !playedSome_)
        return rest;
    // It plays: the sound is over once its last frame was due to be heard, by the earliest
    // reckoning. (PulseAudio's plug-in may go on telling a few frames of delay after its
    // stream ran dry.)
    const auto now = std::chrono::steady_clock::now();
    endsBy_ = std::min(endsBy_, now + durationOf(queued));
    if (now < endsBy_ + EndsWithin)
        return std::min(*rest, endsBy_ + EndsWithin - now);
    ended();
    return step();
}

bool SoundPlayer::reopen() {
    // The output failed, most likely because its sound server went away (and perhaps came
    // back): the sound goes on through a fresh one. Once per sound, so that an output that
    // fails at once is not opened again and again.
    output_->close();
    const DecodedWave& wave = playing_->wave();
    if (reopened_ || !output_->open(wave.channels, wave.sampleRate)) {
        output_->close();
        ended();
        return false;
    }
    reopened_ = true;
    playedSome_ = false;
    lastQueued_ = 0;
    movedAt_ = std::chrono::steady_clock::now();
    return true;
}

void SoundPlayer::ended() {
    playing_.reset();
    quietSince_ = std::chrono::steady_clock::now();
}

std::optional<SoundPlayer::Duration> SoundPlayer::waitWhileItPlays(long queued) {
    const auto now = std::chrono::steady_clock::now();
    if (queued < 0) {
        // Failed: what it held is lost, and the next sound opens it afresh.
        output_->close();
        ended();
        return std::nullopt;
    }
    if (queued < lastQueued_) {
        movedAt_ = now;
        playedSome_ = true;
    }
    // Less than it was given of this sound: the rest was heard.
    if (queued < position_)
        playedSome_ = true;
    lastQueued_ = queued;
    if (now - movedAt_ > stalledAfter_) {
        // Nothing taken and nothing played for so long: the output no longer plays.
        output_->close();
        ended();
        return std::nullopt;
    }
    return restFor(queued);
}

} // namespace tarnell::platform
