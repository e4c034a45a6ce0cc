// The wizard's step order as a table: each row is one state with the
// answers, device types and mode that matter for it, and the state that
// follows going forward or back.

#include "TAssiSequence.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

constexpr std::uint16_t kAll = 0xFFFF;

TAssiFlags FlagsWithout(std::uint16_t cleared) {
    TAssiFlags f;
    f.Set(cleared, false);
    return f;
}

TAssiDevices Dev(std::uint8_t it, std::uint8_t kmr = 0, std::uint8_t rak = 0, std::uint8_t bsm = 0,
                 int mode = 1) {
    TAssiDevices d;
    d.typeIT = it;
    d.typeKMR = kmr;
    d.typeRAK = rak;
    d.typeBSM = bsm;
    d.mode = mode;
    return d;
}

struct StepRow {
    const char* name;
    std::uint8_t state;
    std::uint16_t cleared; // answer bits that are "no"
    TAssiDevices devices;
    std::uint8_t expected;
};
void PrintTo(const StepRow& r, std::ostream* os) {
    *os << r.name;
}

std::string RowName(const testing::TestParamInfo<StepRow>& info) {
    return info.param.name;
}

class NextState : public testing::TestWithParam<StepRow> {};
class PrevState : public testing::TestWithParam<StepRow> {};

TEST_P(NextState, Follows) {
    const StepRow& r = GetParam();
    EXPECT_EQ(TAssiSequence::Next(r.state, FlagsWithout(r.cleared), r.devices), r.expected);
}

TEST_P(PrevState, Follows) {
    const StepRow& r = GetParam();
    EXPECT_EQ(TAssiSequence::Prev(r.state, FlagsWithout(r.cleared), r.devices), r.expected);
}

const TAssiDevices kAllDevices2 = Dev(2, 1, 1, 1, 2);
const TAssiDevices kNone1 = Dev(1);

INSTANTIATE_TEST_SUITE_P(
    Table, NextState,
    testing::Values(
        StepRow{"WelcomeToDevices", 0, 0, kNone1, 1},
        StepRow{"ByHandSkipsTheRead", 1, 0, kNone1, 3},
        StepRow{"ReadFromTheBox", 1, eAssiFlagByHand, kNone1, 2},
        StepRow{"ReadToDevicesPage", 2, 0, kNone1, 3},
        StepRow{"DevicesToBoxQuestion", 3, 0, kNone1, 4}, StepRow{"BoxYes", 4, 0, kNone1, 5},
        StepRow{"BoxNoWithoutOptionalDevices", 4, eAssiFlagMox, kNone1, 24},
        StepRow{"BoxNoGoesToCamera", 4, eAssiFlagMox, Dev(2, 1, 1, 1), 9},
        StepRow{"BoxNoGoesToController", 4, eAssiFlagMox, Dev(2, 0, 1, 1), 11},
        StepRow{"BoxNoGoesToSwitchModule", 4, eAssiFlagMox, Dev(2, 0, 0, 1), 18},
        StepRow{"Type1SkipsBarredNumbers", 5, 0, Dev(1), 20},
        StepRow{"Type2ToBarredNumbers", 5, 0, Dev(2), 6},
        StepRow{"Type3ToBarredNumbers", 5, 0, Dev(3), 6}, StepRow{"Type0Stays", 5, 0, Dev(0), 5},
        StepRow{"BarredToSubscribers", 6, 0, Dev(2), 20},
        StepRow{"SmsToTexts", 7, 0, kAllDevices2, 15},
        StepRow{"SwitchingCodeToCamera", 8, 0, kAllDevices2, 9},
        StepRow{"SwitchingCodeToSystemWithoutDevices", 8, 0, Dev(2), 24},
        StepRow{"CameraYes", 9, 0, kAllDevices2, 10},
        StepRow{"CameraNo", 9, eAssiFlagKMR, kAllDevices2, 11},
        StepRow{"CameraYesButAbsent", 9, 0, Dev(2, 0, 0, 1), 18},
        StepRow{"CameraPageToController", 10, 0, kAllDevices2, 11},
        StepRow{"ControllerYes", 11, 0, kAllDevices2, 12},
        StepRow{"ControllerNoToSwitchModule", 11, eAssiFlagRAK, kAllDevices2, 18},
        StepRow{"ControllerNoToSystem", 11, eAssiFlagRAK, Dev(2, 1, 1, 0), 24},
        StepRow{"InputsToOutputs", 12, 0, kAllDevices2, 13},
        StepRow{"OutputsToSwitchModule", 13, 0, kAllDevices2, 18},
        StepRow{"DoorYes", 14, 0, kAllDevices2, 16},
        StepRow{"DoorNoToCamera", 14, eAssiFlagIT, kAllDevices2, 9},
        StepRow{"DoorAbsentToSystem", 14, 0, Dev(0), 24},
        StepRow{"TextsType1ToNextBlock", 15, 0, Dev(1, 0, 1, 0), 11},
        StepRow{"TextsType2ToSwitchingCodes", 15, 0, Dev(2), 8},
        StepRow{"TextsType0Stays", 15, 0, Dev(0), 15}, StepRow{"InputToRelay", 16, 0, kNone1, 17},
        StepRow{"RelayToSmsInExpertMode", 17, 0, Dev(1, 0, 0, 0, 2), 7},
        StepRow{"RelaySkipsSmsInStandardMode", 17, 0, Dev(1, 0, 0, 0, 1), 15},
        StepRow{"SwitchModuleYes", 18, 0, Dev(2, 0, 0, 1, 1), 19},
        StepRow{"SwitchModuleNoStandardToEnd", 18, eAssiFlagBSM, Dev(2, 0, 0, 1, 1), 26},
        StepRow{"SwitchModuleNoExpertToSystem", 18, eAssiFlagBSM, Dev(2, 0, 0, 1, 2), 24},
        StepRow{"SwitchModulePageStandardToEnd", 19, 0, Dev(2, 0, 0, 1, 1), 26},
        StepRow{"SwitchModulePageExpertToSystem", 19, 0, Dev(2, 0, 0, 1, 2), 24},
        StepRow{"SubscribersYesType1", 20, 0, Dev(1), 21},
        StepRow{"SubscribersYesType3", 20, 0, Dev(3), 21},
        StepRow{"SubscribersYesType2ProgramsFirst", 20, 0, Dev(2), 23},
        StepRow{"SubscribersYesType0Stays", 20, 0, Dev(0), 20},
        StepRow{"SubscribersNo", 20, eAssiFlagTln, Dev(2), 14},
        StepRow{"SubscriberPageToGroups", 21, 0, Dev(2), 22},
        StepRow{"GroupsToDoor", 22, 0, Dev(2), 14},
        StepRow{"ProgrammingToSubscriberPage", 23, 0, Dev(2), 21},
        StepRow{"SystemYes", 24, 0, kNone1, 25},
        StepRow{"SystemNo", 24, eAssiFlagSystem, kNone1, 26},
        StepRow{"SystemPageToEnd", 25, 0, kNone1, 26}, StepRow{"EndStays", 26, 0, kNone1, 26},
        StepRow{"OutsideStays", 27, 0, kNone1, 27}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Table, PrevState,
    testing::Values(
        StepRow{"WelcomeStays", 0, 0, kNone1, 0}, StepRow{"DevicesToWelcome", 1, 0, kNone1, 0},
        StepRow{"ReadToDevices", 2, 0, kNone1, 1},
        StepRow{"DevicesPageAlwaysToQuestion", 3, eAssiFlagByHand, kNone1, 1},
        StepRow{"BoxQuestionToDevicesPage", 4, 0, kNone1, 3},
        StepRow{"BoxPageToQuestion", 5, 0, kNone1, 4}, StepRow{"BarredToBoxPage", 6, 0, Dev(2), 5},
        StepRow{"SmsToRelay", 7, 0, kAllDevices2, 17},
        StepRow{"SwitchingCodesToTexts", 8, 0, Dev(2), 15},
        StepRow{"CameraBoxNo", 9, eAssiFlagMox, kAllDevices2, 4},
        StepRow{"CameraDoorNo", 9, eAssiFlagIT, kAllDevices2, 14},
        StepRow{"CameraType1", 9, 0, Dev(1, 1), 15}, StepRow{"CameraType2", 9, 0, Dev(2, 1), 8},
        StepRow{"CameraType0", 9, 0, Dev(0, 1), 14},
        StepRow{"CameraPageToQuestion", 10, 0, kAllDevices2, 9},
        StepRow{"ControllerAfterCameraPage", 11, 0, kAllDevices2, 10},
        StepRow{"ControllerAfterCameraQuestion", 11, eAssiFlagKMR, kAllDevices2, 9},
        StepRow{"ControllerWithoutCamera", 11, 0, Dev(2, 0, 1), 8},
        StepRow{"InputsToQuestion", 12, 0, kAllDevices2, 11},
        StepRow{"OutputsToInputs", 13, 0, kAllDevices2, 12},
        StepRow{"DoorBoxNo", 14, eAssiFlagMox, Dev(2), 4},
        StepRow{"DoorAfterGroups", 14, 0, Dev(2), 22},
        StepRow{"DoorSubscribersNo", 14, eAssiFlagTln, Dev(2), 20},
        StepRow{"TextsExpertFromSms", 15, 0, Dev(2, 0, 0, 0, 2), 7},
        StepRow{"TextsStandardFromRelay", 15, 0, Dev(2, 0, 0, 0, 1), 17},
        StepRow{"InputToDoorQuestion", 16, 0, Dev(2), 14},
        StepRow{"RelayToInput", 17, 0, Dev(2), 16},
        StepRow{"SwitchModuleAfterOutputs", 18, 0, kAllDevices2, 13},
        StepRow{"SwitchModuleAfterControllerNo", 18, eAssiFlagRAK, kAllDevices2, 11},
        StepRow{"SwitchModuleAfterCamera", 18, 0, Dev(2, 1, 0, 1), 10},
        StepRow{"SwitchModulePageToQuestion", 19, 0, kAllDevices2, 18},
        StepRow{"SubscribersBoxNo", 20, eAssiFlagMox, Dev(2), 4},
        StepRow{"SubscribersType1ToBoxPage", 20, 0, Dev(1), 5},
        StepRow{"SubscribersType3ToBarred", 20, 0, Dev(3), 6},
        StepRow{"SubscribersType0Stays", 20, 0, Dev(0), 20},
        StepRow{"SubscriberPageType1", 21, 0, Dev(1), 20},
        StepRow{"SubscriberPageType2ToProgramming", 21, 0, Dev(2), 23},
        StepRow{"SubscriberPageType0Stays", 21, 0, Dev(0), 21},
        StepRow{"GroupsToSubscriberPage", 22, 0, Dev(2), 21},
        StepRow{"ProgrammingToQuestion", 23, 0, Dev(2), 20},
        StepRow{"SystemAfterSwitchModulePage", 24, 0, kAllDevices2, 19},
        StepRow{"SystemAfterSwitchModuleQuestion", 24, eAssiFlagBSM, kAllDevices2, 18},
        StepRow{"SystemAfterOutputs", 24, 0, Dev(2, 1, 1, 0), 13},
        StepRow{"SystemAfterCameraQuestion", 24, eAssiFlagKMR, Dev(2, 1, 0, 0), 9},
        StepRow{"SystemWithoutDevicesBoxNo", 24, eAssiFlagMox, Dev(2), 4},
        StepRow{"SystemWithoutDevicesType2", 24, 0, Dev(2), 8},
        StepRow{"SystemWithoutDevicesType1", 24, 0, Dev(1), 15},
        StepRow{"SystemPageToQuestion", 25, 0, kNone1, 24},
        StepRow{"EndToSystemPage", 26, 0, kNone1, 25},
        StepRow{"EndToSystemQuestion", 26, eAssiFlagSystem, kNone1, 24}),
    RowName);

// A device bit reads yes only while its device is present; the other bits
// stand alone.
struct FlagRow {
    const char* name;
    std::uint16_t bit;
    TAssiDevices devices;
    bool expected;
};
void PrintTo(const FlagRow& r, std::ostream* os) {
    *os << r.name;
}

class FlagCondition : public testing::TestWithParam<FlagRow> {};

TEST_P(FlagCondition, ReadsAsExpected) {
    const FlagRow& r = GetParam();
    TAssiFlags f;
    EXPECT_EQ(f.Get(r.bit, r.devices), r.expected);
    f.Set(r.bit, false);
    EXPECT_FALSE(f.Get(r.bit, r.devices));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FlagCondition,
    testing::Values(FlagRow{"CameraAbsent", eAssiFlagKMR, Dev(2, 0, 1, 1), false},
                    FlagRow{"CameraPresent", eAssiFlagKMR, Dev(2, 1), true},
                    FlagRow{"ControllerAbsent", eAssiFlagRAK, Dev(2, 1, 0, 1), false},
                    FlagRow{"ControllerPresent", eAssiFlagRAK, Dev(2, 0, 1), true},
                    FlagRow{"DoorAbsent", eAssiFlagIT, Dev(0, 1, 1, 1), false},
                    FlagRow{"DoorPresent", eAssiFlagIT, Dev(3), true},
                    FlagRow{"SwitchModuleAbsent", eAssiFlagBSM, Dev(2, 1, 1, 0), false},
                    FlagRow{"SwitchModulePresent", eAssiFlagBSM, Dev(2, 0, 0, 1), true},
                    FlagRow{"ByHandAlways", eAssiFlagByHand, Dev(0), true},
                    FlagRow{"BoxAlways", eAssiFlagMox, Dev(0), true},
                    FlagRow{"SubscribersAlways", eAssiFlagTln, Dev(0), true},
                    FlagRow{"SystemAlways", eAssiFlagSystem, Dev(0), true}),
    [](const testing::TestParamInfo<FlagRow>& info) { return std::string(info.param.name); });

TEST(AssiFlags, SetTouchesOnlyItsBitAndResetMakesAllYes) {
    TAssiFlags f;
    EXPECT_EQ(f.Raw(), kAll);
    f.Set(eAssiFlagTln, false);
    EXPECT_EQ(f.Raw(), kAll & ~eAssiFlagTln);
    f.Set(eAssiFlagTln, true);
    EXPECT_EQ(f.Raw(), kAll);
    f.Set(eAssiFlagMox, false);
    f.Reset();
    EXPECT_EQ(f.Raw(), kAll);
}

TEST(AssiSequence, OnlyTheProgrammingPagesAreLive) {
    for (int s = 0; s < eAssiStateCount; ++s)
        EXPECT_EQ(TAssiSequence::IsLiveState(static_cast<std::uint8_t>(s)),
                  s == eAssiSchaltcode || s == eAssiBSM || s == eAssiTlnProg)
            << s;
}

} // namespace
