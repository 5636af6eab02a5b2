// Sighting counts, the hit test, moves with their hint rules, steps and the end of a puzzle.
#include "core/BoardGeometry.h"
#include "tests/support/FieldGeometry.h"
#include "tests/support/ScriptedSources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

namespace tarnell {

using testsupport::Cell;
using testsupport::Game;
using testsupport::Marks;

namespace {

using Grid = std::vector<std::string>;

const std::vector<Cell> ExampleFoxes = {{1, 1}, {3, 4}, {5, 2}};

Cell Hit(int x, int y) {
    int row = 0;
    int col = 0;
    TPuzzle::HitTest(x, y, row, col);
    return {row, col};
}

// The centre of the plate of a cell, from the tests' own copy of the placement.
Cell PlateCentre(int row, int col) {
    const QPoint centre = testsupport::cellCentre(row, col);
    return {centre.x(), centre.y()};
}

} // namespace

TEST(SightingTest, CountsTheFoxesOnTheFourLines) {
    Game game;
    game.Hide(5, ExampleFoxes);
    EXPECT_EQ(game.puzzle.GetN(3, 3), 2);
    EXPECT_EQ(game.puzzle.GetN(4, 3), 2);
    EXPECT_EQ(game.puzzle.GetN(2, 4), 1);
    EXPECT_EQ(game.puzzle.GetN(2, 3), 1);
    EXPECT_EQ(game.puzzle.GetN(1, 2), 3);
    EXPECT_EQ(game.puzzle.GetN(2, 5), 2); // both on its rising diagonal
}

TEST(SightingTest, AFoxCellCountsOncePerLineAlsoInTheCorners) {
    // Each corner is a diagonal of its own; the walk must visit it exactly once there.
    for (const Cell& corner : {Cell{1, 1}, Cell{1, 6}, Cell{6, 1}, Cell{6, 6}}) {
        Game game;
        game.Hide(6, {corner});
        EXPECT_EQ(game.puzzle.GetN(corner.first, corner.second), 4);
    }
}

TEST(SightingTest, FoundFoxesCountOnlyOnceFound) {
    Game game;
    game.Hide(5, ExampleFoxes);
    game.puzzle.OpenCell(1, 2);
    EXPECT_EQ(game.puzzle.GetM(1, 2), 0);
    game.puzzle.OpenCell(5, 2);
    EXPECT_EQ(game.puzzle.GetM(1, 2), 1);
    game.puzzle.OpenCell(3, 4);
    EXPECT_EQ(game.puzzle.GetM(1, 2), 2);
    EXPECT_EQ(game.puzzle.GetM(4, 3), 2);
    EXPECT_EQ(game.puzzle.GetM(2, 5), 2);
    EXPECT_EQ(game.puzzle.GetM(2, 1), 0);
}

// The program's placement and its centre against the tests' own copy, also for cells beside
// the field; the hit test of every centre from row and column 1 on (above them truncation
// gives 1 again) falls on its cell.
TEST(HitTestTest, ThePlacementIsTheOneTheTestsKnow) {
    for (int row = -1; row <= 12; ++row) {
        for (int col = -1; col <= 12; ++col) {
            const QPoint origin = testsupport::cellOrigin(row, col);
            const QPoint centre = testsupport::cellCentre(row, col);
            EXPECT_EQ(CellOrigin(row, col), (TFieldPixel{origin.x(), origin.y()}));
            EXPECT_EQ(CellCentre(row, col), (TFieldPixel{centre.x(), centre.y()}));
            if (row >= 1 && col >= 1) {
                EXPECT_EQ(Hit(centre.x(), centre.y()), Cell(row, col)) << row << "," << col;
            }
        }
    }
}

// Beyond the lower edge of row 10 (moving by (-2, 1)) the row passes 10 and the column stays;
// beyond the lower edge of column 10 (moving by (2, 1)) the other way round.
TEST(HitTestTest, BeyondTheLowerEdgesNothingIsHit) {
    for (int i = 1; i <= 10; ++i) {
        for (const bool pastRows : {true, false}) {
            const auto [x, y] = pastRows ? PlateCentre(10, i) : PlateCentre(i, 10);
            for (int k = 5; k <= 40; ++k) {
                const Cell hit = Hit(x + (pastRows ? -2 : 2) * k, y + k);
                EXPECT_GE(pastRows ? hit.first : hit.second, 11);
                EXPECT_EQ(pastRows ? hit.second : hit.first, i);
            }
        }
    }
}

// Truncation towards zero makes the strips just beyond the upper edges part of row 1 and
// column 1, which the reference's std::trunc keeps too.
TEST(HitTestTest, AgreesWithTheSkewedAxesInFloatingPointOverTheFieldArea) {
    for (int x = -20; x <= 420; ++x) {
        for (int y = -20; y <= 245; ++y) {
            const double u = (2.0 * y - x) / 4.0 + 180.0;
            const double v = (x + 2.0 * y) / 4.0 + 15.0;
            const Cell expected(static_cast<int>(std::trunc((u - 138.0) / 10.0)) + 1,
                                static_cast<int>(std::trunc((v - 73.0) / 10.0)) + 1);
            ASSERT_EQ(Hit(x, y), expected) << x << "," << y;
        }
    }
}

TEST(HitTestTest, ExtremePositionsDoNotOverflow) {
    const Cell far = Hit(INT_MIN, INT_MAX);
    EXPECT_GT(far.first, 10);
    const Cell near = Hit(INT_MAX, INT_MIN);
    EXPECT_LT(near.first, 1);
    EXPECT_LT(near.second, 1);
}

TEST(CurrentCellTest, KeysMoveByRowAndColumnStoppingAtTheEdges) {
    Game game;
    game.puzzle.Reset(4, 1);
    const auto current = [&game] { return Cell(game.puzzle.HotRow(), game.puzzle.HotCol()); };
    // With no current cell the first move, whatever its direction, makes the top cell current.
    game.puzzle.MoveCurrentCell(0, -1);
    EXPECT_EQ(current(), Cell(1, 1));
    game.puzzle.MoveCurrentCell(-1, 0);
    EXPECT_EQ(current(), Cell(1, 1));
    game.puzzle.MoveCurrentCell(1, 0);
    game.puzzle.MoveCurrentCell(0, 1);
    EXPECT_EQ(current(), Cell(2, 2));
    for (int i = 0; i < 5; ++i)
        game.puzzle.MoveCurrentCell(1, 1);
    EXPECT_EQ(current(), Cell(4, 4));
    // A pointer beside the board leaves no current cell: the next key starts at the top again.
    game.puzzle.MouseMove(200, 224);
    EXPECT_EQ(current(), Cell(11, 11));
    game.puzzle.MoveCurrentCell(0, 1);
    EXPECT_EQ(current(), Cell(1, 1));
    // The pointer sets the current cell in every state, and the keys go on from it, also on a
    // solved puzzle.
    game.Hide(4, {{4, 4}});
    game.puzzle.OpenCell(4, 4);
    ASSERT_TRUE(game.puzzle.Finished());
    game.puzzle.MouseMove(PlateCentre(2, 3).first, PlateCentre(2, 3).second);
    EXPECT_EQ(current(), Cell(2, 3));
    game.puzzle.MoveCurrentCell(0, -1);
    EXPECT_EQ(current(), Cell(2, 2));
}

// The worked example, move by move.
TEST(MoveTest, WorkedExample) {
    Game game;
    game.Hide(5, ExampleFoxes);
    TPuzzle& p = game.puzzle;

    TMoveResult move = p.OpenCell(2, 3);
    EXPECT_FALSE(move.FoundFox);
    EXPECT_TRUE(move.Step);
    EXPECT_FALSE(move.Solved);
    EXPECT_FALSE(move.Result.has_value());
    EXPECT_EQ(p.ViewState(2, 3), vsOpened);
    EXPECT_EQ(p.Count(2, 3), 1);
    EXPECT_EQ(p.StepCount(), 1);
    EXPECT_EQ(p.FoundCount(), 0);
    EXPECT_EQ(Marks(p), Grid({".....", ".....", ".....", ".....", "....."}));

    move = p.OpenCell(3, 4);
    EXPECT_TRUE(move.FoundFox);
    EXPECT_TRUE(move.Step);
    EXPECT_EQ(p.ViewState(3, 4), vsFound);
    EXPECT_EQ(p.FoundCount(), 1);
    EXPECT_EQ(p.StepCount(), 2);
    EXPECT_EQ(TwoDigits(p.FoundCount()), "01");
    // The neighbours of (3, 4), and the four lines of the complete (2, 3).
    EXPECT_EQ(Marks(p), Grid({".XXX.", "XXXXX", ".XXXX", "X.XXX", "..X.."}));

    move = p.OpenCell(1, 2);
    EXPECT_EQ(p.Count(1, 2), 3);
    EXPECT_EQ(p.StepCount(), 3);
    // Everything off the lines of (1, 2); (1, 2) itself is not complete, so (1, 5) and
    // (4, 2) stay unmarked.
    EXPECT_EQ(Marks(p), Grid({".XXX.", "XXXXX", "XXXXX", "X.XXX", "X.XXX"}));

    move = p.OpenCell(1, 1);
    EXPECT_TRUE(move.FoundFox);
    EXPECT_FALSE(move.Solved);
    EXPECT_EQ(p.FoundCount(), 2);
    EXPECT_EQ(Marks(p), Grid({".XXX.", "XXXXX", "XXXXX", "X.XXX", "X.XXX"}));

    game.clock.Advance(83450);
    const double end = game.clock.now_;
    move = p.OpenCell(5, 2);
    EXPECT_TRUE(move.FoundFox);
    EXPECT_TRUE(move.Solved);
    EXPECT_TRUE(p.Finished());
    EXPECT_EQ(p.EndTime(), end);
    ASSERT_TRUE(move.Result.has_value());
    EXPECT_EQ(move.Result->FieldSize, 5);
    EXPECT_EQ(move.Result->FoxCount, 3);
    EXPECT_EQ(move.Result->StepCount, 5);
    EXPECT_EQ(ElapsedMilliseconds(move.Result->Elapsed), 83450);
    EXPECT_EQ(ClockText(move.Result->Elapsed), "01:23,4");
    // On the solving move (1, 2) is complete; a count equal to the fox count (3) is
    // handled, only one equal to the field size (5) is not.
    EXPECT_EQ(Marks(p), Grid({"XXXXX", "XXXXX", "XXXXX", "XXXXX", "XXXXX"}));
}

TEST(MoveTest, AFoxMarksItsNeighboursInsideTheField) {
    Game game;
    game.Hide(5, {{1, 1}, {3, 5}});
    game.puzzle.OpenCell(1, 1);
    EXPECT_EQ(Marks(game.puzzle), Grid({".X...", "XX...", ".....", ".....", "....."}));
    game.puzzle.OpenCell(3, 5);
    EXPECT_EQ(Marks(game.puzzle), Grid({".X...", "XX.XX", "...X.", "...XX", "....."}));
    // Nothing is written outside the field.
    for (int i = 0; i <= MaxFieldSize; ++i) {
        EXPECT_EQ(game.puzzle.HintPlane()[0][i], 0);
        EXPECT_EQ(game.puzzle.HintPlane()[i][0], 0);
        EXPECT_EQ(game.puzzle.HintPlane()[6][i], 0);
        EXPECT_EQ(game.puzzle.HintPlane()[i][6], 0);
    }
}

TEST(MoveTest, AnEmptyCellMarksItsFourLines) {
    Game game;
    game.Hide(6, {{1, 1}});
    game.puzzle.OpenCell(2, 4);
    EXPECT_EQ(game.puzzle.Count(2, 4), 0);
    EXPECT_EQ(Marks(game.puzzle),
              Grid({"..XXX.", "XXXXXX", "..XXX.", ".X.X.X", "X..X..", "...X.."}));
}

TEST(MoveTest, ACellSeeingAllFoxesMarksEverythingOffItsLines) {
    Game game;
    game.Hide(6, {{1, 1}, {4, 6}, {6, 4}});
    game.puzzle.OpenCell(4, 4);
    EXPECT_EQ(game.puzzle.Count(4, 4), 3);
    EXPECT_EQ(Marks(game.puzzle),
              Grid({".XX.XX", "X.X.X.", "XX...X", "......", "XX...X", "X.X.X."}));
}

TEST(MoveTest, LinesCompleteOnTheMoveThatFindsTheLastFoxTheCellSees) {
    Game game;
    game.Hide(5, ExampleFoxes);
    game.puzzle.OpenCell(3, 3);
    ASSERT_EQ(game.puzzle.Count(3, 3), 2);
    game.puzzle.OpenCell(3, 4);
    EXPECT_EQ(Marks(game.puzzle), Grid({".....", "..XXX", "..X.X", "..XXX", "....."}));
    game.puzzle.OpenCell(1, 1);
    // The lines of (3, 3), found foxes included, join the neighbours of both foxes.
    EXPECT_EQ(Marks(game.puzzle), Grid({"XXX.X", "XXXXX", "XXXXX", ".XXXX", "X.X.X"}));
}

TEST(MoveTest, ACountEqualToTheFieldSizeIsNeverComplete) {
    // (1, 1) sees all ten foxes: four on its row, four on its column, two on its diagonal.
    const std::vector<Cell> foxes = {{1, 3}, {1, 5}, {1, 7}, {1, 9}, {3, 1},
                                     {5, 1}, {7, 1}, {9, 1}, {3, 3}, {5, 5}};
    Game game;
    game.Hide(10, foxes);
    game.puzzle.OpenCell(1, 1);
    ASSERT_EQ(game.puzzle.Count(1, 1), 10);
    TMoveResult move;
    for (const auto& [r, c] : foxes)
        move = game.puzzle.OpenCell(r, c);
    ASSERT_TRUE(move.Solved);
    // On the diagonal of (1, 1), away from every fox, nothing marks these cells.
    for (int i = 7; i <= 10; ++i)
        EXPECT_FALSE(game.puzzle.Cleared(i, i)) << i;
    EXPECT_FALSE(game.puzzle.Cleared(1, 3));
}

TEST(MoveTest, RepeatedClicksCountNoStep) {
    Game game;
    game.Hide(5, ExampleFoxes);
    TMoveResult move = game.puzzle.OpenCell(2, 3);
    EXPECT_TRUE(move.Step);
    move = game.puzzle.OpenCell(2, 3);
    EXPECT_FALSE(move.Step);
    EXPECT_EQ(game.puzzle.StepCount(), 1);
    EXPECT_EQ(game.puzzle.Count(2, 3), 1);
    move = game.puzzle.OpenCell(3, 4);
    EXPECT_EQ(game.puzzle.StepCount(), 2);
    move = game.puzzle.OpenCell(3, 4);
    EXPECT_TRUE(move.FoundFox);
    EXPECT_FALSE(move.Step);
    EXPECT_EQ(game.puzzle.StepCount(), 2);
    EXPECT_EQ(game.puzzle.FoundCount(), 1);
    EXPECT_EQ(game.puzzle.HotRow(), 3);
    EXPECT_EQ(game.puzzle.HotCol(), 4);
}

TEST(MoveTest, CellsOutsideTheFieldAreIgnoredButBecomeCurrent) {
    Game game;
    game.Hide(5, ExampleFoxes);
    const TPlane view = game.puzzle.ViewPlane();
    const TPlane hints = game.puzzle.HintPlane();
    for (const Cell& cell :
         {Cell{0, 3}, Cell{6, 1}, Cell{3, 6}, Cell{-4, -4}, Cell{11, 11}, Cell{INT_MIN, INT_MAX}}) {
        const TMoveResult move = game.puzzle.OpenCell(cell.first, cell.second);
        EXPECT_FALSE(move.FoundFox || move.Step || move.Solved);
        EXPECT_EQ(Cell(game.puzzle.HotRow(), game.puzzle.HotCol()), cell);
    }
    EXPECT_EQ(game.puzzle.StepCount(), 0);
    EXPECT_EQ(game.puzzle.ViewPlane(), view);
    EXPECT_EQ(game.puzzle.HintPlane(), hints);
}

TEST(MoveTest, NothingIsOpenedBeforeAPuzzleOrAfterTheSolvingClick) {
    Game game;
    game.puzzle.Reset(5, 3);
    // With no foxes hidden yet an opened cell must not count as a solved puzzle.
    // Nor does the cell become the current one.
    TMoveResult move = game.puzzle.OpenCell(2, 2);
    EXPECT_FALSE(move.Step || move.Solved || move.FoundFox);
    EXPECT_FALSE(game.puzzle.Finished());
    EXPECT_EQ(game.puzzle.ViewState(2, 2), vsCovered);
    EXPECT_EQ(game.puzzle.StepCount(), 0);
    EXPECT_EQ(Cell(game.puzzle.HotRow(), game.puzzle.HotCol()), Cell(0, 0));

    game.Hide(3, {{3, 3}});
    game.puzzle.MouseMove(0, 0);
    game.puzzle.OpenCell(3, 3);
    ASSERT_TRUE(game.puzzle.Finished());
    const double end = game.puzzle.EndTime();
    game.clock.Advance(1000);
    move = game.puzzle.OpenCell(1, 1);
    EXPECT_FALSE(move.Step || move.Solved || move.FoundFox);
    EXPECT_EQ(game.puzzle.ViewState(1, 1), vsCovered);
    EXPECT_EQ(Cell(game.puzzle.HotRow(), game.puzzle.HotCol()), Cell(3, 3));
    EXPECT_EQ(game.puzzle.StepCount(), 1);
    EXPECT_EQ(game.puzzle.EndTime(), end);
}

// Clicks every cell in a random order, some twice, until the puzzle is solved, checking
// the rules after every move; the clock runs across midnight.
TEST(PlayThroughTest, RandomClicksUntilSolved) {
    std::mt19937 order(20240611u);
    for (int round = 0; round < 60; ++round) {
        const int size = MinFieldSize + round % 8;
        const int foxCount = 1 + static_cast<int>(order() % MaxFoxes(size));
        Game game;
        game.clock.Set(23, 59, 30, round);
        game.puzzle.Reset(size, foxCount);
        game.puzzle.NewPuzzle();
        const double start = game.clock.now_;

        std::vector<Cell> cells;
        for (int r = 1; r <= size; ++r)
            for (int c = 1; c <= size; ++c)
                cells.emplace_back(r, c);
        std::shuffle(cells.begin(), cells.end(), order);
        std::vector<Cell> clicks;
        for (const Cell& cell : cells) {
            clicks.push_back(cell);
            if (order() % 4 == 0)
                clicks.push_back(clicks[order() % clicks.size()]);
        }

        std::set<Cell> distinct;
        int64_t elapsedMs = 0;
        TPlane previousHints = game.puzzle.HintPlane();
        std::optional<TPuzzleResult> result;
        for (const Cell& cell : clicks) {
            const int step = 1 + static_cast<int>(order() % 5000);
            game.clock.Advance(step);
            elapsedMs += step;
            distinct.insert(cell);
            const TMoveResult move = game.puzzle.OpenCell(cell.first, cell.second);
            const TPlane& foxes = game.puzzle.FoxPlane();
            const TPlane& view = game.puzzle.ViewPlane();
            const TPlane& hints = game.puzzle.HintPlane();
            EXPECT_EQ(move.FoundFox, foxes[cell.first][cell.second] == fpFox);
            int found = 0;
            for (int r = 1; r <= size; ++r) {
                for (int c = 1; c <= size; ++c) {
                    found += view[r][c] == vsFound;
                    // A mark never hides a fox the player has not found.
                    if (hints[r][c] != 0) {
                        ASSERT_TRUE(foxes[r][c] != fpFox || view[r][c] == vsFound);
                    }
                    ASSERT_GE(hints[r][c], previousHints[r][c]);
                    if (view[r][c] == vsFound) {
                        ASSERT_EQ(foxes[r][c], fpFox);
                    }
                    if (view[r][c] == vsOpened) {
                        ASSERT_EQ(game.puzzle.Count(r, c), game.puzzle.GetN(r, c));
                    }
                }
            }
            EXPECT_EQ(found, game.puzzle.FoundCount());
            EXPECT_EQ(game.puzzle.StepCount(), static_cast<int>(distinct.size()));
            previousHints = hints;
            if (move.Solved) {
                result = move.Result;
                break;
            }
        }
        ASSERT_TRUE(result.has_value()) << "round " << round;
        EXPECT_EQ(result->FieldSize, size);
        EXPECT_EQ(result->FoxCount, foxCount);
        EXPECT_EQ(result->StepCount, static_cast<int>(distinct.size()));
        EXPECT_EQ(ElapsedMilliseconds(result->Elapsed), elapsedMs);
        EXPECT_EQ(game.puzzle.FoundCount(), foxCount);
        EXPECT_EQ(ElapsedMilliseconds(game.puzzle.Elapsed(game.clock.now_ + 0.1)), elapsedMs);
        EXPECT_NE(game.puzzle.EndTime(), start);
    }
}

} // namespace tarnell
