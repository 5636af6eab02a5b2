#include "FameFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace tarnell::halloffame {

namespace {

constexpr std::uint32_t PermissionBits = S_IRWXU | S_IRWXG | S_IRWXO;

std::string reason(int error) {
    return std::strerror(error);
}

class DiskFile : public FameFile {
public:
    explicit DiskFile(int descriptor) : descriptor_(descriptor) {}
    ~DiskFile() override {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    bool read(char* buffer, std::size_t size, std::size_t& got, std::string& error) override {
        got = 0;
        while (got < size) {
            const ssize_t count = ::read(descriptor_, buffer + got, size - got);
            if (count < 0) {
                if (errno == EINTR)
                    continue;
                error = reason(errno);
                return false;
            }
            if (count == 0)
                break;
            got += static_cast<std::size_t>(count);
        }
        return true;
    }

    bool write(const char* data, std::size_t size, std::string& error) override {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t count = ::write(descriptor_, data + done, size - done);
            if (count < 0) {
                if (errno == EINTR)
                    continue;
                error = reason(errno);
                return false;
            }
            done += static_cast<std::size_t>(count);
        }
        return true;
    }

    bool flush(std::string& error) override {
        if (::fsync(descriptor_) != 0) {
            error = reason(errno);
            return false;
        }
        return true;
    }

    bool close(std::string& error) override {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        // The descriptor is gone even when close reports an error; never close it twice.
        if (::close(descriptor) != 0) {
            error = reason(errno);
            return false;
        }
        return true;
    }

    bool length(std::int64_t& bytes, std::string& error) override {
        struct stat status {};
        if (::fstat(descriptor_, &status) != 0) {
            error = reason(errno);
            return false;
        }
        bytes = status.st_size;
        return true;
    }

    bool permissions(FameAccess& access, std::string& error) override {
        struct stat status {};
        if (::fstat(descriptor_, &status) != 0) {
            error = reason(errno);
            return false;
        }
        access.Bits = status.st_mode & PermissionBits;
        access.Owner = status.st_uid;
        access.Group = status.st_gid;
        return true;
    }

    bool setPermissions(const FameAccess& access, std::string& error) override {
        // A file shared through its group stays the group's after a member's store, and the
        // super-user playing in a player's folder leaves the file to the player. Owner and
        // group go first, since a change of owner may clear bits set before it.
        if (::fchown(descriptor_, access.Owner, access.Group) != 0)
            std::ignore = ::fchown(descriptor_, static_cast<uid_t>(-1), access.Group);
        if (::fchmod(descriptor_, static_cast<mode_t>(access.Bits & PermissionBits)) != 0) {
            error = reason(errno);
            return false;
        }
        return true;
    }

private:
    int descriptor_;
};

class DiskFileSystem : public FameFileSystem {
public:
    bool exists(const std::string& name) override {
        struct stat status {};
        return ::lstat(name.c_str(), &status) == 0;
    }

    std::unique_ptr<FameFile> open(const std::string& name, FameOpenMode mode,
                                   std::string& error) override {
        // Non-blocking only so that a pipe in place of the file cannot hang the game; it
        // changes nothing for the regular files that are accepted.
        int flags = O_CLOEXEC | O_NONBLOCK;
        switch (mode) {
        case FameOpenMode::Read:
            flags |= O_RDONLY;
            break;
        case FameOpenMode::CreateIfMissing:
            flags |= O_WRONLY | O_CREAT;
            break;
        case FameOpenMode::Replace:
            // A new file of our own: cutting whatever has the name could follow a symbolic or
            // hard link into another file and overwrite it.
            if (::unlink(name.c_str()) != 0 && errno != ENOENT) {
                error = reason(errno);
                return nullptr;
            }
            flags |= O_WRONLY | O_CREAT | O_EXCL;
            break;
        }
        int descriptor = -1;
        do {
            descriptor = ::open(name.c_str(), flags, 0666);
        } while (descriptor < 0 && errno == EINTR);
        if (descriptor < 0) {
            error = reason(errno);
            return nullptr;
        }
        auto file = std::make_unique<DiskFile>(descriptor);
        struct stat status {};
        if (::fstat(descriptor, &status) != 0) {
            error = reason(errno);
            return nullptr;
        }
        if (!S_ISREG(status.st_mode)) {
            error = "it is not a regular file";
            return nullptr;
        }
        return file;
    }

    bool rename(const std::string& from, const std::string& to, std::string& error) override {
        if (::rename(from.c_str(), to.c_str()) != 0) {
            error = reason(errno);
            return false;
        }
        // The new name only survives a power cut once the folder itself is on the disk;
        // the rename has happened either way, so a failure here changes nothing.
        const int folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return true;
    }

    bool remove(const std::string& name, std::string& error) override {
        if (::unlink(name.c_str()) != 0) {
            error = reason(errno);
            return false;
        }
        return true;
    }

    bool mayWrite(const std::string& name, std::string& error) override {
        struct stat status {};
        if (::stat(name.c_str(), &status) != 0) {
            error = reason(errno);
            return false;
        }
        // The system lets root write whatever the bits say, so they are read here.
        if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            error = "it is write-protected";
            return false;
        }
        if (::access(name.c_str(), W_OK) != 0) {
            error = reason(errno);
            return false;
        }
        return true;
    }
};

} // namespace

FameFileSystem& diskFileSystem() {
    static DiskFileSystem files;
    return files;
}

} // namespace tarnell::halloffame
