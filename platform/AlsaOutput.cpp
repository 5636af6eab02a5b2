#include "AlsaOutput.h"
#include "SharedLibrary.h"

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace tarnell::platform {

template <typename Lookup> bool AlsaFunctions::resolve(Lookup lookup) {
    return bind(open, lookup, "snd_pcm_open") && bind(setParams, lookup, "snd_pcm_set_params") &&
           bind(getParams, lookup, "snd_pcm_get_params") &&
           bind(availUpdate, lookup, "snd_pcm_avail_update") &&
           bind(state, lookup, "snd_pcm_state") && bind(delay, lookup, "snd_pcm_delay") &&
           bind(start, lookup, "snd_pcm_start") && bind(write, lookup, "snd_pcm_writei") &&
           bind(recover, lookup, "snd_pcm_recover") && bind(drop, lookup, "snd_pcm_drop") &&
           bind(prepare, lookup, "snd_pcm_prepare") && bind(close, lookup, "snd_pcm_close") &&
           bind(setErrorHandler, lookup, "snd_lib_error_set_handler");
}

namespace {

// A missing device or server is no error of ours: the library says nothing about it.
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// The output's buffer. A new sound throws away what it holds, so its length delays nothing
// that is asked for; it only has to outlast the player's thread being late.
constexpr unsigned BufferMicroseconds = 50000;

} // namespace

const AlsaFunctions* systemAlsa() {
    // Never closed: the player's thread may use it until the very end.
    static const auto* library = new SharedLibrary<AlsaFunctions>;
    const AlsaFunctions* alsa = library->get();
    if (alsa) {
        static std::once_flag quiet;
        std::call_once(quiet, [alsa] { alsa->setErrorHandler(&ignoreAlsaMessage); });
    }
    return alsa;
}

bool AlsaOutput::open(int channels, int sampleRate) {
    if (pcm_ && channels == channels_ && sampleRate == sampleRate_ && isAlive())
        return true;
    close();
    alsa_ = library_();
    if (!alsa_)
        return false;
    if (alsa_->open(&pcm_, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        pcm_ = nullptr;
        return false;
    }
    snd_pcm_uframes_t period = 0;
    if (alsa_->setParams(pcm_, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                         static_cast<unsigned>(channels), static_cast<unsigned>(sampleRate), 1,
                         BufferMicroseconds) < 0 ||
        alsa_->getParams(pcm_, &bufferFrames_, &period) < 0) {
        close();
        return false;
    }
    channels_ = channels;
    sampleRate_ = sampleRate;
    return true;
}

// A suspended output is lost like a disconnected one: recovering it would wait for the device
// to resume, a second at a time, and take no request meanwhile. Opened afresh, it plays on
// whatever device the system has now.
bool AlsaOutput::isLost(long error) {
    return error == -ESTRPIPE || error == -ENODEV;
}

long AlsaOutput::room() {
    snd_pcm_sframes_t room = alsa_->availUpdate(pcm_);
    if (room < 0) { // an underrun, or the server went away
        if (isLost(room) || alsa_->recover(pcm_, static_cast<int>(room), 1) < 0)
            return -1;
        room = alsa_->availUpdate(pcm_);
    }
    return room < 0 ? -1 : static_cast<long>(room);
}

long AlsaOutput::write(const int16_t* samples, long frames) {
    const snd_pcm_sframes_t written =
        alsa_->write(pcm_, samples, static_cast<snd_pcm_uframes_t>(frames));
    if (written == -EAGAIN)
        return 0;
    if (written < 0)
        return isLost(written) || alsa_->recover(pcm_, static_cast<int>(written), 1) < 0 ? -1 : 0;
    return static_cast<long>(written);
}

void AlsaOutput::finish() {
    // A sound shorter than the buffer never filled it, which is what starts the output.
    if (alsa_->state(pcm_) == SND_PCM_STATE_PREPARED)
        alsa_->start(pcm_);
}

long AlsaOutput::queued() {
    switch (alsa_->state(pcm_)) {
    case SND_PCM_STATE_RUNNING:
    case SND_PCM_STATE_DRAINING: {
        // The delay counts what the server still holds, too: the sound is over when the
        // last frame is heard, not when it left the buffer.
        snd_pcm_sframes_t delay = 0;
        const int status = alsa_->delay(pcm_, &delay);
        if (status == -EPIPE) // ran dry just now: played out
            return 0;
        return status < 0 ? -1 : std::max(static_cast<long>(delay), 0L);
    }
    case SND_PCM_STATE_PREPARED: {
        const snd_pcm_sframes_t room = alsa_->availUpdate(pcm_);
        return room < 0 ? -1
                        : std::max(static_cast<long>(bufferFrames_) - static_cast<long>(room), 0L);
    }
    case SND_PCM_STATE_DISCONNECTED:
    case SND_PCM_STATE_SUSPENDED:
        return -1;
    default: // run dry (the way every sound ends here) or stopped
        return 0;
    }
}

void AlsaOutput::drop() {
    alsa_->drop(pcm_);
    alsa_->prepare(pcm_);
}

void AlsaOutput::close() {
    if (pcm_)
        alsa_->close(pcm_);
    pcm_ = nullptr;
}

// An output kept open may have lost its device or its server meanwhile. (A server that went
// away does not always show here: then the sound's first write fails, and the player opens
// the output afresh.)
bool AlsaOutput::isAlive() const {
    const snd_pcm_state_t state = alsa_->state(pcm_);
    return state != SND_PCM_STATE_DISCONNECTED && state != SND_PCM_STATE_SUSPENDED;
}

} // namespace tarnell::platform
