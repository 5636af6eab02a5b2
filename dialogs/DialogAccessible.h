// How a dialog presents itself to a screen reader: as a dialog, whose drawn lines are read
// when it opens, rather than as an anonymous window.
#pragma once

#include <QString>
#include <vector>

namespace tarnell {

class TShadowLabel;

// Makes every dialog window read as a dialog (its name is its title, or the accessible name
// it was given); installed once, by the first dialog made.
void installDialogAccessibility();

// What a screen reader says for labels drawn side by side as one line: their captions joined
// by single blanks, read left to right.
QString spokenLine(const std::vector<TShadowLabel*>& parts);

} // namespace tarnell
