// What the dialogs know of the main window: the open-dialog marker and the new-puzzle
// command. The dialogs never include the main window itself.
#pragma once

namespace tarnell {

// Which dialog is on the screen.
enum TOpenDialog : int {
    odNone = 0,
    odConfirmation = 1,
    odDonation = 2,
    odHighScore = 3,
    odPuzzleSolved = 4,
};

class TDialogHost {
public:
    virtual ~TDialogHost() = default;
    virtual int OpenDialogMarker() const = 0;
    virtual void SetOpenDialogMarker(int marker) = 0;
    // Generates a new puzzle from the set-up values and resets the displays.
    virtual void StartNewPuzzle() = 0;
};

} // namespace tarnell
