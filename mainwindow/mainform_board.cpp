// The main window's board beyond the pointer: the keys that play it and what a screen reader
// learns about it.
#include "mainform.h"

#include "BoardAccessible.h"
#include "BoardKeys.h"
#include "FieldArea.h"
#include "FormParts.h"
#include "widgets/GlyphCheckBox.h"

namespace tarnell {

void Tmainform_form::connectBoard() {
    // The keys act where the game page parks the focus and on the board itself.
    boardKeys_ = new TBoardKeys({RzBmpButton1, PaintBox3}, this);
    connect(boardKeys_, &TBoardKeys::moveRequested, this, &Tmainform_form::moveCurrentCell);
    connect(boardKeys_, &TBoardKeys::openRequested, this, &Tmainform_form::openCurrentCell);

    boardReader_ = new TBoardReader(
        PaintBox3, puzzle_, [box = JvgCheckBox12] { return box->isChecked(); },
        [keys = boardKeys_] { return keys->keyboardOnBoard(); });
    connect(boardKeys_, &TBoardKeys::keyboardArrived, boardReader_,
            &TBoardReader::announceCurrentCellSoon);
}

void Tmainform_form::moveCurrentCell(int rows, int cols) {
    puzzle_.MoveCurrentCell(rows, cols);
    // The cyan plate follows the key at once rather than at the next tick.
    Timer1Timer();
}

void Tmainform_form::openCurrentCell() {
    if (!puzzle_.Inside(puzzle_.HotRow(), puzzle_.HotCol())) {
        // Nothing to open yet: the key shows where the keyboard starts, as an arrow would.
        moveCurrentCell(0, 0);
        return;
    }
    openCellAt(puzzle_.HotRow(), puzzle_.HotCol());
}

} // namespace tarnell
