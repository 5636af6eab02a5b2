#include "WaveSound.h"
#include "SharedLibrary.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <mutex>
#include <sndfile.h>
#include <vector>

namespace tarnell::platform {

namespace {

struct SndfileFunctions {
    static constexpr const char* SoName = "libsndfile.so.1";
    decltype(&::sf_open_virtual) open = nullptr;
    decltype(&::sf_readf_short) readShort = nullptr;
    decltype(&::sf_error) error = nullptr;
    decltype(&::sf_close) close = nullptr;

    template <typename Lookup> bool resolve(Lookup lookup) {
        return bind(open, lookup, "sf_open_virtual") && bind(readShort, lookup, "sf_readf_short") &&
               bind(error, lookup, "sf_error") && bind(close, lookup, "sf_close");
    }
};

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
    SoundFile(const SndfileFunctions& library, SNDFILE* file) : library_(library), file_(file) {}
    ~SoundFile() {
        if (file_)
            library_.close(file_);
    }
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;
    SNDFILE* get() const { return file_; }

private:
    const SndfileFunctions& library_;
    SNDFILE* file_;
};

std::atomic<int> decodingsInRun{0};
thread_local int decodingsOnThread = 0;

} // namespace

int wavesDecoded() {
    return decodingsInRun.load();
}

int wavesDecodedOnThisThread() {
    return decodingsOnThread;
}

DecodedWave decodeWave(const QByteArray& riff) {
    if (!isRiffWave(riff))
        return {};
    ++decodingsInRun;
    ++decodingsOnThread;
    // Open for this one decoding only: libsndfile brings the libraries of every format it
    // knows (FLAC, Vorbis, Opus, MP3), about 1 MB that a program playing two short sounds
    // need not keep.
    const SharedLibrary<SndfileFunctions> library;
    const SndfileFunctions* sndfile = library.get();
    if (!sndfile)
        return {};
    MemoryReader reader{&riff, 0};
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SF_INFO info{};
    SoundFile file(*sndfile, sndfile->open(&io, SFM_READ, &info, &reader));
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
        const sf_count_t frames = sndfile->readShort(file.get(), piece.data(), FramesPerPiece);
        if (frames <= 0)
            break;
        const qsizetype bytes =
            static_cast<qsizetype>(frames) * info.channels * static_cast<qsizetype>(sizeof(short));
        if (wave.pcm16.size() + bytes > MaxDecodedBytes)
            return {};
        wave.pcm16.append(reinterpret_cast<const char*>(piece.data()), bytes);
    }
    if (sndfile->error(file.get()) != SF_ERR_NO_ERROR || wave.pcm16.isEmpty())
        return {};
    return wave;
}

// The bytes and, once decoded, the samples; decoded at most once, on whichever thread needs
// them first.
struct WaveSound::Data {
    explicit Data(const QByteArray& bytes) : riff(bytes) {}
    const DecodedWave& decoded() {
        std::call_once(once, [this] { wave = decodeWave(riff); });
        return wave;
    }
    const QByteArray riff;
    std::once_flag once;
    DecodedWave wave;
};

WaveSound::WaveSound(const QByteArray& riff) : data_(std::make_shared<Data>(riff)) {}

const DecodedWave& WaveSound::wave() const {
    return data_->decoded();
}

} // namespace tarnell::platform
