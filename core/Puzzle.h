// The puzzle core: the field, the hidden foxes, the moves with their hint rules,
// the clock instants and the step counter. Plain C++: no windows, no files, no clock.
#pragma once

#include "BoardGeometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarnell {

constexpr int MinFieldSize = 3;
constexpr int MaxFieldSize = 10;
constexpr int DefaultSetupSize = 8;  // settings value "Fin"
constexpr int DefaultSetupFoxes = 5; // settings value "Lim"

enum TFoxState : int32_t { fpFree = 0, fpFox = 1, fpNearFox = 2 };
enum TViewState : int32_t { vsCovered = 0, vsOpened = 1, vsFound = 2 };

// A 10 x 10 plane indexed 1..10 in both directions (index 0 is unused).
using TPlane = std::array<std::array<int32_t, MaxFieldSize + 1>, MaxFieldSize + 1>;

// The largest fox count allowed on a size x size field: size * size / 10, halves up.
int MaxFoxes(int size);

// Brings stored set-up values into range. A size outside MinFieldSize..MaxFieldSize
// becomes DefaultSetupSize; then a fox count outside 1..MaxFoxes(size) becomes
// DefaultSetupFoxes, lowered to MaxFoxes(size) where that is smaller. Values in range
// are kept as they are, so applying it twice changes nothing.
struct TSetup {
    int Size;
    int Foxes;
};
TSetup NormalizeSetup(int storedSize, int storedFoxes);

// The snapshot of a solved puzzle handed to the puzzle-solved dialog.
struct TPuzzleResult {
    int FieldSize = 0;
    int FoxCount = 0;
    int StepCount = 0;
    double Elapsed = 0.0; // days
};

// What a click on a cell did.
struct TMoveResult {
    bool FoundFox = false;               // the cell holds a fox (found now or before)
    bool Solved = false;                 // this click found the last fox
    std::optional<TPuzzleResult> Result; // set when Solved
    bool Step = false;                   // the click changed the cell and counted a step
};

// Uniform pseudo-random integers, handed in so tests are deterministic.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void Reseed(uint32_t seed) = 0;
    virtual int Next(int n) = 0; // uniform in 0..n-1
};

// The local time of day in days (millisecond resolution), handed in for the same reason.
class TimeOfDaySource {
public:
    virtual ~TimeOfDaySource() = default;
    virtual double Now() const = 0;
};

class TPuzzle {
public:
    TPuzzle(RandomSource& random, const TimeOfDaySource& clock);

    // --- state, read by the user interface ---
    int FieldSize() const { return fieldSize_; }
    int FoxCount() const { return foxCount_; }
    int SetupSize() const { return setupSize_; }
    int SetupFoxes() const { return setupFoxes_; }
    bool Started() const { return started_; }
    bool Finished() const { return finished_; }
    int FoundCount() const { return foundCount_; }
    int StepCount() const { return stepCount_; }
    double StartTime() const { return startTime_; }
    double EndTime() const { return endTime_; }
    int HotRow() const { return hotRow_; }
    int HotCol() const { return hotCol_; }
    const TPlane& FoxPlane() const { return foxPlane_; }
    const TPlane& ViewPlane() const { return viewPlane_; }
    const TPlane& CountPlane() const { return countPlane_; }
    const TPlane& HintPlane() const { return hintPlane_; }
    TViewState ViewState(int row, int col) const;
    int Count(int row, int col) const;
    bool Cleared(int row, int col) const;

    // Sighting counts over the four lines of a cell (1..N).
    int GetN(int row, int col) const; // foxes
    int GetM(int row, int col) const; // found foxes

    // --- what the board shows, as questions ---
    // A cell of the field may hide a fox when it is covered and, while the hints are shown,
    // the hint rules have not proven it fox-free: exactly what the screen shows.
    bool MayHideFox(int row, int col, bool showHints) const;
    int MayHideFoxCount(bool showHints) const;
    // The first cell that may hide a fox after the current cell in reading order (row by row,
    // within a row column by column), or before it, wrapping around the board; it may be the
    // current cell itself when no other may. With no current cell in the field the search
    // starts before the first cell going forward, after the last going back. Nothing when no
    // cell may hide a fox.
    std::optional<TCell> NextMayHideFox(bool forward, bool showHints) const;
    // One of the four lines of a cell as the board shows it: the cells on it that may hide
    // a fox, in reading order, and how many foxes are found on it.
    struct TLineView {
        TLine Line = TLine::Row;
        std::vector<TCell> MayHideFox;
        int FoundFoxes = 0;
    };
    TLineView LineView(int row, int col, TLine line, bool showHints) const;

    // --- set-up ---
    // Resets to the empty field shown at start: no puzzle, FieldSize = size.
    void Reset(int setupSize, int setupFoxes);
    // The set-up buttons stop at their limits; a size change lowers the set-up foxes to the
    // new size's maximum where they exceed it.
    void IncreaseSize();  // mybitbutn1Click
    void DecreaseSize();  // mybitbutn3Click
    void IncreaseFoxes(); // mybitbutn2Click
    void DecreaseFoxes(); // mybitbutn4Click
    // True when a puzzle runs unsolved and the player must be asked first;
    // otherwise generates at once and returns false.
    bool RequestNewPuzzle();
    void NewPuzzle();

    // --- moves ---
    // The cell under a point of the field area (see BoardGeometry.h); it may lie outside
    // the field.
    static void HitTest(int x, int y, int& row, int& col);
    void MouseMove(int x, int y); // PaintBox3MouseMove
    bool Inside(int row, int col) const;
    // While a puzzle is in progress: stores the cell in HotRow/HotCol, then finds or opens
    // it, applies the hint rules and ends the puzzle when the last fox is found; a cell
    // outside the field changes nothing else. Before the first puzzle and after the last fox
    // it does nothing at all.
    // A click of the player around it, in the window: nothing once Finished(); NewPuzzle
    // first while not Started(); the cell from HitTest; the CLICK sound when the cell lies
    // Inside the field; then OpenCell.
    TMoveResult OpenCell(int row, int col);

    // --- clock ---
    // Elapsed time of the running puzzle at the given instant, or of the solved one; never
    // negative.
    double Elapsed(double now) const;

    // --- keyboard ---
    // Moves the current cell by (rows, cols), stopping at the field's edges. With no current
    // cell in the field (none yet, or the pointer left it beside the board) the top cell
    // (1, 1) becomes current instead, whatever the direction.
    void MoveCurrentCell(int rows, int cols);
    // Makes a cell of the field the current cell; a cell outside it changes nothing.
    void MoveCurrentCellTo(TCell cell);
    // Jumps to an end of the current cell's row or column, or of the board; with no current
    // cell in the field the jump starts from the top cell (1, 1).
    void JumpCurrentCell(TJump jump);

private:
    template <typename Predicate> int CountLines(int row, int col, Predicate holds) const;
    void CapSetupFoxes();
    void HideFox();
    void MarkNeighbours(int row, int col);
    void MarkLines(int row, int col);
    void MarkOffLines(int row, int col);
    void MarkCompleteLines();

    RandomSource& random_;
    const TimeOfDaySource& clock_;
    TPlane foxPlane_{};
    TPlane viewPlane_{};
    TPlane countPlane_{};
    TPlane hintPlane_{};
    int fieldSize_ = DefaultSetupSize;
    int foxCount_ = 0;
    int setupSize_ = DefaultSetupSize;
    int setupFoxes_ = DefaultSetupFoxes;
    bool started_ = false;
    bool finished_ = false;
    int foundCount_ = 0;
    int stepCount_ = 0;
    double startTime_ = 0.0;
    double endTime_ = 0.0;
    int hotRow_ = 0;
    int hotCol_ = 0;
};

} // namespace tarnell
