#include "Screen.h"

#include <QGuiApplication>
#include <QPoint>
#include <QScreen>

namespace platform {

QSize usableScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(1024, 768);
    return screen->availableGeometry().size();
}

QPoint centredPosition(QSize windowSize) {
    const QSize screen = usableScreenSize();
    // Integer division truncates toward zero, as the window placement rule asks.
    return QPoint((screen.width() - windowSize.width()) / 2,
                  (screen.height() - windowSize.height()) / 2);
}

int frameAndCaptionHeight() { return 4 + 19; }

} // namespace platform
