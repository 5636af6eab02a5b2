// The confirmation dialog: a yes-or-no question with a picture, asked with a caption and a
// message from the caller; the dialog carries out the answer itself.
#pragma once

#include "dialogs/DialogParts.h"

namespace tarnell {

class Tmybitbut;

// The one question asked: "Start new game" while a puzzle runs unsolved. The opener sets the
// open-dialog marker to 1 (the kind of question) and then constructs the dialog, which shows
// itself:
//     confirmation_ = std::make_unique<Twarnin_form>(*this, QStringLiteral("Warning!"),
//         QStringLiteral("This game hasn't finished yet. Generate the new puzzle?"));
// "Yes" runs host.StartNewPuzzle() if the marker is still 1, then closes; "No", Escape and
// the close commands only close. Closing hides it; destroy the hidden instance when the next
// one opens.
class Twarnin_form : public TDialogForm {
    Q_OBJECT
public:
    Twarnin_form(TDialogHost& host, const QString& caption, const QString& message);

    // The kind of question this dialog was set up for (the marker at creation).
    int kind() const { return kind_; }

    TShadowLabel* RxLabel1 = nullptr;
    TPictureBox* Image2 = nullptr;
    TPictureBox* Image3 = nullptr;
    Tmybitbut* mybitbut1 = nullptr;
    Tmybitbut* mybitbut2 = nullptr;

    // "Yes": the question's action while the marker still names it, then close.
    void mybitbut1Click();
    // "No".
    void mybitbut2Click();

private:
    void FormCreate(const QString& caption, const QString& message);

    int kind_ = odNone;
};

} // namespace tarnell
