// One 72-byte record of the hall-of-fame file: its little-endian layout, the player's
// name in its 50-byte field, and whether the values could be a real result at all.
#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

namespace tarnell::halloffame {

constexpr std::size_t RecordSize = 72;
constexpr std::size_t NameSize = 50;

using RecordBytes = std::array<unsigned char, RecordSize>;
using NameField = std::array<char, NameSize>;

struct FameRecord {
    std::int32_t FieldSize = 0;
    std::int32_t FoxCount = 0;
    double Time = 0.0; // elapsed, in days
    std::int32_t Steps = 0;
    std::uint8_t TimeFlag = 0;
    std::uint8_t StepsFlag = 0;
    NameField Name{}; // single-byte characters, padded with spaces

    bool isTimeRecord() const { return TimeFlag != 0; }
    bool isStepsRecord() const { return StepsFlag != 0; }
    bool belongsTo(int fieldSize, int foxCount) const {
        return FieldSize == fieldSize && FoxCount == foxCount;
    }
    bool operator==(const FameRecord&) const = default;
};

// Offsets: size 0, foxes 4, time 8 (IEEE double), steps 16, time flag 20, steps flag 21,
// name 22..71; all numbers little-endian.
RecordBytes encodeRecord(const FameRecord& record);
FameRecord decodeRecord(const RecordBytes& bytes);

// A puzzle the game can set: a field size of 3 to 10, one fox up to the most the size allows.
bool isPossiblePuzzle(int fieldSize, int foxCount);
// An elapsed time a solved puzzle can have: finite, zero or more.
bool isPossibleTime(double days);
// Whether the record holds a real best of that kind: its flag set, a possible puzzle, and a
// possible value in the field of its kind. The field of the other kind is never looked at (a
// game that ran across midnight left a negative time in the steps records of some files).
// Other records stay in the file but never count as a best result.
bool countsAsBestTime(const FameRecord& record);
bool countsAsMinimumSteps(const FameRecord& record);

// The typed name trimmed of spaces and control characters (those below the space) at both
// ends ("Anonymous" when nothing is left), in the Western Windows code page (Windows-1252)
// with "?" for any character it cannot hold, cut to 50 bytes and padded with spaces.
NameField encodeName(const QString& typed);
// The stored name as text, trimmed the same way.
QString decodeName(const NameField& field);
// Spaces and control characters removed from both ends.
QString trimName(const QString& text);

} // namespace tarnell::halloffame
