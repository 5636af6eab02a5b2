#include "Sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QMediaDevices>
#include <algorithm>
#include <cstring>
#include <limits>
#include <sndfile.h>
#include <vector>

namespace platform {

namespace {

// Sounds are a fraction of a second long; anything far beyond this is not one of ours.
constexpr qsizetype MaxDecodedBytes = 64 * 1024 * 1024;
constexpr int MaxChannels = 8;
constexpr int MinSampleRate = 1000;
constexpr int MaxSampleRate = 384000;

// libsndfile reads the wave from memory through these callbacks; every position and
// count is clamped to the bytes that really exist.
struct MemoryReader {
    const QByteArray* bytes = nullptr;
    sf_count_t position = 0;
};

sf_count_t memoryLength(void* user) {
    return static_cast<MemoryReader*>(user)->bytes->size();
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    auto* reader = static_cast<MemoryReader*>(user);
    const sf_count_t size = reader->bytes->size();
    sf_count_t base = 0;
    switch (whence) {
    case SEEK_SET:
        base = 0;
        break;
    case SEEK_CUR:
        base = reader->position;
        break;
    case SEEK_END:
        base = size;
        break;
    default:
        return -1;
    }
    // Reject overflow and positions before the start; beyond the end reads nothing.
    if ((offset > 0 && base > std::numeric_limits<sf_count_t>::max() - offset) || base + offset < 0)
        return -1;
    reader->position = std::min(base + offset, size);
    return reader->position;
}

sf_count_t memoryRead(void* destination, sf_count_t count, void* user) {
    auto* reader = static_cast<MemoryReader*>(user);
    const sf_count_t size = reader->bytes->size();
    if (count <= 0 || reader->position >= size)
        return 0;
    const sf_count_t available = std::min(count, size - reader->position);
    std::memcpy(destination, reader->bytes->constData() + reader->position,
                static_cast<size_t>(available));
    reader->position += available;
    return available;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t memoryTell(void* user) {
    return static_cast<MemoryReader*>(user)->position;
}

bool isRiffWave(const QByteArray& bytes) {
    return bytes.size() >= 12 && std::memcmp(bytes.constData(), "RIFF", 4) == 0 &&
           std::memcmp(bytes.constData() + 8, "WAVE", 4) == 0;
}

bool isSupportedEncoding(int format) {
    const int major = format & SF_FORMAT_TYPEMASK;
    if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX)
        return false;
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_MS_ADPCM:
        return true;
    default:
        return false;
    }
}

class SoundFile {
public:
    explicit SoundFile(SNDFILE* file) : file_(file) {}
    ~SoundFile() {
        if (file_)
            sf_close(file_);
    }
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;
    SNDFILE* get() const { return file_; }

private:
    SNDFILE* file_;
};

} // namespace

DecodedWave decodeWave(const QByteArray& riff) {
    if (!isRiffWave(riff))
        return {};
    MemoryReader reader{&riff, 0};
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SF_INFO info{};
    SoundFile file(sf_open_virtual(&io, SFM_READ, &info, &reader));
    if (!file.get())
        return {};
    if (!isSupportedEncoding(info.format) || info.channels < 1 || info.channels > MaxChannels ||
        info.samplerate < MinSampleRate || info.samplerate > MaxSampleRate)
        return {};

    // The header's frame count is not trusted: decode in pieces until the data ends,
    // growing the buffer with what really came out, within a fixed bound.
    DecodedWave wave;
    wave.channels = info.channels;
    wave.sampleRate = info.samplerate;
    constexpr sf_count_t FramesPerPiece = 4096;
    std::vector<short> piece(static_cast<size_t>(FramesPerPiece * info.channels));
    for (;;) {
        const sf_count_t frames = sf_readf_short(file.get(), piece.data(), FramesPerPiece);
        if (frames <= 0)
            break;
        const qsizetype bytes =
            static_cast<qsizetype>(frames) * info.channels * static_cast<qsizetype>(sizeof(short));
        if (wave.pcm16.size() + bytes > MaxDecodedBytes)
            return {};
        wave.pcm16.append(reinterpret_cast<const char*>(piece.data()), bytes);
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR || wave.pcm16.isEmpty())
        return {};
    return wave;
}

WaveSound::WaveSound(const QByteArray& riff) : wave_(decodeWave(riff)) {}

namespace {

// The one sound that plays: its sink and the buffer it reads from live together, so a
// new sound can stop and replace the old one.
class Player {
public:
    void play(const DecodedWave& wave) {
        stop();
        QAudioFormat format;
        format.setSampleRate(wave.sampleRate);
        format.setChannelCount(wave.channels);
        format.setSampleFormat(QAudioFormat::Int16);
        buffer_ = std::make_unique<QBuffer>();
        buffer_->setData(wave.pcm16);
        if (!buffer_->open(QIODevice::ReadOnly)) {
            buffer_.reset();
            return;
        }
        sink_ = std::make_unique<QAudioSink>(device_, format);
        QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                         [sink = sink_.get()](QAudio::State state) {
                             // At the end of the data, give the device back.
                             if (state == QAudio::IdleState)
                                 sink->stop();
                         });
        sink_->start(buffer_.get());
    }

    void stop() {
        if (sink_) {
            sink_->stop();
            sink_.reset();
        }
        buffer_.reset();
    }

    void setDevice(const QAudioDevice& device) { device_ = device; }

private:
    QAudioDevice device_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QAudioSink> sink_;
};

Player* thePlayer = nullptr;

void destroyPlayer() {
    delete thePlayer;
    thePlayer = nullptr;
}

Player& player() {
    if (!thePlayer) {
        thePlayer = new Player;
        // Released while the application object still exists, before the multimedia
        // backend goes away.
        qAddPostRoutine(destroyPlayer);
    }
    return *thePlayer;
}

} // namespace

void playSound(const WaveSound& sound) {
    if (!QCoreApplication::instance() || !sound.isValid())
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        stopSound();
        return;
    }
    Player& current = player();
    current.setDevice(device);
    current.play(sound.wave());
}

void stopSound() {
    if (thePlayer)
        thePlayer->stop();
}

} // namespace platform
