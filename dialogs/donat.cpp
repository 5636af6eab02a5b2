#include "donat.h"

#include "widgets/buttons/buts.h"

#include <QLineEdit>

namespace tarnell {

namespace {

const TSkinLayout DonationSkin{QSize(357, 271), QStringLiteral("Donation"), QSize(40, 210),
                               QSize(40, 210)};
const QSize AccountBoxSize(89, 21);

} // namespace

Tdonat_form::Tdonat_form(TDialogHost& host)
    : TDialogForm({DonationSkin, QSize(302, 224), QSize(297, 217)}, host) {
    RxLabel2 = addLabel("RxLabel2",
                        QStringLiteral("If you like this software you can support \n"
                                       "the developer."),
                        Yellow, {48, 10});
    RxLabel12 = addLabel("RxLabel12",
                         QStringLiteral("You can send any amount that you want \n"
                                        "via PayPal or WebMoney"),
                         Aqua, {48, 38});
    Image2 = addPicture("Image2", QStringLiteral("DONATE_PAYPAL"), {48, 68}, false);
    Image2->setAutoSize(true);
    Image3 = addPicture("Image3", QStringLiteral("DONATE_WEBMONEY"), {32, 120}, false);
    Image3->setAutoSize(true);

    RxLabel4 = addLabel("RxLabel4", QStringLiteral("account"), Lime, {120, 74});
    RxLabel3 = addLabel("RxLabel3", QStringLiteral("WMR"), Lime, {136, 98});
    RxLabel5 = addLabel("RxLabel5", QStringLiteral("WMU"), Lime, {136, 118});
    RxLabel6 = addLabel("RxLabel6", QStringLiteral("WME"), Lime, {136, 138});
    RxLabel1 = addLabel("RxLabel1", QStringLiteral("WMZ"), Lime, {136, 158});

    // Created first, so that it comes first in the tab order.
    mybitbut1 =
        addButton("mybitbut1", QStringLiteral("OK"), QStringLiteral("GLYPH_TICK"), {104, 184});
    connect(mybitbut1, &QAbstractButton::clicked, this, &QWidget::close);

    // Each box is named by its logo and the word beside it, as a sighted player reads them.
    Edit1 = addAccountBox("Edit1", PayPalAccount, {176, 72}, QStringLiteral("PayPal account"));
    Edit2 = addAccountBox("Edit2", PurseWMR, {176, 96}, QStringLiteral("WebMoney WMR"));
    Edit3 = addAccountBox("Edit3", PurseWMU, {176, 116}, QStringLiteral("WebMoney WMU"));
    Edit4 = addAccountBox("Edit4", PurseWME, {176, 136}, QStringLiteral("WebMoney WME"));
    Edit5 = addAccountBox("Edit5", PurseWMZ, {176, 156}, QStringLiteral("WebMoney WMZ"));
    QWidget* previous = mybitbut1;
    for (QWidget* box : {Edit1, Edit2, Edit3, Edit4, Edit5}) {
        QWidget::setTabOrder(previous, box);
        previous = box;
    }

    FormCreate();
}

QLineEdit* Tdonat_form::addAccountBox(const char* name, const QString& text, QPoint pos,
                                      const QString& spokenName) {
    QLineEdit* box = addTextBox(name, QRect(pos, AccountBoxSize), true);
    box->setAccessibleName(spokenName);
    box->setText(text);
    box->setReadOnly(true);
    box->setCursorPosition(0);
    return box;
}

void Tdonat_form::FormCreate() {
    centreOnScreen();
    showOnTop();
}

} // namespace tarnell
