#pragma once
// The document's file calls passed straight to the system.

#include "IDocFileSystem.h"

class TPosixDocFileSystem : public IDocFileSystem {
public:
    int Open(const std::string& path, int flags, mode_t mode) override;
    ssize_t Read(int fd, void* buffer, size_t count) override;
    ssize_t Write(int fd, const void* buffer, size_t count) override;
    int Fsync(int fd) override;
    int Close(int fd) override;
    int Rename(const std::string& from, const std::string& to) override;
    int Unlink(const std::string& path) override;

    // The one instance every document uses unless a test installs another.
    static TPosixDocFileSystem& Instance();
};
