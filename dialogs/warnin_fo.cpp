#include "warnin_fo.h"

#include "platform/drawing/Fonts.h"
#include "widgets/buttons/buts.h"

namespace tarnell {

namespace {

const TSkinLayout WarningSkin{QSize(427, 127), QString(), QSize(40, 65), QSize(40, 66)};

} // namespace

Twarnin_form::Twarnin_form(TDialogHost& host, const QString& caption, const QString& message)
    : TDialogForm({WarningSkin, QSize(372, 80), QSize(367, 76)}, host) {
    RxLabel1 = addLabel("RxLabel1", QString(), platform::clWindowText, {44, 16});
    // The window's own font and colours, engraved: a highlight copy above and to the left.
    RxLabel1->useEngravedLook();
    RxLabel1->setFont(platform::programFont(false));

    Image2 = addPicture("Image2", QStringLiteral("PIC_ERROR"), PicturePos, true);
    Image3 = addPicture("Image3", QStringLiteral("PIC_QUESTION"), PicturePos, true);

    mybitbut1 = addButton("mybitbut1", QString(), QStringLiteral("GLYPH_TICK"), {56, 44});
    mybitbut2 = addButton("mybitbut2", QString(), QStringLiteral("GLYPH_CROSS"), {220, 44});
    mybitbut2->setCancel(true);
    QWidget::setTabOrder(mybitbut1, mybitbut2);
    connect(mybitbut1, &QAbstractButton::clicked, this, &Twarnin_form::mybitbut1Click);
    connect(mybitbut2, &QAbstractButton::clicked, this, &Twarnin_form::mybitbut2Click);

    FormCreate(caption, message);
}

void Twarnin_form::FormCreate(const QString& caption, const QString& message) {
    centreOnScreen();
    setCaption(caption);
    setLabelCaption(*RxLabel1, message);
    kind_ = host().OpenDialogMarker();
    if (kind_ == odConfirmation) {
        mybitbut1->setCaption(QStringLiteral("Yes"));
        mybitbut2->setCaption(QStringLiteral("No"));
        Image1->show();
        Image2->hide();
        Image3->hide();
    }
    showOnTop();
}

void Twarnin_form::mybitbut1Click() {
    if (host().OpenDialogMarker() == odConfirmation)
        host().StartNewPuzzle();
    close();
}

void Twarnin_form::mybitbut2Click() {
    close();
}

} // namespace tarnell
