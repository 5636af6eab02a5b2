// Wave sounds held in memory and played asynchronously: decoded once, on the player's thread,
// with libsndfile, played through ALSA (on desktops it hands the sound to PulseAudio or
// PipeWire), whose output stays open between sounds; a new sound cuts the one playing. Both
// libraries are loaded on first use, never before the first frame, and without an audio
// device playing does nothing, quickly and silently.
#pragma once

#include <QByteArray>
#include <QString>
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

// Decodings so far in this run, and those of them made on the calling thread: they show that
// a sound decodes once, and never on the thread that asks for it to play.
int wavesDecoded();
int wavesDecodedOnThisThread();

// A wave file held in memory, decoded the first time its samples are needed (by wave(),
// isValid() or the player's thread); copies share the bytes and the decoded samples.
class WaveSound {
public:
    explicit WaveSound(const QByteArray& riff);
    bool isValid() const { return wave().isValid(); }
    const DecodedWave& wave() const;

    struct Data;

private:
    std::shared_ptr<Data> data_;
};

// The embedded sound of this name (CLICK, TADA), the same for the whole run, so that it is
// decoded once however often it is asked for.
WaveSound embeddedSound(const QString& name);

// Starts playing, replacing any sound that plays; returns at once (decoding and output
// happen on the player's own thread, never on the caller's).
void playSound(const WaveSound& sound);
// Loads the output and decoding libraries and decodes the sound on the player's thread,
// without playing it and once the sound that plays has ended, so that its first play starts
// without that delay. Returns at once.
void prepareSound(const WaveSound& sound);
// Stops whatever plays and lets the output device go (used at shutdown).
void stopSound();

} // namespace tarnell::platform
