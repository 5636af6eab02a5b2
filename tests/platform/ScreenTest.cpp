// Centring a window on the usable screen area: half of what is left on each side, truncated,
// counted from the area's own corner.
#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace tarnell {

TEST(Screen, CentresWithinTheAreaFromItsOwnCorner) {
    EXPECT_EQ(platform::centredIn(QRect(0, 0, 1024, 768), QSize(427, 277)), QPoint(298, 245));
    // A primary screen right of another one, below a 27-pixel panel.
    EXPECT_EQ(platform::centredIn(QRect(1920, 27, 1280, 997), QSize(488, 376)),
              QPoint(1920 + 396, 27 + 310));
    // Left of and above the desktop's origin.
    EXPECT_EQ(platform::centredIn(QRect(-1280, -100, 1280, 1024), QSize(357, 271)),
              QPoint(-1280 + 461, -100 + 376));
    // A window larger than the area: the division truncates toward zero.
    EXPECT_EQ(platform::centredIn(QRect(0, 0, 400, 300), QSize(427, 303)), QPoint(-13, -1));
}

TEST(Screen, CentresOnThePrimaryScreensAvailableArea) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(platform::usableScreenSize(), area.size());
    EXPECT_EQ(platform::centredPosition(QSize(427, 127)),
              area.topLeft() + QPoint((area.width() - 427) / 2, (area.height() - 127) / 2));
}

} // namespace tarnell
