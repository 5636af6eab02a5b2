// The best-result lines of the two hall-of-fame dialogs, and what the hall of fame has to tell
// the player: the file checked, the placeholder lines shown, then the lines stored for the
// field size and fox count.
#pragma once

#include "halloffame/HallOfFame.h"
#include "platform/MessageBox.h"

#include <optional>

namespace tarnell {

class TShadowLabel;

// Shows the failure or notice of an operation on the hall of fame in a message box, if it
// has one; whether the operation succeeded.
template <typename Value> bool tellPlayer(const halloffame::FameOutcome<Value>& outcome) {
    if (!outcome.message().isEmpty())
        platform::showMessage(outcome.message());
    return outcome.succeeded();
}

// Runs check, placeholders and look-up in that order, sizing the labels to their lines. The
// look-up, or nothing when the hall of fame reported a failure: the labels then keep the
// lines set so far (none when the check failed).
std::optional<halloffame::FameLookup> showBestResultLines(halloffame::HallOfFame& fame,
                                                          int fieldSize, int foxCount,
                                                          TShadowLabel& timeLine,
                                                          TShadowLabel& stepsLine);

} // namespace tarnell
