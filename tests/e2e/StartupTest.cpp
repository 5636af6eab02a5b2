// The real program starts under a private X server and shows its main window.
#include "XSession.h"

#include <gtest/gtest.h>

namespace tarnell {

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        QString missing;
        if (!e2e::XSession::toolsAvailable(&missing))
            GTEST_SKIP() << missing.toStdString() << " is not installed";
        ASSERT_TRUE(session_.startServer());
        ASSERT_TRUE(session_.startProgram());
    }
    e2e::XSession session_;
};

TEST_F(Startup, MainWindowAppearsWithItsTitle) {
    const QString id = session_.waitForWindow(QStringLiteral("Tarnell"));
    ASSERT_FALSE(id.isEmpty());
    const QRect geometry = session_.windowGeometry(id);
    EXPECT_EQ(geometry.size(), QSize(488, 376));
}

} // namespace

} // namespace tarnell
