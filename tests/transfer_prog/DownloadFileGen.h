#pragma once
// Download files for tests: a correct header (sign, length, device, texts)
// over blocks of reproducible content, with the checksum the devices expect.
// Other tests may take files from here and break them on purpose.

#include "FirmwareDefs.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace dlgen {

using Bytes = std::vector<std::uint8_t>;

struct DownloadFileRecipe {
    std::uint8_t device = eFWDeviceKTX;
    std::uint16_t blocks = 4;
    std::uint8_t codeType = 1;
    std::string date = "10112000"; // shown as 10.11.2000
    std::string time = "123456";   // shown as 12:34:56
    std::string version = "V2.10";
    std::string vendor = "Kestrin";
    std::uint32_t startAdr = 0x10000;
    std::uint32_t seed = 1;
};

inline void PutLe16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutLe32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Copies at most size bytes of text into the field; the rest stays 0.
inline void PutText(Bytes& b, std::size_t at, std::size_t size, const std::string& text) {
    std::memset(b.data() + at, 0, size);
    std::memcpy(b.data() + at, text.data(), std::min(size, text.size()));
}

// The devices' sum: every byte, the checksum field's two bytes as 0xFF.
inline std::uint16_t Checksum(const Bytes& file) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < file.size(); ++i)
        sum = static_cast<std::uint16_t>(sum + ((i == 6 || i == 7) ? 0xFF : file[i]));
    return sum;
}

// Writes the checksum of the file into its header.
inline void SealChecksum(Bytes& file) {
    PutLe16(file, kDLCheckSumOffset, Checksum(file));
}

// The 64-byte header record alone (for device header answers).
inline Bytes MakeHeader(const DownloadFileRecipe& recipe, std::uint16_t checkSum = 0) {
    Bytes h(kDLHeaderLen, 0);
    PutLe16(h, 0, kDLCodeSign);
    PutLe16(h, 2, recipe.blocks);
    h[4] = recipe.codeType;
    h[5] = recipe.device;
    PutLe16(h, 6, checkSum);
    PutLe32(h, 8, recipe.startAdr);
    PutLe32(h, 12, static_cast<std::uint32_t>(recipe.blocks) * kDLBlockLen);
    PutLe16(h, 16, 0);
    PutText(h, 18, kDLDateLen, recipe.date);
    PutText(h, 26, kDLTimeLen, recipe.time);
    PutText(h, 32, kDLVersionLen, recipe.version);
    PutText(h, 48, kDLVendorLen, recipe.vendor);
    return h;
}

inline Bytes MakeDownloadFile(const DownloadFileRecipe& recipe = {}) {
    Bytes file(static_cast<std::size_t>(recipe.blocks) * kDLBlockLen);
    std::mt19937 gen(recipe.seed);
    for (auto& b : file)
        b = static_cast<std::uint8_t>(gen());
    if (file.size() >= kDLHeaderLen) {
        const Bytes h = MakeHeader(recipe);
        std::copy(h.begin(), h.end(), file.begin());
    }
    SealChecksum(file);
    return file;
}

inline bool WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A folder of its own under the system's temporary folder, removed with the
// object.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("mox-dl-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path File(const std::string& name, const Bytes& bytes) const {
        const auto p = path_ / name;
        WriteFile(p, bytes);
        return p;
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace dlgen
