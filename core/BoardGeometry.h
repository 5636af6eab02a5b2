// Where the cells of the board stand in the field area, which cell a point of the field area
// falls on, and which cells share a line with a cell: the board's shape, for the renderer, the
// hit test, the hint rules and the keys.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace tarnell {

// A pixel of the field area: x to the right, y downwards, from its top-left corner.
struct TFieldPixel {
    int X = 0;
    int Y = 0;
    friend constexpr bool operator==(TFieldPixel, TFieldPixel) = default;
};

// A cell by row and column; the hit test may give values outside 1..N.
struct TCell {
    int Row = 0;
    int Col = 0;
    friend constexpr bool operator==(TCell, TCell) = default;
};

// The cell origin of (1, 1), the top-left corner of the box of the board's top plate; it
// stands at the same place for every field size.
constexpr TFieldPixel FieldOrigin{180, 15};
// One column further moves a cell by (ColumnStep.X, ColumnStep.Y), one row further by
// (-ColumnStep.X, ColumnStep.Y): the row grows towards the lower left, the column towards the
// lower right.
constexpr TFieldPixel ColumnStep{20, 10};
// From the cell origin: the diamond's top corner is at (20, 0), its left and right corners at
// (0, 10) and (40, 10), its bottom corner at (20, 20). The region that selects a cell is its
// diamond moved down by about a pixel, so its centre lies one pixel below the diamond's.
constexpr TFieldPixel CentreOffset{20, 11};

// Top-left corner of the box of the plate of cell (row, col).
constexpr TFieldPixel CellOrigin(int row, int col) {
    return {FieldOrigin.X + ColumnStep.X * (col - row),
            FieldOrigin.Y + ColumnStep.Y * (row - 1 + col - 1)};
}

// The point that stands for a cell: the pointer there selects it.
constexpr TFieldPixel CellCentre(int row, int col) {
    const TFieldPixel origin = CellOrigin(row, col);
    return {origin.X + CentreOffset.X, origin.Y + CentreOffset.Y};
}

// The cell under a point of the field area, the placement inverted. On the skewed axes
// 2y - x (which only a row changes) and x + 2y (which only a column changes) each cell covers
// one band of 40, with its centre in the middle of the band. Integer division truncates
// towards zero, which makes the strips just beyond the two upper edges part of row 1 and
// column 1; beyond the lower edges the results pass N. 64-bit, so that no pointer position
// can overflow.
constexpr TCell CellAt(int x, int y) {
    constexpr int64_t Band = ColumnStep.X + 2 * ColumnStep.Y;
    static_assert(ColumnStep.X == 2 * ColumnStep.Y, "a row step must keep x + 2y");
    constexpr TFieldPixel first = CellCentre(1, 1);
    constexpr int64_t RowOffset = Band / 2 - (2 * first.Y - first.X); // 168
    constexpr int64_t ColOffset = first.X + 2 * first.Y - Band / 2;   // 232
    const int64_t X = x;
    const int64_t Y = y;
    const auto clamp = [](int64_t value) {
        return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    };
    return {clamp((2 * Y - X + RowOffset) / Band + 1), clamp((X + 2 * Y - ColOffset) / Band + 1)};
}

// The four lines of a cell, on which its sighting count is counted: its row, its column, its
// falling diagonal (through (row - 1, col - 1) and (row + 1, col + 1)) and its rising diagonal
// (through (row + 1, col - 1) and (row - 1, col + 1)).
enum class TLine { Row, Column, Falling, Rising };
constexpr std::array<TLine, 4> AllLines{TLine::Row, TLine::Column, TLine::Falling, TLine::Rising};

// Whether other lies on the given line of cell.
constexpr bool OnLine(TLine line, TCell cell, TCell other) {
    switch (line) {
    case TLine::Row:
        return other.Row == cell.Row;
    case TLine::Column:
        return other.Col == cell.Col;
    case TLine::Falling:
        return other.Row - other.Col == cell.Row - cell.Col;
    case TLine::Rising:
        return other.Row + other.Col == cell.Row + cell.Col;
    }
    return false;
}

// Whether other lies on any of the four lines of cell (the cell itself does).
constexpr bool OnAnyLine(TCell cell, TCell other) {
    return std::any_of(AllLines.begin(), AllLines.end(),
                       [&](TLine line) { return OnLine(line, cell, other); });
}

// The cells of a line of cell on a size x size board, in reading order (row by row, and
// within a row column by column); the cell itself among them.
inline std::vector<TCell> LineCells(int size, TCell cell, TLine line) {
    std::vector<TCell> cells;
    for (int row = 1; row <= size; ++row)
        for (int col = 1; col <= size; ++col)
            if (OnLine(line, cell, {row, col}))
                cells.push_back({row, col});
    return cells;
}

// Where the keys jump on a size x size board: the first and last cell of the cell's row, the
// top and bottom cell of its column, and the first and last cell of the board.
enum class TJump { RowStart, RowEnd, ColumnTop, ColumnBottom, BoardStart, BoardEnd };
constexpr TCell JumpTarget(int size, TCell cell, TJump jump) {
    switch (jump) {
    case TJump::RowStart:
        return {cell.Row, 1};
    case TJump::RowEnd:
        return {cell.Row, size};
    case TJump::ColumnTop:
        return {1, cell.Col};
    case TJump::ColumnBottom:
        return {size, cell.Col};
    case TJump::BoardStart:
        return {1, 1};
    case TJump::BoardEnd:
        return {size, size};
    }
    return cell;
}

} // namespace tarnell
