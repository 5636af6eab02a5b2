// The board as a screen reader reads it: a table named "Board" of N x N cells named by place
// and state, the current cell as its focused cell, and the events that make a reader speak.
#include "MainFormFixture.h"

#include "dialogs/score.h"
#include "mainwindow/BoardAccessible.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/buttons/buts5.h"

#include <set>

#include <QAccessible>

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
                                   events_.push_back({event.type(), event.child()});
                               }});
    }
    TBoardReader* reader() const { return TBoardReader::of(window_->PaintBox3); }
    QAccessibleInterface* table() const {
        return QAccessible::queryAccessibleInterface(window_->PaintBox3);
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
    void key(Qt::Key key) { QTest::keyClick(window_->RzBmpButton1, key); }
    std::vector<Event> take() { return std::exchange(events_, {}); }

    bool listening_ = true;
    std::vector<Event> events_;
};

TEST_F(Board, IsATableNamedBoardOfNByNCellsThatFollowsThePuzzleSize) {
    open();
    QAccessibleInterface* board = table();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->role(), QAccessible::Table);
    EXPECT_EQ(board->text(QAccessible::Name), QStringLiteral("Board"));
    QAccessibleTableInterface* grid = board->tableInterface();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 8);
    EXPECT_EQ(grid->columnCount(), 8);
    EXPECT_EQ(board->childCount(), 64);

    QAccessibleInterface* c = cell(3, 5);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->role(), QAccessible::Cell);
    EXPECT_EQ(c->text(QAccessible::Name), QStringLiteral("Row 3, column 5: covered"));
    EXPECT_EQ(c->parent(), board);
    ASSERT_NE(c->tableCellInterface(), nullptr);
    EXPECT_EQ(c->tableCellInterface()->rowIndex(), 2);
    EXPECT_EQ(c->tableCellInterface()->columnIndex(), 4);
    // One object per cell, however it is reached: a reader's references stay good.
    EXPECT_EQ(board->child(2 * 8 + 4), c);
    EXPECT_EQ(board->indexOfChild(c), 2 * 8 + 4);
    const QPoint centre = window_->PaintBox3->mapToGlobal(cellCentre(3, 5));
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
    window_->JvgCheckBox12->setChecked(false);
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
    window_->mybitbutn510->setFocus(Qt::TabFocusReason);
    take();
    moveTo(2, 2);
    EXPECT_TRUE(take().empty());
    EXPECT_FALSE(cell(2, 2)->state().focused);
    // ...and when the keyboard comes back, the reader hears where it is.
    window_->RzBmpButton1->setFocus(Qt::TabFocusReason);
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
    window_->mybitbutn510->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), window_->mybitbutn510);
    EXPECT_EQ(table()->focusChild(), nullptr) << "the keyboard is on a push button";
    EXPECT_EQ(focusedCells(), std::vector<int>{});

    window_->mybitbutn51->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window_->mybitbutn51, Qt::Key_Space); // "Score": the high-score dialog
    ASSERT_NE(window_->highScoreDialog(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_->highScoreDialog()->isActiveWindow(); }));
    window_->RzBmpButton1->setFocus(Qt::OtherFocusReason); // the window's own focus, inactive
    EXPECT_EQ(table()->focusChild(), nullptr) << "the keyboard is in the dialog";
    EXPECT_EQ(focusedCells(), std::vector<int>{});

    window_->highScoreDialog()->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_->isActiveWindow(); }));
    window_->RzBmpButton1->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(table()->focusChild(), cell(1, 2));
    EXPECT_EQ(focusedCells(), std::vector<int>{index(1, 2)});
}

TEST_F(Board, OpeningACellAnnouncesEveryNameThatChangedAndNoOther) {
    openListened();
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
        key(k);
    take();
    key(Qt::Key_Space); // (2, 3) sees one fox: only its own name changes
    EXPECT_EQ(take(), (std::vector<Event>{{QAccessible::NameChanged, index(2, 3)}}));
    EXPECT_EQ(name(2, 3), QStringLiteral("Row 2, column 3: opened, 1 fox in sight"));

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
    EXPECT_EQ(take(), expected) << "row by row, no focus: the current cell stayed";

    // Hiding the hints changes the names of the proven cells, and says so.
    window_->RzBmpButton16Click();
    const std::vector<Event> hidden = take();
    EXPECT_EQ(hidden.size(), expected.size() - 1) << "all but the fox found";
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

} // namespace

} // namespace tarnell
