// The puzzle-solved dialog: what it shows beside the hall of fame, when it asks for a name,
// what "OK" stores and what closing does, the sound one second after it opens, and its layout.
#include "DialogTestSupport.h"
#include "dialogs/game_over.h"
#include "tests/halloffame/FameFileFaults.h"
#include "tests/support/TestSupport.h"
#include "widgets/buttons/buts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

namespace {

using dialogtest::FakeHost;
using halloffametest::days;
using halloffametest::Record;

using halloffametest::solvedPuzzle;

QString text(const TShadowLabel* label) {
    return label->Caption();
}

class GameOverDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        halloffametest::removeFameFiles();
        testsupport::clearMessages();
        clock_.start();
    }

    // Opened as the main window opens it: marker 4 first, then the dialog.
    std::unique_ptr<Tgame_over_form>
    open(const TPuzzleResult& result,
         halloffame::FameFileSystem& files = halloffame::diskFileSystem()) {
        host_.marker_ = odPuzzleSolved;
        return std::make_unique<Tgame_over_form>(
            host_, result,
            [this](const QString& name) {
                sounds_.append(name);
                soundTimes_.push_back(clock_.elapsed());
            },
            files);
    }

    FakeHost host_;
    QStringList sounds_;
    std::vector<qint64> soundTimes_;
    QElapsedTimer clock_;
};

TEST_F(GameOverDialogTest, ANewBestOfBothKindsAsksForANameAndStoresAnonymousTwice) {
    auto dialog = open(solvedPuzzle(8, 5, 39.9, 25));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(text(dialog->RxLabel6), QStringLiteral("8 x 8"));
    EXPECT_EQ(text(dialog->RxLabel7), QStringLiteral("5"));
    EXPECT_EQ(text(dialog->RxLabel5), QStringLiteral("00:39,9"));
    EXPECT_EQ(text(dialog->RxLabel10), QStringLiteral("25"));
    EXPECT_EQ(text(dialog->RxLabel15), QStringLiteral("Mr. Smith    00:40,0"));
    EXPECT_EQ(text(dialog->RxLabel16), QStringLiteral("Mr. Smith    26 steps"));
    // Opening created the missing file, empty.
    EXPECT_TRUE(halloffametest::fameFileExists());
    EXPECT_TRUE(halloffametest::readFameFile().isEmpty());

    EXPECT_TRUE(dialog->RxLabel17->isVisible());
    EXPECT_TRUE(dialog->Edit1->isVisible());
    EXPECT_TRUE(dialog->Edit1->text().isEmpty());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(QApplication::focusWidget(), dialog->Edit1);

    QTest::mouseClick(dialog->mybitbut1, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host_.marker_, odNone);
    EXPECT_TRUE(testsupport::messages().isEmpty());
    const Record time{8, 5, halloffametest::storedDays(39.9),   25,
                      1, 0, halloffametest::padded("Anonymous")};
    Record steps = time;
    steps.timeFlag = 0;
    steps.stepsFlag = 1;
    EXPECT_EQ(halloffametest::decodeAll(halloffametest::readFameFile()),
              (std::vector<Record>{time, steps}));
}

TEST_F(GameOverDialogTest, ATieAsksForNoNameAndOkKeepsTheFileAsItWas) {
    halloffametest::writeFameFile(
        {{6, 3, days(12.5), 30, 1, 0, "Ann"}, {9, 7, days(70.0), 40, 0, 1, "Ben"}});
    const QByteArray before = halloffametest::readFameFile();
    auto dialog = open(solvedPuzzle(8, 5, 40.0, 26));
    EXPECT_EQ(text(dialog->RxLabel15), QStringLiteral("Mr. Smith    00:40,0"));
    EXPECT_EQ(text(dialog->RxLabel16), QStringLiteral("Mr. Smith    26 steps"));
    EXPECT_FALSE(dialog->decisions().NewBestTime);
    EXPECT_FALSE(dialog->decisions().NewMinimumSteps);
    EXPECT_FALSE(dialog->RxLabel17->isVisible());
    EXPECT_FALSE(dialog->Edit1->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(QApplication::focusWidget(), dialog->mybitbut1);

    // With the focus on "OK", Enter presses it.
    QTest::keyClick(dialog->mybitbut1, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(halloffametest::readFameFile(), before);
}

TEST_F(GameOverDialogTest, BeatingOnlyTheBestTimeKeepsTheOtherPlayersSteps) {
    halloffametest::writeFameFile({{8, 5, days(30.0), 30, 1, 0, "Alice"},
                                   {6, 3, days(12.5), 30, 1, 0, "Ann"},
                                   {8, 5, days(50.0), 20, 0, 1, "Bob"},
                                   {8, 6, days(10.0), 10, 0, 1, "Cid"}});
    TPuzzleResult result = solvedPuzzle(8, 5, 25.0, 22);
    auto dialog = open(result);
    // The main window goes on: a new puzzle changes its own values, not the dialog's.
    result = solvedPuzzle(4, 1, 1.0, 1);

    EXPECT_EQ(text(dialog->RxLabel15), QStringLiteral("Alice  00:30,0"));
    EXPECT_EQ(text(dialog->RxLabel16), QStringLiteral("Bob  20 steps"));
    EXPECT_TRUE(dialog->decisions().NewBestTime);
    EXPECT_FALSE(dialog->decisions().NewMinimumSteps);
    EXPECT_TRUE(dialog->Edit1->isVisible());

    QTest::keyClicks(dialog->Edit1, QStringLiteral("  Carol "));
    QTest::mouseClick(dialog->mybitbut1, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(halloffametest::decodeAll(halloffametest::readFameFile()),
              (std::vector<Record>{{6, 3, days(12.5), 30, 1, 0, halloffametest::padded("Ann")},
                                   {8, 5, days(50.0), 20, 0, 1, halloffametest::padded("Bob")},
                                   {8, 6, days(10.0), 10, 0, 1, halloffametest::padded("Cid")},
                                   {8, 5, halloffametest::storedDays(25.0), 22, 1, 0,
                                    halloffametest::padded("Carol")}}));
}

TEST_F(GameOverDialogTest, OnlyTheResultsOfItsOwnPuzzleCount) {
    halloffametest::writeFameFile({{8, 6, days(20.0), 10, 1, 0, "Six foxes"},
                                   {7, 5, days(20.0), 10, 0, 1, "Seven wide"},
                                   {8, 5, days(38.0), 30, 1, 0, "Dora"}});
    auto dialog = open(solvedPuzzle(8, 5, 39.0, 25));
    EXPECT_EQ(text(dialog->RxLabel15), QStringLiteral("Dora  00:38,0"));
    EXPECT_EQ(text(dialog->RxLabel16), QStringLiteral("Mr. Smith    26 steps"));
    EXPECT_FALSE(dialog->decisions().NewBestTime);
    EXPECT_TRUE(dialog->decisions().NewMinimumSteps);
    EXPECT_TRUE(dialog->Edit1->isVisible());
}

TEST_F(GameOverDialogTest, ClosingByTheCaptionStoresNothingEvenWithANameTyped) {
    auto dialog = open(solvedPuzzle(8, 5, 10.0, 12));
    ASSERT_TRUE(dialog->Edit1->isVisible());
    QTest::keyClicks(dialog->Edit1, QStringLiteral("Eve"));
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host_.marker_, odNone);
    EXPECT_TRUE(halloffametest::readFameFile().isEmpty());
    EXPECT_FALSE(QFile::exists(QStringLiteral("h_fame2.dat")));
}

TEST_F(GameOverDialogTest, AFailedStoreIsToldAndTheDialogStaysOpenForAnotherTry) {
    halloffame::FaultyFameFileSystem files(halloffame::diskFileSystem());
    halloffametest::writeFameFile({{6, 3, days(12.5), 30, 1, 0, "Ann"}});
    const QByteArray before = halloffametest::readFameFile();
    auto dialog = open(solvedPuzzle(8, 5, 10.0, 12), files);
    QTest::keyClicks(dialog->Edit1, QStringLiteral("Fay"));

    files.injectAt(halloffame::FameOperation::Write, 1);
    QTest::mouseClick(dialog->mybitbut1, Qt::LeftButton);
    EXPECT_EQ(testsupport::messages().size(), 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(host_.marker_, odPuzzleSolved);
    EXPECT_EQ(halloffametest::readFameFile(), before);

    files.reset();
    QTest::mouseClick(dialog->mybitbut1, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host_.marker_, odNone);
    EXPECT_EQ(halloffametest::decodeAll(halloffametest::readFameFile()).size(), 3u);
}

TEST_F(GameOverDialogTest, AFailureWhilePreparingLeavesTheLinesSetSoFar) {
    halloffame::FaultyFameFileSystem files(halloffame::diskFileSystem());
    // The check creates the missing file: its first open fails.
    files.injectAt(halloffame::FameOperation::Open, 1);
    auto dialog = open(solvedPuzzle(8, 5, 10.0, 12), files);
    EXPECT_EQ(testsupport::messages().size(), 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(text(dialog->RxLabel5), QStringLiteral("00:10,0"));
    EXPECT_TRUE(text(dialog->RxLabel15).isEmpty());
    EXPECT_TRUE(text(dialog->RxLabel16).isEmpty());
    EXPECT_FALSE(dialog->Edit1->isVisible());

    // Failing while reading, after the check: the placeholders stay, nobody is asked.
    testsupport::clearMessages();
    files.reset();
    files.injectAt(halloffame::FameOperation::Read, 1);
    halloffametest::writeFameFile({{8, 5, days(30.0), 30, 1, 0, "Alice"}});
    auto second = open(solvedPuzzle(8, 5, 10.0, 12), files);
    EXPECT_EQ(testsupport::messages().size(), 1);
    EXPECT_EQ(text(second->RxLabel15), QStringLiteral("Mr. Smith    00:40,0"));
    EXPECT_FALSE(second->Edit1->isVisible());
}

TEST_F(GameOverDialogTest, TadaPlaysOnceAboutOneSecondAfterOpeningAlsoWhenClosedBefore) {
    for (const bool closedAtOnce : {false, true}) {
        SCOPED_TRACE(closedAtOnce ? "closed at once" : "left open");
        sounds_.clear();
        soundTimes_.clear();
        clock_.restart();
        auto dialog = open(solvedPuzzle(8, 5, 40.0, 26));
        EXPECT_TRUE(dialog->Timer1->isSingleShot());
        EXPECT_EQ(dialog->Timer1->interval(), 1000);
        if (closedAtOnce) {
            dialog->close();
            ASSERT_FALSE(dialog->isVisible());
        }
        EXPECT_TRUE(sounds_.isEmpty());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !sounds_.isEmpty(); }, 5000));
        EXPECT_GE(soundTimes_.front(), 1000);
        EXPECT_FALSE(dialog->Timer1->isActive());
        QTest::qWait(1300);
        EXPECT_EQ(sounds_, QStringList{QStringLiteral("TADA")});
    }
}

TEST_F(GameOverDialogTest, EveryControlStandsInItsPlaceInItsColour) {
    auto dialog = open(solvedPuzzle(10, 10, 99.95, 39));
    EXPECT_EQ(dialog->size(), QSize(427, 277));
    dialogtest::expectCentred(*dialog);
    EXPECT_EQ(dialog->caption(), QStringLiteral("Congradulations!"));
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(dialog->isModal());
    dialogtest::expectPlaces(*dialog, {
                                          {"Panel1", "window", {8, 46, 40, 216}},
                                          {"Panel2", "window", {48, 32, 372, 230}},
                                          {"Bevel1", "Panel2", {2, 2, 367, 223}},
                                          {"Image1", "Panel2", {8, 8, 32, 32}},
                                          {"RxLabel2", "Panel2", {48, 10, -1, -1}},
                                          {"RxLabel3", "Panel2", {48, 34, -1, -1}},
                                          {"RxLabel6", "Panel2", {192, 34, -1, -1}},
                                          {"RxLabel8", "Panel2", {48, 50, -1, -1}},
                                          {"RxLabel7", "Panel2", {192, 50, -1, -1}},
                                          {"RxLabel4", "Panel2", {48, 74, -1, -1}},
                                          {"RxLabel5", "Panel2", {112, 74, -1, -1}},
                                          {"RxLabel9", "Panel2", {160, 74, -1, -1}},
                                          {"RxLabel10", "Panel2", {188, 74, -1, -1}},
                                          {"RxLabel11", "Panel2", {208, 74, -1, -1}},
                                          {"RxLabel12", "Panel2", {48, 98, -1, -1}},
                                          {"RxLabel13", "Panel2", {48, 122, -1, -1}},
                                          {"RxLabel15", "Panel2", {144, 122, -1, -1}},
                                          {"RxLabel14", "Panel2", {48, 138, -1, -1}},
                                          {"RxLabel16", "Panel2", {144, 138, -1, -1}},
                                          {"RxLabel17", "Panel2", {48, 162, -1, -1}},
                                          {"Edit1", "Panel2", {152, 160, 153, 16}},
                                          {"mybitbut1", "Panel2", {136, 190, 97, 25}},
                                      });
    EXPECT_EQ(dialog->strip()->size(), QSize(40, 216));

    dialogtest::expectLabels({
        {dialog->RxLabel2, "You have solved the puzzle!", platform::rgb(255, 255, 0)},
        {dialog->RxLabel3, "The puzzle dimension:", platform::rgb(255, 255, 255)},
        {dialog->RxLabel6, "10 x 10", platform::rgb(0, 255, 0)},
        {dialog->RxLabel8, "Number of foxes:", platform::rgb(255, 255, 255)},
        {dialog->RxLabel7, "10", platform::rgb(0, 255, 0)},
        {dialog->RxLabel4, "It took you ", platform::rgb(0, 255, 255)},
        {dialog->RxLabel5, "01:39,9", platform::rgb(0, 255, 0)},
        {dialog->RxLabel9, "and", platform::rgb(0, 255, 255)},
        {dialog->RxLabel10, "39", platform::rgb(0, 255, 0)},
        {dialog->RxLabel11, "steps.", platform::rgb(0, 255, 255)},
        {dialog->RxLabel12, "The best result for this puzzle:", platform::rgb(255, 255, 0)},
        {dialog->RxLabel13, "The best time:", platform::rgb(255, 255, 255)},
        {dialog->RxLabel15, "Mr. Smith    01:40,0", platform::rgb(0, 255, 0)},
        {dialog->RxLabel14, "Minimum steps:", platform::rgb(255, 255, 255)},
        {dialog->RxLabel16, "Mr. Smith    40 steps", platform::rgb(0, 255, 0)},
        {dialog->RxLabel17, "Enter your name:", platform::rgb(255, 255, 0)},
    });
    EXPECT_EQ(dialog->mybitbut1->Caption(), QStringLiteral("OK"));
    EXPECT_FALSE(dialog->mybitbut1->Default());
    EXPECT_FALSE(dialog->mybitbut1->Cancel());
    EXPECT_EQ(dialog->mybitbut1->NumGlyphs(), 2);
    EXPECT_FALSE(dialog->Edit1->hasFrame());
    EXPECT_EQ(dialog->Edit1->nextInFocusChain(), dialog->mybitbut1);

    // Escape and Enter press nothing while the name box has the focus.
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QTest::keyClick(dialog->Edit1, Qt::Key_Escape);
    QTest::keyClick(dialog->Edit1, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(halloffametest::readFameFile().isEmpty());
}

} // namespace

namespace {

TEST_F(GameOverDialogTest, LooksLikeTheDialogOnTheGreyPanel) {
    halloffametest::writeFameFile({{8, 5, days(30.0), 30, 1, 0, "Alice"}});
    auto dialog = open(solvedPuzzle(8, 5, 39.9, 25));
    const QImage image = dialogtest::grabForReview(*dialog, QStringLiteral("game_over"));
    dialogtest::expectPanelLook(image, QSize(372, 230), QSize(367, 223));
}

} // namespace

} // namespace tarnell
