// The board as a screen reader reads it: a list named "Board" of N x N cells in rows (also a
// table) named by place and state, the current cell as its focused cell, the events that make
// a reader speak, and what the window tells beyond the cells.
#include "MainFormFixture.h"

#include "dialogs/game_over.h"
#include "dialogs/score.h"
#include "mainwindow/BoardAccessible.h"
#include "mainwindow/NewsTeller.h"
#include "widgets/AccessibleWidgets.h"
#include "widgets/Announcer.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/SpokenItems.h"
#include "widgets/buttons/buts2.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

#include <set>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QElapsedTimer>

namespace tarnell {

using namespace mainformtest;

namespace {

struct Event {
    QAccessible::Event type;
    int child;
    bool operator==(const Event&) const = default;
};

class Board : public MainForm {
protected:
    // Opens the window with a reader that listens and records what the board announces.
    void openListened(bool active = true) {
        if (active)
            openActive();
        else
            open();
        reader()->setListener({[this] { return listening_; },
                               [this](QAccessibleEvent& event) {
                                   // A message's plate is no child of the board.
                                   const bool spoken = event.object() == nullptr;
                                   events_.push_back({event.type(), spoken ? -1 : event.child()});
                                   if (spoken)
                                       spokenBy_.push_back(
                                           QAccessible::uniqueId(event.accessibleInterface()));
                               }});
    }
    TBoardReader* reader() const { return TBoardReader::of(ui<"PaintBox3">()); }
    QAccessibleInterface* table() const {
        return QAccessible::queryAccessibleInterface(ui<"PaintBox3">());
    }
    QAccessibleInterface* cell(int row, int col) const {
        return table()->tableInterface()->cellAt(row - 1, col - 1);
    }
    QString name(int row, int col) const { return cell(row, col)->text(QAccessible::Name); }
    int index(int row, int col) const {
        return (row - 1) * window_->puzzle().FieldSize() + col - 1;
    }
    void moveTo(int row, int col) {
        const QPoint at = cellCentre(row, col);
        window_->PaintBox3MouseMove(at.x(), at.y());
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(ui<"RzBmpButton1">(), key, modifiers);
    }
    std::vector<Event> take() { return std::exchange(events_, {}); }

    bool listening_ = true;
    std::vector<Event> events_;
    // The plates that said a message at the current cell (their focus events have no child).
    std::vector<QAccessible::Id> spokenBy_;
};

const Event Spoken{QAccessible::Focus, -1}; // a message said at the current cell

TEST_F(Board, IsAListNamedBoardOfNByNCellsInRowsThatFollowsThePuzzleSize) {
    open();
    QAccessibleInterface* board = table();
    ASSERT_NE(board, nullptr);
    // A list, so that a screen reader reads one cell at a time; a table to those that ask.
    EXPECT_EQ(board->role(), QAccessible::List);
    EXPECT_EQ(board->text(QAccessible::Name), QStringLiteral("Board"));
    QAccessibleTableInterface* grid = board->tableInterface();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 8);
    EXPECT_EQ(grid->columnCount(), 8);
    EXPECT_EQ(board->childCount(), 64);

    QAccessibleInterface* c = cell(3, 5);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->role(), QAccessible::ListItem);
    EXPECT_EQ(c->text(QAccessible::Name), QStringLiteral("Row 3, column 5: covered"));
    EXPECT_EQ(c->parent(), board);
    ASSERT_NE(c->tableCellInterface(), nullptr);
    EXPECT_EQ(c->tableCellInterface()->rowIndex(), 2);
    EXPECT_EQ(c->tableCellInterface()->columnIndex(), 4);
    // One object per cell, however it is reached: a reader's references stay good.
    EXPECT_EQ(board->child(2 * 8 + 4), c);
    EXPECT_EQ(board->indexOfChild(c), 2 * 8 + 4);
    const QPoint centre = ui<"PaintBox3">()->mapToGlobal(cellCentre(3, 5));
    EXPECT_EQ(board->childAt(centre.x(), centre.y()), c);
    EXPECT_TRUE(c->rect().contains(centre));
    EXPECT_EQ(cell(9, 1), nullptr);

    // A puzzle of another size reshapes the table; cells beyond it are gone.
    window_->mybitbutn3Click();
    window_->mybitbutn3Click();
    window_->mybitbutn3Click();
    window_->mybitbutn510Click();
    EXPECT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(board->childCount(), 25);
    EXPECT_EQ(cell(6, 6), nullptr);
    EXPECT_EQ(board->indexOfChild(c), 2 * 5 + 4);
    QAccessibleInterface* corner = cell(1, 1);
    window_->mybitbutn1Click();
    window_->mybitbutn1Click();
    window_->mybitbutn1Click();
    window_->mybitbutn1Click();
    window_->StartNewPuzzle(); // as "Yes" in the confirmation does
    ASSERT_EQ(grid->rowCount(), 9);
    EXPECT_EQ(cell(1, 1), corner);
    EXPECT_EQ(name(9, 9), QStringLiteral("Row 9, column 9: covered"));
}

TEST_F(Board, CellNamesSayWhatEachCellShows) {
    store(QStringLiteral("Fin"), 5);
    store(QStringLiteral("Lim"), 2);
    open();
    hideFoxesAt({{1, 1}, {5, 2}});
    clickCell(3, 3);
    EXPECT_EQ(name(3, 3), QStringLiteral("Row 3, column 3: opened, 1 fox in sight"));
    clickCell(1, 2);
    EXPECT_EQ(name(1, 2), QStringLiteral("Row 1, column 2: opened, 2 foxes in sight"));
    clickCell(2, 4);
    EXPECT_EQ(name(2, 4), QStringLiteral("Row 2, column 4: opened, 0 foxes in sight"));
    clickCell(5, 2);
    EXPECT_EQ(name(5, 2), QStringLiteral("Row 5, column 2: fox found"));
    // Proven fox-free cells say so only while hints are shown, as the board shows them.
    ASSERT_EQ(window_->puzzle().HintPlane()[4][1], 1); // a neighbour of the fox found
    EXPECT_EQ(name(4, 1), QStringLiteral("Row 4, column 1: covered, no fox"));
    EXPECT_EQ(name(1, 1), QStringLiteral("Row 1, column 1: covered"));
    ui<"JvgCheckBox12">()->setChecked(false);
    EXPECT_EQ(name(4, 1), QStringLiteral("Row 4, column 1: covered"));
}

TEST_F(Board, TheCurrentCellIsTheFocusedCellAndMovingItAnnouncesTheFocus) {
    openListened();
    take();
    key(Qt::Key_Down);
    EXPECT_EQ(take(), (std::vector<Event>{{QAccessible::Focus, index(1, 1)}}));
    EXPECT_TRUE(cell(1, 1)->state().focused);
    moveTo(3, 5);
    EXPECT_EQ(take(), (std::vector<Event>{{QAccessible::Focus, index(3, 5)}}));
    EXPECT_FALSE(cell(1, 1)->state().focused);
    EXPECT_TRUE(cell(3, 5)->state().focused);
    EXPECT_EQ(table()->focusChild(), cell(3, 5));
    // Moving within the cell, or beside the board, is no news.
    const QPoint at = cellCentre(3, 5);
    window_->PaintBox3MouseMove(at.x() + 3, at.y() + 1);
    window_->PaintBox3MouseMove(200, 224);
    EXPECT_TRUE(take().empty());
    // While the keyboard is elsewhere the pointer does not pull a reader onto the board...
    ui<"mybitbutn510">()->setFocus(Qt::TabFocusReason);
    take();
    moveTo(2, 2);
    EXPECT_TRUE(take().empty());
    EXPECT_FALSE(cell(2, 2)->state().focused);
    // ...and when the keyboard comes back, the reader hears where it is.
    ui<"RzBmpButton1">()->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !events_.empty(); }, 1000));
    EXPECT_EQ(take(), (std::vector<Event>{{QAccessible::Focus, index(2, 2)}}));
}

// The table names a focused cell only while the keyboard rests on the board: with the
// keyboard on a push button or in a dialog, a reader asking for the focus finds none there.
TEST_F(Board, NoCellIsFocusedWhileTheKeyboardIsElsewhere) {
    openListened();
    window_->mybitbutn510Click(); // a game, so that "Score" can be pressed
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    ASSERT_EQ(table()->focusChild(), cell(1, 2));
    const auto focusedCells = [this] {
        std::vector<int> focused;
        for (int i = 0; i < table()->childCount(); ++i)
            if (table()->child(i)->state().focused)
                focused.push_back(i);
        return focused;
    };
    ui<"mybitbutn510">()->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), ui<"mybitbutn510">());
    EXPECT_EQ(table()->focusChild(), nullptr) << "the keyboard is on a push button";
    EXPECT_EQ(focusedCells(), std::vector<int>{});

    ui<"mybitbutn51">()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ui<"mybitbutn51">(), Qt::Key_Space); // "Score": the high-score dialog
    ASSERT_NE(window_->highScoreDialog(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_->highScoreDialog()->isActiveWindow(); }));
    ui<"RzBmpButton1">()->setFocus(Qt::OtherFocusReason); // the window's own focus, inactive
    EXPECT_EQ(table()->focusChild(), nullptr) << "the keyboard is in the dialog";
    EXPECT_EQ(focusedCells(), std::vector<int>{});

    window_->highScoreDialog()->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_->isActiveWindow(); }));
    ui<"RzBmpButton1">()->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(table()->focusChild(), cell(1, 2));
    EXPECT_EQ(focusedCells(), std::vector<int>{index(1, 2)});
}

TEST_F(Board, OpeningACellAnnouncesEveryNameThatChangedAndNoOther) {
    openListened();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    // A game that runs (the first move of the program is told with its game: see Told).
    window_->mybitbutn510Click();
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
        key(k);
    take();
    const QAccessible::Id id23 = QAccessible::uniqueId(cell(2, 3));
    key(Qt::Key_Space); // (2, 3) sees one fox: only its own name changes
    // ...and the news is said at it by a plate of its own that takes the focus, which a screen
    // reader reads as it reads a move.
    EXPECT_EQ(take(), (std::vector<Event>{{QAccessible::NameChanged, index(2, 3)}, Spoken}));
    EXPECT_EQ(name(2, 3), QStringLiteral("Row 2, column 3: opened, 1 fox in sight"));
    EXPECT_EQ(QAccessible::uniqueId(cell(2, 3)), id23) << "the board's own cell stays";
    ASSERT_FALSE(spokenBy_.empty());
    QAccessibleInterface* news = QAccessible::accessibleInterface(spokenBy_.back());
    ASSERT_NE(news, nullptr);
    EXPECT_EQ(news->text(QAccessible::Name), QStringLiteral("1 seen."));
    EXPECT_EQ(news->role(), QAccessible::ListItem);
    EXPECT_EQ(news->rect(), cell(2, 3)->rect());
    EXPECT_TRUE(news->state().focused);
    EXPECT_EQ(table()->indexOfChild(news), 64) << "after the board's cells, which stay";
    EXPECT_EQ(table()->focusChild(), cell(2, 3));
    // Opening it again changes nothing and says nothing.
    key(Qt::Key_Space);
    EXPECT_TRUE(take().empty());
    key(Qt::Key_Left);
    key(Qt::Key_Space); // another opening under the keyboard
    // The plate before is off the board: a reader that sees two objects of one role, name and
    // place takes them for one, and would not read the new one.
    ASSERT_NE(QAccessible::accessibleInterface(spokenBy_.front()), nullptr);
    EXPECT_TRUE(QAccessible::accessibleInterface(spokenBy_.front())->rect().isEmpty());
    EXPECT_FALSE(QAccessible::accessibleInterface(spokenBy_.front())->state().focused);
    key(Qt::Key_C); // the current plate in full
    EXPECT_EQ(QAccessible::accessibleInterface(spokenBy_.front()), nullptr)
        << "the plate before that is gone by now";
    take();
    key(Qt::Key_Right);

    // Finding the fox (3, 4) proves its neighbours and the lines of (2, 3) fox-free.
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    take();
    std::vector<QString> before;
    for (int i = 0; i < 64; ++i)
        before.push_back(table()->child(i)->text(QAccessible::Name));
    key(Qt::Key_Space);
    std::vector<Event> expected;
    for (int i = 0; i < 64; ++i)
        if (table()->child(i)->text(QAccessible::Name) != before[static_cast<std::size_t>(i)])
            expected.push_back({QAccessible::NameChanged, i});
    EXPECT_GT(expected.size(), 10u);
    const std::size_t renamed = expected.size();
    expected.push_back(Spoken);
    EXPECT_EQ(take(), expected) << "row by row, then the news once";
    EXPECT_EQ(QAccessible::accessibleInterface(spokenBy_.back())->text(QAccessible::Name),
              QStringLiteral("Fox found, 1 of 5."));

    // Hiding the hints changes the names of the proven cells, and says so.
    window_->RzBmpButton16Click();
    const std::vector<Event> hidden = take();
    EXPECT_EQ(hidden.size(), renamed - 1) << "all but the fox found";
    for (const Event& event : hidden)
        EXPECT_TRUE(table()->child(event.child)->text(QAccessible::Name).endsWith(": covered"));
}

TEST_F(Board, NothingIsAnnouncedWhileNoAssistiveTechnologyListens) {
    listening_ = false;
    openListened();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Space, Qt::Key_Right, Qt::Key_Space})
        key(k);
    moveTo(5, 5);
    window_->Timer1Timer();
    EXPECT_TRUE(events_.empty());
    // A reader that comes later hears the current cell, not the history before it came.
    listening_ = true;
    key(Qt::Key_Down);
    EXPECT_EQ(take(), (std::vector<Event>{{QAccessible::Focus, index(6, 5)}}));
}

TEST_F(Board, ANewSizeIsAnnouncedAsANewTable) {
    openListened(false);
    window_->Timer1Timer();
    take();
    window_->mybitbutn3Click();
    window_->mybitbutn510Click();
    window_->Timer1Timer();
    const std::vector<Event> changed = take();
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(changed.front().type, QAccessible::TableModelChanged);
}

// What a screen reader is told beyond the focused control: the news first and once, a place
// only where it was not just said, and every fact on its key.
class Told : public Board {
protected:
    void openTold() {
        openListened();
        window_->findChild<TAnnouncer*>()->setListening([this] { return listening_; });
    }
    QString said() const { return window_->findChild<TNewsTeller*>()->lastMessage(); }
    void click(QAbstractButton* button) { button->click(); }
    void newGame() { QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier); }
};

TEST_F(Told, TheSetUpANewGameEachFoxFoundWithTheCountAndTheNumbersOnDemand) {
    openTold();
    key(Qt::Key_I);
    EXPECT_EQ(said(),
              QStringLiteral("No game yet: Space or a click starts one. The next one: 8 by 8, 5 "
                             "foxes."));
    // Off a plate, a new item of the announcer says it and takes the focus from the control:
    // a screen reader reads its name alone.
    QAccessibleInterface* item = window_->findChild<TAnnouncer*>()->items().current();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(QAccessible::Name), said());
    EXPECT_EQ(item->role(), QAccessible::ListItem);
    EXPECT_EQ(item->parent()->indexOfChild(item), 0) << "one of the announcer's children";
    click(ui<"mybitbutn3">());
    EXPECT_EQ(said(), QStringLiteral("Next game: 7 by 7, 5 foxes."));
    EXPECT_NE(window_->findChild<TAnnouncer*>()->items().current(), item) << "each message is a new item";
    EXPECT_EQ(item->parent()->indexOfChild(item), -1) << "the one before is off the list";
    click(ui<"mybitbutn3">());
    click(ui<"mybitbutn3">());
    EXPECT_EQ(said(), QStringLiteral("Next game: 5 by 5, 3 foxes."))
        << "the smaller field lowered the foxes";
    click(ui<"mybitbutn4">());
    EXPECT_EQ(said(), QStringLiteral("Next game: 2 foxes."));
    click(ui<"mybitbutn2">());
    click(ui<"mybitbutn2">());
    EXPECT_EQ(said(), QStringLiteral("Next game: 3 foxes.")) << "at the limit it is said again";
    click(ui<"mybitbutn4">());

    hideFoxesAt({{1, 1}, {3, 4}});
    newGame();
    EXPECT_EQ(said(), QStringLiteral("New game: 5 by 5, 2 foxes."));
    key(Qt::Key_Down);
    take();
    key(Qt::Key_Space);
    EXPECT_EQ(said(), QStringLiteral("Fox found, 1 of 2.")) << "the place was just said";
    take();
    clickCell(1, 1);
    EXPECT_EQ(take(), std::vector<Event>{}) << "a fox found a second time is no news";
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    EXPECT_EQ(said(), QStringLiteral("2 seen."));
    key(Qt::Key_C);
    EXPECT_EQ(said(), QStringLiteral("Row 1, column 2: opened, 2 foxes in sight."));
    take();
    key(Qt::Key_R);
    EXPECT_EQ(said(), QStringLiteral("Row 1, column 2: opened, 2 foxes in sight."));
    EXPECT_EQ(take(), std::vector<Event>{Spoken}) << "said again";
    clock_.Advance(21700);
    key(Qt::Key_I);
    EXPECT_EQ(said(), QStringLiteral("Time elapsed 00:21,7. 2 steps. 1 of 2 foxes found, 9 plates "
                                     "may hide a fox. Board 5 by 5, 2 foxes."));
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right})
        key(k);
    clock_.Advance(1000);
    take();
    key(Qt::Key_Space);
    EXPECT_EQ(said(), QStringLiteral("Fox found, 2 of 2. Puzzle solved in 00:22,7 and 3 steps."));
    EXPECT_NE(window_->puzzleSolvedDialog(), nullptr);
    for (const Event& event : take())
        EXPECT_NE(event, Spoken) << "the puzzle-solved dialog says it first, and only it";
}

// The worked example's field after its first two moves: (2, 3) opened, the fox (3, 4) found.
// With the hints shown eight plates may still hide a fox: (1, 1), (1, 5), (3, 1), (4, 2), (5, 1),
// (5, 2), (5, 4) and (5, 5).
TEST_F(Told, LSaysTheFourLinesOfTheCurrentPlateAndISaysHowManyPlatesMayHideAFox) {
    store(QStringLiteral("Fin"), 5);
    store(QStringLiteral("Lim"), 3);
    openTold();
    key(Qt::Key_L);
    EXPECT_EQ(said(), QStringLiteral("No game yet: Space or a click starts one."));
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}});
    newGame();
    key(Qt::Key_L);
    EXPECT_EQ(said(), QStringLiteral("No current plate. The arrow keys or N choose one."));
    moveTo(2, 3);
    key(Qt::Key_Space);
    moveTo(3, 4);
    key(Qt::Key_Space);
    // The fox found is counted on each of its lines; one line has no plate left.
    take();
    key(Qt::Key_L);
    EXPECT_EQ(said(), QStringLiteral("Row 3: may hide a fox at column 1; 1 fox found. Column 4: "
                                     "may hide a fox at row 5; 1 fox found. Falling diagonal: no "
                                     "plate may hide a fox; 1 fox found. Rising diagonal: may hide "
                                     "a fox at row 5, column 2; 1 fox found."));
    // A held L tells the lines once, not again at every repeat of the key.
    QKeyEvent held(QEvent::KeyPress, Qt::Key_L, Qt::NoModifier, QStringLiteral("l"), true);
    QApplication::sendEvent(ui<"RzBmpButton1">(), &held);
    EXPECT_EQ(take(), std::vector<Event>{Spoken});
    // A corner: its falling diagonal is the plate alone.
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_PageUp);
    ASSERT_EQ(window_->puzzle().HotRow(), 1);
    ASSERT_EQ(window_->puzzle().HotCol(), 5);
    key(Qt::Key_L);
    EXPECT_EQ(said(), QStringLiteral("Row 1: may hide a fox at columns 1 and 5; no fox found. "
                                     "Column 5: may hide a fox at rows 1 and 5; no fox found. "
                                     "Falling diagonal: may hide a fox at row 1, column 5; no fox "
                                     "found. Rising diagonal: may hide a fox at row 1, column 5, "
                                     "row 4, column 2 and row 5, column 1; no fox found."));
    clock_.Advance(4000);
    key(Qt::Key_I);
    EXPECT_EQ(said(), QStringLiteral("Time elapsed 00:04,0. 2 steps. 1 of 3 foxes found, 8 plates "
                                     "may hide a fox. Board 5 by 5, 3 foxes."));
    // The hints hidden: every covered plate may hide a fox, as the board then shows.
    window_->RzBmpButton16Click();
    key(Qt::Key_L);
    EXPECT_EQ(said(), QStringLiteral("Row 1: may hide a fox at columns 1, 2, 3, 4 and 5; no fox "
                                     "found. Column 5: may hide a fox at rows 1, 2, 3, 4 and 5; no "
                                     "fox found. Falling diagonal: may hide a fox at row 1, column "
                                     "5; no fox found. Rising diagonal: may hide a fox at row 1, "
                                     "column 5, row 2, column 4, row 3, column 3, row 4, column 2 "
                                     "and row 5, column 1; no fox found."));
    key(Qt::Key_I);
    EXPECT_TRUE(said().contains(QStringLiteral(" found, 23 plates may hide a fox. ")));
}

// After the last fox the keys that look for foxes say that the puzzle is solved, and the
// current plate stays.
TEST_F(Told, AfterTheLastFoxTheKeysThatLookForFoxesSayThePuzzleIsSolved) {
    store(QStringLiteral("Fin"), 3);
    store(QStringLiteral("Lim"), 1);
    openTold();
    hideFoxesAt({{2, 2}});
    moveTo(2, 2);
    key(Qt::Key_Space); // the one fox: all eight others are proven free
    ASSERT_TRUE(window_->puzzle().Finished());
    EXPECT_EQ(said(), QStringLiteral("New game: 3 by 3, 1 fox. Fox found, 1 of 1. Puzzle solved in "
                                     "00:00,0 and 1 step. Row 2, column 2."));
    Tgame_over_form* solved = window_->puzzleSolvedDialog();
    ASSERT_NE(solved, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([solved] { return solved->isActiveWindow(); }));
    solved->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_->isActiveWindow(); }));
    take();
    ui<"mybitbutn510">()->setFocus(Qt::TabFocusReason);
    ui<"RzBmpButton1">()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !events_.empty(); }, 1000));
    ASSERT_EQ(take(), (std::vector<Event>{{QAccessible::Focus, index(2, 2)}}))
        << "the keyboard is back on the board";
    const QString solvedNews = QStringLiteral("The puzzle is solved in 00:00,0 and 1 step.");
    key(Qt::Key_N);
    EXPECT_EQ(said(), solvedNews);
    key(Qt::Key_N, Qt::ShiftModifier);
    EXPECT_EQ(said(), solvedNews);
    key(Qt::Key_L);
    EXPECT_EQ(said(), solvedNews);
    key(Qt::Key_I);
    EXPECT_EQ(said(), solvedNews + QStringLiteral(" Board 3 by 3, 1 fox."));
    EXPECT_EQ(window_->puzzle().HotRow(), 2);
    EXPECT_EQ(window_->puzzle().HotCol(), 2);
    EXPECT_EQ(take(), std::vector<Event>(4, Spoken)) << "no plate of the board was said";
}

TEST_F(Told, NAndTheJumpsAreHeardAsArrowsAndAJumpThatStaysSaysThePlateAgain) {
    openTold();
    take();
    key(Qt::Key_N);
    EXPECT_EQ(said(), QStringLiteral("No game yet: Space or a click starts one."));
    EXPECT_EQ(window_->puzzle().HotRow(), 0) << "no plate of an empty board is named";
    newGame();
    take();
    // N lands only on a covered plate that may hide a fox: its place is all it says.
    key(Qt::Key_N);
    EXPECT_EQ(take(), std::vector<Event>{Spoken});
    EXPECT_EQ(said(), QStringLiteral("1, 1."));
    key(Qt::Key_End);
    EXPECT_EQ(take(), (std::vector<Event>{{QAccessible::Focus, index(1, 8)}}));
    EXPECT_EQ(said(), QStringLiteral("Row 1, column 8: covered"));
    key(Qt::Key_PageDown);
    EXPECT_EQ(take(), (std::vector<Event>{{QAccessible::Focus, index(8, 8)}}));
    // Where the jump does not move, the plate is said again.
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(take(), std::vector<Event>{Spoken});
    EXPECT_EQ(said(), QStringLiteral("Row 8, column 8: covered."));
    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_PageUp);
    EXPECT_EQ(take(), (std::vector<Event>{{QAccessible::Focus, index(1, 1)}, Spoken}));
    // Nothing of it while no reader listens.
    listening_ = false;
    key(Qt::Key_Home);
    key(Qt::Key_N);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(events_.empty());
}

// The program's first game starts with the first move on the board, by a click or by Space:
// its news is told with what that move opened and where, in one message, also when the set-up
// changed its size before, and no plate is said before it or after it.
TEST_F(Told, TheFirstGameStartedOnTheBoardIsToldOnceWithWhatItsFirstMoveOpened) {
    openTold();
    click(ui<"mybitbutn3">());
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {7, 7}, {6, 5}});
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    take();
    key(Qt::Key_Space);
    ASSERT_EQ(window_->puzzle().FieldSize(), 7);
    EXPECT_EQ(said(), QStringLiteral("New game: 7 by 7, 5 foxes. 3 seen. Row 1, column 2."));
    std::vector<Event> focus;
    for (const Event& event : take())
        if (event.type == QAccessible::Focus)
            focus.push_back(event);
    EXPECT_EQ(focus, std::vector<Event>{Spoken}) << "the first move is said once";
    // The next opening under the keyboard says its news alone.
    key(Qt::Key_Down);
    take();
    key(Qt::Key_Space);
    EXPECT_EQ(take().back(), Spoken);
    EXPECT_EQ(said(), QStringLiteral("3 seen."));
}

TEST_F(Told, TheFirstGameStartedByAClickIsToldAndAFirstFoxWithIt) {
    openTold();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    clickCell(3, 3);
    EXPECT_EQ(said(), QStringLiteral("New game: 8 by 8, 5 foxes. 3 seen. Row 3, column 3."));
    // A fox found by the first move of the next program run is told with the count.
    openTold();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    clickCell(3, 4);
    EXPECT_EQ(said(),
              QStringLiteral("New game: 8 by 8, 5 foxes. Fox found, 1 of 5. Row 3, column 4."));
    // A click beside the field starts the game too, and says only that.
    openTold();
    window_->PaintBox3MouseUp(Qt::LeftButton, 2, 2);
    EXPECT_EQ(said(), QStringLiteral("New game: 8 by 8, 5 foxes."));
}

// The set-up may change while a game runs: the counts are the board's.
TEST_F(Told, TheFoxesFoundAreCountedOfTheBoardsFoxesNotTheSetUps) {
    openTold();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    window_->mybitbutn510Click();
    click(ui<"mybitbutn4">());
    ASSERT_EQ(window_->puzzle().SetupFoxes(), 4);
    clickCell(1, 1);
    EXPECT_EQ(said(), QStringLiteral("Fox found, 1 of 5. Row 1, column 1."));
    key(Qt::Key_I);
    EXPECT_TRUE(said().contains(QStringLiteral(". 1 step. 1 of 5 foxes found, ")) &&
                said().endsWith(QStringLiteral(" may hide a fox. Board 8 by 8, 5 foxes.")))
        << said().toStdString();
}

TEST_F(Told, NothingIsToldWhileNoScreenReaderListens) {
    listening_ = false;
    openTold();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    key(Qt::Key_I);
    click(ui<"mybitbutn3">());
    click(ui<"mybitbutn4">());
    window_->mybitbutn510Click();
    key(Qt::Key_Down);
    key(Qt::Key_Space);
    for (Qt::Key k : {Qt::Key_L, Qt::Key_N, Qt::Key_C, Qt::Key_R})
        key(k);
    EXPECT_EQ(said(), QString());
    EXPECT_TRUE(events_.empty());
    EXPECT_EQ(window_->findChild<TAnnouncer*>()->items().current(), nullptr);
}

// The displays are heard of at most once a second; what changes within the second is told when
// it is over. Checked with the platform's real accessibility bridge, in this program started
// again on a private X server with the AT-SPI bus.
const char* const BusChild = "TARNELL_ACCESSIBILITY_BUS_CHILD";

// The names told, with the object each was told of, as the screen reader would read them then.
std::vector<std::pair<const QObject*, QString>> nameNotices;
QElapsedTimer sinceLastNotice;
void recordNameNotice(QAccessibleEvent* event) {
    if (event->type() != QAccessible::NameChanged)
        return;
    nameNotices.emplace_back(event->object(),
                             event->accessibleInterface()->text(QAccessible::Name));
    sinceLastNotice.start();
}

class TheClocksFinalTimeAfterTheLastFoxIsHeard : public Told {
public:
    void TestBody() override {
        ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 15000))
            << "the accessibility bridge did not come up";
        const QAccessible::UpdateHandler bridge =
            QAccessible::installUpdateHandler(&recordNameNotice);
        struct BridgeAgain {
            QAccessible::UpdateHandler bridge;
            ~BridgeAgain() { QAccessible::installUpdateHandler(bridge); }
        } bridgeAgain{bridge};
        store(QStringLiteral("Fin"), 3);
        store(QStringLiteral("Lim"), 1);
        open();
        window_->show();
        hideFoxesAt({{1, 1}});
        clickCell(3, 3);
        const QObject* clock = ui<"LCDLabel1">();
        const auto lastHeard = [clock] {
            for (auto notice = nameNotices.rbegin(); notice != nameNotices.rend(); ++notice)
                if (notice->first == clock)
                    return notice->second;
            return QString();
        };
        // After more than a second of quiet, a tenth is told; the next tenths and the last fox
        // come within the second after it.
        sinceLastNotice.start();
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return sinceLastNotice.elapsed() > NameNoticeInterval + 100; }, 10000));
        clock_.Advance(100);
        window_->Timer1Timer();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return lastHeard() == QStringLiteral("Time elapsed 00:00,1"); }, 3000));
        for (int tick = 0; tick < 2; ++tick) {
            clock_.Advance(100);
            window_->Timer1Timer();
        }
        clickCell(1, 1);
        ASSERT_TRUE(window_->puzzle().Finished());
        const QString final = QStringLiteral("Time elapsed ") + ui<"LCDLabel1">()->Caption();
        EXPECT_TRUE(QTest::qWaitFor([&] { return lastHeard() == final; }, 3000))
            << "the clock's final time was never told; last told: " << lastHeard().toStdString();
    }
};

[[maybe_unused]] const bool onTheBus =
    testsupport::registerChildTest<TheClocksFinalTimeAfterTheLastFoxIsHeard>(
        "ToldOnTheBus", "TheClocksFinalTimeAfterTheLastFoxIsHeard", BusChild);

TEST(ToldOnARealBridge, TheClocksFinalTimeAfterTheLastFoxIsHeard) {
    const testsupport::ChildRun run =
        testsupport::runWithAccessibilityBus("ToldOnTheBus", BusChild);
    if (run.skipped())
        GTEST_SKIP() << run.output.toStdString();
    EXPECT_TRUE(run.allPassed()) << "exit status " << run.exitCode << "\n"
                                 << run.output.toStdString();
}

TEST_F(Board, ShowHintsIsACheckBoxWhoseHandleSaysItsState) {
    open();
    QAccessibleInterface* handle = QAccessible::queryAccessibleInterface(ui<"RzBmpButton16">());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->role(), QAccessible::CheckBox);
    EXPECT_EQ(handle->text(QAccessible::Name), QStringLiteral("Show hints"));
    EXPECT_TRUE(handle->state().checkable);
    EXPECT_TRUE(handle->state().checked);
    window_->RzBmpButton16Click();
    EXPECT_FALSE(handle->state().checked);
    // A screen reader's toggle does what Space does.
    QAccessibleActionInterface* actions = handle->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(ui<"JvgCheckBox12">()->isChecked());
    EXPECT_TRUE(handle->state().checked);
}

TEST_F(Board, ThePageStackIsSilentAndCtrlF2PutsTheFocusOnTheAboutPage) {
    openActive();
    QAccessibleInterface* stack = QAccessible::queryAccessibleInterface(ui<"Notebook1">());
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->role(), QAccessible::Client) << "not a layered pane, which is announced";
    QTest::keyClick(window_.get(), Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::AboutPage);
    EXPECT_EQ(QApplication::focusWidget(), ui<"aboutPage">());
    QAccessibleInterface* about = QAccessible::queryAccessibleInterface(ui<"aboutPage">());
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(QAccessible::Name), QStringLiteral("About Tarnell"));
    EXPECT_TRUE(about->text(QAccessible::Description).contains(QStringLiteral("Morvane")));
    QTest::keyClick(window_.get(), Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), ui<"RzBmpButton1">());
}

} // namespace

} // namespace tarnell
