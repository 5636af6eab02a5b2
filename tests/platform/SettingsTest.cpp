// The per-user settings store: round trip through the INI file in the scratch HOME,
// values of the wrong type, a garbage file and a store that cannot be written (by a user whom
// file permissions bind).
#include "platform/Settings.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace tarnell {

namespace {

QString settingsPath() {
    return testsupport::scratchHome() + QStringLiteral("/.config/Morvane/Tarnell.conf");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString config = testsupport::scratchHome() + QStringLiteral("/.config");
        QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner);
        // Earlier tests may leave a file or a folder in the way of the store.
        QDir(settingsPath()).removeRecursively();
        QFile::remove(settingsPath());
        QFile::remove(config + QStringLiteral("/Morvane"));
    }
    void TearDown() override { SetUp(); }
};

// The store lives in the user's configuration folder.
TEST_F(SettingsStoreTest, RoundTripWritesTheBooleanAsOneOrZero) {
    {
        platform::SettingsStore store;
        ASSERT_TRUE(store.open());
        EXPECT_EQ(QFileInfo(store.location()).absoluteFilePath(),
                  QFileInfo(settingsPath()).absoluteFilePath());
        EXPECT_FALSE(store.valueExists(QStringLiteral("Lim")));
        EXPECT_EQ(store.readInteger(QStringLiteral("Lim")), std::nullopt);
        EXPECT_EQ(store.readBool(QStringLiteral("Hints")), std::nullopt);
        EXPECT_TRUE(store.writeInteger(QStringLiteral("Lim"), 7));
        EXPECT_TRUE(store.writeInteger(QStringLiteral("Fin"), -2147483647 - 1));
        EXPECT_TRUE(store.writeBool(QStringLiteral("Hints"), true));
        EXPECT_TRUE(store.sync());
    }
    const QByteArray text = readFile(settingsPath());
    EXPECT_TRUE(text.contains("Hints=1")) << text.constData();
    EXPECT_TRUE(text.contains("Lim=7")) << text.constData();

    platform::SettingsStore again;
    ASSERT_TRUE(again.open());
    EXPECT_TRUE(again.valueExists(QStringLiteral("Lim")));
    EXPECT_EQ(again.readInteger(QStringLiteral("Lim")), 7);
    EXPECT_EQ(again.readInteger(QStringLiteral("Fin")), -2147483647 - 1);
    EXPECT_EQ(again.readBool(QStringLiteral("Hints")), true);
    // The boolean is an integer in the store, so it reads back as one too.
    EXPECT_EQ(again.readInteger(QStringLiteral("Hints")), 1);
    EXPECT_TRUE(again.writeBool(QStringLiteral("Hints"), false));
    EXPECT_TRUE(again.sync());
    EXPECT_TRUE(readFile(settingsPath()).contains("Hints=0"));
    EXPECT_EQ(again.readBool(QStringLiteral("Hints")), false);
}

// Values of the wrong type read as missing. The numbers in the file are decimal, whatever they
// start with: an edited "010" is ten foxes, not eight, and "0x10" or "1e1" are no numbers at
// all. A boolean is such a number, not "true".
TEST_F(SettingsStoreTest, ValuesAreDecimalNumbersAndOthersReadAsMissing) {
    writeFile(settingsPath(), "[General]\nWord=abc\nHuge=99999999999\nTrue=true\nOther=12x\n"
                              "Spaced= 9 \nList=1, 2\nLim=010\nFin=09\nHints=00\nSigned=-012\n"
                              "Plus=+7\nHex=0x10\nExponent=1e1\nOctalPrefix=0o7\n");
    platform::SettingsStore store;
    ASSERT_TRUE(store.open());
    // clang-format off
    const std::pair<const char*, std::optional<int>> values[] = {
        {"Word", std::nullopt}, {"Huge", std::nullopt}, {"True", std::nullopt},
        {"Other", std::nullopt}, {"List", std::nullopt}, {"Spaced", 9}, {"Lim", 10}, {"Fin", 9},
        {"Hints", 0}, {"Signed", -12}, {"Plus", 7}, {"Hex", std::nullopt},
        {"Exponent", std::nullopt}, {"OctalPrefix", std::nullopt}};
    // clang-format on
    for (const auto& [name, value] : values) {
        EXPECT_EQ(store.readInteger(QString::fromLatin1(name)), value) << name;
        EXPECT_EQ(store.readBool(QString::fromLatin1(name)),
                  value ? std::optional<bool>(*value != 0) : std::nullopt)
            << name;
    }
    // A wrong value is there, and simply overwritten by the next write.
    EXPECT_TRUE(store.valueExists(QStringLiteral("Word")));
    EXPECT_TRUE(store.writeInteger(QStringLiteral("Word"), 8));
    EXPECT_EQ(store.readInteger(QStringLiteral("Word")), 8);
}

TEST_F(SettingsStoreTest, GarbageFileReadsAsMissingValues) {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) % 256));
    garbage.append("\n[Gen\x01eral\n=\n==Lim\n\xff\xfe");
    writeFile(settingsPath(), garbage);
    {
        platform::SettingsStore store;
        ASSERT_TRUE(store.open());
        EXPECT_EQ(store.readInteger(QStringLiteral("Lim")), std::nullopt);
        EXPECT_EQ(store.readInteger(QStringLiteral("Fin")), std::nullopt);
        EXPECT_EQ(store.readBool(QStringLiteral("Hints")), std::nullopt);
        // Writing the values back repairs the file for the next start.
        EXPECT_TRUE(store.writeInteger(QStringLiteral("Lim"), 4));
        EXPECT_TRUE(store.writeBool(QStringLiteral("Hints"), false));
        EXPECT_TRUE(store.sync());
    }
    platform::SettingsStore again;
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.readInteger(QStringLiteral("Lim")), 4);
    EXPECT_EQ(again.readBool(QStringLiteral("Hints")), false);
}

// File permissions do not bind the super-user: run as such, the two cases that need them run
// in a child process that becomes another user, to whom the scratch home is handed meanwhile.
void handScratchHomeTo(uid_t user, gid_t group) {
    const QString home = testsupport::scratchHome();
    ASSERT_EQ(::lchown(home.toLocal8Bit().constData(), user, group), 0);
    QDirIterator entries(home,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        ASSERT_EQ(::lchown(entries.next().toLocal8Bit().constData(), user, group), 0);
}

std::string asAPlayer(const std::function<std::string()>& body) {
    if (::geteuid() != 0)
        return body();
    const testsupport::OtherUser player;
    handScratchHomeTo(player.user, player.group);
    const std::optional<std::string> said = testsupport::runAsAnotherUser(player, body);
    handScratchHomeTo(::geteuid(), ::getegid());
    return said.value_or("the system does not let the super-user become another user");
}

// What a store opened where it cannot write shows and does.
std::string storeInAnUnwritablePlace() {
    platform::SettingsStore store;
    std::ostringstream seen;
    seen << "open " << store.open() << ", is open " << store.isOpen() << ", Lim exists "
         << store.valueExists(QStringLiteral("Lim")) << ", Lim read "
         << store.readInteger(QStringLiteral("Lim")).value_or(-1) << ", write "
         << store.writeInteger(QStringLiteral("Lim"), 4) << ", sync " << store.sync();
    return seen.str();
}

// Wherever the store cannot write it fails to open and everything reads as missing: a file
// that is not the user's to write, a folder that cannot be created (both for a user whom file
// permissions bind), and, for every user, the super-user included, a folder where the file
// should be and a file where the folder should be.
TEST_F(SettingsStoreTest, WhereItCannotWriteItFailsToOpenAndEverythingReadsAsMissing) {
    const std::string missing = "open 0, is open 0, Lim exists 0, Lim read -1, write 0, sync 0";
    const QString config = testsupport::scratchHome() + QStringLiteral("/.config");
    const QString folder = config + QStringLiteral("/Morvane");
    writeFile(settingsPath(), "[General]\nLim=3\n");
    QFile::setPermissions(settingsPath(), QFile::ReadOwner);
    EXPECT_EQ(asAPlayer(&storeInAnUnwritablePlace), missing) << "an unwritable file";
    QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readFile(settingsPath()), QByteArray("[General]\nLim=3\n"));

    QDir(folder).removeRecursively();
    QFile::setPermissions(config, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(asAPlayer(&storeInAnUnwritablePlace), missing) << "a folder not to be made";
    QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(QFileInfo::exists(folder));

    QDir().mkpath(settingsPath());
    EXPECT_EQ(storeInAnUnwritablePlace(), missing) << "a folder in the place of the file";
    QDir(folder).removeRecursively();

    writeFile(folder, "not a folder");
    EXPECT_EQ(storeInAnUnwritablePlace(), missing) << "a file in the place of the folder";
    EXPECT_EQ(readFile(folder), QByteArray("not a folder"));
}

} // namespace

} // namespace tarnell
