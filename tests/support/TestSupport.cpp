#include "TestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarnell::testsupport {

QStringList& messages() {
    static QStringList list;
    return list;
}

void clearMessages() {
    messages().clear();
}

namespace {

class ChildTest : public ::testing::Test {
public:
    explicit ChildTest(std::function<void()> body) : body_(std::move(body)) {}
    void TestBody() override { body_(); }

private:
    std::function<void()> body_;
};

} // namespace

bool registerChildTest(const char* suite, const char* name, const char* variable,
                       std::function<void()> body) {
    if (qEnvironmentVariableIsEmpty(variable))
        return false;
    ::testing::RegisterTest(
        suite, name, nullptr, nullptr, __FILE__, __LINE__,
        [body = std::move(body)]() -> ::testing::Test* { return new ChildTest(body); });
    return true;
}

bool ChildRun::allPassed() const {
    static const QRegularExpression passed(QStringLiteral("\\[  PASSED  \\] ([1-9][0-9]*) test"));
    return exitCode == 0 && passed.match(output).hasMatch() &&
           !output.contains(QStringLiteral("[  SKIPPED ]"));
}

ChildRun runWithAccessibilityBus(const char* suite, const char* variable) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(variable), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("sh"),
                {QStringLiteral(TARNELL_SOURCE_DIR "/tests/e2e/a11y-test.sh"),
                 QStringLiteral("a11y_run.py"), QCoreApplication::applicationFilePath(),
                 QStringLiteral("--gtest_filter=%1.*").arg(QString::fromLatin1(suite))});
    ChildRun run;
    // a11y-test.sh ends everything it started within its own time limit.
    if (!child.waitForFinished(280000)) {
        child.kill();
        child.waitForFinished(5000);
        run.output = QString::fromUtf8(child.readAll()) + QStringLiteral("\n(timed out)");
        return run;
    }
    run.output = QString::fromUtf8(child.readAll());
    run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    return run;
}

std::optional<std::string> runAsAnotherUser(const OtherUser& who,
                                            const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(channel[0]);
        // The first byte says whether the process became that user.
        std::string said(1, '0');
        if (::setgroups(1, &who.memberOf) == 0 && ::setgid(who.group) == 0 &&
            ::setuid(who.user) == 0) {
            said[0] = '1';
            said += body();
        }
        const ssize_t written = ::write(channel[1], said.data(), said.size());
        ::_exit(written == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string said;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (said.empty() || said[0] != '1')
        return std::nullopt;
    return said.substr(1);
}

} // namespace tarnell::testsupport
