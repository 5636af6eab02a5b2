#include "HallOfFame.h"

#include "core/Clock.h"
#include "platform/MessageBox.h"

#include <cmath>
#include <functional>

namespace halloffame {

namespace {

const QString PlaceholderName = QStringLiteral("Mr. Smith    ");
constexpr int MaxAsideNames = 1000;

QString quoted(const std::string& name) {
    return QStringLiteral("\"%1\"").arg(QString::fromStdString(name));
}

// "Could not read the hall of fame file "h_fame.dat": Input/output error."
void reportFailure(const QString& action, const std::string& file, const std::string& reason,
                   const QString& consequence = {}) {
    QString text = QStringLiteral("Could not %1 the hall of fame file %2: %3.")
                       .arg(action, quoted(file), QString::fromLocal8Bit(reason.c_str()));
    if (!consequence.isEmpty())
        text += QLatin1Char(' ') + consequence;
    platform::showMessage(text);
}

const QString NotStored = QStringLiteral("Your result was not stored.");

QString clockText(double days) {
    return QString::fromStdString(tarnell::ClockText(days));
}

// Reads the records of an open file one by one; false when a failure was reported.
bool readRecords(FameFile& file, const std::string& name, std::int64_t length,
                 const std::function<bool(const RecordBytes&)>& take,
                 const QString& consequence = {}) {
    const std::int64_t count = length / static_cast<std::int64_t>(RecordSize);
    RecordBytes bytes{};
    for (std::int64_t i = 0; i < count; ++i) {
        std::size_t got = 0;
        std::string error;
        if (!file.read(reinterpret_cast<char*>(bytes.data()), RecordSize, got, error)) {
            reportFailure(QStringLiteral("read"), name, error, consequence);
            return false;
        }
        if (got != RecordSize) {
            reportFailure(QStringLiteral("read"), name, "the file ended before its last record",
                          consequence);
            return false;
        }
        if (!take(bytes))
            return false;
    }
    return true;
}

// The result as a record, its time to the nearest whole millisecond.
FameRecord recordOf(const tarnell::TPuzzleResult& result, const QString& typedName) {
    FameRecord record;
    record.FieldSize = result.FieldSize;
    record.FoxCount = result.FoxCount;
    record.Steps = result.StepCount;
    record.Time = result.Elapsed;
    if (isPossibleResult(record))
        record.Time = static_cast<double>(tarnell::ElapsedMilliseconds(result.Elapsed)) /
                      tarnell::MillisecondsPerDay;
    record.Name = encodeName(typedName);
    return record;
}

// Whether a record of the old file goes into the new one.
bool keeps(const FameRecord& record, int fieldSize, int foxCount, FameDecisions decisions) {
    if (!record.belongsTo(fieldSize, foxCount) || !isPossibleResult(record))
        return true;
    // A record that holds both bests is kept once while either of them still stands.
    return (record.isTimeRecord() && !decisions.NewBestTime) ||
           (record.isStepsRecord() && !decisions.NewMinimumSteps);
}

} // namespace

std::int64_t placeholderMilliseconds(int fieldSize, int foxCount) {
    return static_cast<std::int64_t>(fieldSize) * foxCount * 1000;
}

int placeholderSteps(int fieldSize, int foxCount) {
    return 2 * (fieldSize + foxCount);
}

FameDecisions decide(const FameLookup& best, const tarnell::TPuzzleResult& result) {
    FameDecisions decisions;
    FameRecord probe;
    probe.FieldSize = result.FieldSize;
    probe.FoxCount = result.FoxCount;
    probe.Time = result.Elapsed;
    probe.Steps = result.StepCount;
    if (!isPossibleResult(probe))
        return decisions;
    const std::int64_t bestTime = best.TimeRecord
                                      ? tarnell::ElapsedMilliseconds(best.TimeRecord->Time)
                                      : placeholderMilliseconds(result.FieldSize, result.FoxCount);
    const std::int64_t bestSteps = best.StepsRecord
                                       ? best.StepsRecord->Steps
                                       : placeholderSteps(result.FieldSize, result.FoxCount);
    decisions.NewBestTime = tarnell::ElapsedMilliseconds(result.Elapsed) < bestTime;
    decisions.NewMinimumSteps = result.StepCount < bestSteps;
    return decisions;
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
                     tarnell::MillisecondsPerDay);
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

std::optional<HallOfFame::FileState> HallOfFame::examine(bool createWhenMissing) {
    std::string error;
    if (!files_.exists(FameFileName)) {
        if (!createWhenMissing)
            return FileState{};
        std::unique_ptr<FameFile> created =
            files_.open(FameFileName, FameOpenMode::CreateIfMissing, error);
        if (!created) {
            reportFailure(QStringLiteral("create"), FameFileName, error);
            return std::nullopt;
        }
        if (!created->close(error)) {
            reportFailure(QStringLiteral("close"), FameFileName, error);
            return std::nullopt;
        }
        return FileState{true, 0};
    }
    std::unique_ptr<FameFile> file = files_.open(FameFileName, FameOpenMode::Read, error);
    if (!file) {
        reportFailure(QStringLiteral("open"), FameFileName, error);
        return std::nullopt;
    }
    FileState state{true, 0};
    if (!file->length(state.Length, error)) {
        reportFailure(QStringLiteral("find the length of"), FameFileName, error);
        return std::nullopt;
    }
    if (!file->close(error)) {
        reportFailure(QStringLiteral("close"), FameFileName, error);
        return std::nullopt;
    }
    return state;
}

bool HallOfFame::check() {
    return examine(true).has_value();
}

std::optional<FameLookup> HallOfFame::lookUp(int fieldSize, int foxCount) {
    if (!check())
        return std::nullopt;
    std::string error;
    std::unique_ptr<FameFile> file = files_.open(FameFileName, FameOpenMode::Read, error);
    if (!file) {
        reportFailure(QStringLiteral("open"), FameFileName, error);
        return std::nullopt;
    }
    std::int64_t length = 0;
    if (!file->length(length, error)) {
        reportFailure(QStringLiteral("find the length of"), FameFileName, error);
        return std::nullopt;
    }
    FameLookup best;
    // A file that is not a whole number of records holds nothing that can be trusted.
    if (length % static_cast<std::int64_t>(RecordSize) == 0) {
        const bool read = readRecords(*file, FameFileName, length, [&](const RecordBytes& bytes) {
            const FameRecord record = decodeRecord(bytes);
            if (record.belongsTo(fieldSize, foxCount) && isPossibleResult(record)) {
                if (record.isTimeRecord())
                    best.TimeRecord = record;
                if (record.isStepsRecord())
                    best.StepsRecord = record;
            }
            return true;
        });
        if (!read)
            return std::nullopt;
    }
    if (!file->close(error)) {
        reportFailure(QStringLiteral("close"), FameFileName, error);
        return std::nullopt;
    }
    return best;
}

bool HallOfFame::putAside(std::string& asideName) {
    for (int i = 1; i <= MaxAsideNames; ++i) {
        asideName = DamagedFameFileName;
        if (i > 1)
            asideName.append(1, '.').append(std::to_string(i));
        if (files_.exists(asideName))
            continue;
        std::string error;
        if (!files_.rename(FameFileName, asideName, error)) {
            reportFailure(QStringLiteral("keep aside"), FameFileName, error, NotStored);
            return false;
        }
        return true;
    }
    reportFailure(QStringLiteral("keep aside"), FameFileName,
                  "every name for a damaged copy is taken", NotStored);
    return false;
}

bool HallOfFame::store(const tarnell::TPuzzleResult& result, FameDecisions decisions,
                       const QString& typedName) {
    const FameRecord fresh = recordOf(result, typedName);
    if (!isPossibleResult(fresh))
        decisions = FameDecisions{};
    std::string error;

    // The old records, read only; a missing file simply has none.
    std::unique_ptr<FameFile> old;
    std::int64_t oldLength = 0;
    if (files_.exists(FameFileName)) {
        old = files_.open(FameFileName, FameOpenMode::Read, error);
        if (!old) {
            reportFailure(QStringLiteral("open"), FameFileName, error, NotStored);
            return false;
        }
        if (!old->length(oldLength, error)) {
            reportFailure(QStringLiteral("find the length of"), FameFileName, error, NotStored);
            return false;
        }
    }
    const bool damaged = oldLength % static_cast<std::int64_t>(RecordSize) != 0;

    std::unique_ptr<FameFile> out = files_.open(NewFameFileName, FameOpenMode::Replace, error);
    if (!out) {
        reportFailure(QStringLiteral("create"), NewFameFileName, error, NotStored);
        return false;
    }
    // On any failure from here on "h_fame.dat" is still untouched; the partial new file goes.
    const auto abandon = [&] {
        out.reset();
        std::string ignored;
        files_.remove(NewFameFileName, ignored);
        return false;
    };
    const auto write = [&](const RecordBytes& bytes) {
        std::string writeError;
        if (!out->write(reinterpret_cast<const char*>(bytes.data()), RecordSize, writeError)) {
            reportFailure(QStringLiteral("write"), NewFameFileName, writeError, NotStored);
            return false;
        }
        return true;
    };

    if (old && !damaged) {
        const bool copied = readRecords(
            *old, FameFileName, oldLength,
            [&](const RecordBytes& bytes) {
                // Kept records are copied byte for byte, whatever they hold.
                if (!keeps(decodeRecord(bytes), result.FieldSize, result.FoxCount, decisions))
                    return true;
                return write(bytes);
            },
            NotStored);
        if (!copied)
            return abandon();
    }
    if (decisions.NewBestTime) {
        FameRecord timeRecord = fresh;
        timeRecord.TimeFlag = 1;
        timeRecord.StepsFlag = 0;
        if (!write(encodeRecord(timeRecord)))
            return abandon();
    }
    if (decisions.NewMinimumSteps) {
        FameRecord stepsRecord = fresh;
        stepsRecord.TimeFlag = 0;
        stepsRecord.StepsFlag = 1;
        if (!write(encodeRecord(stepsRecord)))
            return abandon();
    }
    if (!out->flush(error)) {
        reportFailure(QStringLiteral("save to the disk"), NewFameFileName, error, NotStored);
        return abandon();
    }
    if (!out->close(error)) {
        reportFailure(QStringLiteral("close"), NewFameFileName, error, NotStored);
        return abandon();
    }
    if (old && !old->close(error)) {
        reportFailure(QStringLiteral("close"), FameFileName, error, NotStored);
        return abandon();
    }

    std::string asideName;
    if (damaged && !putAside(asideName))
        return abandon();
    if (!files_.rename(NewFameFileName, FameFileName, error)) {
        if (damaged) {
            std::string ignored;
            files_.rename(asideName, FameFileName, ignored);
        }
        platform::showMessage(
            QStringLiteral("Could not put the new hall of fame file %1 in the place of %2: %3. "
                           "The hall of fame keeps its previous results; %4")
                .arg(quoted(NewFameFileName), quoted(FameFileName),
                     QString::fromLocal8Bit(error.c_str()), NotStored.toLower()));
        return abandon();
    }
    if (damaged) {
        platform::showMessage(
            QStringLiteral("The hall of fame file %1 was damaged: its length of %2 bytes is not a "
                           "whole number of %3-byte records, so none of its results could be "
                           "read. It has been kept as %4, and a new hall of fame was started.")
                .arg(quoted(FameFileName))
                .arg(oldLength)
                .arg(RecordSize)
                .arg(quoted(asideName)));
    }
    return true;
}

} // namespace halloffame
