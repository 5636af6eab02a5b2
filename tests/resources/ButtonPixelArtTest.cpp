// The drawing tools behind the button faces and window pictures: hard-edged shapes, the
// shading lit from the top left, the rounded face outline, lettering placement and the
// colour reduction that keeps 8- and 4-bit pictures inside their palettes.
#include "ButtonPixelArt.h"
#include "ButtonFaceArt.h"

#include <QPainter>
#include <QSet>
#include <gtest/gtest.h>

namespace tarnell {

using namespace generator;

namespace {

QRgb plain(QRgb colour) {
    return colour & 0xFFFFFFu;
}

QSet<QRgb> coloursOf(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(plain(image.pixel(x, y)));
    return colours;
}

ShapeMask square(int size, int left, int top, int side) {
    ShapeMask mask(size, size);
    for (int y = top; y < top + side; ++y)
        for (int x = left; x < left + side; ++x)
            mask.set(x, y);
    return mask;
}

TEST(ShapeMask, BorderGrowthAndSetOperations) {
    const ShapeMask box = square(10, 2, 2, 4); // pixels 2..5
    EXPECT_TRUE(box.isBorder(2, 3));
    EXPECT_TRUE(box.isBorder(5, 5));
    EXPECT_FALSE(box.isBorder(3, 3));
    EXPECT_FALSE(box.isBorder(0, 0)) << "outside is never border";
    EXPECT_EQ(box.bounds(), QRect(2, 2, 4, 4));
    EXPECT_EQ(box.grown().bounds(), QRect(1, 1, 6, 6));
    EXPECT_TRUE(box.grown().at(1, 1)) << "growth reaches the diagonal neighbours";
    EXPECT_EQ(box.shifted(3, -1).bounds(), QRect(5, 1, 4, 4));
    EXPECT_EQ(box.shifted(6, 0).bounds(), QRect(8, 2, 2, 4)) << "shifted off the edge is cut";
    const ShapeMask other = square(10, 4, 4, 4);
    EXPECT_EQ(box.intersected(other).bounds(), QRect(4, 4, 2, 2));
    EXPECT_FALSE(box.minus(other).at(4, 4));
    EXPECT_TRUE(box.minus(other).at(2, 5));
    EXPECT_TRUE(box.united(other).at(7, 7));
    EXPECT_TRUE(ShapeMask(4, 4).isEmpty());
}

TEST(ShapeMask, PaintedShapesHaveNoHalfCoveredPixels) {
    const ShapeMask disc = ShapeMask::fromPainting(
        16, 16, [](QPainter& p) { p.drawEllipse(QPointF(8, 8), 5.5, 5.5); });
    QImage image = filled(16, 16, Qt::magenta);
    paintFlat(image, disc, Qt::darkGreen);
    EXPECT_EQ(coloursOf(image),
              (QSet<QRgb>{plain(QColor(Qt::magenta).rgb()), plain(QColor(Qt::darkGreen).rgb())}));
    EXPECT_TRUE(disc.at(8, 8));
    EXPECT_FALSE(disc.at(1, 1));
}

TEST(Shading, OutlineOnTheBorderLightUpperLeftShadeLowerRight) {
    const Shading s{QColor(1, 1, 1), QColor(2, 2, 2), QColor(3, 3, 3), QColor(4, 4, 4),
                    QColor(5, 5, 5)};
    QImage image = filled(12, 12, Qt::white);
    paintShaded(image, square(12, 1, 1, 10), s); // pixels 1..10
    auto at = [&](int x, int y) { return plain(image.pixel(x, y)); };
    EXPECT_EQ(at(0, 0), plain(qRgb(255, 255, 255)));
    EXPECT_EQ(at(1, 5), plain(qRgb(1, 1, 1)));
    EXPECT_EQ(at(10, 5), plain(qRgb(1, 1, 1)));
    EXPECT_EQ(at(2, 2), plain(qRgb(2, 2, 2))) << "inner upper-left corner is lit";
    EXPECT_EQ(at(5, 2), plain(qRgb(2, 2, 2))) << "inner top edge is lit";
    EXPECT_EQ(at(9, 5), plain(qRgb(5, 5, 5))) << "inner right edge is shaded";
    EXPECT_EQ(at(5, 9), plain(qRgb(5, 5, 5))) << "inner bottom edge is shaded";
    // The body runs from top to bottom between its two colours.
    EXPECT_EQ(at(5, 1 + 1 + 1), plain(mix(QColor(3, 3, 3), QColor(4, 4, 4), 2 / 9.0).rgb()));

    QImage offset = filled(12, 12, Qt::white);
    paintShaded(offset, square(12, 1, 1, 4), s, QPoint(5, 6));
    EXPECT_EQ(plain(offset.pixel(6, 7)), plain(qRgb(1, 1, 1)));
    EXPECT_EQ(plain(offset.pixel(1, 1)), plain(qRgb(255, 255, 255)));
}

TEST(Shading, EmbossedIsGreyWithAWhiteEdgeBelowRight) {
    QImage image = filled(8, 8, QColor(128, 128, 0));
    paintEmbossed(image, square(8, 2, 2, 3));
    EXPECT_EQ(coloursOf(image), (QSet<QRgb>{plain(qRgb(128, 128, 0)), plain(qRgb(128, 128, 128)),
                                            plain(qRgb(255, 255, 255))}));
    EXPECT_EQ(plain(image.pixel(4, 4)), plain(qRgb(128, 128, 128)));
    EXPECT_EQ(plain(image.pixel(5, 5)), plain(qRgb(255, 255, 255)));
    EXPECT_EQ(plain(image.pixel(1, 1)), plain(qRgb(128, 128, 0)));
}

TEST(Colours, MixingAndGreys) {
    EXPECT_EQ(mix(QColor(0, 100, 200), QColor(100, 0, 200), 0.5), QColor(50, 50, 200));
    EXPECT_EQ(lighter(QColor(0, 0, 0), 1.0), QColor(255, 255, 255));
    EXPECT_EQ(darker(QColor(200, 100, 50), 0.5), QColor(100, 50, 25));
    const QColor grey = greyOf(QColor(220, 40, 30));
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.green(), grey.blue());
    EXPECT_EQ(greyOf(QColor(90, 90, 90)), QColor(90, 90, 90)) << "a grey keeps its lightness";
}

TEST(RoundedMask, CornersFollowTheirEllipseAndTheMiddleIsFull) {
    const ShapeMask face = roundedMask(45, 22, 5, 5);
    // Radius 5: the first row loses three pixels at each end, the next two rows one.
    const int insets[] = {3, 1, 1, 0, 0};
    for (int row = 0; row < 5; ++row) {
        const int inset = insets[row];
        EXPECT_FALSE(inset > 0 && face.at(inset - 1, row)) << "row " << row;
        EXPECT_TRUE(face.at(inset, row)) << "row " << row;
        // The same at the right end and in the bottom rows: the shape is symmetric.
        EXPECT_TRUE(face.at(44 - inset, row)) << "row " << row;
        EXPECT_FALSE(inset > 0 && face.at(45 - inset, row)) << "row " << row;
        EXPECT_EQ(face.at(inset, 21 - row), true) << "row " << 21 - row;
        EXPECT_EQ(inset > 0 && face.at(inset - 1, 21 - row), false) << "row " << 21 - row;
    }
    for (int x = 0; x < 45; ++x)
        EXPECT_TRUE(face.at(x, 11));
}

TEST(GlossyFace, LooksDifferAsTheButtonsNeedAndTheGroundStaysInTheCorners) {
    const QColor ground(148, 148, 148);
    const QColor red(214, 38, 32);
    auto meanLightness = [](const QImage& image) {
        double sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += QColor(image.pixel(x, y)).lightness();
        return sum / (image.width() * image.height());
    };
    const QImage normal = glossyFace(60, 22, red, FaceLook::Normal, ground, 5, 5);
    const QImage active = glossyFace(60, 22, red, FaceLook::Active, ground, 5, 5);
    const QImage pressed = glossyFace(60, 22, red, FaceLook::Pressed, ground, 5, 5);
    const QImage disabled = glossyFace(60, 22, red, FaceLook::Disabled, ground, 5, 5);
    for (const QImage* face : {&normal, &active, &pressed, &disabled}) {
        EXPECT_EQ(QColor(face->pixel(0, 0)), ground);
        EXPECT_EQ(QColor(face->pixel(59, 21)), ground);
        EXPECT_NE(QColor(face->pixel(30, 11)), ground);
    }
    EXPECT_GT(meanLightness(active), meanLightness(normal));
    EXPECT_LT(meanLightness(pressed), meanLightness(normal));
    for (QRgb colour : coloursOf(disabled))
        EXPECT_TRUE(qRed(colour) == qGreen(colour) && qGreen(colour) == qBlue(colour));
    // Lit from the top left: the upper half is lighter than the lower, unless pressed in.
    const int topRow = QColor(normal.pixel(30, 3)).lightness();
    const int bottomRow = QColor(normal.pixel(30, 18)).lightness();
    EXPECT_GT(topRow, bottomRow);
    EXPECT_GT(QColor(normal.pixel(1, 11)).lightness(), QColor(normal.pixel(58, 11)).lightness())
        << "the left inner edge catches the light";
    EXPECT_LT(QColor(pressed.pixel(1, 11)).lightness(), QColor(pressed.pixel(58, 11)).lightness())
        << "a pressed face is lit from the other side";
    EXPECT_EQ(lookShift(FaceLook::Pressed), QPoint(1, 1));
    EXPECT_EQ(lookShift(FaceLook::Active), QPoint(0, 0));
}

TEST(Lettering, InkIsCentredAcrossAndCapitalsDownTheBox) {
    for (const char* word : {"New", "Generate", "Try"}) {
        const Lettering lettering = letter(QString::fromLatin1(word), letteringFont(11), 60, 22);
        const QRect ink = lettering.solid().bounds();
        ASSERT_FALSE(ink.isEmpty()) << word;
        const int leftGap = ink.left();
        const int rightGap = 59 - ink.right();
        EXPECT_LE(std::abs(leftGap - rightGap), 2) << word;
        // Capitals sit in the middle rows whatever hangs below the line.
        EXPECT_GE(ink.top(), 5) << word;
        EXPECT_LE(ink.top(), 8) << word;
    }
    const Lettering none = letter(QString(), letteringFont(11), 20, 10);
    EXPECT_TRUE(none.solid().isEmpty());
}

TEST(Lettering, FillOverAOnePixelOutline) {
    QImage image = filled(40, 22, QColor(30, 90, 200));
    const Lettering lettering = letter(QStringLiteral("I"), letteringFont(14), 40, 22);
    paintLettering(image, lettering, Qt::white, Qt::black);
    const ShapeMask solid = lettering.solid();
    const ShapeMask ring = solid.grown().minus(solid);
    int ringPixels = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 40; ++x) {
            if (solid.at(x, y) && lettering.at(x, y) == 3) {
                EXPECT_EQ(plain(image.pixel(x, y)), plain(qRgb(255, 255, 255)));
            }
            if (ring.at(x, y) && lettering.at(x, y) == 0) {
                EXPECT_EQ(plain(image.pixel(x, y)), plain(qRgb(0, 0, 0)));
                ++ringPixels;
            }
        }
    EXPECT_GT(ringPixels, 10);
    // Shifted, as on a pressed face.
    QImage shifted = filled(40, 22, QColor(30, 90, 200));
    paintLettering(shifted, lettering, Qt::white, Qt::black, QPoint(1, 1));
    EXPECT_EQ(shifted.copy(1, 1, 39, 21), image.copy(0, 0, 39, 21));
}

TEST(ColourReduction, StaysWithinTheLimitKeepsChosenColoursAndStaysClose) {
    QImage image(64, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 16, 255 - x * 2));
    image.setPixel(0, 15, qRgb(148, 148, 148));
    const QImage original = image;
    reduceColours(image, 16, {qRgb(148, 148, 148)});
    const QSet<QRgb> colours = coloursOf(image);
    EXPECT_LE(colours.size(), 16);
    EXPECT_TRUE(colours.contains(plain(qRgb(148, 148, 148))));
    EXPECT_EQ(plain(image.pixel(0, 15)), plain(qRgb(148, 148, 148)));
    int worst = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb a = original.pixel(x, y);
            const QRgb b = image.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 80) << "every pixel stays near its own colour";

    QImage again = original;
    reduceColours(again, 16, {qRgb(148, 148, 148)});
    EXPECT_EQ(again, image) << "the same picture always reduces the same way";

    QImage few = filled(8, 8, Qt::red);
    few.setPixel(3, 3, qRgb(0, 0, 255));
    const QImage fewBefore = few;
    reduceColours(few, 16);
    EXPECT_EQ(few, fewBefore) << "a picture within the limit is left alone";
    EXPECT_EQ(countColours(fewBefore), 2);
}

} // namespace

} // namespace tarnell
