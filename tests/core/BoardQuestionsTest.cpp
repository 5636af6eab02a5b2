// What a player by ear asks of the board in one key: which plates may hide a fox, the next
// one in reading order, the jumps to the ends of a row, a column and the board, and the four
// lines of a plate, all worked out by hand on the field of the worked example.
#include "core/BoardGeometry.h"
#include "tests/support/ScriptedSources.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarnell {

using testsupport::Game;

namespace {

using Cells = std::vector<TCell>;

// The worked example's field, N = 5 with foxes at (1, 1), (3, 4) and (5, 2), after its first
// two moves: (2, 3) opened with count 1, then the fox (3, 4) found. The marks are the fox's
// eight neighbours and the four lines of (2, 3); the plates that still may hide a fox while
// the hints are shown are these eight:
//   row 1: (1, 1) (1, 5); row 3: (3, 1); row 4: (4, 2); row 5: (5, 1) (5, 2) (5, 4) (5, 5).
class ExampleBoard : public ::testing::Test {
protected:
    void SetUp() override {
        game_.Hide(5, {{1, 1}, {3, 4}, {5, 2}});
        game_.puzzle.OpenCell(2, 3);
        game_.puzzle.OpenCell(3, 4);
    }
    TPuzzle& puzzle() { return game_.puzzle; }
    std::optional<TCell> nextFrom(TCell from, bool forward, bool showHints = true) {
        puzzle().MoveCurrentCellTo(from);
        return puzzle().NextMayHideFox(forward, showHints);
    }
    // No current cell: the pointer left the field beside its lower edges.
    void leaveTheField() { puzzle().MouseMove(200, 224); }

    Game game_;
};

TEST_F(ExampleBoard, APlateMayHideAFoxWhenCoveredAndNotProvenFoxFreeWhileHintsAreShown) {
    const Cells expected = {{1, 1}, {1, 5}, {3, 1}, {4, 2}, {5, 1}, {5, 2}, {5, 4}, {5, 5}};
    Cells shown;
    for (int row = 1; row <= 5; ++row)
        for (int col = 1; col <= 5; ++col)
            if (puzzle().MayHideFox(row, col, true))
                shown.push_back({row, col});
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(puzzle().MayHideFoxCount(true), 8);
    // With the hints hidden every covered plate may: all but the opened one and the fox.
    EXPECT_EQ(puzzle().MayHideFoxCount(false), 23);
    EXPECT_TRUE(puzzle().MayHideFox(2, 4, false)) << "a proven plate, hints hidden";
    EXPECT_FALSE(puzzle().MayHideFox(2, 3, false)) << "opened";
    EXPECT_FALSE(puzzle().MayHideFox(3, 4, false)) << "found";
    EXPECT_FALSE(puzzle().MayHideFox(0, 3, false));
    EXPECT_FALSE(puzzle().MayHideFox(6, 6, false)) << "beyond the field, inside the planes";
}

TEST_F(ExampleBoard, NextAndPreviousGoInReadingOrderAndWrapAroundTheBoard) {
    EXPECT_EQ(nextFrom({3, 4}, true), TCell(4, 2)) << "past the proven (3, 5) and (4, 1)";
    EXPECT_EQ(nextFrom({3, 4}, false), TCell(3, 1));
    EXPECT_EQ(nextFrom({1, 1}, true), TCell(1, 5)) << "a plate that may hide a fox is left";
    EXPECT_EQ(nextFrom({5, 4}, true), TCell(5, 5));
    EXPECT_EQ(nextFrom({5, 5}, true), TCell(1, 1)) << "from the last plate on to the first";
    EXPECT_EQ(nextFrom({5, 3}, true), TCell(5, 4));
    EXPECT_EQ(nextFrom({1, 1}, false), TCell(5, 5)) << "from the first plate back to the last";
    EXPECT_EQ(nextFrom({1, 3}, false), TCell(1, 1));
    EXPECT_EQ(nextFrom({2, 2}, false), TCell(1, 5));
    // The question moves nothing.
    puzzle().MoveCurrentCellTo({2, 2});
    puzzle().NextMayHideFox(true, true);
    EXPECT_EQ(TCell(puzzle().HotRow(), puzzle().HotCol()), TCell(2, 2));

    // The hints hidden: the proven plates count again.
    EXPECT_EQ(nextFrom({3, 4}, true, false), TCell(3, 5));
    EXPECT_EQ(nextFrom({3, 4}, false, false), TCell(3, 3));
    EXPECT_EQ(nextFrom({2, 2}, true, false), TCell(2, 4)) << "(2, 3) is opened";
    EXPECT_EQ(nextFrom({5, 5}, true, false), TCell(1, 1));
}

TEST_F(ExampleBoard, WithNoCurrentPlateNextStartsBeforeTheFirstAndPreviousAfterTheLast) {
    leaveTheField();
    EXPECT_EQ(puzzle().NextMayHideFox(true, true), TCell(1, 1));
    EXPECT_EQ(puzzle().NextMayHideFox(false, true), TCell(5, 5));
    // Covered or not, (1, 1) and (5, 5) are not the answer by default: open them and look.
    game_.Hide(5, {{1, 1}, {3, 4}, {5, 2}});
    puzzle().OpenCell(5, 5);
    puzzle().OpenCell(1, 1);
    leaveTheField();
    EXPECT_EQ(puzzle().NextMayHideFox(true, false), TCell(1, 2));
    EXPECT_EQ(puzzle().NextMayHideFox(false, false), TCell(5, 4));
    // Before the first puzzle every plate of the empty board is covered.
    Game fresh;
    fresh.puzzle.Reset(6, 2);
    EXPECT_EQ(fresh.puzzle.NextMayHideFox(true, true), TCell(1, 1));
    EXPECT_EQ(fresh.puzzle.NextMayHideFox(false, true), TCell(6, 6));
    EXPECT_EQ(fresh.puzzle.MayHideFoxCount(true), 36);
}

TEST(BoardQuestionsTest, WhenNoPlateMayHideAFoxThereIsNoNextAndALastPlateIsItsOwnNext) {
    // 3 x 3 with its fox in the middle: finding it proves all eight others fox-free.
    Game game;
    game.Hide(3, {{2, 2}});
    game.puzzle.OpenCell(2, 2);
    EXPECT_EQ(game.puzzle.MayHideFoxCount(true), 0);
    EXPECT_EQ(game.puzzle.NextMayHideFox(true, true), std::nullopt);
    EXPECT_EQ(game.puzzle.NextMayHideFox(false, true), std::nullopt);
    EXPECT_EQ(game.puzzle.NextMayHideFox(true, false), TCell(2, 3)) << "the hints hidden";

    // The one plate left that may hide a fox is the next one also from itself.
    Game last;
    last.Hide(3, {{1, 1}});
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 3; ++col)
            if (TCell{row, col} != TCell{3, 2} && TCell{row, col} != TCell{1, 1})
                last.puzzle.OpenCell(row, col);
    last.puzzle.OpenCell(1, 1); // solved; (3, 2) is still covered with the hints hidden
    last.puzzle.MoveCurrentCellTo({3, 2});
    EXPECT_EQ(last.puzzle.NextMayHideFox(true, false), TCell(3, 2));
    EXPECT_EQ(last.puzzle.NextMayHideFox(false, false), TCell(3, 2));
}

TEST(BoardQuestionsTest, JumpsGoToTheEndsOfTheRowTheColumnAndTheBoardAndStayAtTheEdges) {
    Game game;
    game.puzzle.Reset(7, 3);
    TPuzzle& puzzle = game.puzzle;
    const auto jump = [&puzzle](TCell from, TJump to) {
        puzzle.MoveCurrentCellTo(from);
        puzzle.JumpCurrentCell(to);
        return TCell{puzzle.HotRow(), puzzle.HotCol()};
    };
    EXPECT_EQ(jump({3, 5}, TJump::RowStart), TCell(3, 1));
    EXPECT_EQ(jump({3, 5}, TJump::RowEnd), TCell(3, 7));
    EXPECT_EQ(jump({3, 5}, TJump::ColumnTop), TCell(1, 5));
    EXPECT_EQ(jump({3, 5}, TJump::ColumnBottom), TCell(7, 5));
    EXPECT_EQ(jump({3, 5}, TJump::BoardStart), TCell(1, 1));
    EXPECT_EQ(jump({3, 5}, TJump::BoardEnd), TCell(7, 7));
    // At the edge a jump stays where it is.
    EXPECT_EQ(jump({3, 1}, TJump::RowStart), TCell(3, 1));
    EXPECT_EQ(jump({3, 7}, TJump::RowEnd), TCell(3, 7));
    EXPECT_EQ(jump({1, 5}, TJump::ColumnTop), TCell(1, 5));
    EXPECT_EQ(jump({7, 5}, TJump::ColumnBottom), TCell(7, 5));
    EXPECT_EQ(jump({1, 1}, TJump::BoardStart), TCell(1, 1));
    EXPECT_EQ(jump({7, 7}, TJump::BoardEnd), TCell(7, 7));
    EXPECT_EQ(jump({7, 1}, TJump::RowEnd), TCell(7, 7));
    EXPECT_EQ(jump({1, 7}, TJump::ColumnBottom), TCell(7, 7));
    // With no current plate every jump starts from the top plate.
    const std::pair<TJump, TCell> fromTheTop[] = {
        {TJump::RowStart, {1, 1}},     {TJump::RowEnd, {1, 7}},     {TJump::ColumnTop, {1, 1}},
        {TJump::ColumnBottom, {7, 1}}, {TJump::BoardStart, {1, 1}}, {TJump::BoardEnd, {7, 7}}};
    for (const auto& [to, expected] : fromTheTop) {
        puzzle.MouseMove(200, 224);
        ASSERT_FALSE(puzzle.Inside(puzzle.HotRow(), puzzle.HotCol()));
        puzzle.JumpCurrentCell(to);
        EXPECT_EQ(TCell(puzzle.HotRow(), puzzle.HotCol()), expected) << static_cast<int>(to);
    }
    // A cell outside the field is never made current.
    puzzle.MoveCurrentCellTo({2, 2});
    puzzle.MoveCurrentCellTo({8, 2});
    EXPECT_EQ(TCell(puzzle.HotRow(), puzzle.HotCol()), TCell(2, 2));
}

TEST(BoardQuestionsTest, TheLinesOfAPlateInReadingOrderWithTheCornersOwnDiagonals) {
    EXPECT_EQ(LineCells(5, {3, 4}, TLine::Row), (Cells{{3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}}));
    EXPECT_EQ(LineCells(5, {3, 4}, TLine::Column), (Cells{{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}}));
    // Falling: through (r - 1, c - 1) and (r + 1, c + 1); rising: through (r + 1, c - 1).
    EXPECT_EQ(LineCells(5, {3, 4}, TLine::Falling), (Cells{{1, 2}, {2, 3}, {3, 4}, {4, 5}}));
    EXPECT_EQ(LineCells(5, {3, 4}, TLine::Rising), (Cells{{2, 5}, {3, 4}, {4, 3}, {5, 2}}));
    // A corner is a diagonal of its own on one side and on the long diagonal on the other.
    EXPECT_EQ(LineCells(5, {1, 5}, TLine::Falling), (Cells{{1, 5}}));
    EXPECT_EQ(LineCells(5, {1, 5}, TLine::Rising), (Cells{{1, 5}, {2, 4}, {3, 3}, {4, 2}, {5, 1}}));
    EXPECT_EQ(LineCells(5, {1, 1}, TLine::Rising), (Cells{{1, 1}}));
    EXPECT_EQ(LineCells(5, {5, 5}, TLine::Falling).size(), 5u);
    EXPECT_EQ(LineCells(5, {5, 1}, TLine::Falling), (Cells{{5, 1}}));
}

TEST_F(ExampleBoard, ALineViewNamesItsPlatesThatMayHideAFoxAndCountsItsFoundFoxes) {
    using View = TPuzzle::TLineView;
    const auto view = [this](TCell cell, TLine line, bool hints = true) {
        const View seen = puzzle().LineView(cell.Row, cell.Col, line, hints);
        EXPECT_EQ(seen.Line, line);
        return std::make_pair(seen.MayHideFox, seen.FoundFoxes);
    };
    // The fox found: on each of its own lines, counted like any other plate.
    EXPECT_EQ(view({3, 4}, TLine::Row), std::make_pair(Cells{{3, 1}}, 1));
    EXPECT_EQ(view({3, 4}, TLine::Column), std::make_pair(Cells{{5, 4}}, 1));
    EXPECT_EQ(view({3, 4}, TLine::Falling), std::make_pair(Cells{}, 1)) << "nothing left on it";
    EXPECT_EQ(view({3, 4}, TLine::Rising), std::make_pair(Cells{{5, 2}}, 1));
    // A corner: its falling diagonal is itself.
    EXPECT_EQ(view({1, 5}, TLine::Row), std::make_pair(Cells{{1, 1}, {1, 5}}, 0));
    EXPECT_EQ(view({1, 5}, TLine::Column), std::make_pair(Cells{{1, 5}, {5, 5}}, 0));
    EXPECT_EQ(view({1, 5}, TLine::Falling), std::make_pair(Cells{{1, 5}}, 0));
    EXPECT_EQ(view({1, 5}, TLine::Rising), std::make_pair(Cells{{1, 5}, {4, 2}, {5, 1}}, 0));
    // The hints hidden: every covered plate.
    EXPECT_EQ(view({1, 5}, TLine::Rising, false),
              std::make_pair(Cells{{1, 5}, {2, 4}, {3, 3}, {4, 2}, {5, 1}}, 0));
    EXPECT_EQ(view({2, 3}, TLine::Row, false),
              std::make_pair(Cells{{2, 1}, {2, 2}, {2, 4}, {2, 5}}, 0));
    EXPECT_EQ(view({6, 1}, TLine::Row), std::make_pair(Cells{}, 0)) << "beyond the field";
}

} // namespace

} // namespace tarnell
