// The main window's board beyond the pointer: the keys that play it and what a screen reader
// learns about it.
#include "mainform.h"

#include "BoardAccessible.h"
#include "BoardKeys.h"
#include "FieldArea.h"
#include "FormParts.h"
#include "GameSession.h"
#include "NewsTeller.h"
#include "widgets/AccessibleWidgets.h"
#include "widgets/Announcer.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/buttons/buts2.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QAccessible>

namespace tarnell {

void Tmainform_form::connectBoard() {
    // The keys act where the game page parks the focus and on the board itself, each straight
    // on the game.
    boardKeys_ = new TBoardKeys({RzBmpButton1, PaintBox3}, this);
    TGameSession* game = session_;
    connect(boardKeys_, &TBoardKeys::moveRequested, game, &TGameSession::moveCurrentCell);
    connect(boardKeys_, &TBoardKeys::openRequested, game, &TGameSession::openCurrentCell);
    connect(boardKeys_, &TBoardKeys::nextMayHideFoxRequested, game, &TGameSession::goToMayHideFox);
    connect(boardKeys_, &TBoardKeys::jumpRequested, game, &TGameSession::jumpCurrentCell);
    connect(boardKeys_, &TBoardKeys::questionAsked, game, &TGameSession::ask);

    boardReader_ = new TBoardReader(
        PaintBox3, game->puzzle(), [game] { return game->showHints(); },
        [keys = boardKeys_] { return keys->keyboardOnBoard(); });
    connect(boardKeys_, &TBoardKeys::keyboardArrived, boardReader_,
            &TBoardReader::announceCurrentCellSoon);
    announcer_ = new TAnnouncer(this);
    newsTeller_ = new TNewsTeller(*game, *boardReader_, *announcer_, this);
    connectSpokenNews();
}

QString Tmainform_form::lastSpokenMessage() const {
    return newsTeller_->lastMessage();
}

void Tmainform_form::connectSpokenNews() {
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

} // namespace tarnell
