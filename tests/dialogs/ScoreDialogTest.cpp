// The high-score dialog: the lines of the puzzle it is given, the placeholders, the file it
// creates when missing and never changes otherwise, closing, and its layout.
#include "DialogTestSupport.h"
#include "dialogs/score.h"
#include "tests/halloffame/FameFileFaults.h"
#include "tests/support/TestSupport.h"
#include "widgets/buttons/buts.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

namespace {

using dialogtest::FakeHost;
using halloffametest::days;

class ScoreDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        halloffametest::removeFameFiles();
        testsupport::clearMessages();
    }

    std::unique_ptr<Tscore_form>
    open(int size, int foxes, halloffame::FameFileSystem& files = halloffame::diskFileSystem()) {
        host_.marker_ = odHighScore;
        return std::make_unique<Tscore_form>(host_, size, foxes, files);
    }

    FakeHost host_;
};

TEST_F(ScoreDialogTest, ShowsTheStoredLinesOfThePuzzleItIsGivenAndWritesNothing) {
    halloffametest::writeFameFile({{9, 7, days(20.0), 10, 1, 0, "Set-up size"},
                                   {6, 3, days(65.4), 15, 0, 1, "Steps holder"},
                                   {6, 4, days(5.0), 5, 0, 1, "Other foxes"},
                                   {6, 3, days(12.5), 30, 1, 0, "  Time holder  "}});
    const QByteArray before = halloffametest::readFameFile();
    auto dialog = open(6, 3);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->RxLabel6->Caption(), QStringLiteral("6 x 6"));
    EXPECT_EQ(dialog->RxLabel7->Caption(), QStringLiteral("3"));
    EXPECT_EQ(dialog->RxLabel15->Caption(), QStringLiteral("Time holder  00:12,5"));
    EXPECT_EQ(dialog->RxLabel16->Caption(), QStringLiteral("Steps holder  15 steps"));

    QTest::mouseClick(dialog->mybitbut1, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host_.marker_, odNone);
    EXPECT_EQ(halloffametest::readFameFile(), before);
    EXPECT_FALSE(QFile::exists(QStringLiteral("h_fame2.dat")));
    EXPECT_TRUE(testsupport::messages().isEmpty());
}

TEST_F(ScoreDialogTest, AMissingFileIsCreatedEmptyAndThePlaceholdersShown) {
    ASSERT_FALSE(halloffametest::fameFileExists());
    auto dialog = open(8, 5);
    EXPECT_TRUE(halloffametest::fameFileExists());
    EXPECT_TRUE(halloffametest::readFameFile().isEmpty());
    EXPECT_EQ(dialog->RxLabel15->Caption(), QStringLiteral("Mr. Smith    00:40,0"));
    EXPECT_EQ(dialog->RxLabel16->Caption(), QStringLiteral("Mr. Smith    26 steps"));
    EXPECT_TRUE(testsupport::messages().isEmpty());
}

TEST_F(ScoreDialogTest, AStoredTimeWithoutAStepsRecordShowsThePlaceholderSteps) {
    halloffametest::writeFameFile({{6, 3, days(7 * 60 + 5.3), 30, 1, 0, "Gil"}});
    auto dialog = open(6, 3);
    EXPECT_EQ(dialog->RxLabel15->Caption(), QStringLiteral("Gil  07:05,3"));
    EXPECT_EQ(dialog->RxLabel16->Caption(), QStringLiteral("Mr. Smith    18 steps"));
}

TEST_F(ScoreDialogTest, AFileOfNoWholeRecordsShowsThePlaceholdersAndStaysAsItIs) {
    QByteArray odd = halloffametest::encode({6, 3, days(1.0), 1, 1, 1, "Broken"});
    odd.append('x');
    {
        QFile file(QString::fromLatin1(halloffametest::FameFile));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(odd);
    }
    auto dialog = open(6, 3);
    EXPECT_EQ(dialog->RxLabel15->Caption(), QStringLiteral("Mr. Smith    00:18,0"));
    EXPECT_EQ(dialog->RxLabel16->Caption(), QStringLiteral("Mr. Smith    18 steps"));
    EXPECT_EQ(halloffametest::readFameFile(), odd);
}

TEST_F(ScoreDialogTest, AFailureWhilePreparingIsToldAndTheDialogStillShows) {
    halloffame::FaultyFameFileSystem files(halloffame::diskFileSystem());
    halloffametest::writeFameFile({{6, 3, days(12.5), 30, 1, 0, "Ann"}});
    files.injectAt(halloffame::FameOperation::Open, 1);
    auto dialog = open(6, 3, files);
    EXPECT_EQ(testsupport::messages().size(), 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->RxLabel6->Caption(), QStringLiteral("6 x 6"));
    EXPECT_TRUE(dialog->RxLabel15->Caption().isEmpty());
    EXPECT_TRUE(dialog->RxLabel16->Caption().isEmpty());
}

// One check and one look-up: the file is opened twice while the dialog is prepared, and
// only for reading once it exists.
TEST_F(ScoreDialogTest, PreparingOpensTheFileOnceToCheckAndOnceToLookUp) {
    halloffame::FaultyFameFileSystem files(halloffame::diskFileSystem());
    halloffametest::writeFameFile({{6, 3, days(12.5), 30, 1, 0, "Ann"}});
    auto dialog = open(6, 3, files);
    EXPECT_EQ(dialog->RxLabel15->Caption(), QStringLiteral("Ann  00:12,5"));
    EXPECT_EQ(files.count(halloffame::FameOperation::Open), 2);
    EXPECT_EQ(files.count(halloffame::FameOperation::Close), 2);
    EXPECT_TRUE(testsupport::messages().isEmpty());
}

TEST_F(ScoreDialogTest, EveryControlStandsInItsPlaceInItsColour) {
    auto dialog = open(8, 5);
    EXPECT_EQ(dialog->size(), QSize(427, 221));
    dialogtest::expectCentred(*dialog);
    EXPECT_EQ(dialog->caption(), QStringLiteral("Highscore"));
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    dialogtest::expectPlaces(*dialog, {
                                          {"Panel1", "window", {8, 46, 40, 160}},
                                          {"Panel2", "window", {48, 32, 372, 174}},
                                          {"Bevel1", "Panel2", {2, 2, 367, 167}},
                                          {"Image1", "Panel2", {8, 8, 32, 32}},
                                          {"RxLabel2", "Panel2", {48, 10, -1, -1}},
                                          {"RxLabel3", "Panel2", {48, 34, -1, -1}},
                                          {"RxLabel6", "Panel2", {192, 34, -1, -1}},
                                          {"RxLabel8", "Panel2", {48, 50, -1, -1}},
                                          {"RxLabel7", "Panel2", {192, 50, -1, -1}},
                                          {"RxLabel12", "Panel2", {48, 66, -1, -1}},
                                          {"RxLabel13", "Panel2", {48, 90, -1, -1}},
                                          {"RxLabel15", "Panel2", {144, 90, -1, -1}},
                                          {"RxLabel14", "Panel2", {48, 106, -1, -1}},
                                          {"RxLabel16", "Panel2", {144, 106, -1, -1}},
                                          {"mybitbut1", "Panel2", {136, 134, 97, 25}},
                                      });
    EXPECT_EQ(dialog->strip()->size(), QSize(40, 160));
    dialogtest::expectLabels({
        {dialog->RxLabel2, "Puzzle difficulty:", platform::rgb(255, 255, 0)},
        {dialog->RxLabel3, "The puzzle dimension:", platform::rgb(255, 255, 255)},
        {dialog->RxLabel6, "8 x 8", platform::rgb(0, 255, 0)},
        {dialog->RxLabel8, "Number of foxes:", platform::rgb(255, 255, 255)},
        {dialog->RxLabel7, "5", platform::rgb(0, 255, 0)},
        {dialog->RxLabel12, "The best result for this puzzle:", platform::rgb(255, 255, 0)},
        {dialog->RxLabel13, "The best time:", platform::rgb(255, 255, 255)},
        {dialog->RxLabel15, "Mr. Smith    00:40,0", platform::rgb(0, 255, 0)},
        {dialog->RxLabel14, "Minimum steps:", platform::rgb(255, 255, 255)},
        {dialog->RxLabel16, "Mr. Smith    26 steps", platform::rgb(0, 255, 0)},
    });
    EXPECT_EQ(dialog->mybitbut1->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(dialog->mybitbut1->NumGlyphs(), 2);
}

TEST_F(ScoreDialogTest, LooksLikeTheDialogOnTheGreyPanel) {
    halloffametest::writeFameFile({{6, 3, days(12.5), 30, 1, 0, "Ann"}});
    auto dialog = open(6, 3);
    const QImage image = dialogtest::grabForReview(*dialog, QStringLiteral("score"));
    dialogtest::expectPanelLook(image, QSize(372, 174), QSize(367, 167));
}

} // namespace

} // namespace tarnell
