#include "XSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace tarnell::e2e {

void pause(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

XSession::XSession()
    : home_(QDir::tempPath() + QStringLiteral("/tarnell-e2e-home-XXXXXX")),
      work_(QDir::tempPath() + QStringLiteral("/tarnell-e2e-work-XXXXXX")) {}

XSession::~XSession() {
    if (program_ && program_->state() != QProcess::NotRunning) {
        program_->kill();
        program_->waitForFinished(3000);
    }
    if (server_)
        endProcess(*server_);
}

bool XSession::toolsAvailable(QString* missing) {
    for (const char* tool : {"Xvfb", "xdotool", "import"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            if (missing)
                *missing = QString::fromLatin1(tool);
            return false;
        }
    }
    return true;
}

bool XSession::launchServer(QSize screen) {
    // A display number of our own: the first one without a lock file.
    for (int n = 90 + static_cast<int>(QCoreApplication::applicationPid() % 50); n < 400; ++n) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)) ||
            QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            continue;
        display_ = QStringLiteral(":%1").arg(n);
        server_ = std::make_unique<QProcess>();
        server_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_->start(QStringLiteral("Xvfb"),
                       {display_, QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()),
                        QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                        // Without it the server resets whenever its last client leaves (a
                        // tool run before the program), and a program that connects
                        // during the reset is turned away.
                        QStringLiteral("-noreset")});
        if (!server_->waitForStarted(5000))
            return false;
        for (int i = 0; i < 100; ++i) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
                return true;
            if (server_->state() == QProcess::NotRunning)
                break;
            pause(50);
        }
        server_.reset();
    }
    return false;
}

void XSession::stopServer() {
    if (server_)
        endProcess(*server_);
    server_.reset();
}

bool XSession::startServer(QSize screen) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        stopServer();
        if (!launchServer(screen))
            return false;
        // The server writes its lock file before it makes its socket; a client must then
        // get through to it.
        if (ownsDisplay() && answers())
            return true;
    }
    stopServer();
    return false;
}

bool XSession::answers() {
    for (int waited = 0; waited < 5000; waited += 100) {
        if (!run(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")}).isEmpty())
            return true;
        pause(100);
    }
    return false;
}

bool XSession::ownsDisplay() const {
    if (!server_ || server_->state() != QProcess::Running || display_.isEmpty())
        return false;
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(display_.mid(1)));
    if (!lock.open(QIODevice::ReadOnly))
        return false;
    return lock.readAll().trimmed().toLongLong() == server_->processId();
}

bool XSession::startProgram(const QStringList& extraEnvironment, const QString& errorLog) {
    program_ = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("HOME"), home());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const QString& entry : extraEnvironment) {
        const int eq = entry.indexOf(QLatin1Char('='));
        if (eq > 0)
            env.insert(entry.left(eq), entry.mid(eq + 1));
    }
    program_->setProcessEnvironment(env);
    program_->setWorkingDirectory(workDir());
    program_->setProcessChannelMode(QProcess::ForwardedChannels);
    if (!errorLog.isEmpty()) {
        program_->setProcessChannelMode(QProcess::ForwardedOutputChannel);
        program_->setStandardErrorFile(errorLog);
    }
    program_->start(QStringLiteral(TARNELL_EXECUTABLE), {});
    return program_->waitForStarted(5000);
}

QString XSession::run(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString XSession::waitForWindow(const QString& title, int timeoutMs) {
    const QString pattern = QStringLiteral("^%1$").arg(QRegularExpression::escape(title));
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        const QString ids = run(QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), pattern});
        if (!ids.isEmpty())
            return ids.split(QLatin1Char('\n')).first().trimmed();
        pause(100);
    }
    return {};
}

bool XSession::windowExists(const QString& title) {
    const QString pattern = QStringLiteral("^%1$").arg(QRegularExpression::escape(title));
    return !run(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                 QStringLiteral("--name"), pattern})
                .isEmpty();
}

QStringList XSession::visibleWindows(const QString& title) {
    const QString pattern = QStringLiteral("^%1$").arg(QRegularExpression::escape(title));
    const QString ids =
        run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--name"), pattern});
    return ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QRect XSession::windowGeometry(const QString& windowId) {
    // --shell prints WINDOW=, X=, Y=, WIDTH=, HEIGHT=, SCREEN= lines.
    const QString out = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"),
                                                        QStringLiteral("--shell"), windowId});
    int x = 0, y = 0, w = 0, h = 0;
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        const QStringList kv = line.split(QLatin1Char('='));
        if (kv.size() != 2)
            continue;
        if (kv[0] == QLatin1String("X"))
            x = kv[1].toInt();
        else if (kv[0] == QLatin1String("Y"))
            y = kv[1].toInt();
        else if (kv[0] == QLatin1String("WIDTH"))
            w = kv[1].toInt();
        else if (kv[0] == QLatin1String("HEIGHT"))
            h = kv[1].toInt();
    }
    return QRect(x, y, w, h);
}

void XSession::moveTo(QPoint p) {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
}

void XSession::click(QPoint p, int button) {
    moveTo(p);
    pause(60);
    run(QStringLiteral("xdotool"), {QStringLiteral("click"), QString::number(button)});
}

void XSession::press(QPoint p) {
    moveTo(p);
    run(QStringLiteral("xdotool"), {QStringLiteral("mousedown"), QStringLiteral("1")});
}

void XSession::release(QPoint p) {
    moveTo(p);
    run(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QStringLiteral("1")});
}

void XSession::key(const QString& keys) {
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

void XSession::type(const QString& text) {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

QImage XSession::screenshot() {
    // A plain pixel map of 8 bits a channel: the same pixels as a PNG, without the time that
    // compressing costs (most of a second for a screen with a gradient, as mutter's desktop has).
    const QString file = workDir() + QStringLiteral("/../") +
                         QStringLiteral("tarnell-e2e-shot-%1.ppm").arg(display_.mid(1));
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                   QStringLiteral("-depth"), QStringLiteral("8"), file});
    QImage image(file);
    QFile::remove(file);
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage XSession::screenshotShowing(const std::function<bool(const QImage&)>& shows, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    QImage shot = screenshot();
    while (!shows(shot) && !clock.hasExpired(timeoutMs)) {
        pause(100);
        shot = screenshot();
    }
    return shot;
}

int XSession::waitForExit(int timeoutMs) {
    if (!program_)
        return -1;
    if (!program_->waitForFinished(timeoutMs))
        return -1;
    return program_->exitCode();
}

bool XSession::programRunning() const {
    return program_ && program_->state() != QProcess::NotRunning;
}

void endProcess(QProcess& process, int graceMs) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(graceMs)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

QString tailOfLog(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(none)");
    return QString::fromLocal8Bit(file.readAll().right(1500));
}

} // namespace tarnell::e2e
