// Wave sounds held in memory and played asynchronously: decoded once with libsndfile,
// played through Qt Multimedia; a new sound stops the one playing. Without an audio
// device playing does nothing, quickly and silently.
#pragma once

#include <QByteArray>
#include <memory>

namespace platform {

struct DecodedWave {
    int channels = 0;
    int sampleRate = 0;
    QByteArray pcm16; // interleaved signed 16-bit samples
    bool isValid() const { return channels > 0 && sampleRate > 0 && !pcm16.isEmpty(); }
};

// Decodes a complete RIFF WAVE file (PCM or Microsoft ADPCM) from memory.
DecodedWave decodeWave(const QByteArray& riff);

class WaveSound {
public:
    explicit WaveSound(const QByteArray& riff);
    bool isValid() const { return wave_.isValid(); }
    const DecodedWave& wave() const { return wave_; }

private:
    DecodedWave wave_;
};

// Starts playing, replacing any sound that plays; returns at once.
void playSound(const WaveSound& sound);
// Stops whatever plays (used at shutdown).
void stopSound();

} // namespace platform
