#include "FameFileBytes.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace tarnell::halloffametest {

namespace {

void putLittleEndian(QByteArray& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t getLittleEndian(const QByteArray& in, int offset, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(in.at(offset + i));
    return value;
}

} // namespace

double days(double seconds) {
    return seconds / 86400.0;
}

TPuzzleResult solvedPuzzle(int size, int foxes, double seconds, int steps) {
    TPuzzleResult result;
    result.FieldSize = size;
    result.FoxCount = foxes;
    result.StepCount = steps;
    result.Elapsed = days(seconds);
    return result;
}

double storedDays(double seconds) {
    return static_cast<double>(std::llround(seconds * 1000.0)) / 86400000.0;
}

void PrintTo(const Record& record, std::ostream* out) {
    *out << "{" << record.size << ", " << record.foxes << ", " << record.days * 86400.0 << " s, "
         << record.steps << " steps, flags " << record.timeFlag << record.stepsFlag << ", \""
         << record.name.toStdString() << "\"}";
}

QByteArray padded(const QByteArray& name) {
    QByteArray field = name.left(50);
    field.append(QByteArray(50 - field.size(), ' '));
    return field;
}

QByteArray encode(const Record& record) {
    QByteArray out;
    putLittleEndian(out, static_cast<std::uint32_t>(record.size), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(record.foxes), 4);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &record.days, sizeof bits);
    putLittleEndian(out, bits, 8);
    putLittleEndian(out, static_cast<std::uint32_t>(record.steps), 4);
    out.append(static_cast<char>(record.timeFlag));
    out.append(static_cast<char>(record.stepsFlag));
    out.append(padded(record.name));
    return out;
}

std::vector<Record> decodeAll(const QByteArray& bytes) {
    std::vector<Record> records;
    for (int at = 0; at + 72 <= bytes.size(); at += 72) {
        Record r;
        r.size = static_cast<std::int32_t>(getLittleEndian(bytes, at, 4));
        r.foxes = static_cast<std::int32_t>(getLittleEndian(bytes, at + 4, 4));
        const std::uint64_t bits = getLittleEndian(bytes, at + 8, 8);
        std::memcpy(&r.days, &bits, sizeof bits);
        r.steps = static_cast<std::int32_t>(getLittleEndian(bytes, at + 16, 4));
        r.timeFlag = static_cast<unsigned char>(bytes.at(at + 20));
        r.stepsFlag = static_cast<unsigned char>(bytes.at(at + 21));
        r.name = bytes.mid(at + 22, 50);
        records.push_back(r);
    }
    return records;
}

void removeFameFiles() {
    const QDir here = QDir::current();
    for (const QString& name : here.entryList({QStringLiteral("h_fame*")}, QDir::Files))
        QFile::remove(name);
}

QByteArray readFile(const char* name) {
    QFile file(QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const char* name, const QByteArray& bytes) {
    QFile file(QString::fromLatin1(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

bool fileExists(const char* name) {
    return QFile::exists(QString::fromLatin1(name));
}

void writeFameFile(const std::vector<Record>& records) {
    QByteArray bytes;
    for (const Record& record : records)
        bytes += encode(record);
    writeFile(FameFile, bytes);
}

QByteArray readFameFile() {
    return readFile(FameFile);
}

bool fameFileExists() {
    return fileExists(FameFile);
}

} // namespace tarnell::halloffametest
