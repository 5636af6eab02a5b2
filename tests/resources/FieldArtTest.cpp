// The field's pictures: masks that match their shapes exactly, the diamond geometry of the
// plates and their side faces, the named colours, plates that tile into a closed board, and
// a flag and a fox that composite cleanly.
#include "StoredFiles.h"
#include "platform/Resources.h"
#include "platform/drawing/Drawing.h"
#include "tests/support/FieldGeometry.h"

#include <QColor>
#include <gtest/gtest.h>
#include <map>

namespace tarnell {

using namespace resourcetest;

namespace {

constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Black = 0x000000;
constexpr QRgb FoxGround = 0xFAFAF9;

QImage load(const char* name) {
    return platform::loadBitmap(QString::fromLatin1(name));
}

int luminance(QRgb c) {
    return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;
}

bool inDiamond(int x, int y) {
    return std::abs(x - 20) + 2 * std::abs(y - 10) <= 20;
}

struct Shape {
    const char* picture;
    const char* mask;
    QRgb ground;
    QRgb shapeColour;
};

const Shape Shapes[] = {
    {"PLATE", "MASKP", White, White},       {"PLATEB", "MASKP", White, White},
    {"PLATEY", "MASKP", White, White},      {"PLATE_L", "MASK_L", White, White},
    {"PLATE_LB", "MASK_L", White, White},   {"PLATE_LY", "MASK_L", White, White},
    {"PLATE_R", "MASK_R", White, White},    {"PLATE_RB", "MASK_R", White, White},
    {"PLATE_RY", "MASK_R", White, White},   {"FLAG", "FLAG_M", White, White},
    {"FOX", "FOX_M", FoxGround, FoxGround},
};

class MaskOfShape : public ::testing::TestWithParam<Shape> {};

TEST_P(MaskOfShape, MarksExactlyThePixelsThatDifferFromTheGround) {
    const Shape s = GetParam();
    const QImage picture = load(s.picture);
    const QImage mask = load(s.mask);
    ASSERT_FALSE(picture.isNull());
    ASSERT_EQ(picture.size(), mask.size());
    int shapePixels = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool shape = rgbAt(picture, x, y) != s.ground;
            shapePixels += shape ? 1 : 0;
            EXPECT_EQ(rgbAt(mask, x, y), shape ? s.shapeColour : Black)
                << s.mask << " at " << x << ", " << y;
        }
    EXPECT_GT(shapePixels, picture.width() * picture.height() / 4) << s.picture;
}

TEST_P(MaskOfShape, CompositesWithoutAHaloOrAColourShift) {
    // Through the mask onto a dark and a mid-grey ground, every shape pixel comes out in
    // the picture's own colour and every other pixel keeps the ground's.
    const Shape s = GetParam();
    const QImage picture = load(s.picture);
    const QImage mask = load(s.mask);
    for (const QRgb ground : {QRgb(0x000000), QRgb(0x808080), QRgb(0x404040)}) {
        QImage target(picture.size(), QImage::Format_RGB32);
        target.fill(ground);
        platform::maskComposite(target, QPoint(0, 0), picture, mask);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const bool shape = rgbAt(mask, x, y) != Black;
                const QRgb expected = shape ? rgbAt(picture, x, y) : (ground & s.ground);
                ASSERT_EQ(rgbAt(target, x, y), expected)
                    << s.picture << " at " << x << ", " << y << " on " << std::hex << ground;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(Field, MaskOfShape, ::testing::ValuesIn(Shapes),
                         [](const auto& info) { return std::string(info.param.picture); });

TEST(PlateGeometry, FlatMaskIsTheDiamondWithItsFourCorners) {
    const QImage mask = load("MASKP");
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 41; ++x)
            EXPECT_EQ(rgbAt(mask, x, y), inDiamond(x, y) ? White : Black) << x << ", " << y;
    for (const QPoint corner : {QPoint(20, 0), QPoint(0, 10), QPoint(40, 10), QPoint(20, 20)})
        EXPECT_EQ(rgbAt(mask, corner.x(), corner.y()), White);
}

// Below the diamond, a thick plate's mask holds a side face five pixels deep under one of
// the lower edges (cut by the box at the bottom corner) and nothing else.
void expectSideFace(const char* maskName, bool leftFace) {
    const QImage mask = load(maskName);
    ASSERT_EQ(mask.size(), QSize(41, 25));
    for (int x = 0; x < 41; ++x) {
        int lowest = -1;
        for (int y = 0; y < 25; ++y)
            if (inDiamond(x, y)) {
                EXPECT_EQ(rgbAt(mask, x, y), White) << maskName << " " << x << ", " << y;
                lowest = y;
            }
        const bool faced = leftFace ? x <= 20 : x >= 20;
        int depth = 0;
        for (int y = lowest + 1; y < 25; ++y) {
            const bool white = rgbAt(mask, x, y) == White;
            if (white) {
                EXPECT_EQ(depth, y - lowest - 1) << maskName << ": a gap in column " << x;
            }
            depth += white ? 1 : 0;
        }
        if (faced) {
            EXPECT_EQ(depth, std::min(5, 24 - lowest)) << maskName << " column " << x;
        } else {
            EXPECT_EQ(depth, 0) << maskName << " column " << x;
        }
    }
}

TEST(PlateGeometry, ThickMasksAddFivePixelsBelowOneLowerEdge) {
    expectSideFace("MASK_L", true);
    expectSideFace("MASK_R", false);
}

struct PlateColours {
    const char* names[3];
    QRgb face;
    QRgb rim;
};

const PlateColours Families[] = {
    {{"PLATE", "PLATE_L", "PLATE_R"}, qRgb(0, 96, 16), qRgb(0, 68, 10)},
    {{"PLATEB", "PLATE_LB", "PLATE_RB"}, qRgb(100, 236, 246), qRgb(40, 184, 200)},
    {{"PLATEY", "PLATE_LY", "PLATE_RY"}, qRgb(255, 206, 56), qRgb(220, 164, 28)},
};

TEST(PlateColours, FaceIsTheMainColourWithItsRimAndLitUpperLeftEdges) {
    for (const PlateColours& family : Families)
        for (const char* name : family.names) {
            const QImage plate = load(name);
            std::map<QRgb, int> counts;
            for (int y = 0; y < plate.height(); ++y)
                for (int x = 0; x < plate.width(); ++x)
                    if (inDiamond(x, y))
                        ++counts[rgbAt(plate, x, y)];
            const auto most = std::max_element(counts.begin(), counts.end(),
                                               [](auto a, auto b) { return a.second < b.second; });
            EXPECT_EQ(most->first, family.face & 0xFFFFFF) << name;
            EXPECT_TRUE(counts.contains(family.rim & 0xFFFFFF)) << name << " has no rim colour";
            // The light comes from the upper left: just inside the upper-left edge is
            // brighter than the face, just inside the lower-right edge darker.
            EXPECT_GT(luminance(rgbAt(plate, 12, 5)), luminance(family.face)) << name;
            EXPECT_LT(luminance(rgbAt(plate, 28, 15)), luminance(family.face)) << name;
            EXPECT_FALSE(counts.contains(White)) << name << " has white inside its diamond";
        }
}

TEST(PlateColours, SideFacesAreDarkerShadesOfTheFace) {
    for (const PlateColours& family : Families)
        for (int k = 1; k <= 2; ++k) {
            const QImage plate = load(family.names[k]);
            const QImage mask = load(k == 1 ? "MASK_L" : "MASK_R");
            int faces = 0;
            for (int y = 0; y < 25; ++y)
                for (int x = 0; x < 41; ++x)
                    if (!inDiamond(x, y) && rgbAt(mask, x, y) == White) {
                        ++faces;
                        const QRgb c = rgbAt(plate, x, y);
                        EXPECT_LT(luminance(c), luminance(family.face) * 9 / 10)
                            << family.names[k] << " at " << x << ", " << y;
                        // A shade of the face: no channel the face lacks.
                        for (int shift : {0, 8, 16})
                            if (((family.face >> shift) & 0xFF) == 0) {
                                EXPECT_EQ((c >> shift) & 0xFF, 0u) << family.names[k];
                            }
                    }
            EXPECT_GT(faces, 80) << family.names[k];
        }
}

// The board as the renderer builds it: plates in row-major order through their masks.
QImage board(int n, QRgb ground) {
    QImage image(546, 280, QImage::Format_RGB32);
    image.fill(ground);
    const QImage flat = load("PLATE"), left = load("PLATE_L"), right = load("PLATE_R");
    const QImage flatMask = load("MASKP"), leftMask = load("MASK_L"), rightMask = load("MASK_R");
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            const QPoint at = testsupport::cellOrigin(i, j);
            if (i != n && j != n)
                platform::maskComposite(image, at, flat, flatMask);
            if (i == n)
                platform::maskComposite(image, at, left, leftMask);
            if (j == n)
                platform::maskComposite(image, at, right, rightMask);
        }
    return image;
}

TEST(PlateTiling, TenByTenBoardIsClosedWithAThickFrontAndNothingOutside) {
    const QRgb magenta = 0xFF00FF;
    const QImage image = board(10, magenta);
    // The board's diamond: top (200, 15), left (0, 115), right (400, 115), bottom (200, 215).
    for (int x = 0; x < 546; ++x) {
        const int lowest =
            x <= 400 ? 115 + (200 - std::abs(x - 200)) / 2 : -1; // bottom of the top face
        for (int y = 0; y < 280; ++y) {
            const QRgb c = rgbAt(image, x, y);
            ASSERT_NE(c, White) << "white ground shows at " << x << ", " << y;
            const bool top = std::abs(x - 200) + 2 * std::abs(y - 115) <= 200;
            if (top) {
                ASSERT_NE(c, magenta) << "a gap in the board at " << x << ", " << y;
                continue;
            }
            // The front edges carry a face 5 pixels deep (4 at the very bottom corner, where
            // the plate's box ends).
            if (lowest >= 115 && y > lowest && y <= lowest + 4) {
                ASSERT_NE(c, magenta) << "no side face at " << x << ", " << y;
            } else if (lowest < 115 || y > lowest + 5 || y < 115) {
                ASSERT_EQ(c, magenta) << "paint outside the board at " << x << ", " << y;
            }
        }
    }
}

TEST(Flag, PoleInTheLeftColumnAndRedClothOverTheTopTwelveRows) {
    const QImage flag = load("FLAG");
    const QImage mask = load("FLAG_M");
    for (int y = 0; y < 19; ++y) {
        EXPECT_EQ(rgbAt(mask, 0, y), White) << "the pole reaches row " << y;
        if (y > 0) {
            EXPECT_LT(luminance(rgbAt(flag, 0, y)), 90) << "the pole is dark at row " << y;
        }
    }
    int red = 0;
    for (int y = 0; y < 19; ++y)
        for (int x = 1; x < 15; ++x) {
            const QRgb c = rgbAt(flag, x, y);
            if (y >= 12) {
                EXPECT_EQ(c, White) << "below the cloth at " << x << ", " << y;
            }
            red += (qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100) ? 1 : 0;
        }
    EXPECT_GT(red, 14 * 12 / 2) << "the cloth is mostly red";
    for (int x = 1; x < 15; ++x)
        EXPECT_NE(rgbAt(flag, x, 0), White) << "the cloth reaches the top row at " << x;
}

TEST(Fox, BrownsOnANearWhiteGround) {
    const QImage fox = load("FOX");
    for (const QPoint corner : {QPoint(19, 0), QPoint(19, 14)})
        EXPECT_EQ(rgbAt(fox, corner.x(), corner.y()), FoxGround);
    int orange = 0, dark = 0, light = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb c = rgbAt(fox, x, y);
            if (c == FoxGround)
                continue;
            orange += (qRed(c) > 170 && qRed(c) > qGreen(c) + 60 && qGreen(c) > qBlue(c)) ? 1 : 0;
            dark += luminance(c) < 60 ? 1 : 0;
            light += luminance(c) > 200 ? 1 : 0;
        }
    EXPECT_GT(orange, 40) << "an orange-brown coat";
    EXPECT_GT(dark, 10) << "dark legs, ears and outline";
    EXPECT_GT(light, 8) << "a white chest and tail tip";
}

} // namespace

} // namespace tarnell
