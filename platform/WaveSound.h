// Wave sounds held in memory and decoded once, on whichever thread first needs their samples
// (the player's, in the game), with libsndfile, which is opened for each decoding only.
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

} // namespace tarnell::platform
