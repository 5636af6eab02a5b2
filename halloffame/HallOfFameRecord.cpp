#include "HallOfFameRecord.h"

#include <QList>
#include <bit>
#include <cmath>
#include <cstring>

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

bool isTrimmed(char32_t c) {
    return c <= 0x20 || (c >= 0x7F && c <= 0x9F);
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

bool isPossibleResult(const FameRecord& record) {
    return record.FieldSize >= MinFieldSize && record.FieldSize <= MaxFieldSize &&
           record.FoxCount >= 1 && record.FoxCount <= mostFoxes(record.FieldSize) &&
           std::isfinite(record.Time) && record.Time >= 0.0 && record.Steps >= 0;
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
        field[used++] = c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return field;
}

QString decodeName(const NameField& field) {
    return trimName(QString::fromLatin1(field.data(), static_cast<qsizetype>(NameSize)));
}

} // namespace tarnell::halloffame
