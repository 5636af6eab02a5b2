// The board as a screen reader reads it: a list named "Board" of N x N cells (also a table),
// each named by its place and what it shows, whose focused cell is the current cell.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAccessibleEvent;
class QWidget;

namespace tarnell {

class TPuzzle;

// What a cell shows, in words: "Row 3, column 5: covered", "...: covered, no fox" (proven
// fox-free while hints are shown), "...: opened, 2 foxes in sight" ("1 fox", "0 foxes"),
// "...: fox found".
QString boardCellName(const TPuzzle& puzzle, int row, int col, bool showHints);

// What a screen reader says beyond the cells' names (see TAnnouncer):
// a fox just found: "Row 2, column 3: fox found, 1 of 3 foxes found", and with the last fox
// also "Puzzle solved in 00:21,7 and 9 steps.";
QString foxFoundMessage(const TPuzzle& puzzle, int row, int col);
// a game just started: "New game: 5 by 5, 2 foxes.";
QString newGameMessage(const TPuzzle& puzzle);
// the numbers on demand, now: "Time elapsed 00:21,7. 9 steps. 1 of 3 foxes found, 23 plates
// may hide a fox. Board 5 by 5, 3 foxes.", or before the first game what the next one will be;
QString gameNumbersMessage(const TPuzzle& puzzle, double now, bool showHints);
// the four lines of a cell on demand, each with the plates on it that may hide a fox and the
// foxes found on it: "Row 3: may hide a fox at columns 2, 5 and 8; 1 fox found. Column 5: may
// hide a fox at rows 1 and 7; no fox found. Falling diagonal: may hide a fox at row 1, column
// 3; no fox found. Rising diagonal: no plate may hide a fox; 2 foxes found.";
QString linesMessage(const TPuzzle& puzzle, int row, int col, bool showHints);
// N or Shift+N with nothing left to go to.
QString noPlateMayHideFoxMessage();

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
    QString cellName(int row, int col) const;

    // How a change of the current cell under the keyboard is told: by the cell taking the focus
    // anew, or by the window in a message of its own that names the cell.
    enum class CurrentCellNews { AsFocus, ToldByTheWindow };
    // Announces what changed since the last call: the whole table when its size changed,
    // a name change for every cell that reads differently now, and the focus for the
    // current cell when it moved, or changed (other than to a found fox, or when the window
    // tells it), while the keyboard rests on the board.
    void announceChanges(CurrentCellNews currentCell = CurrentCellNews::AsFocus);
    // The focus for the current cell, if there is one in the field...
    void announceCurrentCell();
    // ...once, after the events in hand: the keyboard came back, and the reader first hears
    // of the widget that took the focus.
    void announceCurrentCellSoon();
    // The current cell said again although it did not change, as a move would say it.
    void repeatCurrentCell();

    // Whether an assistive technology listens, and where the announcements go: by default
    // the platform's accessibility bridge; a test hands in its own.
    struct TListener {
        std::function<bool()> listening;
        std::function<void(QAccessibleEvent&)> deliver;
    };
    void setListener(TListener listener);

private:
    // What each cell read as at the last announcement: 10 x 10 entries, row-major.
    struct Snapshot {
        bool valid = false;
        int size = 0;
        int row = 0;
        int col = 0;
        std::array<int, 100> cells{};
    };
    int cellCode(int row, int col) const;
    void takeSnapshot();
    void announceCurrentCellAnew();
    void refocusCurrentCell();
    void sendCellEvent(int type, int row, int col);

    QWidget* board_;
    const TPuzzle& puzzle_;
    std::function<bool()> showHints_;
    std::function<bool()> keyboardOnBoard_;
    TListener listener_;
    Snapshot last_;
    bool announcePending_ = false;
};

} // namespace tarnell
