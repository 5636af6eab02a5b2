// Shared by the dialog tests: a host that stands in for the main window, and checks of where
// each control stands and how it looks.
#pragma once

#include "dialogs/DialogHost.h"
#include "platform/drawing/Colors.h"
#include "tests/halloffame/FameFileBytes.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class QWidget;

namespace tarnell {

class TShadowLabel;

namespace dialogtest {

// The main window as the dialogs see it: the marker, and a count of new puzzles started.
class FakeHost : public TDialogHost {
public:
    explicit FakeHost(int marker = odNone) : marker_(marker) {}
    int OpenDialogMarker() const override { return marker_; }
    void SetOpenDialogMarker(int value) override { marker_ = value; }
    void StartNewPuzzle() override { ++newPuzzles_; }

    int marker_;
    int newPuzzles_ = 0;
};

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

} // namespace tarnell
