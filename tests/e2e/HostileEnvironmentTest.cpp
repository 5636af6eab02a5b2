// The real program in a hostile environment: a folder where the hall-of-fame file should
// be, a working directory that refuses new files, a full disk, a settings file full of
// garbage, a home folder that does not exist, a machine without the windows' face. The program
// keeps running, says in a message box what it cannot do where the player loses something, and
// leaves what it could not replace as it was.
#include "XSession.h"
#include "tests/support/FieldGeometry.h"
#include "tests/support/PlateColours.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QtEndian>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tarnell {

namespace {

const QString MainTitle = QStringLiteral("Tarnell");
const QString SolvedTitle = QStringLiteral("Congradulations!");
const QPoint FieldInWindow = testsupport::inwindow::Field.topLeft();
// A point of the field area off the board: the pointer there marks no plate.
const QPoint OffBoardInWindow = FieldInWindow + QPoint(5, 5);
// The OK button of the puzzle-solved dialog: (136, 190) on the panel at (48, 32), 97 x 25.
const QPoint SolvedOkInDialog(48 + 136 + 48, 32 + 190 + 12);

using testsupport::cellCentre;

using testsupport::isPlainPlate;

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// One 72-byte hall-of-fame record: size, foxes, time in days, steps, two flags, the name.
QByteArray record(qint32 size, qint32 foxes, double days, qint32 steps, bool timeFlag,
                  bool stepsFlag, const QByteArray& name) {
    QByteArray bytes(72, ' ');
    qToLittleEndian(size, bytes.data());
    qToLittleEndian(foxes, bytes.data() + 4);
    qToLittleEndian(days, bytes.data() + 8);
    qToLittleEndian(steps, bytes.data() + 16);
    bytes[20] = timeFlag ? 1 : 0;
    bytes[21] = stepsFlag ? 1 : 0;
    bytes.replace(22, name.size(), name);
    return bytes;
}

// Small, fast puzzles: 3 x 3 with one fox.
const QByteArray SmallSetup = "[General]\nFin=3\nHints=1\nLim=1\n";

class HostileEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        QString missing;
        if (!e2e::XSession::toolsAvailable(&missing))
            GTEST_SKIP() << missing.toStdString() << " is not installed";
        ASSERT_TRUE(session_.startServer());
    }

    void TearDown() override {
        // The scratch folders must become removable again whatever the test did.
        if (!immutablePath_.isEmpty())
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), immutablePath_});
        // Lazily: a program that still runs there keeps it busy until it is killed.
        if (!mountedPath_.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), mountedPath_});
    }

    // Puts a file system of 64 KiB on the folder (root only); false when it cannot.
    bool mountSmallDisk(const QString& folder) {
        if (::geteuid() != 0 ||
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=64k"), QStringLiteral("tmpfs"), folder}) != 0)
            return false;
        mountedPath_ = folder;
        return true;
    }
    // Writes a file until the file system is full.
    static void fillUp(const QString& path) {
        QFile filler(path);
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, '\0');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

    // Makes a file or folder immutable (not even root may change, replace or add to it);
    // false when the file system or the user cannot.
    bool makeImmutable(const QString& path) {
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) != 0)
            return false;
        immutablePath_ = path;
        return true;
    }

    QString settingsPath(const QString& home) const {
        return home + QStringLiteral("/.config/Morvane/Tarnell.conf");
    }
    void writeSettings(const QByteArray& text) {
        ASSERT_TRUE(QDir().mkpath(session_.home() + QStringLiteral("/.config/Morvane")));
        ASSERT_TRUE(writeAll(settingsPath(session_.home()), text));
    }

    // Starts the program and waits for its main window and the first frame of the board.
    void start(const QStringList& environment = {}, const QString& errorLog = {}) {
        // A program that ends before it shows anything may not have reached the X server
        // (another user of the machine can take a display number at the wrong moment): it
        // is tried again on a new server, twice at most. A program that fails to start for
        // a reason of its own fails every time; one that runs without a window fails here.
        for (int attempt = 0; attempt < 3 && mainId_.isEmpty(); ++attempt) {
            if (attempt > 0) {
                ASSERT_TRUE(session_.startServer());
            }
            ASSERT_TRUE(session_.startProgram(environment, errorLog));
            mainId_ = session_.waitForWindow(MainTitle, 8000);
            if (session_.waitForExit(100) == -1)
                break; // still running
        }
        ASSERT_FALSE(mainId_.isEmpty()) << "the main window did not appear";
        window_ = session_.windowGeometry(mainId_);
        ASSERT_TRUE(waitFor([&] { return isPlainPlate(pixelAt(onField(1, 1))); }, 5000))
            << "the board was not drawn";
    }

    QPoint onField(int row, int col) const {
        return window_.topLeft() + FieldInWindow + cellCentre(row, col);
    }
    QRgb pixelAt(QPoint screenPos) {
        const QImage shot = session_.screenshot();
        return shot.valid(screenPos) ? shot.pixel(screenPos) : 0;
    }

    template <typename Condition> bool waitFor(Condition condition, int timeoutMs) {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > timeoutMs)
                return false;
            e2e::pause(100);
        }
        return true;
    }

    // Message boxes carry the program's name as their title, like the main window.
    QStringList messageBoxes() {
        QStringList boxes = session_.visibleWindows(MainTitle);
        boxes.removeAll(mainId_);
        return boxes;
    }
    QString waitForMessageBox(int timeoutMs = 5000) {
        QString box;
        waitFor(
            [&] {
                const QStringList boxes = messageBoxes();
                box = boxes.isEmpty() ? QString() : boxes.first();
                return !box.isEmpty();
            },
            timeoutMs);
        return box;
    }
    // Presses OK (the default button) of a message box and waits for it to go.
    void dismiss(const QString& box) {
        session_.run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), box});
        e2e::pause(150);
        session_.key(QStringLiteral("Return"));
        ASSERT_TRUE(waitFor([&] { return !messageBoxes().contains(box); }, 5000))
            << "the message box did not close on Return";
    }

    // Clicks the plain cells of the 3 x 3 board one by one until the last fox is found:
    // the puzzle-solved dialog or a message box about the hall of fame appears.
    void playToTheEnd() {
        for (int row = 1; row <= 3; ++row) {
            for (int col = 1; col <= 3; ++col) {
                session_.moveTo(window_.topLeft() + OffBoardInWindow);
                e2e::pause(150);
                if (!isPlainPlate(pixelAt(onField(row, col))))
                    continue; // opened, or proven fox-free by the hints
                session_.click(onField(row, col));
                session_.moveTo(window_.topLeft() + OffBoardInWindow);
                const bool moved = waitFor(
                    [&] {
                        return session_.windowExists(SolvedTitle) || !messageBoxes().isEmpty() ||
                               !isPlainPlate(pixelAt(onField(row, col)));
                    },
                    3000);
                ASSERT_TRUE(moved) << "the click on cell " << row << "," << col << " did nothing";
                if (session_.windowExists(SolvedTitle) || !messageBoxes().isEmpty())
                    return;
            }
        }
        ASSERT_TRUE(waitFor([&] { return session_.windowExists(SolvedTitle); }, 3000))
            << "every cell is open but the puzzle is not solved";
    }

    void pressSolvedOk() {
        const QString dialog = session_.waitForWindow(SolvedTitle, 5000);
        ASSERT_FALSE(dialog.isEmpty()) << "the puzzle-solved dialog is not shown";
        session_.click(session_.windowGeometry(dialog).topLeft() + SolvedOkInDialog);
    }

    // Ctrl+F3 on the main window; the program ends normally.
    void quit() {
        session_.run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), mainId_});
        e2e::pause(150);
        session_.key(QStringLiteral("ctrl+F3"));
        EXPECT_EQ(session_.waitForExit(10000), 0) << "the program did not end normally";
    }

    e2e::XSession session_;
    QString mainId_;
    QRect window_;
    QString immutablePath_;
    QString mountedPath_;
};

TEST_F(HostileEnvironment, AFolderNamedLikeTheHallOfFameIsReportedAndLeftAlone) {
    writeSettings(SmallSetup);
    const QString folder = session_.workDir() + QStringLiteral("/h_fame.dat");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(writeAll(folder + QStringLiteral("/keep.txt"), "not a hall of fame"));
    start();

    playToTheEnd();
    // Looking up the best result fails on the folder: said before the dialog shows.
    const QString lookUpBox = waitForMessageBox();
    ASSERT_FALSE(lookUpBox.isEmpty()) << "no message box about the hall-of-fame folder";
    dismiss(lookUpBox);
    pressSolvedOk();
    // Storing fails too; the dialog stays open so that nothing is lost silently.
    const QString storeBox = waitForMessageBox();
    ASSERT_FALSE(storeBox.isEmpty()) << "storing into the folder was not reported";
    dismiss(storeBox);
    EXPECT_TRUE(session_.windowExists(SolvedTitle));
    EXPECT_TRUE(session_.programRunning());

    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(readAll(folder + QStringLiteral("/keep.txt")), QByteArray("not a hall of fame"));
    EXPECT_FALSE(QFile::exists(session_.workDir() + QStringLiteral("/h_fame2.dat")))
        << "the abandoned new file was left behind";
    quit();
    // The set-up still reaches the settings on the way out.
    QSettings settings(settingsPath(session_.home()), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Fin")).toInt(), 3);
    EXPECT_EQ(settings.value(QStringLiteral("Lim")).toInt(), 1);
}

TEST_F(HostileEnvironment, AWorkingDirectoryThatTakesNoFilesIsReportedAtEveryStep) {
    writeSettings(SmallSetup);
    if (!makeImmutable(session_.workDir()))
        GTEST_SKIP() << "chattr +i is not available on " << session_.workDir().toStdString();
    start();

    playToTheEnd();
    // The dialog cannot even make the empty hall of fame to look the result up in...
    const QString lookUpBox = waitForMessageBox();
    ASSERT_FALSE(lookUpBox.isEmpty()) << "the hall of fame that cannot be made was not reported";
    dismiss(lookUpBox);
    // ...nor store the result.
    pressSolvedOk();
    const QString storeBox = waitForMessageBox();
    ASSERT_FALSE(storeBox.isEmpty()) << "the failed store was not reported";
    dismiss(storeBox);
    EXPECT_TRUE(session_.windowExists(SolvedTitle)) << "the dialog closed as if it had stored";
    EXPECT_TRUE(
        QDir(session_.workDir())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
            .isEmpty());
    quit();
}

// How the working directory refuses the new hall-of-fame file.
enum class Refusal {
    FolderInTheWay,  // "h_fame2.dat" is a folder: the new file cannot be created
    ImmutableFolder, // the working directory is immutable: nothing can be created, even by root
    ImmutableFile,   // "h_fame.dat" is immutable: the new file cannot take its place
    FullDisk         // the working directory's file system is full: the new file stays empty
};

class RefusingWorkingDirectory : public HostileEnvironment,
                                 public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusingWorkingDirectory, StoringIsReportedAndTheHallOfFameKeepsItsBytes) {
    writeSettings(SmallSetup);
    // A best of one step in a tenth of a second for 3 x 1 that no game can beat, and a
    // record of another pair.
    const QByteArray fame = record(3, 1, 0.1 / 86400, 1, true, true, "Keeper") +
                            record(8, 5, 42.0 / 86400, 20, true, true, "Other");
    const QString famePath = session_.workDir() + QStringLiteral("/h_fame.dat");
    if (GetParam() == Refusal::FullDisk && !mountSmallDisk(session_.workDir()))
        GTEST_SKIP() << "a small file system cannot be mounted here (needs root)";
    ASSERT_TRUE(writeAll(famePath, fame));
    switch (GetParam()) {
    case Refusal::FolderInTheWay:
        ASSERT_TRUE(QDir().mkpath(session_.workDir() + QStringLiteral("/h_fame2.dat")));
        break;
    case Refusal::ImmutableFolder: {
        if (!makeImmutable(session_.workDir()))
            GTEST_SKIP() << "chattr +i is not available on " << session_.workDir().toStdString();
        QFile probe(session_.workDir() + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly))
            GTEST_SKIP() << "the immutable folder still takes new files here";
        break;
    }
    case Refusal::ImmutableFile:
        if (!makeImmutable(famePath))
            GTEST_SKIP() << "chattr +i is not available on " << famePath.toStdString();
        break;
    case Refusal::FullDisk:
        fillUp(session_.workDir() + QStringLiteral("/filler"));
        break;
    }
    start();

    playToTheEnd();
    // The look-up only reads: no complaint, the dialog shows.
    ASSERT_FALSE(session_.waitForWindow(SolvedTitle, 5000).isEmpty());
    EXPECT_TRUE(messageBoxes().isEmpty());
    pressSolvedOk();
    const QString box = waitForMessageBox();
    ASSERT_FALSE(box.isEmpty()) << "the failed store was not reported";
    dismiss(box);
    EXPECT_TRUE(session_.windowExists(SolvedTitle)) << "the dialog closed as if it had stored";

    EXPECT_EQ(readAll(famePath), fame) << "the hall of fame changed";
    if (GetParam() == Refusal::FolderInTheWay)
        EXPECT_TRUE(QFileInfo(session_.workDir() + QStringLiteral("/h_fame2.dat")).isDir());
    else
        EXPECT_FALSE(QFile::exists(session_.workDir() + QStringLiteral("/h_fame2.dat")))
            << "the abandoned new file was left behind";
    quit();
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusingWorkingDirectory,
                         ::testing::Values(Refusal::FolderInTheWay, Refusal::ImmutableFolder,
                                           Refusal::ImmutableFile, Refusal::FullDisk),
                         [](const ::testing::TestParamInfo<Refusal>& info) {
                             switch (info.param) {
                             case Refusal::FolderInTheWay:
                                 return std::string("FolderInTheWay");
                             case Refusal::ImmutableFolder:
                                 return std::string("ImmutableFolder");
                             case Refusal::ImmutableFile:
                                 return std::string("ImmutableFile");
                             case Refusal::FullDisk:
                                 return std::string("FullDisk");
                             }
                             return std::string();
                         });

TEST_F(HostileEnvironment, AGarbageSettingsFileFallsBackToTheDefaultsAndIsRepaired) {
    // Binary noise, a line that looks like a setting with an impossible field size, and a
    // section header that never closes.
    static const char noise[] = "\x00\xff\xfe[Gen\x01\x02=\n=Fin=99\nFin=99\nLim=-7\n\x80\x81[[[\n";
    QByteArray garbage(noise, sizeof noise - 1);
    for (int i = 0; i < 512; ++i)
        garbage.append(static_cast<char>((i * 73 + 11) % 256));
    writeSettings(garbage);
    start();

    // The 8 x 8 board of the defaults, nothing beyond it, and no message: settings that
    // cannot be read fall back to their defaults silently.
    const QImage shot = session_.screenshot();
    EXPECT_TRUE(isPlainPlate(shot.pixel(onField(8, 8))));
    EXPECT_FALSE(isPlainPlate(shot.pixel(onField(9, 9))));
    e2e::pause(500);
    EXPECT_TRUE(messageBoxes().isEmpty());
    quit();

    // The file now holds the set-up in a readable form.
    QSettings settings(settingsPath(session_.home()), QSettings::IniFormat);
    EXPECT_EQ(settings.status(), QSettings::NoError);
    EXPECT_EQ(settings.value(QStringLiteral("Fin")).toInt(), 8);
    EXPECT_EQ(settings.value(QStringLiteral("Lim")).toInt(), 5);
    EXPECT_EQ(settings.value(QStringLiteral("Hints")).toInt(), 1);
}

TEST_F(HostileEnvironment, ASettingsFileThatIsAFolderIsLeftAloneAndTheDefaultsApply) {
    const QString folder = settingsPath(session_.home());
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(writeAll(folder + QStringLiteral("/keep.txt"), "mine"));
    start();
    const QImage shot = session_.screenshot();
    EXPECT_TRUE(isPlainPlate(shot.pixel(onField(8, 8))));
    EXPECT_FALSE(isPlainPlate(shot.pixel(onField(9, 9))));
    e2e::pause(500);
    EXPECT_TRUE(messageBoxes().isEmpty());
    quit();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(readAll(folder + QStringLiteral("/keep.txt")), QByteArray("mine"));
}

// A font configuration of the program's own that knows only the faces in these folders.
QString writeFontConfiguration(const QString& folder, const QStringList& fontFolders) {
    QString text = QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM "
                                  "\"urn:fontconfig:fonts.dtd\">\n<fontconfig>\n");
    for (const QString& fontFolder : fontFolders)
        text += QStringLiteral("  <dir>%1</dir>\n").arg(fontFolder);
    text += QStringLiteral("  <cachedir>%1/font-cache</cachedir>\n</fontconfig>\n").arg(folder);
    const QString path = folder + QStringLiteral("/fonts.conf");
    return writeAll(path, text.toUtf8()) ? path : QString();
}

// Where the face that stands in for the windows' own is missing, the text falls back to the
// next one (or to whatever the machine has), standard error says so once, not once for each
// window or size, and the game plays on: the about page and a dialog open with new sizes.
TEST_F(HostileEnvironment, AMachineWithoutTheWindowsFaceSaysSoOnceAndPlaysOn) {
    struct Machine {
        const char* what;
        QStringList fontFolders;
        QString warning;
    };
    const QString dejavu = QStringLiteral("/usr/share/fonts/truetype/dejavu");
    ASSERT_TRUE(QFileInfo::exists(dejavu + QStringLiteral("/DejaVuSans.ttf")))
        << "fonts-dejavu-core is part of the game's run set";
    const Machine machines[] = {
        {"DejaVu Sans only", {dejavu}, QStringLiteral("\"Liberation Sans\" is not installed")},
        {"no fonts at all",
         {session_.home() + QStringLiteral("/no-fonts")},
         QStringLiteral("Neither \"Liberation Sans\" nor \"DejaVu Sans\" is installed")},
    };
    for (const Machine& machine : machines) {
        SCOPED_TRACE(machine.what);
        const QString configuration = writeFontConfiguration(session_.home(), machine.fontFolders);
        ASSERT_FALSE(configuration.isEmpty());
        const QString errors = session_.home() + QStringLiteral("/errors.log");
        QFile::remove(errors);
        mainId_.clear();
        start({QStringLiteral("FONTCONFIG_FILE=") + configuration}, errors);
        // The about page draws its labels at 13 and 21 pixels; the confirmation dialog is a
        // window of its own.
        session_.key(QStringLiteral("ctrl+F2"));
        e2e::pause(500);
        session_.key(QStringLiteral("ctrl+F1"));
        session_.click(onField(1, 1));
        session_.moveTo(window_.topLeft() + OffBoardInWindow);
        ASSERT_TRUE(waitFor([&] { return !isPlainPlate(pixelAt(onField(1, 1))); }, 3000));
        session_.key(QStringLiteral("ctrl+n"));
        EXPECT_FALSE(session_.waitForWindow(QStringLiteral("Warning!"), 5000).isEmpty());
        session_.key(QStringLiteral("Escape"));
        quit();
        const QString log = QString::fromLocal8Bit(readAll(errors));
        EXPECT_EQ(log.count(machine.warning), 1) << log.toStdString();
        EXPECT_EQ(log.count(QStringLiteral("is not installed")) +
                      log.count(QStringLiteral("is installed (")),
                  1)
            << log.toStdString();
    }
}

TEST_F(HostileEnvironment, AMissingHomeFolderIsMadeForTheSettings) {
    const QString home = session_.home() + QStringLiteral("/not/there");
    ASSERT_FALSE(QFileInfo::exists(home));
    start({QStringLiteral("HOME=") + home, QStringLiteral("XDG_CONFIG_HOME=")});
    e2e::pause(500);
    EXPECT_TRUE(messageBoxes().isEmpty());
    quit();
    QSettings settings(settingsPath(home), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Fin")).toInt(), 8);
    EXPECT_EQ(settings.value(QStringLiteral("Lim")).toInt(), 5);
}

TEST_F(HostileEnvironment, AHomeFolderThatCannotExistStillLetsThePlayerPlay) {
    // Nothing can be made under /proc, not even by root.
    const QString home = QStringLiteral("/proc/tarnell-no-home-%1").arg(::getpid());
    start({QStringLiteral("HOME=") + home, QStringLiteral("XDG_CONFIG_HOME=")});
    e2e::pause(500);
    EXPECT_TRUE(messageBoxes().isEmpty()) << "settings that cannot be kept are not a message";
    // The game itself works: a click opens a cell.
    session_.click(onField(2, 2));
    session_.moveTo(window_.topLeft() + OffBoardInWindow);
    EXPECT_TRUE(waitFor([&] { return !isPlainPlate(pixelAt(onField(2, 2))); }, 3000));
    quit();
    EXPECT_FALSE(QFileInfo::exists(home));
}

} // namespace

} // namespace tarnell
