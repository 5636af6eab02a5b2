// Shared by the dialog tests: a host that stands in for the main window, hall-of-fame files
// written and read byte by byte, and checks of where each control stands.
#pragma once

#include "dialogs/DialogHost.h"
#include "platform/drawing/Colors.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <ostream>
#include <vector>

class QWidget;
class TShadowLabel;

namespace dialogtest {

// The main window as the dialogs see it: the marker, and a count of new puzzles started.
class FakeHost : public tarnell::TDialogHost {
public:
    explicit FakeHost(int marker = tarnell::odNone) : marker(marker) {}
    int OpenDialogMarker() const override { return marker; }
    void SetOpenDialogMarker(int value) override { marker = value; }
    void StartNewPuzzle() override { ++newPuzzles; }

    int marker;
    int newPuzzles = 0;
};

// One 72-byte record, laid out here by hand rather than by the program's own encoder.
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

// Where a control must stand: its object name, its parent's object name, and its rectangle
// (a width or height of -1: sized to its content, not checked).
struct Place {
    const char* name;
    const char* parent;
    QRect rect;
};
// Checks every place within window and reports each control that is missing or misplaced.
void expectPlaces(const QWidget& window, const std::vector<Place>& places);

// The window stands in the middle of the primary screen's usable area (halves rounded down).
void expectCentred(const QWidget& window);

// A label of a dialog: its caption and colour; every such label is bold 11 pixels, transparent,
// with a black shadow one pixel right and below, and sized to its text.
struct LabelText {
    const TShadowLabel* label;
    const char* text;
    platform::TColor colour;
};
void expectLabels(const std::vector<LabelText>& labels);

// The shared look of a dialog's grab: Panel2 at 48, 32 in grey 148, the etched frame line at
// 2, 2 in it (dark grey 128 with white one pixel right and below), and the yellow mark at
// 8, 8 with its ground left out.
void expectPanelLook(const QImage& grab, QSize panelSize, QSize bevelSize);

// The window as drawn; kept as NAME.png in $TARNELL_DIALOG_GRABS when that is set, for review.
QImage grabForReview(QWidget& window, const QString& name);

} // namespace dialogtest
