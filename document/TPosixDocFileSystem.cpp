#include "TPosixDocFileSystem.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int TPosixDocFileSystem::Open(const std::string& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags, mode);
}

ssize_t TPosixDocFileSystem::Read(int fd, void* buffer, size_t count) {
    return ::read(fd, buffer, count);
}

ssize_t TPosixDocFileSystem::Write(int fd, const void* buffer, size_t count) {
    return ::write(fd, buffer, count);
}

int TPosixDocFileSystem::Fsync(int fd) {
    return ::fsync(fd);
}

int TPosixDocFileSystem::Close(int fd) {
    return ::close(fd);
}

int TPosixDocFileSystem::Rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str());
}

int TPosixDocFileSystem::Unlink(const std::string& path) {
    return ::unlink(path.c_str());
}

TPosixDocFileSystem& TPosixDocFileSystem::Instance() {
    static TPosixDocFileSystem instance;
    return instance;
}
