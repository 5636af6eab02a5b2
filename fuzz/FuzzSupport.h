// What the fuzz targets share: a check that stops the run with the failed condition (or,
// in the regression tests, reports it as a test failure), the application object, and a
// small reader that takes typed values from the front of the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tarnell::fuzzsupport {

// Called with "file:line: condition" when a check fails; by default it prints the text
// and aborts, which libFuzzer records as a crash with the input that caused it.
using FailureHandler = std::function<void(const std::string& failure)>;
FailureHandler setFailureHandler(FailureHandler handler);
void fail(const char* condition, const char* file, int line);

// Creates the application once, on the offscreen platform, with HOME and XDG_CONFIG_HOME
// in a fresh scratch folder so that no run ever touches the user's own files. Widgets
// need a QApplication; the others get by with a QCoreApplication. Does nothing when an
// application exists already (as in the regression tests).
void startApplication(bool widgets);
// The scratch folder made by startApplication, or one made on first use when the
// application came from elsewhere.
std::string scratchFolder();

// Takes fixed-size values from the front of the fuzz input; past the end every value is 0.
class InputReader {
public:
    explicit InputReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint8_t byte();
    std::int16_t int16();
    std::int32_t int32();
    std::uint64_t uint64();
    // Skips to the given offset (never beyond the end).
    void seek(std::size_t offset);
    std::span<const std::uint8_t> rest() const { return bytes_.subspan(position_); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace tarnell::fuzzsupport

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::tarnell::fuzzsupport::fail(#condition, __FILE__, __LINE__);                          \
    } while (false)
