// The hall of fame never loses or half-writes its file: every write, flush, close and
// rename of a store is made to fail or crash in turn; a damaged file is kept aside; the
// dialogs' reading never writes; every failure is told to the player.
#include "FameFileBytes.h"
#include "FameFileFaults.h"
#include "halloffame/HallOfFame.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tarnell {

namespace {

using halloffame::FameDecisions;
using halloffame::FameOpenMode;
using halloffame::FameOperation;
using halloffame::FaultyFameFileSystem;
using halloffame::HallOfFame;
using halloffametest::fileExists;
using halloffametest::readFile;
using halloffametest::writeFile;

constexpr char FileName[] = "h_fame.dat";
constexpr char NewFileName[] = "h_fame2.dat";
constexpr char AsideName[] = "h_fame.dat.damaged";

// A record with whole seconds: size, foxes, time, steps, flags and a short name.
QByteArray record(int size, int foxes, int seconds, int steps, char timeFlag, char stepsFlag,
                  const QByteArray& name) {
    return halloffametest::encode(
        {size, foxes, seconds * 1000 / 86400000.0, steps, timeFlag, stepsFlag, name});
}

TPuzzleResult result(int size, int foxes, int seconds, int steps) {
    return halloffametest::solvedPuzzle(size, foxes, seconds, steps);
}

const QByteArray OldRecords = record(5, 2, 20, 9, 1, 0, "Ann") + record(8, 5, 35, 30, 1, 0, "Bob") +
                              record(8, 5, 50, 22, 0, 1, "Cy") +
                              record(10, 9, 300, 60, 0, 1, "Dee");
// The game that beats both of Bob's and Cy's results.
const TPuzzleResult Winner = result(8, 5, 31, 21);
const FameDecisions Both{true, true};
const QByteArray NewRecords = record(5, 2, 20, 9, 1, 0, "Ann") +
                              record(10, 9, 300, 60, 0, 1, "Dee") +
                              record(8, 5, 31, 21, 1, 0, "Eve") + record(8, 5, 31, 21, 0, 1, "Eve");

class HallOfFameSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {FileName, NewFileName, AsideName, "h_fame.dat.damaged.2"})
            QFile::remove(QString::fromLatin1(name));
    }
};

// The outcome says nothing to the player.
template <typename Value> bool quiet(const halloffame::FameOutcome<Value>& outcome) {
    return outcome.succeeded() && outcome.message().isEmpty();
}

// Runs one store with the k-th operation of a kind failing or crashing, for every k that
// a clean store reaches, and checks that "h_fame.dat" holds exactly the old or the new
// records and that a failure was told.
void runEveryFault(const QByteArray& oldBytes, const QByteArray& newBytes,
                   const std::function<void()>& checkAfterFailure,
                   const std::function<void()>& checkAfterCrash) {
    FaultyFameFileSystem faulty(halloffame::diskFileSystem());
    writeFile(FileName, oldBytes);
    ASSERT_TRUE(HallOfFame(faulty).store(Winner, Both, QStringLiteral("Eve")));
    std::vector<std::pair<FameOperation, int>> counts;
    for (FameOperation operation :
         {FameOperation::Open, FameOperation::Read, FameOperation::Write, FameOperation::Flush,
          FameOperation::Close, FameOperation::Length, FameOperation::Permissions,
          FameOperation::Rename}) {
        counts.emplace_back(operation, faulty.count(operation));
        if (operation != FameOperation::Read) {
            ASSERT_GT(faulty.count(operation), 0) << static_cast<int>(operation);
        }
    }
    for (const auto& [operation, count] : counts) {
        for (int k = 1; k <= count; ++k) {
            for (auto fault :
                 {FaultyFameFileSystem::Fault::Fail, FaultyFameFileSystem::Fault::Crash}) {
                SCOPED_TRACE(testing::Message()
                             << "operation " << static_cast<int>(operation) << " number " << k
                             << " fault " << static_cast<int>(fault));
                QFile::remove(QString::fromLatin1(FileName));
                QFile::remove(QString::fromLatin1(AsideName));
                writeFile(FileName, oldBytes);
                faulty.reset();
                faulty.injectAt(operation, k, fault);
                if (fault == FaultyFameFileSystem::Fault::Fail) {
                    const halloffame::FameStatus stored =
                        HallOfFame(faulty).store(Winner, Both, QStringLiteral("Eve"));
                    EXPECT_FALSE(stored);
                    EXPECT_TRUE(stored.message().contains(QStringLiteral("injected failure")));
                    EXPECT_TRUE(stored.message().contains(QStringLiteral("h_fame")));
                    EXPECT_FALSE(fileExists(NewFileName));
                    checkAfterFailure();
                } else {
                    EXPECT_THROW(HallOfFame(faulty).store(Winner, Both, QStringLiteral("Eve")),
                                 halloffame::SimulatedCrash);
                    checkAfterCrash();
                    // The next run stores normally, whatever the crash left behind.
                    if (!fileExists(FileName) || readFile(FileName) != newBytes) {
                        HallOfFame fresh;
                        const auto best = fresh.lookUp(8, 5);
                        ASSERT_TRUE(best);
                        const FameDecisions again = halloffame::decide(*best, Winner);
                        EXPECT_EQ(again, Both);
                        EXPECT_TRUE(fresh.store(Winner, again, QStringLiteral("Eve")));
                        EXPECT_EQ(readFile(FileName), newBytes);
                    }
                }
            }
        }
    }
}

TEST_F(HallOfFameSafetyTest, EveryFailingOperationLeavesTheOldFileAndTellsThePlayer) {
    runEveryFault(
        OldRecords, NewRecords, [] { EXPECT_EQ(readFile(FileName), OldRecords); },
        [] {
            const QByteArray now = readFile(FileName);
            EXPECT_TRUE(now == OldRecords || now == NewRecords);
        });
}

TEST_F(HallOfFameSafetyTest, EveryFailingOperationKeepsADamagedFileSomewhere) {
    const QByteArray damaged = OldRecords.left(100);
    const QByteArray newFromNothing =
        record(8, 5, 31, 21, 1, 0, "Eve") + record(8, 5, 31, 21, 0, 1, "Eve");
    runEveryFault(
        damaged, newFromNothing,
        [&] {
            EXPECT_EQ(readFile(FileName), damaged);
            EXPECT_FALSE(fileExists(AsideName));
        },
        [&] {
            // Either untouched, or kept aside with the new file in place or not yet there.
            if (fileExists(AsideName)) {
                EXPECT_EQ(readFile(AsideName), damaged);
                if (fileExists(FileName)) {
                    EXPECT_EQ(readFile(FileName), newFromNothing);
                }
            } else {
                EXPECT_EQ(readFile(FileName), damaged);
            }
        });
}

// The rewrite is complete without faults; a link left in the place of the new file must not
// lead it into another file.
TEST_F(HallOfFameSafetyTest, TheRewriteIsCompleteAndALinkInThePlaceOfTheNewFileLeavesItsTarget) {
    const QByteArray precious("someone else's file, not records\n");
    for (const std::string link : {"no link", "symbolic link", "hard link"}) {
        SCOPED_TRACE(link);
        SetUp();
        QFile::remove(QStringLiteral("precious.txt"));
        writeFile("precious.txt", precious);
        writeFile(FileName, OldRecords);
        if (link != "no link") {
            ASSERT_EQ(link == "symbolic link" ? ::symlink("precious.txt", NewFileName)
                                              : ::link("precious.txt", NewFileName),
                      0);
        }
        const halloffame::FameStatus stored =
            HallOfFame().store(Winner, Both, QStringLiteral("Eve"));
        EXPECT_TRUE(quiet(stored)) << stored.message().toStdString();
        EXPECT_EQ(readFile("precious.txt"), precious);
        EXPECT_FALSE(QFileInfo(QString::fromLatin1(FileName)).isSymLink());
        EXPECT_EQ(readFile(FileName), NewRecords);
        EXPECT_FALSE(fileExists(NewFileName));
    }
}

TEST_F(HallOfFameSafetyTest, AFailedRenameIsToldAndTheOldFileStays) {
    writeFile(FileName, OldRecords);
    FaultyFameFileSystem faulty(halloffame::diskFileSystem());
    faulty.injectAt(FameOperation::Rename, 1);
    const halloffame::FameStatus stored =
        HallOfFame(faulty).store(Winner, Both, QStringLiteral("Eve"));
    EXPECT_FALSE(stored);
    EXPECT_EQ(readFile(FileName), OldRecords);
    EXPECT_TRUE(stored.message().contains(QStringLiteral("\"h_fame2.dat\"")))
        << stored.message().toStdString();
    EXPECT_TRUE(stored.message().contains(QStringLiteral("\"h_fame.dat\"")));
    EXPECT_TRUE(stored.message().contains(QStringLiteral("not stored")));
}

TEST_F(HallOfFameSafetyTest, AFileOfNoWholeRecordsShowsPlaceholdersAndIsKeptAside) {
    const QByteArray damaged = OldRecords.left(73);
    writeFile(FileName, damaged);
    HallOfFame fame;
    EXPECT_TRUE(quiet(fame.check()));
    const auto best = fame.lookUp(5, 2);
    ASSERT_TRUE(quiet(best));
    // The first 72 bytes would make a valid record for 5 x 5; it must not be read.
    EXPECT_FALSE(best->TimeRecord || best->StepsRecord);
    EXPECT_EQ(halloffame::timeLine(*best, 5, 2), QStringLiteral("Mr. Smith    00:10,0"));
    EXPECT_EQ(readFile(FileName), damaged);

    // A store without a new result keeps it as well, and says where.
    const halloffame::FameStatus stored = fame.store(result(5, 2, 90, 90), FameDecisions{}, {});
    EXPECT_TRUE(stored);
    EXPECT_EQ(readFile(AsideName), damaged);
    EXPECT_EQ(readFile(FileName), QByteArray());
    EXPECT_TRUE(stored.message().contains(QStringLiteral("\"h_fame.dat.damaged\"")))
        << stored.message().toStdString();
    EXPECT_TRUE(stored.message().contains(QStringLiteral("73 bytes")));

    // Told once: the next store finds a sound file.
    EXPECT_TRUE(
        quiet(fame.store(result(5, 2, 5, 5), FameDecisions{true, true}, QStringLiteral("Al"))));
    EXPECT_EQ(readFile(FileName).size(), 144);

    // A second damaged file does not take the place of the first one kept aside.
    writeFile(FileName, QByteArray("junk"));
    const halloffame::FameStatus again = fame.store(result(5, 2, 5, 5), FameDecisions{}, {});
    EXPECT_TRUE(again);
    EXPECT_EQ(readFile(AsideName), damaged);
    EXPECT_EQ(readFile("h_fame.dat.damaged.2"), QByteArray("junk"));
    EXPECT_TRUE(again.message().contains(QStringLiteral("\"h_fame.dat.damaged.2\"")));
}

// Wraps the real files and notes how each one is opened.
class RecordingFileSystem : public halloffame::FameFileSystem {
public:
    std::vector<std::pair<std::string, FameOpenMode>> opened_;
    int renames_ = 0;
    int removes_ = 0;
    bool exists(const std::string& name) override {
        return halloffame::diskFileSystem().exists(name);
    }
    std::unique_ptr<halloffame::FameFile> open(const std::string& name, FameOpenMode mode,
                                               std::string& error) override {
        opened_.emplace_back(name, mode);
        return halloffame::diskFileSystem().open(name, mode, error);
    }
    bool rename(const std::string& from, const std::string& to, std::string& error) override {
        ++renames_;
        return halloffame::diskFileSystem().rename(from, to, error);
    }
    bool remove(const std::string& name, std::string& error) override {
        ++removes_;
        return halloffame::diskFileSystem().remove(name, error);
    }
    bool mayWrite(const std::string& name, std::string& error) override {
        return halloffame::diskFileSystem().mayWrite(name, error);
    }
};

TEST_F(HallOfFameSafetyTest, CheckAndLookUpOpenTheFileForReadingOnlyAndShowAReadOnlyOne) {
    RecordingFileSystem files;
    HallOfFame fame(files);
    // Missing: created once, and read only from then on.
    ASSERT_TRUE(fame.check());
    ASSERT_TRUE(fame.lookUp(8, 5));
    // A read-only file can still be shown.
    writeFile(FileName, OldRecords);
    QFile::setPermissions(QString::fromLatin1(FileName), QFile::ReadOwner);
    ASSERT_TRUE(fame.check());
    const auto best = fame.lookUp(8, 5);
    QFile::setPermissions(QString::fromLatin1(FileName), QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(quiet(best) && best->TimeRecord && best->StepsRecord);
    EXPECT_EQ(halloffame::timeLine(*best, 8, 5), QStringLiteral("Bob  00:35,0"));
    EXPECT_EQ(halloffame::stepsLine(*best, 8, 5), QStringLiteral("Cy  22 steps"));
    ASSERT_FALSE(files.opened_.empty());
    EXPECT_EQ(files.opened_.front(),
              std::make_pair(std::string(FileName), FameOpenMode::CreateIfMissing));
    for (size_t i = 1; i < files.opened_.size(); ++i)
        EXPECT_EQ(files.opened_[i], std::make_pair(std::string(FileName), FameOpenMode::Read)) << i;
    EXPECT_EQ(files.renames_, 0);
    EXPECT_EQ(files.removes_, 0);
    EXPECT_EQ(readFile(FileName), OldRecords);
}

// The permission bits of a file.
unsigned modeOf(const char* name) {
    struct stat status {};
    EXPECT_EQ(::stat(name, &status), 0);
    return status.st_mode & 0777u;
}

// The store keeps the permission bits of the file it rewrites, and stops where they protect
// it. The player's protection holds for every user, root included: the store looks at the
// mode itself instead of relying on the system to refuse the write. A write bit for the group
// or the others is no protection: whether the store may go on is the system's answer for the
// running user. Root may write such a file; its owner may not.
TEST_F(HallOfFameSafetyTest, TheStoreKeepsThePermissionBitsAndHonoursTheProtection) {
    enum class Kind { Protected, Rewritten, ForTheSystemToSay };
    using enum Kind;
    // clang-format off
    const std::pair<unsigned, Kind> modes[] = {
        {0444u, Protected}, {0400u, Protected}, {0640u, Rewritten}, {0604u, Rewritten},
        {0666u, Rewritten}, {0460u, ForTheSystemToSay}, {0406u, ForTheSystemToSay},
        {0442u, ForTheSystemToSay}, {0020u, ForTheSystemToSay}};
    // clang-format on
    for (const auto& [mode, kind] : modes) {
        SCOPED_TRACE(mode);
        writeFile(FileName, OldRecords);
        ASSERT_EQ(::chmod(FileName, mode), 0);
        const halloffame::FameStatus stored =
            HallOfFame().store(Winner, Both, QStringLiteral("Eve"));
        EXPECT_EQ(modeOf(FileName), mode);
        ASSERT_EQ(::chmod(FileName, 0600), 0);
        if (kind == Rewritten || (kind == ForTheSystemToSay && ::geteuid() == 0)) {
            EXPECT_TRUE(quiet(stored)) << stored.message().toStdString();
            EXPECT_EQ(readFile(FileName), NewRecords);
        } else {
            EXPECT_FALSE(stored);
            EXPECT_EQ(readFile(FileName), OldRecords);
        }
        if (kind == Protected) {
            EXPECT_EQ(stored.message(), QStringLiteral("Could not write the hall of fame file "
                                                       "\"h_fame.dat\": it is write-protected. "
                                                       "Your result was not stored."));
        } else {
            EXPECT_FALSE(stored.message().contains(QStringLiteral("write-protected")))
                << stored.message().toStdString();
        }
        EXPECT_FALSE(fileExists(NewFileName));
        QFile::remove(QString::fromLatin1(FileName));
    }
}

// The owner and the group of a file.
std::pair<unsigned, unsigned> ownersOf(const char* name) {
    struct stat status {};
    EXPECT_EQ(::stat(name, &status), 0);
    return {status.st_uid, status.st_gid};
}

// The super-user playing in a player's folder leaves the player's file to the player.
TEST_F(HallOfFameSafetyTest, TheRewrittenFileKeepsItsOwnerAndGroupWhereTheUserMayGiveThem) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super-user may give a file to another owner";
    writeFile(FileName, OldRecords);
    if (::chown(FileName, 65534, 65533) != 0)
        GTEST_SKIP() << "the system gives no file to another owner";
    ASSERT_EQ(::chmod(FileName, 0640), 0);
    EXPECT_TRUE(quiet(HallOfFame().store(Winner, Both, QStringLiteral("Eve"))));
    EXPECT_EQ(ownersOf(FileName), std::make_pair(65534u, 65533u));
    EXPECT_EQ(modeOf(FileName), 0640u);
    EXPECT_EQ(readFile(FileName), NewRecords);
}

// A store run by another user than the file's owner, of its own group and a member of
// another, in a folder everybody may write: the outcome's message, or "stored".
constexpr char NotThatUser[] = "could not become the user";
std::string storeAsUser(uid_t user, gid_t group, gid_t memberOf) {
    return testsupport::runAsAnotherUser(
               {user, group, memberOf},
               [] {
                   const halloffame::FameStatus stored =
                       HallOfFame().store(Winner, Both, QStringLiteral("Eve"));
                   return stored ? std::string("stored") : stored.message().toStdString();
               })
        .value_or(NotThatUser);
}

TEST_F(HallOfFameSafetyTest, AnotherUserMayStoreWhereTheGroupOrOthersBitsLetHim) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs the super-user";
    const QString shared = QDir::current().filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(::chmod(shared.toLocal8Bit().constData(), 0777), 0);
    // Back in the scratch working directory however the test ends.
    struct Leave {
        QString home = QDir::currentPath();
        QString shared;
        ~Leave() {
            QDir::setCurrent(home);
            QDir(shared).removeRecursively();
        }
    } leave{QDir::currentPath(), shared};
    ASSERT_TRUE(QDir::setCurrent(shared));
    constexpr uid_t Player = 65534;
    constexpr gid_t OwnGroup = 65533;
    constexpr gid_t Players = 65534; // the player is a member
    struct Case {
        unsigned mode;
        gid_t group; // the file's group; its owner is root
        bool stored;
    };
    for (const Case& c : {Case{0464, Players, true}, Case{0446, 0, true}, Case{0464, 0, false},
                          Case{0644, Players, false}}) {
        SCOPED_TRACE(testing::Message() << std::oct << c.mode << " group " << std::dec << c.group);
        writeFile(FileName, OldRecords);
        if (::chown(FileName, 0, c.group) != 0)
            GTEST_SKIP() << "the system gives no file to another group";
        ASSERT_EQ(::chmod(FileName, c.mode), 0);
        const std::string said = storeAsUser(Player, OwnGroup, Players);
        if (said == NotThatUser)
            GTEST_SKIP() << "the system does not let root act as another user";
        EXPECT_EQ(modeOf(FileName), c.mode);
        ASSERT_EQ(::chmod(FileName, 0600), 0);
        if (c.stored) {
            EXPECT_EQ(said, "stored");
            EXPECT_EQ(readFile(FileName), NewRecords);
            // Shared through its group, the file stays the group's for its other members.
            if (c.group == Players) {
                EXPECT_EQ(ownersOf(FileName), std::make_pair(unsigned{Player}, unsigned{Players}));
            }
        } else {
            EXPECT_EQ(said, "Could not write the hall of fame file \"h_fame.dat\": Permission "
                            "denied. Your result was not stored.");
            EXPECT_EQ(readFile(FileName), OldRecords);
        }
        EXPECT_FALSE(fileExists(NewFileName));
        QFile::remove(QString::fromLatin1(FileName));
    }
}

TEST_F(HallOfFameSafetyTest, FailuresWhileReadingAreToldAndStopTheLookUp) {
    FaultyFameFileSystem faulty(halloffame::diskFileSystem());
    // Creating the missing file fails.
    faulty.injectAt(FameOperation::Open, 1);
    const halloffame::FameStatus checked = HallOfFame(faulty).check();
    EXPECT_FALSE(checked);
    EXPECT_FALSE(fileExists(FileName));
    EXPECT_EQ(checked.message(),
              QStringLiteral("Could not create the hall of fame file \"h_fame.dat\": "
                             "injected failure."));
    writeFile(FileName, OldRecords);
    for (FameOperation operation :
         {FameOperation::Open, FameOperation::Length, FameOperation::Read, FameOperation::Close}) {
        for (int k = 1; k <= 3; ++k) {
            faulty.reset();
            faulty.injectAt(operation, k);
            const auto best = HallOfFame(faulty).lookUp(8, 5);
            if (faulty.count(operation) < k) {
                EXPECT_TRUE(quiet(best));
                continue;
            }
            EXPECT_FALSE(best) << static_cast<int>(operation) << " " << k;
            EXPECT_TRUE(best.message().contains(QStringLiteral("\"h_fame.dat\": injected failure")))
                << best.message().toStdString();
        }
    }
    EXPECT_EQ(readFile(FileName), OldRecords);
}

TEST_F(HallOfFameSafetyTest, AFileThatShrinksWhileReadIsAReadFailure) {
    // A 144-byte length with only 100 bytes behind it, as a file cut by another program.
    class ShortFile : public halloffame::FameFile {
    public:
        bool read(char* buffer, std::size_t size, std::size_t& got, std::string&) override {
            got = std::min(size, left_);
            std::memset(buffer, 0, got);
            left_ -= got;
            return true;
        }
        bool write(const char*, std::size_t, std::string&) override { return false; }
        bool flush(std::string&) override { return true; }
        bool close(std::string&) override { return true; }
        bool length(std::int64_t& bytes, std::string&) override {
            bytes = 144;
            return true;
        }
        bool permissions(halloffame::FameAccess& access, std::string&) override {
            access.Bits = 0644;
            return true;
        }
        bool setPermissions(const halloffame::FameAccess&, std::string&) override { return true; }

    private:
        std::size_t left_ = 100;
    };
    class ShrinkingFiles : public RecordingFileSystem {
    public:
        std::unique_ptr<halloffame::FameFile> open(const std::string& name, FameOpenMode mode,
                                                   std::string& error) override {
            if (name == FileName && mode == FameOpenMode::Read)
                return std::make_unique<ShortFile>();
            return RecordingFileSystem::open(name, mode, error);
        }
    } files;
    writeFile(FileName, OldRecords);
    const auto best = HallOfFame(files).lookUp(8, 5);
    EXPECT_FALSE(best);
    EXPECT_TRUE(best.message().contains(QStringLiteral("Could not read")))
        << best.message().toStdString();
    const halloffame::FameStatus stored =
        HallOfFame(files).store(Winner, Both, QStringLiteral("Eve"));
    EXPECT_FALSE(stored);
    EXPECT_TRUE(stored.message().contains(QStringLiteral("Could not read")));
    EXPECT_EQ(readFile(FileName), OldRecords);
    EXPECT_FALSE(fileExists(NewFileName));
}

} // namespace

} // namespace tarnell
