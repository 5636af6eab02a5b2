// What the end-to-end tests look for in a screenshot of the whole screen: a block of pixels
// wherever it stands (a window by its caption), the board of a main window at a known place,
// and the screenshot a failure message refers to.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>
#include <optional>
#include <string>

namespace tarnell::e2e {

// Where image holds block, searched row by row from the top.
std::optional<QPoint> find(const QImage& image, const QImage& block);

// The middle of cell (row, col) on the screen, for a main window with its top-left corner at
// window: the point that selects the cell.
QPoint cellOnScreen(QPoint window, int row, int col);
// A plate's colour, left of the middle where the pointer resting on the cell leaves it
// uncovered (away from the plate's dark ring), or at another offset from the middle.
QRgb plateOnScreen(const QImage& shot, QPoint window, int row, int col,
                   QPoint offset = QPoint(-12, 0));
// Whether something new (the flag of an opened cell, a found fox) stands above the plate of a
// cell, where before (the window's own pixels) showed the board behind it.
bool showsAboveThePlate(const QImage& shot, QPoint window, const QImage& before, int row, int col);

// Keeps a screenshot that a failure message refers to in the temporary folder as
// tarnell-<name>.png; the words that name it in the message.
std::string kept(const QImage& shot, const QString& name);

} // namespace tarnell::e2e
