#include "Puzzle.h"

#include "Clock.h"

#include <algorithm>
#include <cstdint>

namespace tarnell {

namespace {

void Clear(TPlane& plane) {
    for (auto& line : plane)
        line.fill(0);
}

} // namespace

int MaxFoxes(int size) {
    return (size * size + 5) / 10;
}

TSetup NormalizeSetup(int storedSize, int storedFoxes) {
    TSetup setup{storedSize, storedFoxes};
    if (setup.Size < MinFieldSize || setup.Size > MaxFieldSize)
        setup.Size = DefaultSetupSize;
    const int most = MaxFoxes(setup.Size);
    if (setup.Foxes < 1 || setup.Foxes > most)
        setup.Foxes = std::min(DefaultSetupFoxes, most);
    return setup;
}

TPuzzle::TPuzzle(RandomSource& random, const TimeOfDaySource& clock)
    : random_(random), clock_(clock) {}

TViewState TPuzzle::ViewState(int row, int col) const {
    return Inside(row, col) ? static_cast<TViewState>(viewPlane_[row][col]) : vsCovered;
}

int TPuzzle::Count(int row, int col) const {
    return Inside(row, col) ? countPlane_[row][col] : 0;
}

bool TPuzzle::Cleared(int row, int col) const {
    return Inside(row, col) && hintPlane_[row][col] != 0;
}

// fieldSize_ never leaves MinFieldSize..MaxFieldSize (Reset normalises, the buttons stop
// at the limits), so a cell inside the field is always a cell of the planes.
bool TPuzzle::Inside(int row, int col) const {
    return row >= 1 && row <= fieldSize_ && col >= 1 && col <= fieldSize_;
}

// The walk over the column, the row, the falling and the rising diagonal of a cell,
// each line counted by itself, so the cell itself is visited four times.
template <typename Predicate> int TPuzzle::CountLines(int row, int col, Predicate holds) const {
    if (!Inside(row, col))
        return 0;
    const int n = fieldSize_;
    int count = 0;
    for (int r = 1; r <= n; ++r)
        count += holds(r, col) ? 1 : 0;
    for (int c = 1; c <= n; ++c)
        count += holds(row, c) ? 1 : 0;
    int r = row;
    int c = col;
    while (r > 1 && c > 1) {
        --r;
        --c;
    }
    for (; r <= n && c <= n; ++r, ++c)
        count += holds(r, c) ? 1 : 0;
    r = row;
    c = col;
    while (r > 1 && c < n) {
        --r;
        ++c;
    }
    for (; r <= n && c >= 1; ++r, --c)
        count += holds(r, c) ? 1 : 0;
    return count;
}

int TPuzzle::GetN(int row, int col) const {
    return CountLines(row, col, [this](int r, int c) { return foxPlane_[r][c] == fpFox; });
}

int TPuzzle::GetM(int row, int col) const {
    return CountLines(row, col, [this](int r, int c) { return viewPlane_[r][c] == vsFound; });
}

bool TPuzzle::MayHideFox(int row, int col, bool showHints) const {
    return Inside(row, col) && viewPlane_[row][col] == vsCovered &&
           !(showHints && hintPlane_[row][col] != 0);
}

int TPuzzle::MayHideFoxCount(bool showHints) const {
    int count = 0;
    for (int row = 1; row <= fieldSize_; ++row)
        for (int col = 1; col <= fieldSize_; ++col)
            count += MayHideFox(row, col, showHints) ? 1 : 0;
    return count;
}

std::optional<TCell> TPuzzle::NextMayHideFox(bool forward, bool showHints) const {
    const int cells = fieldSize_ * fieldSize_;
    // Cells by their place in reading order, 0..cells - 1; -1 and cells stand before the
    // first and after the last.
    int at = Inside(hotRow_, hotCol_) ? (hotRow_ - 1) * fieldSize_ + hotCol_ - 1
                                      : (forward ? -1 : cells);
    const int step = forward ? 1 : -1;
    for (int tried = 0; tried < cells; ++tried) {
        at = ((at + step) % cells + cells) % cells;
        const TCell cell{at / fieldSize_ + 1, at % fieldSize_ + 1};
        if (MayHideFox(cell.Row, cell.Col, showHints))
            return cell;
    }
    return std::nullopt;
}

TPuzzle::TLineView TPuzzle::LineView(int row, int col, TLine line, bool showHints) const {
    TLineView view;
    view.Line = line;
    if (!Inside(row, col))
        return view;
    for (const TCell cell : LineCells(fieldSize_, {row, col}, line)) {
        if (MayHideFox(cell.Row, cell.Col, showHints))
            view.MayHideFox.push_back(cell);
        if (viewPlane_[cell.Row][cell.Col] == vsFound)
            ++view.FoundFoxes;
    }
    return view;
}

void TPuzzle::Reset(int setupSize, int setupFoxes) {
    // The caller hands normalised values; normalising again keeps an unchecked value
    // from ever sizing the field beyond the planes.
    const TSetup setup = NormalizeSetup(setupSize, setupFoxes);
    setupSize_ = setup.Size;
    setupFoxes_ = setup.Foxes;
    fieldSize_ = setupSize_;
    foxCount_ = 0;
    started_ = false;
    finished_ = false;
    foundCount_ = 0;
    stepCount_ = 0;
    startTime_ = 0.0;
    endTime_ = 0.0;
    hotRow_ = 0;
    hotCol_ = 0;
    Clear(foxPlane_);
    Clear(viewPlane_);
    Clear(countPlane_);
    Clear(hintPlane_);
}

void TPuzzle::IncreaseSize() {
    if (setupSize_ < MaxFieldSize)
        ++setupSize_;
    CapSetupFoxes();
}

void TPuzzle::DecreaseSize() {
    if (setupSize_ > MinFieldSize)
        --setupSize_;
    CapSetupFoxes();
}

void TPuzzle::CapSetupFoxes() {
    setupFoxes_ = std::min(setupFoxes_, MaxFoxes(setupSize_));
}

void TPuzzle::IncreaseFoxes() {
    if (setupFoxes_ < MaxFoxes(setupSize_))
        ++setupFoxes_;
}

void TPuzzle::DecreaseFoxes() {
    if (setupFoxes_ > 1)
        --setupFoxes_;
}

bool TPuzzle::RequestNewPuzzle() {
    if (started_ && !finished_)
        return true;
    NewPuzzle();
    return false;
}

void TPuzzle::NewPuzzle() {
    const double now = clock_.Now();
    // A fresh sequence for every puzzle, from the millisecond of the day.
    random_.Reseed(static_cast<uint32_t>(ElapsedMilliseconds(now)));
    started_ = true;
    finished_ = false;
    foxCount_ = setupFoxes_;
    fieldSize_ = setupSize_;
    foundCount_ = 0;
    stepCount_ = 0;
    startTime_ = now;
    Clear(foxPlane_);
    Clear(viewPlane_);
    Clear(countPlane_);
    Clear(hintPlane_);
    for (int fox = 0; fox < foxCount_; ++fox)
        HideFox();
}

void TPuzzle::HideFox() {
    const int n = fieldSize_;
    int row = 0;
    int col = 0;
    do {
        row = random_.Next(n) + 1;
        col = random_.Next(n) + 1;
        // A number outside 0..n-1 from a faulty source is discarded like a taken cell.
    } while (!Inside(row, col) || foxPlane_[row][col] != fpFree);
    foxPlane_[row][col] = fpFox;
    for (int r = row - 1; r <= row + 1; ++r)
        for (int c = col - 1; c <= col + 1; ++c)
            if ((r != row || c != col) && Inside(r, c))
                foxPlane_[r][c] = fpNearFox;
}

void TPuzzle::HitTest(int x, int y, int& row, int& col) {
    const TCell cell = CellAt(x, y);
    row = cell.Row;
    col = cell.Col;
}

void TPuzzle::MouseMove(int x, int y) {
    HitTest(x, y, hotRow_, hotCol_);
}

void TPuzzle::MarkNeighbours(int row, int col) {
    for (int r = row - 1; r <= row + 1; ++r)
        for (int c = col - 1; c <= col + 1; ++c)
            if ((r != row || c != col) && Inside(r, c))
                hintPlane_[r][c] = 1;
}

void TPuzzle::MarkLines(int row, int col) {
    for (int r = 1; r <= fieldSize_; ++r)
        for (int c = 1; c <= fieldSize_; ++c)
            if (OnAnyLine({row, col}, {r, c}))
                hintPlane_[r][c] = 1;
}

void TPuzzle::MarkOffLines(int row, int col) {
    for (int r = 1; r <= fieldSize_; ++r)
        for (int c = 1; c <= fieldSize_; ++c)
            if (!OnAnyLine({row, col}, {r, c}))
                hintPlane_[r][c] = 1;
}

void TPuzzle::MarkCompleteLines() {
    for (int i = 1; i <= fieldSize_; ++i) {
        for (int j = 1; j <= fieldSize_; ++j) {
            if (viewPlane_[i][j] != vsOpened)
                continue;
            const int seen = countPlane_[i][j];
            // A count equal to the field size is left alone, whatever the fox count.
            if (seen != 0 && seen != fieldSize_ && GetM(i, j) == seen)
                MarkLines(i, j);
        }
    }
}

TMoveResult TPuzzle::OpenCell(int row, int col) {
    TMoveResult move;
    if (!started_ || finished_)
        return move;
    hotRow_ = row;
    hotCol_ = col;
    if (!Inside(row, col))
        return move;

    if (foxPlane_[row][col] == fpFox) {
        move.FoundFox = true;
        if (viewPlane_[row][col] != vsFound) {
            ++foundCount_;
            ++stepCount_;
            move.Step = true;
        }
        viewPlane_[row][col] = vsFound;
        MarkNeighbours(row, col);
    } else {
        if (viewPlane_[row][col] != vsOpened) {
            ++stepCount_;
            move.Step = true;
        }
        viewPlane_[row][col] = vsOpened;
        const int seen = GetN(row, col);
        if (seen == 0)
            MarkLines(row, col);
        if (seen == foxCount_)
            MarkOffLines(row, col);
        countPlane_[row][col] = seen;
    }
    MarkCompleteLines();

    if (foundCount_ == foxCount_) {
        finished_ = true;
        endTime_ = clock_.Now();
        move.Solved = true;
        move.Result = TPuzzleResult{fieldSize_, foxCount_, stepCount_, Elapsed(endTime_)};
    }
    return move;
}

double TPuzzle::Elapsed(double now) const {
    if (!started_)
        return 0.0;
    return ElapsedBetween(startTime_, finished_ ? endTime_ : now);
}

void TPuzzle::MoveCurrentCell(int rows, int cols) {
    if (!Inside(hotRow_, hotCol_)) {
        hotRow_ = 1;
        hotCol_ = 1;
        return;
    }
    hotRow_ = std::clamp(hotRow_ + rows, 1, fieldSize_);
    hotCol_ = std::clamp(hotCol_ + cols, 1, fieldSize_);
}

void TPuzzle::MoveCurrentCellTo(TCell cell) {
    if (!Inside(cell.Row, cell.Col))
        return;
    hotRow_ = cell.Row;
    hotCol_ = cell.Col;
}

void TPuzzle::JumpCurrentCell(TJump jump) {
    const TCell from = Inside(hotRow_, hotCol_) ? TCell{hotRow_, hotCol_} : TCell{1, 1};
    MoveCurrentCellTo(JumpTarget(fieldSize_, from, jump));
}

} // namespace tarnell
