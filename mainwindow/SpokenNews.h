// What a player by ear hears after each action: the news first, short, and a place only where
// it was not just said; and the answers of the keys that ask.
#pragma once

#include "GameSession.h"

#include <QString>
#include <optional>

namespace tarnell {

// Where a message is said.
enum class TVenue {
    // Only while the keyboard rests on the board, as its current plate (a plate reached).
    Board,
    // Wherever the keyboard is (news, answers).
    Anywhere,
};

struct TSpoken {
    QString text;
    TVenue venue = TVenue::Anywhere;
    // The current plate reached by a move, said as its own name by its taking the focus.
    bool asPlate = false;
};

// What the change says, if anything: keyboardOnBoard tells whether the keyboard rested on the
// board (where the plate reached by a key or the pointer was named), last is the last message
// said (for the repeat key).
std::optional<TSpoken> spokenNews(const TGameChange& change, const TPuzzle& puzzle, bool showHints,
                                  double now, bool keyboardOnBoard, const QString& last);

// What a cell shows, in words: "Row 3, column 5: covered", "...: covered, no fox" (proven
// fox-free while hints are shown), "...: opened, 2 foxes in sight" ("1 fox", "0 foxes"),
// "...: fox found". The board's reader names its cells so.
QString boardCellName(const TPuzzle& puzzle, int row, int col, bool showHints);
// The four lines of a cell, each with the plates on it that may hide a fox and the foxes found
// on it: "Row 3: may hide a fox at columns 2, 5 and 8; 1 fox found. Column 5: may hide a fox at
// rows 1 and 7; no fox found. Falling diagonal: may hide a fox at row 1, column 3; no fox found.
// Rising diagonal: no plate may hide a fox; 2 foxes found."
QString linesMessage(const TPuzzle& puzzle, int row, int col, bool showHints);
// The numbers now: "Time elapsed 00:21,7. 9 steps. 1 of 3 foxes found, 23 plates may hide a
// fox. Board 5 by 5, 3 foxes."
QString gameNumbersMessage(const TPuzzle& puzzle, double now, bool showHints);

} // namespace tarnell
