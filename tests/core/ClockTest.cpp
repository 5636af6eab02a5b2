// Clock texts, elapsed times across midnight and the elapsed time of a puzzle.
#include "tests/support/ScriptedSources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarnell {

namespace {

double Seconds(double seconds) {
    return seconds / 86400.0;
}

double TimeOfDay(int hours, int minutes, int seconds, int milliseconds) {
    return (hours * 3600000.0 + minutes * 60000.0 + seconds * 1000.0 + milliseconds) / 86400000.0;
}

} // namespace

TEST(ClockTextTest, TwoDigits) {
    for (const auto& [n, text] :
         {std::pair{0, "00"}, {5, "05"}, {10, "10"}, {59, "59"}, {123, "123"}})
        EXPECT_EQ(TwoDigits(n), text);
}

// Hours are not shown; spans that make no sense (negative, not a number) show zero.
TEST(ClockTextTest, MinutesSecondsAndTenths) {
    // clang-format off
    const std::pair<double, const char*> shown[] = {
        {0.0, "00:00,0"}, {83.45, "01:23,4"}, {3725.9, "02:05,9"}, {59 * 60 + 59.95, "59:59,9"},
        {60 * 60 + 0.05, "00:00,0"}, {12.05, "00:12,0"}, {12.999, "00:12,9"}, {0.1, "00:00,1"},
        {9 * 60 + 7.3, "09:07,3"}, {-21600, "00:00,0"},
        {std::numeric_limits<double>::quiet_NaN(), "00:00,0"}};
    // clang-format on
    for (const auto& [seconds, text] : shown)
        EXPECT_EQ(ClockText(Seconds(seconds)), text) << seconds << " s";
}

TEST(ClockTextTest, RoundsToTheMillisecondBeforeCuttingToTenths) {
    // 0.0999996 s is 100 ms; plain truncation of the product would show a tenth less.
    EXPECT_EQ(ClockText(Seconds(0.0999996)), "00:00,1");
    EXPECT_EQ(ClockText(Seconds(59.9999)), "01:00,0");
    EXPECT_EQ(ClockText(Seconds(59.9994)), "00:59,9");
    // Every whole millisecond of the first ten minutes, from a time-of-day difference.
    for (int ms = 0; ms < 600000; ms += 7) {
        const double elapsed = TimeOfDay(10, 0, 0, ms) - TimeOfDay(10, 0, 0, 0);
        const int tenths = ms / 100;
        const std::string expected = TwoDigits(ms / 60000) + ":" + TwoDigits(ms / 1000 % 60) + "," +
                                     std::to_string(tenths % 10);
        ASSERT_EQ(ClockText(elapsed), expected) << ms;
    }
}

TEST(ElapsedTest, SplitsIntoParts) {
    const TElapsedParts parts = SplitElapsed(Seconds(3725.9));
    EXPECT_EQ(parts.Hours, 1);
    EXPECT_EQ(parts.Minutes, 2);
    EXPECT_EQ(parts.Seconds, 5);
    EXPECT_EQ(parts.Milliseconds, 900);
    const TElapsedParts long_ = SplitElapsed(Seconds(26 * 3600 + 59 * 60 + 59.999));
    EXPECT_EQ(long_.Hours, 26);
    EXPECT_EQ(long_.Minutes, 59);
    EXPECT_EQ(long_.Seconds, 59);
    EXPECT_EQ(long_.Milliseconds, 999);
    EXPECT_EQ(ElapsedMilliseconds(Seconds(12.05)), 12050);
    EXPECT_EQ(ElapsedMilliseconds(-1.0), 0);
    EXPECT_GT(ElapsedMilliseconds(std::numeric_limits<double>::infinity()), 0);
}

TEST(ElapsedTest, AcrossMidnightGivesTheTrueDuration) {
    const double before = TimeOfDay(23, 59, 58, 500);
    const double after = TimeOfDay(0, 0, 1, 200);
    EXPECT_EQ(ElapsedMilliseconds(ElapsedBetween(before, after)), 2700);
    EXPECT_EQ(ElapsedMilliseconds(ElapsedBetween(after, TimeOfDay(0, 0, 3, 0))), 1800);
    EXPECT_EQ(ElapsedBetween(before, before), 0.0);
    EXPECT_EQ(ElapsedMilliseconds(ElapsedBetween(TimeOfDay(0, 0, 0, 1), TimeOfDay(0, 0, 0, 0))),
              86399999);
}

TEST(ElapsedTest, ThePuzzleClockRunsFromGenerationAndStopsAtTheLastFox) {
    testsupport::Game game;
    EXPECT_EQ(game.puzzle.Elapsed(0.9), 0.0); // no puzzle yet
    game.clock.Set(23, 59, 0, 0);
    game.Hide(3, {{2, 2}});
    const double running = TimeOfDay(0, 1, 12, 50);
    EXPECT_EQ(ClockText(game.puzzle.Elapsed(running)), "02:12,0");

    game.clock.Set(0, 2, 5, 900);
    const TMoveResult move = game.puzzle.OpenCell(2, 2);
    ASSERT_TRUE(move.Solved);
    EXPECT_EQ(ElapsedMilliseconds(move.Result->Elapsed), 185900);
    // Later readings keep the time of the last fox.
    EXPECT_EQ(ElapsedMilliseconds(game.puzzle.Elapsed(TimeOfDay(5, 0, 0, 0))), 185900);
}

} // namespace tarnell
