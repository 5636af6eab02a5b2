// The game heard through a real sound server, as most desktop players hear it: a private
// PipeWire (its own runtime folder and D-Bus session) with a null sink, the game under Xvfb
// with ALSA's default pointed at that server by the scratch HOME's .asoundrc, and the sink
// recorded while the board is clicked. The same runs through PulseAudio's ALSA plug-in to
// PipeWire's PulseAudio server with its own null sink. Each sound's start is found in the
// recording by matching the first 20 ms of the game's own CLICK or TADA.
//
// The median time from a click to its first sample at the sink is printed; to repeat it:
//     ctest --test-dir build-test -R SoundServer --output-on-failure -V | grep -E 'median|later'
// Their bounds hold with both cores busy: what the tests bound is the order of things (each
// click heard and cutting the one before, one stream, TADA after the dialog's second and
// before the next half), never the speed of the machine.
#include "XSession.h"
#include "platform/Resources.h"
#include "platform/WaveSound.h"
#include "tests/support/FieldGeometry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tarnell {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int SinkRate = 48000; // what desktops run their servers at; the game plays 22,050 Hz
const QString SinkName = QStringLiteral("tarnell-test-sink");

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Asks `done` every `stepMs` until it holds or `limitMs` have passed; its last answer.
bool pollFor(int limitMs, int stepMs, const std::function<bool()>& done) {
    for (int waited = 0; waited < limitMs; waited += stepMs) {
        if (done())
            return true;
        e2e::pause(stepMs);
    }
    return done();
}

// The first 20 ms of one of the game's sounds, as the sink has it: mono, at the sink's rate.
struct SoundStart {
    std::vector<double> samples;
    double peak = 0;
    double lengthMs = 0; // of the whole sound

    static SoundStart of(const QString& name) {
        const platform::DecodedWave wave = platform::decodeWave(platform::loadWave(name));
        SoundStart start;
        if (!wave.isValid())
            return start;
        const auto* pcm = reinterpret_cast<const int16_t*>(wave.pcm16.constData());
        const long frames = static_cast<long>(wave.pcm16.size() / 2 / wave.channels);
        start.lengthMs = 1000.0 * static_cast<double>(frames) / wave.sampleRate;
        const auto mono = [&](long frame) {
            double sum = 0;
            for (int c = 0; c < wave.channels; ++c)
                sum += pcm[frame * wave.channels + c];
            return sum / wave.channels;
        };
        for (int i = 0; i < SinkRate / 50; ++i) {
            const double at = static_cast<double>(i) * wave.sampleRate / SinkRate;
            const long before = static_cast<long>(at);
            if (before + 1 >= frames)
                break;
            const double part = at - static_cast<double>(before);
            start.samples.push_back(mono(before) * (1 - part) + mono(before + 1) * part);
            start.peak = std::max(start.peak, std::abs(start.samples.back()));
        }
        return start;
    }

    // How closely the recording at `at` matches: 1 for the same shape at any loudness.
    double match(const std::vector<double>& recording, long at) const {
        if (at < 0 || at + static_cast<long>(samples.size()) > static_cast<long>(recording.size()))
            return 0;
        double product = 0, heard = 0, own = 0;
        for (size_t i = 0; i < samples.size(); ++i) {
            const double x = recording[static_cast<size_t>(at) + i];
            product += x * samples[i];
            heard += x * x;
            own += samples[i] * samples[i];
        }
        return heard > 0 && own > 0 ? product / std::sqrt(heard * own) : 0;
    }
};

enum class Sound { Click, Tada };
struct Onset {
    Sound sound;
    long frame; // in the recording
};

// The sounds' starts in a recording from frame `first` on, where it is quiet: wherever it
// gets loud after a quiet while, the place nearby that best matches the start of CLICK or
// TADA.
std::vector<Onset> findSounds(const std::vector<double>& recording, long first,
                              const SoundStart& click, const SoundStart& tada) {
    std::vector<Onset> found;
    const double loud = 0.2 * click.peak;
    const long quietFrames = SinkRate * 15 / 1000; // 15 ms
    long quietSince = first - quietFrames;
    for (long i = std::max(first, 0L); i < static_cast<long>(recording.size()); ++i) {
        if (std::abs(recording[static_cast<size_t>(i)]) < loud)
            continue;
        const bool afterQuiet = i - quietSince >= quietFrames;
        quietSince = i + 1;
        if (!afterQuiet)
            continue;
        // The start lies a little before the first loud sample (the sounds fade in).
        Onset best{Sound::Click, -1};
        double bestScore = 0.6;
        for (long at = i - SinkRate * 30 / 1000; at <= i; ++at) {
            for (const auto& [sound, start] :
                 {std::pair{Sound::Click, &click}, std::pair{Sound::Tada, &tada}}) {
                if (sound == Sound::Click && at < i - SinkRate * 5 / 1000)
                    continue; // CLICK is loud within its first millisecond or two
                if (const double score = start->match(recording, at); score > bestScore) {
                    bestScore = score;
                    best = {sound, at};
                }
            }
        }
        if (best.frame >= 0)
            found.push_back(best);
    }
    return found;
}

// pw-record's output, read as it comes through a named pipe: the samples, and when each
// piece arrived, which ties the recording to the clock.
class Recorder {
public:
    explicit Recorder(const QString& folder)
        : pipePath_(QDir(folder).filePath(QStringLiteral("sink.pipe"))) {
        mkfifo(QFile::encodeName(pipePath_).constData(), 0600);
        // Read and write: no hang-up when the recorder ends and a new one starts writing.
        descriptor_ = ::open(QFile::encodeName(pipePath_).constData(), O_RDWR | O_NONBLOCK);
        reader_ = std::thread([this] { read(); });
    }
    ~Recorder() {
        stop();
        quit_ = true;
        reader_.join();
        ::close(descriptor_);
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Records the sink from now on, into a recording of its own.
    bool start(const QProcessEnvironment& environment) {
        stop();
        {
            const std::lock_guard lock(mutex_);
            samples_.clear();
            pending_.clear();
            pieces_.clear();
        }
        process_ = std::make_unique<QProcess>();
        process_->setProcessEnvironment(environment);
        process_->setStandardOutputFile(pipePath_);
        process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A short latency of its own keeps the server's cycles, and so the pieces, short:
        // about 5 ms. (At about 2.5 ms a busy machine's server loses whole cycles of the
        // sink, and with them sounds that the game handed over on time.)
        process_->start(QStringLiteral("pw-record"),
                        {QStringLiteral("--target"), SinkName, QStringLiteral("-P"),
                         QStringLiteral("{ stream.capture.sink=true }"),
                         QStringLiteral("--latency"), QStringLiteral("10ms"),
                         QStringLiteral("--rate"), QString::number(SinkRate),
                         QStringLiteral("--channels"), QStringLiteral("2"),
                         QStringLiteral("--format"), QStringLiteral("s16"), QStringLiteral("-")});
        if (!process_->waitForStarted(5000))
            return false;
        // Recording once samples flow and tell the time.
        return pollFor(5000, 20, [this] { return frames() > SinkRate; });
    }
    void stop() {
        if (process_)
            e2e::endProcess(*process_);
        process_.reset();
    }

    long frames() const {
        const std::lock_guard lock(mutex_);
        return static_cast<long>(samples_.size());
    }
    std::vector<double> samples() const {
        const std::lock_guard lock(mutex_);
        return samples_;
    }
    // When the sink played this frame. The pieces that brought it and the frames after it
    // tell: each arrived a little after the sink played its first frame, the least late of
    // them closest to it. (Not the pieces of the whole recording: the recorder may lose
    // frames now and then, when the server changes its cycle for a new stream, say.)
    Clock::time_point timeOf(long frame) const {
        const std::lock_guard lock(mutex_);
        auto best = Clock::time_point::max();
        for (const Piece& piece : pieces_) {
            if (piece.lastFrame < frame || piece.firstFrame > frame + SinkRate / 2)
                continue;
            best = std::min(best, piece.arrival - std::chrono::microseconds(
                                                      static_cast<int64_t>(piece.firstFrame) *
                                                      1'000'000 / SinkRate));
        }
        return best + std::chrono::microseconds(static_cast<int64_t>(frame) * 1'000'000 / SinkRate);
    }

private:
    void read() {
        std::vector<char> buffer(1 << 16);
        while (!quit_) {
            pollfd watch{descriptor_, POLLIN, 0};
            if (poll(&watch, 1, 20) <= 0)
                continue;
            const ssize_t got = ::read(descriptor_, buffer.data(), buffer.size());
            if (got <= 0)
                continue;
            const auto now = Clock::now();
            const std::lock_guard lock(mutex_);
            const auto firstFrame = static_cast<long>(samples_.size());
            pending_.insert(pending_.end(), buffer.begin(), buffer.begin() + got);
            size_t used = 0;
            for (; used + 4 <= pending_.size(); used += 4) {
                int16_t frame[2];
                std::memcpy(frame, pending_.data() + used, sizeof frame);
                samples_.push_back((frame[0] + frame[1]) / 2.0);
            }
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(used));
            // The recorder hands over what it gathered while it started in one go: its
            // first half second does not tell the time.
            if (firstFrame >= SinkRate / 2)
                pieces_.push_back({firstFrame, static_cast<long>(samples_.size()) - 1, now});
        }
    }

    const QString pipePath_;
    int descriptor_ = -1;
    std::unique_ptr<QProcess> process_;
    std::atomic<bool> quit_{false};
    mutable std::mutex mutex_;
    std::vector<double> samples_;
    std::vector<char> pending_;
    struct Piece {
        long firstFrame, lastFrame;
        Clock::time_point arrival;
    };
    std::vector<Piece> pieces_;
    std::thread reader_;
};

// Which server the game's ALSA default reaches, and how.
enum class Route { PipeWire, PulseAudio };

// A route by name, in the test names and their printed parameter.
void PrintTo(Route route, std::ostream* out) {
    *out << (route == Route::PipeWire ? "PipeWirePlugin" : "PulseAudioPlugin");
}

// A private sound server: D-Bus session, PipeWire, WirePlumber and, for the PulseAudio route,
// PipeWire's PulseAudio server; a null sink that is the default output.
class PrivateSoundServer {
public:
    explicit PrivateSoundServer(Route route) : route_(route) {
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        environment_.insert(QStringLiteral("HOME"), home_.path());
        environment_.remove(QStringLiteral("PIPEWIRE_REMOTE"));
        environment_.remove(QStringLiteral("PULSE_SERVER"));
        environment_.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    }
    ~PrivateSoundServer() {
        stop();
        if (bus_)
            e2e::endProcess(*bus_);
    }
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // What is missing to run the server, or empty.
    static QString missingTools(Route route) {
        QStringList tools{QStringLiteral("dbus-daemon"), QStringLiteral("pipewire"),
                          QStringLiteral("wireplumber"), QStringLiteral("pw-cli"),
                          QStringLiteral("pw-record")};
        if (route == Route::PulseAudio)
            tools << QStringLiteral("pipewire-pulse") << QStringLiteral("pactl");
        for (const QString& tool : tools)
            if (QStandardPaths::findExecutable(tool).isEmpty())
                return tool;
        // The ALSA plug-ins (pipewire-alsa, libasound2-plugins).
        const QString plugin =
            route == Route::PipeWire ? QStringLiteral("pipewire") : QStringLiteral("pulse");
        for (const char* folder : {"/usr/lib/x86_64-linux-gnu/alsa-lib", "/usr/lib/alsa-lib",
                                   "/usr/lib64/alsa-lib", "/usr/lib/aarch64-linux-gnu/alsa-lib"})
            if (QFile::exists(QStringLiteral("%1/libasound_module_pcm_%2.so")
                                  .arg(QString::fromLatin1(folder), plugin)))
                return {};
        return QStringLiteral("the ALSA plug-in for ") + plugin;
    }

    bool start() {
        if (!bus_) {
            const QString address = QStringLiteral("unix:path=%1/bus").arg(runtime_.path());
            bus_ = startHelper(QStringLiteral("dbus-daemon"),
                               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--address=") + address});
            if (!waitFor([&] { return QFile::exists(runtime_.path() + QStringLiteral("/bus")); }))
                return fail(QStringLiteral("the D-Bus session did not start"));
            environment_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        }
        pipewire_ = startHelper(QStringLiteral("pipewire"), {});
        if (!waitFor([&] {
                return succeeds(QStringLiteral("pw-cli"),
                                {QStringLiteral("info"), QStringLiteral("0")});
            }))
            return fail(QStringLiteral("PipeWire did not start"));
        sessionManager_ = startHelper(QStringLiteral("wireplumber"), {});
        if (route_ == Route::PulseAudio) {
            pulse_ = startHelper(QStringLiteral("pipewire-pulse"), {});
            if (!waitFor(
                    [&] { return succeeds(QStringLiteral("pactl"), {QStringLiteral("info")}); }))
                return fail(QStringLiteral("PipeWire's PulseAudio server did not start"));
            if (!succeeds(QStringLiteral("pactl"),
                          {QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                           QStringLiteral("sink_name=") + SinkName}))
                return fail(QStringLiteral("pactl could not make the null sink"));
        } else if (!succeeds(QStringLiteral("pw-cli"),
                             {QStringLiteral("create-node"), QStringLiteral("adapter"),
                              QStringLiteral("{ factory.name=support.null-audio-sink node.name=%1 "
                                             "media.class=Audio/Sink object.linger=true "
                                             "audio.position=[FL FR] }")
                                  .arg(SinkName)})) {
            return fail(QStringLiteral("pw-cli could not make the null sink"));
        }
        // The session manager makes the only sink the default one.
        if (!waitFor([&] {
                return output(QStringLiteral("wpctl"),
                              {QStringLiteral("inspect"), QStringLiteral("@DEFAULT_AUDIO_SINK@")})
                    .contains(SinkName);
            }))
            return fail(QStringLiteral("the null sink did not become the default output"));
        return true;
    }

    // Ends the servers at once, as a crash would, or in order (the D-Bus session stays).
    void kill() { end(true); }
    void stop() { end(false); }
    void end(bool crash) {
        for (auto* process : {&pulse_, &sessionManager_, &pipewire_}) {
            if (*process && crash) {
                (*process)->kill();
                (*process)->waitForFinished(3000);
            } else if (*process) {
                e2e::endProcess(**process);
            }
            process->reset();
        }
    }

    const QProcessEnvironment& environment() const { return environment_; }
    // What the game's environment needs to find this server.
    QStringList gameEnvironment() const {
        return {QStringLiteral("XDG_RUNTIME_DIR=") + runtime_.path(),
                QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") +
                    environment_.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"))};
    }
    // ALSA's default for a HOME: this route's plug-in, whatever the machine's default is.
    QByteArray alsaConfiguration() const {
        const QByteArray type = route_ == Route::PipeWire ? "pipewire" : "pulse";
        return "pcm.!default {\n    type " + type + "\n}\nctl.!default {\n    type " + type +
               "\n}\n";
    }
    // The game's output streams on the server now, by their ids.
    QStringList gameStreams() const {
        QStringList streams;
        QString id;
        const QString nodes =
            output(QStringLiteral("pw-cli"), {QStringLiteral("ls"), QStringLiteral("Node")});
        for (const QString& line : nodes.split(u'\n')) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith(QStringLiteral("id ")))
                id = trimmed.section(u',', 0, 0);
            else if (trimmed == QStringLiteral("media.class = \"Stream/Output/Audio\""))
                streams << id;
        }
        return streams;
    }
    QString why() const { return why_; }

private:
    std::unique_ptr<QProcess> startHelper(const QString& program, const QStringList& args) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment_);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(runtime_.path() + QStringLiteral("/servers.log"),
                                      QIODevice::Append);
        process->start(program, args);
        process->waitForStarted(5000);
        return process;
    }
    // Runs a client of the server; its output, or empty when it failed.
    QString output(const QString& program, const QStringList& args) const {
        QProcess process;
        process.setProcessEnvironment(environment_);
        process.start(program, args);
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(1000);
            return {};
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return {};
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        return out.isEmpty() ? QStringLiteral("ok") : out;
    }
    bool succeeds(const QString& program, const QStringList& args) const {
        return !output(program, args).isEmpty();
    }
    static bool waitFor(const std::function<bool()>& ready) { return pollFor(10000, 50, ready); }
    bool fail(const QString& why) {
        why_ = why + QStringLiteral("; the servers' log ends: ") +
               e2e::tailOfLog(runtime_.path() + QStringLiteral("/servers.log"));
        return false;
    }

    const Route route_;
    QTemporaryDir runtime_{QDir::tempPath() + QStringLiteral("/tarnell-e2e-runtime-XXXXXX")};
    QTemporaryDir home_{QDir::tempPath() + QStringLiteral("/tarnell-e2e-sound-home-XXXXXX")};
    QProcessEnvironment environment_;
    std::unique_ptr<QProcess> bus_, pipewire_, sessionManager_, pulse_;
    QString why_;
};

class SoundServer : public ::testing::TestWithParam<Route> {
protected:
    void SetUp() override {
        QString missing;
        if (!e2e::XSession::toolsAvailable(&missing) ||
            !(missing = PrivateSoundServer::missingTools(GetParam())).isEmpty())
            GTEST_SKIP() << missing.toStdString() << " is not installed";
        click_ = SoundStart::of(QStringLiteral("CLICK"));
        tada_ = SoundStart::of(QStringLiteral("TADA"));
        ASSERT_FALSE(click_.samples.empty() || tada_.samples.empty());
        server_ = std::make_unique<PrivateSoundServer>(GetParam());
        ASSERT_TRUE(server_->start()) << server_->why().toStdString();
        recorder_ = std::make_unique<Recorder>(scratch_.path());
        ASSERT_TRUE(recorder_->start(server_->environment())) << "pw-record recorded nothing";
    }
    void TearDown() override {
        session_.reset();
        recorder_.reset();
        server_.reset();
    }

    // The game, with ALSA's default on the server and, where given, its set-up values.
    void startGame(const QByteArray& settings = {}) {
        for (int attempt = 0; attempt < 3 && window_.isEmpty(); ++attempt) {
            session_ = std::make_unique<e2e::XSession>();
            QFile alsa(QDir(session_->home()).filePath(QStringLiteral(".asoundrc")));
            ASSERT_TRUE(alsa.open(QIODevice::WriteOnly));
            alsa.write(server_->alsaConfiguration());
            alsa.close();
            if (!settings.isEmpty()) {
                QDir(session_->home()).mkpath(QStringLiteral(".config/Morvane"));
                QFile file(session_->home() + QStringLiteral("/.config/Morvane/Tarnell.conf"));
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(settings);
            }
            if (!session_->startServer() || !session_->startProgram(server_->gameEnvironment()))
                continue;
            const QString id = session_->waitForWindow(QStringLiteral("Tarnell"), 8000);
            if (!id.isEmpty())
                window_ = session_->windowGeometry(id);
        }
        ASSERT_FALSE(window_.isEmpty());
        started_ = Clock::now();
        e2e::pause(500); // the first frames, then the output is made ready
    }

    QPoint onField(int row, int col) const {
        return window_.topLeft() + testsupport::inwindow::Field.topLeft() +
               testsupport::cellCentre(row, col);
    }

    // Clicks at `where`; the moment the click has been sent. (xdotool waits 100 ms after a
    // click unless told not to.)
    Clock::time_point clickAt(QPoint where) {
        session_->moveTo(where);
        e2e::pause(60);
        session_->run(QStringLiteral("xdotool"),
                      {QStringLiteral("click"), QStringLiteral("--delay"), QStringLiteral("0"),
                       QStringLiteral("1")});
        return Clock::now();
    }

    // Clicks `count` times, `spacingMs` apart, in one run of xdotool so that the spacing
    // holds; the CLICKs heard from then on until the sink is quiet again.
    std::vector<Onset> burst(QPoint where, int count, int spacingMs) {
        const long from = recorder_->frames();
        const QStringList args{
            QStringLiteral("mousemove"), QString::number(where.x()), QString::number(where.y()),
            QStringLiteral("click"),     QStringLiteral("--repeat"), QString::number(count),
            QStringLiteral("--delay"),   QString::number(spacingMs), QStringLiteral("1")};
        session_->run(QStringLiteral("xdotool"), args);
        e2e::pause(700); // the last one played out
        return clicksFrom(from);
    }

    std::vector<Onset> heardFrom(long frame) const {
        return findSounds(recorder_->samples(), frame, click_, tada_);
    }
    std::vector<Onset> clicksFrom(long frame) const {
        std::vector<Onset> onsets = heardFrom(frame);
        std::erase_if(onsets, [](const Onset& onset) { return onset.sound != Sound::Click; });
        return onsets;
    }
    static double gapMs(const Onset& before, const Onset& after) {
        return static_cast<double>(after.frame - before.frame) * 1000.0 / SinkRate;
    }

    SoundStart click_, tada_;
    QTemporaryDir scratch_;
    std::unique_ptr<PrivateSoundServer> server_;
    std::unique_ptr<Recorder> recorder_;
    std::unique_ptr<e2e::XSession> session_;
    QRect window_;
    Clock::time_point started_;
};

TEST_P(SoundServer, EveryClickIsHeardAtOnceAndTheGameKeepsOneStream) {
    startGame();
    const QPoint cell = onField(4, 4);
    // Single clicks, a while apart: the time from each to its first sample at the sink.
    std::vector<double> latencies;
    for (int i = 0; i < 12; ++i) {
        const long from = recorder_->frames();
        const Clock::time_point clicked = clickAt(cell);
        e2e::pause(350);
        const std::vector<Onset> heard = clicksFrom(from);
        ASSERT_EQ(heard.size(), 1u) << "single click " << i;
        latencies.push_back(millisecondsBetween(clicked, recorder_->timeOf(heard[0].frame)));
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("click to first sample at the sink (%s): median %.1f ms, least %.1f ms, "
                "most %.1f ms over %zu clicks\n",
                GetParam() == Route::PipeWire ? "PipeWire plug-in" : "PulseAudio plug-in",
                latencies[latencies.size() / 2], latencies.front(), latencies.back(),
                latencies.size());

    // A player who has been at it for longer than the output's quiet while.
    const auto playing = std::chrono::milliseconds(11000);
    if (Clock::now() - started_ < playing)
        std::this_thread::sleep_for(playing - (Clock::now() - started_));
    QStringList streams;
    // Bursts of clicks that cut each other in the middle of CLICK (80-100 ms apart) and in
    // its last 40 ms. Each click is heard, and it cuts the one before: a click that waited
    // for the one before to play out would start a whole CLICK after it, in every gap of
    // the burst, which is told from the spacing where the two lie 20 ms apart or more (the
    // sink's cycles and a busy machine move a start by 10 ms or so). How late a click may
    // start is a speed, which depends on the machine: it is printed, not bounded. (A busy
    // machine may hold a click back now and then; two bursts of three tries must be whole.)
    double worstLate = 0;
    for (const int spacing : {80, 90, 100, 110, 120}) {
        const int clicks = 6;
        int whole = 0, tries = 0;
        std::ostringstream bursts;
        for (; tries < 3 && whole < 2; ++tries) {
            const long from = recorder_->frames();
            const std::vector<Onset> heard = burst(cell, clicks, spacing);
            const long end = recorder_->frames();
            int waited = 0;
            const bool tells = click_.lengthMs - spacing >= 20;
            bursts << "\n  heard " << heard.size() << " clicks, gaps (ms):";
            for (size_t i = 1; i < heard.size(); ++i) {
                const double gap = gapMs(heard[i - 1], heard[i]);
                worstLate = std::max(worstLate, gap - spacing);
                waited += tells && gap >= (spacing + click_.lengthMs) / 2;
                bursts << ' ' << std::lround(gap);
            }
            if (!heard.empty()) // where a missing click could have been
                bursts << " (the first " << (heard.front().frame - from) * 1000 / SinkRate
                       << " ms into the recording, the last "
                       << (end - heard.back().frame) * 1000 / SinkRate << " ms before its end)";
            whole += heard.size() == static_cast<size_t>(clicks) && waited * 2 < clicks - 1;
        }
        EXPECT_EQ(whole, 2)
            << clicks << " clicks " << spacing
            << " ms apart, each heard, fewer than half of them about a whole CLICK ("
            << std::lround(click_.lengthMs) << " ms) after the one before:" << bursts.str();
        // The output stays open between clicks: one stream, the same one all along.
        const QStringList now = server_->gameStreams();
        EXPECT_EQ(now.size(), 1) << "the game's streams after the clicks " << spacing
                                 << " ms apart: " << now.join(u' ').toStdString();
        streams << now;
    }
    std::printf("in the bursts, a click started at most %.0f ms later after the one before "
                "than it was clicked\n",
                worstLate);
    streams.removeDuplicates();
    EXPECT_EQ(streams.size(), 1) << streams.join(u' ').toStdString();
    // Quiet from now on: the game lets its stream go after a while, not sooner.
    const Clock::time_point quiet = Clock::now();
    while (!server_->gameStreams().isEmpty() && Clock::now() - quiet < std::chrono::seconds(20))
        e2e::pause(200);
    const double held = millisecondsBetween(quiet, Clock::now());
    std::printf("the game let its stream go %.1f s after the last click\n", held / 1000);
    EXPECT_GE(held, 8000);
    EXPECT_LT(held, 15000);
}

TEST_P(SoundServer, TadaComesASecondAfterThePuzzleIsSolved) {
    // A 3 x 3 board with one fox: solved within nine clicks.
    startGame("[General]\nFin=3\nLim=1\nHints=1\n");
    const long from = recorder_->frames();
    bool solved = false;
    for (int cell = 0; cell < 9 && !solved; ++cell) {
        clickAt(onField(cell / 3 + 1, cell % 3 + 1));
        solved = pollFor(
            600, 50, [&] { return session_->windowExists(QStringLiteral("Congradulations!")); });
    }
    ASSERT_TRUE(solved) << "no puzzle-solved dialog after every cell was clicked";
    // TADA plays a second after the dialog opens, and lasts about two.
    std::vector<Onset> heard;
    pollFor(5000, 100, [&] {
        heard = heardFrom(from);
        return !heard.empty() && heard.back().sound == Sound::Tada;
    });
    ASSERT_FALSE(heard.empty());
    ASSERT_EQ(heard.back().sound, Sound::Tada) << "TADA was never heard";
    ASSERT_GE(heard.size(), 2u);
    const Onset& solvingClick = heard[heard.size() - 2];
    ASSERT_EQ(solvingClick.sound, Sound::Click);
    // The dialog opens right after the solving click's sound starts. The sink takes each sound
    // at the start of one of the server's cycles (about 5 ms), so either start may be late
    // by up to one. Timed by the clock: a busy machine's server may skip cycles of the sink,
    // which the recording then lacks.
    const double gap = millisecondsBetween(recorder_->timeOf(solvingClick.frame),
                                           recorder_->timeOf(heard.back().frame));
    std::printf("TADA started %.0f ms after the solving click (%.0f ms of the recording)\n", gap,
                gapMs(solvingClick, heard.back()));
    EXPECT_GE(gap, 1000 - 45);
    EXPECT_LE(gap, 1400);
}

TEST_P(SoundServer, AClickAfterTheServerWasKilledAndStartedAgainIsHeard) {
    startGame();
    const QPoint cell = onField(4, 4);
    long from = recorder_->frames();
    clickAt(cell);
    e2e::pause(400);
    ASSERT_EQ(clicksFrom(from).size(), 1u);
    // The output stays open for the next sound; its server goes away under it and comes back.
    const Clock::time_point killed = Clock::now();
    recorder_->stop();
    server_->kill();
    ASSERT_TRUE(server_->start()) << server_->why().toStdString();
    ASSERT_TRUE(recorder_->start(server_->environment()));
    std::printf("the server was back after %.0f ms\n", millisecondsBetween(killed, Clock::now()));
    from = recorder_->frames();
    clickAt(cell);
    std::vector<Onset> heard;
    pollFor(3000, 100, [&] { return !(heard = clicksFrom(from)).empty(); });
    EXPECT_EQ(heard.size(), 1u) << "the first click after the restart was not heard";
    // And so are the ones after it.
    from = recorder_->frames();
    clickAt(cell);
    e2e::pause(400);
    EXPECT_EQ(clicksFrom(from).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Routes, SoundServer, ::testing::Values(Route::PipeWire, Route::PulseAudio),
                         ::testing::PrintToStringParamName());

} // namespace

} // namespace tarnell
