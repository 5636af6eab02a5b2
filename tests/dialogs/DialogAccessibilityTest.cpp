// The four dialogs as a screen reader finds them: each is a dialog under its title, the lines
// it reads when the dialog opens carry the question or the whole result with its numbers, the
// name box is named, and Tab and Space still reach and press "OK".
#include "DialogTestSupport.h"
#include "dialogs/donat.h"
#include "dialogs/game_over.h"
#include "dialogs/score.h"
#include "dialogs/warnin_fo.h"
#include "tests/support/TestSupport.h"
#include "widgets/buttons/buts.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

namespace {

using dialogtest::FakeHost;
using halloffametest::days;
using halloffametest::solvedPuzzle;

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The labels a screen reader reads when a dialog window opens, as Orca 43 picks them: static
// texts on the screen that label nothing, of three words or more and not repeating the
// dialog's name, top to bottom and then left to right.
QStringList heardOnOpening(QWidget& dialog) {
    QAccessibleInterface* root = accessible(&dialog);
    const QString title = root->text(QAccessible::Name);
    struct Line {
        QRect place;
        QString text;
    };
    std::vector<Line> lines;
    std::vector<QAccessibleInterface*> pending{root};
    while (!pending.empty()) {
        QAccessibleInterface* node = pending.back();
        pending.pop_back();
        if (node->state().invisible)
            continue;
        for (int index = 0; index < node->childCount(); ++index)
            pending.push_back(node->child(index));
        const QString name = node->text(QAccessible::Name);
        if (node->role() != QAccessible::StaticText || !node->relations().isEmpty() ||
            name.split(QLatin1Char(' '), Qt::SkipEmptyParts).size() < 3 || title.contains(name))
            continue;
        lines.push_back({node->rect(), name});
    }
    std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return a.place.top() != b.place.top() ? a.place.top() < b.place.top()
                                              : a.place.left() < b.place.left();
    });
    QStringList heard;
    for (const Line& line : lines)
        heard.append(line.text);
    return heard;
}

QString quoted(const QStringList& lines) {
    return QLatin1Char('"') + lines.join(QStringLiteral("\" | \"")) + QLatin1Char('"');
}

void expectDialogNamed(QWidget& dialog, const QString& name) {
    QAccessibleInterface* window = accessible(&dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Dialog) << "role " << window->role();
    EXPECT_EQ(window->text(QAccessible::Name), name);
}

class DialogAccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        halloffametest::removeFameFiles();
        testsupport::clearMessages();
    }

    std::unique_ptr<Tgame_over_form> openSolved(const TPuzzleResult& result) {
        host_.marker_ = odPuzzleSolved;
        return std::make_unique<Tgame_over_form>(host_, result, [](const QString&) {});
    }

    FakeHost host_;
};

TEST_F(DialogAccessibilityTest, TheConfirmationIsADialogThatAsksItsQuestion) {
    host_.marker_ = odConfirmation;
    Twarnin_form dialog(host_, QStringLiteral("Warning!"),
                        QStringLiteral("This game hasn't finished yet. Generate the new puzzle?"));
    expectDialogNamed(dialog, QStringLiteral("Warning!"));
    const QStringList heard = heardOnOpening(dialog);
    EXPECT_EQ(heard, QStringList{QStringLiteral(
                         "This game hasn't finished yet. Generate the new puzzle?")})
        << quoted(heard).toStdString();
    EXPECT_EQ(accessible(dialog.mybitbut1)->text(QAccessible::Name), QStringLiteral("Yes"));
    EXPECT_EQ(accessible(dialog.mybitbut2)->text(QAccessible::Name), QStringLiteral("No"));
}

TEST_F(DialogAccessibilityTest, TheSolvedDialogReadsTheWholeResultAndAsksForTheNameByItsName) {
    auto dialog = openSolved(solvedPuzzle(7, 4, 21.7, 12));
    expectDialogNamed(*dialog, QStringLiteral("Congratulations!"));
    // Only the spoken title is spelled right: the caption and the window title stay as drawn.
    EXPECT_EQ(dialog->caption(), QStringLiteral("Congradulations!"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Congradulations!"));
    EXPECT_EQ(dialog->RxLabel6->Caption(), QStringLiteral("7 x 7"));

    const QStringList heard = heardOnOpening(*dialog);
    const QStringList expected{
        QStringLiteral("You have solved the puzzle!"),
        QStringLiteral("The puzzle dimension: 7 x 7"),
        QStringLiteral("Number of foxes: 4"),
        QStringLiteral("It took you 00:21,7 and 12 steps."),
        QStringLiteral("The best result for this puzzle:"),
        QStringLiteral("The best time: Mr. Smith 00:28,0"),
        QStringLiteral("Minimum steps: Mr. Smith 22 steps"),
    };
    EXPECT_EQ(heard, expected) << quoted(heard).toStdString();

    // A best was beaten: the name box has the focus and says what it wants, once.
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    ASSERT_EQ(QApplication::focusWidget(), dialog->Edit1);
    QAccessibleInterface* box = accessible(dialog->Edit1);
    EXPECT_EQ(box->role(), QAccessible::EditableText);
    EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("Enter your name"));
    EXPECT_TRUE(box->state().focused);
    EXPECT_FALSE(box->state().invisible);

    // Tab goes on to "OK" and Space presses it: the typed name is stored and the dialog closes.
    QTest::keyClicks(dialog->Edit1, QStringLiteral("Ear Player"));
    QTest::keyClick(dialog->Edit1, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), dialog->mybitbut1);
    EXPECT_EQ(accessible(dialog->mybitbut1)->text(QAccessible::Name), QStringLiteral("OK"));
    QTest::keyClick(dialog->mybitbut1, Qt::Key_Space);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host_.marker_, odNone);
    const auto stored = halloffametest::decodeAll(halloffametest::readFameFile());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored.front().name, halloffametest::padded("Ear Player"));
}

TEST_F(DialogAccessibilityTest, ASolvedPuzzleThatBeatsNoBestReadsTheStoredBestAndNoNameBox) {
    halloffametest::writeFameFile(
        {{5, 3, days(9.5), 14, 1, 0, "Ann"}, {5, 3, days(30.0), 9, 0, 1, "Ben"}});
    auto dialog = openSolved(solvedPuzzle(5, 3, 75.2, 20));
    const QStringList heard = heardOnOpening(*dialog);
    const QStringList expected{
        QStringLiteral("You have solved the puzzle!"),
        QStringLiteral("The puzzle dimension: 5 x 5"),
        QStringLiteral("Number of foxes: 3"),
        QStringLiteral("It took you 01:15,2 and 20 steps."),
        QStringLiteral("The best result for this puzzle:"),
        QStringLiteral("The best time: Ann 00:09,5"),
        QStringLiteral("Minimum steps: Ben 9 steps"),
    };
    EXPECT_EQ(heard, expected) << quoted(heard).toStdString();
    EXPECT_TRUE(accessible(dialog->Edit1)->state().invisible);

    // Space on the focused "OK" still closes it, storing nothing new.
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    ASSERT_EQ(QApplication::focusWidget(), dialog->mybitbut1);
    const QByteArray before = halloffametest::readFameFile();
    QTest::keyClick(dialog->mybitbut1, Qt::Key_Space);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(halloffametest::readFameFile(), before);
}

TEST_F(DialogAccessibilityTest, TheHighScoreDialogReadsItsLinesWithTheirNumbers) {
    halloffametest::writeFameFile({{6, 3, days(65.4), 15, 0, 1, "Steps holder"},
                                   {6, 3, days(12.5), 30, 1, 0, "  Time holder  "}});
    host_.marker_ = odHighScore;
    Tscore_form dialog(host_, 6, 3);
    expectDialogNamed(dialog, QStringLiteral("Highscore"));
    const QStringList heard = heardOnOpening(dialog);
    const QStringList expected{
        QStringLiteral("The puzzle dimension: 6 x 6"),
        QStringLiteral("Number of foxes: 3"),
        QStringLiteral("The best result for this puzzle:"),
        QStringLiteral("The best time: Time holder 00:12,5"),
        QStringLiteral("Minimum steps: Steps holder 15 steps"),
    };
    EXPECT_EQ(heard, expected) << quoted(heard).toStdString();

    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    ASSERT_EQ(QApplication::focusWidget(), dialog.mybitbut1);
    QTest::keyClick(dialog.mybitbut1, Qt::Key_Space);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogAccessibilityTest, TheDonationDialogReadsItsPleaAndNamesEveryAccountBox) {
    host_.marker_ = odDonation;
    Tdonat_form dialog(host_);
    expectDialogNamed(dialog, QStringLiteral("Donation"));
    const QStringList heard = heardOnOpening(dialog);
    const QStringList expected{
        QStringLiteral("If you like this software you can support the developer."),
        QStringLiteral("You can send any amount that you want via PayPal or WebMoney"),
    };
    EXPECT_EQ(heard, expected) << quoted(heard).toStdString();
    const std::vector<std::pair<QLineEdit*, const char*>> boxes = {
        {dialog.Edit1, "PayPal account"}, {dialog.Edit2, "WebMoney WMR"},
        {dialog.Edit3, "WebMoney WMU"},   {dialog.Edit4, "WebMoney WME"},
        {dialog.Edit5, "WebMoney WMZ"},
    };
    for (const auto& [box, name] : boxes)
        EXPECT_EQ(accessible(box)->text(QAccessible::Name), QLatin1String(name));
}

} // namespace

} // namespace tarnell
