#include "BoxFiles.h"

#include "DbgOut.h"
#include "TKtxFile.h"
#include "TPosixDocFileSystem.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace BoxFiles {

bool WriteWhole(const std::string& path, const std::uint8_t* data, std::size_t size) {
    // The document's own safe writer: besides never leaving a half-written
    // file, it gives a new file the rights a plain create would and keeps
    // those of a file it replaces.
    TKtxFile file(TPosixDocFileSystem::Instance());
    const eKtxFileResult r = file.WriteAtomic(path, data, size);
    if (r != eKtxFileOk)
        DbgOut(eDbgView, "<BoxFiles::WriteWhole> %s: %s (errno %d)", path.c_str(),
               TKtxFile::ResultName(r), file.GetLastErrno());
    return r == eKtxFileOk;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    return WriteWhole(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

bool ReadWhole(const std::string& path, std::string& bytes, std::size_t maxSize) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > maxSize)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string data(static_cast<std::size_t>(size), '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size)
        return false;
    bytes = std::move(data);
    return true;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec);
}

std::string MakeTempFile(const char* prefix) {
    std::error_code ec;
    const fs::path dir = fs::temp_directory_path(ec);
    if (ec)
        return {};
    std::string name = (dir / (std::string(prefix) + "XXXXXX")).string();
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return {};
    ::close(fd);
    return name;
}

void Remove(const std::string& path) {
    if (path.empty())
        return;
    std::error_code ec;
    fs::remove(path, ec);
}

std::string WithDefaultExtension(const std::string& name, const std::string& ext) {
    if (name.empty() || fs::path(name).has_extension())
        return name;
    return name + "." + ext;
}

} // namespace BoxFiles
