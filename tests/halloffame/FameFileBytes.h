// Hall-of-fame files as the tests see them: records laid out by hand rather than by the
// program's own encoder, and the files of the scratch working directory byte for byte.
#pragma once

#include "core/Puzzle.h"

#include <QByteArray>
#include <ostream>
#include <vector>

namespace tarnell::halloffametest {

// One 72-byte record.
struct Record {
    int size = 0;
    int foxes = 0;
    double days = 0.0;
    int steps = 0;
    int timeFlag = 0;
    int stepsFlag = 0;
    QByteArray name; // padded with spaces to 50 bytes when written
    bool operator==(const Record&) const = default;
};
void PrintTo(const Record& record, std::ostream* out);
double days(double seconds);
// The snapshot of a solved puzzle of that set-up, time and steps.
TPuzzleResult solvedPuzzle(int size, int foxes, double seconds, int steps);
// A time as the file stores it: rounded to a whole millisecond, then in days.
double storedDays(double seconds);
QByteArray encode(const Record& record);
std::vector<Record> decodeAll(const QByteArray& bytes); // the whole records of bytes
QByteArray padded(const QByteArray& name);              // a name as its 50 stored bytes

// Files of the scratch working directory, byte for byte; a missing file reads as empty.
QByteArray readFile(const char* name);
void writeFile(const char* name, const QByteArray& bytes);
bool fileExists(const char* name);

constexpr char FameFile[] = "h_fame.dat";
// The scratch working directory holds no hall-of-fame files after this.
void removeFameFiles();
void writeFameFile(const std::vector<Record>& records);
QByteArray readFameFile();
bool fameFileExists();

} // namespace tarnell::halloffametest
