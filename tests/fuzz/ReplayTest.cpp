// Replays saved inputs through a fuzz target's checks: the inputs that once made it fail
// must pass now, and so must the seeds it starts from.
#include "fuzz/FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace tarnell {

namespace {

QFileInfoList inputsIn(const char* folder) {
    return QDir(QString::fromUtf8(folder)).entryInfoList(QDir::Files, QDir::Name);
}

void replay(const QFileInfo& input) {
    QFile file(input.absoluteFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << input.absoluteFilePath().toStdString();
    const QByteArray bytes = file.readAll();
    const std::string name = input.fileName().toStdString();
    const fuzzsupport::FailureHandler previous = fuzzsupport::setFailureHandler(
        [&name](const std::string& failure) { ADD_FAILURE() << name << ": " << failure; });
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
    fuzzsupport::setFailureHandler(previous);
}

// One test for both, so that a target with nothing kept yet still replays its seeds and is
// never reported as skipped.
TEST(FUZZ_REPLAY_SUITE, SeedsAndInputsThatOnceFailedPassEveryCheck) {
    const QFileInfoList seeds = inputsIn(FUZZ_CORPUS_DIR);
    ASSERT_FALSE(seeds.isEmpty()) << "no seeds in " << FUZZ_CORPUS_DIR;
    for (const QFileInfo& input : seeds + inputsIn(FUZZ_REGRESSIONS_DIR))
        replay(input);
}

} // namespace

} // namespace tarnell
