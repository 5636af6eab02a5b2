// The game between the player's inputs and the windows: owns the puzzle, its clock, Timer1 and
// its rest, and the click sound; takes every player action through one method and says once,
// after the puzzle changed, what the action changed.
#pragma once

#include "core/Puzzle.h"

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QTimer;

namespace tarnell {

class TRestingTimer;

// What the player did.
enum class TAction {
    Open,           // a plate opened, by a click or a key
    Move,           // an arrow key
    Jump,           // Home, End, Page Up, Page Down, Ctrl+Home, Ctrl+End
    NextMayHideFox, // N and Shift+N
    Point,          // the pointer moved over the field
    Setup,          // an arrow of the set-up
    NewGame,        // "Generate", Ctrl+N or the confirmation's "Yes"
    Hints,          // "Show hints" checked or unchecked
    Ask,            // a question to the screen reader's keys; nothing changes
};

// How the action reached the game.
enum class TInput { Pointer, Key };

// What a player by ear asked to hear.
enum class TQuestion {
    Lines,       // L: the four lines of the current plate
    Numbers,     // I: the time, the steps, the foxes found and the board
    CurrentCell, // C: the current plate in full
    Repeat,      // R: the last message again
};

// What one action changed, as the views need it.
struct TGameChange {
    TAction action = TAction::Ask;
    TInput input = TInput::Key;
    TQuestion question = TQuestion::Repeat; // for Ask
    bool forward = true;                    // for NextMayHideFox
    // A puzzle was generated: the first move of the run or a new game.
    bool newGame = false;
    // The board has another size than before the action.
    bool resized = false;
    // The plates that show otherwise now (opened, found, proven fox-free or no longer).
    std::vector<TCell> cells;
    // The current cell before the action; whether the action asked for a plate and kept it.
    TCell previous;
    bool stayed = false;
    // N or Shift+N found no plate that may hide a fox.
    bool noneMayHideFox = false;
    // For Setup: the field size changed (the foxes may have changed with it).
    bool setupSizeChanged = false;
    // For Open: the plate opened and what it held.
    TCell opened;
    bool step = false;
    bool foundFox = false;
    bool solved = false;
    std::optional<TPuzzleResult> result;

    bool currentMoved(const TPuzzle& puzzle) const {
        return previous != TCell{puzzle.HotRow(), puzzle.HotCol()};
    }
};

// What the game takes from outside; each one left empty means the real thing.
struct TGameSources {
    RandomSource* random = nullptr;
    const TimeOfDaySource* clock = nullptr;
    // Plays the CLICK sound of a move.
    std::function<void()> playClick;
    // A steady clock in milliseconds, which keeps Timer1's beat while it rests.
    std::function<int64_t()> steadyMilliseconds;
};

class TGameSession : public QObject {
    Q_OBJECT
public:
    static constexpr int TimerInterval = 100; // ms

    TGameSession(TGameSources sources, QObject* parent);
    ~TGameSession() override;

    const TPuzzle& puzzle() const { return puzzle_; }
    bool showHints() const { return showHints_; }
    double now() const { return clock_.Now(); }

    // --- the player's actions ---
    // A stored set-up and hint choice, before the first action.
    void restore(int setupSize, int setupFoxes, bool showHints);
    // The move on cell (row, col): generates the first puzzle, plays CLICK on a cell of the
    // field, opens or finds it. A cell outside the field only becomes the current cell;
    // nothing happens once the puzzle is solved.
    void openCell(int row, int col, TInput input);
    // Space and Enter: opens the current cell, or with none shows where the keyboard starts.
    void openCurrentCell();
    void pointAt(int x, int y);
    void moveCurrentCell(int rows, int cols);
    void jumpCurrentCell(TJump jump);
    void goToMayHideFox(bool forward);
    enum class TSetupStep { SizeUp, SizeDown, FoxesUp, FoxesDown };
    void changeSetup(TSetupStep step);
    // "Generate": true when a running puzzle must be confirmed first (nothing changed yet);
    // otherwise the new puzzle is there.
    bool requestNewPuzzle();
    void startNewPuzzle();
    void setShowHints(bool show);
    void ask(TQuestion question);

    // --- Timer1 ---
    QTimer* timer1() const { return timer1_; }
    TRestingTimer* timer1Rest() const { return rest_; }
    // Whether the clock is on the screen (the game page shows); its ticks rest otherwise.
    void setClockShown(bool shown);
    // Something may change what a tick shows: the next tick comes on the beat.
    void wake();
    // For good, when the window goes.
    void stop();

signals:
    // After each action, once, when the puzzle has changed.
    void changed(const tarnell::TGameChange& change);
    // A tick of Timer1: the clock and the field show the time now.
    void ticked();

private:
    // What each cell shows, to tell which plates an action changed.
    using Look = std::array<int, MaxFieldSize * MaxFieldSize>;
    Look look() const;
    TGameChange begin(TAction action, TInput input) const;
    void finish(TGameChange& change, const Look& before, int sizeBefore);
    void tick();

    std::unique_ptr<RandomSource> ownRandom_;
    std::unique_ptr<TimeOfDaySource> ownClock_;
    const TimeOfDaySource& clock_;
    std::function<void()> playClick_;
    TPuzzle puzzle_;
    bool showHints_ = true;
    bool clockShown_ = true;
    QTimer* timer1_;
    TRestingTimer* rest_;
};

} // namespace tarnell
