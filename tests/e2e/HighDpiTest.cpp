// The real program at scale factors 2 and 1.5 under a private X server: the window is scaled,
// every image pixel a sharp block of device pixels, and the text finer than the blocks.
#include "XSession.h"
#include "tests/support/FieldGeometry.h"

#include <QDir>
#include <QRegion>
#include <QSet>
#include <QtMath>
#include <gtest/gtest.h>
#include <memory>

namespace tarnell {

namespace {

constexpr int Ratio = 2;
const QSize Screen(1600, 1200);
// In logical pixels of the window: the field area, the caption text's top-left and the clock
// display.
const QRect FieldInWindow = testsupport::inwindow::Field;
const QRect CaptionText(68, 6, 56, 16);
const QRect Clock = testsupport::inwindow::Clock;

// The box a cell's count is written in, in field pixels.
QRect countBox(int row, int col) {
    return QRect(testsupport::countAnchor(row, col), QSize(14, 13));
}

class ScaledProgram : public ::testing::Test {
protected:
    // Starts the program at a scale factor given as text ("2", "1.5").
    void start(const QString& factor) {
        QString missing;
        if (!e2e::XSession::toolsAvailable(&missing))
            GTEST_SKIP() << missing.toStdString() << " is not installed";
        // A program that could not reach its server is tried again on a new one.
        QString id;
        for (int attempt = 0; attempt < 3 && id.isEmpty(); ++attempt) {
            session_ = std::make_unique<e2e::XSession>();
            if (!session_->startServer(Screen) ||
                !session_->startProgram({QStringLiteral("QT_SCALE_FACTOR=") + factor}))
                continue;
            id = session_->waitForWindow(QStringLiteral("Tarnell"), 8000);
        }
        ASSERT_FALSE(id.isEmpty());
        window_ = session_->windowGeometry(id);
        e2e::pause(500); // the first frames
    }

    // The screen pixel at the top-left of logical window pixel p.
    QPoint device(QPoint p) const { return window_.topLeft() + Ratio * p; }

    // Whether logical pixel p of the window is one colour over its 2 x 2 device pixels.
    bool isBlock(const QImage& shot, QPoint p) const {
        const QPoint at = device(p);
        const QRgb first = shot.pixel(at);
        return shot.pixel(at + QPoint(1, 0)) == first && shot.pixel(at + QPoint(0, 1)) == first &&
               shot.pixel(at + QPoint(1, 1)) == first;
    }
    // How many logical pixels of area (outside skip) are not a block.
    int finerPixels(const QImage& shot, const QRect& area, const QRegion& skip = {}) const {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (!skip.contains(QPoint(x, y)) && !isBlock(shot, QPoint(x, y)))
                    ++count;
        return count;
    }

    std::unique_ptr<e2e::XSession> session_;
    QRect window_;
};

class HighDpi : public ScaledProgram {
protected:
    void SetUp() override { start(QStringLiteral("2")); }
};

class FractionalDpi : public ScaledProgram {
protected:
    void SetUp() override { start(QStringLiteral("1.5")); }
};

TEST_F(HighDpi, WindowTwiceTheSizeArtInBlocksTextFiner) {
    EXPECT_EQ(window_.size(), QSize(976, 752));
    QImage shot = session_->screenshot();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(finerPixels(shot, FieldInWindow), 0) << "the empty board's plates";
    EXPECT_EQ(finerPixels(shot, Clock), 0) << "the clock's dots";
    EXPECT_GT(finerPixels(shot, CaptionText), 20) << "the caption is written at 2x";

    // Open cells until one shows its count (there are only five foxes).
    const int cells[][2] = {{4, 4}, {5, 2}, {2, 6}, {6, 6}, {3, 3}, {7, 4}, {1, 1}};
    QRegion counts;
    bool countSeen = false;
    for (const auto& cell : cells) {
        const QPoint centre =
            FieldInWindow.topLeft() + testsupport::cellOrigin(cell[0], cell[1]) + QPoint(20, 10);
        session_->click(device(centre) + QPoint(1, 1));
        e2e::pause(400);
        const QRect box = countBox(cell[0], cell[1]).translated(FieldInWindow.topLeft());
        counts += box.adjusted(-2, -2, 2, 2);
        shot = session_->screenshot();
        if (finerPixels(shot, box) > 4) {
            countSeen = true;
            break;
        }
    }
    EXPECT_TRUE(countSeen) << "a count written at 2x on an opened cell";
    EXPECT_EQ(finerPixels(shot, FieldInWindow, counts), 0) << "plates, flags and foxes";
    if (HasFailure()) {
        const QString file = QDir::temp().filePath(QStringLiteral("tarnell-highdpi-failure.png"));
        shot.save(file);
        ADD_FAILURE() << "the last screenshot: " << file.toStdString();
    }
}

// At 1.5 each image pixel becomes one or two device pixels (nearest neighbour), never a
// blend: the clock's dots keep exactly the display's three colours.
TEST_F(FractionalDpi, WindowOneAndAHalfTimesTheSizeWithoutBlendedColours) {
    EXPECT_EQ(window_.size(), QSize(732, 564));
    const QImage shot = session_->screenshot();
    ASSERT_FALSE(shot.isNull());
    const QRect inside = Clock.adjusted(1, 1, -1, -1);
    const QRect onScreen(window_.topLeft() +
                             QPoint(qCeil(1.5 * inside.left()), qCeil(1.5 * inside.top())),
                         window_.topLeft() + QPoint(qFloor(1.5 * (inside.right() + 1)) - 1,
                                                    qFloor(1.5 * (inside.bottom() + 1)) - 1));
    const QSet<QRgb> display{qRgb(0, 0, 0), qRgb(0, 255, 0), qRgb(0, 72, 0)};
    int blended = 0;
    for (int y = onScreen.top(); y <= onScreen.bottom(); ++y)
        for (int x = onScreen.left(); x <= onScreen.right(); ++x)
            blended += display.contains(shot.pixel(x, y) | 0xFF000000u) ? 0 : 1;
    EXPECT_EQ(blended, 0);
    if (HasFailure()) {
        const QString file =
            QDir::temp().filePath(QStringLiteral("tarnell-fractional-failure.png"));
        shot.save(file);
        ADD_FAILURE() << "the screenshot: " << file.toStdString();
    }
}

} // namespace

} // namespace tarnell
