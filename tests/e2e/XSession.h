// A private X server (Xvfb) with the real program running in it, in a scratch HOME and
// working directory, driven with xdotool and photographed with ImageMagick's import.
#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace tarnell::e2e {

class XSession {
public:
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // False (with a reason) when Xvfb, xdotool or import is not installed.
    static bool toolsAvailable(QString* missing);

    // Starts a server of this session's own that a client gets through to: another test
    // may take the same display number between the choice and the start, and its server
    // goes away when that test ends. Tries further numbers then.
    bool startServer(QSize screen = QSize(1024, 768));
    // Whether the display's lock file names this session's running server.
    bool ownsDisplay() const;
    // Whether a client gets through to the display within 5 s.
    bool answers();
    // Starts the program; HOME and the working directory are this session's scratch folders.
    // Its standard error goes to errorLog where one is given (a protocol trace would drown
    // the test's own output), else to the test's.
    bool startProgram(const QStringList& extraEnvironment = {}, const QString& errorLog = {});
    // Waits until a visible window with this exact title exists; its X id, or empty.
    QString waitForWindow(const QString& title, int timeoutMs = 15000);
    QRect windowGeometry(const QString& windowId);
    bool windowExists(const QString& title);
    // Every visible window with this exact title (a message box may share the main window's).
    QStringList visibleWindows(const QString& title);

    // Pointer and keyboard, in screen coordinates.
    void click(QPoint screenPos, int button = 1);
    void moveTo(QPoint screenPos);
    void press(QPoint screenPos);
    void release(QPoint screenPos);
    void key(const QString& keys); // e.g. "ctrl+F3"
    void type(const QString& text);

    QImage screenshot();
    // Photographs the screen until it shows what the test waits for (the program draws its
    // field at its next tick, and dialogs paint after they map); the first such screenshot,
    // or the last one taken when the time runs out.
    QImage screenshotShowing(const std::function<bool(const QImage&)>& shows, int timeoutMs = 5000);
    // Waits for the program to end; its exit code, or -1 on time-out.
    int waitForExit(int timeoutMs = 10000);
    bool programRunning() const;

    QString home() const { return home_.path(); }
    QString workDir() const { return work_.path(); }
    QString display() const { return display_; }
    // Runs a tool with DISPLAY set; its standard output.
    QString run(const QString& program, const QStringList& args, int timeoutMs = 10000);

private:
    // Starts Xvfb on the first display number without a lock file; its socket exists.
    bool launchServer(QSize screen);
    // Stops this session's server, letting it clean up after itself.
    void stopServer();

    QTemporaryDir home_;
    QTemporaryDir work_;
    QString display_;
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> program_;
};

// Sleeps while processing nothing (the program under test runs in its own process).
void pause(int ms);

// Ends a helper process the test started (a server, a compositor, a window manager): asked
// first, so that it can remove its lock files and sockets, killed if it does not go within
// graceMs.
void endProcess(QProcess& process, int graceMs = 3000);

// The last bytes of a helper's log file for a failure message, or "(none)".
QString tailOfLog(const QString& path);

} // namespace tarnell::e2e
