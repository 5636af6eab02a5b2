// Helpers shared by the tests: the messages that would have been shown in a message
// box, and the scratch folders that stand in for HOME and the working directory.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/types.h>

namespace tarnell::testsupport {

// Messages recorded since the last clear (title and text joined by ": ").
QStringList& messages();
void clearMessages();
// The scratch HOME and working directory of this test process.
QString scratchHome();
QString scratchWorkDir();
// A pixel as a QColor, without alpha.
inline QColor pixel(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y)).toRgb();
}

// Checks that need a process of their own: one on a real X server with the accessibility bus,
// or one that runs as another user.
//
// A child test is registered only in the process that a test of this program starts with
// `variable` set in its environment; elsewhere it is neither listed nor run, so the test run
// never reports it as skipped. Call it from a namespace-scope initialiser.
bool registerChildTest(const char* suite, const char* name, const char* variable,
                       std::function<void()> body);
// The same for a test class of a fixture (one that defines TestBody), with its SetUp and
// TearDown.
template <typename FixtureTest>
bool registerChildTest(const char* suite, const char* name, const char* variable) {
    if (qEnvironmentVariableIsEmpty(variable))
        return false;
    ::testing::RegisterTest(suite, name, nullptr, nullptr, __FILE__, __LINE__,
                            []() -> ::testing::Test* { return new FixtureTest(); });
    return true;
}

// What a child run of this test program printed, and how it ended.
struct ChildRun {
    int exitCode = -1;
    QString output;
    // It ran at least one test, and every one of them passed; none was skipped.
    bool allPassed() const;
    // Skipped as a whole: a tool it needs is missing (the reason is in the output).
    bool skipped() const { return exitCode == 77; }
};

// Runs the child tests of `suite` (with `variable` set) in this test program started again
// on a private X server with the AT-SPI bus, with Qt's xcb platform and its accessibility on
// (tests/e2e/a11y-test.sh with a11y_run.py), so that the platform's accessibility bridge is
// the real one.
ChildRun runWithAccessibilityBus(const char* suite, const char* variable);

// The user and groups of a child process that is not the super-user.
struct OtherUser {
    uid_t user = 65534;     // nobody
    gid_t group = 65534;    // its own group
    gid_t memberOf = 65534; // the one further group it is a member of
};
// Runs body in a forked process that has become `who`, and returns what body returned; nullopt
// when this process may not become that user (only the super-user may).
std::optional<std::string> runAsAnotherUser(const OtherUser& who,
                                            const std::function<std::string()>& body);

} // namespace tarnell::testsupport
