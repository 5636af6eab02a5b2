#include "FameFileFaults.h"

namespace tarnell::halloffame {

namespace {

using Strike = FaultyFameFileSystem::Strike;

// A crash stops everything at once; the operating system closes what was open.
bool failsOrCrashes(Strike strike, std::string& error) {
    if (strike == Strike::Crash)
        throw SimulatedCrash();
    if (strike == Strike::Fail) {
        error = FaultyFameFileSystem::FailureText;
        return true;
    }
    return false;
}

class FaultyFile : public FameFile {
public:
    FaultyFile(std::unique_ptr<FameFile> real, FaultyFameFileSystem& owner)
        : real_(std::move(real)), owner_(owner) {}

    bool read(char* buffer, std::size_t size, std::size_t& got, std::string& error) override {
        got = 0;
        if (failsOrCrashes(owner_.strike(FameOperation::Read), error))
            return false;
        return real_->read(buffer, size, got, error);
    }

    bool write(const char* data, std::size_t size, std::string& error) override {
        const Strike strike = owner_.strike(FameOperation::Write);
        if (strike != Strike::None) {
            // A full disk or a crash in the middle leaves part of the bytes written.
            std::string ignored;
            real_->write(data, size / 2, ignored);
        }
        if (failsOrCrashes(strike, error))
            return false;
        return real_->write(data, size, error);
    }

    bool flush(std::string& error) override {
        if (failsOrCrashes(owner_.strike(FameOperation::Flush), error))
            return false;
        return real_->flush(error);
    }

    bool close(std::string& error) override {
        const Strike strike = owner_.strike(FameOperation::Close);
        if (strike == Strike::None)
            return real_->close(error);
        std::string ignored;
        real_->close(ignored);
        return !failsOrCrashes(strike, error);
    }

    bool length(std::int64_t& bytes, std::string& error) override {
        if (failsOrCrashes(owner_.strike(FameOperation::Length), error))
            return false;
        return real_->length(bytes, error);
    }

    bool permissions(FameAccess& access, std::string& error) override {
        if (failsOrCrashes(owner_.strike(FameOperation::Permissions), error))
            return false;
        return real_->permissions(access, error);
    }

    bool setPermissions(const FameAccess& access, std::string& error) override {
        if (failsOrCrashes(owner_.strike(FameOperation::Permissions), error))
            return false;
        return real_->setPermissions(access, error);
    }

private:
    std::unique_ptr<FameFile> real_;
    FaultyFameFileSystem& owner_;
};

} // namespace

void FaultyFameFileSystem::injectAt(FameOperation operation, int n, Fault fault) {
    target_ = operation;
    targetIndex_ = counts_[static_cast<std::size_t>(operation)] + n;
    fault_ = fault;
}

void FaultyFameFileSystem::reset() {
    counts_.fill(0);
    targetIndex_ = 0;
}

int FaultyFameFileSystem::count(FameOperation operation) const {
    return counts_[static_cast<std::size_t>(operation)];
}

FaultyFameFileSystem::Strike FaultyFameFileSystem::strike(FameOperation operation) {
    const int index = ++counts_[static_cast<std::size_t>(operation)];
    if (targetIndex_ == 0 || operation != target_ || index != targetIndex_)
        return Strike::None;
    return fault_ == Fault::Crash ? Strike::Crash : Strike::Fail;
}

std::unique_ptr<FameFile> FaultyFameFileSystem::open(const std::string& name, FameOpenMode mode,
                                                     std::string& error) {
    if (failsOrCrashes(strike(FameOperation::Open), error))
        return nullptr;
    std::unique_ptr<FameFile> real = real_.open(name, mode, error);
    if (!real)
        return nullptr;
    return std::make_unique<FaultyFile>(std::move(real), *this);
}

bool FaultyFameFileSystem::rename(const std::string& from, const std::string& to,
                                  std::string& error) {
    if (failsOrCrashes(strike(FameOperation::Rename), error))
        return false;
    return real_.rename(from, to, error);
}

bool FaultyFameFileSystem::remove(const std::string& name, std::string& error) {
    if (failsOrCrashes(strike(FameOperation::Remove), error))
        return false;
    return real_.remove(name, error);
}

bool FaultyFameFileSystem::mayWrite(const std::string& name, std::string& error) {
    if (failsOrCrashes(strike(FameOperation::Permissions), error))
        return false;
    return real_.mayWrite(name, error);
}

} // namespace tarnell::halloffame
