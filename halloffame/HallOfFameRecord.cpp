#include "HallOfFameRecord.h"

#include <QList>
#include <bit>
#include <cmath>
#include <cstring>
#include <string>

namespace tarnell::halloffame {

namespace {

template <typename Unsigned> void putLittleEndian(unsigned char* out, Unsigned value) {
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        out[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFFu);
}

template <typename Unsigned> Unsigned getLittleEndian(const unsigned char* in) {
    Unsigned value = 0;
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        value |= static_cast<Unsigned>(in[i]) << (8 * i);
    return value;
}

void putInt32(unsigned char* out, std::int32_t value) {
    putLittleEndian(out, static_cast<std::uint32_t>(value));
}

std::int32_t getInt32(const unsigned char* in) {
    return static_cast<std::int32_t>(getLittleEndian<std::uint32_t>(in));
}

constexpr int MinFieldSize = 3;
constexpr int MaxFieldSize = 10;

// One fox per ten cells, rounded, halves going up.
int mostFoxes(int fieldSize) {
    return (fieldSize * fieldSize + 5) / 10;
}

// Spaces and the control characters below them.
bool isTrimmed(char32_t c) {
    return c <= 0x20;
}

// The characters of the bytes 0x80 to 0x9F in the Western Windows code page; the five bytes
// it leaves free stand for the control characters of the same number, as Windows reads them.
// Every other byte is the character of the same number.
constexpr char16_t WesternHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t fromWestern(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? WesternHighControls[byte - 0x80] : byte;
}

// "?" for a character that the code page cannot hold.
char toWestern(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (unsigned char i = 0; i < 32; ++i)
        if (WesternHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

RecordBytes encodeRecord(const FameRecord& record) {
    RecordBytes bytes{};
    putInt32(&bytes[0], record.FieldSize);
    putInt32(&bytes[4], record.FoxCount);
    putLittleEndian(&bytes[8], std::bit_cast<std::uint64_t>(record.Time));
    putInt32(&bytes[16], record.Steps);
    bytes[20] = record.TimeFlag;
    bytes[21] = record.StepsFlag;
    std::memcpy(&bytes[22], record.Name.data(), NameSize);
    return bytes;
}

FameRecord decodeRecord(const RecordBytes& bytes) {
    FameRecord record;
    record.FieldSize = getInt32(&bytes[0]);
    record.FoxCount = getInt32(&bytes[4]);
    record.Time = std::bit_cast<double>(getLittleEndian<std::uint64_t>(&bytes[8]));
    record.Steps = getInt32(&bytes[16]);
    record.TimeFlag = bytes[20];
    record.StepsFlag = bytes[21];
    std::memcpy(record.Name.data(), &bytes[22], NameSize);
    return record;
}

bool isPossiblePuzzle(int fieldSize, int foxCount) {
    return fieldSize >= MinFieldSize && fieldSize <= MaxFieldSize && foxCount >= 1 &&
           foxCount <= mostFoxes(fieldSize);
}

bool isPossibleTime(double days) {
    return std::isfinite(days) && days >= 0.0;
}

bool countsAsBestTime(const FameRecord& record) {
    return record.isTimeRecord() && isPossiblePuzzle(record.FieldSize, record.FoxCount) &&
           isPossibleTime(record.Time);
}

bool countsAsMinimumSteps(const FameRecord& record) {
    return record.isStepsRecord() && isPossiblePuzzle(record.FieldSize, record.FoxCount) &&
           record.Steps >= 0;
}

QString trimName(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isTrimmed(text.at(first).unicode()))
        ++first;
    while (last > first && isTrimmed(text.at(last - 1).unicode()))
        --last;
    return text.mid(first, last - first);
}

NameField encodeName(const QString& typed) {
    QString name = trimName(typed);
    if (name.isEmpty())
        name = QStringLiteral("Anonymous");
    NameField field;
    field.fill(' ');
    std::size_t used = 0;
    // By whole characters, so a character outside the BMP is one "?", not two.
    for (const char32_t c : name.toUcs4()) {
        if (used == NameSize)
            break;
        field[used++] = toWestern(c);
    }
    return field;
}

QString decodeName(const NameField& field) {
    std::u32string text;
    for (const char byte : field)
        text.push_back(fromWestern(static_cast<unsigned char>(byte)));
    return trimName(QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace tarnell::halloffame
