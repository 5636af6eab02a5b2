// The program's fonts: "MS Sans Serif" and the captions' system font stand for one installed
// sans-serif face, sized in pixels so the desktop's font settings never scale them.
#pragma once

#include <QFont>
#include <QString>

namespace tarnell::platform {

// Finds, once per run, the installed face that stands in for the windows' named faces:
// Liberation Sans, else DejaVu Sans, asked for by name so that no search through the whole
// font set is made for text these faces cover. Where neither is installed the named faces
// fall back to the desktop's sans-serif face, and standard error says so once. Called by the
// application at start (and by tests); the fonts below call it too.
void resolveProgramFaces();
// Before the application starts: gives the process a font configuration of its own, the
// desktop's configuration (its rules, hinting and antialiasing) over only the installed faces
// of the stand-in families, so that Qt, which reads the description of every face it is given
// before it draws its first text, reads a handful instead of a desktop's thousands. The faces
// are found by family, as resolveProgramFaces finds them; where neither family is installed
// the process keeps the whole font set and nothing changes. Says whether it did.
bool useOnlyProgramFaces();
// The face the desktop's whole font set gives for a family name (as fontconfig ranks the faces
// for a name Qt does not hold) where the process's own configuration lacks it: its file.
// Empty where the process has that face, or the whole set.
QString wholeSetFaceMissingFor(const QString& family);
// The family the windows draw with: "Liberation Sans", "DejaVu Sans", or, where neither is
// installed, "MS Sans Serif" (which then falls back as Qt and fontconfig choose).
QString programFaceFamily();
// "MS Sans Serif" at 8 pt: 11 pixels high, regular or bold.
QFont programFont(bool bold = false);
// The same face at a given pixel height (the about page's 13 and 21 pixel labels).
QFont programFontPixels(int pixelHeight, bool bold);
// The stock variable-pitch system font of the window captions.
QFont captionFont();
// Finds the desktop's own font (the application's default, "Sans Serif"), which message boxes
// use and every text box lays out its first, empty text in before it takes its window's
// font. Qt finds that name through a sort of the whole font set; done once, after the first
// frame, it does not fall on the first show of a dialog with a text box. Where the process
// has only the program's faces, the face the whole font set gives for that name is first
// found in it, on a thread of its own, and added to the process's faces, so that message
// boxes look as they did.
void resolveDesktopFont();

} // namespace tarnell::platform
