// The LCD label with custom character-set files: a good file shows its glyphs; a file that
// is nonsensical or cut short leaves the label exactly as it was; a missing one keeps a
// built-in set and gives up a custom one.
#include "tests/support/TestSupport.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace tarnell {

void PrintTo(const QColor& color, std::ostream* os) {
    *os << color.name().toStdString();
}

using testsupport::pixel;

namespace {

QByteArray header(qint32 columns, qint32 rows, qint32 first, qint32 last) {
    QByteArray bytes;
    for (const qint32 value : {columns, rows, first, last})
        for (int shift = 0; shift < 32; shift += 8)
            bytes.append(static_cast<char>(static_cast<quint32>(value) >> shift));
    return bytes;
}

QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(testsupport::scratchWorkDir()).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

// A 3 x 2 set for '+' and '-' ('+' = .#. ###, '-' = ... ###); 0 is lit in the file.
QByteArray plusMinusFile() {
    QByteArray bytes = header(3, 2, '+', '-');
    const char glyphs[] = {1, 0, 1, 0,           0, 0, /* ',' */ 1, 1, 1,
                           1, 1, 0, /* '-' */ 1, 1, 1, 0,           0, 0};
    bytes.append(glyphs, sizeof glyphs);
    return bytes;
}

class LCDCustomSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::clearMessages();
        label_.setPixelSize(pix1x1);
        label_.setPixelSpacing(1);
        label_.setCharSpacing(1);
        label_.setBorderSpace(0);
        label_.setBorderStyle(frNone);
        label_.setBackGround(platform::clBlack);
        label_.setPixelOn(platform::clWhite);
        label_.setPixelOff(platform::rgb(0, 0, 255));
        label_.setNoOfChars(3);
        label_.setDotMatrix(mat7x9);
        label_.setCaption("+-x");
        label_.show();
    }

    QImage shot() { return label_.grab().toImage(); }

    void expectUnchanged(const QImage& before) {
        EXPECT_EQ(label_.DotMatrix(), mat7x9);
        EXPECT_EQ(label_.charSetShape().CellColumns, 7);
        EXPECT_EQ(shot(), before);
    }

    TLCDLabel label_;
};

TEST_F(LCDCustomSetTest, AGoodFileShowsItsGlyphs) {
    label_.setFilename(writeFile("plusminus.lcd", plusMinusFile()));
    EXPECT_EQ(label_.DotMatrix(), CustomFont);
    EXPECT_EQ(label_.loadError(), QString());
    EXPECT_TRUE(testsupport::messages().isEmpty());
    const TCharSetShape shape = label_.charSetShape();
    EXPECT_EQ(shape.CellColumns, 3);
    EXPECT_EQ(shape.CellRows, 2);
    EXPECT_EQ(shape.FirstCode, '+');
    EXPECT_EQ(shape.LastCode, '-');
    // Cells of 3 + 2 = 5 by 2 + 1 = 3 pixels, 1 apart, the one-pixel frame around them.
    EXPECT_EQ(label_.size(), QSize(3 * 5 + 2 * 1 + 2, 3 + 2));

    const QImage image = shot();
    const QColor on(255, 255, 255);
    const QColor off(0, 0, 255);
    const QColor ground(0, 0, 0);
    // "+-x": 'x' is above the range and shows its last glyph, the '-'.
    const char* rows[3][2] = {{".#.", "###"}, {"...", "###"}, {"...", "###"}};
    for (int cell = 0; cell < 3; ++cell)
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 3; ++k) {
                const int x = 1 + cell * 6 + k * 2;
                const int y = 1 + r * 2;
                EXPECT_EQ(pixel(image, x, y), rows[cell][r][k] == '#' ? on : off)
                    << cell << " " << r << " " << k;
                EXPECT_EQ(pixel(image, x + 1, y), ground);
            }
}

TEST_F(LCDCustomSetTest, ANonsensicalOrShortFileLeavesTheLabelAsItWas) {
    const QImage before = shot();
    QByteArray cut = plusMinusFile();
    cut.chop(1);
    const std::vector<std::pair<QByteArray, QString>> files = {
        {cut, "ends after 2 of its 3 glyphs"},
        {header(3, 2, '+', '-'), "ends after 0 of its 3 glyphs"},
        {header(0, 2, 0, 0) + QByteArray(64, 0), "cell of 0 x 2"},
        {header(3, 100000, 0, 255), "cell of 3 x 100000"},
        {header(3, 2, 200, 300) + QByteArray(600, 0), "codes 200 to 300"},
        {header(3, 2, 60, 50) + QByteArray(600, 0), "codes 60 to 50"},
        {QByteArray("LCD"), "3 bytes"},
    };
    int index = 0;
    for (const auto& [bytes, why] : files) {
        SCOPED_TRACE(why.toStdString());
        testsupport::clearMessages();
        const QString path = writeFile(QStringLiteral("bad%1.lcd").arg(index++), bytes);
        label_.setFilename(path);
        expectUnchanged(before);
        EXPECT_TRUE(label_.loadError().contains(why)) << label_.loadError().toStdString();
        ASSERT_EQ(testsupport::messages().size(), 1);
        EXPECT_TRUE(testsupport::messages().front().contains(path));
        EXPECT_TRUE(testsupport::messages().front().contains(why));
    }
}

TEST_F(LCDCustomSetTest, AFileThatCannotBeOpenedIsQuiet) {
    const QImage before = shot();
    label_.setFilename(QDir(testsupport::scratchWorkDir()).filePath("missing.lcd"));
    expectUnchanged(before);
    EXPECT_TRUE(testsupport::messages().isEmpty());
    EXPECT_TRUE(label_.loadError().contains("missing.lcd"));
}

TEST_F(LCDCustomSetTest, ABadFileKeepsTheCustomSetThatIsShowing) {
    label_.setFilename(writeFile("good.lcd", plusMinusFile()));
    const QImage custom = shot();
    label_.setFilename(writeFile("short.lcd", header(3, 2, '+', '-')));
    EXPECT_EQ(label_.DotMatrix(), CustomFont);
    EXPECT_EQ(shot(), custom);
}

// A file that cannot be opened while a custom set shows: the custom glyphs are given up and
// the label goes back to the set a custom one falls back to, quietly, as without a file.
TEST_F(LCDCustomSetTest, AnUnopenableFileWhileACustomSetShowsFallsBack) {
    label_.setFilename(writeFile("good.lcd", plusMinusFile()));
    ASSERT_EQ(label_.DotMatrix(), CustomFont);
    const QImage custom = shot();
    label_.setFilename(QDir(testsupport::scratchWorkDir()).filePath("missing.lcd"));
    EXPECT_EQ(label_.DotMatrix(), mat5x7);
    EXPECT_EQ(label_.charSetShape().CellColumns, 5);
    EXPECT_EQ(label_.charSetShape().CellRows, 7);
    EXPECT_NE(shot(), custom);
    label_.setDotMatrix(mat5x7);
    const QImage plain = shot();
    label_.setFilename(writeFile("good.lcd", plusMinusFile()));
    label_.setFilename(QDir(testsupport::scratchWorkDir()).filePath("missing.lcd"));
    EXPECT_EQ(shot(), plain);
    EXPECT_TRUE(testsupport::messages().isEmpty());
    EXPECT_TRUE(label_.loadError().contains("missing.lcd"));
}

TEST_F(LCDCustomSetTest, WithoutAFileTheCustomSetFallsBack) {
    label_.setDotMatrix(CustomFont);
    EXPECT_EQ(label_.DotMatrix(), mat7x9);
    label_.setFilename(writeFile("good.lcd", plusMinusFile()));
    ASSERT_EQ(label_.DotMatrix(), CustomFont);
    label_.setFilename(QString());
    EXPECT_EQ(label_.DotMatrix(), mat5x7); // what a custom set falls back to
    label_.setDotMatrix(Hitachi);
    EXPECT_EQ(label_.charSetShape().LastCode, 223);
}

} // namespace

} // namespace tarnell
