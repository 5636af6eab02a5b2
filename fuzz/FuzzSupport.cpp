#include "FuzzSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace tarnell::fuzzsupport {

namespace {

FailureHandler& handlerSlot() {
    static FailureHandler handler;
    return handler;
}

std::string& scratchSlot() {
    static std::string folder;
    return folder;
}

} // namespace

FailureHandler setFailureHandler(FailureHandler handler) {
    FailureHandler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

void fail(const char* condition, const char* file, int line) {
    const std::string failure =
        std::string(file) + ":" + std::to_string(line) + ": check failed: " + condition;
    if (handlerSlot()) {
        handlerSlot()(failure);
        return;
    }
    std::fprintf(stderr, "%s\n", failure.c_str());
    std::abort();
}

void startApplication(bool widgets) {
    if (QCoreApplication::instance())
        return;
    // The folder lives as long as the process; libFuzzer ends it with exit().
    static QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/tarnell-fuzz-XXXXXX"));
    scratchSlot() = scratch.path().toStdString();
    qputenv("HOME", scratch.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (scratch.path() + QStringLiteral("/.config")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarnell-fuzz";
    static char* argv[] = {name, nullptr};
    if (widgets)
        new QApplication(argc, argv);
    else
        new QCoreApplication(argc, argv);
}

std::string scratchFolder() {
    if (scratchSlot().empty()) {
        // Someone else made the application (the regression tests): a folder of our own.
        static QTemporaryDir own(QDir::tempPath() + QStringLiteral("/tarnell-fuzz-XXXXXX"));
        scratchSlot() = own.path().toStdString();
    }
    return scratchSlot();
}

std::uint8_t InputReader::byte() {
    if (position_ >= bytes_.size())
        return 0;
    return bytes_[position_++];
}

std::int16_t InputReader::int16() {
    const std::uint16_t low = byte();
    const std::uint16_t high = byte();
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

std::int32_t InputReader::int32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(byte()) << (8 * i);
    return static_cast<std::int32_t>(value);
}

std::uint64_t InputReader::uint64() {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value |= static_cast<std::uint64_t>(byte()) << (8 * i);
    return value;
}

void InputReader::seek(std::size_t offset) {
    position_ = offset < bytes_.size() ? offset : bytes_.size();
}

} // namespace tarnell::fuzzsupport
