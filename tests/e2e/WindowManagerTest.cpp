// The real program under a window manager (openbox on the private X server): a drag of the
// caption band hands the move to the window manager, which moves the window by the pointer's
// way; afterwards the cyan plate follows the pointer without a click first, a click opens a
// cell, and Ctrl+F3 ends the program.
#include "ScreenSearch.h"
#include "XSession.h"
#include "tests/support/PlateColours.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace tarnell {

namespace {

const QSize Screen(1024, 768);
const QSize WindowSize(488, 376);
// The caption band's active look, from the icon to the end of the title.
const QRect CaptionBlock(0, 0, 150, 30);
// Where the drag starts: in the caption band, clear of the caption buttons and of that block.
const QPoint Grip(350, 12);
// Away from the window, where the pointer hides nothing the test looks at.
const QPoint Parked(8, 8);
// What Qt's X11 platform writes (with qt.qpa.input.devices logging on) when it hands a move
// to the window manager; a move the program makes by hand writes nothing.
const QByteArray HandedOver("triggered system move or resize via sending _NET_WM_MOVERESIZE");

QString name(QRgb c) {
    return QColor(c).name();
}
QString place(QPoint p) {
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}
// Where a window was moved to, within a pixel or two. Openbox moves the undecorated window by
// exactly the pointer's way (it adds no frame and no offset); the allowance is for a window
// manager that rounds or snaps a move by a pixel.
bool near(QPoint seen, QPoint wanted) {
    return qAbs(seen.x() - wanted.x()) <= 2 && qAbs(seen.y() - wanted.y()) <= 2;
}

// Openbox on the session's server, with the session's scratch HOME (so no one's own
// configuration), its standard error in a log of its own.
class Openbox {
public:
    explicit Openbox(e2e::XSession& session) : session_(session) {}
    ~Openbox() { stop(); }

    // Up once it has announced itself on the root window (its desktops come after the list
    // of the requests it supports, which the program reads when it starts).
    bool start(QString* why) {
        process_ = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), session_.display());
        env.insert(QStringLiteral("HOME"), session_.home());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), session_.home() + QStringLiteral("/.config"));
        process_->setProcessEnvironment(env);
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->setStandardOutputFile(log());
        process_->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (!process_->waitForStarted(5000)) {
            *why = QStringLiteral("openbox did not start: ") + process_->errorString();
            return false;
        }
        QElapsedTimer clock;
        clock.start();
        while (!clock.hasExpired(10000)) {
            if (process_->state() == QProcess::NotRunning) {
                *why = QStringLiteral("openbox ended at start; its log: ") + tail();
                return false;
            }
            if (session_.run(QStringLiteral("xdotool"), {QStringLiteral("get_num_desktops")})
                    .toInt() > 0)
                return true;
            e2e::pause(100);
        }
        *why = QStringLiteral("openbox did not manage the screen within 10 s; its log: ") + tail();
        return false;
    }

    void stop() {
        if (process_)
            e2e::endProcess(*process_, 5000);
    }

    QString log() const { return session_.home() + QStringLiteral("/openbox.log"); }
    QString tail() const { return e2e::tailOfLog(log()); }

private:
    e2e::XSession& session_;
    std::unique_ptr<QProcess> process_;
};

class WindowManager : public ::testing::Test {
protected:
    void SetUp() override {
        QString missing;
        if (!e2e::XSession::toolsAvailable(&missing))
            GTEST_SKIP() << missing.toStdString() << " is not installed";
        if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
            GTEST_SKIP() << "openbox is not installed (scripts/install-deps.sh test installs it)";
        session_ = std::make_unique<e2e::XSession>();
        ASSERT_TRUE(session_->startServer(Screen)) << "no private X server";
        openbox_ = std::make_unique<Openbox>(*session_);
        QString why;
        ASSERT_TRUE(openbox_->start(&why)) << why.toStdString();
    }
    void TearDown() override {
        // The program first (the session kills it if Ctrl+F3 did not end it), then the window
        // manager, then the server.
        if (session_ && session_->programRunning()) {
            session_->key(QStringLiteral("ctrl+F3"));
            session_->waitForExit(3000);
        }
        openbox_.reset();
        session_.reset();
    }

    QString programLog() const { return session_->home() + QStringLiteral("/program.log"); }
    QByteArray programLogText() const {
        QFile file(programLog());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool moveHandedOver() const { return programLogText().contains(HandedOver); }
    QString programLogTail() const { return QString::fromLocal8Bit(programLogText().right(600)); }
    QPoint windowPlace() { return session_->windowGeometry(windowId_).topLeft(); }
    // Polls the window's place until it is near wanted; the last place seen.
    QPoint windowPlaceNear(QPoint wanted, int timeoutMs = 5000) {
        QElapsedTimer clock;
        clock.start();
        QPoint seen = windowPlace();
        while (!near(seen, wanted) && !clock.hasExpired(timeoutMs)) {
            e2e::pause(50);
            seen = windowPlace();
        }
        return seen;
    }
    QImage screenshotWhen(const std::function<bool(const QImage&)>& shows, int timeoutMs = 8000) {
        return session_->screenshotShowing(shows, timeoutMs);
    }
    std::optional<QPoint> captionPlace(const QImage& shot) const {
        return e2e::find(shot, caption_);
    }

    std::unique_ptr<e2e::XSession> session_;
    std::unique_ptr<Openbox> openbox_;
    QString windowId_;
    QImage caption_;
};

TEST_F(WindowManager, TheWindowManagerMovesTheWindowAndTheBoardPlaysOnAfterTheDrag) {
    session_->moveTo(Parked);
    ASSERT_TRUE(session_->startProgram(
        {QStringLiteral("QT_LOGGING_RULES=qt.qpa.input.devices.debug=true")}, programLog()));
    windowId_ = session_->waitForWindow(QStringLiteral("Tarnell"));
    ASSERT_FALSE(windowId_.isEmpty()) << "no window named Tarnell within 15 s";
    ASSERT_EQ(session_->windowGeometry(windowId_).size(), WindowSize);

    // The first frame, once two screenshots in a row agree on the window (the window manager
    // may still place it, and the caption turns active when it takes the keyboard).
    QPoint window;
    QImage frame;
    QImage shot = screenshotWhen(
        [&](const QImage& s) {
            const QPoint now = windowPlace();
            const QImage pixels = s.copy(QRect(now, WindowSize));
            const bool settled = now == window && pixels == frame &&
                                 testsupport::isPlainPlate(e2e::plateOnScreen(s, now, 4, 4));
            window = now;
            frame = pixels;
            return settled;
        },
        15000);
    ASSERT_TRUE(testsupport::isPlainPlate(e2e::plateOnScreen(shot, window, 4, 4)))
        << "no board in the window at " << place(window).toStdString() << "; cell 4,4 shows "
        << name(e2e::plateOnScreen(shot, window, 4, 4)).toStdString()
        << e2e::kept(shot, QStringLiteral("wm-first-frame"));
    caption_ = frame.copy(CaptionBlock);

    // The drag. The pointer stays at the press until the program has handed the move over
    // (else the move would start from wherever the pointer was by then), and the release
    // waits until the window is where the pointer's way takes it.
    // Toward the middle of the screen: away from its edges, which openbox lets a window stick to.
    const QPoint way(window.x() > 300 ? -150 : 150, window.y() > 200 ? -100 : 100);
    const QPoint grip = window + Grip;
    session_->press(grip);
    QElapsedTimer clock;
    clock.start();
    while (!moveHandedOver() && !clock.hasExpired(5000))
        e2e::pause(50);
    if (!moveHandedOver()) {
        const QImage seen = session_->screenshot();
        session_->release(grip);
        FAIL() << "the program did not hand the caption drag to the window manager within 5 s "
                  "(its log has no \""
               << HandedOver.toStdString() << "\"; it ends: " << programLogTail().toStdString()
               << "); the window is at " << place(windowPlace()).toStdString() << ", was at "
               << place(window).toStdString() << e2e::kept(seen, QStringLiteral("wm-handover"));
    }
    for (int step = 1; step <= 10; ++step)
        session_->moveTo(grip + way * step / 10);
    QPoint moved = windowPlaceNear(window + way, 2000);
    // A motion that reached the program before the window manager took the pointer moved
    // nothing: one more motion to the same end.
    if (!near(moved, window + way)) {
        session_->moveTo(grip + way + QPoint(1, 0));
        session_->moveTo(grip + way);
        moved = windowPlaceNear(window + way);
    }
    session_->release(grip + way);
    moved = windowPlaceNear(window + way, 1000);
    ASSERT_TRUE(near(moved, window + way))
        << "the window was at " << place(window).toStdString() << " and was dragged by "
        << place(way).toStdString() << " but is at " << place(moved).toStdString()
        << e2e::kept(session_->screenshot(), QStringLiteral("wm-drag"));
    shot = screenshotWhen([&](const QImage& s) { return captionPlace(s) == moved; });
    ASSERT_EQ(captionPlace(shot), std::optional<QPoint>(moved))
        << "the window's active caption is not drawn at its new place "
        << place(moved).toStdString() << e2e::kept(shot, QStringLiteral("wm-drag"));
    window = moved;

    // The cyan plate follows the pointer at once, without a click first.
    session_->moveTo(e2e::cellOnScreen(window, 7, 2) + QPoint(1, 0));
    session_->moveTo(e2e::cellOnScreen(window, 7, 2));
    shot = screenshotWhen([&](const QImage& s) {
        return testsupport::isCurrentPlate(e2e::plateOnScreen(s, window, 7, 2));
    });
    ASSERT_TRUE(testsupport::isCurrentPlate(e2e::plateOnScreen(shot, window, 7, 2)))
        << "after the drag the plate under the pointer shows "
        << name(e2e::plateOnScreen(shot, window, 7, 2)).toStdString()
        << ", not the cyan of the current cell" << e2e::kept(shot, QStringLiteral("wm-hover"));

    // A click opens the cell: a flag or the fox stands above its plate.
    const QImage beforeClick = shot.copy(QRect(window, WindowSize));
    session_->click(e2e::cellOnScreen(window, 7, 2));
    session_->moveTo(Parked);
    shot = screenshotWhen(
        [&](const QImage& s) { return e2e::showsAboveThePlate(s, window, beforeClick, 7, 2); });
    EXPECT_TRUE(e2e::showsAboveThePlate(shot, window, beforeClick, 7, 2))
        << "nothing stands above the clicked plate 7,2; it shows "
        << name(e2e::plateOnScreen(shot, window, 7, 2)).toStdString()
        << e2e::kept(shot, QStringLiteral("wm-click"));

    session_->key(QStringLiteral("ctrl+F3"));
    EXPECT_EQ(session_->waitForExit(), 0) << "the program did not end on Ctrl+F3 with status 0";
}

} // namespace

} // namespace tarnell
