// The program's entry point: creates the main window and runs the message loop until it closes.
#include "mainwindow/mainform.h"
#include "platform/Resources.h"
#include "platform/Sound.h"
#include "platform/drawing/Fonts.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QTimer>

namespace tarnell {

namespace {

// The menu entry's file name without ".desktop", as installed by packaging/.
constexpr char DesktopEntryName[] = "org.morvane.Tarnell";

// Runs an action once the window's first paint has been sent to the screen: what the first
// frame does not need waits until then.
class AfterFirstFrame : public QObject {
public:
    AfterFirstFrame(QWidget& window, std::function<void()> action)
        : window_(window), action_(std::move(action)) {
        window_.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint) {
            window_.removeEventFilter(this);
            // The paint is flushed to the screen before the event loop runs the next timer.
            QTimer::singleShot(0, this, action_);
        }
        return false;
    }

private:
    QWidget& window_;
    std::function<void()> action_;
};

} // namespace

} // namespace tarnell

using namespace tarnell;

int main(int argc, char** argv) {
    // On X11 the window's pixels go to the server in the request itself rather than through
    // a shared memory segment: for a window this small that is cheaper, and it spares the
    // round trip to the server that a shared segment costs before every repaint of an area
    // shown just before (the clock's cells, ten times a second) and the segment's set-up at
    // start. The pixels are the same either way. A choice made in the environment stands.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    // Docks and task bars find the window's menu entry, icon and name by the entry's file
    // name: on Wayland through the app_id, which Qt takes from the desktop file name, and on
    // X11 through the instance half of WM_CLASS, which Qt takes from RESOURCE_NAME (the class
    // half stays the application name, which also names the settings).
    if (!qEnvironmentVariableIsSet("RESOURCE_NAME"))
        qputenv("RESOURCE_NAME", DesktopEntryName);
    // Before Qt reads the font set: the process's own holds only the faces its windows draw
    // with, so the first frame does not wait for Qt to read a desktop's thousands.
    platform::useOnlyProgramFaces();
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DesktopEntryName));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationName(QStringLiteral("Tarnell"));
    platform::resolveProgramFaces();
    const QImage icon = platform::loadIcon(QStringLiteral("MAINICON"));
    if (!icon.isNull())
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));

    Tmainform_form window;
    // The sound output and the CLICK sound are made ready on the player's thread after the
    // first frame, in time for the first click; the desktop's own font, which message boxes
    // and text boxes need, is found then too.
    const AfterFirstFrame prepareSound(window, [&window] {
        platform::prepareSound(window.clickSound());
        platform::resolveDesktopFont();
    });
    window.show();
    // The keyboard reaches the board at once, also where no window manager hands it over.
    window.activateWindow();
    return app.exec();
}
