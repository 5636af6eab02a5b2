// tarnell-renderframe: draws one frame of the field for a puzzle state given on the command
// line and writes it as a PNG. Run with --help for the options.
#include "core/Clock.h"
#include "core/Puzzle.h"
#include "mainwindow/FieldArea.h"
#include "platform/TimeOfDay.h"
#include "platform/drawing/Fonts.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTextStream>
#include <optional>
#include <random>
#include <vector>

namespace tarnell {

namespace {

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

class FixedClock : public TimeOfDaySource {
public:
    explicit FixedClock(double day) : day_(day) {}
    double Now() const override { return day_; }

private:
    double day_;
};

struct CellArg {
    int Row = 0;
    int Col = 0;
};

// "row,col" with whole numbers; nothing else.
std::optional<CellArg> parseCell(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*(-?\\d+)\\s*,\\s*(-?\\d+)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return CellArg{match.captured(1).toInt(), match.captured(2).toInt()};
}

std::optional<int> parseInt(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

int fail(const QString& message) {
    err() << "tarnell-renderframe: " << message << Qt::endl;
    return 2;
}

} // namespace

} // namespace tarnell

using namespace tarnell;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("tarnell-renderframe"));
    platform::resolveProgramFaces();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Draws one frame of the field for a puzzle state and writes it as a PNG.\n"
        "The puzzle is generated as the game does at the given millisecond of the day;\n"
        "then the clicks are made in order, then the pointer is put on the hot cell.\n"
        "Exit status: 0 written, 1 written but an image of the field is missing or of the\n"
        "wrong size, 2 nothing written (bad option or unwritable file)."));
    parser.addHelpOption();
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Field size, 3 to 10 (default 10)."),
                                        QStringLiteral("n"), QStringLiteral("10"));
    const QCommandLineOption foxesOption(
        QStringLiteral("foxes"), QStringLiteral("Foxes, 1 to a tenth of the cells (default 5)."),
        QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption seedOption(
        QStringLiteral("seed"),
        QStringLiteral("Millisecond of the day the puzzle is generated at (default 0)."),
        QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption emptyOption(
        QStringLiteral("empty"), QStringLiteral("Show the empty board of the start: no puzzle."));
    const QCommandLineOption clickOption(
        QStringLiteral("click"), QStringLiteral("Click the cell row,col (repeatable, in order)."),
        QStringLiteral("row,col"));
    const QCommandLineOption randomClicksOption(
        QStringLiteral("random-clicks"),
        QStringLiteral("After the clicks, click k covered cells chosen from the seed."),
        QStringLiteral("k"), QStringLiteral("0"));
    const QCommandLineOption hotOption(
        QStringLiteral("hot"),
        QStringLiteral("The cell under the pointer, row,col from 1; may lie beyond the last "
                       "row or column (default: the last click)."),
        QStringLiteral("row,col"));
    const QCommandLineOption hintsOption(QStringLiteral("hints"),
                                         QStringLiteral("Show hints: on or off (default on)."),
                                         QStringLiteral("on|off"), QStringLiteral("on"));
    const QCommandLineOption bufferOption(
        QStringLiteral("buffer"),
        QStringLiteral("Write the whole 546 x 280 back buffer, not only the 401 x 225 area."));
    const QCommandLineOption scaleOption(
        QStringLiteral("scale"), QStringLiteral("Enlarge by a whole factor, 1 to 8 (default 1)."),
        QStringLiteral("k"), QStringLiteral("1"));
    parser.addOptions({sizeOption, foxesOption, seedOption, emptyOption, clickOption,
                       randomClicksOption, hotOption, hintsOption, bufferOption, scaleOption});
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The PNG to write."));
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("give exactly one output file (see --help)"));
    const QString output = positional.first();

    const std::optional<int> size = parseInt(parser.value(sizeOption));
    if (!size || *size < MinFieldSize || *size > MaxFieldSize)
        return fail(QStringLiteral("--size must be a whole number from 3 to 10"));
    const std::optional<int> foxes = parseInt(parser.value(foxesOption));
    if (!foxes || *foxes < 1 || *foxes > MaxFoxes(*size))
        return fail(QStringLiteral("--foxes must be from 1 to %1 on a field of size %2")
                        .arg(MaxFoxes(*size))
                        .arg(*size));
    const std::optional<int> seed = parseInt(parser.value(seedOption));
    if (!seed || *seed < 0 || *seed >= 86400000)
        return fail(QStringLiteral("--seed must be a millisecond of the day, 0 to 86399999"));
    const std::optional<int> randomClicks = parseInt(parser.value(randomClicksOption));
    if (!randomClicks || *randomClicks < 0)
        return fail(QStringLiteral("--random-clicks must be a whole number, 0 or more"));
    const std::optional<int> scale = parseInt(parser.value(scaleOption));
    if (!scale || *scale < 1 || *scale > 8)
        return fail(QStringLiteral("--scale must be from 1 to 8"));
    const QString hints = parser.value(hintsOption).toLower();
    if (hints != QLatin1String("on") && hints != QLatin1String("off"))
        return fail(QStringLiteral("--hints must be on or off"));
    std::vector<CellArg> clicks;
    for (const QString& text : parser.values(clickOption)) {
        const std::optional<CellArg> cell = parseCell(text);
        if (!cell || cell->Row < 1 || cell->Row > *size || cell->Col < 1 || cell->Col > *size)
            return fail(QStringLiteral("--click %1: give row,col inside the field, 1 to %2")
                            .arg(text)
                            .arg(*size));
        clicks.push_back(*cell);
    }
    std::optional<CellArg> hot;
    if (parser.isSet(hotOption)) {
        hot = parseCell(parser.value(hotOption));
        if (!hot)
            return fail(QStringLiteral("--hot %1: give row,col").arg(parser.value(hotOption)));
    }
    const bool empty = parser.isSet(emptyOption);
    if (empty && (!clicks.empty() || *randomClicks > 0))
        return fail(QStringLiteral("--empty shows the board before any puzzle: no clicks"));

    platform::StdRandom random;
    const FixedClock clock(*seed / MillisecondsPerDay);
    TPuzzle puzzle(random, clock);
    puzzle.Reset(*size, *foxes);
    if (!empty)
        puzzle.NewPuzzle();
    for (const CellArg& cell : clicks)
        puzzle.OpenCell(cell.Row, cell.Col);
    std::mt19937 chooser(static_cast<uint32_t>(*seed) + 1u);
    for (int k = 0; k < *randomClicks && !puzzle.Finished(); ++k) {
        std::vector<CellArg> covered;
        for (int i = 1; i <= *size; ++i)
            for (int j = 1; j <= *size; ++j)
                if (puzzle.ViewPlane()[i][j] == vsCovered)
                    covered.push_back({i, j});
        if (covered.empty())
            break;
        const CellArg cell =
            covered[std::uniform_int_distribution<size_t>(0, covered.size() - 1)(chooser)];
        puzzle.OpenCell(cell.Row, cell.Col);
    }
    if (hot) {
        // Through the hit test, as the pointer would: the middle of the cell's diamond.
        const QPoint at = TFieldRenderer::cellOrigin(hot->Row, hot->Col) + QPoint(20, 11);
        puzzle.MouseMove(at.x(), at.y());
        if (puzzle.HotRow() != hot->Row || puzzle.HotCol() != hot->Col)
            return fail(
                QStringLiteral("--hot %1,%2 cannot be pointed at").arg(hot->Row).arg(hot->Col));
    }

    TFieldRenderer renderer(loadFieldImages());
    for (const QString& problem : renderer.imageProblems())
        err() << "tarnell-renderframe: " << problem << Qt::endl;
    renderer.drawFrame(puzzle, hints == QLatin1String("on"));

    QImage frame = parser.isSet(bufferOption)
                       ? renderer.backBuffer().copy()
                       : renderer.backBuffer().copy(0, 0, TFieldRenderer::AreaWidth,
                                                    TFieldRenderer::AreaHeight);
    if (*scale > 1)
        frame = frame.scaled(frame.size() * *scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!frame.save(output, "PNG"))
        return fail(QStringLiteral("could not write %1").arg(output));

    QTextStream out(stdout);
    out << output << ": field " << puzzle.FieldSize() << " x " << puzzle.FieldSize() << ", "
        << puzzle.FoundCount() << " of " << puzzle.FoxCount() << " foxes found, "
        << puzzle.StepCount() << " steps" << (puzzle.Finished() ? ", solved" : "")
        << ", pointer at " << puzzle.HotRow() << "," << puzzle.HotCol() << Qt::endl;
    // A frame drawn without all of its images is not the real picture.
    return renderer.imageProblems().isEmpty() ? 0 : 1;
}
