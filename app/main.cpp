// The program's entry point: creates the main window and runs the message loop until it closes.
#include "mainwindow/mainform.h"
#include "platform/Resources.h"
#include "platform/drawing/Fonts.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationName(QStringLiteral("Tarnell"));
    platform::installFontSubstitutions();
    const QImage icon = platform::loadIcon(QStringLiteral("MAINICON"));
    if (!icon.isNull())
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));

    Tmainform_form window;
    window.show();
    // The keyboard reaches the board at once, also where no window manager hands it over.
    window.activateWindow();
    return app.exec();
}
