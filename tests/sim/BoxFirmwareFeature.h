#pragma once
// The box and the camera device attached to it in download mode, as the
// firmware download meets them. Firmware blocks come on channel 1 (the
// box) and 2 (the camera device): device byte, command, block number high
// byte first, two unused bytes, data; a command without a block number is
// just the device byte and the command. Each device answers on its own
// channel: Ack (32), Nak (33), its header (35, the 64-byte header record of
// the firmware it runs), or the checksum of the image written (34, the sum
// in the block-number field). It keeps what it was told to erase and write,
// and counts restarts and removed images.
//
// Every command is told in a line "FWCMD <device> <command> <block>" (with
// " data <n>" for a block that carries data), so a test can compare the
// exact sequence. Faults on request: Nak or silence for the next commands
// of a kind, a wrong checksum, a short header, a missing camera device.
//
// Single-threaded, like the core it plugs into.

#include "IBoxFeature.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace boxsim {

class BoxFirmwareFeature : public IBoxFeature {
public:
    enum : uint8_t {
        kStartDownload = 0,
        kStopDownload = 1,
        kGetHeader = 3,
        kGetChecksum = 5,
        kDeleteBlock = 6,
        kWriteBlock = 7,
        kReset = 10,
        kKillFirmware = 11,
        kAck = 32,
        kNak = 33,
        kChecksum = 34,
        kHeader = 35,
    };
    static constexpr uint8_t kChannelBox = 1;
    static constexpr uint8_t kChannelCamera = 2;
    static constexpr size_t kHeaderLen = 64;
    // A short header answer: fewer bytes than a header record holds
    // (fwshortheader may name another length, 0 for none).
    static constexpr size_t kShortHeaderLen = 40;
    static constexpr uint16_t kKillOld = 1;

    // How an absent camera device behaves: a device that is not there keeps
    // silent; a bus controller that knows it is missing may refuse.
    enum class Presence { Present, Absent, Nak };

    struct Device {
        Presence presence = Presence::Present;
        Bytes header;
        bool inDownload = false;
        std::set<int> erased;
        std::map<int, Bytes> written;
        int restarts = 0;
        int killedOld = 0;
        int killedNew = 0;
    };

    BoxFirmwareFeature();

    std::string Name() const override { return "firmware"; }
    bool OnBlock(BoxCore& box, const SimBlock& block) override;
    bool OnCommand(BoxCore& box, const std::string& cmd, const std::string& args,
                   std::string* reply) override;

    // A header record as the devices keep it: sign, length, device byte
    // (0 the box, 1 the camera device) and the texts.
    static Bytes MakeHeader(uint8_t deviceByte, const std::string& version, const std::string& date,
                            const std::string& time);
    // The devices' sum over an image: every byte, the checksum field's two
    // bytes (offsets 6 and 7) counted as 0xFF each.
    static uint16_t Checksum(const Bytes& image);
    // The blocks written, from 0 up to the first gap, as one image.
    static Bytes Image(const Device& d);

    const Device& GetDevice(uint8_t channel) const {
        return channel == kChannelCamera ? m_Camera : m_Box;
    }

private:
    using Key = std::pair<uint8_t, uint8_t>; // channel, command

    void Handle(BoxCore& box, Device& d, const SimBlock& block);
    void Reply(BoxCore& box, uint8_t channel, uint8_t cmd, uint16_t number = 0,
               const Bytes& data = {});
    static bool Take(std::map<Key, int>& faults, const Key& key);

    std::string RunFwCommand(const std::string& cmd, const std::vector<std::string>& words);

    Device m_Box;
    Device m_Camera;
    std::map<Key, int> m_Nak;
    std::map<Key, int> m_Silent;
    int m_nBadSum = 0;
    int m_nShortHeader = 0;
    size_t m_nShortHeaderLen = kShortHeaderLen;
};

} // namespace boxsim
