// Screen metrics: the usable screen area used for centring windows, and the frame
// metrics that the skin asks for.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tarnell::platform {

// Width and height of the primary screen's available area (SM_CXFULLSCREEN, SM_CYFULLSCREEN).
QSize usableScreenSize();
// Top-left that centres a window of the given outer size on the primary screen's available
// area: trunc((screen - size) / 2) from the area's own top-left corner.
QPoint centredPosition(QSize windowSize);
// The same within any area. The area's corner counts, so that a primary screen that is not the
// leftmost or topmost one of the desktop still gets the window.
QPoint centredIn(const QRect& area, QSize windowSize);
// SM_CYFRAME + SM_CYCAPTION of the classic frame: 4 + 19.
int frameAndCaptionHeight();

} // namespace tarnell::platform
