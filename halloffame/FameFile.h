// The few file operations the hall of fame needs (open, read, write, flush, close,
// permissions, rename, remove), behind an interface so that tests can make any of them fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tarnell::halloffame {

// Who may use a file: its permission bits (read, write, execute of owner, group and others),
// its owner and its group.
struct FameAccess {
    std::uint32_t Bits = 0;
    std::uint32_t Owner = 0;
    std::uint32_t Group = 0;
};

enum class FameOpenMode {
    Read,            // an existing file, read only
    CreateIfMissing, // for writing; made empty when missing, left as it is when present
    Replace,         // for writing; whatever has the name is removed, a new file is made
};

// An open file. Every operation returns false on failure and puts the reason in error.
class FameFile {
public:
    virtual ~FameFile() = default;
    // Reads up to size bytes; got is below size only at the end of the file.
    virtual bool read(char* buffer, std::size_t size, std::size_t& got, std::string& error) = 0;
    // Writes all size bytes.
    virtual bool write(const char* data, std::size_t size, std::string& error) = 0;
    // Puts everything written so far on the disk.
    virtual bool flush(std::string& error) = 0;
    virtual bool close(std::string& error) = 0;
    virtual bool length(std::int64_t& bytes, std::string& error) = 0;
    // Who may use the file, and handing that on to it: the bits always; the owner and the
    // group where the system lets this user give them (the owner only the super-user, the
    // group only its members), else the file stays the writer's, as any new file does.
    virtual bool permissions(FameAccess& access, std::string& error) = 0;
    virtual bool setPermissions(const FameAccess& access, std::string& error) = 0;
};

// Files by bare name in the current working directory.
class FameFileSystem {
public:
    virtual ~FameFileSystem() = default;
    virtual bool exists(const std::string& name) = 0;
    // Null on failure, with the reason in error. Only regular files are opened.
    virtual std::unique_ptr<FameFile> open(const std::string& name, FameOpenMode mode,
                                           std::string& error) = 0;
    // Replaces to with from in one step; the rename itself is made durable on disk.
    virtual bool rename(const std::string& from, const std::string& to, std::string& error) = 0;
    virtual bool remove(const std::string& name, std::string& error) = 0;
    // Whether the file may be written; false with the reason when it has no write permission
    // bit at all (the player's protection, which holds for every user, root included) or the
    // system would refuse to write it (another owner, a read-only medium).
    virtual bool mayWrite(const std::string& name, std::string& error) = 0;
};

// The real files of the process's working directory.
FameFileSystem& diskFileSystem();

} // namespace tarnell::halloffame
