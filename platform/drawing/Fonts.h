// The program's fonts: "MS Sans Serif" mapped to an installed sans-serif face, sized in
// pixels so the desktop's font settings never scale them.
#pragma once

#include <QFont>

namespace tarnell::platform {

// Registers the face substitution once; called by the application at start (and by tests).
void installFontSubstitutions();
// "MS Sans Serif" at 8 pt: 11 pixels high, regular or bold.
QFont programFont(bool bold = false);
// The same face at a given pixel height (the about page's 13 and 21 pixel labels).
QFont programFontPixels(int pixelHeight, bool bold);
// The stock variable-pitch system font of the window captions.
QFont captionFont();

} // namespace tarnell::platform
