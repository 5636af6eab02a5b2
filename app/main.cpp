// The program's entry point: creates the main window and runs the message loop.
#include "platform/Fonts.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationName(QStringLiteral("Tarnell"));
    platform::installFontSubstitutions();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tarnell"));
    window.resize(488, 376);
    window.show();
    return app.exec();
}
