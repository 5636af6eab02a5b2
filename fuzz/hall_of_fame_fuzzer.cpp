// Arbitrary bytes as "h_fame.dat", held in memory: the check, the look-up of a few field
// sizes and fox counts, the lines the dialogs show, and a store with a decision. Whatever
// the file holds, the look-up agrees with the records, the lines keep their form, and a
// store keeps every record it does not supersede, byte for byte and in order.
//
// Input: 16 bytes of parameters, then the file.
//   0      bit 0: no file at all; bits 1-2: 0 = decide as the game does, otherwise forced
//          decisions (bit 1 a new best time, bit 2 new fewest steps); bit 3: byte 5 on
//          is a raw double of days instead of a count of milliseconds
//   1, 2   field size and fox count of the result (signed bytes)
//   3, 4   its step count (signed 16-bit)
//   5..12  its time
//   13     which typed name
//   14, 15 one more field size and fox count to look up (signed bytes)
#include "core/Clock.h"
#include "fuzz/FuzzSupport.h"
#include "halloffame/HallOfFame.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

namespace tarnell {

namespace {

using halloffame::FameDecisions;
using halloffame::FameLookup;
using halloffame::FameRecord;
using halloffame::RecordBytes;
using halloffame::RecordSize;

constexpr std::size_t ParameterBytes = 16;
constexpr const char* FameName = halloffame::FameFileName;
constexpr const char* NewFameName = halloffame::NewFameFileName;
constexpr const char* AsideName = halloffame::DamagedFameFileName;

using Bytes = std::vector<char>;

// Files by name in memory; every operation succeeds as a healthy disk's would.
class MemoryFiles : public halloffame::FameFileSystem {
public:
    std::map<std::string, Bytes> files_;

    bool exists(const std::string& name) override { return files_.count(name) != 0; }

    std::unique_ptr<halloffame::FameFile>
    open(const std::string& name, halloffame::FameOpenMode mode, std::string& error) override {
        switch (mode) {
        case halloffame::FameOpenMode::Read:
            if (!exists(name)) {
                error = "No such file or directory";
                return nullptr;
            }
            break;
        case halloffame::FameOpenMode::CreateIfMissing:
            files_[name];
            break;
        case halloffame::FameOpenMode::Replace:
            files_[name].clear();
            break;
        }
        return std::make_unique<File>(*this, name);
    }

    bool rename(const std::string& from, const std::string& to, std::string& error) override {
        const auto found = files_.find(from);
        if (found == files_.end()) {
            error = "No such file or directory";
            return false;
        }
        Bytes moved = std::move(found->second);
        files_.erase(found);
        files_[to] = std::move(moved);
        return true;
    }

    bool remove(const std::string& name, std::string& error) override {
        if (files_.erase(name) == 0) {
            error = "No such file or directory";
            return false;
        }
        return true;
    }

    bool mayWrite(const std::string& name, std::string& error) override {
        if (!exists(name)) {
            error = "No such file or directory";
            return false;
        }
        return true;
    }

private:
    class File : public halloffame::FameFile {
    public:
        File(MemoryFiles& owner, std::string name) : owner_(owner), name_(std::move(name)) {}
        bool read(char* buffer, std::size_t size, std::size_t& got, std::string&) override {
            const Bytes& bytes = owner_.files_[name_];
            got = std::min(size, bytes.size() - std::min(position_, bytes.size()));
            std::memcpy(buffer, bytes.data() + position_, got);
            position_ += got;
            return true;
        }
        bool write(const char* data, std::size_t size, std::string&) override {
            Bytes& bytes = owner_.files_[name_];
            bytes.insert(bytes.end(), data, data + size);
            return true;
        }
        bool flush(std::string&) override { return true; }
        bool close(std::string&) override { return true; }
        bool length(std::int64_t& bytes, std::string&) override {
            bytes = static_cast<std::int64_t>(owner_.files_[name_].size());
            return true;
        }
        bool permissions(halloffame::FameAccess& access, std::string&) override {
            access.Bits = 0644;
            return true;
        }
        bool setPermissions(const halloffame::FameAccess&, std::string&) override { return true; }

    private:
        MemoryFiles& owner_;
        std::string name_;
        std::size_t position_ = 0;
    };
};

std::vector<RecordBytes> recordsOf(const Bytes& file) {
    std::vector<RecordBytes> records(file.size() / RecordSize);
    for (std::size_t i = 0; i < records.size(); ++i)
        std::memcpy(records[i].data(), file.data() + i * RecordSize, RecordSize);
    return records;
}

// What the look-up must find: the last time record and the last steps record of the pair
// among the records that could be real results of their kind (a possible puzzle and a
// possible value in the field of the kind); nothing in a file of no whole length.
FameLookup expectedLookup(const Bytes& file, int fieldSize, int foxCount) {
    FameLookup best;
    if (file.size() % RecordSize != 0)
        return best;
    for (const RecordBytes& bytes : recordsOf(file)) {
        const FameRecord record = halloffame::decodeRecord(bytes);
        if (!record.belongsTo(fieldSize, foxCount) ||
            !halloffame::isPossiblePuzzle(record.FieldSize, record.FoxCount))
            continue;
        if (record.TimeFlag != 0 && halloffame::isPossibleTime(record.Time))
            best.TimeRecord = record;
        if (record.StepsFlag != 0 && record.Steps >= 0)
            best.StepsRecord = record;
    }
    return best;
}

// Byte for byte: a steps record may carry a time that is not a number, which equals nothing.
bool sameRecord(const std::optional<FameRecord>& a, const std::optional<FameRecord>& b) {
    if (!a || !b)
        return !a && !b;
    return halloffame::encodeRecord(*a) == halloffame::encodeRecord(*b);
}

bool sameLookup(const FameLookup& a, const FameLookup& b) {
    return sameRecord(a.TimeRecord, b.TimeRecord) && sameRecord(a.StepsRecord, b.StepsRecord);
}

// Minutes and seconds below 60 and one digit of tenths, after the name and two spaces.
void checkLines(const FameLookup& best, int fieldSize, int foxCount) {
    static const QRegularExpression clock(QStringLiteral("  [0-5][0-9]:[0-5][0-9],[0-9]$"));
    static const QRegularExpression steps(QStringLiteral("  [0-9]+ steps$"));
    const QString time = halloffame::timeLine(best, fieldSize, foxCount);
    const QString stepsText = halloffame::stepsLine(best, fieldSize, foxCount);
    FUZZ_CHECK(clock.match(time).hasMatch());
    const QString timeName = best.TimeRecord ? halloffame::decodeName(best.TimeRecord->Name)
                                             : QStringLiteral("Mr. Smith");
    const QString stepsName = best.StepsRecord ? halloffame::decodeName(best.StepsRecord->Name)
                                               : QStringLiteral("Mr. Smith");
    FUZZ_CHECK(time.startsWith(timeName));
    FUZZ_CHECK(stepsText.startsWith(stepsName));
    if (best.StepsRecord || foxCount + fieldSize >= 0)
        FUZZ_CHECK(steps.match(stepsText).hasMatch());
    if (best.StepsRecord)
        FUZZ_CHECK(stepsText.endsWith(QString::number(best.StepsRecord->Steps) +
                                      QStringLiteral(" steps")));
}

QString typedName(std::uint8_t choice) {
    static const QStringList names = {
        QString(),
        QStringLiteral("  Alice  "),
        QStringLiteral("J\u00fcrgen"),
        QStringLiteral("\u540d\u524d \U0001F98A"),
        QString(60, QLatin1Char('x')),
        QStringLiteral("\t\x01 Bob \x7f"),
    };
    return names.at(choice % names.size());
}

TPuzzleResult resultFrom(fuzzsupport::InputReader& input, bool rawTime) {
    TPuzzleResult result;
    result.FieldSize = static_cast<std::int8_t>(input.byte());
    result.FoxCount = static_cast<std::int8_t>(input.byte());
    result.StepCount = input.int16();
    const std::uint64_t time = input.uint64();
    result.Elapsed = rawTime ? std::bit_cast<double>(time)
                             : static_cast<double>(time & 0xFFFFFFFFu) / MillisecondsPerDay;
    return result;
}

// The decisions a store acts on: a new best only of a kind whose value could be real.
FameDecisions possibleDecisions(const TPuzzleResult& result, FameDecisions decisions) {
    const bool puzzle = halloffame::isPossiblePuzzle(result.FieldSize, result.FoxCount);
    return {decisions.NewBestTime && puzzle && halloffame::isPossibleTime(result.Elapsed),
            decisions.NewMinimumSteps && puzzle && result.StepCount >= 0};
}

// Whether the store may drop an old record of the same pair: every flag it has set belongs
// to a real best that the decisions replace.
bool superseded(const FameRecord& record, const TPuzzleResult& result, FameDecisions decisions) {
    if (!record.belongsTo(result.FieldSize, result.FoxCount))
        return false;
    const bool puzzle = halloffame::isPossiblePuzzle(record.FieldSize, record.FoxCount);
    const bool timeStays =
        record.TimeFlag != 0 &&
        (!puzzle || !halloffame::isPossibleTime(record.Time) || !decisions.NewBestTime);
    const bool stepsStays =
        record.StepsFlag != 0 && (!puzzle || record.Steps < 0 || !decisions.NewMinimumSteps);
    return !timeStays && !stepsStays;
}

void checkStore(MemoryFiles& files, halloffame::HallOfFame& fame, const TPuzzleResult& result,
                FameDecisions decisions, const QString& name, bool decidedByTheGame) {
    const bool hadFile = files.exists(FameName);
    const Bytes old = hadFile ? files.files_[FameName] : Bytes{};
    const bool damaged = old.size() % RecordSize != 0;

    const halloffame::FameStatus storedFile = fame.store(result, decisions, name);
    FUZZ_CHECK(storedFile.succeeded());
    FUZZ_CHECK(!files.exists(NewFameName));
    FUZZ_CHECK(files.exists(FameName));
    const Bytes& now = files.files_[FameName];
    FUZZ_CHECK(now.size() % RecordSize == 0);
    if (damaged) {
        // Kept aside untouched, and said so once.
        FUZZ_CHECK(files.exists(AsideName) && files.files_[AsideName] == old);
        FUZZ_CHECK(!storedFile.message().isEmpty());
    } else {
        FUZZ_CHECK(storedFile.message().isEmpty());
    }

    const FameDecisions effective = possibleDecisions(result, decisions);
    const std::vector<RecordBytes> before = damaged ? std::vector<RecordBytes>{} : recordsOf(old);
    const std::vector<RecordBytes> after = recordsOf(now);
    // The old records that stay come first, in their order; nothing else is dropped.
    std::size_t next = 0;
    for (const RecordBytes& bytes : before) {
        if (superseded(halloffame::decodeRecord(bytes), result, effective))
            continue;
        FUZZ_CHECK(next < after.size() && after[next] == bytes);
        ++next;
    }
    const std::size_t added = (effective.NewBestTime ? 1 : 0) + (effective.NewMinimumSteps ? 1 : 0);
    FUZZ_CHECK(after.size() == next + added);
    for (std::size_t i = next; i < after.size(); ++i) {
        const FameRecord fresh = halloffame::decodeRecord(after[i]);
        FUZZ_CHECK(fresh.belongsTo(result.FieldSize, result.FoxCount));
        FUZZ_CHECK(fresh.TimeFlag == 0 || halloffame::countsAsBestTime(fresh));
        FUZZ_CHECK(fresh.StepsFlag == 0 || halloffame::countsAsMinimumSteps(fresh));
        FUZZ_CHECK(fresh.Steps == result.StepCount);
        FUZZ_CHECK(ElapsedMilliseconds(fresh.Time) == ElapsedMilliseconds(result.Elapsed));
        FUZZ_CHECK((fresh.TimeFlag != 0) != (fresh.StepsFlag != 0));
        FUZZ_CHECK(fresh.Name == halloffame::encodeName(name));
    }

    // Read back, the stored result is the best of its pair; the same result again is no
    // new best when the game made the decisions (a tie beats nothing).
    const halloffame::FameOutcome<FameLookup> stored =
        fame.lookUp(result.FieldSize, result.FoxCount);
    FUZZ_CHECK(stored.succeeded() && stored.message().isEmpty());
    if (!stored)
        return;
    FUZZ_CHECK(sameLookup(*stored, expectedLookup(now, result.FieldSize, result.FoxCount)));
    if (effective.NewBestTime)
        FUZZ_CHECK(stored->TimeRecord && stored->TimeRecord->Steps == result.StepCount);
    if (effective.NewMinimumSteps)
        FUZZ_CHECK(stored->StepsRecord && stored->StepsRecord->Steps == result.StepCount);
    if (decidedByTheGame)
        FUZZ_CHECK(halloffame::decide(*stored, result) == FameDecisions{});
}

} // namespace

} // namespace tarnell

using namespace tarnell;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startApplication(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::InputReader input(std::span(data, size));
    const std::uint8_t flags = input.byte();
    const TPuzzleResult result = resultFrom(input, (flags & 8) != 0);
    const QString name = typedName(input.byte());
    const int extraSize = static_cast<std::int8_t>(input.byte());
    const int extraFoxes = static_cast<std::int8_t>(input.byte());
    input.seek(ParameterBytes);
    const std::span<const std::uint8_t> content = input.rest();

    MemoryFiles files;
    if ((flags & 1) == 0)
        files.files_[FameName] = Bytes(content.begin(), content.end());
    halloffame::HallOfFame fame(files);

    const halloffame::FameStatus checked = fame.check();
    FUZZ_CHECK(checked.succeeded() && checked.message().isEmpty());
    FUZZ_CHECK(files.exists(FameName));
    const Bytes file = files.files_[FameName];

    std::vector<std::pair<int, int>> pairs = {
        {3, 1}, {8, 5}, {10, 10}, {result.FieldSize, result.FoxCount}, {extraSize, extraFoxes}};
    if (file.size() >= RecordSize) {
        const FameRecord first = halloffame::decodeRecord(recordsOf(file).front());
        pairs.emplace_back(first.FieldSize, first.FoxCount);
    }
    for (const auto& [fieldSize, foxCount] : pairs) {
        const halloffame::FameOutcome<FameLookup> best = fame.lookUp(fieldSize, foxCount);
        FUZZ_CHECK(best.succeeded() && best.message().isEmpty());
        if (!best)
            continue;
        FUZZ_CHECK(sameLookup(*best, expectedLookup(file, fieldSize, foxCount)));
        if (std::abs(fieldSize) <= 128 && std::abs(foxCount) <= 128)
            checkLines(*best, fieldSize, foxCount);
    }
    // Looking up never writes.
    FUZZ_CHECK(files.files_[FameName] == file);

    const halloffame::FameOutcome<FameLookup> best = fame.lookUp(result.FieldSize, result.FoxCount);
    const int forced = (flags >> 1) & 3;
    FameDecisions decisions;
    if (forced == 0 && best)
        decisions = halloffame::decide(*best, result);
    else
        decisions = FameDecisions{(forced & 1) != 0, (forced & 2) != 0};
    if (best)
        FUZZ_CHECK(halloffame::decide(*best, result) ==
                   possibleDecisions(result, halloffame::decide(*best, result)));
    checkStore(files, fame, result, decisions, name, forced == 0);
    return 0;
}
