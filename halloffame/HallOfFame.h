// The hall of fame "h_fame.dat": the best time and the fewest steps for every field size
// and fox count, the "best" rules, the lines the dialogs show, and the safe rewrite.
#pragma once

#include "FameFile.h"
#include "HallOfFameRecord.h"
#include "core/Puzzle.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarnell::halloffame {

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
FameDecisions decide(const FameLookup& best, const TPuzzleResult& result);

// "<name>  07:05,3", "<name>  25 steps", and the "Mr. Smith    " placeholders.
QString bestTimeLine(const FameRecord& record);
QString minimumStepsLine(const FameRecord& record);
QString placeholderTimeLine(int fieldSize, int foxCount);
QString placeholderStepsLine(int fieldSize, int foxCount);
// The stored line of the pair, or its placeholder.
QString timeLine(const FameLookup& best, int fieldSize, int foxCount);
QString stepsLine(const FameLookup& best, int fieldSize, int foxCount);

// How one operation on the file ended. When it failed, nothing more of it was done and
// message() says what failed on which file, for the player. When it succeeded it holds its
// value, and message() may still carry a notice the player should read (a damaged file that
// was kept aside); it is empty when there is nothing to tell.
template <typename Value> class FameOutcome {
public:
    static FameOutcome success(Value value, QString notice = {}) {
        FameOutcome outcome;
        outcome.value_ = std::move(value);
        outcome.message_ = std::move(notice);
        return outcome;
    }
    static FameOutcome failure(QString text) {
        FameOutcome outcome;
        outcome.message_ = std::move(text);
        return outcome;
    }
    bool succeeded() const { return value_.has_value(); }
    explicit operator bool() const { return succeeded(); }
    const Value& operator*() const { return *value_; }
    Value& operator*() { return *value_; }
    const Value* operator->() const { return &*value_; }
    const QString& message() const { return message_; }

private:
    FameOutcome() = default;
    std::optional<Value> value_;
    QString message_;
};

// The value of an operation whose only result is that it was done.
struct FameDone {};
using FameStatus = FameOutcome<FameDone>;

// The file "h_fame.dat" in the working directory. Nothing here talks to the player: every
// operation returns its failure, and the caller shows it.
class HallOfFame {
public:
    explicit HallOfFame(FameFileSystem& files = diskFileSystem());

    // Makes sure the file exists (a missing one is created empty) and finds its length. A
    // file that is not a whole number of records passes the check but is never read.
    FameStatus check();
    // Reads the file without writing to it: the time record and the steps record of the
    // pair. It does not run the check again (the dialogs run it first); a missing file holds
    // nothing.
    FameOutcome<FameLookup> lookUp(int fieldSize, int foxCount);
    // Rewrites the file with the result: the other records in their order, minus those the
    // decisions supersede, then the new time record and the new steps record. The new file
    // is written and flushed as "h_fame2.dat" and renamed over "h_fame.dat", so the file
    // always holds either all the old or all the new records. Succeeds when it is in place.
    FameStatus store(const TPuzzleResult& result, FameDecisions decisions,
                     const QString& typedName);

private:
    struct FileState {
        bool Exists = false;
        std::int64_t Length = 0;
        bool whole() const { return Length % static_cast<std::int64_t>(RecordSize) == 0; }
    };
    // The file as it stands, open for reading while it is copied.
    struct OldFile {
        std::unique_ptr<FameFile> File;
        FileState State;
        FameAccess Permissions; // passed on to the new file
    };
    FameOutcome<OldFile> openOld();
    // Gives out the permission bits, owner and group of old, copies the records of old that keep
    // returns true for, appends added, and puts out on the disk.
    FameStatus writeNewFile(OldFile& old, FameFile& out,
                            const std::function<bool(const FameRecord&)>& keep,
                            const std::vector<FameRecord>& added);
    // Puts the written "h_fame2.dat" in the place of the old file.
    FameStatus swapIn(const OldFile& old);
    FameOutcome<std::string> putAside();

    FameFileSystem& files_;
};

} // namespace tarnell::halloffame
