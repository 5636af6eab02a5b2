// The board as a screen reader reads it: a list named "Board" of N x N cells (also a table),
// each named by its place and what it shows, whose focused cell is the current cell.
#pragma once

#include "core/Puzzle.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QAccessibleEvent;
class QWidget;

namespace tarnell {

struct TGameChange;
struct TSpoken;

// Lives on the board widget and gives its accessible table what it reads: the puzzle, whether
// hints are shown and whether the keyboard rests on the board. Tells a listening assistive
// technology what changed; while none listens it does no work at all.
class TBoardReader : public QObject {
    Q_OBJECT
public:
    TBoardReader(QWidget* board, const TPuzzle& puzzle, std::function<bool()> showHints,
                 std::function<bool()> keyboardOnBoard);

    // The reader of a board widget, if it has one.
    static TBoardReader* of(const QWidget* board);

    QWidget* board() const { return board_; }
    const TPuzzle& puzzle() const { return puzzle_; }
    bool showHints() const { return showHints_(); }
    bool keyboardOnBoard() const { return keyboardOnBoard_(); }
    bool listening() const { return listener_.listening(); }
    QString cellName(int row, int col) const;

    // Tells what the change did to the board (a new table when its size changed, else a name
    // change for every cell that reads differently now), then says the news, if any, at the
    // current cell: the cell itself where the news is the plate reached, else a plate of its own
    // named by the news. False when there is news and no current cell under the keyboard.
    bool tell(const TGameChange& change, const std::optional<TSpoken>& news);
    // The focus for the current cell, if there is one in the field...
    void announceCurrentCell();
    // ...once, after the events in hand: the keyboard came back, and the reader first hears
    // of the widget that took the focus.
    void announceCurrentCellSoon();
    // Whether the keyboard rests on a current cell of the field.
    bool keyboardOnCurrentCell() const {
        return puzzle_.Inside(puzzle_.HotRow(), puzzle_.HotCol()) && keyboardOnBoard();
    }

    // Whether an assistive technology listens, and where the announcements go: by default
    // the platform's accessibility bridge; a test hands in its own.
    struct TListener {
        std::function<bool()> listening;
        std::function<void(QAccessibleEvent&)> deliver;
    };
    void setListener(TListener listener);

private:
    void follow(const TGameChange& change);
    // A plate of the current cell's place named text takes the focus, and the screen reader
    // reads it as a move.
    bool say(const QString& text);
    void sendCellEvent(int type, int row, int col);

    QWidget* board_;
    const TPuzzle& puzzle_;
    std::function<bool()> showHints_;
    std::function<bool()> keyboardOnBoard_;
    TListener listener_;
    bool announcePending_ = false;
};

} // namespace tarnell
