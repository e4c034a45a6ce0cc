#pragma once
// The box and the camera device in download mode, as the firmware download
// meets them: each takes the firmware commands addressed to it (device byte
// 1 or 2), keeps what it was told to erase and write, and answers with Ack,
// Nak, its header or the checksum of the written image. Faults on request:
// silence or a Nak for the next commands of a kind, a wrong checksum, a
// short header (or one without data), a missing camera device.

#include "DownloadFileGen.h"
#include "FirmwareDefs.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

class FirmwareDeviceSim {
public:
    using Bytes = std::vector<std::uint8_t>;

    struct Device {
        bool present = true;
        bool nakWhenAbsent = false; // an absent device Naks instead of keeping silent
        Bytes header;               // the running firmware's header record
        bool inDownload = false;
        std::set<int> erased;
        std::map<int, Bytes> written;
        bool oldRemoved = false, newRemoved = false;
        int restarts = 0;
    };

    struct Command {
        std::uint8_t device, cmd;
        std::uint16_t block; // 0 when the command carries none
        std::size_t len;
        friend bool operator==(const Command& a, const Command& b) {
            return std::tie(a.device, a.cmd, a.block) == std::tie(b.device, b.cmd, b.block);
        }
    };

    Device box, camera;
    std::vector<Command> log;
    std::deque<Bytes> answers;

    // The next n commands (device, command) go unanswered or are Naked.
    std::map<std::pair<std::uint8_t, std::uint8_t>, int> silence, nak;
    // Answer the block write of this number with silence n times.
    std::map<int, int> silenceWrite;
    std::optional<std::uint16_t> checksumOverride;
    int shortHeaders = 0;            // header answers cut to shortHeaderLen bytes
    std::size_t shortHeaderLen = 40; // 0: a header answer without data

    // A block the PC sent; the identification and other channels are not
    // for the devices.
    void OnPcBlock(const Bytes& b) {
        if (b.size() < 2 || (b[0] != kFWProtKTX && b[0] != kFWProtKMR))
            return;
        const std::uint8_t dev = b[0];
        const std::uint8_t cmd = b[1];
        const std::uint16_t block =
            b.size() >= 4 ? static_cast<std::uint16_t>(256 * b[2] + b[3]) : 0;
        log.push_back({dev, cmd, block, b.size()});
        Device& d = dev == kFWProtKTX ? box : camera;
        if (!d.present) {
            if (d.nakWhenAbsent)
                Answer(dev, eFWNak);
            return;
        }
        if (Take(silence, {dev, cmd}))
            return;
        if (cmd == eFWCmdWriteBlock && Take(silenceWrite, int{block}))
            return;
        if (Take(nak, {dev, cmd})) {
            Answer(dev, eFWNak);
            return;
        }
        switch (cmd) {
        case eFWCmdStartDownload:
            d.inDownload = true;
            Answer(dev, eFWAck);
            break;
        case eFWCmdStopDownload:
            d.inDownload = false;
            Answer(dev, eFWAck);
            break;
        case eFWCmdGetHeader: {
            Bytes a{static_cast<std::uint8_t>(dev | 0x80), eFWHeader, 0, 1, 0xFF, 0xFF};
            Bytes h = d.header;
            if (shortHeaders > 0) {
                --shortHeaders;
                h.resize(shortHeaderLen);
            }
            a.insert(a.end(), h.begin(), h.end());
            answers.push_back(a);
            break;
        }
        case eFWCmdDeleteBlock:
            d.erased.insert(block);
            d.written.clear();
            Answer(dev, eFWAck);
            break;
        case eFWCmdWriteBlock:
            d.written[block] = Bytes(b.begin() + 6, b.end());
            Answer(dev, eFWAck);
            break;
        case eFWCmdGetChecksum: {
            const std::uint16_t sum = checksumOverride ? *checksumOverride : ImageSum(d);
            answers.push_back({static_cast<std::uint8_t>(dev | 0x80), eFWChecksum,
                               static_cast<std::uint8_t>(sum >> 8),
                               static_cast<std::uint8_t>(sum & 0xFF)});
            break;
        }
        case eFWCmdKillFirmware:
            (block == kFWKillOld ? d.oldRemoved : d.newRemoved) = true;
            if (block != kFWKillOld)
                d.written.clear();
            Answer(dev, eFWAck);
            break;
        case eFWCmdReset:
            ++d.restarts;
            Answer(dev, eFWAck);
            break;
        default:
            Answer(dev, eFWNak);
            break;
        }
    }

    // The written image as one file.
    static Bytes Image(const Device& d) {
        Bytes img;
        for (int n = 0; d.written.count(n); ++n)
            img.insert(img.end(), d.written.at(n).begin(), d.written.at(n).end());
        return img;
    }

private:
    template <class K> static bool Take(std::map<K, int>& m, const K& k) {
        auto it = m.find(k);
        if (it == m.end() || it->second <= 0)
            return false;
        --it->second;
        return true;
    }

    static std::uint16_t ImageSum(const Device& d) { return dlgen::Checksum(Image(d)); }

    void Answer(std::uint8_t dev, std::uint8_t cmd) {
        answers.push_back({static_cast<std::uint8_t>(dev | 0x80), cmd});
    }
};
