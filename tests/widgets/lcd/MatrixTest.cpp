// The character sets: table sizes, the glyphs the main window relies on, how the sets
// build on one another, and the custom character-set file reader.
#include "widgets/lcd/Matrix.h"
#include "ClockGlyphRows.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace tarnell {

namespace {

const std::vector<TDotMatrix> BuiltInSets = {mat5x7,  mat5x8,   mat7x9, mat9x12,
                                             Hitachi, Hitachi2, dos5x7};

// A glyph as rows of '#' and '.', for readable failures.
std::string drawing(TDotMatrix set, const std::vector<uint8_t>& glyph) {
    const int columns = builtInShape(set).CellColumns;
    std::string text;
    for (size_t i = 0; i < glyph.size(); ++i) {
        text += glyph[i] ? '#' : '.';
        if ((i + 1) % static_cast<size_t>(columns) == 0)
            text += ' ';
    }
    return text;
}

bool blankRows(const std::vector<uint8_t>& glyph, int columns, int fromRow, int toRow) {
    for (int row = fromRow; row <= toRow; ++row)
        for (int column = 0; column < columns; ++column)
            if (glyph[static_cast<size_t>(row * columns + column)])
                return false;
    return true;
}

TEST(MatrixTest, SetsHaveTheirCellsCodesAndTableSizes) {
    struct Expected {
        TDotMatrix set;
        int columns, rows, first, last;
        size_t tableBytes;
    };
    for (const Expected& e :
         {Expected{mat5x7, 5, 7, 32, 126, 3325}, Expected{mat5x8, 5, 8, 32, 126, 3800},
          Expected{mat7x9, 7, 9, 32, 126, 5985}, Expected{mat9x12, 9, 12, 32, 126, 10260},
          Expected{Hitachi, 5, 7, 32, 223, 6720}, Expected{Hitachi2, 5, 10, 32, 223, 1500},
          Expected{dos5x7, 5, 7, 0, 255, 8960}}) {
        SCOPED_TRACE(static_cast<int>(e.set));
        const TCharSetShape shape = builtInShape(e.set);
        EXPECT_EQ(shape.CellColumns, e.columns);
        EXPECT_EQ(shape.CellRows, e.rows);
        EXPECT_EQ(shape.FirstCode, e.first);
        EXPECT_EQ(shape.LastCode, e.last);
        const auto table = builtInTable(e.set);
        EXPECT_EQ(table.size(), e.tableBytes);
        for (const uint8_t dot : table)
            ASSERT_LE(dot, 1);
    }
    EXPECT_TRUE(builtInTable(CustomFont).empty());
}

TEST(MatrixTest, TheFiveBySevenSetShowsTheClockGlyphs) {
    const auto table = builtInTable(mat5x7);
    for (const auto& [c, expected] : lcdtest::ClockGlyphRows) {
        SCOPED_TRACE(std::string(1, c));
        std::vector<uint8_t> bytes;
        for (const int row : expected)
            for (int bit = 4; bit >= 0; --bit)
                bytes.push_back(static_cast<uint8_t>((row >> bit) & 1));
        const size_t at = static_cast<size_t>(c - 32) * 35;
        EXPECT_EQ(std::vector<uint8_t>(table.begin() + at, table.begin() + at + 35), bytes);
        EXPECT_EQ(builtInGlyph(mat5x7, c), bytes);
    }
}

TEST(MatrixTest, EveryPrintableGlyphIsDrawnAndTellsItselfApart) {
    for (const TDotMatrix set : BuiltInSets) {
        SCOPED_TRACE(static_cast<int>(set));
        const TCharSetShape shape = builtInShape(set);
        std::map<std::string, int> seen;
        for (int code = shape.FirstCode; code <= shape.LastCode; ++code) {
            const bool meantBlank = code == 0 || code == 32 || (set == dos5x7 && code == 255) ||
                                    ((set == Hitachi || set == Hitachi2) && code == 160);
            const auto glyph = builtInGlyph(set, code);
            const bool blank =
                std::all_of(glyph.begin(), glyph.end(), [](uint8_t d) { return !d; });
            EXPECT_EQ(blank, meantBlank) << "code " << code;
            // Hitachi repeats five lower-case letters with long tails from 194 on; in a cell
            // five dots wide the single and double box lines are the strokes of '|', '-', '='.
            if (blank || ((set == Hitachi || set == Hitachi2) && code >= 194 && code <= 198) ||
                (set == dos5x7 && (code == 179 || code == 196 || code == 205)))
                continue;
            const auto [where, fresh] = seen.emplace(drawing(set, glyph), code);
            EXPECT_TRUE(fresh) << "code " << code << " looks like code " << where->second << ": "
                               << drawing(set, glyph);
        }
    }
}

TEST(MatrixTest, TallerCellsGiveTailsRoomBelowTheLine) {
    struct Face {
        TDotMatrix set;
        int firstRowBelow;
    };
    for (const Face& face : {Face{mat5x8, 7}, Face{mat7x9, 7}, Face{mat9x12, 9}}) {
        SCOPED_TRACE(static_cast<int>(face.set));
        const TCharSetShape shape = builtInShape(face.set);
        for (const char c : std::string("gjpqy,;")) {
            const auto glyph = builtInGlyph(face.set, c);
            EXPECT_FALSE(
                blankRows(glyph, shape.CellColumns, face.firstRowBelow, shape.CellRows - 1))
                << c << ": " << drawing(face.set, glyph);
        }
        for (const char c :
             std::string("ABCDEFGHIJKLMNOPRSTUVWXYZabcdefhikmnorstuvwxz0123456789")) {
            const auto glyph = builtInGlyph(face.set, c);
            EXPECT_TRUE(blankRows(glyph, shape.CellColumns, face.firstRowBelow, shape.CellRows - 1))
                << c << ": " << drawing(face.set, glyph);
        }
    }
}

TEST(MatrixTest, HitachiIsTheFiveBySevenSetWithAYenSignAndAnArrow) {
    for (int code = 32; code <= 126; ++code) {
        if (code == 92 || code == 126)
            EXPECT_NE(builtInGlyph(Hitachi, code), builtInGlyph(mat5x7, code)) << code;
        else
            EXPECT_EQ(builtInGlyph(Hitachi, code), builtInGlyph(mat5x7, code)) << code;
    }
    // The yen sign is symmetric about the middle column; the arrow's shaft is its middle row.
    const auto yen = builtInGlyph(Hitachi, 92);
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 2; ++column)
            EXPECT_EQ(yen[static_cast<size_t>(row * 5 + column)],
                      yen[static_cast<size_t>(row * 5 + 4 - column)]);
    const auto arrow = builtInGlyph(Hitachi, 126);
    EXPECT_EQ(std::vector<uint8_t>(arrow.begin() + 15, arrow.begin() + 20),
              std::vector<uint8_t>(5, 1));
}

TEST(MatrixTest, HitachiTwoBorrowsTheSmallGlyphsAndHasItsOwnFrom194) {
    const auto own = builtInTable(Hitachi2);
    for (int code = 32; code <= 223; ++code) {
        SCOPED_TRACE(code);
        const auto tall = builtInGlyph(Hitachi2, code);
        ASSERT_EQ(tall.size(), 50u);
        if (code < Hitachi2OwnFirstCode) {
            const auto small = builtInGlyph(Hitachi, code);
            EXPECT_EQ(std::vector<uint8_t>(tall.begin(), tall.begin() + 35), small);
            EXPECT_TRUE(blankRows(tall, 5, 7, 9));
        } else {
            const size_t at = static_cast<size_t>(code - Hitachi2OwnFirstCode) * 50;
            EXPECT_EQ(tall, std::vector<uint8_t>(own.begin() + at, own.begin() + at + 50));
        }
    }
    for (int code = 194; code <= 198; ++code) // the long-tailed g, j, p, q, y
        EXPECT_FALSE(blankRows(builtInGlyph(Hitachi2, code), 5, 8, 9)) << code;
}

TEST(MatrixTest, DosIsTheFiveBySevenSetWithMoreAroundIt) {
    for (int code = 32; code <= 126; ++code)
        EXPECT_EQ(builtInGlyph(dos5x7, code), builtInGlyph(mat5x7, code)) << code;
    EXPECT_EQ(builtInGlyph(dos5x7, 0), std::vector<uint8_t>(35, 0));
    EXPECT_EQ(builtInGlyph(dos5x7, 219), std::vector<uint8_t>(35, 1)); // the full block
}

TEST(MatrixTest, CodesOutsideASetShowTheEndsOfItsRange) {
    EXPECT_EQ(builtInGlyph(mat5x7, 9), builtInGlyph(mat5x7, 32));
    EXPECT_EQ(builtInGlyph(mat5x7, 200), builtInGlyph(mat5x7, 126));
    EXPECT_EQ(builtInGlyph(mat9x12, -4), builtInGlyph(mat9x12, 32));
    EXPECT_EQ(builtInGlyph(Hitachi2, 250), builtInGlyph(Hitachi2, 223));
    EXPECT_EQ(builtInGlyph(dos5x7, 300), builtInGlyph(dos5x7, 255));
}

// ---- custom character-set files ----

void putInt(std::vector<uint8_t>& bytes, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(bits >> shift));
}

std::vector<uint8_t> header(int32_t columns, int32_t rows, int32_t first, int32_t last) {
    std::vector<uint8_t> bytes;
    for (const int32_t value : {columns, rows, first, last})
        putInt(bytes, value);
    return bytes;
}

TEST(MatrixTest, ACustomFileIsReadGlyphByGlyph) {
    // 3 x 2 cells for 'A' and 'B'; 0 is a lit dot in the file.
    std::vector<uint8_t> bytes = header(3, 2, 65, 66);
    bytes.insert(bytes.end(), {0, 1, 0, 1, 0, 1, /* B */ 1, 1, 0, 0, 0, 0});
    TCustomCharSet set;
    ASSERT_EQ(parseCustomCharSet(bytes, set), "");
    EXPECT_EQ(set.Shape.CellColumns, 3);
    EXPECT_EQ(set.Shape.CellRows, 2);
    EXPECT_EQ(set.Shape.FirstCode, 65);
    EXPECT_EQ(set.Shape.LastCode, 66);
    EXPECT_EQ(set.Glyphs[65], std::vector<uint8_t>({0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(set.Glyphs[66], std::vector<uint8_t>({1, 1, 0, 0, 0, 0}));
    for (const int code : {0, 64, 67, 255})
        EXPECT_EQ(set.Glyphs[static_cast<size_t>(code)], std::vector<uint8_t>(6, 1)) << code;
    EXPECT_EQ(customCharSetBytes(set), bytes);

    bytes.push_back(7); // trailing bytes are not glyphs and do no harm
    EXPECT_EQ(parseCustomCharSet(bytes, set), "");
}

TEST(MatrixTest, ANonsensicalOrShortFileIsRefusedAndChangesNothing) {
    struct Case {
        std::vector<uint8_t> bytes;
        std::string why;
    };
    auto withGlyphs = [](std::vector<uint8_t> bytes, size_t glyphBytes) {
        bytes.resize(bytes.size() + glyphBytes, 1);
        return bytes;
    };
    const std::vector<Case> cases = {
        {{}, "holds 0 bytes"},
        {std::vector<uint8_t>(15, 0), "holds 15 bytes"},
        {withGlyphs(header(0, 7, 32, 32), 100), "cell of 0 x 7"},
        {withGlyphs(header(5, 0, 32, 32), 100), "cell of 5 x 0"},
        {withGlyphs(header(-5, 7, 32, 32), 100), "cell of -5 x 7"},
        {withGlyphs(header(65, 7, 32, 32), 65 * 7), "cell of 65 x 7"},
        {withGlyphs(header(5, 1 << 30, 32, 32), 100), "cell of 5 x 1073741824"},
        {withGlyphs(header(5, 7, -1, 32), 34 * 35), "codes -1 to 32"},
        {withGlyphs(header(5, 7, 32, 256), 225 * 35), "codes 32 to 256"},
        {withGlyphs(header(5, 7, 40, 39), 35), "codes 40 to 39"},
        {withGlyphs(header(5, 7, 32, 33), 69), "ends after 1 of its 2 glyphs"},
        {header(64, 64, 0, 255), "ends after 0 of its 256 glyphs"},
    };
    for (const Case& c : cases) {
        TCustomCharSet set;
        set.Shape = {2, 2, 10, 20};
        set.Glyphs[15] = {0, 0, 0, 0};
        const std::string error = parseCustomCharSet(c.bytes, set);
        EXPECT_NE(error.find(c.why), std::string::npos) << "'" << error << "' lacks " << c.why;
        EXPECT_EQ(set.Shape.CellColumns, 2);
        EXPECT_EQ(set.Shape.LastCode, 20);
        EXPECT_EQ(set.Glyphs[15], std::vector<uint8_t>({0, 0, 0, 0}));
    }
}

TEST(MatrixTest, TheReaderSurvivesArbitraryBytes) {
    std::mt19937 random(20261207);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        // Small plausible headers half of the time, so that glyph reading is exercised too.
        std::vector<uint8_t> bytes;
        if (round % 2 == 0)
            bytes = header(
                static_cast<int32_t>(random() % 70) - 2, static_cast<int32_t>(random() % 70) - 2,
                static_cast<int32_t>(random() % 270) - 5, static_cast<int32_t>(random() % 270) - 5);
        const size_t extra = random() % 600;
        for (size_t i = 0; i < extra; ++i)
            bytes.push_back(static_cast<uint8_t>(random()));
        TCustomCharSet set;
        if (!parseCustomCharSet(bytes, set).empty())
            continue;
        ++accepted;
        const size_t glyphBytes = static_cast<size_t>(set.Shape.glyphBytes());
        ASSERT_LE(16 + (set.Shape.LastCode - set.Shape.FirstCode + 1) * glyphBytes, bytes.size());
        for (const auto& glyph : set.Glyphs)
            ASSERT_EQ(glyph.size(), glyphBytes);
    }
    EXPECT_GT(accepted, 0);
}

} // namespace

} // namespace tarnell
