#include "Sound.h"
#include "Resources.h"
#include "SoundPlayer.h"

#include <QCoreApplication>
#include <algorithm>
#include <alsa/asoundlib.h>
#include <atomic>
#include <cstring>
#include <dlfcn.h>
#include <limits>
#include <map>
#include <mutex>
#include <sndfile.h>
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

namespace {

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

    template <typename Lookup> bool resolve(Lookup lookup) {
        return bind(open, lookup, "snd_pcm_open") &&
               bind(setParams, lookup, "snd_pcm_set_params") &&
               bind(getParams, lookup, "snd_pcm_get_params") &&
               bind(availUpdate, lookup, "snd_pcm_avail_update") &&
               bind(state, lookup, "snd_pcm_state") && bind(delay, lookup, "snd_pcm_delay") &&
               bind(start, lookup, "snd_pcm_start") && bind(write, lookup, "snd_pcm_writei") &&
               bind(recover, lookup, "snd_pcm_recover") && bind(drop, lookup, "snd_pcm_drop") &&
               bind(prepare, lookup, "snd_pcm_prepare") && bind(close, lookup, "snd_pcm_close") &&
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

const AlsaFunctions* quietAlsa() {
    const AlsaFunctions* alsa = alsaLibrary();
    if (alsa) {
        static std::once_flag quiet;
        std::call_once(quiet, [alsa] { alsa->setErrorHandler(&ignoreAlsaMessage); });
    }
    return alsa;
}

// The output's buffer. A new sound throws away what it holds, so its length delays nothing
// that is asked for; it only has to outlast the player's thread being late.
constexpr unsigned BufferMicroseconds = 50000;

// The system's default output, kept open between sounds. It never waits: opened non-blocking
// (a device in use by another program is no device), written no more than it has room for,
// and never drained: on the plug-ins that hand the sound to PulseAudio or PipeWire, a drain
// waits for the sound to be played out even on a non-blocking output, and a new sound could
// not cut the end of the last one. A sound ends instead by running the output dry, which
// only stops it.
class AlsaOutput final : public SoundOutput {
public:
    ~AlsaOutput() override { close(); }

    bool open(int channels, int sampleRate) override {
        if (pcm_ && channels == channels_ && sampleRate == sampleRate_ && isAlive())
            return true;
        close();
        alsa_ = quietAlsa();
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

    bool isOpen() const override { return pcm_ != nullptr; }

    long room() override {
        snd_pcm_sframes_t room = alsa_->availUpdate(pcm_);
        if (room < 0) { // an underrun, or the server went away
            if (alsa_->recover(pcm_, static_cast<int>(room), 1) < 0)
                return -1;
            room = alsa_->availUpdate(pcm_);
        }
        return room < 0 ? -1 : static_cast<long>(room);
    }

    long write(const int16_t* samples, long frames) override {
        const snd_pcm_sframes_t written =
            alsa_->write(pcm_, samples, static_cast<snd_pcm_uframes_t>(frames));
        if (written == -EAGAIN)
            return 0;
        if (written < 0)
            return alsa_->recover(pcm_, static_cast<int>(written), 1) < 0 ? -1 : 0;
        return static_cast<long>(written);
    }

    void finish() override {
        // A sound shorter than the buffer never filled it, which is what starts the output.
        if (alsa_->state(pcm_) == SND_PCM_STATE_PREPARED)
            alsa_->start(pcm_);
    }

    long queued() override {
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
            return room < 0
                       ? -1
                       : std::max(static_cast<long>(bufferFrames_) - static_cast<long>(room), 0L);
        }
        case SND_PCM_STATE_DISCONNECTED:
        case SND_PCM_STATE_SUSPENDED:
            return -1;
        default: // run dry (the way every sound ends here) or stopped
            return 0;
        }
    }

    void drop() override {
        alsa_->drop(pcm_);
        alsa_->prepare(pcm_);
    }

    void close() override {
        if (pcm_)
            alsa_->close(pcm_);
        pcm_ = nullptr;
    }

private:
    // An output kept open may have lost its device or its server meanwhile. (A server that
    // went away does not always show here: then the sound's first write fails, and the
    // player opens the output afresh.)
    bool isAlive() const {
        const snd_pcm_state_t state = alsa_->state(pcm_);
        return state != SND_PCM_STATE_DISCONNECTED && state != SND_PCM_STATE_SUSPENDED;
    }

    const AlsaFunctions* alsa_ = nullptr;
    snd_pcm_t* pcm_ = nullptr;
    int channels_ = 0;
    int sampleRate_ = 0;
    snd_pcm_uframes_t bufferFrames_ = 0;
};

SoundPlayer* thePlayer = nullptr;

void destroyPlayer() {
    delete thePlayer;
    thePlayer = nullptr;
}

SoundPlayer* player() {
    // Sounds belong to the application; outside one (a tool, say) nothing plays.
    if (!QCoreApplication::instance())
        return nullptr;
    if (!thePlayer) {
        thePlayer = new SoundPlayer(std::make_unique<AlsaOutput>());
        // Stopped and joined while the application object still exists.
        qAddPostRoutine(destroyPlayer);
    }
    return thePlayer;
}

} // namespace

WaveSound embeddedSound(const QString& name) {
    static std::mutex mutex;
    static std::map<QString, WaveSound> sounds;
    const std::lock_guard lock(mutex);
    const QString key = name.toUpper(); // as resources are looked up
    const auto found = sounds.find(key);
    if (found != sounds.end())
        return found->second;
    return sounds.emplace(key, WaveSound(loadWave(key))).first->second;
}

void playSound(const WaveSound& sound) {
    if (SoundPlayer* current = player())
        current->play(sound);
}

void prepareSound(const WaveSound& sound) {
    if (SoundPlayer* current = player())
        current->prepare(sound);
}

void stopSound() {
    if (thePlayer)
        thePlayer->stop();
}

} // namespace tarnell::platform
