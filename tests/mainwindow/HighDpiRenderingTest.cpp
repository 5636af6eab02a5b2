// Every self-drawn control at a device pixel ratio of 2: pixel art in sharp 2 x 2 blocks that
// match the 1x picture, text written at the device's resolution (finer than the blocks); and
// the board redrawn when its window goes to a screen of another scale.
#include "MainFormFixture.h"

#include "core/Puzzle.h"
#include "mainwindow/FieldArea.h"
#include "platform/Resources.h"
#include "platform/drawing/Fonts.h"
#include "skin/SkinnedForm.h"
#include "tests/support/FieldGeometry.h"
#include "tests/support/ScriptedSources.h"
#include "tests/support/TestSupport.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"
#include "widgets/buttons/buts.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <utility>

namespace tarnell {

namespace {

// The whole program in this test runs at twice the resolution, as on a high-density screen:
// the first of two screens, side by side, is scaled by 2, the second by 1, so that a window
// can be moved from one scale to the other. This is set before main() creates the application.
struct TwoScreens {
    QString config = QDir::temp().filePath(
        QStringLiteral("tarnell-screens-%1.json").arg(QCoreApplication::applicationPid()));
    bool ready = false;
    TwoScreens() {
        QFile file(config);
        ready = file.open(QIODevice::WriteOnly) && file.write(R"({"screens": [
                    {"name": "dense", "x": 0, "y": 0, "width": 2000, "height": 1600},
                    {"name": "plain", "x": 2000, "y": 0, "width": 2000, "height": 1600}]})") > 0;
        file.close();
        ready = ready &&
                qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit()) &&
                qputenv("QT_SCREEN_SCALE_FACTORS", "dense=2;plain=1");
    }
    ~TwoScreens() { QFile::remove(config); }
};
const TwoScreens screens;
const bool scaled = screens.ready;

constexpr int Ratio = 2;

QImage grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether the four device pixels of logical pixel (x, y) have one colour.
bool isBlock(const QImage& image, int x, int y) {
    const QRgb first = image.pixel(Ratio * x, Ratio * y);
    return image.pixel(Ratio * x + 1, Ratio * y) == first &&
           image.pixel(Ratio * x, Ratio * y + 1) == first &&
           image.pixel(Ratio * x + 1, Ratio * y + 1) == first;
}

// How many logical pixels of area are not one block of a colour.
int finerPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += isBlock(image, x, y) ? 0 : 1;
    return count;
}

// Logical pixels of area (outside skip) where the device image is not the 1x picture's
// pixel enlarged to a block; the first of them is described in where.
int pixelsUnlikePicture(const QImage& device, const QImage& picture, const QRect& area,
                        const QRect& skip = QRect(), std::string* where = nullptr) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (skip.contains(x, y))
                continue;
            const QRgb expected = picture.pixel(x, y) | 0xFF000000u;
            bool same = true;
            for (int dy = 0; dy < Ratio; ++dy)
                for (int dx = 0; dx < Ratio; ++dx)
                    same = same && device.pixel(Ratio * x + dx, Ratio * y + dy) == expected;
            if (!same && count++ == 0 && where)
                *where = std::to_string(x) + ", " + std::to_string(y);
        }
    return count;
}

TEST(HighDensity, TheProgramRunsAtTwiceTheResolution) {
    ASSERT_TRUE(scaled);
    QWidget probe;
    EXPECT_EQ(probe.devicePixelRatioF(), 2.0);
}

TEST(HighDensity, ButtonFaceInBlocksAndCaptionAtDeviceResolution) {
    QWidget window;
    Tmybitbut button(&window);
    button.resize(97, 25);
    button.setCaption(QStringLiteral("&Cancel"));
    const QImage device = grabbed(button);
    ASSERT_EQ(device.size(), QSize(194, 50));
    const QImage picture = button.renderFace();
    ASSERT_EQ(picture.size(), QSize(97, 25));

    // The caption's box, found from the 1x picture's text pixels (the face is the same
    // without them); every other pixel is the 1x pixel in a block.
    const QFontMetrics metrics(button.font());
    const QSize text = metrics.size(Qt::TextShowMnemonic, QStringLiteral("&Cancel"));
    const QRect captionBox = QRect(QPoint((97 - text.width()) / 2, (25 - text.height()) / 2), text)
                                 .adjusted(-2, -2, 2, 2);
    std::string where;
    EXPECT_EQ(pixelsUnlikePicture(device, picture, picture.rect(), captionBox, &where), 0)
        << "first at " << where;
    EXPECT_GT(finerPixels(device, captionBox), 10) << "the caption is drawn at 2x, not enlarged";

    // The picture at 2x is the same content with the ratio set on it.
    const QImage atTwo = button.renderFace(2.0);
    EXPECT_EQ(atTwo.devicePixelRatio(), 2.0);
    EXPECT_EQ(atTwo.convertToFormat(QImage::Format_RGB32), device);
}

TEST(HighDensity, LetteredAndArrowButtonsAreWholeBlocks) {
    QWidget window;
    Tmybitbutn5 lettered(&window);
    lettered.setSelected(11);
    lettered.resize(60, 22);
    std::string where;
    EXPECT_EQ(
        pixelsUnlikePicture(grabbed(lettered), lettered.renderFace(), lettered.rect(), {}, &where),
        0)
        << "first at " << where;
}

TEST(HighDensity, LcdDotsAreWholeBlocks) {
    QWidget window;
    TLCDLabel lcd(&window);
    lcd.setPixelSize(pix1x1);
    lcd.setPixelShape(spShaped);
    lcd.setNoOfChars(7);
    lcd.setCaption(QStringLiteral("12:34,5"));
    const QImage device = grabbed(lcd);
    ASSERT_EQ(device.size(), lcd.size() * Ratio);
    std::string where;
    EXPECT_EQ(pixelsUnlikePicture(device, lcd.renderImage(), lcd.rect(), {}, &where), 0)
        << "first at " << where;
}

TEST(HighDensity, AnimatedButtonAndCheckGlyphAreWholeBlocks) {
    QWidget window;
    TMyAni ani(&window);
    ani.setGlyph(platform::loadBitmap(QStringLiteral("ANI_ABOUT")));
    ani.setNumGlyphs(6);
    ani.setInactiveGlyph(0);
    ani.setOpaque(true);
    ani.resize(32, 32);
    const QImage device = grabbed(ani);
    EXPECT_EQ(finerPixels(device, ani.rect()), 0);
    // The first frame's pixels, not an empty control.
    QSet<QRgb> colours;
    for (int y = 0; y < device.height(); ++y)
        for (int x = 0; x < device.width(); ++x)
            colours.insert(device.pixel(x, y));
    EXPECT_GT(colours.size(), 4);

    TGlyphCheckBox box(QStringLiteral("Show hints"), &window);
    box.resize(73, 15);
    box.setChecked(true);
    const QImage boxDevice = grabbed(box);
    EXPECT_EQ(finerPixels(boxDevice, box.glyphRect()), 0);
    EXPECT_GT(finerPixels(boxDevice, box.captionRect().intersected(box.rect())), 10);
}

TEST(HighDensity, FieldPlatesInBlocksAndCountsAtDeviceResolution) {
    testsupport::Game game;
    TPuzzle& puzzle = game.puzzle;
    puzzle.Reset(6, 3);
    puzzle.NewPuzzle();
    std::vector<QPoint> opened;
    for (int i = 1; i <= 6 && opened.size() < 4; ++i)
        for (int j = 1; j <= 6 && opened.size() < 4; ++j)
            if (puzzle.FoxPlane()[i][j] != fpFox && (i + j) % 3 == 0) {
                puzzle.OpenCell(i, j);
                opened.push_back(QPoint(j, i));
            }
    ASSERT_FALSE(opened.empty());

    QWidget window;
    TFieldArea area(&window);
    area.showFrame(puzzle, true);
    const QImage device = grabbed(area);
    ASSERT_EQ(device.size(), QSize(802, 450));

    // The 1x frame is what it always was: the same as a renderer that never saw a ratio.
    TFieldRenderer plain(loadFieldImages());
    plain.drawFrame(puzzle, true);
    EXPECT_EQ(area.renderer().backBuffer(), plain.backBuffer());

    // Outside the counts' boxes the area is the 1x frame in blocks; inside them the digits
    // are drawn at 2x.
    const QFontMetrics metrics(platform::programFont(true));
    QRegion countBoxes;
    for (const QPoint& cell : opened) {
        const QPoint corner = testsupport::countAnchor(cell.y(), cell.x());
        const QRect box(corner,
                        QSize(metrics.horizontalAdvance(QStringLiteral("00")), metrics.height()));
        EXPECT_GT(finerPixels(device, box.adjusted(0, 0, -1, -1)), 4)
            << "count at row " << cell.y() << ", column " << cell.x();
        countBoxes += box.adjusted(-2, -2, 2, 2);
    }
    int unlike = 0;
    for (int y = 0; y < TFieldRenderer::AreaHeight; ++y)
        for (int x = 0; x < TFieldRenderer::AreaWidth; ++x)
            if (!countBoxes.contains(QPoint(x, y)))
                unlike += pixelsUnlikePicture(device, plain.backBuffer(), QRect(x, y, 1, 1));
    EXPECT_EQ(unlike, 0);
}

// A window moved to a screen of another scale shows the same board at the new scale by the
// next tick or two, though nothing on the board changed: counts at the device's resolution
// on the dense screen, the plain frame on the other.
class ScaleChange : public mainformtest::MainForm {
protected:
    using Cell = testsupport::Cell;

    // Moves the window onto the screen and waits until it draws at that screen's ratio.
    void moveTo(const QString& name, qreal ratio) {
        QScreen* screen = nullptr;
        for (QScreen* each : QGuiApplication::screens())
            if (each->name() == name)
                screen = each;
        ASSERT_NE(screen, nullptr) << name.toStdString();
        window_->move(screen->geometry().topLeft() + QPoint(40, 40));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window_->devicePixelRatioF() == ratio; }))
            << "the window stays at the ratio " << window_->devicePixelRatioF();
    }
    void tick() { window_->Timer1Timer(); }
    // Logical pixels of the shown field area unlike the 1x frame in blocks, outside the
    // counts of the opened cells; and the fewest pixels finer than a block within a count.
    std::pair<int, int> shownAtTwice() {
        const QImage device = grabbed(*ui<"PaintBox3">());
        EXPECT_EQ(device.size(), QSize(802, 450));
        const QFontMetrics metrics(platform::programFont(true));
        QRegion countBoxes;
        int finest = std::numeric_limits<int>::max();
        for (const Cell& cell : Opened) {
            const QRect box(
                testsupport::countAnchor(cell.first, cell.second),
                QSize(metrics.horizontalAdvance(QStringLiteral("00")), metrics.height()));
            finest = std::min(finest, finerPixels(device, box.adjusted(0, 0, -1, -1)));
            countBoxes += box.adjusted(-2, -2, 2, 2);
        }
        const QImage frame = plainFrame();
        int unlike = 0;
        for (int y = 0; y < TFieldRenderer::AreaHeight; ++y)
            for (int x = 0; x < TFieldRenderer::AreaWidth; ++x)
                if (!countBoxes.contains(QPoint(x, y)))
                    unlike += pixelsUnlikePicture(device, frame, QRect(x, y, 1, 1));
        return {unlike, finest};
    }
    // The frame of the board as a renderer that never saw a ratio draws it.
    QImage plainFrame() {
        TFieldRenderer plain(loadFieldImages());
        plain.drawFrame(window_->puzzle(), ui<"JvgCheckBox12">()->isChecked());
        return plain.backBuffer();
    }

    const std::vector<Cell> Opened = {{2, 3}, {6, 6}, {4, 8}};
};

TEST_F(ScaleChange, TheUnchangedBoardIsRedrawnAtTheNewScaleOfItsScreen) {
    open();
    window_->move(QGuiApplication::screens().at(1)->geometry().topLeft() + QPoint(40, 40));
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    moveTo(QStringLiteral("plain"), 1.0);
    hideFoxesAt({{1, 1}, {3, 4}, {5, 2}, {8, 8}, {7, 5}});
    for (const Cell& cell : Opened)
        clickCell(cell.first, cell.second);
    tick();
    const QRect area(0, 0, TFieldRenderer::AreaWidth, TFieldRenderer::AreaHeight);
    ASSERT_EQ(grabbed(*ui<"PaintBox3">()), plainFrame().copy(area));

    moveTo(QStringLiteral("dense"), 2.0);
    tick();
    tick();
    const auto [unlike, finest] = shownAtTwice();
    EXPECT_EQ(unlike, 0) << "pixels unlike the frame in 2 x 2 blocks";
    EXPECT_GT(finest, 4) << "pixels finer than a block in the sparest count: the counts are "
                            "enlarged from the old frame, not written at the new scale";

    moveTo(QStringLiteral("plain"), 1.0);
    tick();
    tick();
    EXPECT_EQ(grabbed(*ui<"PaintBox3">()), plainFrame().copy(area));
}

TEST(HighDensity, SkinCornerInBlocksAndCaptionAtDeviceResolution) {
    TSkinnedForm form({QSize(488, 376), QStringLiteral("Tarnell"), QSize(40, 299), QSize(40, 299)});
    const QImage device = grabbed(form);
    ASSERT_EQ(device.size(), QSize(976, 752));
    const QImage picture = form.renderFrame(form.isActiveWindow());
    std::string where;
    EXPECT_EQ(pixelsUnlikePicture(device, picture, QRect(0, 0, 46, 31), {}, &where), 0)
        << "first at " << where;
    const QFontMetrics metrics(platform::captionFont());
    const QRect caption(QPoint(68, 6), metrics.size(0, QStringLiteral("Tarnell")));
    EXPECT_GT(finerPixels(device, caption), 10);
}

} // namespace

} // namespace tarnell
