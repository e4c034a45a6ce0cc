#pragma once
// The few file calls the document's reader and safe writer make, behind a
// seam: the real one (TPosixDocFileSystem) passes them to the system, a test
// wraps it to make a folder refuse new files or a device fail after some
// bytes. Every call answers like its POSIX namesake: -1 and errno on failure.

#include <cstddef>
#include <string>
#include <sys/types.h>

class IDocFileSystem {
public:
    virtual ~IDocFileSystem() = default;

    virtual int Open(const std::string& path, int flags, mode_t mode) = 0;
    virtual ssize_t Read(int fd, void* buffer, size_t count) = 0;
    virtual ssize_t Write(int fd, const void* buffer, size_t count) = 0;
    virtual int Fsync(int fd) = 0;
    virtual int Close(int fd) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int Unlink(const std::string& path) = 0;
};
