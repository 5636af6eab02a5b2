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
    : Random_(random), Clock_(clock) {}

TViewState TPuzzle::ViewState(int row, int col) const {
    return Inside(row, col) ? static_cast<TViewState>(ViewPlane_[row][col]) : vsCovered;
}

int TPuzzle::Count(int row, int col) const {
    return Inside(row, col) ? CountPlane_[row][col] : 0;
}

bool TPuzzle::Cleared(int row, int col) const {
    return Inside(row, col) && HintPlane_[row][col] != 0;
}

// FieldSize_ never leaves MinFieldSize..MaxFieldSize (Reset normalises, the buttons stop
// at the limits), so a cell inside the field is always a cell of the planes.
bool TPuzzle::Inside(int row, int col) const {
    return row >= 1 && row <= FieldSize_ && col >= 1 && col <= FieldSize_;
}

// The walk over the column, the row, the falling and the rising diagonal of a cell,
// each line counted by itself, so the cell itself is visited four times.
template <typename Predicate> int TPuzzle::CountLines(int row, int col, Predicate holds) const {
    if (!Inside(row, col))
        return 0;
    const int n = FieldSize_;
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
    return CountLines(row, col, [this](int r, int c) { return FoxPlane_[r][c] == fpFox; });
}

int TPuzzle::GetM(int row, int col) const {
    return CountLines(row, col, [this](int r, int c) { return ViewPlane_[r][c] == vsFound; });
}

void TPuzzle::Reset(int setupSize, int setupFoxes) {
    // The caller hands normalised values; normalising again keeps an unchecked value
    // from ever sizing the field beyond the planes.
    const TSetup setup = NormalizeSetup(setupSize, setupFoxes);
    SetupSize_ = setup.Size;
    SetupFoxes_ = setup.Foxes;
    FieldSize_ = SetupSize_;
    FoxCount_ = 0;
    Started_ = false;
    Finished_ = false;
    FoundCount_ = 0;
    StepCount_ = 0;
    StartTime_ = 0.0;
    EndTime_ = 0.0;
    HotRow_ = 0;
    HotCol_ = 0;
    Clear(FoxPlane_);
    Clear(ViewPlane_);
    Clear(CountPlane_);
    Clear(HintPlane_);
}

void TPuzzle::IncreaseSize() {
    if (SetupSize_ < MaxFieldSize)
        ++SetupSize_;
    CapSetupFoxes();
}

void TPuzzle::DecreaseSize() {
    if (SetupSize_ > MinFieldSize)
        --SetupSize_;
    CapSetupFoxes();
}

void TPuzzle::CapSetupFoxes() {
    SetupFoxes_ = std::min(SetupFoxes_, MaxFoxes(SetupSize_));
}

void TPuzzle::IncreaseFoxes() {
    if (SetupFoxes_ < MaxFoxes(SetupSize_))
        ++SetupFoxes_;
}

void TPuzzle::DecreaseFoxes() {
    if (SetupFoxes_ > 1)
        --SetupFoxes_;
}

bool TPuzzle::RequestNewPuzzle() {
    if (Started_ && !Finished_)
        return true;
    NewPuzzle();
    return false;
}

void TPuzzle::NewPuzzle() {
    const double now = Clock_.Now();
    // A fresh sequence for every puzzle, from the millisecond of the day.
    Random_.Reseed(static_cast<uint32_t>(ElapsedMilliseconds(now)));
    Started_ = true;
    Finished_ = false;
    FoxCount_ = SetupFoxes_;
    FieldSize_ = SetupSize_;
    FoundCount_ = 0;
    StepCount_ = 0;
    StartTime_ = now;
    Clear(FoxPlane_);
    Clear(ViewPlane_);
    Clear(CountPlane_);
    Clear(HintPlane_);
    for (int fox = 0; fox < FoxCount_; ++fox)
        HideFox();
}

void TPuzzle::HideFox() {
    const int n = FieldSize_;
    int row = 0;
    int col = 0;
    do {
        row = Random_.Next(n) + 1;
        col = Random_.Next(n) + 1;
        // A number outside 0..n-1 from a faulty source is discarded like a taken cell.
    } while (!Inside(row, col) || FoxPlane_[row][col] != fpFree);
    FoxPlane_[row][col] = fpFox;
    for (int r = row - 1; r <= row + 1; ++r)
        for (int c = col - 1; c <= col + 1; ++c)
            if ((r != row || c != col) && Inside(r, c))
                FoxPlane_[r][c] = fpNearFox;
}

void TPuzzle::HitTest(int x, int y, int& row, int& col) {
    const TCell cell = CellAt(x, y);
    row = cell.Row;
    col = cell.Col;
}

void TPuzzle::MouseMove(int x, int y) {
    HitTest(x, y, HotRow_, HotCol_);
}

void TPuzzle::MarkNeighbours(int row, int col) {
    for (int r = row - 1; r <= row + 1; ++r)
        for (int c = col - 1; c <= col + 1; ++c)
            if ((r != row || c != col) && Inside(r, c))
                HintPlane_[r][c] = 1;
}

void TPuzzle::MarkLines(int row, int col) {
    for (int r = 1; r <= FieldSize_; ++r)
        for (int c = 1; c <= FieldSize_; ++c)
            if (r == row || c == col || r - c == row - col || r + c == row + col)
                HintPlane_[r][c] = 1;
}

void TPuzzle::MarkOffLines(int row, int col) {
    for (int r = 1; r <= FieldSize_; ++r)
        for (int c = 1; c <= FieldSize_; ++c)
            if (r != row && c != col && r - c != row - col && r + c != row + col)
                HintPlane_[r][c] = 1;
}

void TPuzzle::MarkCompleteLines() {
    for (int i = 1; i <= FieldSize_; ++i) {
        for (int j = 1; j <= FieldSize_; ++j) {
            if (ViewPlane_[i][j] != vsOpened)
                continue;
            const int seen = CountPlane_[i][j];
            // A count equal to the field size is left alone, whatever the fox count.
            if (seen != 0 && seen != FieldSize_ && GetM(i, j) == seen)
                MarkLines(i, j);
        }
    }
}

TMoveResult TPuzzle::OpenCell(int row, int col) {
    TMoveResult move;
    if (!Started_ || Finished_)
        return move;
    HotRow_ = row;
    HotCol_ = col;
    if (!Inside(row, col))
        return move;

    if (FoxPlane_[row][col] == fpFox) {
        move.FoundFox = true;
        if (ViewPlane_[row][col] != vsFound) {
            ++FoundCount_;
            ++StepCount_;
            move.Step = true;
        }
        ViewPlane_[row][col] = vsFound;
        MarkNeighbours(row, col);
    } else {
        if (ViewPlane_[row][col] != vsOpened) {
            ++StepCount_;
            move.Step = true;
        }
        ViewPlane_[row][col] = vsOpened;
        const int seen = GetN(row, col);
        if (seen == 0)
            MarkLines(row, col);
        if (seen == FoxCount_)
            MarkOffLines(row, col);
        CountPlane_[row][col] = seen;
    }
    MarkCompleteLines();

    if (FoundCount_ == FoxCount_) {
        Finished_ = true;
        EndTime_ = Clock_.Now();
        move.Solved = true;
        move.Result = TPuzzleResult{FieldSize_, FoxCount_, StepCount_, Elapsed(EndTime_)};
    }
    return move;
}

double TPuzzle::Elapsed(double now) const {
    if (!Started_)
        return 0.0;
    return ElapsedBetween(StartTime_, Finished_ ? EndTime_ : now);
}

} // namespace tarnell
