// The main window's board beyond the pointer: the keys that play it and what a screen reader
// learns about it.
#include "mainform.h"

#include "BoardAccessible.h"
#include "BoardKeys.h"
#include "FieldArea.h"
#include "FormParts.h"
#include "widgets/AccessibleWidgets.h"
#include "widgets/Announcer.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/buttons/buts2.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QAccessible>

namespace tarnell {

void Tmainform_form::connectBoard() {
    // The keys act where the game page parks the focus and on the board itself.
    boardKeys_ = new TBoardKeys({RzBmpButton1, PaintBox3}, this);
    connect(boardKeys_, &TBoardKeys::moveRequested, this, &Tmainform_form::moveCurrentCell);
    connect(boardKeys_, &TBoardKeys::openRequested, this, &Tmainform_form::openCurrentCell);
    connect(boardKeys_, &TBoardKeys::nextMayHideFoxRequested, this,
            &Tmainform_form::moveToNextMayHideFox);
    connect(boardKeys_, &TBoardKeys::jumpRequested, this, &Tmainform_form::jumpCurrentCell);
    connect(boardKeys_, &TBoardKeys::linesRequested, this, &Tmainform_form::tellLines);

    boardReader_ = new TBoardReader(
        PaintBox3, puzzle_, [box = JvgCheckBox12] { return box->isChecked(); },
        [keys = boardKeys_] { return keys->keyboardOnBoard(); });
    connect(boardKeys_, &TBoardKeys::keyboardArrived, boardReader_,
            &TBoardReader::announceCurrentCellSoon);
    connect(boardKeys_, &TBoardKeys::numbersRequested, this, &Tmainform_form::tellNumbers);
    connectSpokenNews();
}

void Tmainform_form::connectSpokenNews() {
    announcer_ = new TAnnouncer(this);
    // Connected after the buttons' own handlers, so the values are the new ones.
    connect(mybitbutn1, &QAbstractButton::clicked, this, [this] { announceSetup(true); });
    connect(mybitbutn3, &QAbstractButton::clicked, this, [this] { announceSetup(true); });
    connect(mybitbutn2, &QAbstractButton::clicked, this, [this] { announceSetup(false); });
    connect(mybitbutn4, &QAbstractButton::clicked, this, [this] { announceSetup(false); });

    // The box cannot take the focus; its handle beside it does, and reads as the box.
    presentAsCheckBox(RzBmpButton16, JvgCheckBox12);
    // The page stack is only layout: its pages speak for themselves.
    setAccessibleRole(Notebook1, QAccessible::Client);
    // The about page takes the focus when it is shown by key and reads as a whole.
    setAccessibleRole(aboutPageWidget_, QAccessible::Pane);
    aboutPageWidget_->setAccessibleName(QStringLiteral("About Tarnell"));
    // What Orca does not read of the page by itself: it reads a page's labels of three words
    // or more, so the last line is heard already.
    aboutPageWidget_->setAccessibleDescription(QStringLiteral("Tarnell. developer: Morvane."));
}

void Tmainform_form::announceSetup(bool sizeChanged) {
    const QString foxes = lcdSpokenName(QStringLiteral("Set-up foxes"), LCDLabel6->Caption());
    if (!sizeChanged) {
        announcer_->announce(foxes);
        return;
    }
    // A smaller field may have lowered the foxes with it.
    announcer_->announce(lcdSpokenName(QStringLiteral("Set-up field size"), LCDLabel5->Caption()) +
                         QStringLiteral(", ") + foxes.toLower());
}

void Tmainform_form::announceNewGame() {
    announcer_->announce(newGameMessage(puzzle_));
}

void Tmainform_form::tellNumbers() {
    announcer_->announce(gameNumbersMessage(puzzle_, clock_.Now(), JvgCheckBox12->isChecked()));
}

void Tmainform_form::tellLines() {
    announcer_->announce(
        linesMessage(puzzle_, puzzle_.HotRow(), puzzle_.HotCol(), JvgCheckBox12->isChecked()));
}

void Tmainform_form::moveCurrentCell(int rows, int cols) {
    puzzle_.MoveCurrentCell(rows, cols);
    // The cyan plate follows the key at once rather than at the next tick.
    Timer1Timer();
}

void Tmainform_form::moveToNextMayHideFox(bool forward) {
    const std::optional<TCell> next = puzzle_.NextMayHideFox(forward, JvgCheckBox12->isChecked());
    if (!next) {
        announcer_->announce(noPlateMayHideFoxMessage());
        return;
    }
    const TCell was{puzzle_.HotRow(), puzzle_.HotCol()};
    puzzle_.MoveCurrentCellTo(*next);
    showCurrentCellReached(was);
}

void Tmainform_form::jumpCurrentCell(TJump jump) {
    const TCell was{puzzle_.HotRow(), puzzle_.HotCol()};
    puzzle_.JumpCurrentCell(jump);
    showCurrentCellReached(was);
}

void Tmainform_form::showCurrentCellReached(TCell was) {
    // The cyan plate follows at once, and a moved cell is said as an arrow's.
    Timer1Timer();
    // A key that lands where the keyboard already was says the cell again.
    if (was == TCell{puzzle_.HotRow(), puzzle_.HotCol()})
        boardReader_->repeatCurrentCell();
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
