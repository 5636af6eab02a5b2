// The real program on Wayland, under each of two compositors nested in a private X server
// (driven with xdotool): Weston, and mutter, GNOME's. The program runs on Qt's Wayland
// platform. Its first frame is the one it shows on X11 (read through the compositor's window
// on the X server, since the compositors keep their own screenshots to themselves), the
// compositor knows it by the menu entry's name, a click opens a plate, a caption drag moves
// the window and the cyan plate follows the pointer after it, a dialog opens and closes with
// the keys going back to the board, and Ctrl+F3 ends the program.
#include "ScreenSearch.h"
#include "XSession.h"
#include "tests/support/FieldGeometry.h"
#include "tests/support/PlateColours.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

namespace tarnell {

namespace {

// The compositor's output window covers the top-left of a larger X screen: beside it the
// pointer is away from the compositor, and coming back it enters the output window with its
// place. (Weston's X11 backend moves its pointer by the differences between motions, so a
// motion missed before the compositor listened would otherwise leave the two pointers apart
// for good.)
const QSize Output(1024, 768);
const QSize Screen(Output.width() + 64, Output.height() + 64);
const QSize WindowSize(488, 376);
using testsupport::cellCentre;
namespace inwindow = testsupport::inwindow;
// The pointer waits beside the compositor's output, where no compositor draws it. It goes
// there by way of the output's far corner: mutter draws its pointer into the output, and
// leaves it where it last was inside; there it hides nothing the test looks at.
const QPoint Parked(Output.width() + 32, Output.height() + 32);
const QPoint FarCorner(Output.width() - 1, Output.height() - 1);
// The caption band's active look, from the icon to the end of the title: found wherever the
// window is, whatever its board and clock show.
const QRect CaptionBlock(0, 0, 150, 30);
// Where the caption drags start: clear of that block, where the pointer would hide it.
const QPoint Grip(350, 12);

bool isGreen(const QColor& c) {
    return testsupport::isPlainPlate(c.rgb());
}
bool isCyan(const QColor& c) {
    return testsupport::isCurrentPlate(c.rgb());
}
QString name(const QColor& c) {
    return c.name();
}

// The pixels where two images of the same size differ, described for a failure message.
QString differences(const QImage& seen, const QImage& wanted) {
    int count = 0;
    QString first;
    for (int y = 0; y < wanted.height(); ++y)
        for (int x = 0; x < wanted.width(); ++x)
            if ((seen.pixel(x, y) & 0xffffff) != (wanted.pixel(x, y) & 0xffffff)) {
                if (count++ == 0)
                    first = QStringLiteral(" first at %1,%2: %3 where X11 shows %4")
                                .arg(x)
                                .arg(y)
                                .arg(name(seen.pixel(x, y)), name(wanted.pixel(x, y)));
            }
    return QStringLiteral("%1 pixels differ;%2").arg(count).arg(first);
}

// A Wayland compositor of the test's own, nested in the session's X server: its output is a
// window of Output's size at the screen's top-left. It has a private runtime directory (mode
// 0700, where its socket goes), HOME and D-Bus session, so that nothing of the machine's own
// desktop session reaches it, and libwayland's server trace in its log: the requests the
// compositor received, as it received them.
class NestedCompositor {
public:
    NestedCompositor(const NestedCompositor&) = delete;
    NestedCompositor& operator=(const NestedCompositor&) = delete;
    virtual ~NestedCompositor() { stop(); }

    // False (with the missing tool) when the compositor or the bus is not installed.
    bool available(QString* missing) const {
        for (const QString& tool : {program(), QStringLiteral("dbus-daemon")})
            if (QStandardPaths::findExecutable(tool).isEmpty()) {
                *missing = tool;
                return false;
            }
        return true;
    }

    // Up when its socket exists and its output window is shown on the X server.
    bool start(e2e::XSession& session, QString* why) {
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        socket_ = QStringLiteral("tarnell-e2e-%1").arg(session.display().mid(1));
        if (!QDir(runtime_.path()).mkpath(QStringLiteral("home/.config")) || !startBus(why) ||
            !prepare(why))
            return false;
        process_ = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), session.display());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress());
        const QString home = runtime_.filePath(QStringLiteral("home"));
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
        env.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("server"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_SOCKET"));
        addEnvironment(env);
        process_->setProcessEnvironment(env);
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->setStandardOutputFile(log());
        process_->start(program(), arguments());
        if (!process_->waitForStarted(5000)) {
            *why = program() + QStringLiteral(" did not start: ") + process_->errorString();
            return false;
        }
        const auto shown = [&] {
            return !session
                        .run(
                            QStringLiteral("xdotool"),
                            QStringList{QStringLiteral("search"), QStringLiteral("--onlyvisible")} +
                                outputWindow())
                        .isEmpty();
        };
        QElapsedTimer clock;
        clock.start();
        while (!clock.hasExpired(30000)) {
            if (process_->state() == QProcess::NotRunning) {
                *why = QStringLiteral("%1 ended at start (exit %2); its messages: %3")
                           .arg(program())
                           .arg(process_->exitCode())
                           .arg(messages());
                return false;
            }
            if (QFile::exists(runtime_.filePath(socket_)) && shown())
                return true;
            e2e::pause(100);
        }
        *why =
            QStringLiteral("%1's socket %2 (%3) or its window on %4 (%5) did not appear "
                           "within 30 s; its messages: %6")
                .arg(program(), runtime_.filePath(socket_),
                     QFile::exists(runtime_.filePath(socket_)) ? QStringLiteral("there")
                                                               : QStringLiteral("missing"),
                     session.display(),
                     shown() ? QStringLiteral("shown") : QStringLiteral("not shown"), messages());
        return false;
    }

    // The compositor first, then its bus.
    void stop() {
        if (process_)
            e2e::endProcess(*process_, 5000);
        if (bus_)
            e2e::endProcess(*bus_);
    }

    // What a Wayland client of this compositor needs in its environment.
    QStringList clientEnvironment() const {
        QStringList environment{QStringLiteral("QT_QPA_PLATFORM=wayland"),
                                QStringLiteral("WAYLAND_DISPLAY=") + socket_,
                                QStringLiteral("XDG_RUNTIME_DIR=") + runtime_.path(),
                                QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + busAddress()};
#ifdef __SANITIZE_ADDRESS__
        // Mesa unloads its software driver when Qt ends its EGL display, and LeakSanitizer
        // cannot name a library that is gone: the buffer LLVM keeps inside that driver would
        // count as the program's leak. The game draws with the raster engine either way, so
        // the sanitizer build's game runs here without an EGL vendor (the compositor keeps
        // its own).
        environment.append(QStringLiteral("__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json"));
#endif
        return environment;
    }
    QString runtimePath() const {
        return runtime_.path();
    }
    // The arguments of every request of this name that the compositor received on an object
    // of this interface, in order: for set_app_id on an xdg_toplevel, ("org.morvane.Tarnell").
    QStringList received(const QString& interface, const QString& request) const {
        const QRegularExpression line(TraceLine + QStringLiteral("%1@[0-9]+\\.%2(\\(.*\\))$")
                                                      .arg(QRegularExpression::escape(interface),
                                                           QRegularExpression::escape(request)),
                                      QRegularExpression::MultilineOption);
        QStringList arguments;
        for (const QRegularExpressionMatch& match : line.globalMatch(logText()))
            arguments.append(match.captured(1));
        return arguments;
    }
    // The end of its log without the protocol trace, for a failure message.
    QString messages() const {
        const QRegularExpression trace(TraceLine + QStringLiteral("(-> )?\\w+@[0-9]+\\."));
        QStringList kept;
        for (const QString& line : logText().split(QLatin1Char('\n')))
            if (!trace.match(line).hasMatch() && !line.trimmed().isEmpty())
                kept.append(line);
        return kept.isEmpty() ? QStringLiteral("(none)") : kept.join(QLatin1Char('\n')).right(1500);
    }

protected:
    NestedCompositor()
        : runtime_(QDir::tempPath() + QStringLiteral("/tarnell-e2e-wayland-XXXXXX")) {}

    virtual QString program() const = 0;
    virtual QStringList arguments() const = 0;
    // Writes what the compositor reads at start.
    virtual bool prepare(QString*) {
        return true;
    }
    virtual void addEnvironment(QProcessEnvironment&) const {}
    // The xdotool search words that find its output window.
    virtual QStringList outputWindow() const = 0;

    QString socket() const {
        return socket_;
    }
    QString filePath(const QString& name) const {
        return runtime_.filePath(name);
    }
    qint64 processId() const {
        return process_ ? process_->processId() : 0;
    }

private:
    // How a line of the trace starts: a time stamp in milliseconds, then a request the
    // compositor received ("xdg_toplevel@27.set_app_id(...)") or, after "-> ", an event it
    // sent. (Weston stamps its own messages with the time of day.)
    static inline const QString TraceLine = QStringLiteral("^\\[ *[0-9]+\\.[0-9]+\\] +");

    QString log() const {
        return runtime_.filePath(QStringLiteral("compositor.log"));
    }
    QString logText() const {
        QFile file(log());
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }
    QString busAddress() const {
        return QStringLiteral("unix:path=") + runtime_.filePath(QStringLiteral("bus"));
    }

    // A session bus that starts no services of its own: everything on it is the test's.
    bool startBus(QString* why) {
        QFile config(runtime_.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly)) {
            *why = QStringLiteral("cannot write %1").arg(config.fileName());
            return false;
        }
        config.write(
            QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                           "Configuration 1.0//EN\"\n"
                           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                           "<busconfig><type>session</type><listen>%1</listen>\n"
                           "<policy context=\"default\"><allow send_destination=\"*\"/>"
                           "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy>"
                           "</busconfig>\n")
                .arg(busAddress())
                .toUtf8());
        config.close();
        bus_ = std::make_unique<QProcess>();
        bus_->setProcessChannelMode(QProcess::MergedChannels);
        bus_->setStandardOutputFile(runtime_.filePath(QStringLiteral("bus.log")));
        bus_->start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--config-file=") + config.fileName(),
                     QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                     QStringLiteral("--nosyslog")});
        QElapsedTimer clock;
        clock.start();
        bus_->waitForStarted(5000);
        while (bus_->state() == QProcess::Running && !clock.hasExpired(10000)) {
            if (QFile::exists(runtime_.filePath(QStringLiteral("bus"))))
                return true;
            e2e::pause(50);
        }
        *why = QStringLiteral("no private D-Bus session: ") +
               e2e::tailOfLog(runtime_.filePath(QStringLiteral("bus.log")));
        return false;
    }

    QTemporaryDir runtime_;
    QString socket_;
    std::unique_ptr<QProcess> bus_;
    std::unique_ptr<QProcess> process_;
};

// Weston with its X11 backend, drawn with pixman: a black desktop without a panel or
// animations, which never locks.
class NestedWeston : public NestedCompositor {
protected:
    QString program() const override { return QStringLiteral("weston"); }
    QStringList arguments() const override {
        return {QStringLiteral("--backend=x11-backend.so"),
                QStringLiteral("--use-pixman"),
                QStringLiteral("--socket=") + socket(),
                QStringLiteral("--width=%1").arg(Output.width()),
                QStringLiteral("--height=%1").arg(Output.height()),
                QStringLiteral("--config=") + config()};
    }
    bool prepare(QString* why) override {
        QFile file(config());
        if (!file.open(QIODevice::WriteOnly)) {
            *why = QStringLiteral("cannot write %1").arg(file.fileName());
            return false;
        }
        file.write("[core]\nidle-time=0\n"
                   "[shell]\npanel-position=none\nbackground-color=0xff000000\nlocking=false\n"
                   "animation=none\nstartup-animation=none\nclose-animation=none\n"
                   "focus-animation=none\n");
        return true;
    }
    QStringList outputWindow() const override {
        return {QStringLiteral("--class"), QStringLiteral("^Weston Compositor$")};
    }

private:
    QString config() const { return filePath(QStringLiteral("weston.ini")); }
};

// GNOME's compositor, nested: Wayland only (no Xwayland), one monitor of Output's size,
// rendered by Mesa's software renderer (no GPU is assumed), with its own default settings
// rather than the machine's. Its output window names no class; it is found by the process.
class NestedMutter : public NestedCompositor {
protected:
    QString program() const override { return QStringLiteral("mutter"); }
    QStringList arguments() const override {
        return {QStringLiteral("--nested"), QStringLiteral("--wayland"), QStringLiteral("--no-x11"),
                QStringLiteral("--wayland-display=") + socket()};
    }
    void addEnvironment(QProcessEnvironment& env) const override {
        env.insert(QStringLiteral("MUTTER_DEBUG_DUMMY_MODE_SPECS"),
                   QStringLiteral("%1x%2").arg(Output.width()).arg(Output.height()));
        env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
        env.insert(QStringLiteral("LIBGL_ALWAYS_SOFTWARE"), QStringLiteral("1"));
    }
    QStringList outputWindow() const override {
        return {QStringLiteral("--pid"), QString::number(processId())};
    }
};

enum class Compositor { Weston, Mutter };

const char* nameOf(Compositor which) {
    return which == Compositor::Mutter ? "Mutter" : "Weston";
}

void PrintTo(Compositor which, std::ostream* out) {
    *out << nameOf(which);
}

std::unique_ptr<NestedCompositor> nested(Compositor which) {
    if (which == Compositor::Mutter)
        return std::make_unique<NestedMutter>();
    return std::make_unique<NestedWeston>();
}

class Wayland : public ::testing::TestWithParam<Compositor> {
protected:
    void SetUp() override {
        compositor_ = nested(GetParam());
        QString missing;
        if (!e2e::XSession::toolsAvailable(&missing) || !compositor_->available(&missing))
            GTEST_SKIP() << missing.toStdString()
                         << " is not installed (scripts/install-deps.sh test installs it)";
        session_ = std::make_unique<e2e::XSession>();
        ASSERT_TRUE(session_->startServer(Screen)) << "no private X server";
    }
    void TearDown() override {
        // The program first (the session ends it), then the compositor, then the server.
        if (session_ && session_->programRunning()) {
            session_->key(QStringLiteral("ctrl+F3"));
            session_->waitForExit(3000);
        }
        compositor_.reset();
        session_.reset();
    }

    // The first frame on X11, on this same server with no compositor yet and the pointer
    // away from the window: its pixels once two screenshots in a row agree. The program is
    // ended with Ctrl+F3.
    QImage firstFrameOnX11() {
        session_->moveTo(Parked);
        EXPECT_TRUE(session_->startProgram());
        const QString id = session_->waitForWindow(QStringLiteral("Tarnell"));
        if (id.isEmpty())
            return {};
        const QRect window = session_->windowGeometry(id);
        EXPECT_EQ(window.size(), WindowSize);
        QImage frame;
        session_->screenshotShowing(
            [&](const QImage& shot) {
                const QImage now = shot.copy(window);
                const bool settled = now == frame && isGreen(now.pixel(middleOfTheBoard()));
                frame = now;
                return settled;
            },
            10000);
        session_->key(QStringLiteral("ctrl+F3"));
        EXPECT_EQ(session_->waitForExit(), 0) << "the X11 run did not end on Ctrl+F3";
        return frame;
    }
    // The pointer to its place beside the compositor's output.
    void park() {
        session_->moveTo(FarCorner);
        session_->moveTo(Parked);
    }
    // Keeps a screenshot that a failure message refers to, in the temporary folder.
    std::string kept(const QImage& shot, const char* name) const {
        return e2e::kept(
            shot, QStringLiteral("wayland-%1-%2")
                      .arg(QString::fromLatin1(nameOf(GetParam())).toLower(), QLatin1String(name)));
    }
    static QPoint middleOfTheBoard() { return inwindow::Field.topLeft() + cellCentre(4, 4); }

    QPoint onField(int row, int col) const { return e2e::cellOnScreen(window_, row, col); }
    QColor plateAt(const QImage& shot, int row, int col, QPoint offset = QPoint(-12, 0)) const {
        return e2e::plateOnScreen(shot, window_, row, col, offset);
    }
    bool showsAboveThePlate(const QImage& shot, const QImage& before, int row, int col) const {
        return e2e::showsAboveThePlate(shot, window_, before, row, col);
    }
    // The window's place on the screen, by its active caption; none while it is inactive.
    std::optional<QPoint> captionPlace(const QImage& shot) const {
        return e2e::find(shot, reference_.copy(CaptionBlock));
    }
    QImage screenshotWhen(const std::function<bool(const QImage&)>& shows, int timeoutMs = 10000) {
        return session_->screenshotShowing(shows, timeoutMs);
    }

    std::unique_ptr<e2e::XSession> session_;
    std::unique_ptr<NestedCompositor> compositor_;
    QImage reference_;
    QPoint window_;
};

TEST_P(Wayland, TheGamePlaysAsOnX11) {
    reference_ = firstFrameOnX11();
    ASSERT_EQ(reference_.size(), WindowSize) << "no first frame on X11 to compare with";

    QString why;
    ASSERT_TRUE(compositor_->start(*session_, &why)) << why.toStdString();
    park();
    const QString errors = compositor_->runtimePath() + QStringLiteral("/program.log");
    ASSERT_TRUE(session_->startProgram(compositor_->clientEnvironment(), errors));

    // The first frame, wherever the compositor placed the window: pixel for pixel the X11 one.
    std::optional<QPoint> place;
    QImage shot = screenshotWhen(
        [&](const QImage& s) {
            place = e2e::find(s, reference_);
            return place.has_value();
        },
        20000);
    if (!place) {
        const std::optional<QPoint> caption = captionPlace(shot);
        ASSERT_TRUE(caption.has_value())
            << "no window with the program's caption within 20 s; the compositor's messages: "
            << compositor_->messages().toStdString()
            << "; the program's: " << e2e::tailOfLog(errors).toStdString() << kept(shot, "start");
        FAIL() << "the first frame on Wayland at " << caption->x() << "," << caption->y()
               << " is not the one on X11: "
               << differences(shot.copy(QRect(*caption, WindowSize)), reference_).toStdString()
               << kept(shot, "first-frame");
    }
    window_ = *place;

    // The compositor knows the window by the menu entry's name.
    const QStringList appIds =
        compositor_->received(QStringLiteral("xdg_toplevel"), QStringLiteral("set_app_id"));
    EXPECT_TRUE(!appIds.isEmpty() &&
                appIds.count(QStringLiteral("(\"org.morvane.Tarnell\")")) == appIds.size())
        << "the compositor was given "
        << (appIds.isEmpty() ? QStringLiteral("no app_id") : appIds.join(QStringLiteral(", ")))
               .toStdString()
        << " for the window, not the menu entry's name org.morvane.Tarnell";

    // A click opens a plate or finds a fox: a flag or the fox stands above it.
    session_->click(onField(4, 4));
    park();
    const QImage firstFrame = shot.copy(QRect(window_, WindowSize));
    shot = screenshotWhen([&](const QImage& s) { return showsAboveThePlate(s, firstFrame, 4, 4); });
    EXPECT_TRUE(showsAboveThePlate(shot, firstFrame, 4, 4))
        << "nothing stands above the clicked plate; it shows "
        << name(plateAt(shot, 4, 4)).toStdString() << kept(shot, "click");

    // A caption drag: the compositor moves the window by the pointer's way.
    const QPoint way(window_.x() > 300 ? -150 : 150, window_.y() > 200 ? -100 : 100);
    const QPoint grip = window_ + Grip;
    session_->press(grip);
    for (int step = 1; step <= 10; ++step)
        session_->moveTo(grip + way * step / 10);
    session_->release(grip + way);
    shot = screenshotWhen([&](const QImage& s) { return captionPlace(s) == window_ + way; });
    const std::optional<QPoint> moved = captionPlace(shot);
    ASSERT_TRUE(moved.has_value())
        << "the window's caption is gone after the drag" << kept(shot, "drag");
    ASSERT_EQ(*moved, window_ + way) << "the window was at " << window_.x() << "," << window_.y()
                                     << " and was dragged by " << way.x() << "," << way.y();
    window_ = *moved;

    // The cyan plate follows the pointer at once, without a click first. (The cells aimed at
    // from here on share no line with the first one, which may have proven them free.)
    session_->moveTo(onField(7, 2) + QPoint(1, 0));
    session_->moveTo(onField(7, 2));
    shot = screenshotWhen([&](const QImage& s) { return isCyan(plateAt(s, 7, 2)); });
    ASSERT_TRUE(isCyan(plateAt(shot, 7, 2)))
        << "after the drag the plate under the pointer shows "
        << name(plateAt(shot, 7, 2)).toStdString() << ", not the cyan of the current cell"
        << kept(shot, "hover");

    // The high-score dialog takes the keyboard (the main caption goes inactive) and Return
    // presses its OK button; the main window is active again. The pointer then leaves the
    // Score button, which parks the keyboard on the board, and the keys play there.
    session_->click(window_ + testsupport::middle(inwindow::HighScore));
    shot = screenshotWhen([&](const QImage& s) { return !captionPlace(s).has_value(); });
    ASSERT_FALSE(captionPlace(shot).has_value())
        << "no dialog took the keyboard after Score" << kept(shot, "dialog");
    session_->key(QStringLiteral("Return"));
    shot = screenshotWhen([&](const QImage& s) { return captionPlace(s) == window_; });
    ASSERT_EQ(captionPlace(shot), std::optional<QPoint>(window_))
        << "the main window is not active again after Return in the dialog"
        << kept(shot, "dialog-closed");
    session_->moveTo(onField(7, 2));
    shot = screenshotWhen([&](const QImage& s) { return isCyan(plateAt(s, 7, 2)); });
    session_->key(QStringLiteral("Right"));
    shot = screenshotWhen([&](const QImage& s) { return !isCyan(plateAt(s, 7, 2)); });
    int row = 0, col = 0;
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 8; ++c)
            if (isCyan(plateAt(shot, r, c, QPoint())))
                row = r, col = c;
    ASSERT_NE(row, 0) << "no current cell on the board after the Right key" << kept(shot, "keys");
    ASSERT_FALSE(row == 7 && col == 2)
        << "the Right key did not move the current cell" << kept(shot, "keys");
    const QImage beforeSpace = shot.copy(QRect(window_, WindowSize));
    session_->key(QStringLiteral("space"));
    shot = screenshotWhen(
        [&](const QImage& s) { return showsAboveThePlate(s, beforeSpace, row, col); });
    EXPECT_TRUE(showsAboveThePlate(shot, beforeSpace, row, col))
        << "Space did not open the current cell " << row << "," << col << kept(shot, "keys");

    session_->key(QStringLiteral("ctrl+F3"));
    EXPECT_EQ(session_->waitForExit(), 0)
        << "the program did not end well on Ctrl+F3: " << e2e::tailOfLog(errors).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Compositors, Wayland,
                         ::testing::Values(Compositor::Weston, Compositor::Mutter),
                         [](const ::testing::TestParamInfo<Compositor>& info) {
                             return std::string(nameOf(info.param));
                         });

} // namespace

} // namespace tarnell
