#include "BoardAccessible.h"

#include "BoardKeys.h"
#include "FieldArea.h"
#include "GameSession.h"
#include "SpokenNews.h"
#include "core/Puzzle.h"
#include "widgets/SpokenItems.h"

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
    explicit BoardAccessible(QWidget* board)
        : QAccessibleWidget(board, QAccessible::List), spoken_([this] { return this; }) {}
    ~BoardAccessible() override {
        for (QAccessible::Id id : cellIds_)
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }
    BoardAccessible(const BoardAccessible&) = delete;
    BoardAccessible& operator=(const BoardAccessible&) = delete;

    QWidget* board() const { return widget(); }
    const TBoardReader* reader() const { return TBoardReader::of(widget()); }
    int size() const { return reader() ? reader()->puzzle().FieldSize() : 0; }

    // The cell at (row, col), counted from 1; null outside the field.
    QAccessibleInterface* cell(int row, int col) const;
    // The messages said at the current cell: a plate of their own after the board's cells.
    TSpokenItems& spoken() { return spoken_; }

    // --- QAccessibleInterface ---
    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("Board");
        if (type == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return boardKeysHelp();
        return QAccessibleWidget::text(type);
    }
    // The plate of the last message answers to its index after the cells but is not counted: a
    // reader entering the board says how many plates it has.
    int childCount() const override { return size() * size(); }
    QAccessibleInterface* child(int index) const override {
        const int n = size();
        if (index == n * n)
            return spoken_.current();
        if (index < 0 || index > n * n)
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
    TSpokenItems spoken_;
};

// One plate of the board, named by its place and what it shows.
class BoardCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    BoardCellAccessible(const BoardAccessible* table, int row, int col)
        : table_(table), row_(row), col_(col) {}

    int row() const { return row_; }
    int col() const { return col_; }

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
        state.invisible = !table_->board()->isVisible();
        state.focused = board->keyboardOnBoard() && board->puzzle().HotRow() == row_ &&
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
};

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
    if (child != nullptr && child == spoken_.current())
        return size() * size();
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
}

void TBoardReader::sendCellEvent(int type, int row, int col) {
    QAccessibleEvent event(board_, static_cast<QAccessible::Event>(type));
    event.setChild((row - 1) * puzzle_.FieldSize() + col - 1);
    listener_.deliver(event);
}

QString TBoardReader::cellName(int row, int col) const {
    return boardCellName(puzzle_, row, col, showHints());
}

void TBoardReader::follow(const TGameChange& change) {
    if (!listener_.listening())
        return;
    if (change.resized) {
        QAccessibleTableModelChangeEvent reset(board_,
                                               QAccessibleTableModelChangeEvent::ModelReset);
        listener_.deliver(reset);
        return;
    }
    for (const TCell cell : change.cells)
        sendCellEvent(QAccessible::NameChanged, cell.Row, cell.Col);
}

bool TBoardReader::tell(const TGameChange& change, const std::optional<TSpoken>& news) {
    follow(change);
    if (!news)
        return true;
    if (!news->asPlate)
        return say(news->text);
    announceCurrentCell();
    return true;
}

bool TBoardReader::say(const QString& text) {
    if (!listener_.listening() || !keyboardOnCurrentCell())
        return false;
    // A message said at the current cell is a plate of its own there that takes the focus,
    // which a screen reader reads as it reads a move.
    auto* table = dynamic_cast<BoardAccessible*>(QAccessible::queryAccessibleInterface(board_));
    if (table == nullptr)
        return false;
    const QRect place(
        board_->mapToGlobal(TFieldRenderer::cellOrigin(puzzle_.HotRow(), puzzle_.HotCol())),
        CellBox);
    QAccessibleEvent event(table->spoken().say(text, place), QAccessible::Focus);
    listener_.deliver(event);
    return true;
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
    if (!listener_.listening() || !keyboardOnCurrentCell())
        return;
    // The board's own cell takes the focus again: the plate of the last message leaves.
    if (auto* table = dynamic_cast<BoardAccessible*>(QAccessible::queryAccessibleInterface(board_)))
        table->spoken().clear();
    sendCellEvent(QAccessible::Focus, puzzle_.HotRow(), puzzle_.HotCol());
}

} // namespace tarnell
