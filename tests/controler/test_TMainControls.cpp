// The enabling rules of the main window's UpdateControls, the title and the
// program-state image, as tables.

#include "TMainControls.h"
#include "TNodeData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TMainControlInput Base() {
    TMainControlInput in;
    in.textCaption = "Halvox";
    in.textIsdn = "ISDN";
    in.client0 = "0301234";
    return in;
}

struct TitleRow {
    const char* name;
    int port;
    bool connected;
    bool dialling;
    const char* title;
};

void PrintTo(const TitleRow& r, std::ostream* os) {
    *os << r.name;
}

class TitleRows : public testing::TestWithParam<TitleRow> {};

TEST_P(TitleRows, Title) {
    TMainControlInput in = Base();
    in.portSetting = GetParam().port;
    in.isdnConnected = GetParam().connected;
    in.dialling = GetParam().dialling;
    EXPECT_EQ(TMainControls::Compute(in).title, GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TitleRows,
    testing::Values(TitleRow{"NoMedium", 0, false, false, "Halvox"},
                    TitleRow{"Bus", 2, true, false, "Halvox"},
                    TitleRow{"Serial", 6, false, false, "Halvox"},
                    TitleRow{"IsdnIdle", 9, false, false, "Halvox   ISDN < >"},
                    TitleRow{"IsdnConnected", 9, true, false, "Halvox   ISDN <0301234>"},
                    TitleRow{"IsdnDialling", 9, false, true, "Halvox   ISDN <>"}),
    [](const auto& info) { return std::string(info.param.name); });

struct IsdnRow {
    const char* name;
    int port;
    bool connected;
    bool dialling;
    bool connectEnabled, disconnectEnabled, dialVisible, discVisible;
};

void PrintTo(const IsdnRow& r, std::ostream* os) {
    *os << r.name;
}

class IsdnRows : public testing::TestWithParam<IsdnRow> {};

TEST_P(IsdnRows, IsdnControls) {
    const IsdnRow& r = GetParam();
    TMainControlInput in = Base();
    in.portSetting = r.port;
    in.isdnConnected = r.connected;
    in.dialling = r.dialling;
    const TMainControlState s = TMainControls::Compute(in);
    EXPECT_EQ(s.connectEnabled, r.connectEnabled);
    EXPECT_EQ(s.disconnectEnabled, r.disconnectEnabled);
    EXPECT_EQ(s.dialVisible, r.dialVisible);
    EXPECT_EQ(s.discVisible, r.discVisible);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IsdnRows,
    testing::Values(IsdnRow{"NotIsdn", 1, false, false, false, false, false, false},
                    IsdnRow{"NotIsdnConnectedFlagIgnored", 5, true, false, false, false, false,
                            false},
                    IsdnRow{"IsdnIdle", 9, false, false, true, false, true, false},
                    IsdnRow{"IsdnDialling", 9, false, true, true, false, false, true},
                    IsdnRow{"IsdnConnected", 9, true, false, false, true, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct KindRow {
    const char* name;
    std::uint8_t kind;
    bool haveTransfer;
    bool linkUsable;
    bool resetPage;
};

void PrintTo(const KindRow& r, std::ostream* os) {
    *os << r.name;
}

class ResetPageRows : public testing::TestWithParam<KindRow> {};

TEST_P(ResetPageRows, ResetPageItem) {
    TMainControlInput in = Base();
    in.nodeKind = GetParam().kind;
    in.haveTransfer = GetParam().haveTransfer;
    in.linkUsable = GetParam().linkUsable;
    EXPECT_EQ(TMainControls::Compute(in).resetPageEnabled, GetParam().resetPage);
}

INSTANTIATE_TEST_SUITE_P(Rows, ResetPageRows,
                         testing::Values(KindRow{"None", 0, true, true, false},
                                         KindRow{"Project", eProjectKonf, true, true, false},
                                         KindRow{"Devices", eGeraeteliste, true, true, false},
                                         KindRow{"BoxSettings", eKTXKonfig, false, false, true},
                                         KindRow{"Sperrnr", eSperrnr, false, false, true},
                                         KindRow{"Sms", eSMS, false, false, true},
                                         KindRow{"Kmr", eKMRKonfig, false, false, true},
                                         KindRow{"RakIn", eRAKMEG, false, false, true},
                                         KindRow{"RakOut", eRAKSAG, false, false, true},
                                         KindRow{"ItTexts", eITKonfig, false, false, true},
                                         KindRow{"ItMfe", eITMfe, false, false, true},
                                         KindRow{"ItMfr", eITMfr, false, false, true},
                                         KindRow{"Schaltcode", eITSchaltcode, false, false, true},
                                         KindRow{"Eib", eEIBKonfig, false, false, true},
                                         KindRow{"Bsm", eBSMKonfig, false, false, true},
                                         KindRow{"TlnBG", eTlnBG, false, false, true},
                                         KindRow{"System", eSystemKonfig, false, false, true},
                                         KindRow{"TlnProg", eTlnAktProg, true, true, false},
                                         KindRow{"ReadPage", eDatenLesen, true, true, false},
                                         KindRow{"Folder", eNodeIT, true, true, false},
                                         // The subscriber page follows the link once there is a
                                         // controller.
                                         KindRow{"TlnNoController", eTlnKonfig, false, false, true},
                                         KindRow{"TlnLinkDown", eTlnKonfig, true, false, false},
                                         KindRow{"TlnLinkUp", eTlnKonfig, true, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TransferRow {
    const char* name;
    bool haveTransfer;
    bool linkUsable;
    int mode;
    bool expert;
    int transferEnabled; // -1: left as it is
    bool defaultsVisible;
    bool defaultsEnabled;
};

void PrintTo(const TransferRow& r, std::ostream* os) {
    *os << r.name;
}

class TransferRows : public testing::TestWithParam<TransferRow> {};

TEST_P(TransferRows, BoxCommands) {
    const TransferRow& r = GetParam();
    TMainControlInput in = Base();
    in.haveTransfer = r.haveTransfer;
    in.linkUsable = r.linkUsable;
    in.mode = r.mode;
    in.expert = r.expert;
    const TMainControlState s = TMainControls::Compute(in);
    if (r.transferEnabled < 0)
        EXPECT_FALSE(s.transferEnabled.has_value());
    else
        EXPECT_EQ(s.transferEnabled, r.transferEnabled == 1);
    EXPECT_EQ(s.defaultsVisible, r.defaultsVisible);
    EXPECT_EQ(s.defaultsEnabled, r.defaultsEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TransferRows,
    testing::Values(TransferRow{"NoController", false, false, 2, true, -1, false, false},
                    TransferRow{"LinkDown", true, false, 1, false, 0, false, false},
                    TransferRow{"LinkUp", true, true, 1, false, 1, false, false},
                    TransferRow{"ExpertWithoutFlag", true, true, 2, false, 1, false, false},
                    TransferRow{"FlagInStandardMode", true, true, 1, true, 1, false, false},
                    TransferRow{"ExpertFlagLinkDown", true, false, 2, true, 0, true, false},
                    TransferRow{"ExpertFlagLinkUp", true, true, 2, true, 1, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainControls, FileCommands) {
    TMainControlInput in = Base();
    TMainControlState s = TMainControls::Compute(in);
    EXPECT_TRUE(s.newVisible);
    EXPECT_TRUE(s.openVisible);
    EXPECT_TRUE(s.newMenuEnabled);
    EXPECT_FALSE(s.saveEnabled);
    EXPECT_FALSE(s.deleteVisible);
    in.docModified = true;
    s = TMainControls::Compute(in);
    EXPECT_TRUE(s.saveEnabled);
    EXPECT_FALSE(s.deleteVisible);
}

struct StateRow {
    const char* name;
    int port;
    TProgFlags flags;
    int state;
};

void PrintTo(const StateRow& r, std::ostream* os) {
    *os << r.name;
}

class ProgStateRows : public testing::TestWithParam<StateRow> {};

TEST_P(ProgStateRows, State) {
    EXPECT_EQ(TMainControls::ProgState(GetParam().port, GetParam().flags), GetParam().state);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgStateRows,
                         testing::Values(StateRow{"NoMedium", 0, {true, true, true, true}, 0},
                                         StateRow{"Idle", 3, {}, 1},
                                         StateRow{"BoxProg", 3, {true, false, false, false}, 2},
                                         StateRow{"TlnNoVideo", 9, {true, true, false, false}, 4},
                                         StateRow{"TlnVideo", 9, {true, true, true, false}, 6},
                                         StateRow{
                                             "VideoFlagAlone", 9, {false, false, true, false}, 1},
                                         // The switch-module test comes last and wins.
                                         StateRow{"BsmWins", 5, {true, true, true, true}, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ImageRow {
    const char* name;
    int state;
    int typeIT;
    bool blink;
    int image;
};

void PrintTo(const ImageRow& r, std::ostream* os) {
    *os << r.name;
}

class ProgImageRows : public testing::TestWithParam<ImageRow> {};

TEST_P(ProgImageRows, Image) {
    EXPECT_EQ(TMainControls::ProgStateImage(GetParam().state, GetParam().typeIT, GetParam().blink),
              GetParam().image);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgImageRows,
                         testing::Values(ImageRow{"IT2_NoMedium_Blink", 0, 2, true, 0},
                                         ImageRow{"IT2_Idle_Blink", 1, 2, true, 1},
                                         ImageRow{"IT2_BoxProg_Steady", 2, 2, false, 2},
                                         ImageRow{"IT2_BoxProg_Blink", 2, 2, true, 5},
                                         ImageRow{"IT2_TlnVideo_Steady", 6, 2, false, 6},
                                         ImageRow{"IT1_Idle", 1, 1, false, 5},
                                         ImageRow{"IT0_NoMedium", 0, 0, false, 5},
                                         ImageRow{"IT3_BoxProg", 2, 3, false, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
