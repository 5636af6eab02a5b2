#include "Sound.h"

#include <QCoreApplication>
#include <algorithm>
#include <alsa/asoundlib.h>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <dlfcn.h>
#include <limits>
#include <mutex>
#include <sndfile.h>
#include <thread>
#include <vector>

namespace tarnell::platform {

namespace {

// A shared library opened with its functions looked up by name into a table; nothing of it is
// there when the library or one of its functions is missing. The libraries of sound are
// opened, not linked, so that the program starts without them: neither the first frame nor a
// system without sound waits for them.
template <typename Functions> class SharedLibrary {
public:
    SharedLibrary() {
        handle_ = dlopen(Functions::SoName, RTLD_NOW | RTLD_LOCAL);
        if (handle_)
            ready_ = functions_.resolve([this](const char* name) { return dlsym(handle_, name); });
    }
    ~SharedLibrary() {
        if (handle_)
            dlclose(handle_);
    }
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    // The table, or null when the library cannot be used.
    const Functions* get() const { return ready_ ? &functions_ : nullptr; }

private:
    void* handle_ = nullptr;
    bool ready_ = false;
    Functions functions_;
};

template <typename Function, typename Lookup>
bool bind(Function*& function, Lookup& lookup, const char* name) {
    function = reinterpret_cast<Function*>(lookup(name));
    return function != nullptr;
}

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

} // namespace

DecodedWave decodeWave(const QByteArray& riff) {
    if (!isRiffWave(riff))
        return {};
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

namespace {

struct AlsaFunctions {
    static constexpr const char* SoName = "libasound.so.2";
    decltype(&::snd_pcm_open) open = nullptr;
    decltype(&::snd_pcm_set_params) setParams = nullptr;
    decltype(&::snd_pcm_writei) write = nullptr;
    decltype(&::snd_pcm_recover) recover = nullptr;
    decltype(&::snd_pcm_drop) drop = nullptr;
    decltype(&::snd_pcm_drain) drain = nullptr;
    decltype(&::snd_pcm_close) close = nullptr;
    decltype(&::snd_lib_error_set_handler) setErrorHandler = nullptr;

    template <typename Lookup> bool resolve(Lookup lookup) {
        return bind(open, lookup, "snd_pcm_open") &&
               bind(setParams, lookup, "snd_pcm_set_params") &&
               bind(write, lookup, "snd_pcm_writei") && bind(recover, lookup, "snd_pcm_recover") &&
               bind(drop, lookup, "snd_pcm_drop") && bind(drain, lookup, "snd_pcm_drain") &&
               bind(close, lookup, "snd_pcm_close") &&
               bind(setErrorHandler, lookup, "snd_lib_error_set_handler");
    }
};

// Opened on first use and kept: every sound needs it.
const AlsaFunctions* alsaLibrary() {
    // Never closed: the player's thread may use it until the very end.
    static const auto* library = new SharedLibrary<AlsaFunctions>;
    return library->get();
}

// A missing device or server is no error of ours: the library says nothing about it.
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// The output buffer: how long a sound plays on after it was replaced or stopped, at most.
constexpr unsigned BufferMicroseconds = 50000;
// Samples are handed over in pieces of this length, so that a new sound is noticed soon.
constexpr int PieceMilliseconds = 10;

// The system's default output, open while one sound plays.
class Output {
public:
    Output(const AlsaFunctions& alsa, const DecodedWave& wave) : alsa_(alsa) {
        if (alsa_.open(&pcm_, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) {
            pcm_ = nullptr;
            return;
        }
        if (alsa_.setParams(pcm_, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                            static_cast<unsigned>(wave.channels),
                            static_cast<unsigned>(wave.sampleRate), 1, BufferMicroseconds) < 0) {
            alsa_.close(pcm_);
            pcm_ = nullptr;
        }
    }
    ~Output() {
        if (pcm_)
            alsa_.close(pcm_);
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    snd_pcm_t* get() const { return pcm_; }

private:
    const AlsaFunctions& alsa_;
    snd_pcm_t* pcm_ = nullptr;
};

// The one thread that decodes and plays. play() and stop() only leave a note for it and
// return; each note makes the sound that plays stop at its next piece.
class Player {
public:
    Player() : thread_([this] { run(); }) {}
    ~Player() {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
            ++generation_;
        }
        wake_.notify_one();
        thread_.join();
    }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    void play(std::shared_ptr<WaveSound::Data> sound) {
        {
            std::lock_guard lock(mutex_);
            next_ = std::move(sound);
            ++generation_;
        }
        wake_.notify_one();
    }

    void prepare(std::shared_ptr<WaveSound::Data> sound) {
        {
            std::lock_guard lock(mutex_);
            prepare_ = std::move(sound);
        }
        wake_.notify_one();
    }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            next_.reset();
            ++generation_;
        }
        wake_.notify_one();
    }

private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return quit_ || next_ || prepare_; });
            if (quit_)
                return;
            if (next_) {
                const std::shared_ptr<WaveSound::Data> sound = std::move(next_);
                next_.reset();
                prepare_.reset(); // playing makes everything ready anyway
                const uint64_t generation = generation_;
                lock.unlock();
                playOut(sound->decoded(), generation);
                lock.lock();
            } else {
                const std::shared_ptr<WaveSound::Data> sound = std::move(prepare_);
                prepare_.reset();
                lock.unlock();
                warmUp(*sound);
                lock.lock();
            }
        }
    }

    static const AlsaFunctions* alsa() {
        const AlsaFunctions* alsa = alsaLibrary();
        if (alsa) {
            static std::once_flag quiet;
            std::call_once(quiet, [alsa] { alsa->setErrorHandler(&ignoreAlsaMessage); });
        }
        return alsa;
    }

    // Loads both libraries, decodes the sound, and opens the output once (which reads the
    // system's sound configuration and loads its plug-ins), so that the first play is quick.
    void warmUp(WaveSound::Data& sound) {
        const DecodedWave& wave = sound.decoded();
        if (const AlsaFunctions* library = alsa(); library && wave.isValid())
            Output output(*library, wave);
    }

    bool superseded(uint64_t generation) const { return generation_.load() != generation; }

    void playOut(const DecodedWave& wave, uint64_t generation) {
        const AlsaFunctions* library = alsa();
        if (!library || !wave.isValid() || superseded(generation))
            return;
        const Output output(*library, wave);
        snd_pcm_t* pcm = output.get();
        if (!pcm)
            return; // no device: silence
        const auto* samples = reinterpret_cast<const int16_t*>(wave.pcm16.constData());
        const snd_pcm_uframes_t total = static_cast<snd_pcm_uframes_t>(wave.pcm16.size()) /
                                        sizeof(int16_t) /
                                        static_cast<snd_pcm_uframes_t>(wave.channels);
        const auto piece =
            static_cast<snd_pcm_uframes_t>(std::max(1, wave.sampleRate * PieceMilliseconds / 1000));
        snd_pcm_uframes_t done = 0;
        while (done < total && !superseded(generation)) {
            const snd_pcm_sframes_t written =
                library->write(pcm, samples + done * static_cast<size_t>(wave.channels),
                               std::min(piece, total - done));
            if (written < 0) {
                if (library->recover(pcm, static_cast<int>(written), 1) < 0)
                    return;
                continue;
            }
            done += static_cast<snd_pcm_uframes_t>(written);
        }
        if (superseded(generation))
            library->drop(pcm);
        else
            library->drain(pcm);
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<WaveSound::Data> next_;
    std::shared_ptr<WaveSound::Data> prepare_;
    std::atomic<uint64_t> generation_{0};
    bool quit_ = false;
    std::thread thread_; // last: it starts once everything it uses is there
};

Player* thePlayer = nullptr;

void destroyPlayer() {
    delete thePlayer;
    thePlayer = nullptr;
}

Player* player() {
    // Sounds belong to the application; outside one (a tool, say) nothing plays.
    if (!QCoreApplication::instance())
        return nullptr;
    if (!thePlayer) {
        thePlayer = new Player;
        // Stopped and joined while the application object still exists.
        qAddPostRoutine(destroyPlayer);
    }
    return thePlayer;
}

} // namespace

void playSound(const WaveSound& sound) {
    // A sound that does not decode leaves the one playing alone.
    if (!sound.isValid())
        return;
    if (Player* current = player())
        current->play(sound.data_);
}

void prepareSound(const WaveSound& sound) {
    if (Player* current = player())
        current->prepare(sound.data_);
}

void stopSound() {
    if (thePlayer)
        thePlayer->stop();
}

} // namespace tarnell::platform
