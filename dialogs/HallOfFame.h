// The hall of fame "h_fame.dat": the best time and the fewest steps for every field size
// and fox count, the "best" rules, the lines the dialogs show, and the safe rewrite.
#pragma once

#include "FameFile.h"
#include "HallOfFameRecord.h"
#include "core/Puzzle.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace halloffame {

constexpr const char* FameFileName = "h_fame.dat";
constexpr const char* NewFameFileName = "h_fame2.dat";
// Where a file that holds no whole number of records is kept before it is replaced.
constexpr const char* DamagedFameFileName = "h_fame.dat.damaged";

// The best records stored for one field size and fox count, each possibly missing.
struct FameLookup {
    std::optional<FameRecord> TimeRecord;
    std::optional<FameRecord> StepsRecord;
};

// What a solved puzzle beat; both rules are strict, so a tie beats nothing.
struct FameDecisions {
    bool NewBestTime = false;
    bool NewMinimumSteps = false;
    bool operator==(const FameDecisions&) const = default;
};

// The stand-in results of a pair with nothing stored: N x F seconds and 2 x (N + F) steps.
std::int64_t placeholderMilliseconds(int fieldSize, int foxCount);
int placeholderSteps(int fieldSize, int foxCount);

// Compares true durations in whole milliseconds, hours included.
FameDecisions decide(const FameLookup& best, const tarnell::TPuzzleResult& result);

// "<name>  07:05,3", "<name>  25 steps", and the "Mr. Smith    " placeholders.
QString bestTimeLine(const FameRecord& record);
QString minimumStepsLine(const FameRecord& record);
QString placeholderTimeLine(int fieldSize, int foxCount);
QString placeholderStepsLine(int fieldSize, int foxCount);
// The stored line of the pair, or its placeholder.
QString timeLine(const FameLookup& best, int fieldSize, int foxCount);
QString stepsLine(const FameLookup& best, int fieldSize, int foxCount);

// The file in the working directory. Every failure is reported to the player in a
// message box naming the file and what failed, and the rest of that operation is skipped.
class HallOfFame {
public:
    explicit HallOfFame(FameFileSystem& files = diskFileSystem());

    // Makes sure the file exists (a missing one is created empty) and finds its length;
    // false when a failure was reported. A file that is not a whole number of records
    // passes the check but is never read.
    bool check();
    // Runs the check, then reads the file without writing to it: the time record and the
    // steps record of the pair. Nothing when a failure was reported.
    std::optional<FameLookup> lookUp(int fieldSize, int foxCount);
    // Rewrites the file with the result: the other records in their order, minus those the
    // decisions supersede, then the new time record and the new steps record. The new file
    // is written and flushed as "h_fame2.dat" and renamed over "h_fame.dat", so the file
    // always holds either all the old or all the new records. True when it is in place.
    bool store(const tarnell::TPuzzleResult& result, FameDecisions decisions,
               const QString& typedName);

private:
    struct FileState {
        bool Exists = false;
        std::int64_t Length = 0;
        bool whole() const { return Length % static_cast<std::int64_t>(RecordSize) == 0; }
    };
    std::optional<FileState> examine(bool createWhenMissing);
    bool putAside(std::string& asideName);

    FameFileSystem& files_;
};

} // namespace halloffame
