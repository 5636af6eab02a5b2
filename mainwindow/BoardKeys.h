// Playing the board from the keyboard: the arrow keys move the current cell, Space and Enter
// open it, I tells the game's numbers, while the keyboard focus rests on the board or where
// the game page parks it.
#pragma once

#include <QObject>
#include <QPoint>
#include <QWidget>
#include <optional>
#include <vector>

class QKeyEvent;

namespace tarnell {

// What a key asks of the board.
struct TBoardKey {
    enum class Action { Move, Open, TellNumbers };
    Action action;
    QPoint step; // for Move: x is the column step, y the row step
};

// The board's meaning of a key press, if it has one: the arrow keys (also the keypad's) move
// by one row (up, down) or column (left, right), Space and Enter (also the keypad's) open the
// current cell, I (for "information") asks for the time, the steps, the foxes found and the
// board. Keys held with Ctrl, Alt or Meta are left to the window.
std::optional<TBoardKey> boardKey(const QKeyEvent& key);

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
    void numbersRequested();
    // One of the widgets got the keyboard focus.
    void keyboardArrived();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QWidget*> targets_;
};

} // namespace tarnell
