// The bus port's calls become the right dispatch calls on the bus control,
// and the control's answers come back as the port expects them.

#include "TQuell32Dispatch.h"
#include "LumenPortDefs.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using mox::com::DispId;
using mox::com::HRESULT;
using mox::com::InvokeKind;
using mox::com::Variant;

// A dispatch object that records every call and answers from a table.
class RecordingDispatch : public mox::com::IDispatch {
public:
    struct Call {
        DispId id;
        InvokeKind kind;
        std::vector<Variant> args;
        bool operator==(const Call&) const = default;
    };

    HRESULT QueryInterface(const mox::com::Guid&, void** out) noexcept override {
        *out = nullptr;
        return mox::com::E_NOINTERFACE;
    }
    uint32_t AddRef() noexcept override { return ++refs; }
    uint32_t Release() noexcept override { return --refs; }
    HRESULT Invoke(DispId id, InvokeKind kind, const Variant* args, uint32_t argCount,
                   Variant* result) noexcept override {
        calls.push_back({id, kind, std::vector<Variant>(args, args + argCount)});
        if (fail)
            return mox::com::DISP_E_MEMBERNOTFOUND;
        if (result) {
            const auto it = answers.find(id);
            *result = it != answers.end() ? it->second : Variant();
        }
        return mox::com::S_OK;
    }

    uint32_t refs = 1;
    bool fail = false;
    std::vector<Call> calls;
    std::map<DispId, Variant> answers;
};

struct PutCase {
    const char* name;
    std::function<void(IQuell32Control&)> call;
    RecordingDispatch::Call expected;
};

class DispatchPut : public testing::TestWithParam<PutCase> {};

TEST_P(DispatchPut, BecomesOneDispatchCall) {
    RecordingDispatch control;
    TQuell32Dispatch quell(&control);
    GetParam().call(quell);
    ASSERT_EQ(control.calls.size(), 1u);
    EXPECT_EQ(control.calls[0], GetParam().expected);
}

using D = TQuell32Dispatch;
const auto kPut = InvokeKind::PropertyPut;

INSTANTIATE_TEST_SUITE_P(
    Calls, DispatchPut,
    testing::Values(
        PutCase{"UseEventNotification",
                [](IQuell32Control& q) { q.SetUseEventNotification(true); },
                {D::dispidUseEventNotification, kPut, {Variant::FromBool(true)}}},
        PutCase{"CommPort",
                [](IQuell32Control& q) { q.SetCommPort(3); },
                {D::dispidCommPort, kPut, {Variant::FromI2(3)}}},
        PutCase{"PCAnswerMode",
                [](IQuell32Control& q) { q.SetPCAnswerMode(true); },
                {D::dispidPCAnswerMode, kPut, {Variant::FromBool(true)}}},
        PutCase{"PCAdr",
                [](IQuell32Control& q) { q.SetPCAdr(240); },
                {D::dispidPCAdr, kPut, {Variant::FromI2(240)}}},
        PutCase{"ReadyForReceive",
                [](IQuell32Control& q) { q.SetReadyForReceive(true); },
                {D::dispidReadyForReceive, kPut, {Variant::FromBool(true)}}},
        PutCase{"TeleAllBytes",
                [](IQuell32Control& q) { q.SetTeleAllBytes(false); },
                {D::dispidTeleAllBytes, kPut, {Variant::FromBool(false)}}},
        PutCase{"TransmitTeleLen",
                [](IQuell32Control& q) { q.SetTransmitTeleLen(23); },
                {D::dispidTransmitTeleLen, kPut, {Variant::FromI2(23)}}},
        PutCase{"TransmitTeleBytes",
                [](IQuell32Control& q) { q.SetTransmitTeleBytes(4, 0xF0); },
                {D::dispidTransmitTeleBytes, kPut, {Variant::FromI2(4), Variant::FromI2(0xF0)}}},
        PutCase{
            "TransmitTeleArray",
            [](IQuell32Control& q) {
                const std::uint8_t tele[] = {0x70, 0x43, 0xF0, 0x10};
                q.SetTransmitTele(tele, sizeof tele);
            },
            {D::dispidTransmitTeleArray, kPut, {Variant::FromArrayI2({0x70, 0x43, 0xF0, 0x10})}}},
        PutCase{"TransmitTele",
                [](IQuell32Control& q) { q.TransmitTele(); },
                {D::dispidTransmitTele, InvokeKind::Method, {}}},
        PutCase{"WaitForReceive",
                [](IQuell32Control& q) { q.WaitForReceive(2000); },
                {D::dispidWaitForReceive, InvokeKind::Method, {Variant::FromI4(2000)}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DispatchGet, StatusWordsComeBackUnsigned) {
    RecordingDispatch control;
    TQuell32Dispatch quell(&control);
    control.answers[D::dispidTransmitTeleStatus] = Variant::FromI2(static_cast<int16_t>(0xF004));
    control.answers[D::dispidReceivedTeleStatus] = Variant::FromI2(static_cast<int16_t>(0xFF06));
    control.answers[D::dispidOpenPort] = Variant::FromI2(static_cast<int16_t>(0xF005));
    control.answers[D::dispidReceivedTeleLen] = Variant::FromI2(23);
    control.answers[D::dispidReceivedTeleBytes] = Variant::FromI2(0x43);
    control.answers[D::dispidConnected] = Variant::FromBool(true);
    EXPECT_EQ(quell.GetTransmitTeleStatus(), 0xF004);
    EXPECT_EQ(quell.GetReceivedTeleStatus(), 0xFF06);
    EXPECT_EQ(quell.OpenPort(), 0xF005);
    EXPECT_EQ(quell.GetReceivedTeleLen(), 23);
    EXPECT_EQ(quell.GetReceivedTeleBytes(1), 0x43);
    EXPECT_TRUE(quell.GetConnected());
    const RecordingDispatch::Call bytesCall{
        D::dispidReceivedTeleBytes, InvokeKind::PropertyGet, {Variant::FromI2(1)}};
    EXPECT_EQ(control.calls[4], bytesCall);
}

TEST(DispatchGet, FailedCallsAnswerLikeAPortThatDoesNotWork) {
    RecordingDispatch control;
    control.fail = true;
    TQuell32Dispatch quell(&control);
    EXPECT_EQ(quell.OpenPort(), TQuell32Dispatch::kInvokeFailed);
    EXPECT_EQ(quell.ClosePort(), TQuell32Dispatch::kInvokeFailed);
    EXPECT_EQ(quell.GetTransmitTeleStatus(), TQuell32Dispatch::kTransmitError);
    EXPECT_EQ(quell.GetReceivedTeleStatus(), RECEIVE_NO_MESSAGE);
    EXPECT_EQ(quell.GetReceivedTeleLen(), -1);
    EXPECT_EQ(quell.GetReceivedTeleBytes(0), -1);
    EXPECT_FALSE(quell.GetConnected());
}

TEST(DispatchGet, NoControlIsLikeAFailedCall) {
    TQuell32Dispatch quell(nullptr);
    quell.SetReadyForReceive(true);
    EXPECT_EQ(quell.OpenPort(), TQuell32Dispatch::kInvokeFailed);
    EXPECT_EQ(quell.GetReceivedTeleLen(), -1);
}

TEST(DispatchLifetime, HoldsOneReferenceWhileItLives) {
    RecordingDispatch control;
    {
        TQuell32Dispatch quell(&control);
        EXPECT_EQ(control.refs, 2u);
    }
    EXPECT_EQ(control.refs, 1u);
}

} // namespace
