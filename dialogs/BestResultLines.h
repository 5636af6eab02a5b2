// The best-result lines of the two hall-of-fame dialogs: the file checked, the placeholder
// lines shown, then the lines stored for the field size and fox count.
#pragma once

#include "dialogs/HallOfFame.h"

#include <optional>

class TShadowLabel;

// Runs check, placeholders and look-up in that order, sizing the labels to their lines. The
// look-up, or nothing when the hall of fame reported a failure: the labels then keep the
// lines set so far (none when the check failed).
std::optional<halloffame::FameLookup> showBestResultLines(halloffame::HallOfFame& fame,
                                                          int fieldSize, int foxCount,
                                                          TShadowLabel& timeLine,
                                                          TShadowLabel& stepsLine);
