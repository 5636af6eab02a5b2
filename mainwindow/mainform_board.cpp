// The main window's board beyond the pointer: the keys that play it and what a screen reader
// learns about it.
#include "mainform.h"

#include "BoardAccessible.h"
#include "BoardKeys.h"
#include "FieldArea.h"
#include "FormParts.h"
#include "widgets/GlyphCheckBox.h"

using namespace tarnell;

void Tmainform_form::connectBoard() {
    // The keys act where the game page parks the focus and on the board itself.
    BoardKeys_ = new TBoardKeys({RzBmpButton1, PaintBox3}, this);
    connect(BoardKeys_, &TBoardKeys::moveRequested, this, &Tmainform_form::moveCurrentCell);
    connect(BoardKeys_, &TBoardKeys::openRequested, this, &Tmainform_form::openCurrentCell);

    BoardReader_ = new TBoardReader(
        PaintBox3, Puzzle, [box = JvgCheckBox12] { return box->isChecked(); },
        [keys = BoardKeys_] { return keys->keyboardOnBoard(); });
    connect(BoardKeys_, &TBoardKeys::keyboardArrived, BoardReader_,
            &TBoardReader::announceCurrentCellSoon);
}

void Tmainform_form::moveCurrentCell(int rows, int cols) {
    Puzzle.MoveCurrentCell(rows, cols);
    // The cyan plate follows the key at once rather than at the next tick.
    Timer1Timer();
}

void Tmainform_form::openCurrentCell() {
    if (!Puzzle.Inside(Puzzle.HotRow(), Puzzle.HotCol())) {
        // Nothing to open yet: the key shows where the keyboard starts, as an arrow would.
        moveCurrentCell(0, 0);
        return;
    }
    openCellAt(Puzzle.HotRow(), Puzzle.HotCol());
}
