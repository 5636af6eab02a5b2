// Screen metrics: the usable screen area used for centring windows, and the frame
// metrics that the skin asks for.
#pragma once

#include <QPoint>
#include <QSize>

namespace platform {

// Width and height of the primary screen's available area (SM_CXFULLSCREEN, SM_CYFULLSCREEN).
QSize usableScreenSize();
// Top-left that centres a window of the given outer size: trunc((screen - size) / 2).
QPoint centredPosition(QSize windowSize);
// SM_CYFRAME + SM_CYCAPTION of the classic frame: 4 + 19.
int frameAndCaptionHeight();

} // namespace platform
