#include "BoxFirmwareFeature.h"

#include "BoxCore.h"
#include "SimCount.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

namespace boxsim {

namespace {

// Header record fields (little-endian), as the download file has them.
constexpr uint16_t kCodeSign = 0xA55A;
constexpr size_t kDateAt = 18, kDateLen = 8;
constexpr size_t kTimeAt = 26, kTimeLen = 6;
constexpr size_t kVersionAt = 32, kVersionLen = 16;
constexpr size_t kVendorAt = 48, kVendorLen = 16;

void PutText(Bytes& b, size_t at, size_t size, const std::string& text) {
    std::memcpy(b.data() + at, text.data(), std::min(size, text.size()));
}

std::optional<uint8_t> ParseDevice(const std::string& word) {
    if (word == "box" || word == "1")
        return BoxFirmwareFeature::kChannelBox;
    if (word == "camera" || word == "2")
        return BoxFirmwareFeature::kChannelCamera;
    return std::nullopt;
}

std::optional<uint8_t> ParseFwCmd(const std::string& word) {
    static const std::pair<const char*, uint8_t> kNames[] = {
        {"start", BoxFirmwareFeature::kStartDownload},
        {"stop", BoxFirmwareFeature::kStopDownload},
        {"header", BoxFirmwareFeature::kGetHeader},
        {"checksum", BoxFirmwareFeature::kGetChecksum},
        {"erase", BoxFirmwareFeature::kDeleteBlock},
        {"write", BoxFirmwareFeature::kWriteBlock},
        {"reset", BoxFirmwareFeature::kReset},
        {"kill", BoxFirmwareFeature::kKillFirmware},
    };
    for (const auto& [name, code] : kNames)
        if (word == name)
            return code;
    return std::nullopt;
}

// "3" -> 3, "always", "off", "" -> 1.
std::optional<int> ParseTimes(const std::string& word) {
    if (word.empty())
        return 1;
    if (word == "always")
        return kAlways;
    if (word == "off")
        return 0;
    try {
        size_t used = 0;
        const int n = std::stoi(word, &used);
        if (used != word.size() || n < 0)
            return std::nullopt;
        return n;
    } catch (...) {
        return std::nullopt;
    }
}

std::string Hex4(uint16_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v);
    return buf;
}

} // namespace

BoxFirmwareFeature::BoxFirmwareFeature() {
    m_Box.header = MakeHeader(0, "KTX 1.00", "01022003", "040506");
    m_Camera.header = MakeHeader(1, "KMR 1.00", "01022003", "040506");
}

Bytes BoxFirmwareFeature::MakeHeader(uint8_t deviceByte, const std::string& version,
                                     const std::string& date, const std::string& time) {
    Bytes h(kHeaderLen, 0);
    h[0] = static_cast<uint8_t>(kCodeSign & 0xFF);
    h[1] = static_cast<uint8_t>(kCodeSign >> 8);
    h[2] = 4; // length in blocks: a small image
    h[4] = 1;
    h[5] = deviceByte;
    PutText(h, kDateAt, kDateLen, date);
    PutText(h, kTimeAt, kTimeLen, time);
    // The version is NUL-terminated within its field.
    PutText(h, kVersionAt, kVersionLen - 1, version);
    PutText(h, kVendorAt, kVendorLen - 1, "Kestrin");
    return h;
}

uint16_t BoxFirmwareFeature::Checksum(const Bytes& image) {
    uint16_t sum = 0;
    for (size_t i = 0; i < image.size(); ++i)
        sum = static_cast<uint16_t>(sum + ((i == 6 || i == 7) ? 0xFF : image[i]));
    return sum;
}

Bytes BoxFirmwareFeature::Image(const Device& d) {
    Bytes img;
    for (int n = 0; d.written.count(n); ++n)
        img.insert(img.end(), d.written.at(n).begin(), d.written.at(n).end());
    return img;
}

bool BoxFirmwareFeature::Take(std::map<Key, int>& faults, const Key& key) {
    auto it = faults.find(key);
    return it != faults.end() && TakeOne(it->second);
}

// ---- The PC's commands ------------------------------------------------------

bool BoxFirmwareFeature::OnBlock(BoxCore& box, const SimBlock& block) {
    if (block.channel != kChannelBox && block.channel != kChannelCamera)
        return false;
    std::string line = "FWCMD " + std::to_string(block.channel) + " " + std::to_string(block.cmd) +
                       " " + std::to_string(block.number);
    if (!block.data.empty())
        line += " data " + std::to_string(block.data.size());
    box.Report(line);
    Device& d = block.channel == kChannelCamera ? m_Camera : m_Box;
    const std::string what = std::to_string(block.channel) + " " + std::to_string(block.cmd) + " " +
                             std::to_string(block.number);
    if (d.presence == Presence::Absent) {
        box.Report("FWABSENT " + what);
        return true;
    }
    if (d.presence == Presence::Nak) {
        Reply(box, block.channel, kNak);
        return true;
    }
    const Key key{block.channel, block.cmd};
    if (Take(m_Silent, key)) {
        box.Report("FWSILENT " + what);
        return true;
    }
    if (Take(m_Nak, key)) {
        box.Report("FWNAK " + what);
        Reply(box, block.channel, kNak);
        return true;
    }
    Handle(box, d, block);
    return true;
}

void BoxFirmwareFeature::Handle(BoxCore& box, Device& d, const SimBlock& block) {
    const uint8_t ch = block.channel;
    // The boot loader takes flash commands only in download mode.
    const bool needsDownload = block.cmd == kGetHeader || block.cmd == kGetChecksum ||
                               block.cmd == kDeleteBlock || block.cmd == kWriteBlock ||
                               block.cmd == kKillFirmware;
    if (needsDownload && !d.inDownload) {
        box.Report("FWNOTINDOWNLOAD " + std::to_string(ch) + " " + std::to_string(block.cmd));
        Reply(box, ch, kNak);
        return;
    }
    switch (block.cmd) {
    case kStartDownload:
        d.inDownload = true;
        Reply(box, ch, kAck);
        return;
    case kStopDownload:
        d.inDownload = false;
        Reply(box, ch, kAck);
        return;
    case kGetHeader: {
        Bytes h = d.header;
        if (TakeOne(m_nShortHeader))
            h.resize(m_nShortHeaderLen);
        Reply(box, ch, kHeader, 1, h);
        return;
    }
    case kGetChecksum: {
        uint16_t sum = Checksum(Image(d));
        if (TakeOne(m_nBadSum)) {
            sum = static_cast<uint16_t>(sum + 1);
            box.Report("FWBADSUM " + std::to_string(ch) + " " + Hex4(sum));
        }
        Reply(box, ch, kChecksum, sum);
        return;
    }
    case kDeleteBlock:
        // Erasing any flash block voids the image written so far.
        d.erased.insert(block.number);
        d.written.clear();
        Reply(box, ch, kAck);
        return;
    case kWriteBlock:
        d.written[block.number] = block.data;
        Reply(box, ch, kAck);
        return;
    case kReset:
        ++d.restarts;
        d.inDownload = false;
        Reply(box, ch, kAck);
        return;
    case kKillFirmware:
        ++(block.number == kKillOld ? d.killedOld : d.killedNew);
        if (block.number != kKillOld)
            d.written.clear();
        Reply(box, ch, kAck);
        return;
    default:
        Reply(box, ch, kNak);
        return;
    }
}

void BoxFirmwareFeature::Reply(BoxCore& box, uint8_t channel, uint8_t cmd, uint16_t number,
                               const Bytes& data) {
    SimBlock b;
    b.channel = channel;
    b.cmd = cmd;
    b.number = number;
    b.data = data;
    box.Answer(b);
}

// ---- Commands of the test ---------------------------------------------------

bool BoxFirmwareFeature::OnCommand(BoxCore& /*box*/, const std::string& cmd,
                                   const std::string& args, std::string* reply) {
    static const char* const kWords[] = {"fwheader", "fwcamera",      "fwnak",    "fwsilent",
                                         "fwbadsum", "fwshortheader", "fwstatus", "fwsave"};
    if (std::find(std::begin(kWords), std::end(kWords), cmd) == std::end(kWords))
        return false;
    std::istringstream in(args);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    *reply = RunFwCommand(cmd, words);
    return true;
}

std::string BoxFirmwareFeature::RunFwCommand(const std::string& cmd,
                                             const std::vector<std::string>& w) {
    auto at = [&w](size_t i) { return i < w.size() ? w[i] : std::string(); };
    if (cmd == "fwcamera") {
        if (at(0) == "present")
            m_Camera.presence = Presence::Present;
        else if (at(0) == "absent")
            m_Camera.presence = Presence::Absent;
        else if (at(0) == "nak")
            m_Camera.presence = Presence::Nak;
        else
            return "ERROR fwcamera present|absent|nak";
        return "OK";
    }
    if (cmd == "fwbadsum" || cmd == "fwshortheader") {
        const auto n = ParseTimes(at(0));
        // A header answer of that many bytes, 0 for one without data.
        const auto len = at(1).empty() ? std::optional<int>(static_cast<int>(kShortHeaderLen))
                                       : ParseTimes(at(1));
        if (!n || (cmd == "fwbadsum" && w.size() > 1) || !len || *len < 0 ||
            *len >= static_cast<int>(kHeaderLen))
            return "ERROR " + cmd +
                   (cmd == "fwbadsum" ? " [<n>|always|off]"
                                      : " [<n>|always|off] [<bytes below 64>]");
        if (cmd == "fwbadsum") {
            m_nBadSum = *n;
        } else {
            m_nShortHeader = *n;
            m_nShortHeaderLen = static_cast<size_t>(*len);
        }
        return "OK";
    }
    const auto dev = ParseDevice(at(0));
    if (!dev)
        return "ERROR " + cmd + " needs box or camera";
    Device& d = *dev == kChannelCamera ? m_Camera : m_Box;
    if (cmd == "fwnak" || cmd == "fwsilent") {
        const auto code = ParseFwCmd(at(1));
        const auto n = ParseTimes(at(2));
        if (!code || !n)
            return "ERROR " + cmd +
                   " box|camera start|stop|header|checksum|erase|write|reset|kill [<n>]";
        (cmd == "fwnak" ? m_Nak : m_Silent)[Key{*dev, *code}] = *n;
        return "OK";
    }
    if (cmd == "fwheader") {
        if (at(1).empty() || w.size() > 4)
            return "ERROR fwheader box|camera <version> [<date> <time>]";
        d.header = MakeHeader(*dev == kChannelCamera ? 1 : 0, at(1),
                              w.size() > 2 ? at(2) : "01022003", w.size() > 3 ? at(3) : "040506");
        return "OK";
    }
    const Bytes image = Image(d);
    if (cmd == "fwsave") {
        if (at(1).empty())
            return "ERROR fwsave box|camera <path>";
        std::ofstream out(at(1), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
        out.close();
        if (!out)
            return "ERROR cannot write " + at(1);
        return "FWSAVED " + std::to_string(image.size());
    }
    // fwstatus
    return "FWSTATUS " + std::to_string(*dev) + " download " +
           std::to_string(d.inDownload ? 1 : 0) + " erased " + std::to_string(d.erased.size()) +
           " written " + std::to_string(d.written.size()) + " bytes " +
           std::to_string(image.size()) + " sum " + Hex4(Checksum(image)) + " restarts " +
           std::to_string(d.restarts) + " killold " + std::to_string(d.killedOld) + " killnew " +
           std::to_string(d.killedNew);
}

} // namespace boxsim
