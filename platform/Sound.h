// Wave sounds held in memory and played asynchronously: decoded once with libsndfile, played
// through ALSA (on desktops it hands the sound to PulseAudio or PipeWire); a new sound stops
// the one playing. Both libraries are loaded on first use, never before the first frame, and
// without an audio device playing does nothing, quickly and silently.
#pragma once

#include <QByteArray>
#include <memory>

namespace tarnell::platform {

struct DecodedWave {
    int channels = 0;
    int sampleRate = 0;
    QByteArray pcm16; // interleaved signed 16-bit samples
    bool isValid() const { return channels > 0 && sampleRate > 0 && !pcm16.isEmpty(); }
};

// Decodes a complete RIFF WAVE file (PCM or Microsoft ADPCM) from memory. Without libsndfile
// on the system nothing decodes.
DecodedWave decodeWave(const QByteArray& riff);

// A wave file held in memory, decoded the first time its samples are needed (by wave(),
// isValid() or the player); copies share the bytes and the decoded samples.
class WaveSound {
public:
    explicit WaveSound(const QByteArray& riff);
    bool isValid() const { return wave().isValid(); }
    const DecodedWave& wave() const;

    struct Data;

private:
    std::shared_ptr<Data> data_;
    friend void playSound(const WaveSound& sound);
    friend void prepareSound(const WaveSound& sound);
};

// Starts playing, replacing any sound that plays; returns at once (decoding and output
// happen on the player's own thread).
void playSound(const WaveSound& sound);
// Loads the output and decoding libraries and decodes the sound on the player's thread,
// without playing it, so that its first play starts without that delay. Returns at once.
void prepareSound(const WaveSound& sound);
// Stops whatever plays (used at shutdown).
void stopSound();

} // namespace tarnell::platform
