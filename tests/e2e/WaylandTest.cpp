// The real program on Wayland: a Weston compositor nested in a private X server (its X11
// backend, driven with xdotool), the program on Qt's Wayland platform. Its first frame is the
// one it shows on X11 (read through the compositor's window on the X server, since Weston
// keeps its own screenshots to itself), a click opens a plate, a caption drag moves the
// window and the cyan plate follows the pointer after it, a dialog opens and closes with the
// keys going back to the board, and Ctrl+F3 ends the program.
#include "ScreenSearch.h"
#include "XSession.h"
#include "tests/support/FieldGeometry.h"
#include "tests/support/PlateColours.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace tarnell {

namespace {

// Weston's output window covers the top-left of a larger X screen: beside it the pointer is
// away from the compositor, and coming back it enters the output window with its place. (The
// X11 backend moves Weston's pointer by the differences between motions, so a motion missed
// before the compositor listened would otherwise leave the two pointers apart for good.)
const QSize Output(1024, 768);
const QSize Screen(Output.width() + 64, Output.height() + 64);
const QSize WindowSize(488, 376);
using testsupport::cellCentre;
namespace inwindow = testsupport::inwindow;
// The pointer waits beside the compositor's output, where Weston draws no pointer.
const QPoint Parked(Output.width() + 32, Output.height() + 32);
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

// Keeps a screenshot that a failure message refers to, in the temporary folder.
std::string kept(const QImage& shot, const char* name) {
    return e2e::kept(shot, QStringLiteral("wayland-%1").arg(QLatin1String(name)));
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

// A Weston of the test's own, nested in the session's X server, with a private runtime
// directory (Qt's Wayland platform and Weston both want one, mode 0700).
class NestedWeston {
public:
    NestedWeston() : runtime_(QDir::tempPath() + QStringLiteral("/tarnell-e2e-wayland-XXXXXX")) {}
    ~NestedWeston() { stop(); }

    static bool available(QString* missing) {
        if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty()) {
            *missing = QStringLiteral("weston");
            return false;
        }
        return true;
    }

    bool start(e2e::XSession& session, QString* why) {
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        socket_ = QStringLiteral("tarnell-e2e-%1").arg(session.display().mid(1));
        // A black desktop without a panel or animations, which never locks.
        QFile config(runtime_.filePath(QStringLiteral("weston.ini")));
        if (!config.open(QIODevice::WriteOnly)) {
            *why = QStringLiteral("cannot write %1").arg(config.fileName());
            return false;
        }
        config.write("[core]\nidle-time=0\n"
                     "[shell]\npanel-position=none\nbackground-color=0xff000000\nlocking=false\n"
                     "animation=none\nstartup-animation=none\nclose-animation=none\n"
                     "focus-animation=none\n");
        config.close();
        process_ = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), session.display());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_SOCKET"));
        process_->setProcessEnvironment(env);
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->setStandardOutputFile(log());
        process_->start(QStringLiteral("weston"),
                        {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                         QStringLiteral("--socket=") + socket_,
                         QStringLiteral("--width=%1").arg(Output.width()),
                         QStringLiteral("--height=%1").arg(Output.height()),
                         QStringLiteral("--config=") + config.fileName()});
        if (!process_->waitForStarted(5000)) {
            *why = QStringLiteral("weston did not start: ") + process_->errorString();
            return false;
        }
        // Up when its socket exists and its output window is on the X server.
        QElapsedTimer clock;
        clock.start();
        while (!clock.hasExpired(20000)) {
            if (process_->state() == QProcess::NotRunning) {
                *why = QStringLiteral("weston ended at start (exit %1); its log: %2")
                           .arg(process_->exitCode())
                           .arg(tail());
                return false;
            }
            if (QFile::exists(runtime_.filePath(socket_)) &&
                !session
                     .run(QStringLiteral("xdotool"),
                          {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--class"), QStringLiteral("^Weston Compositor$")})
                     .isEmpty())
                return true;
            e2e::pause(100);
        }
        *why = QStringLiteral("weston's socket %1 (%2) or its window on %3 (%4) did not appear "
                              "within 20 s; its log: %5")
                   .arg(runtime_.filePath(socket_),
                        QFile::exists(runtime_.filePath(socket_)) ? QStringLiteral("there")
                                                                  : QStringLiteral("missing"),
                        session.display(),
                        session.run(QStringLiteral("xdotool"),
                                    {QStringLiteral("search"), QStringLiteral("--class"),
                                     QStringLiteral("Weston")}),
                        tail());
        return false;
    }

    void stop() {
        if (process_)
            e2e::endProcess(*process_, 5000);
    }

    // What a Wayland client of this compositor needs in its environment.
    QStringList clientEnvironment() const {
        return {QStringLiteral("QT_QPA_PLATFORM=wayland"),
                QStringLiteral("WAYLAND_DISPLAY=") + socket_,
                QStringLiteral("XDG_RUNTIME_DIR=") + runtime_.path()};
    }
    QString runtimePath() const { return runtime_.path(); }
    QString log() const { return runtime_.filePath(QStringLiteral("weston.log")); }
    QString tail() const { return e2e::tailOfLog(log()); }

private:
    QTemporaryDir runtime_;
    QString socket_;
    std::unique_ptr<QProcess> process_;
};

class Wayland : public ::testing::Test {
protected:
    void SetUp() override {
        QString missing;
        if (!e2e::XSession::toolsAvailable(&missing) || !NestedWeston::available(&missing))
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
        weston_.reset();
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
    std::unique_ptr<NestedWeston> weston_;
    QImage reference_;
    QPoint window_;
};

TEST_F(Wayland, TheGamePlaysOnWestonAsOnX11) {
    reference_ = firstFrameOnX11();
    ASSERT_EQ(reference_.size(), WindowSize) << "no first frame on X11 to compare with";

    weston_ = std::make_unique<NestedWeston>();
    QString why;
    ASSERT_TRUE(weston_->start(*session_, &why)) << why.toStdString();
    const QString trace = weston_->runtimePath() + QStringLiteral("/program.log");
    // WAYLAND_DEBUG traces the program's requests: it shows the app_id the window names.
    ASSERT_TRUE(session_->startProgram(
        weston_->clientEnvironment() + QStringList{QStringLiteral("WAYLAND_DEBUG=client")}, trace));

    // The first frame, wherever Weston placed the window: pixel for pixel the X11 one.
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
            << "no window with the program's caption on Weston within 20 s; weston's log: "
            << weston_->tail().toStdString();
        FAIL() << "the first frame on Wayland at " << caption->x() << "," << caption->y()
               << " is not the one on X11: "
               << differences(shot.copy(QRect(*caption, WindowSize)), reference_).toStdString();
    }
    window_ = *place;

    QFile log(trace);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << trace.toStdString();
    EXPECT_TRUE(log.readAll().contains("set_app_id(\"org.morvane.Tarnell\")"))
        << "the window's app_id is not the menu entry's name org.morvane.Tarnell";

    // A click opens a plate or finds a fox: a flag or the fox stands above it.
    session_->click(onField(4, 4));
    session_->moveTo(Parked);
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
    EXPECT_EQ(session_->waitForExit(), 0) << "the program did not end on Ctrl+F3";
}

} // namespace

} // namespace tarnell
