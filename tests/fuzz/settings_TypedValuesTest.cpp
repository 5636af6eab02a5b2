// The settings file as the fuzzer found it can be: a value in the typed syntax of Qt's own
// INI reader ("@Variant(...)") is text to the store, never bytes to decode, so a file that
// names a huge polygon cannot make the program ask for gigabytes; such lines are dropped by
// the next write, and what the store writes reads the same with Qt's INI reader.
#include "platform/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

namespace tarnell {

namespace {

QString settingsPath() {
    return platform::SettingsStore().location();
}

void writeSettings(const QByteArray& bytes) {
    const QString path = settingsPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
    // A time of its own, so that no cached copy of an earlier file of this size is used.
    static qint64 seconds = 1'500'000'000;
    ASSERT_TRUE(file.setFileTime(QDateTime::fromSecsSinceEpoch(++seconds),
                                 QFileDevice::FileModificationTime));
}

QByteArray readSettings() {
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SettingsFileFromOutside, TypedValuesAreTextNotDecoded) {
    // Qt's INI reader would decode the first value as the integer 7.
    writeSettings(
        QByteArray("[General]\nFin=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\a)\nLim=4\nHints=0\n"));
    platform::SettingsStore store;
    ASSERT_TRUE(store.open());
    EXPECT_EQ(store.readInteger(QStringLiteral("Fin")), std::nullopt);
    EXPECT_EQ(store.readInteger(QStringLiteral("Lim")), 4);
    EXPECT_EQ(store.readBool(QStringLiteral("Hints")), false);
}

TEST(SettingsFileFromOutside, AHugeSerialisedValueIsDroppedByTheNextWrite) {
    QFile saved(QStringLiteral(FUZZ_REGRESSIONS_DIR "/huge-polygon-variant.conf"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray hostile = saved.readAll();
    ASSERT_TRUE(hostile.contains("Fin=@Variant("));
    writeSettings(hostile + "\n[General]\nLim=3\n");
    {
        platform::SettingsStore store;
        ASSERT_TRUE(store.open());
        EXPECT_EQ(store.readInteger(QStringLiteral("Fin")), std::nullopt);
        EXPECT_EQ(store.readInteger(QStringLiteral("Lim")), 3);
        EXPECT_TRUE(store.writeInteger(QStringLiteral("Fin"), 8));
        EXPECT_TRUE(store.sync());
    }
    const QByteArray text = readSettings();
    EXPECT_FALSE(text.contains("@Variant")) << text.constData();
    EXPECT_TRUE(text.contains("Fin=8")) << text.constData();
    EXPECT_TRUE(text.contains("Lim=3")) << text.constData();
}

TEST(SettingsFileFromOutside, WhatTheStoreWritesReadsTheSameWithQtsIniReader) {
    writeSettings("[General]\nLim=2\nOdd=\"quoted, listed\"\n[Other]\nkey=5\nbad key=1\n");
    {
        platform::SettingsStore store;
        ASSERT_TRUE(store.open());
        EXPECT_TRUE(store.writeInteger(QStringLiteral("Fin"), -12));
        EXPECT_TRUE(store.writeBool(QStringLiteral("Hints"), true));
        EXPECT_TRUE(store.sync());
    }
    QSettings ini(settingsPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.status(), QSettings::NoError) << readSettings().constData();
    EXPECT_EQ(ini.value(QStringLiteral("Lim")).toString(), QStringLiteral("2"));
    EXPECT_EQ(ini.value(QStringLiteral("Fin")).toString(), QStringLiteral("-12"));
    EXPECT_EQ(ini.value(QStringLiteral("Hints")).toString(), QStringLiteral("1"));
    // A plain value of another section is kept; lines the store cannot take are dropped.
    EXPECT_EQ(ini.value(QStringLiteral("Other/key")).toString(), QStringLiteral("5"));
    EXPECT_FALSE(ini.contains(QStringLiteral("Odd")));
    EXPECT_FALSE(readSettings().contains("bad key"));
}

} // namespace

} // namespace tarnell
