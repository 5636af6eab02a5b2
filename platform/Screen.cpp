#include "Screen.h"

#include <QGuiApplication>
#include <QPoint>
#include <QScreen>

namespace tarnell::platform {

namespace {

QRect usableScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(0, 0, 1024, 768);
    return screen->availableGeometry();
}

} // namespace

QSize usableScreenSize() {
    return usableScreenArea().size();
}

QPoint centredPosition(QSize windowSize) {
    return centredIn(usableScreenArea(), windowSize);
}

QPoint centredIn(const QRect& area, QSize windowSize) {
    // Integer division truncates toward zero, as the window placement rule asks.
    return area.topLeft() + QPoint((area.width() - windowSize.width()) / 2,
                                   (area.height() - windowSize.height()) / 2);
}

int frameAndCaptionHeight() {
    return 4 + 19;
}

} // namespace tarnell::platform
