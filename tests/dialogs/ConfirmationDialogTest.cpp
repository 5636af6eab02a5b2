// The confirmation dialog: "Yes" starts a new puzzle only while the marker still names the
// question, "No", Escape and the close commands only close; its texts, pictures and layout.
#include "DialogTestSupport.h"
#include "dialogs/warnin_fo.h"
#include "platform/Resources.h"
#include "tests/support/TestSupport.h"
#include "widgets/buttons/buts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

namespace {

using dialogtest::FakeHost;

const QString Caption = QStringLiteral("Warning!");
const QString Message = QStringLiteral("This game hasn't finished yet. Generate the new puzzle?");

class ConfirmationDialogTest : public ::testing::Test {
protected:
    // Opened as the main window opens it: marker 1 first, then the dialog.
    std::unique_ptr<Twarnin_form> open() {
        host_.marker_ = odConfirmation;
        return std::make_unique<Twarnin_form>(host_, Caption, Message);
    }

    FakeHost host_;
};

// Every way out closes the question and clears the marker; only "Yes", while the marker
// still names the question, starts a new puzzle.
TEST_F(ConfirmationDialogTest, EveryWayOutClosesAndOnlyYesOnTheQuestionsMarkerStartsAPuzzle) {
    const auto clickYes = [](Twarnin_form& d) { QTest::mouseClick(d.mybitbut1, Qt::LeftButton); };
    const auto keyOn = [](Twarnin_form& d, TFaceButton* button, Qt::Key key) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        button->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key);
    };
    const struct {
        const char* way;
        int marker; // as the main window left it when the way is taken
        std::function<void(Twarnin_form&)> take;
        bool startsPuzzle;
    } ways[] = {
        {"Yes", odConfirmation, clickYes, true},
        // Another dialog opened meanwhile, or one was opened and closed again.
        {"Yes after the donation dialog", odDonation, clickYes, false},
        {"Yes after the high score", odHighScore, clickYes, false},
        {"Yes after the solved puzzle", odPuzzleSolved, clickYes, false},
        {"Yes after a dialog closed", odNone, clickYes, false},
        {"No", odConfirmation, [](Twarnin_form& d) { QTest::mouseClick(d.mybitbut2, Qt::LeftButton); },
         false},
        // Escape presses the cancel button wherever the focus is, also on "Yes".
        {"Escape on Yes", odConfirmation,
         [&](Twarnin_form& d) { keyOn(d, d.mybitbut1, Qt::Key_Escape); }, false},
        {"Enter on No", odConfirmation, [&](Twarnin_form& d) { keyOn(d, d.mybitbut2, Qt::Key_Return); },
         false},
        {"Enter on Yes", odConfirmation,
         [&](Twarnin_form& d) { keyOn(d, d.mybitbut1, Qt::Key_Return); }, true},
        {"close", odConfirmation, [](Twarnin_form& d) { d.close(); }, false},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        host_.newPuzzles_ = 0;
        auto dialog = open();
        ASSERT_TRUE(dialog->isVisible());
        host_.marker_ = w.marker;
        w.take(*dialog);
        EXPECT_EQ(host_.newPuzzles_, w.startsPuzzle ? 1 : 0);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(host_.marker_, odNone);
    }
    // The window manager's close command (and the caption's close button, which posts it).
    auto dialog = open();
    QCloseEvent close;
    QCoreApplication::sendEvent(dialog.get(), &close);
    EXPECT_EQ(host_.marker_, odNone);
    EXPECT_EQ(host_.newPuzzles_, 0);
}

TEST_F(ConfirmationDialogTest, TheQuestionShowsItsCaptionsAndTheYellowMarkOnly) {
    auto dialog = open();
    EXPECT_EQ(dialog->caption(), Caption);
    EXPECT_EQ(dialog->windowTitle(), Caption);
    EXPECT_EQ(dialog->RxLabel1->Caption(), Message);
    EXPECT_EQ(dialog->mybitbut1->Caption(), QStringLiteral("Yes"));
    EXPECT_EQ(dialog->mybitbut2->Caption(), QStringLiteral("No"));
    EXPECT_TRUE(dialog->Image1->isVisible());
    EXPECT_FALSE(dialog->Image2->isVisible());
    EXPECT_FALSE(dialog->Image3->isVisible());
    EXPECT_FALSE(dialog->mybitbut1->Cancel());
    EXPECT_TRUE(dialog->mybitbut2->Cancel());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(QApplication::focusWidget(), dialog->mybitbut1);
    QTest::keyClick(dialog->mybitbut1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog->mybitbut2);
}

TEST_F(ConfirmationDialogTest, AnyOtherKindKeepsTheLayoutAsItIs) {
    host_.marker_ = odDonation;
    Twarnin_form dialog(host_, QStringLiteral("Question"), QStringLiteral("Sure?"));
    EXPECT_EQ(dialog.caption(), QStringLiteral("Question"));
    EXPECT_TRUE(dialog.mybitbut1->Caption().isEmpty());
    EXPECT_TRUE(dialog.mybitbut2->Caption().isEmpty());
    EXPECT_TRUE(dialog.Image1->isVisible());
    EXPECT_TRUE(dialog.Image2->isVisible());
    EXPECT_TRUE(dialog.Image3->isVisible());
    // The question mark lies on top; where a picture has its ground the ones beneath show.
    EXPECT_EQ(dialog.Panel2->childAt(QPoint(24, 24)), dialog.Image3);
    QImage expected(32, 32, QImage::Format_RGB32);
    expected.fill(QColor(148, 148, 148));
    int throughGround = 0;
    for (const char* name : {"PIC_WARNING", "PIC_ERROR", "PIC_QUESTION"}) {
        const QImage layer = platform::loadBitmap(QLatin1String(name));
        ASSERT_EQ(layer.size(), QSize(32, 32));
        const QRgb ground = layer.pixel(0, 31);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (layer.pixel(x, y) != ground)
                    expected.setPixel(x, y, layer.pixel(x, y));
                else if (expected.pixel(x, y) != QColor(148, 148, 148).rgb())
                    ++throughGround;
            }
        }
    }
    EXPECT_GT(throughGround, 20);
    const QImage image = dialogtest::grabForReview(dialog, QStringLiteral("warnin_fo_other"));
    EXPECT_EQ(image.copy(48 + 8, 32 + 8, 32, 32), expected);
    QTest::mouseClick(dialog.mybitbut1, Qt::LeftButton);
    EXPECT_EQ(host_.newPuzzles_, 0);
}

TEST_F(ConfirmationDialogTest, EveryControlStandsInItsPlace) {
    auto dialog = open();
    EXPECT_EQ(dialog->size(), QSize(427, 127));
    dialogtest::expectCentred(*dialog);
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(dialog->isModal());
    dialogtest::expectPlaces(*dialog, {
                                          {"Panel1", "window", {8, 46, 40, 66}},
                                          {"Panel2", "window", {48, 32, 372, 80}},
                                          {"Bevel1", "Panel2", {2, 2, 367, 76}},
                                          {"RxLabel1", "Panel2", {44, 16, -1, -1}},
                                          {"Image1", "Panel2", {8, 8, 32, 32}},
                                          {"Image2", "Panel2", {8, 8, 32, 32}},
                                          {"Image3", "Panel2", {8, 8, 32, 32}},
                                          {"mybitbut1", "Panel2", {56, 44, 97, 25}},
                                          {"mybitbut2", "Panel2", {220, 44, 97, 25}},
                                      });
    EXPECT_EQ(dialog->strip()->size(), QSize(40, 65));
    // The message in the window's regular font, black, engraved in the highlight colour.
    const TShadowLabel& label = *dialog->RxLabel1;
    EXPECT_FALSE(label.font().bold());
    EXPECT_EQ(label.font().pixelSize(), 11);
    EXPECT_EQ(platform::toQColor(label.FontColor()), QColor(Qt::black));
    EXPECT_EQ(label.ShadowColor(), platform::clBtnHighlight);
    EXPECT_EQ(label.ShadowPos(), spLeftTop);
    EXPECT_EQ(label.ShadowSize(), 1);
    EXPECT_EQ(label.size(), label.sizeHint());
}

TEST_F(ConfirmationDialogTest, LooksLikeTheDialogOnTheGreyPanel) {
    auto dialog = open();
    const QImage image = dialogtest::grabForReview(*dialog, QStringLiteral("warnin_fo"));
    // The yellow mark alone: the two hidden pictures leave no pixel behind.
    dialogtest::expectPanelLook(image, QSize(372, 80), QSize(367, 76));
}

} // namespace

} // namespace tarnell
