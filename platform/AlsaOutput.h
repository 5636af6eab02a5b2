// The system's default sound output through ALSA, whose functions come from a table: the
// library opened on first use in the game, a stand-in device in the tests.
#pragma once

#include "platform/SoundPlayer.h"

#include <alsa/asoundlib.h>

namespace tarnell::platform {

struct AlsaFunctions {
    static constexpr const char* SoName = "libasound.so.2";
    decltype(&::snd_pcm_open) open = nullptr;
    decltype(&::snd_pcm_set_params) setParams = nullptr;
    decltype(&::snd_pcm_get_params) getParams = nullptr;
    decltype(&::snd_pcm_avail_update) availUpdate = nullptr;
    decltype(&::snd_pcm_state) state = nullptr;
    decltype(&::snd_pcm_delay) delay = nullptr;
    decltype(&::snd_pcm_start) start = nullptr;
    decltype(&::snd_pcm_writei) write = nullptr;
    decltype(&::snd_pcm_recover) recover = nullptr;
    decltype(&::snd_pcm_drop) drop = nullptr;
    decltype(&::snd_pcm_prepare) prepare = nullptr;
    decltype(&::snd_pcm_close) close = nullptr;
    decltype(&::snd_lib_error_set_handler) setErrorHandler = nullptr;

    template <typename Lookup> bool resolve(Lookup lookup);
};

// ALSA's library, opened on the first call and kept, its messages silenced; null without it.
const AlsaFunctions* systemAlsa();

// The system's default output, kept open between sounds. It never waits: opened non-blocking
// (a device in use by another program is no device), written no more than it has room for,
// and never drained: on the plug-ins that hand the sound to PulseAudio or PipeWire, a drain
// waits for the sound to be played out even on a non-blocking output, and a new sound could
// not cut the end of the last one. A sound ends instead by running the output dry, which
// only stops it. An output that lost its device or server, or was suspended, fails: the
// player opens it afresh.
class AlsaOutput final : public SoundOutput {
public:
    // The table is asked for when the output is first opened, on the player's thread.
    explicit AlsaOutput(const AlsaFunctions* (*library)() = &systemAlsa) : library_(library) {}
    ~AlsaOutput() override { close(); }

    bool open(int channels, int sampleRate) override;
    bool isOpen() const override { return pcm_ != nullptr; }
    long room() override;
    long write(const int16_t* samples, long frames) override;
    void finish() override;
    long queued() override;
    void drop() override;
    void close() override;

private:
    bool isAlive() const;
    // An error that loses the output for good; the others are recovered from.
    static bool isLost(long error);

    const AlsaFunctions* (*const library_)();
    const AlsaFunctions* alsa_ = nullptr;
    snd_pcm_t* pcm_ = nullptr;
    int channels_ = 0;
    int sampleRate_ = 0;
    snd_pcm_uframes_t bufferFrames_ = 0;
};

} // namespace tarnell::platform
