// The donation dialog: read-only account boxes that can be selected and copied, the tab order,
// "OK", and the layout.
#include "DialogTestSupport.h"
#include "dialogs/donat.h"
#include "platform/Resources.h"
#include "tests/support/TestSupport.h"
#include "widgets/buttons/buts.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

namespace {

using dialogtest::FakeHost;

class DonationDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<Tdonat_form> open() {
        host_.marker_ = odDonation;
        return std::make_unique<Tdonat_form>(host_);
    }

    std::vector<QLineEdit*> boxes(const Tdonat_form& dialog) {
        return {dialog.Edit1, dialog.Edit2, dialog.Edit3, dialog.Edit4, dialog.Edit5};
    }

    FakeHost host_;
};

TEST_F(DonationDialogTest, TheAccountBoxesRefuseTypingButCanBeSelectedAndCopied) {
    auto dialog = open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    for (QLineEdit* box : boxes(*dialog)) {
        SCOPED_TRACE(box->objectName().toStdString());
        const QString before = box->text();
        ASSERT_FALSE(before.isEmpty());
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("typed"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(box->text(), before);

        QApplication::clipboard()->clear();
        box->selectAll();
        box->copy();
        EXPECT_EQ(QApplication::clipboard()->text(), before);
        // The keyboard's way.
        QApplication::clipboard()->clear();
        box->deselect();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), before);
    }
}

TEST_F(DonationDialogTest, TheAccountsHaveTheirForms) {
    auto dialog = open();
    EXPECT_TRUE(dialog->Edit1->text().contains(QLatin1Char('@')));
    const struct {
        const QLineEdit* box;
        const TShadowLabel* label;
        const char* purse;
    } purses[] = {{dialog->Edit2, dialog->RxLabel3, "WMR"},
                  {dialog->Edit3, dialog->RxLabel5, "WMU"},
                  {dialog->Edit4, dialog->RxLabel6, "WME"},
                  {dialog->Edit5, dialog->RxLabel1, "WMZ"}};
    for (const auto& purse : purses) {
        SCOPED_TRACE(purse.purse);
        EXPECT_EQ(purse.label->Caption(), QLatin1String(purse.purse));
        const QRegularExpression form(QStringLiteral("^%1[0-9]{12}$").arg(purse.purse[2]));
        EXPECT_TRUE(form.match(purse.box->text()).hasMatch()) << purse.box->text().toStdString();
    }
}

TEST_F(DonationDialogTest, TabGoesFromOkThroughTheFiveBoxes) {
    auto dialog = open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(QApplication::focusWidget(), dialog->mybitbut1);
    const std::vector<QWidget*> order = {dialog->Edit1, dialog->Edit2, dialog->Edit3,
                                         dialog->Edit4, dialog->Edit5, dialog->mybitbut1};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(DonationDialogTest, OkAndTheCloseCommandsClose) {
    auto dialog = open();
    QTest::mouseClick(dialog->mybitbut1, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host_.marker_, odNone);

    auto again = open();
    QTest::mouseClick(again->Image2, Qt::LeftButton);
    EXPECT_TRUE(again->isVisible());
    again->close();
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(host_.marker_, odNone);
}

TEST_F(DonationDialogTest, EveryControlStandsInItsPlaceInItsColour) {
    auto dialog = open();
    EXPECT_EQ(dialog->size(), QSize(357, 271));
    dialogtest::expectCentred(*dialog);
    EXPECT_EQ(dialog->caption(), QStringLiteral("Donation"));
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    dialogtest::expectPlaces(
        *dialog,
        {
            {"Panel1", "window", {8, 46, 40, 210}},      {"Panel2", "window", {48, 32, 302, 224}},
            {"Bevel1", "Panel2", {2, 2, 297, 217}},      {"Image1", "Panel2", {8, 8, 32, 32}},
            {"RxLabel2", "Panel2", {48, 10, -1, -1}},    {"RxLabel12", "Panel2", {48, 38, -1, -1}},
            {"Image2", "Panel2", {48, 68, 62, 31}},      {"RxLabel4", "Panel2", {120, 74, -1, -1}},
            {"Edit1", "Panel2", {176, 72, 89, 21}},      {"Image3", "Panel2", {32, 120, 95, 41}},
            {"RxLabel3", "Panel2", {136, 98, -1, -1}},   {"Edit2", "Panel2", {176, 96, 89, 21}},
            {"RxLabel5", "Panel2", {136, 118, -1, -1}},  {"Edit3", "Panel2", {176, 116, 89, 21}},
            {"RxLabel6", "Panel2", {136, 138, -1, -1}},  {"Edit4", "Panel2", {176, 136, 89, 21}},
            {"RxLabel1", "Panel2", {136, 158, -1, -1}},  {"Edit5", "Panel2", {176, 156, 89, 21}},
            {"mybitbut1", "Panel2", {104, 184, 97, 25}},
        });
    EXPECT_EQ(dialog->strip()->size(), QSize(40, 210));
    dialogtest::expectLabels({
        {dialog->RxLabel2, "If you like this software you can support \nthe developer.",
         platform::rgb(255, 255, 0)},
        {dialog->RxLabel12, "You can send any amount that you want \nvia PayPal or WebMoney",
         platform::rgb(0, 255, 255)},
        {dialog->RxLabel4, "account", platform::rgb(0, 255, 0)},
        {dialog->RxLabel3, "WMR", platform::rgb(0, 255, 0)},
        {dialog->RxLabel5, "WMU", platform::rgb(0, 255, 0)},
        {dialog->RxLabel6, "WME", platform::rgb(0, 255, 0)},
        {dialog->RxLabel1, "WMZ", platform::rgb(0, 255, 0)},
    });
    // Two lines of 11-pixel text.
    EXPECT_GE(dialog->RxLabel2->height(), 2 * 11);
    EXPECT_LE(dialog->RxLabel2->height(), 2 * 16);
    for (QLineEdit* box : boxes(*dialog)) {
        EXPECT_TRUE(box->isReadOnly());
        EXPECT_FALSE(box->font().bold());
    }
    EXPECT_EQ(dialog->mybitbut1->Caption(), QStringLiteral("OK"));
    EXPECT_FALSE(dialog->Image2->Transparent());
    EXPECT_FALSE(dialog->Image3->Transparent());
    EXPECT_TRUE(dialog->Image1->Transparent());
}

TEST_F(DonationDialogTest, LooksLikeTheDialogWithItsOpaquePictures) {
    auto dialog = open();
    const QImage image = dialogtest::grabForReview(*dialog, QStringLiteral("donat"));
    dialogtest::expectPanelLook(image, QSize(302, 224), QSize(297, 217));
    // Each box wears the sunken edge: dark grey and white outside, black and light grey inside.
    const QColor dark(128, 128, 128);
    const QColor white(255, 255, 255);
    const QColor black = platform::toQColor(platform::cl3DDkShadow);
    const QColor light = platform::toQColor(platform::cl3DLight);
    for (QLineEdit* box : boxes(*dialog)) {
        SCOPED_TRACE(box->objectName().toStdString());
        const QImage face = image.copy(QRect(box->mapTo(dialog.get(), QPoint(0, 0)), box->size()));
        const int r = face.width() - 1;
        const int b = face.height() - 1;
        const struct {
            int x, y;
            QColor colour;
        } edge[] = {{0, 0, dark},          {r - 1, 0, dark},     {0, b - 1, dark},
                    {r, 0, white},         {0, b, white},        {r, b, white},
                    {1, 1, black},         {r - 2, 1, black},    {1, b - 2, black},
                    {r - 1, 1, light},     {1, b - 1, light},    {r - 1, b - 1, light},
                    {r - 3, b - 3, white}, {r / 2, b - 3, white}};
        // The purse boxes stand 20 pixels apart: the next one covers a box's bottom row.
        const bool bottomShows = box == dialog->Edit1 || box == dialog->Edit5;
        for (const auto& p : edge) {
            if (p.y == b && !bottomShows)
                continue;
            EXPECT_EQ(testsupport::pixel(face, p.x, p.y), p.colour) << p.x << "," << p.y;
        }
    }
    // The two pictures are drawn whole, their ground included.
    const struct {
        const char* name;
        QPoint pos;
    } pictures[] = {{"DONATE_PAYPAL", {48 + 48, 32 + 68}},
                    {"DONATE_WEBMONEY", {48 + 32, 32 + 120}}};
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.name);
        const QImage bitmap = platform::loadBitmap(QLatin1String(picture.name));
        ASSERT_FALSE(bitmap.isNull());
        EXPECT_EQ(image.copy(QRect(picture.pos, bitmap.size())),
                  bitmap.convertToFormat(QImage::Format_RGB32));
    }
}

} // namespace

} // namespace tarnell
