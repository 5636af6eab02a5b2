// The set-up and the hint choice kept in the player's settings between runs.
#pragma once

namespace tarnell {

struct TStoredSetup {
    int size;
    int foxes;
    bool hints;
};

// The stored set-up, within the puzzle's limits. A value that is missing, or not a number, is
// replaced by its default in the settings at once; values that exist are not rewritten.
TStoredSetup readStoredSetup();
// Keeps the set-up for the next run; without settings to write to, nothing is kept.
void storeSetup(const TStoredSetup& setup);

} // namespace tarnell
