#include "GameSession.h"

#include "RestingTimer.h"
#include "platform/TimeOfDay.h"

#include <QTimer>
#include <chrono>

namespace tarnell {

namespace {

int64_t steadyClockMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

TGameSession::TGameSession(TGameSources sources, QObject* parent)
    : QObject(parent),
      ownRandom_(sources.random ? nullptr : std::make_unique<platform::StdRandom>()),
      ownClock_(sources.clock ? nullptr : std::make_unique<platform::SystemTimeOfDay>()),
      clock_(sources.clock ? *sources.clock : *ownClock_),
      playClick_(sources.playClick ? std::move(sources.playClick) : [] {}),
      puzzle_(sources.random ? *sources.random : *ownRandom_, clock_), timer1_(new QTimer(this)) {
    setObjectName(QStringLiteral("gameSession"));
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(TimerInterval);
    rest_ = new TRestingTimer(*timer1_,
                              sources.steadyMilliseconds ? std::move(sources.steadyMilliseconds)
                                                         : &steadyClockMilliseconds,
                              this);
    connect(timer1_, &QTimer::timeout, this, &TGameSession::tick);
    connect(rest_, &TRestingTimer::wokenTick, this, &TGameSession::tick);
}

TGameSession::~TGameSession() = default;

void TGameSession::tick() {
    emit ticked();
    // Until something happens, the next tick would draw the same frame and the same clock.
    if (!(clockShown_ && puzzle_.Started() && !puzzle_.Finished()))
        rest_->rest();
}

void TGameSession::setClockShown(bool shown) {
    clockShown_ = shown;
    wake();
}

void TGameSession::wake() {
    rest_->wake();
}

void TGameSession::stop() {
    rest_->stop(); // Timer1 too, for good
}

TGameSession::Look TGameSession::look() const {
    // Everything a cell shows: its state, the hint shown on a covered cell, the count.
    Look cells{};
    const int n = puzzle_.FieldSize();
    for (int row = 1; row <= n; ++row) {
        for (int col = 1; col <= n; ++col) {
            const int view = puzzle_.ViewState(row, col);
            const bool hint = view == vsCovered && showHints_ && puzzle_.HintPlane()[row][col] == 1;
            const int seen = view == vsOpened ? puzzle_.GetN(row, col) : 0;
            cells[static_cast<std::size_t>((row - 1) * MaxFieldSize + col - 1)] =
                view | (hint ? 4 : 0) | (seen << 3);
        }
    }
    return cells;
}

TGameChange TGameSession::begin(TAction action, TInput input) const {
    TGameChange change;
    change.action = action;
    change.input = input;
    change.previous = TCell{puzzle_.HotRow(), puzzle_.HotCol()};
    return change;
}

void TGameSession::finish(TGameChange& change, const Look& before, int sizeBefore) {
    const int n = puzzle_.FieldSize();
    change.resized = n != sizeBefore;
    if (!change.resized) {
        const Look after = look();
        for (int row = 1; row <= n; ++row)
            for (int col = 1; col <= n; ++col) {
                const auto slot = static_cast<std::size_t>((row - 1) * MaxFieldSize + col - 1);
                if (after[slot] != before[slot])
                    change.cells.push_back(TCell{row, col});
            }
    }
    // The field shows the new state, and a started clock runs, from the next tick on.
    wake();
    emit changed(change);
}

void TGameSession::restore(int setupSize, int setupFoxes, bool showHints) {
    puzzle_.Reset(setupSize, setupFoxes);
    showHints_ = showHints;
}

void TGameSession::openCell(int row, int col, TInput input) {
    if (puzzle_.Finished())
        return;
    const Look before = look();
    const int sizeBefore = puzzle_.FieldSize();
    TGameChange change = begin(TAction::Open, input);
    if (!puzzle_.Started()) {
        // The first move of the program generates, wherever it falls.
        puzzle_.NewPuzzle();
        change.newGame = true;
    }
    if (puzzle_.Inside(row, col))
        playClick_();
    // Also stores a cell beside the field as the current one.
    const TMoveResult move = puzzle_.OpenCell(row, col);
    change.opened = TCell{row, col};
    change.step = move.Step;
    change.foundFox = move.FoundFox;
    change.solved = move.Solved;
    change.result = move.Result;
    finish(change, before, sizeBefore);
}

void TGameSession::openCurrentCell() {
    if (!puzzle_.Inside(puzzle_.HotRow(), puzzle_.HotCol())) {
        // Nothing to open yet: the key shows where the keyboard starts, as an arrow would.
        moveCurrentCell(0, 0);
        return;
    }
    openCell(puzzle_.HotRow(), puzzle_.HotCol(), TInput::Key);
}

void TGameSession::pointAt(int x, int y) {
    TGameChange change = begin(TAction::Point, TInput::Pointer);
    const Look before = look();
    puzzle_.MouseMove(x, y);
    finish(change, before, puzzle_.FieldSize());
}

void TGameSession::moveCurrentCell(int rows, int cols) {
    TGameChange change = begin(TAction::Move, TInput::Key);
    const Look before = look();
    puzzle_.MoveCurrentCell(rows, cols);
    finish(change, before, puzzle_.FieldSize());
}

void TGameSession::jumpCurrentCell(TJump jump) {
    TGameChange change = begin(TAction::Jump, TInput::Key);
    const Look before = look();
    puzzle_.JumpCurrentCell(jump);
    change.stayed = !change.currentMoved(puzzle_);
    finish(change, before, puzzle_.FieldSize());
}

void TGameSession::goToMayHideFox(bool forward) {
    TGameChange change = begin(TAction::NextMayHideFox, TInput::Key);
    change.forward = forward;
    const Look before = look();
    // Before the first game and after the last fox there is nothing to look for.
    const bool playing = puzzle_.Started() && !puzzle_.Finished();
    if (const std::optional<TCell> next =
            playing ? puzzle_.NextMayHideFox(forward, showHints_) : std::nullopt) {
        puzzle_.MoveCurrentCellTo(*next);
        change.stayed = !change.currentMoved(puzzle_);
    } else {
        change.noneMayHideFox = playing;
    }
    finish(change, before, puzzle_.FieldSize());
}

void TGameSession::changeSetup(TSetupStep step) {
    TGameChange change = begin(TAction::Setup, TInput::Pointer);
    const Look before = look();
    switch (step) {
    case TSetupStep::SizeUp:
        puzzle_.IncreaseSize();
        break;
    case TSetupStep::SizeDown:
        puzzle_.DecreaseSize();
        break;
    case TSetupStep::FoxesUp:
        puzzle_.IncreaseFoxes();
        break;
    case TSetupStep::FoxesDown:
        puzzle_.DecreaseFoxes();
        break;
    }
    // A smaller field may have lowered the foxes with it: the size's arrows tell both.
    change.setupSizeChanged = step == TSetupStep::SizeUp || step == TSetupStep::SizeDown;
    finish(change, before, puzzle_.FieldSize());
}

bool TGameSession::requestNewPuzzle() {
    const Look before = look();
    const int sizeBefore = puzzle_.FieldSize();
    TGameChange change = begin(TAction::NewGame, TInput::Pointer);
    if (puzzle_.RequestNewPuzzle())
        return true;
    change.newGame = true;
    finish(change, before, sizeBefore);
    return false;
}

void TGameSession::startNewPuzzle() {
    const Look before = look();
    const int sizeBefore = puzzle_.FieldSize();
    TGameChange change = begin(TAction::NewGame, TInput::Pointer);
    puzzle_.NewPuzzle();
    change.newGame = true;
    finish(change, before, sizeBefore);
}

void TGameSession::setShowHints(bool show) {
    if (show == showHints_)
        return;
    TGameChange change = begin(TAction::Hints, TInput::Pointer);
    const Look before = look();
    showHints_ = show;
    finish(change, before, puzzle_.FieldSize());
}

void TGameSession::ask(TQuestion question) {
    TGameChange change = begin(TAction::Ask, TInput::Key);
    change.question = question;
    emit changed(change);
}

} // namespace tarnell
