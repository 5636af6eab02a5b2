// Set-up limits, the start-of-program state, requesting and generating a new puzzle.
#include "tests/support/ScriptedSources.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace tarnell {

using testsupport::Cell;
using testsupport::Game;
using testsupport::SightingsOf;

namespace {

// Every entry 1..10 x 1..10 of a plane, whatever the field size.
int NonZeroEntries(const TPlane& plane) {
    int count = 0;
    for (int r = 0; r <= MaxFieldSize; ++r)
        for (int c = 0; c <= MaxFieldSize; ++c)
            count += plane[r][c] != 0;
    return count;
}

} // namespace

TEST(SetupTest, MaxFoxesIsATenthOfTheCellsRoundedHalfUp) {
    const int expected[] = {1, 2, 3, 4, 5, 6, 8, 10}; // sizes 3 to 10
    for (int size = 3; size <= 10; ++size)
        EXPECT_EQ(MaxFoxes(size), expected[size - 3]) << "size " << size;
}

TEST(SetupTest, NormalizeKeepsValuesInRange) {
    for (int size = 3; size <= 10; ++size) {
        for (int foxes = 1; foxes <= MaxFoxes(size); ++foxes) {
            const TSetup setup = NormalizeSetup(size, foxes);
            EXPECT_EQ(setup.Size, size);
            EXPECT_EQ(setup.Foxes, foxes);
        }
    }
}

TEST(SetupTest, NormalizeReplacesValuesOutOfRangeWithTheDefaults) {
    for (int size : {INT_MIN, -8, 0, 2, 11, 100, INT_MAX}) {
        const TSetup setup = NormalizeSetup(size, 4);
        EXPECT_EQ(setup.Size, 8) << size;
        EXPECT_EQ(setup.Foxes, 4) << size; // still fits a field of 8
    }
    for (int foxes : {INT_MIN, -1, 0, 7, 11, INT_MAX}) {
        const TSetup setup = NormalizeSetup(8, foxes);
        EXPECT_EQ(setup.Size, 8);
        EXPECT_EQ(setup.Foxes, 5) << foxes;
    }
    // The default fox count is lowered to what the field allows.
    EXPECT_EQ(NormalizeSetup(3, 0).Foxes, 1);
    EXPECT_EQ(NormalizeSetup(4, 9).Foxes, 2);
    EXPECT_EQ(NormalizeSetup(6, 5).Foxes, 4);
    EXPECT_EQ(NormalizeSetup(7, 6).Foxes, 5);
    // A size too large for its fox count: the size falls back to 8, where 10 foxes are
    // too many, so the fox count falls back too.
    const TSetup both = NormalizeSetup(12, 10);
    EXPECT_EQ(both.Size, 8);
    EXPECT_EQ(both.Foxes, 5);
}

TEST(SetupTest, ResetGivesTheEmptyFieldOfTheStart) {
    Game game;
    game.Hide(10, {{1, 1}, {5, 5}, {10, 10}});
    game.puzzle.MouseMove(200, 26);
    game.puzzle.OpenCell(5, 5);
    game.puzzle.OpenCell(2, 7);

    game.puzzle.Reset(6, 4);
    const TPuzzle& p = game.puzzle;
    EXPECT_FALSE(p.Started());
    EXPECT_FALSE(p.Finished());
    EXPECT_EQ(p.FieldSize(), 6);
    EXPECT_EQ(p.FoxCount(), 0);
    EXPECT_EQ(p.SetupSize(), 6);
    EXPECT_EQ(p.SetupFoxes(), 4);
    EXPECT_EQ(p.FoundCount(), 0);
    EXPECT_EQ(p.StepCount(), 0);
    EXPECT_EQ(p.StartTime(), 0.0);
    EXPECT_EQ(p.EndTime(), 0.0);
    EXPECT_EQ(p.HotRow(), 0);
    EXPECT_EQ(p.HotCol(), 0);
    EXPECT_EQ(NonZeroEntries(p.FoxPlane()), 0);
    EXPECT_EQ(NonZeroEntries(p.ViewPlane()), 0);
    EXPECT_EQ(NonZeroEntries(p.CountPlane()), 0);
    EXPECT_EQ(NonZeroEntries(p.HintPlane()), 0);
    EXPECT_EQ(p.Elapsed(0.7), 0.0);
    // Never beyond the limits.
    game.puzzle.Reset(25, 60);
    EXPECT_EQ(p.FieldSize(), 8);
    EXPECT_EQ(p.SetupFoxes(), 5);
}

// From a reset, each press of a set-up button and the size and foxes after it. The buttons
// stop at their limits; shrinking caps the foxes where they exceed the new maximum, growing
// never changes them.
TEST(SetupTest, SetupButtonsStopAtTheLimitsAndShrinkingCapsTheFoxes) {
    using Button = void (TPuzzle::*)();
    constexpr Button Bigger = &TPuzzle::IncreaseSize, Smaller = &TPuzzle::DecreaseSize;
    constexpr Button More = &TPuzzle::IncreaseFoxes, Fewer = &TPuzzle::DecreaseFoxes;
    struct Press {
        Button button;
        int size, foxes;
    };
    // clang-format off
    const std::vector<std::pair<TSetup, std::vector<Press>>> runs = {
        {{3, 1}, {{Smaller, 3, 1}, {More, 3, 1}}}, // a 3 x 3 field takes one fox only
        {{10, 4}, {{Bigger, 10, 4}}},
        {{9, 8}, {{Bigger, 10, 8}}},
        {{10, 10}, {{Smaller, 9, 8}, {Smaller, 8, 6}, {Smaller, 7, 5}, {Smaller, 6, 4},
                    {Smaller, 5, 3}, {Smaller, 4, 2}, {Smaller, 3, 1}}},
        {{6, 2}, {{Smaller, 5, 2}, {Smaller, 4, 2}, {Smaller, 3, 1}}},
        {{DefaultSetupSize, DefaultSetupFoxes},
         {{More, 8, 6}, {More, 8, 6}, {Fewer, 8, 5}, {Fewer, 8, 4}, {Fewer, 8, 3}, {Fewer, 8, 2},
          {Fewer, 8, 1}, {Fewer, 8, 1}}},
    };
    // clang-format on
    for (const auto& [start, presses] : runs) {
        Game game;
        game.puzzle.Reset(start.Size, start.Foxes);
        for (size_t i = 0; i < presses.size(); ++i) {
            (game.puzzle.*presses[i].button)();
            EXPECT_EQ((std::pair{game.puzzle.SetupSize(), game.puzzle.SetupFoxes()}),
                      (std::pair{presses[i].size, presses[i].foxes}))
                << "from " << start.Size << " x " << start.Size << " with " << start.Foxes
                << ", press " << i + 1;
        }
    }
}

TEST(SetupTest, SetupButtonsLeaveTheFieldAndTheRunningPuzzleAlone) {
    Game game;
    game.puzzle.Reset(5, 2);
    game.puzzle.IncreaseSize();
    game.puzzle.IncreaseFoxes();
    EXPECT_EQ(game.puzzle.FieldSize(), 5); // the empty field is not resized
    EXPECT_EQ(game.puzzle.FoxCount(), 0);

    game.Hide(5, {{1, 1}, {4, 4}});
    game.puzzle.OpenCell(1, 3);
    const TPlane foxes = game.puzzle.FoxPlane();
    const TPlane view = game.puzzle.ViewPlane();
    const double started = game.puzzle.StartTime();
    game.puzzle.IncreaseSize();
    game.puzzle.IncreaseSize();
    game.puzzle.DecreaseFoxes();
    EXPECT_EQ(game.puzzle.SetupSize(), 7);
    EXPECT_EQ(game.puzzle.SetupFoxes(), 1);
    EXPECT_EQ(game.puzzle.FieldSize(), 5);
    EXPECT_EQ(game.puzzle.FoxCount(), 2);
    EXPECT_EQ(game.puzzle.StepCount(), 1);
    EXPECT_EQ(game.puzzle.FoxPlane(), foxes);
    EXPECT_EQ(game.puzzle.ViewPlane(), view);
    EXPECT_EQ(game.puzzle.StartTime(), started);
    EXPECT_TRUE(game.puzzle.Started());
}

TEST(RequestNewPuzzleTest, GeneratesAtOnceBeforeTheFirstPuzzleAndAfterASolvedOne) {
    Game game;
    game.puzzle.Reset(4, 2);
    EXPECT_FALSE(game.puzzle.RequestNewPuzzle());
    EXPECT_TRUE(game.puzzle.Started());
    EXPECT_FALSE(game.puzzle.Finished());
    EXPECT_EQ(game.puzzle.FieldSize(), 4);
    EXPECT_EQ(game.puzzle.FoxCount(), 2);

    game.Hide(3, {{2, 2}});
    ASSERT_TRUE(game.puzzle.OpenCell(2, 2).Solved);
    game.clock.Advance(1234);
    EXPECT_FALSE(game.puzzle.RequestNewPuzzle());
    EXPECT_TRUE(game.puzzle.Started());
    EXPECT_FALSE(game.puzzle.Finished());
    EXPECT_EQ(game.puzzle.FoundCount(), 0);
    EXPECT_EQ(game.puzzle.StepCount(), 0);
    EXPECT_EQ(game.puzzle.ViewState(2, 2), vsCovered);
    EXPECT_EQ(game.puzzle.StartTime(), game.clock.now_);
}

TEST(RequestNewPuzzleTest, AsksFirstWhileAPuzzleRunsAndChangesNothing) {
    Game game;
    game.Hide(5, {{1, 1}, {3, 4}, {5, 2}});
    game.puzzle.OpenCell(2, 3);
    game.puzzle.IncreaseSize();
    const TPlane foxes = game.puzzle.FoxPlane();
    const std::size_t draws = game.random.ranges_.size();
    const double started = game.puzzle.StartTime();
    game.clock.Advance(5000);

    EXPECT_TRUE(game.puzzle.RequestNewPuzzle());
    EXPECT_EQ(game.random.ranges_.size(), draws);
    EXPECT_EQ(game.random.seeds_.size(), 1u);
    EXPECT_EQ(game.puzzle.FoxPlane(), foxes);
    EXPECT_EQ(game.puzzle.FieldSize(), 5);
    EXPECT_EQ(game.puzzle.StepCount(), 1);
    EXPECT_EQ(game.puzzle.ViewState(2, 3), vsOpened);
    EXPECT_EQ(game.puzzle.StartTime(), started);

    // The answer "Yes" generates.
    game.puzzle.NewPuzzle();
    EXPECT_EQ(game.puzzle.FieldSize(), 6);
    EXPECT_EQ(game.puzzle.StepCount(), 0);
    EXPECT_EQ(game.puzzle.StartTime(), game.clock.now_);
}

// It leaves the current cell as it is.
TEST(NewPuzzleTest, ReseedsFromTheMillisecondOfTheDayAndStartsTheClockThen) {
    Game game;
    game.clock.Set(12, 34, 56, 789);
    game.puzzle.Reset(8, 5);
    game.puzzle.MouseMove(220, 36); // (1, 2)
    game.puzzle.NewPuzzle();
    EXPECT_EQ(Cell(game.puzzle.HotRow(), game.puzzle.HotCol()), Cell(1, 2));
    ASSERT_EQ(game.random.seeds_.size(), 1u);
    EXPECT_EQ(game.random.seeds_[0], 45296789u);
    EXPECT_EQ(game.puzzle.StartTime(), game.clock.now_);
    EXPECT_EQ(game.puzzle.Elapsed(game.clock.now_), 0.0);

    // The seed comes before the first draw, so the same millisecond gives the same layout
    // and another millisecond, as a rule, another one.
    const TPlane first = game.puzzle.FoxPlane();
    game.puzzle.NewPuzzle();
    EXPECT_EQ(game.puzzle.FoxPlane(), first);
    game.clock.Advance(1);
    game.puzzle.NewPuzzle();
    EXPECT_EQ(game.random.seeds_.back(), 45296790u);
    EXPECT_NE(game.puzzle.FoxPlane(), first);
}

TEST(NewPuzzleTest, DrawsTheRowBeforeTheColumn) {
    Game game;
    game.Hide(7, {{2, 6}, {6, 3}});
    EXPECT_EQ(game.puzzle.FoxPlane()[2][6], fpFox);
    EXPECT_EQ(game.puzzle.FoxPlane()[6][3], fpFox);
    EXPECT_EQ(game.puzzle.FoxPlane()[6][2], fpNearFox);
    EXPECT_EQ(game.random.ranges_, (std::vector<int>{7, 7, 7, 7}));
}

TEST(NewPuzzleTest, RedrawsUntilAFreeCellComesUp) {
    Game game;
    // (1, 1), then (2, 2) and (1, 2) that touch it, (1, 1) itself again, then (3, 3).
    game.random.Script({0, 0, 1, 1, 0, 1, 0, 0, 2, 2});
    game.puzzle.Reset(4, 2);
    game.puzzle.NewPuzzle();
    EXPECT_EQ(game.random.position_, 10u);
    EXPECT_EQ(game.random.ranges_.size(), 10u);
    EXPECT_EQ(game.puzzle.FoxPlane()[1][1], fpFox);
    EXPECT_EQ(game.puzzle.FoxPlane()[3][3], fpFox);
    EXPECT_EQ(game.puzzle.FoxPlane()[2][2], fpNearFox);
    EXPECT_EQ(game.puzzle.FoxPlane()[1][2], fpNearFox);
}

TEST(NewPuzzleTest, DiscardsNumbersOutsideTheField) {
    Game game;
    game.random.Script({4, 0, -1, 2, 1, 3});
    game.puzzle.Reset(4, 1);
    game.puzzle.NewPuzzle();
    EXPECT_EQ(game.random.position_, 6u);
    EXPECT_EQ(game.puzzle.FoxPlane()[2][4], fpFox);
}

TEST(NewPuzzleTest, ClearsAllOfEveryPlaneAfterABiggerPuzzle) {
    Game game;
    game.Hide(10, {{1, 1}, {4, 7}, {8, 3}, {10, 10}, {9, 7}, {6, 10}});
    for (int r = 1; r <= 10; ++r)
        for (int c = 1; c <= 10; ++c)
            if (!game.puzzle.Finished())
                game.puzzle.OpenCell(r, c);
    // Something stands beyond row 3 and column 3 on every plane.
    ASSERT_NE(game.puzzle.ViewPlane()[9][9], 0);
    ASSERT_NE(game.puzzle.CountPlane()[9][9], 0);
    ASSERT_NE(game.puzzle.HintPlane()[10][9], 0);
    ASSERT_NE(game.puzzle.FoxPlane()[10][10], 0);

    for (int i = 0; i < 7; ++i)
        game.puzzle.DecreaseSize();
    ASSERT_EQ(game.puzzle.SetupSize(), 3);
    game.Generate({{2, 2}});
    const TPuzzle& p = game.puzzle;
    EXPECT_EQ(p.FieldSize(), 3);
    EXPECT_EQ(NonZeroEntries(p.ViewPlane()), 0);
    EXPECT_EQ(NonZeroEntries(p.CountPlane()), 0);
    EXPECT_EQ(NonZeroEntries(p.HintPlane()), 0);
    EXPECT_EQ(NonZeroEntries(p.FoxPlane()), 9); // the fox and its eight neighbours
    EXPECT_EQ(p.FoundCount(), 0);
    EXPECT_EQ(p.StepCount(), 0);
    EXPECT_FALSE(p.Finished());
}

// Over many seeds, every size and every allowed fox count: exactly FoxCount foxes, none
// touching another, fpNearFox on exactly the in-field cells touching a fox, and on every cell
// the sighting count worked out from the positions, none of them found yet.
TEST(NewPuzzleTest, EveryGeneratedLayoutKeepsTheRules) {
    Game game;
    game.clock.Set(0, 0, 0, 0);
    for (int size = MinFieldSize; size <= MaxFieldSize; ++size) {
        std::set<Cell> seen;
        for (int foxes = 1; foxes <= MaxFoxes(size); ++foxes) {
            game.puzzle.Reset(size, foxes);
            for (int seed = 0; seed < 150; ++seed) {
                game.clock.Advance(7);
                game.puzzle.NewPuzzle();
                const TPlane& plane = game.puzzle.FoxPlane();
                std::vector<Cell> placed;
                for (int r = 1; r <= size; ++r)
                    for (int c = 1; c <= size; ++c)
                        if (plane[r][c] == fpFox)
                            placed.emplace_back(r, c);
                ASSERT_EQ(static_cast<int>(placed.size()), foxes) << size << " " << seed;
                for (int r = 0; r <= MaxFieldSize; ++r) {
                    for (int c = 0; c <= MaxFieldSize; ++c) {
                        const bool inField = r >= 1 && r <= size && c >= 1 && c <= size;
                        bool fox = false;
                        bool touches = false;
                        for (const auto& [fr, fc] : placed) {
                            fox = fox || (fr == r && fc == c);
                            touches = touches || (!(fr == r && fc == c) && std::abs(fr - r) <= 1 &&
                                                  std::abs(fc - c) <= 1);
                        }
                        const int expected = !inField ? 0 : fox ? fpFox : touches ? fpNearFox : 0;
                        ASSERT_FALSE(fox && touches) << "foxes touch at " << r << "," << c;
                        ASSERT_EQ(plane[r][c], expected) << size << " " << r << "," << c;
                        if (inField) {
                            ASSERT_EQ(game.puzzle.GetN(r, c), SightingsOf(placed, r, c));
                            ASSERT_EQ(game.puzzle.GetM(r, c), 0);
                        }
                    }
                }
                seen.insert(placed.begin(), placed.end());
            }
        }
        // Every cell of the field can hold a fox.
        EXPECT_EQ(static_cast<int>(seen.size()), size * size) << size;
    }
}

} // namespace tarnell
