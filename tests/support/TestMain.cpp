#include "TestSupport.h"
#include "platform/MessageBox.h"
#include "platform/drawing/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tarnell::testsupport {
namespace {
QString homeDir;
QString workDir;
} // namespace
QString scratchHome() {
    return homeDir;
}
QString scratchWorkDir() {
    return workDir;
}
} // namespace tarnell::testsupport

using namespace tarnell;

int main(int argc, char** argv) {
    // Never touch the user's own settings or hall of fame.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tarnell-test-home-XXXXXX"));
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/tarnell-test-work-XXXXXX"));
    testsupport::homeDir = home.path();
    testsupport::workDir = work.path();
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir::setCurrent(work.path());

    QApplication app(argc, argv);
    platform::resolveProgramFaces();
    platform::setMessageHandler([](const QString& title, const QString& text) {
        testsupport::messages().append(title + QStringLiteral(": ") + text);
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
