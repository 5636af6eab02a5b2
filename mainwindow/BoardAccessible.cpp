#include "BoardAccessible.h"

#include "BoardKeys.h"
#include "FieldArea.h"
#include "core/Clock.h"
#include "core/Puzzle.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QStringList>
#include <QWidget>

namespace tarnell {

namespace {

const QString ReaderName = QStringLiteral("tarnell-board-reader");
// The diamond of a plate without its side faces.
constexpr QSize CellBox{41, 21};

// Where cell (row, col), counted from 1, is kept in a row-major table of the largest board.
std::size_t cellSlot(int row, int col) {
    return static_cast<std::size_t>((row - 1) * MaxFieldSize + col - 1);
}

class BoardCellAccessible;

// The board: a list of N x N cells in rows that also answers as a table. The cells are made
// once per place and kept, so that a screen reader's references to them stay good while the
// puzzles change.
//
// Why a list and not a table, measured with Orca 43 and its default settings: in a table
// Orca reads the whole row whenever the row changes (its "speak full row in GUI tables"), so
// Up and Down lose the current cell among the others, and it drops name changes of table
// cells, so an opened plate is heard only after moving away and back. A list item is read
// alone. The table interface stays for clients that find cells by row and column; Orca treats
// a widget as a table only by its role.
class BoardAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit BoardAccessible(QWidget* board) : QAccessibleWidget(board, QAccessible::List) {}
    ~BoardAccessible() override {
        for (QAccessible::Id id : cellIds_)
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
        if (retired_ != 0)
            QAccessible::deleteAccessibleInterface(retired_);
    }
    BoardAccessible(const BoardAccessible&) = delete;
    BoardAccessible& operator=(const BoardAccessible&) = delete;

    QWidget* board() const { return widget(); }
    const TBoardReader* reader() const { return TBoardReader::of(widget()); }
    int size() const { return reader() ? reader()->puzzle().FieldSize() : 0; }

    // The cell at (row, col), counted from 1; null outside the field.
    QAccessibleInterface* cell(int row, int col) const;
    // Makes the next cell asked for at (row, col) a new object. The old one lives on until
    // the next renewal, so that a reader can still ask it about the name change just sent,
    // but it is off the board: a screen reader that finds two objects of the same role,
    // name and place takes them for one and would not read the new one.
    void renewCell(int row, int col);

    // --- QAccessibleInterface ---
    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("Board");
        if (type == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return boardKeysHelp();
        return QAccessibleWidget::text(type);
    }
    int childCount() const override { return size() * size(); }
    QAccessibleInterface* child(int index) const override {
        const int n = size();
        if (index < 0 || index >= n * n)
            return nullptr;
        return cell(index / n + 1, index % n + 1);
    }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        int row = 0;
        int col = 0;
        TPuzzle::HitTest(local.x(), local.y(), row, col);
        return cell(row, col);
    }
    QAccessibleInterface* focusChild() const override {
        const TBoardReader* board = reader();
        if (!board || !board->keyboardOnBoard())
            return nullptr;
        return cell(board->puzzle().HotRow(), board->puzzle().HotCol());
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // --- QAccessibleTableInterface (rows and columns counted from 0 here) ---
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return cell(row + 1, column + 1);
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override {
        return QStringLiteral("Column %1").arg(column + 1);
    }
    QString rowDescription(int row) const override { return QStringLiteral("Row %1").arg(row + 1); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return size(); }
    int rowCount() const override { return size(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // The cells are kept by place, so a new size needs nothing here.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    mutable std::array<QAccessible::Id, MaxFieldSize * MaxFieldSize> cellIds_{};
    QAccessible::Id retired_ = 0; // the cell last renewed away
};

// One plate of the board, named by its place and what it shows.
class BoardCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    BoardCellAccessible(const BoardAccessible* table, int row, int col)
        : table_(table), row_(row), col_(col) {}

    int row() const { return row_; }
    int col() const { return col_; }
    // It is no longer the board's cell at its place: see BoardAccessible::renewCell.
    void retire() { retired_ = true; }

    // --- QAccessibleInterface ---
    bool isValid() const override {
        return table_->isValid() && table_->reader() && row_ <= table_->size() &&
               col_ <= table_->size();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return table_->window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return const_cast<BoardAccessible*>(table_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text type) const override {
        if (type != QAccessible::Name || !isValid())
            return {};
        return table_->reader()->cellName(row_, col_);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (retired_)
            return {};
        const QWidget* board = table_->board();
        return QRect(board->mapToGlobal(TFieldRenderer::cellOrigin(row_, col_)), CellBox);
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const TBoardReader* board = table_->reader();
        state.invisible = retired_ || !table_->board()->isVisible();
        state.focused = !retired_ && board->keyboardOnBoard() && board->puzzle().HotRow() == row_ &&
                        board->puzzle().HotCol() == col_;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    // --- QAccessibleTableCellInterface ---
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return col_ - 1; }
    int rowIndex() const override { return row_ - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return const_cast<BoardAccessible*>(table_); }

private:
    const BoardAccessible* table_;
    int row_;
    int col_;
    bool retired_ = false;
};

void BoardAccessible::renewCell(int row, int col) {
    if (retired_ != 0)
        QAccessible::deleteAccessibleInterface(retired_);
    QAccessible::Id& id = cellIds_[cellSlot(row, col)];
    if (auto* old = static_cast<BoardCellAccessible*>(QAccessible::accessibleInterface(id)))
        old->retire();
    retired_ = id;
    id = 0;
}

QAccessibleInterface* BoardAccessible::cell(int row, int col) const {
    const int n = size();
    if (row < 1 || row > n || col < 1 || col > n)
        return nullptr;
    QAccessible::Id& id = cellIds_[cellSlot(row, col)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new BoardCellAccessible(this, row, col));
    return QAccessible::accessibleInterface(id);
}

int BoardAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = child ? dynamic_cast<const BoardCellAccessible*>(child) : nullptr;
    if (cell == nullptr || cell->parent() != this || !cell->isValid() ||
        cell != this->cell(cell->row(), cell->col()))
        return -1;
    return (cell->row() - 1) * size() + cell->col() - 1;
}

QAccessibleInterface* makeBoardInterface(const QString& className, QObject* object) {
    if (className != QLatin1String(TFieldArea::staticMetaObject.className()))
        return nullptr;
    auto* board = static_cast<QWidget*>(object);
    return TBoardReader::of(board) ? new BoardAccessible(board) : nullptr;
}

} // namespace

QString boardCellName(const TPuzzle& puzzle, int row, int col, bool showHints) {
    const QString place = QStringLiteral("Row %1, column %2: ").arg(row).arg(col);
    switch (puzzle.ViewState(row, col)) {
    case vsFound:
        return place + QStringLiteral("fox found");
    case vsOpened: {
        const int seen = puzzle.GetN(row, col);
        return place + QStringLiteral("opened, %1 %2 in sight")
                           .arg(seen)
                           .arg(seen == 1 ? QStringLiteral("fox") : QStringLiteral("foxes"));
    }
    default:
        if (showHints && puzzle.HintPlane()[row][col] == 1)
            return place + QStringLiteral("covered, no fox");
        return place + QStringLiteral("covered");
    }
}

namespace {

QString counted(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString boardText(int size, int foxes) {
    return QStringLiteral("%1 by %1, %2").arg(size).arg(counted(foxes, "fox", "foxes"));
}

QString foundText(const TPuzzle& puzzle) {
    return QStringLiteral("%1 of %2 found")
        .arg(puzzle.FoundCount())
        .arg(counted(puzzle.FoxCount(), "fox", "foxes"));
}

QString clockText(double elapsed) {
    return QString::fromStdString(ClockText(elapsed));
}

QString mayHideFoxText(int plates) {
    if (plates == 0)
        return QStringLiteral("no plate may hide a fox");
    return counted(plates, "plate", "plates") + QStringLiteral(" may hide a fox");
}

// "2", "1 and 7", "2, 5 and 8".
QString listed(const QStringList& items) {
    if (items.size() < 2)
        return items.join(QString());
    return QStringList(items.mid(0, items.size() - 1)).join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + items.back();
}

// A row names its plates by column, a column by row, a diagonal by both.
QString placesText(TLine line, const std::vector<TCell>& cells) {
    QStringList items;
    for (const TCell cell : cells) {
        if (line == TLine::Row)
            items << QString::number(cell.Col);
        else if (line == TLine::Column)
            items << QString::number(cell.Row);
        else
            items << QStringLiteral("row %1, column %2").arg(cell.Row).arg(cell.Col);
    }
    const int many = items.size() > 1 ? 1 : 0;
    if (line == TLine::Row)
        return (many ? QStringLiteral("columns ") : QStringLiteral("column ")) + listed(items);
    if (line == TLine::Column)
        return (many ? QStringLiteral("rows ") : QStringLiteral("row ")) + listed(items);
    return listed(items);
}

QString lineName(TLine line, int row, int col) {
    switch (line) {
    case TLine::Row:
        return QStringLiteral("Row %1").arg(row);
    case TLine::Column:
        return QStringLiteral("Column %1").arg(col);
    case TLine::Falling:
        return QStringLiteral("Falling diagonal");
    case TLine::Rising:
        return QStringLiteral("Rising diagonal");
    }
    return {};
}

} // namespace

QString foxFoundMessage(const TPuzzle& puzzle, int row, int col) {
    QString message =
        boardCellName(puzzle, row, col, false) + QStringLiteral(", ") + foundText(puzzle);
    if (puzzle.Finished())
        message += QStringLiteral(". Puzzle solved in %1 and %2.")
                       .arg(clockText(puzzle.Elapsed(puzzle.EndTime())))
                       .arg(counted(puzzle.StepCount(), "step", "steps"));
    return message;
}

QString newGameMessage(const TPuzzle& puzzle) {
    return QStringLiteral("New game: %1.").arg(boardText(puzzle.FieldSize(), puzzle.FoxCount()));
}

QString gameNumbersMessage(const TPuzzle& puzzle, double now, bool showHints) {
    if (!puzzle.Started())
        return QStringLiteral("No game yet. The next one: %1.")
            .arg(boardText(puzzle.SetupSize(), puzzle.SetupFoxes()));
    return QStringLiteral("Time elapsed %1. %2. %3, %4. Board %5.")
        .arg(clockText(puzzle.Elapsed(now)), counted(puzzle.StepCount(), "step", "steps"),
             foundText(puzzle), mayHideFoxText(puzzle.MayHideFoxCount(showHints)),
             boardText(puzzle.FieldSize(), puzzle.FoxCount()));
}

QString linesMessage(const TPuzzle& puzzle, int row, int col, bool showHints) {
    if (!puzzle.Inside(row, col))
        return QStringLiteral("No current plate. The arrow keys or N choose one.");
    QStringList lines;
    for (const TLine line : AllLines) {
        const TPuzzle::TLineView view = puzzle.LineView(row, col, line, showHints);
        const QString places = view.MayHideFox.empty() ? QStringLiteral("no plate may hide a fox")
                                                       : QStringLiteral("may hide a fox at ") +
                                                             placesText(line, view.MayHideFox);
        const QString found = view.FoundFoxes == 0 ? QStringLiteral("no fox found")
                                                   : counted(view.FoundFoxes, "fox", "foxes") +
                                                         QStringLiteral(" found");
        lines << QStringLiteral("%1: %2; %3.").arg(lineName(line, row, col), places, found);
    }
    return lines.join(QLatin1Char(' '));
}

QString noPlateMayHideFoxMessage() {
    return QStringLiteral("No plate may hide a fox.");
}

TBoardReader::TBoardReader(QWidget* board, const TPuzzle& puzzle, std::function<bool()> showHints,
                           std::function<bool()> keyboardOnBoard)
    : QObject(board), board_(board), puzzle_(puzzle), showHints_(std::move(showHints)),
      keyboardOnBoard_(std::move(keyboardOnBoard)), listener_{&QAccessible::isActive,
                                                              [](QAccessibleEvent& event) {
                                                                  QAccessible::updateAccessibility(
                                                                      &event);
                                                              }} {
    setObjectName(ReaderName);
    static const bool installed = [] {
        QAccessible::installFactory(&makeBoardInterface);
        return true;
    }();
    (void)installed;
}

TBoardReader* TBoardReader::of(const QWidget* board) {
    return board ? board->findChild<TBoardReader*>(ReaderName, Qt::FindDirectChildrenOnly)
                 : nullptr;
}

void TBoardReader::setListener(TListener listener) {
    listener_ = std::move(listener);
    last_.valid = false;
}

void TBoardReader::sendCellEvent(int type, int row, int col) {
    QAccessibleEvent event(board_, static_cast<QAccessible::Event>(type));
    event.setChild((row - 1) * puzzle_.FieldSize() + col - 1);
    listener_.deliver(event);
}

QString TBoardReader::cellName(int row, int col) const {
    return boardCellName(puzzle_, row, col, showHints());
}

int TBoardReader::cellCode(int row, int col) const {
    // Everything a cell's name says: its state, the hint shown on a covered cell, the count.
    const int view = puzzle_.ViewState(row, col);
    const bool hint = view == vsCovered && showHints() && puzzle_.HintPlane()[row][col] == 1;
    const int seen = view == vsOpened ? puzzle_.GetN(row, col) : 0;
    return view | (hint ? 4 : 0) | (seen << 3);
}

void TBoardReader::takeSnapshot() {
    last_.valid = true;
    last_.size = puzzle_.FieldSize();
    for (int row = 1; row <= last_.size; ++row)
        for (int col = 1; col <= last_.size; ++col)
            last_.cells[cellSlot(row, col)] = cellCode(row, col);
}

void TBoardReader::announceChanges(CurrentCellNews currentCell) {
    if (!listener_.listening()) {
        // Whatever happens meanwhile is read afresh when a reader comes.
        last_.valid = false;
        return;
    }
    const int n = puzzle_.FieldSize();
    bool currentChanged = false;
    if (!last_.valid || last_.size != n) {
        if (last_.valid) {
            QAccessibleTableModelChangeEvent reset(board_,
                                                   QAccessibleTableModelChangeEvent::ModelReset);
            listener_.deliver(reset);
        }
        takeSnapshot();
        last_.row = last_.col = 0;
    } else {
        for (int row = 1; row <= n; ++row) {
            for (int col = 1; col <= n; ++col) {
                int& code = last_.cells[cellSlot(row, col)];
                const int now = cellCode(row, col);
                if (now == code)
                    continue;
                code = now;
                currentChanged =
                    currentChanged || (row == puzzle_.HotRow() && col == puzzle_.HotCol());
                sendCellEvent(QAccessible::NameChanged, row, col);
            }
        }
    }
    if (puzzle_.HotRow() != last_.row || puzzle_.HotCol() != last_.col)
        announceCurrentCell();
    else if (currentChanged && currentCell == CurrentCellNews::AsFocus)
        announceCurrentCellAnew();
}

void TBoardReader::announceCurrentCellAnew() {
    // A found fox is told by the window with the count, in one message: two at once would cut
    // each other off.
    if (puzzle_.ViewState(puzzle_.HotRow(), puzzle_.HotCol()) == vsFound)
        return;
    refocusCurrentCell();
}

void TBoardReader::repeatCurrentCell() {
    if (listener_.listening())
        refocusCurrentCell();
}

void TBoardReader::refocusCurrentCell() {
    const int row = puzzle_.HotRow();
    const int col = puzzle_.HotCol();
    if (!puzzle_.Inside(row, col) || !keyboardOnBoard())
        return;
    // Orca reads neither a name change of a list item nor a second focus on the object that
    // has it, so the cell to be read again (it changed, or a key asks for it) becomes a new
    // object that takes the focus; Orca then reads it as it reads a move.
    if (auto* table = dynamic_cast<BoardAccessible*>(QAccessible::queryAccessibleInterface(board_)))
        table->renewCell(row, col);
    sendCellEvent(QAccessible::Focus, row, col);
}

void TBoardReader::announceCurrentCellSoon() {
    if (announcePending_ || !listener_.listening())
        return;
    announcePending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            announcePending_ = false;
            announceCurrentCell();
        },
        Qt::QueuedConnection);
}

void TBoardReader::announceCurrentCell() {
    if (!listener_.listening())
        return;
    last_.row = puzzle_.HotRow();
    last_.col = puzzle_.HotCol();
    if (puzzle_.Inside(last_.row, last_.col) && keyboardOnBoard())
        sendCellEvent(QAccessible::Focus, last_.row, last_.col);
}

} // namespace tarnell
