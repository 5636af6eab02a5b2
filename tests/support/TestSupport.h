// Helpers shared by the tests: the messages that would have been shown in a message
// box, and the scratch folders that stand in for HOME and the working directory.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

namespace tarnell::testsupport {

// Messages recorded since the last clear (title and text joined by ": ").
QStringList& messages();
void clearMessages();
// The scratch HOME and working directory of this test process.
QString scratchHome();
QString scratchWorkDir();
// A pixel as a QColor, without alpha.
inline QColor pixel(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y)).toRgb();
}

} // namespace tarnell::testsupport
