// The high-score dialog: the best time and the fewest steps stored in the hall of fame for
// one field size and fox count. It only reads the hall of fame.
#pragma once

#include "dialogs/DialogParts.h"
#include "halloffame/FameFile.h"

namespace tarnell {

class Tmybitbut;

// Opened by the main window's high-score button with the field size and fox count of the
// puzzle in play or solved last (not the set-up values). The opener sets the open-dialog
// marker to 3 and then constructs the dialog, which prepares and shows itself:
//     score_ = std::make_unique<Tscore_form>(*this, puzzle.FieldSize, puzzle.FoxCount);
// A missing hall-of-fame file is created empty. Closing hides it; destroy the hidden
// instance when the next one opens.
class Tscore_form : public TDialogForm {
    Q_OBJECT
public:
    Tscore_form(TDialogHost& host, int fieldSize, int foxCount,
                halloffame::FameFileSystem& files = halloffame::diskFileSystem());

    TShadowLabel* RxLabel2 = nullptr;
    TShadowLabel* RxLabel3 = nullptr;
    TShadowLabel* RxLabel6 = nullptr;
    TShadowLabel* RxLabel8 = nullptr;
    TShadowLabel* RxLabel7 = nullptr;
    TShadowLabel* RxLabel12 = nullptr;
    TShadowLabel* RxLabel13 = nullptr;
    TShadowLabel* RxLabel15 = nullptr;
    TShadowLabel* RxLabel14 = nullptr;
    TShadowLabel* RxLabel16 = nullptr;
    Tmybitbut* mybitbut1 = nullptr;

private:
    void FormCreate();

    int fieldSize_;
    int foxCount_;
    halloffame::FameFileSystem& files_;
};

} // namespace tarnell
