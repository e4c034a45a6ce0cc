#pragma once
// Reading and writing a file that is one fixed-size image, as the ".ktx"
// document and "mox.def" are (32768 bytes, no header). The writer is the
// program's one safe writer: the event-log pages write their dumps and
// listings with it too.
//
// Reading takes a file only when it is a regular file of exactly the
// expected size. Writing never touches the live file until the new content is
// complete on disk: the bytes go to a temporary file beside the target, are
// flushed with fsync and only then renamed over the target, so a full disk, a
// read-only folder or a failing device leaves the old file as it was. The new
// file gets the rights a plain create would give (0666 less the umask); a
// file it replaces keeps its own.
//
// Renaming over a file needs only the folder's permission, so the writer
// asks first whether the user may write the file it would replace: a file
// the user has protected, or may not write for any other reason, is refused
// as a plain write in place would refuse it, and stays as it was.

#include <cstddef>
#include <cstdint>
#include <string>

#include "IDocFileSystem.h"

enum eKtxFileResult : int {
    eKtxFileOk = 0,
    eKtxFileNoName,       // no file name given
    eKtxFileCannotOpen,   // missing, no permission, or not a regular file
    eKtxFileWrongLength,  // not exactly the expected size
    eKtxFileReadError,    // the system failed while reading
    eKtxFileCannotCreate, // the temporary file beside the target could not be made
    eKtxFileWriteError,   // writing, flushing or closing failed (disk full, device error)
    eKtxFileRenameError,  // the finished file could not replace the target
    eKtxFileNotWritable,  // the target exists and the user may not write it
};

class TKtxFile {
public:
    explicit TKtxFile(IDocFileSystem& fs) : m_Fs(fs) {}

    // Reads exactly size bytes into buffer. On any result but eKtxFileOk the
    // buffer's content is unspecified.
    eKtxFileResult Read(const std::string& path, std::uint8_t* buffer, std::size_t size);

    // Replaces path with the size bytes of buffer, or leaves it untouched.
    eKtxFileResult WriteAtomic(const std::string& path, const std::uint8_t* buffer,
                               std::size_t size);

    // errno of the last failure (0 when there was none).
    int GetLastErrno() const { return m_nErrno; }

    static const char* ResultName(eKtxFileResult result);

private:
    bool WriteAll(int fd, const std::uint8_t* buffer, std::size_t size);
    int CreateTemp(const std::string& target, std::string* pTempName);
    eKtxFileResult Fail(eKtxFileResult result, int err);

    IDocFileSystem& m_Fs;
    int m_nErrno = 0;
};
