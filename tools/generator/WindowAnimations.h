// The animation strips of single windows: the three side-toolbar buttons of the main
// window and the about page's picture. Frames stand side by side from the left.
#pragma once

#include <QImage>

namespace tarnell::generator {

// 9 frames of 32 x 32 on RGB 255,49,255: a pencil writing on a sheet. Frame 0 is the still
// picture; frames 1 to 8 loop, the sheet moving up a line as the pencil goes back.
QImage solvePuzzleStrip();
// 6 frames of 32 x 32 on RGB 249,91,240: a blue figure; it waves in frames 1 to 5.
QImage aboutStrip();
// 10 frames of 34 x 33 on RGB 255,153,255: a door and an arrow going out of it. In frames
// 1 to 9 the door opens, the arrow leaves through it and the door closes again.
QImage exitStrip();
// 9 frames of 50 x 50 on the page grey RGB 148,148,148: a sitting fox on a diamond plate
// that turns a quarter round over the nine frames, so the last frame leads into the first.
QImage aboutPageStrip();

} // namespace tarnell::generator
