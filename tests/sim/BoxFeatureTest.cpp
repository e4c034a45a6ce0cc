// The box's programming and firmware features behind the core, over a
// recording link: the bytes of their answers, the commands of the tests,
// and the faults they play on request.

#include "BoxCore.h"
#include "BoxFirmwareFeature.h"
#include "BoxProgFeature.h"

#include <gtest/gtest.h>

#include <memory>

using namespace boxsim;

namespace {

class RecordingLink : public IBoxLink {
public:
    void SendBlock(const Bytes& block) override { sent.push_back(block); }
    bool SendRawTelegram(const Bytes& telegram) override {
        raw.push_back(telegram);
        return true;
    }
    bool Idle() const override { return true; }
    std::vector<Bytes> sent;
    std::vector<Bytes> raw;
};

class BoxFeatureTest : public ::testing::Test {
protected:
    BoxFeatureTest() : timers([] { return uint64_t{0}; }), core(timers) {
        core.SetLink(&link);
        core.onEvent = [this](const std::string& l) { events.push_back(l); };
        core.AddFeature(std::make_unique<BoxProgFeature>());
        core.AddFeature(std::make_unique<BoxFirmwareFeature>());
    }
    std::vector<Bytes> Send(const Bytes& bytes) {
        link.sent.clear();
        core.OnBlock(bytes);
        return link.sent;
    }
    std::string Command(const std::string& line) {
        const size_t sp = line.find(' ');
        std::string reply;
        EXPECT_TRUE(core.RunFeatureCommand(
            line.substr(0, sp), sp == std::string::npos ? "" : line.substr(sp + 1), &reply));
        return reply;
    }
    bool Saw(const std::string& line) const {
        return std::find(events.begin(), events.end(), line) != events.end();
    }

    SimTimers timers;
    BoxCore core;
    RecordingLink link;
    std::vector<std::string> events;
};

// ---- Programming -------------------------------------------------------------

TEST_F(BoxFeatureTest, FreeAddressListAnswersHighByteFirstFromByteSeven) {
    const auto out = Send({0x03, 0, 0, 0, 0, 0, BoxProgFeature::kProgKba, 0, 2, 0, 0});
    EXPECT_EQ(out, (std::vector<Bytes>{{0x83, 0, 0, 0, 0, 0, 65, 0x01, 0x05, 0x01, 0x06}}));
    EXPECT_TRUE(Saw("PROGCMD PROG_KBA 0002 0000"));
}

TEST_F(BoxFeatureTest, CountAnswerCarriesAckOrNakInByteEight) {
    ASSERT_EQ(Command("freecount 7"), "OK");
    EXPECT_EQ(Send({0x03, 0, 0, 0, 0, 0, BoxProgFeature::kProgKbaCount, 0, 0, 0, 0}),
              (std::vector<Bytes>{{0x83, 0, 0, 0, 0, 0, 70, 0, 8, 0, 7}}));
    ASSERT_EQ(Command("freecount nak"), "OK");
    EXPECT_EQ(Send({0x03, 0, 0, 0, 0, 0, BoxProgFeature::kProgKbaCount, 0, 0, 0, 0}),
              (std::vector<Bytes>{{0x83, 0, 0, 0, 0, 0, 70, 0, 9, 0, 0}}));
}

TEST_F(BoxFeatureTest, AssignedAddressIsAcknowledgedInTheFormAskedFor) {
    ASSERT_EQ(Command("progunit 0030"), "OK");
    const Bytes assign{0x03, 0, 0, 0, 0, 0, BoxProgFeature::kHtProgAkt, 0x01, 0x05, 0, 0};
    EXPECT_EQ(Send(assign), (std::vector<Bytes>{{0x83, 0, 0, 0, 0, 0, 11, 0x01, 0x05, 0, 0x30}}));
    ASSERT_EQ(Command("progquitt tele"), "OK");
    EXPECT_TRUE(Send(assign).empty());
    // '/' telegram: command, then the words low byte first.
    EXPECT_EQ(link.raw.back(), (Bytes{0xF0, 0x2F, 0x70, 11, 0x05, 0x01, 0x30, 0x00}));
    EXPECT_EQ(Command("progstatus"),
              "PROGSTATUS mode 0 bsg 0021 unit 0030 video 0 codes 0 free 1 0106");
}

TEST_F(BoxFeatureTest, ErrorReportAsTelegramUsesItsOwnFunction) {
    ASSERT_EQ(Command("progerror 3 2 tele"), "OK");
    EXPECT_EQ(link.raw.back(), (Bytes{0xF0, 0x3A, 0x70, 3, 2}));
    ASSERT_EQ(Command("progerror 3 2"), "OK");
    EXPECT_EQ(link.sent.back(), (Bytes{0x83, 0, 0, 0, 0, 0, 58, 3, 2, 0, 0}));
}

TEST_F(BoxFeatureTest, BadCommandLinesAreRefused) {
    EXPECT_EQ(Command("progmode maybe").rfind("ERROR", 0), 0u);
    EXPECT_EQ(Command("progmode on carrier-pigeon").rfind("ERROR", 0), 0u);
    EXPECT_EQ(Command("freelist 12345").rfind("ERROR", 0), 0u);
    EXPECT_EQ(Command("fwnak box teleport").rfind("ERROR", 0), 0u);
    EXPECT_EQ(Command("fwsilent toaster write").rfind("ERROR", 0), 0u);
}

// ---- Firmware ----------------------------------------------------------------

TEST_F(BoxFeatureTest, TwoByteFirmwareCommandReachesTheDevice) {
    EXPECT_EQ(Send({0x01, BoxFirmwareFeature::kStartDownload}),
              (std::vector<Bytes>{{0x81, 32, 0, 0, 0xFF, 0xFF}}));
    EXPECT_TRUE(Saw("FWCMD 1 0 0"));
    // Other channels stay malformed.
    Send({0x00, 0x05, 0x00});
    EXPECT_EQ(events.back(), "BADBLOCK len 3");
}

TEST_F(BoxFeatureTest, FlashCommandsOutsideDownloadModeAreRefused) {
    EXPECT_EQ(Send({0x01, BoxFirmwareFeature::kGetChecksum, 0, 2, 0, 0}),
              (std::vector<Bytes>{{0x81, 33, 0, 0, 0xFF, 0xFF}}));
}

TEST_F(BoxFeatureTest, ChecksumOfTheWrittenImageSkipsItsOwnField) {
    Send({0x02, BoxFirmwareFeature::kStartDownload});
    Bytes write{0x02, BoxFirmwareFeature::kWriteBlock, 0, 0, 0, 0};
    write.resize(6 + 1024, 1);
    write[6 + 6] = 0x12; // the checksum field counts as 0xFF 0xFF
    write[6 + 7] = 0x34;
    Send(write);
    const uint16_t sum = static_cast<uint16_t>(1022 + 2 * 0xFF);
    EXPECT_EQ(Send({0x02, BoxFirmwareFeature::kGetChecksum, 0, 2, 0, 0}),
              (std::vector<Bytes>{{0x82, 34, static_cast<uint8_t>(sum >> 8),
                                   static_cast<uint8_t>(sum & 0xFF), 0xFF, 0xFF}}));
    ASSERT_EQ(Command("fwbadsum"), "OK");
    const auto bad = Send({0x02, BoxFirmwareFeature::kGetChecksum, 0, 2, 0, 0});
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0][3], static_cast<uint8_t>((sum + 1) & 0xFF));
}

TEST_F(BoxFeatureTest, HeaderAnswerHoldsTheHeaderRecordOrACutOne) {
    Send({0x01, BoxFirmwareFeature::kStartDownload});
    auto out = Send({0x01, BoxFirmwareFeature::kGetHeader, 0, 1, 0, 0});
    ASSERT_EQ(out.size(), 1u);
    ASSERT_EQ(out[0].size(), 6u + 64u);
    EXPECT_EQ(out[0][1], 35);
    EXPECT_EQ(out[0][6], 0x5A);
    EXPECT_EQ(out[0][7], 0xA5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&out[0][6 + 32])), "KTX 1.00");
    ASSERT_EQ(Command("fwshortheader"), "OK");
    out = Send({0x01, BoxFirmwareFeature::kGetHeader, 0, 1, 0, 0});
    EXPECT_EQ(out[0].size(), 6u + 40u);
    // One without data, then the whole header again.
    ASSERT_EQ(Command("fwshortheader 1 0"), "OK");
    out = Send({0x01, BoxFirmwareFeature::kGetHeader, 0, 1, 0, 0});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].size(), 6u);
    EXPECT_EQ(out[0][1], 35);
    EXPECT_EQ(Send({0x01, BoxFirmwareFeature::kGetHeader, 0, 1, 0, 0})[0].size(), 6u + 64u);
    EXPECT_EQ(Command("fwshortheader 1 64").rfind("ERROR", 0), 0u);
}

TEST_F(BoxFeatureTest, FaultsApplyToTheirDeviceAndCommandOnly) {
    ASSERT_EQ(Command("fwsilent camera start 1"), "OK");
    ASSERT_EQ(Command("fwnak box stop"), "OK");
    EXPECT_EQ(Send({0x01, BoxFirmwareFeature::kStartDownload}).size(), 1u);
    EXPECT_TRUE(Send({0x02, BoxFirmwareFeature::kStartDownload}).empty());
    EXPECT_TRUE(Saw("FWSILENT 2 0 0"));
    EXPECT_EQ(Send({0x02, BoxFirmwareFeature::kStartDownload}).size(), 1u);
    EXPECT_EQ(Send({0x01, BoxFirmwareFeature::kStopDownload})[0][1], 33);
    EXPECT_EQ(Send({0x01, BoxFirmwareFeature::kStopDownload})[0][1], 32);
    ASSERT_EQ(Command("fwcamera absent"), "OK");
    EXPECT_TRUE(Send({0x02, BoxFirmwareFeature::kStopDownload}).empty());
    ASSERT_EQ(Command("fwcamera nak"), "OK");
    EXPECT_EQ(Send({0x02, BoxFirmwareFeature::kStopDownload})[0][1], 33);
}

} // namespace
