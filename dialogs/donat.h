// The donation dialog: where the player can send money to support the developer, each
// account in a read-only text box to select and copy.
#pragma once

#include "dialogs/DialogParts.h"

class QLineEdit;

namespace tarnell {

class Tmybitbut;

// Opened by either donation button of the main window. The opener sets the open-dialog marker
// to 2 and then constructs the dialog, which shows itself:
//     donation_ = std::make_unique<Tdonat_form>(*this);
// Closing hides it; destroy the hidden instance when the next one opens.
class Tdonat_form : public TDialogForm {
    Q_OBJECT
public:
    // The account and the four purses shown in Edit1 to Edit5.
    static inline const QString PayPalAccount = QStringLiteral("fil@example.net");
    static inline const QString PurseWMR = QStringLiteral("R000000000001");
    static inline const QString PurseWMU = QStringLiteral("U000000000002");
    static inline const QString PurseWME = QStringLiteral("E000000000003");
    static inline const QString PurseWMZ = QStringLiteral("Z000000000004");

    explicit Tdonat_form(TDialogHost& host);

    TShadowLabel* RxLabel2 = nullptr;
    TShadowLabel* RxLabel12 = nullptr;
    TPictureBox* Image2 = nullptr;
    TShadowLabel* RxLabel4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    TPictureBox* Image3 = nullptr;
    TShadowLabel* RxLabel3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    TShadowLabel* RxLabel5 = nullptr;
    QLineEdit* Edit3 = nullptr;
    TShadowLabel* RxLabel6 = nullptr;
    QLineEdit* Edit4 = nullptr;
    TShadowLabel* RxLabel1 = nullptr;
    QLineEdit* Edit5 = nullptr;
    Tmybitbut* mybitbut1 = nullptr;

private:
    void FormCreate();
    QLineEdit* addAccountBox(const char* name, const QString& text, QPoint pos,
                             const QString& spokenName);
};

} // namespace tarnell
