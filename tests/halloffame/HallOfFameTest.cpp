// The hall-of-fame file: byte layout, names, the "best" rules, the lines the dialogs show,
// and what a store keeps, drops and appends. Runs in the scratch working directory.
#include "halloffame/HallOfFame.h"
#include "FameFileBytes.h"

#include <QFile>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace tarnell {

namespace {

using halloffame::FameDecisions;
using halloffame::FameLookup;
using halloffame::HallOfFame;
using halloffametest::fileExists;
using halloffametest::readFile;
using halloffametest::writeFile;

constexpr char FileName[] = "h_fame.dat";

// A record laid out by hand: size, foxes, time in days, steps, the two flag bytes, and
// the name padded with spaces to 50 bytes.
QByteArray record(int size, int foxes, double days, int steps, int timeFlag, int stepsFlag,
                  const QByteArray& name) {
    return halloffametest::encode({size, foxes, days, steps, timeFlag, stepsFlag, name});
}

// A stored name: the bytes, padded with spaces to 50.
halloffame::NameField nameField(const QByteArray& bytes) {
    halloffame::NameField field;
    field.fill(' ');
    std::memcpy(field.data(), bytes.constData(), static_cast<size_t>(bytes.size()));
    return field;
}

double seconds(double value) {
    return value / 86400.0;
}

TPuzzleResult result(int size, int foxes, double seconds, int steps) {
    return halloffametest::solvedPuzzle(size, foxes, seconds, steps);
}

// The two lines the dialogs show for a pair, read afresh from the file.
QString shown(int size, int foxes) {
    const auto best = HallOfFame().lookUp(size, foxes);
    return best ? halloffame::timeLine(*best, size, foxes) + QStringLiteral(" | ") +
                      halloffame::stepsLine(*best, size, foxes)
                : QStringLiteral("no look-up");
}

class HallOfFameTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"h_fame.dat", "h_fame2.dat", "h_fame.dat.damaged",
                                 "h_fame.dat.damaged.2", "h_fame.dat.damaged.3"})
            QFile::remove(QString::fromLatin1(name));
    }

    // The dialog's whole round: look up, decide, store.
    FameDecisions play(const TPuzzleResult& r, const QString& name) {
        HallOfFame fame;
        const auto best = fame.lookUp(r.FieldSize, r.FoxCount);
        EXPECT_TRUE(best);
        const FameDecisions decisions = halloffame::decide(best ? *best : FameLookup{}, r);
        const halloffame::FameStatus stored = fame.store(r, decisions, name);
        EXPECT_TRUE(stored);
        EXPECT_EQ(stored.message(), QString());
        return decisions;
    }

    HallOfFame fame_;
};

TEST_F(HallOfFameTest, MissingFileIsCreatedEmptyAndShowsThePlaceholders) {
    const halloffame::FameStatus checked = fame_.check();
    ASSERT_TRUE(checked);
    EXPECT_EQ(checked.message(), QString());
    ASSERT_TRUE(fileExists(FileName));
    EXPECT_EQ(readFile(FileName).size(), 0);
    EXPECT_EQ(shown(8, 5), QStringLiteral("Mr. Smith    00:40,0 | Mr. Smith    26 steps"));
    EXPECT_EQ(halloffame::placeholderTimeLine(10, 10), QStringLiteral("Mr. Smith    01:40,0"));
    EXPECT_EQ(halloffame::placeholderStepsLine(3, 1), QStringLiteral("Mr. Smith    8 steps"));
}

TEST_F(HallOfFameTest, NewBestOfBothKindsStoresATimeRecordThenAStepsRecord) {
    const FameDecisions decisions = play(result(8, 5, 39.9, 25), QStringLiteral("Kestrel"));
    EXPECT_TRUE(decisions.NewBestTime);
    EXPECT_TRUE(decisions.NewMinimumSteps);
    const QByteArray bytes = readFile(FileName);
    ASSERT_EQ(bytes.size(), 144);
    const QByteArray name = QByteArray("Kestrel") + QByteArray(43, ' ');
    // 39.9 s = 39900 / 86400000 days, as the double 0x3F3E43CFC21ADA00.
    const QByteArray time("\x00\xda\x1a\xc2\xcf\x43\x3e\x3f", 8);
    const QByteArray head =
        QByteArray("\x08\0\0\0\x05\0\0\0", 8) + time + QByteArray("\x19\0\0\0", 4);
    EXPECT_EQ(bytes.left(72), head + QByteArray("\x01\x00", 2) + name);
    EXPECT_EQ(bytes.mid(72), head + QByteArray("\x00\x01", 2) + name);
    EXPECT_EQ(bytes.left(72), record(8, 5, 39900 / 86400000.0, 25, 1, 0, "Kestrel"));

    EXPECT_EQ(shown(8, 5), QStringLiteral("Kestrel  00:39,9 | Kestrel  25 steps"));
}

TEST_F(HallOfFameTest, TiesBeatNothingAndStoreNothing) {
    EXPECT_EQ(halloffame::decide({}, result(8, 5, 40.0, 26)), FameDecisions{});
    // 39.9996 s is 40.000 s to the millisecond: still a tie.
    EXPECT_EQ(halloffame::decide({}, result(8, 5, 39.9996, 26)), FameDecisions{});
    EXPECT_EQ(halloffame::decide({}, result(8, 5, 39.999, 26)), (FameDecisions{true, false}));
    play(result(8, 5, 40.0, 26), QStringLiteral("Nobody"));
    EXPECT_EQ(readFile(FileName), QByteArray());

    play(result(8, 5, 30.0, 20), QStringLiteral("First"));
    const QByteArray before = readFile(FileName);
    EXPECT_EQ(play(result(8, 5, 30.0, 20), QStringLiteral("Second")), FameDecisions{});
    EXPECT_EQ(readFile(FileName), before);
    // One millisecond or one step better is enough.
    EXPECT_EQ(play(result(8, 5, 29.999, 20), QStringLiteral("Third")),
              (FameDecisions{true, false}));
    EXPECT_EQ(play(result(8, 5, 31.0, 19), QStringLiteral("Fourth")), (FameDecisions{false, true}));
    EXPECT_EQ(shown(8, 5), QStringLiteral("Third  00:29,9 | Fourth  19 steps"));
    EXPECT_EQ(readFile(FileName).size(), 144);
}

TEST_F(HallOfFameTest, IndependentDecisionsKeepTheOtherHolder) {
    writeFile(FileName, record(8, 5, seconds(30), 40, 1, 0, "Ann") +
                            record(8, 5, seconds(90), 20, 0, 1, "Bob"));
    EXPECT_EQ(play(result(8, 5, 25, 22), QStringLiteral("Cy")), (FameDecisions{true, false}));
    EXPECT_EQ(readFile(FileName), record(8, 5, seconds(90), 20, 0, 1, "Bob") +
                                      record(8, 5, 25000 / 86400000.0, 22, 1, 0, "Cy"));
}

TEST_F(HallOfFameTest, NamesAreTrimmedEncodedCutAndPadded) {
    using halloffame::encodeName;
    EXPECT_EQ(encodeName(QString()), nameField("Anonymous"));
    EXPECT_EQ(encodeName(QStringLiteral("    ")), nameField("Anonymous"));
    EXPECT_EQ(encodeName(QStringLiteral(" \t\r\n\x01\x1f")), nameField("Anonymous"));
    EXPECT_EQ(encodeName(QStringLiteral("Ivy")), nameField("Ivy"));
    EXPECT_EQ(encodeName(QStringLiteral("\t  Ivy Lane \n")), nameField("Ivy Lane"));
    const QString sixty = QStringLiteral("abcdefghij").repeated(6);
    EXPECT_EQ(encodeName(sixty), nameField(sixty.left(50).toLatin1()));
    // The Western code page where it can, one "?" for every other character, even outside
    // the BMP.
    EXPECT_EQ(encodeName(QString::fromUtf8("Zo\xc3\xab \xce\xa9 \xf0\x9f\xa6\x8a!")),
              nameField(QByteArray("Zo\xeb ? ?!")));
    // Cut by characters after encoding: 49 letters and then a fox emoji fill exactly 50.
    EXPECT_EQ(encodeName(QString(49, QLatin1Char('x')) + QString::fromUtf8("\xf0\x9f\xa6\x8a")),
              nameField(QByteArray(49, 'x') + "?"));

    halloffame::NameField stored = nameField(QByteArray("  Zo\xeb\t", 7));
    EXPECT_EQ(halloffame::decodeName(stored), QString::fromUtf8("Zo\xc3\xab"));
}

// Names carry the Western Windows code page (each of its bytes is checked below); a name
// ending in one of its letters keeps it, and only spaces and the control characters below
// them are trimmed.
TEST_F(HallOfFameTest, NamesAreInTheWesternWindowsCodePage) {
    using halloffame::decodeName;
    using halloffame::encodeName;
    EXPECT_EQ(encodeName(QString::fromUtf8("Ji\xc5\x99\xc3\xad \xc5\xa0")),
              nameField("Ji?\xed \x8a"));
    EXPECT_EQ(decodeName(nameField(" \x01"
                                   "Ann\x1f")),
              QStringLiteral("Ann"));
    // Every byte a name can hold comes back as itself through text.
    for (int byte = 0x21; byte <= 0xFF; ++byte) {
        const halloffame::NameField one = nameField(QByteArray("A") + static_cast<char>(byte));
        EXPECT_EQ(encodeName(decodeName(one)), one) << byte;
    }
    // Stored and read back through the file.
    play(result(8, 5, 20, 20), QString::fromUtf8("Bo\xc5\xbe"
                                                 "ena \xc5\x92"));
    EXPECT_EQ(readFile(FileName).mid(22, 50), halloffametest::padded("Bo\x9e"
                                                                     "ena \x8c"));
    EXPECT_EQ(halloffame::timeLine(*HallOfFame().lookUp(8, 5), 8, 5),
              QString::fromUtf8("Bo\xc5\xbe"
                                "ena \xc5\x92  00:20,0"));
}

// Each of the 27 letters and signs of 0x80 to 0x9F, from the code page's published table,
// in both directions; the five bytes it leaves free stand for the control characters of the
// same number, and the other control characters of that range cannot be stored.
TEST_F(HallOfFameTest, EveryHighByteOfTheWesternCodePageIsItsOwnCharacter) {
    // clang-format off
    const std::pair<unsigned char, char32_t> table[] = {
        {0x80, U'\u20AC'}, {0x82, U'\u201A'}, {0x83, U'\u0192'}, {0x84, U'\u201E'},
        {0x85, U'\u2026'}, {0x86, U'\u2020'}, {0x87, U'\u2021'}, {0x88, U'\u02C6'},
        {0x89, U'\u2030'}, {0x8A, U'\u0160'}, {0x8B, U'\u2039'}, {0x8C, U'\u0152'},
        {0x8E, U'\u017D'}, {0x91, U'\u2018'}, {0x92, U'\u2019'}, {0x93, U'\u201C'},
        {0x94, U'\u201D'}, {0x95, U'\u2022'}, {0x96, U'\u2013'}, {0x97, U'\u2014'},
        {0x98, U'\u02DC'}, {0x99, U'\u2122'}, {0x9A, U'\u0161'}, {0x9B, U'\u203A'},
        {0x9C, U'\u0153'}, {0x9E, U'\u017E'}, {0x9F, U'\u0178'},
        // The free bytes.
        {0x81, U'\u0081'}, {0x8D, U'\u008D'}, {0x8F, U'\u008F'}, {0x90, U'\u0090'},
        {0x9D, U'\u009D'}};
    // clang-format on
    ASSERT_EQ(std::size(table), 32u);
    const auto stored = [](unsigned char byte) {
        return nameField(QByteArray("A") + static_cast<char>(byte) + 'z');
    };
    const auto text = [](char32_t c) {
        const char32_t name[] = {U'A', c, U'z'};
        return QString::fromUcs4(name, 3);
    };
    for (const auto& [byte, character] : table) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << int{byte} << ", U+"
                                        << static_cast<unsigned>(character));
        EXPECT_EQ(halloffame::decodeName(stored(byte)), text(character));
        EXPECT_EQ(halloffame::encodeName(text(character)), stored(byte));
    }
    for (const char32_t control : {U'\u0080', U'\u0082', U'\u008A', U'\u008E', U'\u009F'})
        EXPECT_EQ(halloffame::encodeName(text(control)), stored('?'))
            << "U+" << std::hex << static_cast<unsigned>(control);
}

TEST_F(HallOfFameTest, StoredNamesAreAnonymousOrCutToFifty) {
    play(result(5, 2, 3, 7), QStringLiteral("   "));
    play(result(6, 3, 3, 7), QStringLiteral("n").repeated(60));
    play(result(7, 4, 3, 7), QStringLiteral("Eve"));
    const QByteArray bytes = readFile(FileName);
    ASSERT_EQ(bytes.size(), 6 * 72);
    EXPECT_EQ(bytes.mid(22, 50), QByteArray("Anonymous") + QByteArray(41, ' '));
    EXPECT_EQ(bytes.mid(72 + 22, 50), QByteArray("Anonymous") + QByteArray(41, ' '));
    EXPECT_EQ(bytes.mid(2 * 72 + 22, 50), QByteArray(50, 'n'));
    EXPECT_EQ(bytes.mid(4 * 72 + 22, 50), QByteArray("Eve") + QByteArray(47, ' '));
    EXPECT_EQ(halloffame::timeLine(*HallOfFame().lookUp(5, 2), 5, 2),
              QStringLiteral("Anonymous  00:03,0"));
}

TEST_F(HallOfFameTest, OtherPairsKeepOrderAndContentThroughManyStores) {
    // Records of other pairs, some of them odd: a record with both flags, one with none,
    // a flag byte of 2, a time that is not a number.
    const QByteArray others =
        record(3, 1, seconds(2.5), 4, 1, 0, "Ada") +
        record(10, 10, seconds(600), 80, 1, 1, "Both") +
        record(4, 2, seconds(9), 9, 0, 0, "Neither") + record(9, 8, seconds(70), 60, 2, 0, "Two") +
        record(6, 4, std::nan(""), 30, 1, 0, "NaN") + record(3, 1, seconds(3.5), 3, 0, 1, "Ada");
    writeFile(FileName, others);
    std::mt19937 random(7u);
    for (int round = 0; round < 40; ++round) {
        const double time = 5.0 + static_cast<double>(random() % 60000) / 1000.0;
        const int steps = 5 + static_cast<int>(random() % 40);
        play(result(8, 5, time, steps), QStringLiteral("Player %1").arg(round));
        play(result(7, 3, time, steps), QStringLiteral("Other %1").arg(round));
        const QByteArray bytes = readFile(FileName);
        ASSERT_EQ(bytes.left(others.size()), others) << "round " << round;
        // Behind them at most one time and one steps record of each played pair.
        ASSERT_LE(bytes.size(), others.size() + 4 * 72);
        ASSERT_EQ(bytes.size() % 72, 0);
    }
    EXPECT_EQ(shown(10, 10), QStringLiteral("Both  10:00,0 | Both  80 steps"));
}

TEST_F(HallOfFameTest, StoreWithoutDecisionsLeavesTheBytesAlone) {
    const QByteArray bytes = record(8, 5, seconds(12.3), 14, 1, 0, "Ann") +
                             record(5, 2, seconds(7), 7, 0, 1, "Bob") +
                             record(8, 5, seconds(15), 13, 0, 1, "Cy") +
                             record(8, 5, seconds(3600 + 20), 11, 1, 1, "Dee") +
                             record(10, 10, -1.0, 5, 1, 0, "Impossible");
    writeFile(FileName, bytes);
    for (int i = 0; i < 3; ++i) {
        const halloffame::FameStatus stored =
            HallOfFame().store(result(8, 5, 50, 40), FameDecisions{}, QStringLiteral("X"));
        EXPECT_TRUE(stored);
        EXPECT_EQ(stored.message(), QString());
        ASSERT_EQ(readFile(FileName), bytes) << "store " << i;
    }
    EXPECT_FALSE(fileExists("h_fame2.dat"));
}

TEST_F(HallOfFameTest, ARecordWithBothFlagsCountsAsBothAndIsKeptOnce) {
    const QByteArray both = record(8, 5, seconds(33), 21, 1, 1, "Dee");
    writeFile(FileName, both);
    EXPECT_EQ(shown(8, 5), QStringLiteral("Dee  00:33,0 | Dee  21 steps"));
    // Still holding the steps best, it stays; the new best time follows it.
    EXPECT_EQ(play(result(8, 5, 20, 30), QStringLiteral("Eve")), (FameDecisions{true, false}));
    EXPECT_EQ(readFile(FileName), both + record(8, 5, seconds(20), 30, 1, 0, "Eve"));
    // Its time flag still stands while no new best time is decided, so it stays as it is;
    // the later time record is the one that counts.
    EXPECT_EQ(play(result(8, 5, 50, 10), QStringLiteral("Fay")), (FameDecisions{false, true}));
    EXPECT_EQ(readFile(FileName), both + record(8, 5, seconds(20), 30, 1, 0, "Eve") +
                                      record(8, 5, seconds(50), 10, 0, 1, "Fay"));
    EXPECT_EQ(shown(8, 5), QStringLiteral("Eve  00:20,0 | Fay  10 steps"));
    // Once both of its places are taken it goes.
    EXPECT_EQ(play(result(8, 5, 10, 9), QStringLiteral("Gil")), (FameDecisions{true, true}));
    EXPECT_EQ(readFile(FileName), record(8, 5, seconds(10), 9, 1, 0, "Gil") +
                                      record(8, 5, seconds(10), 9, 0, 1, "Gil"));
}

TEST_F(HallOfFameTest, ARecordOfThePairWithNeitherFlagIsIgnoredAndDropped) {
    writeFile(FileName, record(8, 5, seconds(1), 1, 0, 0, "Ghost") +
                            record(4, 2, seconds(1), 1, 0, 0, "Elsewhere"));
    const auto best = HallOfFame().lookUp(8, 5);
    ASSERT_TRUE(best);
    EXPECT_FALSE(best->TimeRecord || best->StepsRecord);
    HallOfFame().store(result(8, 5, 99, 99), FameDecisions{}, QString());
    EXPECT_EQ(readFile(FileName), record(4, 2, seconds(1), 1, 0, 0, "Elsewhere"));
}

// The seconds of a result used to be compared without its hours; a duration is a duration.
TEST_F(HallOfFameTest, HoursCountInComparisonsButAreNotShown) {
    writeFile(FileName, record(8, 5, seconds(3605), 30, 1, 0, "Slow"));
    const auto best = HallOfFame().lookUp(8, 5);
    ASSERT_TRUE(best && best->TimeRecord);
    EXPECT_EQ(halloffame::timeLine(*best, 8, 5), QStringLiteral("Slow  00:05,0"));
    // Ten seconds beat one hour and five seconds.
    EXPECT_TRUE(halloffame::decide(*best, result(8, 5, 10, 30)).NewBestTime);
    // One hour and one second beats neither the placeholder nor a stored 30 seconds.
    EXPECT_FALSE(halloffame::decide({}, result(8, 5, 3601, 30)).NewBestTime);
    halloffame::FameLookup fast;
    fast.TimeRecord = halloffame::decodeRecord([] {
        halloffame::RecordBytes bytes{};
        const QByteArray r = record(8, 5, seconds(30), 30, 1, 0, "Fast");
        std::memcpy(bytes.data(), r.constData(), bytes.size());
        return bytes;
    }());
    EXPECT_FALSE(halloffame::decide(fast, result(8, 5, 3601, 30)).NewBestTime);
    EXPECT_TRUE(halloffame::decide(fast, result(8, 5, 29.9, 30)).NewBestTime);
    // A stored time is rounded to the millisecond before it is compared.
    play(result(8, 5, 3605.0004, 99), QStringLiteral("Late"));
    EXPECT_EQ(readFile(FileName), record(8, 5, seconds(3605), 30, 1, 0, "Slow"));
}

TEST_F(HallOfFameTest, ImpossibleRecordsStayInTheFileButNeverCount) {
    const double inf = std::numeric_limits<double>::infinity();
    const QByteArray impossible =
        record(8, 5, -seconds(10), 3, 1, 0, "Negative time") +
        record(8, 5, std::nan(""), 3, 1, 0, "No time") + record(8, 5, inf, 3, 1, 0, "Endless") +
        record(8, 5, seconds(5), -4, 0, 1, "Minus steps") +
        record(8, 7, seconds(5), 3, 1, 1, "Seven foxes on 8") +
        record(11, 5, seconds(5), 3, 1, 1, "Too large") +
        record(2, 0, seconds(5), 3, 1, 1, "Tiny") + record(3, 0, seconds(5), 3, 1, 1, "No fox");
    writeFile(FileName, impossible);
    const auto best = HallOfFame().lookUp(8, 5);
    ASSERT_TRUE(best);
    EXPECT_FALSE(best->TimeRecord || best->StepsRecord);
    for (const auto& [size, foxes] : {std::pair{8, 7}, {11, 5}, {2, 0}, {3, 0}}) {
        const auto other = HallOfFame().lookUp(size, foxes);
        ASSERT_TRUE(other);
        EXPECT_FALSE(other->TimeRecord || other->StepsRecord) << size << " " << foxes;
    }
    EXPECT_EQ(play(result(8, 5, 39, 25), QStringLiteral("Real")), (FameDecisions{true, true}));
    const QByteArray bytes = readFile(FileName);
    EXPECT_EQ(bytes.left(impossible.size()), impossible);
    EXPECT_EQ(bytes.size(), impossible.size() + 144);
    // A result that could not have been played is never a best either, judged kind by kind.
    EXPECT_EQ(halloffame::decide({}, result(8, 5, -1, 25)), (FameDecisions{false, true}));
    EXPECT_EQ(halloffame::decide({}, result(8, 5, std::nan(""), 25)), (FameDecisions{false, true}));
    EXPECT_EQ(halloffame::decide({}, result(8, 5, 10, -1)), (FameDecisions{true, false}));
    EXPECT_EQ(halloffame::decide({}, result(8, 7, 10, 10)), FameDecisions{});
    EXPECT_TRUE(HallOfFame().store(result(8, 5, -5, -5), FameDecisions{true, true}, "Cheat"));
    EXPECT_EQ(readFile(FileName), bytes);
}

// A game that ran across midnight left a negative time in the unused time field of its steps
// record, and a time record may carry odd steps: each counts by the field of its own kind.
TEST_F(HallOfFameTest, ARecordIsJudgedByTheFieldOfItsKind) {
    const QByteArray nightOwl = record(8, 5, -seconds(86000), 20, 0, 1, "Night owl");
    const QByteArray oddSteps = record(8, 5, seconds(30), -7, 1, 0, "Odd steps");
    writeFile(FileName, nightOwl + oddSteps);
    const auto best = HallOfFame().lookUp(8, 5);
    ASSERT_TRUE(best && best->TimeRecord && best->StepsRecord);
    EXPECT_EQ(halloffame::timeLine(*best, 8, 5), QStringLiteral("Odd steps  00:30,0"));
    EXPECT_EQ(halloffame::stepsLine(*best, 8, 5), QStringLiteral("Night owl  20 steps"));
    // They are the bests to beat, not the placeholders.
    EXPECT_EQ(halloffame::decide(*best, result(8, 5, 35, 21)), FameDecisions{});
    // Beaten in one kind, the other record stands; the beaten one goes.
    EXPECT_EQ(play(result(8, 5, 35, 19), QStringLiteral("Lark")), (FameDecisions{false, true}));
    EXPECT_EQ(readFile(FileName), oddSteps + record(8, 5, seconds(35), 19, 0, 1, "Lark"));
    // A steps record with a negative time still wins on steps when stored.
    const halloffame::FameStatus stored = HallOfFame().store(
        result(8, 5, -5, 10), FameDecisions{true, true}, QStringLiteral("Midnight"));
    EXPECT_TRUE(stored);
    const auto records = halloffametest::decodeAll(readFile(FileName));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name, halloffametest::padded("Odd steps"));
    EXPECT_EQ(records[1].name, halloffametest::padded("Midnight"));
    EXPECT_EQ((std::pair{records[1].timeFlag, records[1].stepsFlag}), (std::pair{0, 1}));
    EXPECT_EQ(records[1].steps, 10);
}

TEST_F(HallOfFameTest, LookUpAndCheckNeverWrite) {
    const QByteArray bytes = record(8, 5, seconds(12), 14, 1, 0, "Ann");
    writeFile(FileName, bytes);
    QFile::setPermissions(QString::fromLatin1(FileName), QFile::ReadOwner | QFile::ReadGroup);
    const halloffame::FameStatus checked = fame_.check();
    const auto best = fame_.lookUp(8, 5);
    QFile::setPermissions(QString::fromLatin1(FileName), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(checked);
    ASSERT_TRUE(best && best->TimeRecord);
    EXPECT_EQ(checked.message() + best.message(), QString());
    EXPECT_EQ(readFile(FileName), bytes);
    EXPECT_FALSE(fileExists("h_fame2.dat"));
}

} // namespace

} // namespace tarnell
