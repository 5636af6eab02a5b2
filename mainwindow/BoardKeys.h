// Playing the board from the keyboard: the arrow keys, N and the jumps move the current cell,
// Space and Enter open it, I tells the game's numbers, L the lines of the current cell, C the
// current cell in full and R the last message again, while the keyboard focus rests on the
// board or where the game page parks it.
#pragma once

#include "GameSession.h"
#include "core/BoardGeometry.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

class QKeyEvent;

namespace tarnell {

// What a key asks of the board.
struct TBoardKey {
    enum class Action { Move, Open, Ask, NextMayHideFox, Jump };
    Action action;
    QPoint step;                            // for Move: x is the column step, y the row step
    bool forward = true;                    // for NextMayHideFox: N goes forward, Shift+N back
    TJump jump = TJump::RowStart;           // for Jump
    TQuestion question = TQuestion::Repeat; // for Ask
};

// The board's meaning of a key press, if it has one: the arrow keys (also the keypad's) move
// by one row (up, down) or column (left, right), Space and Enter (also the keypad's) open the
// current cell, I (for "information") asks for the time, the steps, the foxes found and the
// board. N (for "next") goes to the next cell that may hide a fox, Shift+N to the one
// before; Home and End (also the keypad's) jump to the ends of the row, Page Up and Page Down
// to the ends of the column, Ctrl+Home and Ctrl+End to the ends of the board; L tells the
// four lines of the current cell, C the current cell in full, R the last message again. Other keys
// held with Ctrl, and every key held with Alt or Meta, are left to the window.
std::optional<TBoardKey> boardKey(const QKeyEvent& key);

// The keys in a line, for a screen reader that describes the board.
QString boardKeysHelp();

// Watches the widgets on which the keys act and turns their key presses into requests.
class TBoardKeys : public QObject {
    Q_OBJECT
public:
    // The widgets are watched for as long as this object lives; they must outlive it.
    TBoardKeys(std::vector<QWidget*> targets, QObject* parent = nullptr);

    // Whether the keyboard focus of the active window rests on one of the widgets.
    bool keyboardOnBoard() const;

signals:
    void moveRequested(int rows, int cols);
    void openRequested();
    void nextMayHideFoxRequested(bool forward);
    void jumpRequested(tarnell::TJump jump);
    void questionAsked(tarnell::TQuestion question);
    // One of the widgets got the keyboard focus.
    void keyboardArrived();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QWidget*> targets_;
};

} // namespace tarnell
