// The field renderer, pixel for pixel: background, plate placement and variants, the
// flags, counts and foxes on top, and the field area that shows the frame. Expected
// frames are built here from the placement rule and the copy, OR, AND, copy sequence done
// with the toolkit's own raster operations.
#include "mainwindow/FieldArea.h"

#include "core/Puzzle.h"
#include "platform/Resources.h"
#include "platform/drawing/Fonts.h"
#include "tests/support/FieldGeometry.h"
#include "tests/support/ScriptedSources.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace tarnell {

// Readable colours in failure messages.
void PrintTo(const QColor& colour, std::ostream* out) {
    *out << "RGB(" << colour.red() << ", " << colour.green() << ", " << colour.blue() << ")";
}

namespace {

using testsupport::pixel;

// ---------------------------------------------------------------------------------------
// Puzzle states

using testsupport::Cell;
using testsupport::cellOrigin;

// A real puzzle with its foxes where the test puts them.
struct Game : testsupport::Game {
    // An empty board of the given size, as shown before the first puzzle.
    explicit Game(int size) { puzzle.Reset(size, 1); }
    Game(int size, const std::vector<Cell>& foxes) {
        Hide(size, foxes);
        for (const auto& [row, col] : foxes)
            EXPECT_EQ(puzzle.FoxPlane()[row][col], fpFox);
    }
    void open(int row, int col) { puzzle.OpenCell(row, col); }
    // Points at the middle of the cell's diamond, through the puzzle's own hit test.
    void hover(int row, int col) {
        const QPoint at = testsupport::cellCentre(row, col);
        puzzle.MouseMove(at.x(), at.y());
    }
};

// ---------------------------------------------------------------------------------------
// Test images: every plate pixel says which kind, which variant and which place of its box
// it comes from (red: kind and variant, green: 6 x column, blue: 10 x row).

constexpr int PlainRed = 0x20;
constexpr int CurrentRed = 0x60;
constexpr int HighlightedRed = 0xA0;
constexpr int InnerTag = 0x00;
constexpr int LastRowTag = 0x08;
constexpr int LastColumnTag = 0x10;

bool inDiamond(int x, int y) {
    return std::abs(x - 20) + 2 * std::abs(y - 10) <= 20;
}
// Five pixels of thickness below the lower-left edge (0, 10)-(20, 20) ...
bool inLeftFace(int x, int y) {
    return x <= 20 && 2 * y > 20 + x && 2 * y <= 30 + x;
}
// ... and below the lower-right edge (20, 20)-(40, 10).
bool inRightFace(int x, int y) {
    return x >= 20 && 2 * y > 60 - x && 2 * y <= 70 - x;
}

enum class Kind { Inner, LastRow, LastColumn };

bool inPlate(Kind kind, int x, int y) {
    if (inDiamond(x, y))
        return true;
    if (kind == Kind::LastRow)
        return inLeftFace(x, y);
    if (kind == Kind::LastColumn)
        return inRightFace(x, y);
    return false;
}

QColor platePixel(int red, int x, int y) {
    return QColor(red, 6 * x, 10 * y);
}

QImage plateImage(Kind kind, int red, int height) {
    QImage image(41, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 41; ++x)
            image.setPixelColor(x, y, inPlate(kind, x, y) ? platePixel(red, x, y) : Qt::white);
    return image;
}

QImage plateMask(Kind kind, int height) {
    QImage image(41, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 41; ++x)
            image.setPixelColor(x, y, inPlate(kind, x, y) ? Qt::white : Qt::black);
    return image;
}

TPlateImages testPlate(Kind kind, int tag, int height) {
    return {plateImage(kind, PlainRed + tag, height), plateImage(kind, CurrentRed + tag, height),
            plateImage(kind, HighlightedRed + tag, height), plateMask(kind, height)};
}

const QColor PoleColour(0x30, 0x20, 0x10);
QColor clothPixel(int x, int y) {
    return QColor(200, 16 + 8 * x, 16 + 8 * y);
}
bool inFlag(int x, int y) {
    return x == 0 || y < 12;
}

// Fox colours use only bits that the near-white ground 250, 250, 249 has, so that the
// composite leaves them unchanged.
const QColor FoxColour(0x80, 0x40, 0x10);
const QColor FoxGround(250, 250, 249);
bool inFox(int x, int y) {
    return !(x >= 17 && y >= 12);
}

TFieldImages testImages() {
    TFieldImages images;
    images.Inner = testPlate(Kind::Inner, InnerTag, 23);
    images.LastRow = testPlate(Kind::LastRow, LastRowTag, 25);
    images.LastColumn = testPlate(Kind::LastColumn, LastColumnTag, 25);
    images.Flag = QImage(15, 19, QImage::Format_RGB32);
    images.FlagMask = QImage(15, 19, QImage::Format_RGB32);
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < 15; ++x) {
            const bool shape = inFlag(x, y);
            images.Flag.setPixelColor(x, y,
                                      !shape   ? QColor(Qt::white)
                                      : x == 0 ? PoleColour
                                               : clothPixel(x, y));
            images.FlagMask.setPixelColor(x, y, shape ? Qt::white : Qt::black);
        }
    }
    images.Fox = QImage(20, 15, QImage::Format_RGB32);
    images.FoxMask = QImage(20, 15, QImage::Format_RGB32);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 20; ++x) {
            images.Fox.setPixelColor(x, y, inFox(x, y) ? FoxColour : FoxGround);
            images.FoxMask.setPixelColor(x, y, inFox(x, y) ? FoxGround : Qt::black);
        }
    }
    return images;
}

// ---------------------------------------------------------------------------------------
// The expected frame, built independently of the renderer.

// Grey of the background at column x: 255 stripes of 2 pixels from 192 down to 64, with
// round(k * 128 / 254) rounded half up, then 36 columns of 64.
int backgroundGrey(int x) {
    if (x >= 510)
        return 64;
    const int k = x / 2;
    return 192 - (256 * k + 254) / 508;
}

QImage expectedBackground() {
    QImage image(546, 280, QImage::Format_RGB32);
    for (int y = 0; y < 280; ++y)
        for (int x = 0; x < 546; ++x)
            image.setPixel(x, y, qRgb(backgroundGrey(x), backgroundGrey(x), backgroundGrey(x)));
    return image;
}

// Copy to a scratch surface, OR the mask, AND the image, copy back: with the toolkit's
// raster operations.
void rasterOpComposite(QImage& target, QPoint at, const QImage& image, const QImage& mask) {
    QImage scratch = target.copy(QRect(at, image.size()));
    QPainter painter(&scratch);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(0, 0, mask);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(0, 0, image);
    painter.end();
    QPainter back(&target);
    back.setCompositionMode(QPainter::CompositionMode_Source);
    back.drawImage(at, scratch);
}

int countAscent() {
    return QFontMetrics(platform::programFont(true)).ascent();
}

// variants: one string per row, one letter per column: g plain, C current, A highlighted.
QImage expectedFrame(const TPuzzle& puzzle, const std::vector<std::string>& variants,
                     const TFieldImages& images) {
    QImage frame = expectedBackground();
    const int n = puzzle.FieldSize();
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const char letter =
                variants.at(static_cast<size_t>(i - 1)).at(static_cast<size_t>(j - 1));
            auto variant = [&](const TPlateImages& plate) -> const QImage& {
                return letter == 'C'   ? plate.Current
                       : letter == 'A' ? plate.Highlighted
                                       : plate.Plain;
            };
            std::vector<const TPlateImages*> plates;
            if (i < n && j < n)
                plates.push_back(&images.Inner);
            if (i == n)
                plates.push_back(&images.LastRow);
            if (j == n)
                plates.push_back(&images.LastColumn);
            for (const TPlateImages* plate : plates)
                rasterOpComposite(frame, cellOrigin(i, j), variant(*plate), plate->Mask);
        }
    }
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const QPoint at = cellOrigin(i, j);
            if (puzzle.ViewPlane()[i][j] == vsOpened) {
                rasterOpComposite(frame, at + QPoint(20, -10), images.Flag, images.FlagMask);
                QPainter painter(&frame);
                painter.setFont(platform::programFont(true));
                painter.setPen(QColor(255, 255, 255));
                painter.drawText(testsupport::countAnchor(i, j) + QPoint(0, countAscent()),
                                 QString::number(puzzle.Count(i, j)));
            } else if (puzzle.ViewPlane()[i][j] == vsFound) {
                rasterOpComposite(frame, at + QPoint(11, 2), images.Fox, images.FoxMask);
            }
        }
    }
    return frame;
}

std::vector<std::string> allPlain(int n) {
    return std::vector<std::string>(static_cast<size_t>(n),
                                    std::string(static_cast<size_t>(n), 'g'));
}

::testing::AssertionResult sameImage(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure()
               << "size " << actual.width() << " x " << actual.height() << ", expected "
               << expected.width() << " x " << expected.height();
    int differing = 0;
    std::string first;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QColor got = pixel(actual, x, y);
            const QColor want = pixel(expected, x, y);
            if (got == want)
                continue;
            if (++differing <= 5) {
                first += " (" + std::to_string(x) + ", " + std::to_string(y) +
                         "): " + got.name().toStdString() + " instead of " +
                         want.name().toStdString();
            }
        }
    }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ;" << first;
}

QImage render(const Game& game, bool showHints, const TFieldImages& images = testImages()) {
    TFieldRenderer renderer(images);
    renderer.drawFrame(game.puzzle, showHints);
    return renderer.backBuffer();
}

// ---------------------------------------------------------------------------------------
// Background

TEST(FieldBackground, StripesOfTwoPixelsThenThe36ColumnTail) {
    Game game(3);
    const QImage frame = render(game, true);
    ASSERT_EQ(frame.size(), QSize(546, 280));
    ASSERT_EQ(frame.format(), QImage::Format_RGB32);
    for (int x = 0; x < 546; ++x) {
        const int grey = backgroundGrey(x);
        for (int y : {0, 5, 250, 279})
            ASSERT_EQ(pixel(frame, x, y), QColor(grey, grey, grey)) << "x " << x << " y " << y;
    }
    // Worked values: the first stripe, stripe 1 (-0.504 rounds to -1), the halfway stripe 127
    // (-64 exactly), the last stripe and the tail.
    EXPECT_EQ(pixel(frame, 1, 0), QColor(192, 192, 192));
    EXPECT_EQ(pixel(frame, 2, 0), QColor(191, 191, 191));
    EXPECT_EQ(pixel(frame, 254, 0), QColor(128, 128, 128));
    EXPECT_EQ(pixel(frame, 509, 0), QColor(64, 64, 64));
    EXPECT_EQ(pixel(frame, 510, 0), QColor(64, 64, 64));
    EXPECT_EQ(pixel(frame, 545, 279), QColor(64, 64, 64));
}

TEST(FieldBackground, SmallBoardLeavesEverythingElseToTheGradient) {
    Game game(3);
    const TFieldImages images = testImages();
    const QImage frame = render(game, true, images);
    // Outside every plate's shape (not merely its box) the gradient shows untouched.
    int platePixels = 0;
    for (int y = 0; y < 280; ++y) {
        for (int x = 0; x < 546; ++x) {
            bool covered = false;
            for (int i = 1; i <= 3; ++i) {
                for (int j = 1; j <= 3; ++j) {
                    const QPoint p = QPoint(x, y) - cellOrigin(i, j);
                    const Kind kind = i == 3   ? Kind::LastRow
                                      : j == 3 ? Kind::LastColumn
                                               : Kind::Inner;
                    const int height = kind == Kind::Inner ? 23 : 25;
                    if (p.x() < 0 || p.x() > 40 || p.y() < 0 || p.y() >= height)
                        continue;
                    covered = covered || inPlate(kind, p.x(), p.y()) ||
                              (i == 3 && j == 3 && inPlate(Kind::LastColumn, p.x(), p.y()));
                }
            }
            if (covered) {
                ++platePixels;
                continue;
            }
            const int grey = backgroundGrey(x);
            ASSERT_EQ(pixel(frame, x, y), QColor(grey, grey, grey)) << "x " << x << " y " << y;
        }
    }
    EXPECT_GT(platePixels, 3000); // the shapes above were really there
    // The board's top corner is the top corner of cell (1, 1).
    EXPECT_EQ(pixel(frame, 200, 15), platePixel(PlainRed + InnerTag, 20, 0));
    EXPECT_EQ(pixel(frame, 200, 14),
              QColor(backgroundGrey(200), backgroundGrey(200), backgroundGrey(200)));
}

TEST(FieldBackground, StandsInTheBufferBeforeTheFirstFrame) {
    const TFieldRenderer renderer(testImages());
    EXPECT_TRUE(sameImage(renderer.backBuffer(), expectedBackground()));
}

// ---------------------------------------------------------------------------------------
// Plate placement

class PlatePlacement : public ::testing::TestWithParam<int> {};

TEST_P(PlatePlacement, EveryCellHasItsPlateAtItsOrigin) {
    const int n = GetParam();
    Game game(n);
    const TFieldImages images = testImages();
    const QImage frame = render(game, true, images);
    EXPECT_TRUE(sameImage(frame, expectedFrame(game.puzzle, allPlain(n), images)));
    // The top corner of every diamond says which plate lies there and where its box starts;
    // it lies over the side corners of two earlier cells, which later cells overlap.
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const QPoint top = cellOrigin(i, j) + QPoint(20, 0);
            const int tag = j == n ? LastColumnTag : i == n ? LastRowTag : InnerTag;
            EXPECT_EQ(pixel(frame, top.x(), top.y()), platePixel(PlainRed + tag, 20, 0))
                << "cell " << i << ", " << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlatePlacement, ::testing::Values(3, 8, 10));

TEST(PlatePlacementOnTheLargestBoard, SpansFromZeroTo400WithBothFacesAtTheBottom) {
    Game game(10);
    const QImage frame = render(game, true);
    // Left corner: cell (10, 1) at (0, 105); right corner: cell (1, 10) at (360, 105).
    EXPECT_EQ(pixel(frame, 0, 115), platePixel(PlainRed + LastRowTag, 0, 10));
    EXPECT_EQ(pixel(frame, 400, 115), platePixel(PlainRed + LastColumnTag, 40, 10));
    for (int y = 0; y < 280; ++y)
        ASSERT_EQ(pixel(frame, 401, y),
                  QColor(backgroundGrey(401), backgroundGrey(401), backgroundGrey(401)))
            << "y " << y;
    // Bottom corner: cell (10, 10) at (180, 195) shows the left face of its first plate and
    // the right face of the plate drawn over it; the board ends at y = 219.
    EXPECT_EQ(pixel(frame, 190, 212), platePixel(PlainRed + LastRowTag, 10, 17));
    EXPECT_EQ(pixel(frame, 210, 212), platePixel(PlainRed + LastColumnTag, 30, 17));
    EXPECT_EQ(pixel(frame, 200, 215), platePixel(PlainRed + LastColumnTag, 20, 20));
    EXPECT_EQ(pixel(frame, 200, 219), platePixel(PlainRed + LastColumnTag, 20, 24));
    EXPECT_EQ(pixel(frame, 200, 220),
              QColor(backgroundGrey(200), backgroundGrey(200), backgroundGrey(200)));
    // The left corner's plate has its face.
    EXPECT_EQ(pixel(frame, 10, 122), platePixel(PlainRed + LastRowTag, 10, 17));
}

// ---------------------------------------------------------------------------------------
// Plate variants. On a 4 x 4 board with foxes at (1, 1) and (3, 4): opening (4, 1) sees the
// fox (1, 1) on its column; finding (1, 1) clears its neighbours and, since (4, 1) now sees
// all it counts, every line of (4, 1).

class PlateVariants : public ::testing::Test {
protected:
    PlateVariants() : game_(4, {{1, 1}, {3, 4}}) {
        game_.open(4, 1);
        game_.open(1, 1);
        const std::vector<std::string> cleared{"1101", "1110", "1100", "1111"};
        for (int i = 1; i <= 4; ++i)
            for (int j = 1; j <= 4; ++j)
                EXPECT_EQ(game_.puzzle.HintPlane()[i][j], cleared[i - 1][j - 1] - '0')
                    << "scenario cell " << i << ", " << j;
        EXPECT_EQ(game_.puzzle.ViewPlane()[4][1], vsOpened);
        EXPECT_EQ(game_.puzzle.ViewPlane()[1][1], vsFound);
        pointBesideTheBoard();
    }
    void pointBesideTheBoard() { game_.puzzle.MouseMove(0, 0); }
    ::testing::AssertionResult shows(bool showHints, const std::vector<std::string>& variants) {
        return sameImage(render(game_, showHints, images_),
                         expectedFrame(game_.puzzle, variants, images_));
    }

    Game game_;
    TFieldImages images_ = testImages();
};

TEST_F(PlateVariants, OpenedFoundAndClearedCellsAreHighlightedWithHintsShown) {
    EXPECT_TRUE(shows(true, {"AAgA", "AAAg", "AAgg", "AAAA"}));
}

TEST_F(PlateVariants, WithoutHintsOnlyOpenedAndFoundCellsAreHighlighted) {
    EXPECT_TRUE(shows(false, {"Aggg", "gggg", "gggg", "Aggg"}));
}

TEST_F(PlateVariants, TheCurrentCellIsCyanWhateverItHolds) {
    game_.hover(1, 1); // found: cyan under the fox
    EXPECT_TRUE(shows(true, {"CAgA", "AAAg", "AAgg", "AAAA"}));
    game_.hover(4, 1); // opened: cyan under the flag and its count
    EXPECT_TRUE(shows(true, {"AAgA", "AAAg", "AAgg", "CAAA"}));
    game_.hover(3, 3); // covered
    EXPECT_TRUE(shows(false, {"Aggg", "gggg", "ggCg", "Aggg"}));
    game_.hover(1, 2); // cleared
    EXPECT_TRUE(shows(true, {"ACgA", "AAAg", "AAgg", "AAAA"}));
    game_.hover(4, 4); // both faces of the bottom corner
    EXPECT_TRUE(shows(true, {"AAgA", "AAAg", "AAgg", "AAAC"}));
    // Spot check independent of the expected frame: the cyan right face.
    const QImage frame = render(game_, true, images_);
    EXPECT_EQ(pixel(frame, 210, 92), platePixel(CurrentRed + LastColumnTag, 30, 17));
    EXPECT_EQ(pixel(frame, 190, 92), platePixel(CurrentRed + LastRowTag, 10, 17));
}

TEST_F(PlateVariants, ACurrentCellOutsideTheFieldColoursNothing) {
    EXPECT_EQ(game_.puzzle.HotRow(), 5);
    EXPECT_EQ(game_.puzzle.HotCol(), -4);
    EXPECT_TRUE(shows(true, {"AAgA", "AAAg", "AAgg", "AAAA"}));
    game_.puzzle.MouseMove(260, 76); // beside the right edge: row 2, column 5
    ASSERT_EQ(game_.puzzle.HotRow(), 2);
    ASSERT_EQ(game_.puzzle.HotCol(), 5);
    EXPECT_TRUE(shows(true, {"AAgA", "AAAg", "AAgg", "AAAA"}));
    game_.puzzle.MouseMove(300, 6); // above the upper-right edge: row -2, column 3
    ASSERT_EQ(game_.puzzle.HotRow(), -2);
    ASSERT_EQ(game_.puzzle.HotCol(), 3);
    EXPECT_TRUE(shows(false, {"Aggg", "gggg", "gggg", "Aggg"}));
}

// ---------------------------------------------------------------------------------------
// Flags, counts and foxes

TEST_F(PlateVariants, ShapesChangeOnlyTheirOwnPixels) {
    const QImage frame = render(game_, true, images_);
    // The fox of (1, 1): its top-left at (191, 17); its cut-away corner shows the plate.
    EXPECT_EQ(pixel(frame, 191, 17), FoxColour);
    EXPECT_EQ(pixel(frame, 190, 17),
              QColor(backgroundGrey(190), backgroundGrey(190), backgroundGrey(190)));
    // The near-white ground of the fox is ANDed onto what lies below: bits 0x05, 0x05, 0x06
    // of the plate fall away there (60 & 250 = 56).
    EXPECT_EQ(pixel(frame, 210, 31), QColor(HighlightedRed & 250, 60 & 250, 60 & 249))
        << "plate (1, 2)";
    EXPECT_EQ(pixel(frame, 206, 31), FoxColour);
    // It lies above the plate of (2, 1), drawn after the plate of (1, 1).
    EXPECT_EQ(pixel(frame, 192, 31), FoxColour);
    // The flag of (4, 1) at (140, 35): the pole's foot two pixels above the diamond's centre
    // on its vertical axis, the plate below it, the ground beside the pole kept.
    EXPECT_EQ(pixel(frame, 140, 53), PoleColour);
    EXPECT_EQ(pixel(frame, 140, 54), platePixel(HighlightedRed + LastRowTag, 20, 9));
    EXPECT_EQ(pixel(frame, 141, 53), platePixel(HighlightedRed + LastRowTag, 21, 8));
    EXPECT_EQ(pixel(frame, 140, 35), PoleColour);
    EXPECT_EQ(pixel(frame, 154, 35), clothPixel(14, 0));
    EXPECT_EQ(pixel(frame, 155, 35),
              QColor(backgroundGrey(155), backgroundGrey(155), backgroundGrey(155)));
}

TEST(FlagsAndFoxes, TheGroundOfAShapeKeepsWhatLiesBelow) {
    // The flag of (1, 1) at (200, 5): below its cloth (rows 12 to 18, beside the pole) the
    // plate of (1, 1) and, right of the diamond's upper edge, the bare background show.
    Game game(3, {{3, 3}});
    game.open(1, 1);
    game.puzzle.MouseMove(0, 0);
    const QImage frame = render(game, true);
    int plate = 0;
    int background = 0;
    for (int y = 5 + 12; y <= 5 + 18; ++y) {
        for (int x = 201; x <= 214; ++x) {
            const int px = x - 180;
            const int py = y - 15;
            QColor expected(backgroundGrey(x), backgroundGrey(x), backgroundGrey(x));
            if (inDiamond(px, py)) {
                expected = platePixel(HighlightedRed, px, py);
                ++plate;
            } else {
                ++background;
            }
            EXPECT_EQ(pixel(frame, x, y), expected) << x << ", " << y;
        }
    }
    EXPECT_GT(plate, 20);
    EXPECT_GT(background, 20);
}

TEST(FlagsAndFoxes, LaterSpritesLieOverEarlierOnes) {
    Game game(4, {{1, 1}, {3, 4}});
    game.open(1, 1);
    game.open(2, 2);
    game.puzzle.MouseMove(0, 0);
    const TFieldImages images = testImages();
    const QImage frame = render(game, true, images);
    // The fox of (1, 1) at (191, 17) and the flag of (2, 2) at (200, 25) overlap.
    EXPECT_EQ(pixel(frame, 200, 24), FoxColour);
    EXPECT_EQ(pixel(frame, 200, 25), PoleColour);
    EXPECT_EQ(pixel(frame, 200, 31), PoleColour);
    EXPECT_EQ(pixel(frame, 201, 35), clothPixel(1, 10));
    EXPECT_TRUE(
        sameImage(frame, expectedFrame(game.puzzle, {"AAAg", "AAAA", "AAAg", "gAgA"}, images)));
}

TEST(EmbeddedImages, CompositeWithTheirMasks) {
    const TFieldImages images = loadFieldImages();
    ASSERT_TRUE(images.problems().isEmpty()) << images.problems().join(' ').toStdString();
    Game game(10, {{1, 1}, {3, 4}, {6, 8}});
    game.open(2, 2);
    game.open(1, 1);
    game.open(10, 10);
    game.open(5, 5);
    game.hover(5, 5);
    const QImage frame = render(game, true, images);
    std::vector<std::string> variants = allPlain(10);
    for (int i = 1; i <= 10; ++i)
        for (int j = 1; j <= 10; ++j)
            if (game.puzzle.ViewPlane()[i][j] != vsCovered || game.puzzle.HintPlane()[i][j] == 1)
                variants[i - 1][j - 1] = 'A';
    variants[4][4] = 'C';
    EXPECT_TRUE(sameImage(frame, expectedFrame(game.puzzle, variants, images)));
}

bool isBackground(const QImage& frame, int x, int y) {
    const int grey = backgroundGrey(x);
    return pixel(frame, x, y) == QColor(grey, grey, grey);
}

TEST(EmbeddedImages, TheLargestBoardSpansColumns0To400) {
    const TFieldImages images = loadFieldImages();
    ASSERT_TRUE(images.problems().isEmpty());
    Game game(10);
    const QImage frame = render(game, true, images);
    auto plateInColumn = [&](int x) {
        for (int y = 0; y < 280; ++y)
            if (!isBackground(frame, x, y))
                return true;
        return false;
    };
    EXPECT_TRUE(plateInColumn(0));
    EXPECT_TRUE(plateInColumn(400));
    EXPECT_FALSE(plateInColumn(401));
    // The diamond's side corners at (x0, y0 + 10) and (x0 + 40, y0 + 10) are plate pixels.
    EXPECT_FALSE(isBackground(frame, 0, 115));
    EXPECT_FALSE(isBackground(frame, 400, 115));
    // Nothing above the top corner (200, 15) or below y = 219.
    for (int x = 0; x < 546; ++x) {
        ASSERT_TRUE(isBackground(frame, x, 14)) << x;
        ASSERT_TRUE(isBackground(frame, x, 220)) << x;
    }
    EXPECT_FALSE(isBackground(frame, 200, 15));
    EXPECT_FALSE(isBackground(frame, 200, 219));
}

TEST(EmbeddedImages, TheFlagPoleStandsOnTheDiamondsAxis) {
    const TFieldImages images = loadFieldImages();
    ASSERT_TRUE(images.problems().isEmpty());
    Game game(5, {{5, 5}});
    game.open(3, 2);
    game.puzzle.MouseMove(0, 0);
    const QImage frame = render(game, true, images);
    const QPoint at = cellOrigin(3, 2); // (160, 45)
    // The pole is the flag's left column down to its last row, the foot at (x0 + 20, y0 + 8).
    for (int y = 0; y < 19; ++y) {
        ASSERT_EQ(pixel(images.FlagMask, 0, y), QColor(Qt::white)) << "pole row " << y;
        EXPECT_EQ(pixel(frame, at.x() + 20, at.y() - 10 + y), pixel(images.Flag, 0, y)) << y;
    }
    // Just below the foot, the opened cell's amber plate shows again.
    ASSERT_EQ(pixel(images.Inner.Mask, 20, 9), QColor(Qt::white));
    EXPECT_EQ(pixel(frame, at.x() + 20, at.y() + 9), pixel(images.Inner.Highlighted, 20, 9));
}

// A count of 10: ten foxes on the row, the column and both diagonals of (5, 5).
TEST(CountText, TwoDigitsStartAtTheAnchorOfOne) {
    Game game(10, {{5, 1}, {5, 3}, {5, 7}, {5, 9}, {1, 5}, {3, 5}, {7, 5}, {9, 5}, {3, 3}, {7, 7}});
    game.open(5, 5);
    game.open(10, 1); // sees (5, 1)
    ASSERT_EQ(game.puzzle.GetN(5, 5), 10);
    ASSERT_EQ(game.puzzle.GetN(10, 1), 1);
    game.puzzle.MouseMove(0, 0);
    const TFieldImages images = testImages();
    const QImage frame = render(game, true, images);

    std::vector<std::string> variants = allPlain(10);
    for (int i = 1; i <= 10; ++i)
        for (int j = 1; j <= 10; ++j)
            if (game.puzzle.ViewPlane()[i][j] != vsCovered || game.puzzle.HintPlane()[i][j] == 1)
                variants[i - 1][j - 1] = 'A';
    EXPECT_TRUE(sameImage(frame, expectedFrame(game.puzzle, variants, images)));

    // The pure white pixels of a count, relative to its anchor (x0 + 23, y0 - 11).
    auto whitePixels = [&](int row, int col) {
        const QPoint anchor = testsupport::countAnchor(row, col);
        std::vector<QPoint> white;
        for (int y = -4; y < 20; ++y)
            for (int x = -4; x < 30; ++x)
                if (pixel(frame, anchor.x() + x, anchor.y() + y) == QColor(255, 255, 255))
                    white.emplace_back(x, y);
        return white;
    };
    // The same texts drawn on black with their top-left at (4, 4).
    auto glyphPixels = [](const QString& text) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setFont(platform::programFont(true));
        painter.setPen(Qt::white);
        painter.drawText(4, 4 + QFontMetrics(platform::programFont(true)).ascent(), text);
        painter.end();
        std::vector<QPoint> white;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 34; ++x)
                if (pixel(image, x, y) == QColor(255, 255, 255))
                    white.emplace_back(x - 4, y - 4);
        return white;
    };
    auto byX = [](QPoint a, QPoint b) { return a.x() < b.x(); };
    const std::vector<QPoint> one = whitePixels(10, 1);
    const std::vector<QPoint> ten = whitePixels(5, 5);
    ASSERT_FALSE(one.empty());
    EXPECT_EQ(one, glyphPixels(QStringLiteral("1")));
    EXPECT_EQ(ten, glyphPixels(QStringLiteral("10")));
    // "1" is also the first glyph of "10": both start in the same pixel column.
    ASSERT_FALSE(ten.empty());
    EXPECT_EQ(std::min_element(one.begin(), one.end(), byX)->x(),
              std::min_element(ten.begin(), ten.end(), byX)->x());
}

// ---------------------------------------------------------------------------------------
// Images and the field area

TEST(FieldImages, MissingOrMisSizedImagesAreReportedAndDrawNothing) {
    TFieldImages images = testImages();
    images.Fox = QImage();
    images.LastRow.Mask = images.LastRow.Mask.copy(0, 0, 40, 25);
    const QStringList problems = images.problems();
    EXPECT_EQ(problems, QStringList({QStringLiteral("The field image MASK_L is 40 x 25 pixels "
                                                    "instead of 41 x 25."),
                                     QStringLiteral("The field image FOX is missing.")}));
    EXPECT_TRUE(testImages().problems().isEmpty());

    Game game(3, {{1, 1}});
    game.open(1, 1);
    TFieldRenderer renderer(images);
    EXPECT_EQ(renderer.imageProblems(), problems);
    renderer.drawFrame(game.puzzle, true);
    // No fox where it would stand; the plate of (1, 1) shows instead.
    EXPECT_EQ(pixel(renderer.backBuffer(), 200, 20), platePixel(CurrentRed, 20, 5));
}

TEST(FieldArea, ShowsTheTopLeftOfTheFrameAndReportsThePointer) {
    TFieldArea area;
    EXPECT_EQ(area.size(), QSize(401, 225));
    EXPECT_EQ(area.focusPolicy(), Qt::NoFocus);
    Game game(10, {{2, 2}});
    game.open(2, 2);
    area.showFrame(game.puzzle, true);
    const QImage shown = area.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(sameImage(shown, area.renderer().backBuffer().copy(0, 0, 401, 225)));

    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    QSignalSpy moved(&area, &TFieldArea::mouseMoved);
    QSignalSpy released(&area, &TFieldArea::mouseReleased);
    QTest::mouseMove(&area, QPoint(200, 26));
    ASSERT_GE(moved.count(), 1);
    EXPECT_EQ(moved.last().at(0).toInt(), 200);
    EXPECT_EQ(moved.last().at(1).toInt(), 26);
    QTest::mouseClick(&area, Qt::LeftButton, Qt::NoModifier, QPoint(120, 60));
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(released.at(0).at(1).toInt(), 120);
    EXPECT_EQ(released.at(0).at(2).toInt(), 60);

    // Only a release whose press the area saw is reported, as with a captured mouse: not one
    // left over from a window move, nor a second one, nor one of another button.
    QTest::mouseRelease(&area, Qt::LeftButton, Qt::NoModifier, QPoint(130, 70));
    QTest::mousePress(&area, Qt::RightButton, Qt::NoModifier, QPoint(130, 70));
    QTest::mouseRelease(&area, Qt::LeftButton, Qt::NoModifier, QPoint(130, 70));
    EXPECT_EQ(released.count(), 1);
    QTest::mouseRelease(&area, Qt::RightButton, Qt::NoModifier, QPoint(140, 70));
    ASSERT_EQ(released.count(), 2);
    EXPECT_EQ(released.at(1).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    // The press still reaches the window that holds the area.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 20), QPointF(20, 20),
                      area.mapToGlobal(QPointF(20, 20)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&area, &press);
    EXPECT_FALSE(press.isAccepted());
    QTest::mouseRelease(&area, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(released.count(), 3);
}

} // namespace

} // namespace tarnell
