#include "SpokenNews.h"

#include "core/Clock.h"

#include <QStringList>

namespace tarnell {

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
    const bool many = items.size() > 1;
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

QString placeText(TCell cell) {
    return QStringLiteral("Row %1, column %2").arg(cell.Row).arg(cell.Col);
}

QString noGameYet() {
    return QStringLiteral("No game yet: Space or a click starts one.");
}

QString solvedText(const TPuzzle& puzzle) {
    return QStringLiteral("%1 and %2.")
        .arg(clockText(puzzle.Elapsed(puzzle.EndTime())))
        .arg(counted(puzzle.StepCount(), "step", "steps"));
}

QString newGameText(const TPuzzle& puzzle) {
    return QStringLiteral("New game: %1.").arg(boardText(puzzle.FieldSize(), puzzle.FoxCount()));
}

// Before the first game and after the last fox, the keys that look for foxes say so.
std::optional<QString> noGameToLookAt(const TPuzzle& puzzle) {
    if (!puzzle.Started())
        return noGameYet();
    if (puzzle.Finished())
        return QStringLiteral("The puzzle is solved in ") + solvedText(puzzle);
    return std::nullopt;
}

// What opening a plate found, news first: "2 seen.", "Fox found, 1 of 5.", and with the
// last fox "Puzzle solved in 00:21,7 and 9 steps."
QString openedText(const TGameChange& change, const TPuzzle& puzzle) {
    const TCell cell = change.opened;
    if (change.foundFox) {
        QString text =
            QStringLiteral("Fox found, %1 of %2.").arg(puzzle.FoundCount()).arg(puzzle.FoxCount());
        if (change.solved)
            text += QStringLiteral(" Puzzle solved in ") + solvedText(puzzle);
        return text;
    }
    return QStringLiteral("%1 seen.").arg(puzzle.GetN(cell.Row, cell.Col));
}

std::optional<TSpoken> answer(const TGameChange& change, const TPuzzle& puzzle, bool showHints,
                              double now, const QString& last) {
    const int row = puzzle.HotRow();
    const int col = puzzle.HotCol();
    switch (change.question) {
    case TQuestion::Lines:
        if (const auto none = noGameToLookAt(puzzle))
            return TSpoken{*none};
        return TSpoken{linesMessage(puzzle, row, col, showHints)};
    case TQuestion::Numbers:
        if (!puzzle.Started())
            return TSpoken{noGameYet() +
                           QStringLiteral(" The next one: %1.")
                               .arg(boardText(puzzle.SetupSize(), puzzle.SetupFoxes()))};
        if (puzzle.Finished())
            return TSpoken{
                *noGameToLookAt(puzzle) +
                QStringLiteral(" Board %1.").arg(boardText(puzzle.FieldSize(), puzzle.FoxCount()))};
        return TSpoken{gameNumbersMessage(puzzle, now, showHints)};
    case TQuestion::CurrentCell:
        if (!puzzle.Inside(row, col))
            return TSpoken{QStringLiteral("No current plate. The arrow keys or N choose one.")};
        return TSpoken{boardCellName(puzzle, row, col, showHints) + QLatin1Char('.')};
    case TQuestion::Repeat:
        return TSpoken{last.isEmpty() ? QStringLiteral("Nothing said yet.") : last};
    }
    return std::nullopt;
}

} // namespace

QString boardCellName(const TPuzzle& puzzle, int row, int col, bool showHints) {
    const QString place = placeText(TCell{row, col}) + QStringLiteral(": ");
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

QString gameNumbersMessage(const TPuzzle& puzzle, double now, bool showHints) {
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

std::optional<TSpoken> spokenNews(const TGameChange& change, const TPuzzle& puzzle, bool showHints,
                                  double now, bool keyboardOnBoard, const QString& last) {
    const TCell current{puzzle.HotRow(), puzzle.HotCol()};
    const bool onField = puzzle.Inside(current.Row, current.Col);
    // A plate reached is said as its name, as the board's reader names it.
    const auto reached = [&]() -> std::optional<TSpoken> {
        if (!onField || !change.currentMoved(puzzle))
            return std::nullopt;
        return TSpoken{boardCellName(puzzle, current.Row, current.Col, showHints), TVenue::Board,
                       true};
    };
    switch (change.action) {
    case TAction::Move:
    case TAction::Point:
        return reached();
    case TAction::Jump:
        // A jump that stays says the plate again.
        if (change.stayed && onField)
            return TSpoken{boardCellName(puzzle, current.Row, current.Col, showHints) +
                               QLatin1Char('.'),
                           TVenue::Board};
        return reached();
    case TAction::NextMayHideFox:
        if (const auto none = noGameToLookAt(puzzle))
            return TSpoken{*none};
        if (change.noneMayHideFox)
            return TSpoken{QStringLiteral("No plate may hide a fox.")};
        // N lands only on covered plates that may hide a fox: the place is the news, row first
        // as everywhere, in the fewest words ("3, 4.").
        return TSpoken{QStringLiteral("%1, %2.").arg(current.Row).arg(current.Col), TVenue::Board};
    case TAction::Open: {
        if (!change.step && !change.newGame)
            return std::nullopt;
        QStringList parts;
        if (change.newGame)
            parts << newGameText(puzzle);
        if (!puzzle.Inside(change.opened.Row, change.opened.Col))
            return TSpoken{parts.join(QLatin1Char(' '))};
        parts << openedText(change, puzzle);
        // The place only where it was not just named: the plate the keyboard was on.
        if (change.newGame || change.opened != change.previous || !keyboardOnBoard)
            parts << placeText(change.opened) + QLatin1Char('.');
        return TSpoken{parts.join(QLatin1Char(' '))};
    }
    case TAction::Setup:
        if (change.setupSizeChanged)
            return TSpoken{QStringLiteral("Next game: %1.")
                               .arg(boardText(puzzle.SetupSize(), puzzle.SetupFoxes()))};
        return TSpoken{
            QStringLiteral("Next game: %1.").arg(counted(puzzle.SetupFoxes(), "fox", "foxes"))};
    case TAction::NewGame:
        return TSpoken{newGameText(puzzle)};
    case TAction::Hints:
        return std::nullopt;
    case TAction::Ask:
        return answer(change, puzzle, showHints, now, last);
    }
    return std::nullopt;
}

} // namespace tarnell
