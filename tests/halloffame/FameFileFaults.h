// A file layer for tests that passes every operation on to another one and makes a
// chosen operation fail, or stop the program there as a crash would.
#pragma once

#include "halloffame/FameFile.h"

#include <array>
#include <stdexcept>

namespace tarnell::halloffame {

// Permissions: reading or setting a file's permission bits, or asking whether it may be written.
enum class FameOperation { Open, Read, Write, Flush, Close, Length, Permissions, Rename, Remove };
constexpr std::size_t FameOperationCount = 9;

// Thrown where a crash was asked for: nothing after that point of the operation runs.
struct SimulatedCrash : std::runtime_error {
    SimulatedCrash() : std::runtime_error("simulated crash") {}
};

class FaultyFameFileSystem : public FameFileSystem {
public:
    enum class Fault { Fail, Crash };

    explicit FaultyFameFileSystem(FameFileSystem& real) : real_(real) {}

    // The n-th operation of that kind from now on (1 = the next one) fails or crashes.
    // A failing write writes half of its bytes first, as a full disk would.
    void injectAt(FameOperation operation, int n, Fault fault = Fault::Fail);
    // Forgets the fault and starts counting from zero again.
    void reset();
    int count(FameOperation operation) const;
    // The message a failed operation reports.
    static constexpr const char* FailureText = "injected failure";

    bool exists(const std::string& name) override { return real_.exists(name); }
    std::unique_ptr<FameFile> open(const std::string& name, FameOpenMode mode,
                                   std::string& error) override;
    bool rename(const std::string& from, const std::string& to, std::string& error) override;
    bool remove(const std::string& name, std::string& error) override;
    bool mayWrite(const std::string& name, std::string& error) override;

    enum class Strike { None, Fail, Crash };
    // Counts the operation and says whether it is the one to fail or crash.
    Strike strike(FameOperation operation);

private:
    FameFileSystem& real_;
    std::array<int, FameOperationCount> counts_{};
    FameOperation target_ = FameOperation::Open;
    int targetIndex_ = 0; // 0: no fault
    Fault fault_ = Fault::Fail;
};

} // namespace tarnell::halloffame
