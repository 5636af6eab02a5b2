#include "HallOfFame.h"

#include "core/Clock.h"

#include <cmath>
#include <functional>

namespace tarnell::halloffame {

namespace {

const QString PlaceholderName = QStringLiteral("Mr. Smith    ");
constexpr int MaxAsideNames = 1000;

QString quoted(const std::string& name) {
    return QStringLiteral("\"%1\"").arg(QString::fromStdString(name));
}

// "Could not read the hall of fame file "h_fame.dat": Input/output error."
QString failureText(const QString& action, const std::string& file, const std::string& reason,
                    const QString& consequence = {}) {
    QString text = QStringLiteral("Could not %1 the hall of fame file %2: %3.")
                       .arg(action, quoted(file), QString::fromLocal8Bit(reason.c_str()));
    if (!consequence.isEmpty())
        text += QLatin1Char(' ') + consequence;
    return text;
}

template <typename Value = FameDone>
FameOutcome<Value> failed(const QString& action, const std::string& file, const std::string& reason,
                          const QString& consequence = {}) {
    return FameOutcome<Value>::failure(failureText(action, file, reason, consequence));
}

FameStatus done() {
    return FameStatus::success({});
}

const QString NotStored = QStringLiteral("Your result was not stored.");

QString clockText(double days) {
    return QString::fromStdString(ClockText(days));
}

// Reads the records of an open file one by one, handing each to take until it fails.
FameStatus readRecords(FameFile& file, const std::string& name, std::int64_t length,
                       const std::function<FameStatus(const RecordBytes&)>& take,
                       const QString& consequence = {}) {
    const std::int64_t count = length / static_cast<std::int64_t>(RecordSize);
    RecordBytes bytes{};
    for (std::int64_t i = 0; i < count; ++i) {
        std::size_t got = 0;
        std::string error;
        if (!file.read(reinterpret_cast<char*>(bytes.data()), RecordSize, got, error))
            return failed(QStringLiteral("read"), name, error, consequence);
        if (got != RecordSize)
            return failed(QStringLiteral("read"), name, "the file ended before its last record",
                          consequence);
        if (FameStatus taken = take(bytes); !taken)
            return taken;
    }
    return done();
}

// The result as a record, its time to the nearest whole millisecond.
FameRecord recordOf(const TPuzzleResult& result, const QString& typedName) {
    FameRecord record;
    record.FieldSize = result.FieldSize;
    record.FoxCount = result.FoxCount;
    record.Steps = result.StepCount;
    record.Time = result.Elapsed;
    if (isPossibleTime(record.Time))
        record.Time = static_cast<double>(ElapsedMilliseconds(result.Elapsed)) / MillisecondsPerDay;
    record.Name = encodeName(typedName);
    return record;
}

// Whether a record of the old file goes into the new one. Kind by kind: a part that never
// counted stays as it was, a counting part stays while no new best of its kind replaces it;
// so a record that holds both bests is kept once while either of them still stands.
bool keeps(const FameRecord& record, int fieldSize, int foxCount, FameDecisions decisions) {
    if (!record.belongsTo(fieldSize, foxCount))
        return true;
    const bool keptForTime =
        record.isTimeRecord() && (!countsAsBestTime(record) || !decisions.NewBestTime);
    const bool keptForSteps =
        record.isStepsRecord() && (!countsAsMinimumSteps(record) || !decisions.NewMinimumSteps);
    return keptForTime || keptForSteps;
}

// The decisions that a result can carry: a new best only of a kind whose value is possible.
FameDecisions possibleDecisions(const TPuzzleResult& result, FameDecisions decisions) {
    const bool puzzle = isPossiblePuzzle(result.FieldSize, result.FoxCount);
    decisions.NewBestTime = decisions.NewBestTime && puzzle && isPossibleTime(result.Elapsed);
    decisions.NewMinimumSteps = decisions.NewMinimumSteps && puzzle && result.StepCount >= 0;
    return decisions;
}

} // namespace

std::int64_t placeholderMilliseconds(int fieldSize, int foxCount) {
    return static_cast<std::int64_t>(fieldSize) * foxCount * 1000;
}

int placeholderSteps(int fieldSize, int foxCount) {
    return 2 * (fieldSize + foxCount);
}

FameDecisions decide(const FameLookup& best, const TPuzzleResult& result) {
    FameDecisions decisions;
    const std::int64_t bestTime = best.TimeRecord
                                      ? ElapsedMilliseconds(best.TimeRecord->Time)
                                      : placeholderMilliseconds(result.FieldSize, result.FoxCount);
    const std::int64_t bestSteps = best.StepsRecord
                                       ? best.StepsRecord->Steps
                                       : placeholderSteps(result.FieldSize, result.FoxCount);
    decisions.NewBestTime = ElapsedMilliseconds(result.Elapsed) < bestTime;
    decisions.NewMinimumSteps = result.StepCount < bestSteps;
    return possibleDecisions(result, decisions);
}

QString bestTimeLine(const FameRecord& record) {
    return decodeName(record.Name) + QStringLiteral("  ") + clockText(record.Time);
}

QString minimumStepsLine(const FameRecord& record) {
    return decodeName(record.Name) + QStringLiteral("  ") + QString::number(record.Steps) +
           QStringLiteral(" steps");
}

QString placeholderTimeLine(int fieldSize, int foxCount) {
    return PlaceholderName +
           clockText(static_cast<double>(placeholderMilliseconds(fieldSize, foxCount)) /
                     MillisecondsPerDay);
}

QString placeholderStepsLine(int fieldSize, int foxCount) {
    return PlaceholderName + QString::number(placeholderSteps(fieldSize, foxCount)) +
           QStringLiteral(" steps");
}

QString timeLine(const FameLookup& best, int fieldSize, int foxCount) {
    return best.TimeRecord ? bestTimeLine(*best.TimeRecord)
                           : placeholderTimeLine(fieldSize, foxCount);
}

QString stepsLine(const FameLookup& best, int fieldSize, int foxCount) {
    return best.StepsRecord ? minimumStepsLine(*best.StepsRecord)
                            : placeholderStepsLine(fieldSize, foxCount);
}

HallOfFame::HallOfFame(FameFileSystem& files) : files_(files) {}

FameStatus HallOfFame::check() {
    std::string error;
    if (!files_.exists(FameFileName)) {
        std::unique_ptr<FameFile> created =
            files_.open(FameFileName, FameOpenMode::CreateIfMissing, error);
        if (!created)
            return failed(QStringLiteral("create"), FameFileName, error);
        if (!created->close(error))
            return failed(QStringLiteral("close"), FameFileName, error);
        return done();
    }
    std::unique_ptr<FameFile> file = files_.open(FameFileName, FameOpenMode::Read, error);
    if (!file)
        return failed(QStringLiteral("open"), FameFileName, error);
    std::int64_t length = 0;
    if (!file->length(length, error))
        return failed(QStringLiteral("find the length of"), FameFileName, error);
    if (!file->close(error))
        return failed(QStringLiteral("close"), FameFileName, error);
    return done();
}

FameOutcome<FameLookup> HallOfFame::lookUp(int fieldSize, int foxCount) {
    FameLookup best;
    if (!files_.exists(FameFileName))
        return FameOutcome<FameLookup>::success(best);
    std::string error;
    std::unique_ptr<FameFile> file = files_.open(FameFileName, FameOpenMode::Read, error);
    if (!file)
        return failed<FameLookup>(QStringLiteral("open"), FameFileName, error);
    std::int64_t length = 0;
    if (!file->length(length, error))
        return failed<FameLookup>(QStringLiteral("find the length of"), FameFileName, error);
    // A file that is not a whole number of records holds nothing that can be trusted.
    if (length % static_cast<std::int64_t>(RecordSize) == 0) {
        const FameStatus read =
            readRecords(*file, FameFileName, length, [&](const RecordBytes& bytes) {
                const FameRecord record = decodeRecord(bytes);
                if (record.belongsTo(fieldSize, foxCount)) {
                    if (countsAsBestTime(record))
                        best.TimeRecord = record;
                    if (countsAsMinimumSteps(record))
                        best.StepsRecord = record;
                }
                return done();
            });
        if (!read)
            return FameOutcome<FameLookup>::failure(read.message());
    }
    if (!file->close(error))
        return failed<FameLookup>(QStringLiteral("close"), FameFileName, error);
    return FameOutcome<FameLookup>::success(best);
}

FameOutcome<HallOfFame::OldFile> HallOfFame::openOld() {
    OldFile old;
    if (!files_.exists(FameFileName))
        return FameOutcome<OldFile>::success(std::move(old));
    std::string error;
    old.File = files_.open(FameFileName, FameOpenMode::Read, error);
    if (!old.File)
        return failed<OldFile>(QStringLiteral("open"), FameFileName, error, NotStored);
    old.State.Exists = true;
    if (!old.File->length(old.State.Length, error))
        return failed<OldFile>(QStringLiteral("find the length of"), FameFileName, error,
                               NotStored);
    // A file the player protected stays as it is: it is neither rewritten nor replaced.
    if (!files_.mayWrite(FameFileName, error))
        return failed<OldFile>(QStringLiteral("write"), FameFileName, error, NotStored);
    if (!old.File->permissions(old.Permissions, error))
        return failed<OldFile>(QStringLiteral("find the permissions of"), FameFileName, error,
                               NotStored);
    return FameOutcome<OldFile>::success(std::move(old));
}

FameStatus HallOfFame::writeNewFile(OldFile& old, FameFile& out,
                                    const std::function<bool(const FameRecord&)>& keep,
                                    const std::vector<FameRecord>& added) {
    const auto write = [&](const RecordBytes& bytes) {
        std::string error;
        if (!out.write(reinterpret_cast<const char*>(bytes.data()), RecordSize, error))
            return failed(QStringLiteral("write"), NewFameFileName, error, NotStored);
        return done();
    };
    std::string error;
    if (old.File && !out.setPermissions(old.Permissions, error))
        return failed(QStringLiteral("set the permissions of"), NewFameFileName, error, NotStored);
    // Kept records are copied byte for byte, whatever they hold.
    if (old.File && old.State.whole()) {
        const FameStatus copied = readRecords(
            *old.File, FameFileName, old.State.Length,
            [&](const RecordBytes& bytes) {
                return keep(decodeRecord(bytes)) ? write(bytes) : done();
            },
            NotStored);
        if (!copied)
            return copied;
    }
    for (const FameRecord& record : added)
        if (FameStatus written = write(encodeRecord(record)); !written)
            return written;
    if (!out.flush(error))
        return failed(QStringLiteral("save to the disk"), NewFameFileName, error, NotStored);
    if (!out.close(error))
        return failed(QStringLiteral("close"), NewFameFileName, error, NotStored);
    if (old.File && !old.File->close(error))
        return failed(QStringLiteral("close"), FameFileName, error, NotStored);
    return done();
}

FameOutcome<std::string> HallOfFame::putAside() {
    for (int i = 1; i <= MaxAsideNames; ++i) {
        std::string asideName = DamagedFameFileName;
        if (i > 1)
            asideName.append(1, '.').append(std::to_string(i));
        if (files_.exists(asideName))
            continue;
        std::string error;
        if (!files_.rename(FameFileName, asideName, error))
            return failed<std::string>(QStringLiteral("keep aside"), FameFileName, error,
                                       NotStored);
        return FameOutcome<std::string>::success(asideName);
    }
    return failed<std::string>(QStringLiteral("keep aside"), FameFileName,
                               "every name for a damaged copy is taken", NotStored);
}

FameStatus HallOfFame::swapIn(const OldFile& old) {
    const bool damaged = !old.State.whole();
    std::string asideName;
    if (damaged) {
        const FameOutcome<std::string> aside = putAside();
        if (!aside)
            return FameStatus::failure(aside.message());
        asideName = *aside;
    }
    std::string error;
    if (!files_.rename(NewFameFileName, FameFileName, error)) {
        if (damaged) {
            std::string ignored;
            files_.rename(asideName, FameFileName, ignored);
        }
        return FameStatus::failure(
            QStringLiteral("Could not put the new hall of fame file %1 in the place of %2: %3. "
                           "The hall of fame keeps its previous results; %4")
                .arg(quoted(NewFameFileName), quoted(FameFileName),
                     QString::fromLocal8Bit(error.c_str()), NotStored.toLower()));
    }
    if (!damaged)
        return done();
    return FameStatus::success(
        {}, QStringLiteral("The hall of fame file %1 was damaged: its length of %2 bytes is not a "
                           "whole number of %3-byte records, so none of its results could be "
                           "read. It has been kept as %4, and a new hall of fame was started.")
                .arg(quoted(FameFileName))
                .arg(old.State.Length)
                .arg(RecordSize)
                .arg(quoted(asideName)));
}

FameStatus HallOfFame::store(const TPuzzleResult& result, FameDecisions decisions,
                             const QString& typedName) {
    const FameRecord fresh = recordOf(result, typedName);
    decisions = possibleDecisions(result, decisions);

    FameOutcome<OldFile> opened = openOld();
    if (!opened)
        return FameStatus::failure(opened.message());
    OldFile old = std::move(*opened);

    std::string error;
    std::unique_ptr<FameFile> out = files_.open(NewFameFileName, FameOpenMode::Replace, error);
    if (!out)
        return failed(QStringLiteral("create"), NewFameFileName, error, NotStored);

    std::vector<FameRecord> added;
    if (decisions.NewBestTime) {
        FameRecord timeRecord = fresh;
        timeRecord.TimeFlag = 1;
        timeRecord.StepsFlag = 0;
        added.push_back(timeRecord);
    }
    if (decisions.NewMinimumSteps) {
        FameRecord stepsRecord = fresh;
        stepsRecord.TimeFlag = 0;
        stepsRecord.StepsFlag = 1;
        added.push_back(stepsRecord);
    }
    const auto keep = [&](const FameRecord& record) {
        return keeps(record, result.FieldSize, result.FoxCount, decisions);
    };
    FameStatus stored = writeNewFile(old, *out, keep, added);
    out.reset();
    if (stored)
        stored = swapIn(old);
    // On any failure "h_fame.dat" is still untouched; the partial new file goes.
    if (!stored) {
        std::string ignored;
        files_.remove(NewFameFileName, ignored);
    }
    return stored;
}

} // namespace tarnell::halloffame
