// How long a sound takes to start: the time from playSound() to the first samples reaching the
// output, for the first sound of a run (libraries, decoding and device all cold) and for later
// ones, beside a reference that writes straight to an output opened beforehand and one that
// opens the output for each sound. The system's default output is pointed (through a private
// HOME's ALSA configuration) at a named pipe, which a thread of this program reads.
//
//     cmake --build build --target SoundBench
//     build/bench/SoundBench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include "platform/Resources.h"
#include "platform/Sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <alsa/asoundlib.h>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarnell {

namespace {

using Clock = std::chrono::steady_clock;

int64_t nowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// Reads the pipe that the output writes to and notes when bytes arrive.
class OutputPipe {
public:
    explicit OutputPipe(const QString& path) {
        mkfifo(QFile::encodeName(path).constData(), 0600);
        // Read and write: the pipe never reports a hang-up between writers.
        descriptor_ = open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK);
        reader_ = std::thread([this] { read(); });
    }
    ~OutputPipe() {
        quit_ = true;
        reader_.join();
        close(descriptor_);
    }
    OutputPipe(const OutputPipe&) = delete;
    OutputPipe& operator=(const OutputPipe&) = delete;

    int64_t bytes() const { return bytes_.load(); }

    // From now on, notes the moment the next bytes arrive.
    void expect() { firstArrival_ = 0; }

    // Waits (at most 5 s) for the bytes expected; the moment they arrived, or -1.
    int64_t arrival() const {
        const int64_t limit = nowNanoseconds() + 5'000'000'000;
        while (nowNanoseconds() < limit) {
            if (const int64_t at = firstArrival_.load(); at > 0)
                return at;
            std::this_thread::yield();
        }
        return -1;
    }

    // Waits until nothing has arrived for a while, so that the next bytes are the next sound's.
    void waitForQuiet() const {
        for (int round = 0; round < 500; ++round) {
            const int64_t seen = bytes_.load();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (bytes_.load() == seen)
                return;
        }
    }

private:
    void read() {
        char buffer[65536];
        while (!quit_) {
            pollfd watch{descriptor_, POLLIN, 0};
            if (poll(&watch, 1, 20) <= 0)
                continue;
            const ssize_t got = ::read(descriptor_, buffer, sizeof buffer);
            if (got <= 0)
                continue;
            int64_t none = 0;
            firstArrival_.compare_exchange_strong(none, nowNanoseconds());
            bytes_ += got;
        }
    }

    int descriptor_ = -1;
    std::atomic<bool> quit_{false};
    std::atomic<int64_t> bytes_{0};
    std::atomic<int64_t> firstArrival_{1};
    std::thread reader_;
};

OutputPipe* thePipe = nullptr;

// The first sound of a run: a fresh process (forked before this one ever played) plays CLICK
// without any preparation; its start is sent back through a pipe.
void FirstSoundOfRun(benchmark::State& state) {
    const QByteArray click = platform::loadWave(QStringLiteral("CLICK"));
    for (auto _ : state) {
        thePipe->waitForQuiet();
        thePipe->expect();
        int started[2];
        if (pipe(started) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(started[0]);
            const int64_t start = nowNanoseconds();
            platform::playSound(platform::WaveSound(click));
            (void)!write(started[1], &start, sizeof start);
            // Plays on until the sound is out, then leaves without tidying up.
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            _exit(0);
        }
        close(started[1]);
        int64_t start = 0;
        (void)!::read(started[0], &start, sizeof start);
        close(started[0]);
        const int64_t arrival = thePipe->arrival();
        waitpid(child, nullptr, 0);
        if (arrival < 0 || start == 0) {
            state.SkipWithError("the first sound never reached the output");
            return;
        }
        state.SetIterationTime(static_cast<double>(arrival - start) / 1e9);
    }
}
BENCHMARK(FirstSoundOfRun)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Measures from the call to the first samples of one sound, played after the output fell quiet.
void timeSound(benchmark::State& state, const platform::WaveSound& sound) {
    thePipe->waitForQuiet();
    thePipe->expect();
    const int64_t start = nowNanoseconds();
    platform::playSound(sound);
    const int64_t arrival = thePipe->arrival();
    if (arrival < 0) {
        state.SkipWithError("the sound never reached the output");
        return;
    }
    state.SetIterationTime(static_cast<double>(arrival - start) / 1e9);
}

// Later sounds: CLICK again and again, the sound already decoded.
void LaterClick(benchmark::State& state) {
    const platform::WaveSound click(platform::loadWave(QStringLiteral("CLICK")));
    platform::playSound(click); // the first one, not measured
    for (auto _ : state)
        timeSound(state, click);
}
BENCHMARK(LaterClick)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// TADA as a new sound object each time, decoded each time.
void TadaDecodedEachTime(benchmark::State& state) {
    const QByteArray tada = platform::loadWave(QStringLiteral("TADA"));
    for (auto _ : state)
        timeSound(state, platform::WaveSound(tada));
}
BENCHMARK(TadaDecodedEachTime)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// TADA as the puzzle-solved dialog plays it: the run's one embedded sound.
void DialogTada(benchmark::State& state) {
    for (auto _ : state)
        timeSound(state, platform::embeddedSound(QStringLiteral("TADA")));
}
BENCHMARK(DialogTada)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// How long the window's thread spends in playSound() for a TADA not decoded yet.
void DialogTadaCallOnly(benchmark::State& state) {
    const QByteArray tada = platform::loadWave(QStringLiteral("TADA"));
    for (auto _ : state) {
        const platform::WaveSound sound(tada);
        const int64_t start = nowNanoseconds();
        platform::playSound(sound);
        state.SetIterationTime(static_cast<double>(nowNanoseconds() - start) / 1e9);
        platform::stopSound();
    }
}
BENCHMARK(DialogTadaCallOnly)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The references: ALSA's default output written directly, opened once beforehand, or opened
// for the sound. The library is opened here, not linked, so that the first sound of a run
// above finds it not loaded yet, as the game does.
struct Reference {
    Reference() {
        const platform::WaveSound click(platform::loadWave(QStringLiteral("CLICK")));
        samples = click.wave().pcm16;
        library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return;
        open = reinterpret_cast<decltype(open)>(dlsym(library, "snd_pcm_open"));
        setParams = reinterpret_cast<decltype(setParams)>(dlsym(library, "snd_pcm_set_params"));
        write = reinterpret_cast<decltype(write)>(dlsym(library, "snd_pcm_writei"));
        drain = reinterpret_cast<decltype(drain)>(dlsym(library, "snd_pcm_drain"));
        prepare = reinterpret_cast<decltype(prepare)>(dlsym(library, "snd_pcm_prepare"));
        close = reinterpret_cast<decltype(close)>(dlsym(library, "snd_pcm_close"));
    }
    ~Reference() {
        if (library)
            dlclose(library);
    }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;
    bool isReady() const { return open && setParams && write && drain && prepare && close; }

    snd_pcm_t* openDefault() const {
        snd_pcm_t* pcm = nullptr;
        if (open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0)
            return nullptr;
        if (setParams(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 2, 22050, 1, 50000) <
            0) {
            close(pcm);
            return nullptr;
        }
        return pcm;
    }

    void writeAll(snd_pcm_t* pcm) const {
        write(pcm, samples.constData(), static_cast<snd_pcm_uframes_t>(samples.size() / 4));
        drain(pcm);
        prepare(pcm);
    }

    QByteArray samples;
    void* library = nullptr;
    decltype(&::snd_pcm_open) open = nullptr;
    decltype(&::snd_pcm_set_params) setParams = nullptr;
    decltype(&::snd_pcm_writei) write = nullptr;
    decltype(&::snd_pcm_drain) drain = nullptr;
    decltype(&::snd_pcm_prepare) prepare = nullptr;
    decltype(&::snd_pcm_close) close = nullptr;
};

void ReferenceOpenOutput(benchmark::State& state) {
    const Reference reference;
    snd_pcm_t* pcm = reference.isReady() ? reference.openDefault() : nullptr;
    if (!pcm) {
        state.SkipWithError("no output");
        return;
    }
    for (auto _ : state) {
        thePipe->waitForQuiet();
        thePipe->expect();
        const int64_t start = nowNanoseconds();
        reference.writeAll(pcm);
        state.SetIterationTime(static_cast<double>(thePipe->arrival() - start) / 1e9);
    }
    reference.close(pcm);
}
BENCHMARK(ReferenceOpenOutput)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void ReferenceOpenEachTime(benchmark::State& state) {
    const Reference reference;
    for (auto _ : state) {
        thePipe->waitForQuiet();
        thePipe->expect();
        const int64_t start = nowNanoseconds();
        snd_pcm_t* pcm = reference.isReady() ? reference.openDefault() : nullptr;
        if (!pcm) {
            state.SkipWithError("no output");
            return;
        }
        reference.writeAll(pcm);
        state.SetIterationTime(static_cast<double>(thePipe->arrival() - start) / 1e9);
        reference.close(pcm);
    }
}
BENCHMARK(ReferenceOpenEachTime)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

} // namespace tarnell

using namespace tarnell;

int main(int argc, char** argv) {
    QTemporaryDir home;
    const QString pipePath = QDir(home.path()).filePath(QStringLiteral("output.pipe"));
    QFile config(QDir(home.path()).filePath(QStringLiteral(".asoundrc")));
    if (!home.isValid() || !config.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write the output's configuration\n");
        return 1;
    }
    config.write(QStringLiteral("pcm.!default {\n  type file\n  slave.pcm \"null\"\n"
                                "  file \"%1\"\n  format \"raw\"\n}\n")
                     .arg(pipePath)
                     .toUtf8());
    config.close();
    qputenv("HOME", QFile::encodeName(home.path()));
    OutputPipe pipe(pipePath);
    thePipe = &pipe;
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::stopSound();
    return 0;
}
