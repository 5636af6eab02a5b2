// The real program played under a private X server: the first frame, a whole game won by
// clicking every cell, the hall of fame it writes, the new-game question, and the settings
// saved on the way out.
#include "XSession.h"
#include "tests/support/FieldGeometry.h"
#include "tests/support/PlateColours.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

namespace {

const QSize Screen(1024, 768);
const QSize WindowSize(488, 376);
using testsupport::cellCentre;
namespace inwindow = testsupport::inwindow;

const QPoint FieldInWindow = inwindow::Field.topLeft();
const QPoint StartNewGame = testsupport::middle(inwindow::StartNewGame);
const QPoint HighScore = testsupport::middle(inwindow::HighScore);
const QPoint SizeUp = testsupport::middle(inwindow::SizeUp);
const QPoint FoxesUp = testsupport::middle(inwindow::FoxesUp);

QColor at(const QImage& shot, QPoint p) {
    return QColor(shot.pixel(p));
}
bool isGreen(const QColor& c) {
    return testsupport::isPlainPlate(c.rgb());
}
bool isAmber(const QColor& c) {
    return testsupport::isHighlightedPlate(c.rgb());
}
bool isCyan(const QColor& c) {
    return testsupport::isCurrentPlate(c.rgb());
}

struct Record {
    int size = 0, foxes = 0, steps = 0;
    double time = 0;
    bool timeFlag = false, stepsFlag = false;
    QString name;
};

// The hall-of-fame file: 72-byte little-endian records.
std::vector<Record> readHallOfFame(const QString& path) {
    QFile file(path);
    std::vector<Record> records;
    if (!file.open(QIODevice::ReadOnly))
        return records;
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.size() % 72, 0);
    for (qsizetype at = 0; at + 72 <= bytes.size(); at += 72) {
        const char* r = bytes.constData() + at;
        Record record;
        record.size = qFromLittleEndian<qint32>(r);
        record.foxes = qFromLittleEndian<qint32>(r + 4);
        record.time = qFromLittleEndian<double>(r + 8);
        record.steps = qFromLittleEndian<qint32>(r + 16);
        record.timeFlag = r[20] != 0;
        record.stepsFlag = r[21] != 0;
        record.name = QString::fromLatin1(r + 22, 50).trimmed();
        records.push_back(record);
    }
    return records;
}

class Game : public ::testing::Test {
protected:
    void SetUp() override {
        QString missing;
        if (!e2e::XSession::toolsAvailable(&missing))
            GTEST_SKIP() << missing.toStdString() << " is not installed";
        // A program that could not reach its server is tried again on a new one.
        QString id;
        for (int attempt = 0; attempt < 3 && id.isEmpty(); ++attempt) {
            session_ = std::make_unique<e2e::XSession>();
            if (!session_->startServer(Screen) || !session_->startProgram())
                continue;
            id = session_->waitForWindow(QStringLiteral("Tarnell"), 8000);
        }
        ASSERT_FALSE(id.isEmpty());
        window_ = session_->windowGeometry(id);
        e2e::pause(400); // the first frames
    }

    QPoint inWindow(QPoint p) const { return window_.topLeft() + p; }
    QPoint onField(int row, int col) const {
        return window_.topLeft() + FieldInWindow + cellCentre(row, col);
    }
    // Clicks a control of a dialog given in the dialog's coordinates.
    void clickInDialog(const QString& title, QPoint p) {
        const QString id = session_->waitForWindow(title);
        ASSERT_FALSE(id.isEmpty()) << title.toStdString();
        session_->click(session_->windowGeometry(id).topLeft() + p);
    }
    // Opens the high-score dialog, photographs its best-time line and closes it again.
    QImage bestTimeLine() {
        session_->click(inWindow(HighScore));
        const QString id = session_->waitForWindow(QStringLiteral("Highscore"));
        if (id.isEmpty())
            return {};
        e2e::pause(300);
        const QRect dialog = session_->windowGeometry(id);
        const QRect lineOnScreen(dialog.topLeft() + QPoint(48 + 48, 32 + 88), QSize(300, 16));
        // The line once the dialog has painted it: the same in two screenshots in a row.
        QImage line;
        session_->screenshotShowing([&](const QImage& shot) {
            const QImage now = shot.copy(lineOnScreen);
            const bool settled = now == line;
            line = now;
            return settled;
        });
        session_->click(dialog.topLeft() + QPoint(dialog.width() - 27, 12)); // its close button
        e2e::pause(300);
        EXPECT_FALSE(session_->windowExists(QStringLiteral("Highscore")));
        return line;
    }
    // Whether every cell of the 8 x 8 board shows, at offset from its centre, the colour
    // wanted for it.
    bool boardShows(const QImage& shot, QPoint offset,
                    const std::function<bool(int row, int col, const QColor&)>& wanted) const {
        for (int row = 1; row <= 8; ++row)
            for (int col = 1; col <= 8; ++col)
                if (!wanted(row, col, at(shot, onField(row, col) + offset)))
                    return false;
        return true;
    }
    void clickEveryCell() {
        for (int row = 1; row <= 8; ++row)
            for (int col = 1; col <= 8; ++col)
                session_->click(onField(row, col));
    }

    std::unique_ptr<e2e::XSession> session_;
    QRect window_;
};

TEST_F(Game, WindowAppearsCentredAndFramelessWithAnEmptyBoard) {
    EXPECT_EQ(window_,
              QRect(QPoint((Screen.width() - 488) / 2, (Screen.height() - 376) / 2), WindowSize));
    const QImage shot = session_->screenshotShowing([&](const QImage& s) {
        return boardShows(s, {}, [](int, int, const QColor& c) { return isGreen(c); });
    });
    ASSERT_FALSE(shot.isNull());
    // Nothing of a frame around the window: the screen's own black right beside it.
    EXPECT_EQ(at(shot, window_.topLeft() + QPoint(-1, 100)), QColor(0, 0, 0));
    EXPECT_EQ(at(shot, window_.topLeft() + QPoint(488, 100)), QColor(0, 0, 0));
    // The board's green plates, with the gradient beyond the board.
    for (int row = 1; row <= 8; ++row)
        for (int col = 1; col <= 8; ++col)
            EXPECT_TRUE(isGreen(at(shot, onField(row, col))))
                << row << "," << col << " " << at(shot, onField(row, col)).name().toStdString();
    const QColor beyond = at(shot, onField(9, 9));
    EXPECT_TRUE(beyond.red() == beyond.green() && beyond.green() == beyond.blue());
}

TEST_F(Game, ClickingEveryCellSolvesThePuzzleAndTheResultGoesIntoTheHallOfFame) {
    // The best time line of the high-score dialog before anything is stored.
    session_->click(onField(1, 1));
    const QImage before = bestTimeLine();
    ASSERT_FALSE(before.isNull());

    clickEveryCell();
    ASSERT_FALSE(session_->waitForWindow(QStringLiteral("Congradulations!")).isEmpty());
    // The empty hall of fame is beaten on time (under 8 x 5 seconds): the name box is shown.
    clickInDialog(QStringLiteral("Congradulations!"), QPoint(48 + 152 + 70, 32 + 160 + 8));
    session_->type(QStringLiteral("Tester"));
    clickInDialog(QStringLiteral("Congradulations!"), QPoint(48 + 136 + 48, 32 + 190 + 12));
    e2e::pause(500);
    EXPECT_FALSE(session_->windowExists(QStringLiteral("Congradulations!")));

    const std::vector<Record> records =
        readHallOfFame(QDir(session_->workDir()).filePath(QStringLiteral("h_fame.dat")));
    ASSERT_FALSE(records.empty());
    bool time = false;
    for (const Record& r : records) {
        EXPECT_EQ(r.size, 8);
        EXPECT_EQ(r.foxes, 5);
        EXPECT_EQ(r.name, QStringLiteral("Tester"));
        EXPECT_NE(r.timeFlag, r.stepsFlag); // one kind per record
        if (r.timeFlag) {
            time = true;
            EXPECT_GT(r.time, 0.0);
            EXPECT_LT(r.time * 86400, 40.0);
        }
        if (r.stepsFlag) { // only when fewer than 2 x (8 + 5) clicks counted
            EXPECT_LT(r.steps, 26);
        }
    }
    EXPECT_TRUE(time);

    // The high-score dialog now shows the stored best time instead of the placeholder.
    const QImage after = bestTimeLine();
    ASSERT_FALSE(after.isNull());
    EXPECT_NE(before, after);
}

TEST_F(Game, StartNewGameDuringAPuzzleAsksAndYesStartsANewOne) {
    session_->click(onField(4, 4));
    session_->click(onField(6, 2));
    // The field shows the move at its next tick.
    QImage shot = session_->screenshotShowing(
        [&](const QImage& s) { return isAmber(at(s, onField(4, 4) + QPoint(-12, 0))); });
    ASSERT_TRUE(isAmber(at(shot, onField(4, 4) + QPoint(-12, 0))));

    session_->click(inWindow(StartNewGame));
    ASSERT_FALSE(session_->waitForWindow(QStringLiteral("Warning!")).isEmpty());
    clickInDialog(QStringLiteral("Warning!"), QPoint(48 + 56 + 48, 32 + 44 + 12)); // "Yes"
    e2e::pause(500);
    EXPECT_FALSE(session_->windowExists(QStringLiteral("Warning!")));
    // Every cell is covered again; the last one clicked stays the current, cyan cell.
    const auto coveredAgain = [](int row, int col, const QColor& c) {
        return row == 6 && col == 2 ? isCyan(c) : isGreen(c);
    };
    shot = session_->screenshotShowing(
        [&](const QImage& s) { return boardShows(s, QPoint(-12, 0), coveredAgain); });
    for (int row = 1; row <= 8; ++row)
        for (int col = 1; col <= 8; ++col) {
            const QColor c = at(shot, onField(row, col) + QPoint(-12, 0));
            EXPECT_TRUE(coveredAgain(row, col, c))
                << row << "," << col << " " << c.name().toStdString();
        }
}

TEST_F(Game, CtrlF3SavesTheSetUpAndEndsTheProgram) {
    session_->click(inWindow(SizeUp));
    session_->click(inWindow(SizeUp));
    session_->click(inWindow(FoxesUp));
    session_->key(QStringLiteral("ctrl+F3"));
    EXPECT_EQ(session_->waitForExit(), 0);
    const QString path = session_->home() + QStringLiteral("/.config/Morvane/Tarnell.conf");
    ASSERT_TRUE(QFile::exists(path));
    QSettings settings(path, QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Fin")).toInt(), 10);
    EXPECT_EQ(settings.value(QStringLiteral("Lim")).toInt(), 6);
    EXPECT_EQ(settings.value(QStringLiteral("Hints")).toInt(), 1);
}

} // namespace

} // namespace tarnell
