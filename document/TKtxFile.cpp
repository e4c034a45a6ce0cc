#include "TKtxFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Directory and file-name parts of a path; "." for a bare name.
void SplitPath(const std::string& path, std::string* pDir, std::string* pBase) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        *pDir = ".";
        *pBase = path;
    } else if (slash == 0) {
        *pDir = "/";
        *pBase = path.substr(1);
    } else {
        *pDir = path.substr(0, slash);
        *pBase = path.substr(slash + 1);
    }
}

// A symbolic link is replaced at the file it points to, not turned into a
// plain file of its own.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

} // namespace

eKtxFileResult TKtxFile::Fail(eKtxFileResult result, int err) {
    m_nErrno = err;
    return result;
}

eKtxFileResult TKtxFile::Read(const std::string& path, std::uint8_t* buffer, std::size_t size) {
    m_nErrno = 0;
    if (path.empty())
        return eKtxFileNoName;
    // O_NONBLOCK: a named pipe must not hang the program here; it is refused
    // below as not a regular file.
    const int fd = m_Fs.Open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0);
    if (fd < 0)
        return Fail(eKtxFileCannotOpen, errno);

    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : (errno ? errno : EINVAL);
        m_Fs.Close(fd);
        return Fail(eKtxFileCannotOpen, err);
    }

    // The length is decided by what can really be read, not by a size taken
    // beforehand, so a file that grows or shrinks meanwhile is still judged
    // on the bytes the program got.
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = m_Fs.Read(fd, buffer + got, size - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            m_Fs.Close(fd);
            return Fail(eKtxFileReadError, err);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got < size) {
        m_Fs.Close(fd);
        return Fail(eKtxFileWrongLength, 0);
    }
    std::uint8_t extra = 0;
    ssize_t n;
    do {
        n = m_Fs.Read(fd, &extra, 1);
    } while (n < 0 && errno == EINTR);
    const int err = errno;
    m_Fs.Close(fd);
    if (n > 0)
        return Fail(eKtxFileWrongLength, 0);
    if (n < 0)
        return Fail(eKtxFileReadError, err);
    return eKtxFileOk;
}

bool TKtxFile::WriteAll(int fd, const std::uint8_t* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = m_Fs.Write(fd, buffer + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_nErrno = errno;
            return false;
        }
        if (n == 0) {
            // A device that takes nothing and reports no error would loop
            // for ever; count it as full.
            m_nErrno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

int TKtxFile::CreateTemp(const std::string& target, std::string* pTempName) {
    static std::atomic<unsigned> counter{0};
    std::string dir, base;
    SplitPath(target, &dir, &base);
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = (dir == "/" ? std::string("/") : dir + "/") + "." + base +
                                 ".tmp-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(counter++) + "-" + std::to_string(rd() % 100000);
        const int fd = m_Fs.Open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0) {
            *pTempName = name;
            return fd;
        }
        if (errno != EEXIST) {
            m_nErrno = errno;
            return -1;
        }
    }
    m_nErrno = EEXIST;
    return -1;
}

eKtxFileResult TKtxFile::WriteAtomic(const std::string& path, const std::uint8_t* buffer,
                                     std::size_t size) {
    m_nErrno = 0;
    if (path.empty())
        return eKtxFileNoName;
    const std::string target = ResolveTarget(path);

    // The kernel's own judgement for the effective user: write bits, ACLs,
    // read-only mounts and immutable files alike. A missing target is
    // simply a new file.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
        return Fail(eKtxFileNotWritable, errno);

    std::string temp;
    const int fd = CreateTemp(target, &temp);
    if (fd < 0)
        return eKtxFileCannotCreate;

    // The replacement keeps the access rights of the file it replaces.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        (void)::fchmod(fd, st.st_mode & 07777);

    bool ok = WriteAll(fd, buffer, size);
    if (ok && m_Fs.Fsync(fd) != 0) {
        m_nErrno = errno;
        ok = false;
    }
    // Network file systems report some write errors only when closing.
    if (m_Fs.Close(fd) != 0 && ok) {
        m_nErrno = errno;
        ok = false;
    }
    if (!ok) {
        const int err = m_nErrno;
        m_Fs.Unlink(temp);
        return Fail(eKtxFileWriteError, err);
    }
    if (m_Fs.Rename(temp, target) != 0) {
        const int err = errno;
        m_Fs.Unlink(temp);
        return Fail(eKtxFileRenameError, err);
    }

    // Make the rename itself durable; the new content is complete either
    // way, so a folder that cannot be flushed is no failure of the save.
    std::string dir, base;
    SplitPath(target, &dir, &base);
    const int dfd = m_Fs.Open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (dfd >= 0) {
        (void)m_Fs.Fsync(dfd);
        m_Fs.Close(dfd);
    }
    return eKtxFileOk;
}

const char* TKtxFile::ResultName(eKtxFileResult result) {
    switch (result) {
    case eKtxFileOk:
        return "ok";
    case eKtxFileNoName:
        return "no file name";
    case eKtxFileCannotOpen:
        return "cannot open";
    case eKtxFileWrongLength:
        return "wrong length";
    case eKtxFileReadError:
        return "read error";
    case eKtxFileCannotCreate:
        return "cannot create temporary file";
    case eKtxFileWriteError:
        return "write error";
    case eKtxFileRenameError:
        return "rename failed";
    case eKtxFileNotWritable:
        return "the file is write-protected";
    }
    return "unknown";
}
