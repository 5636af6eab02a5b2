// The puzzle-solved dialog: the solved puzzle's result beside the best one in the hall of
// fame, a name box when a best was beaten, and "OK" to store the result.
#pragma once

#include "core/Puzzle.h"
#include "dialogs/DialogParts.h"
#include "halloffame/FameFile.h"
#include "halloffame/HallOfFame.h"

#include <QString>
#include <functional>

class QLineEdit;
class QTimer;

namespace tarnell {

// Opened by the main window when the last fox is found. The opener sets the open-dialog marker
// to 4 and then constructs the dialog, which prepares and shows itself:
//     solved_ = std::make_unique<Tgame_over_form>(*this, result);
// It reads and writes the hall of fame in the working directory and uses only the snapshot it
// is given. Closing hides it; destroy the hidden instance when the next one opens.
class Tgame_over_form : public TDialogForm {
    Q_OBJECT
public:
    // Plays the embedded wave sound of that name; the default plays it through the platform.
    using SoundPlayer = std::function<void(const QString& name)>;
    static void playEmbeddedSound(const QString& name);

    static constexpr int SoundDelayMs = 1000;

    Tgame_over_form(TDialogHost& host, const TPuzzleResult& result,
                    SoundPlayer playSound = &Tgame_over_form::playEmbeddedSound,
                    halloffame::FameFileSystem& files = halloffame::diskFileSystem());

    const TPuzzleResult& result() const { return result_; }
    const halloffame::FameDecisions& decisions() const { return decisions_; }

    TShadowLabel* RxLabel2 = nullptr;
    TShadowLabel* RxLabel3 = nullptr;
    TShadowLabel* RxLabel6 = nullptr;
    TShadowLabel* RxLabel8 = nullptr;
    TShadowLabel* RxLabel7 = nullptr;
    TShadowLabel* RxLabel4 = nullptr;
    TShadowLabel* RxLabel5 = nullptr;
    TShadowLabel* RxLabel9 = nullptr;
    TShadowLabel* RxLabel10 = nullptr;
    TShadowLabel* RxLabel11 = nullptr;
    TShadowLabel* RxLabel12 = nullptr;
    TShadowLabel* RxLabel13 = nullptr;
    TShadowLabel* RxLabel15 = nullptr;
    TShadowLabel* RxLabel14 = nullptr;
    TShadowLabel* RxLabel16 = nullptr;
    TShadowLabel* RxLabel17 = nullptr;
    QLineEdit* Edit1 = nullptr;
    Tmybitbut* mybitbut1 = nullptr;
    QTimer* Timer1 = nullptr;

    // "OK": stores the result with the decisions and the typed name, then closes; when the
    // store fails (it reports why) the dialog stays open so the player can try again.
    void mybitbut1Click();

private:
    void FormCreate();
    void Timer1Timer();

    TPuzzleResult result_;
    halloffame::FameDecisions decisions_;
    SoundPlayer playSound_;
    halloffame::FameFileSystem& files_;
};

} // namespace tarnell
