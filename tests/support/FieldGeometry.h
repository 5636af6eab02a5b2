// Where the tests find things on the screen: the board's cells in the field area, written out
// here once and independently of the program's own placement code, and the places in the
// main window that the end-to-end tests aim at (checked against the running window by the
// main window's tests).
#pragma once

#include <QPoint>
#include <QRect>

namespace tarnell::testsupport {

// The top-left corner of the box of the plate of cell (row, col), in field-area pixels:
// cell (1, 1) at (180, 15); a column further 20 right and 10 down, a row further 20 left
// and 10 down.
inline QPoint cellOrigin(int row, int col) {
    return {180 + 20 * (col - row), 15 + 10 * (row + col - 2)};
}

// A point that selects the cell: the middle of its diamond, one pixel lower.
inline QPoint cellCentre(int row, int col) {
    return cellOrigin(row, col) + QPoint(20, 11);
}

// The top-left corner of the count written on an opened cell's flag.
inline QPoint countAnchor(int row, int col) {
    return cellOrigin(row, col) + QPoint(23, -11);
}

// Places in main-window pixels (the client area is the whole window: it is frameless).
namespace inwindow {
inline const QRect Field(59, 67, 401, 225); // PaintBox3
inline const QRect StartNewGame(59, 299, 60, 22);
inline const QRect HighScore(59, 323, 60, 22);
inline const QRect SizeUp(347, 323, 24, 19);
inline const QRect FoxesUp(427, 323, 24, 19);
inline const QRect Clock(379, 43, 81, 19); // LCDLabel1
} // namespace inwindow

// The pixel in the middle of a place, where a click lands on it.
inline QPoint middle(const QRect& place) {
    return place.topLeft() + QPoint(place.width() / 2, place.height() / 2);
}

} // namespace tarnell::testsupport
