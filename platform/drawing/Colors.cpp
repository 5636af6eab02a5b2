#include "Colors.h"

namespace tarnell::platform {

namespace {
// Fixed classic values, so the program looks the same whatever the desktop theme is.
QColor systemColor(unsigned index) {
    switch (index) {
    case 0:
        return QColor(200, 200, 200);
    case 1:
        return QColor(0, 128, 128);
    case 2:
        return QColor(0, 0, 128);
    case 5:
        return QColor(255, 255, 255);
    case 8:
        return QColor(0, 0, 0);
    case 13:
        return QColor(0, 0, 128);
    case 14:
        return QColor(255, 255, 255);
    case 15:
        return QColor(192, 192, 192);
    case 16:
        return QColor(128, 128, 128);
    case 17:
        return QColor(128, 128, 128);
    case 18:
        return QColor(0, 0, 0);
    case 20:
        return QColor(255, 255, 255);
    case 21:
        return QColor(64, 64, 64);
    case 22:
        return QColor(223, 223, 223);
    default:
        return QColor(192, 192, 192);
    }
}
} // namespace

QColor toQColor(TColor c) {
    if (isSystemColor(c))
        return systemColor(c & 0xFFu);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

TColor fromQColor(const QColor& c) {
    return rgb(c.red(), c.green(), c.blue());
}

} // namespace tarnell::platform
