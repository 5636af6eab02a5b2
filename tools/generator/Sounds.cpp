#include "Sounds.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <sndfile.h>
#include <stdexcept>
#include <string>

namespace tarnell::generator {

namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;
constexpr int ClickFrames = ClickDataBytes / (SoundChannels * 2);

// A small fixed-seed noise source; the standard distributions are not bit-identical
// across library versions, this is.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed) {}
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state_;
};

// Raised-cosine ramps at both ends so that the sound starts and stops at silence.
void fadeEnds(std::vector<float>& interleaved, int channels, int fadeInFrames, int fadeOutFrames) {
    const int frames = static_cast<int>(interleaved.size()) / channels;
    for (int f = 0; f < frames; ++f) {
        double gain = 1.0;
        if (f < fadeInFrames)
            gain = 0.5 - 0.5 * std::cos(std::numbers::pi * f / fadeInFrames);
        const int fromEnd = frames - 1 - f;
        if (fromEnd < fadeOutFrames)
            gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * fromEnd / fadeOutFrames);
        for (int c = 0; c < channels; ++c)
            interleaved[static_cast<size_t>(f * channels + c)] *= static_cast<float>(gain);
    }
}

// Scales the samples so that the loudest one reaches peak (never above full scale).
void normalise(std::vector<float>& samples, float peak) {
    float loudest = 0.0f;
    for (float s : samples)
        loudest = std::max(loudest, std::abs(s));
    if (loudest <= 0.0f)
        return;
    for (float& s : samples)
        s *= peak / loudest;
}

void put16(QByteArray& out, int value) {
    const quint16 v = qToLittleEndian(static_cast<quint16>(value));
    out.append(reinterpret_cast<const char*>(&v), 2);
}

void put32(QByteArray& out, qint64 value) {
    const quint32 v = qToLittleEndian(static_cast<quint32>(value));
    out.append(reinterpret_cast<const char*>(&v), 4);
}

int16_t toPcm16(float sample) {
    const double scaled = std::round(std::clamp(static_cast<double>(sample), -1.0, 1.0) * 32767.0);
    return static_cast<int16_t>(scaled);
}

// libsndfile writes the ADPCM file into memory through these callbacks.
struct MemoryFile {
    QByteArray bytes;
    sf_count_t position = 0;
};

sf_count_t fileLength(void* user) {
    return static_cast<MemoryFile*>(user)->bytes.size();
}

sf_count_t fileSeek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_SET   ? 0
                            : whence == SEEK_CUR ? file->position
                                                 : file->bytes.size();
    if (base + offset < 0)
        return -1;
    file->position = base + offset;
    return file->position;
}

sf_count_t fileRead(void* destination, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t available = std::clamp<sf_count_t>(file->bytes.size() - file->position, 0,
                                                        std::max<sf_count_t>(count, 0));
    std::memcpy(destination, file->bytes.constData() + file->position,
                static_cast<size_t>(available));
    file->position += available;
    return available;
}

sf_count_t fileWrite(const void* source, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t end = file->position + count;
    if (end > file->bytes.size())
        file->bytes.resize(static_cast<qsizetype>(end), '\0');
    std::memcpy(file->bytes.data() + file->position, source, static_cast<size_t>(count));
    file->position = end;
    return count;
}

sf_count_t fileTell(void* user) {
    return static_cast<MemoryFile*>(user)->position;
}

// Frames of stereo MS ADPCM that fill the TADA data chunk exactly with whole blocks.
// libsndfile picks the block size from the sample rate times the channels (2048 bytes for
// 22,050 Hz stereo), and each block holds 2 + 2 * (blockBytes - 7 * channels) / channels
// frames. synthesiseTada checks the result, so a different choice fails loudly.
int tadaFrames() {
    const int product = SoundSampleRate * SoundChannels;
    const int blockBytes = product < 12000   ? 256
                           : product < 23000 ? 512
                           : product < 44100 ? 1024
                                             : 2048;
    const int framesPerBlock = 2 + 2 * (blockBytes - 7 * SoundChannels) / SoundChannels;
    return TadaDataBytes / blockBytes * framesPerBlock;
}

// The size of a RIFF file's data chunk, or -1 when it has none.
qint64 dataChunkSize(const QByteArray& riff) {
    qint64 at = 12;
    while (at + 8 <= riff.size()) {
        const quint32 size = qFromLittleEndian<quint32>(riff.constData() + at + 4);
        if (riff.mid(at, 4) == "data")
            return size;
        at += 8 + size + (size & 1);
    }
    return -1;
}

// A brass-like tone: harmonics falling off as 1 / n, a touch of late vibrato, a quick attack
// and an exponential decay, added into the stereo buffer with a constant-power pan.
void addTone(std::vector<float>& out, double frequency, double start, double length,
             double amplitude, double decay, double pan) {
    const int first = static_cast<int>(std::round(start * SoundSampleRate));
    const int count = static_cast<int>(std::round(length * SoundSampleRate));
    const int frames = static_cast<int>(out.size()) / SoundChannels;
    const double left = std::cos((pan + 1.0) * std::numbers::pi / 4.0);
    const double right = std::sin((pan + 1.0) * std::numbers::pi / 4.0);
    double phase = 0.0;
    for (int n = 0; n < count && first + n < frames; ++n) {
        const double t = static_cast<double>(n) / SoundSampleRate;
        const double vibrato = 1.0 + 0.004 * std::min(1.0, t / 0.4) * std::sin(TwoPi * 5.5 * t);
        phase += TwoPi * frequency * vibrato / SoundSampleRate;
        double wave = 0.0;
        for (int h = 1; h <= 7; ++h) {
            // Upper harmonics fade faster, so the attack is bright and the tail mellow.
            const double weight = std::exp(-t * 1.2 * (h - 1)) / h;
            wave += weight * std::sin(h * phase);
        }
        const double attack = std::min(1.0, t / 0.012);
        const double release = std::min(1.0, (length - t) / 0.06);
        const double envelope = attack * std::max(0.0, release) * std::exp(-t * decay);
        const double value = amplitude * envelope * wave;
        out[static_cast<size_t>((first + n) * 2)] += static_cast<float>(value * left);
        out[static_cast<size_t>((first + n) * 2 + 1)] += static_cast<float>(value * right);
    }
}

} // namespace

QByteArray encodePcmWave(const std::vector<float>& interleaved, int channels, int sampleRate) {
    const qint64 dataBytes = static_cast<qint64>(interleaved.size()) * 2;
    QByteArray out;
    out.append("RIFF", 4);
    put32(out, 4 + 8 + 16 + 8 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, channels);
    put32(out, sampleRate);
    put32(out, static_cast<qint64>(sampleRate) * channels * 2);
    put16(out, channels * 2);
    put16(out, 16);
    out.append("data", 4);
    put32(out, dataBytes);
    for (float s : interleaved)
        put16(out, toPcm16(s));
    return out;
}

QByteArray encodeAdpcmWave(const std::vector<float>& interleaved, int channels, int sampleRate) {
    MemoryFile file;
    SF_VIRTUAL_IO io{fileLength, fileSeek, fileRead, fileWrite, fileTell};
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM;
    SNDFILE* sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
    if (!sound)
        throw std::runtime_error(std::string("libsndfile cannot write MS ADPCM: ") +
                                 sf_strerror(nullptr));
    // The encoder rounds and clips itself; the samples stay well inside full scale.
    const sf_count_t frames = static_cast<sf_count_t>(interleaved.size()) / channels;
    const sf_count_t written = sf_writef_float(sound, interleaved.data(), frames);
    const std::string error = sf_strerror(sound);
    sf_close(sound);
    if (written != frames)
        throw std::runtime_error("libsndfile wrote " + std::to_string(written) + " of " +
                                 std::to_string(frames) + " frames: " + error);
    return file.bytes;
}

QByteArray synthesiseClick() {
    std::vector<float> samples(static_cast<size_t>(ClickFrames * SoundChannels), 0.0f);
    Noise noise(0x7A3E11u);
    double lowPassed = 0.0;
    for (int f = 0; f < ClickFrames; ++f) {
        const double t = static_cast<double>(f) / SoundSampleRate;
        // A bright tick (a damped 3.1 kHz ring plus a burst of filtered noise) over a short,
        // soft knock at 190 Hz that gives the click its body.
        lowPassed += 0.45 * (noise.next() - lowPassed);
        const double tick = 0.55 * std::exp(-t / 0.0035) * std::sin(TwoPi * 3100.0 * t) +
                            0.35 * std::exp(-t / 0.0025) * lowPassed;
        const double knock = 0.45 * std::exp(-t / 0.012) * std::sin(TwoPi * 190.0 * t);
        const double ring = 0.08 * std::exp(-t / 0.03) * std::sin(TwoPi * 1250.0 * t);
        const double value = tick + knock + ring;
        // A hair of stereo width: the right channel is a fraction of a millisecond later.
        samples[static_cast<size_t>(f * 2)] += static_cast<float>(value);
        if (f + 6 < ClickFrames)
            samples[static_cast<size_t>((f + 6) * 2 + 1)] += static_cast<float>(0.92 * value);
    }
    fadeEnds(samples, SoundChannels, 22, 440);
    normalise(samples, 0.72f);
    return encodePcmWave(samples, SoundChannels, SoundSampleRate);
}

QByteArray synthesiseTada() {
    const int frames = tadaFrames();
    const double seconds = static_cast<double>(frames) / SoundSampleRate;
    std::vector<float> samples(static_cast<size_t>(frames * SoundChannels), 0.0f);
    // A rising C major arpeggio, then the full chord with the octave on top.
    const double c5 = 523.25, e5 = 659.26, g5 = 783.99, c6 = 1046.50, c4 = 261.63;
    const double steps[] = {c5, e5, g5, c6};
    for (int k = 0; k < 4; ++k)
        addTone(samples, steps[k], 0.11 * k, 0.2, 0.55, 5.0, -0.45 + 0.3 * k);
    const double chordStart = 0.46;
    const double chordLength = seconds - chordStart;
    addTone(samples, c4, chordStart, chordLength, 0.38, 1.3, 0.0);
    addTone(samples, c5, chordStart, chordLength, 0.42, 1.5, -0.35);
    addTone(samples, e5, chordStart, chordLength, 0.36, 1.6, 0.35);
    addTone(samples, g5, chordStart, chordLength, 0.36, 1.7, -0.15);
    addTone(samples, c6, chordStart, chordLength, 0.30, 1.9, 0.2);
    fadeEnds(samples, SoundChannels, 66, 2200);
    normalise(samples, 0.8f);
    QByteArray wave = encodeAdpcmWave(samples, SoundChannels, SoundSampleRate);
    if (dataChunkSize(wave) != TadaDataBytes)
        throw std::runtime_error("TADA: libsndfile wrote " + std::to_string(dataChunkSize(wave)) +
                                 " bytes of ADPCM data instead of " +
                                 std::to_string(TadaDataBytes));
    return wave;
}

} // namespace tarnell::generator
