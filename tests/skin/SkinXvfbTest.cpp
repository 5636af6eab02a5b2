// The skinned window on a real X server: this program starts Xvfb, runs itself again as the
// window's process there, and drives it with xdotool (activation, drag, minimise, close),
// checking screenshots of the active and inactive caption. Skips without Xvfb or xdotool.
#include "SkinTestImages.h"
#include "skin/SkinnedForm.h"

#include "platform/Resources.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

using skintest::regionMatches;

namespace {

const char* const ChildVariable = "TARNELL_SKIN_XVFB_CHILD";

const TSkinLayout MainLayout{QSize(488, 376), QStringLiteral("Tarnell"), QSize(40, 314),
                             QSize(40, 315), false};
const TSkinLayout DialogLayout{QSize(357, 271), QStringLiteral("Donation"), QSize(40, 210),
                               QSize(40, 210), true};
constexpr QPoint MainPos{40, 60};
constexpr QPoint DialogPos{600, 120};

void report(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Reports what happens to a window on the child's standard output, one line per event.
class EventReporter : public QObject {
public:
    EventReporter(QWidget* window, QString name) : name_(std::move(name)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* window = static_cast<QWidget*>(object);
        switch (event->type()) {
        case QEvent::ActivationChange:
            report(QStringLiteral("ACTIVE %1 %2").arg(name_).arg(window->isActiveWindow()));
            break;
        case QEvent::WindowStateChange:
            report(QStringLiteral("STATE %1 %2")
                       .arg(name_)
                       .arg(window->isMinimized() ? "minimised" : "normal"));
            break;
        case QEvent::Close:
            report(QStringLiteral("CLOSED %1").arg(name_));
            break;
        default:
            break;
        }
        return false;
    }

private:
    QString name_;
};

// The window's process: a main-sized window and a stay-on-top dialog, until the main window
// closes (or 25 seconds pass). It exists only in the process the test below starts.
void showTheWindows() {
    std::unique_ptr<skintest::ScopedSkin> skin;
    if (!skintest::embeddedSkinPresent())
        skin = std::make_unique<skintest::ScopedSkin>(skintest::Source::Synthetic);
    TSkinnedForm main(MainLayout);
    TSkinnedForm dialog(DialogLayout);
    EventReporter mainReporter(&main, QStringLiteral("main"));
    EventReporter dialogReporter(&dialog, QStringLiteral("dialog"));
    main.move(MainPos);
    dialog.move(DialogPos);
    main.show();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    report(QStringLiteral("READY %1 %2").arg(main.winId()).arg(dialog.winId()));
    QElapsedTimer timer;
    timer.start();
    while (main.isVisible() && timer.elapsed() < 25000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    report(QStringLiteral("DONE %1").arg(main.isVisible() ? "timeout" : "closed"));
    EXPECT_FALSE(main.isVisible());
}
[[maybe_unused]] const bool windowProcess = testsupport::registerChildTest(
    "SkinXvfbChild", "ShowsTheWindows", ChildVariable, &showTheWindows);

class SkinXvfbTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "import"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        ASSERT_TRUE(startServer());
    }

    void TearDown() override {
        for (QProcess* process : {&child_, &server_})
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(3000)) {
                    process->kill();
                    process->waitForFinished(3000);
                }
            }
    }

    // Xvfb picks a free display itself and writes its number to standard output once it
    // accepts connections, so parallel test runs never share a server.
    bool startServer() {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1024x768x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server_.waitForStarted(5000))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (!server_.canReadLine()) {
            if (timer.elapsed() > 10000 || server_.state() == QProcess::NotRunning)
                return false;
            server_.waitForReadyRead(100);
        }
        const QString number = QString::fromLatin1(server_.readLine()).trimmed();
        display_ = QStringLiteral(":") + number;
        return !number.isEmpty();
    }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        return env;
    }

    void startChild() {
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QLatin1String(ChildVariable), QStringLiteral("1"));
        child_.setProcessEnvironment(env);
        child_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child_.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=SkinXvfbChild.*")});
    }

    // Waits for a line of the child's output that starts with prefix; returns the line, or an
    // empty text when the child ends or the time runs out first.
    QString waitForLine(const QString& prefix, int timeoutMs = 8000) {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            while (child_.canReadLine()) {
                const QString line = QString::fromUtf8(child_.readLine()).trimmed();
                lines_ << line;
                if (line.startsWith(prefix))
                    return line;
            }
            if (timer.elapsed() >= timeoutMs || child_.state() == QProcess::NotRunning)
                return QString();
            child_.waitForReadyRead(100);
        }
    }

    bool tool(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }
    bool xdotool(const QString& arguments) {
        return tool(QStringLiteral("xdotool"), arguments.split(QLatin1Char(' ')));
    }

    QImage screenshot(const QString& name) {
        const QString path = QDir::current().filePath(name);
        if (!tool(QStringLiteral("import"),
                  {QStringLiteral("-window"), QStringLiteral("root"), path}))
            return QImage();
        const QString keep = qEnvironmentVariable("TARNELL_SCREENSHOT_DIR");
        if (!keep.isEmpty()) {
            QFile::remove(QDir(keep).filePath(name));
            QFile::copy(path, QDir(keep).filePath(name));
        }
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    }

    // Takes screenshots until the area shows the image from `from`, so that a repaint still
    // on its way does not fail the check.
    ::testing::AssertionResult screenShows(const QString& name, const QRect& area,
                                           const QImage& image, QPoint from) {
        ::testing::AssertionResult result = ::testing::AssertionFailure() << "no screenshot";
        for (int attempt = 0; attempt < 20; ++attempt) {
            const QImage shot = screenshot(name);
            if (!shot.isNull()) {
                result = regionMatches(shot, area, image, from);
                if (result)
                    return result;
            }
            QTest::qSleep(100);
        }
        return result;
    }
    ::testing::AssertionResult captionShows(const QString& name, QPoint windowPos,
                                            const QImage& piece) {
        return screenShows(name, QRect(windowPos + QPoint(46, 0), QSize(13, 31)), piece,
                           QPoint(0, 0));
    }

    QString display_;
    QProcess server_;
    QProcess child_;
    QStringList lines_;
};

TEST_F(SkinXvfbTest, ActivationDragMinimiseAndCloseOnARealServer) {
    startChild();
    const QString ready = waitForLine(QStringLiteral("READY"));
    ASSERT_FALSE(ready.isEmpty()) << lines_.join(QLatin1Char('\n')).toStdString();
    const QStringList ids = ready.split(QLatin1Char(' '));
    const QString mainId = ids.value(1), dialogId = ids.value(2);

    std::unique_ptr<skintest::ScopedSkin> skin;
    if (!skintest::embeddedSkinPresent())
        skin = std::make_unique<skintest::ScopedSkin>(skintest::Source::Synthetic);
    const skin::SkinBitmaps bitmaps = skin::SkinBitmaps::load();

    // No window manager here: focus is given with XSetInputFocus.
    ASSERT_TRUE(xdotool(QStringLiteral("windowfocus --sync ") + mainId));
    EXPECT_FALSE(waitForLine(QStringLiteral("ACTIVE main 1")).isEmpty());
    EXPECT_TRUE(captionShows(QStringLiteral("skin-active.png"), MainPos, bitmaps.TOP));
    ASSERT_TRUE(xdotool(QStringLiteral("windowfocus --sync ") + dialogId));
    EXPECT_FALSE(waitForLine(QStringLiteral("ACTIVE main 0")).isEmpty());
    EXPECT_TRUE(captionShows(QStringLiteral("skin-inactive.png"), MainPos, bitmaps.TOP_D));
    EXPECT_TRUE(captionShows(QStringLiteral("skin-inactive.png"), DialogPos, bitmaps.TOP));

    // Drag by the caption text: the window follows the pointer by hand.
    const QPoint grip = MainPos + QPoint(90, 12);
    const QPoint moved = MainPos + QPoint(70, 45);
    ASSERT_TRUE(xdotool(QStringLiteral("mousemove --sync %1 %2").arg(grip.x()).arg(grip.y())));
    ASSERT_TRUE(xdotool(QStringLiteral("mousedown 1")));
    for (int step = 1; step <= 5; ++step)
        ASSERT_TRUE(xdotool(QStringLiteral("mousemove --sync %1 %2")
                                .arg(grip.x() + 14 * step)
                                .arg(grip.y() + 9 * step)));
    ASSERT_TRUE(xdotool(QStringLiteral("mouseup 1")));
    EXPECT_TRUE(captionShows(QStringLiteral("skin-dragged.png"), moved, bitmaps.TOP));

    // A press on close shows the pressed look; a one-pixel move restores it and the
    // release then does nothing.
    const QPoint close = moved + QPoint(460, 10);
    const QRect closePicture(moved + QPoint(453, 3), QSize(14, 22));
    ASSERT_TRUE(xdotool(
        QStringLiteral("mousemove --sync %1 %2 mousedown 1").arg(close.x()).arg(close.y())));
    EXPECT_TRUE(
        screenShows(QStringLiteral("skin-pressed.png"), closePicture, bitmaps.I_CLO, QPoint(0, 0)));
    ASSERT_TRUE(xdotool(
        QStringLiteral("mousemove --sync %1 %2 mouseup 1").arg(close.x() + 1).arg(close.y())));
    EXPECT_TRUE(screenShows(QStringLiteral("skin-released.png"), closePicture, bitmaps.I_CLO,
                            QPoint(2, 1)));
    EXPECT_TRUE(waitForLine(QStringLiteral("CLOSED"), 500).isEmpty());

    // Minimise (no window manager to iconify, but the program asks every window), then close.
    const QPoint minimise = moved + QPoint(448, 10);
    ASSERT_TRUE(xdotool(
        QStringLiteral("mousemove --sync %1 %2 click 1").arg(minimise.x()).arg(minimise.y())));
    EXPECT_FALSE(waitForLine(QStringLiteral("STATE main minimised")).isEmpty());
    ASSERT_TRUE(
        xdotool(QStringLiteral("mousemove --sync %1 %2 click 1").arg(close.x()).arg(close.y())));
    EXPECT_FALSE(waitForLine(QStringLiteral("CLOSED main")).isEmpty());
    EXPECT_EQ(waitForLine(QStringLiteral("DONE")), QStringLiteral("DONE closed"));
    EXPECT_TRUE(child_.waitForFinished(5000));
    EXPECT_TRUE(lines_.contains(QStringLiteral("STATE dialog minimised")))
        << lines_.join(QLatin1Char('\n')).toStdString();
}

} // namespace

} // namespace tarnell
