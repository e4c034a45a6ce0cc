// The program's port factory: the bus port on the bus control it was given,
// nothing without one, and the hooks of the direct serial and ISDN ports.

#include "EngineFakes.h"
#include "FakeClock.h"
#include "FakeLumenOwner.h"
#include "FakeQuell32Control.h"
#include "TTkLumenPort.h"
#include "TTransferPortFactory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool Called(const FakeQuell32Control& quell, const std::string& call) {
    return std::find(quell.calls.begin(), quell.calls.end(), call) != quell.calls.end();
}

class PortFactory : public testing::Test {
protected:
    FakeClock clock;
    FakeLumenOwner owner;
    TTransferPortFactory factory{clock};
};

TEST_F(PortFactory, BusPortNeedsBothTheControlAndAnOwner) {
    FakeQuell32Control quell;
    EXPECT_EQ(factory.CreatePort(eConnectionQuell, 1), nullptr);
    factory.SetQuellControl(&quell);
    EXPECT_EQ(factory.CreatePort(eConnectionQuell, 1), nullptr);
    EXPECT_TRUE(quell.calls.empty()) << "no half-built port touched the control";

    factory.SetLumenOwner(&owner);
    const auto port = factory.CreatePort(eConnectionQuell, 2);
    ASSERT_NE(port, nullptr);
    EXPECT_NE(dynamic_cast<TTkLumenPort*>(port.get()), nullptr);
    EXPECT_TRUE(port->IsOpen());
    EXPECT_TRUE(Called(quell, "CommPort=2"));
}

TEST_F(PortFactory, AnAdoptedControlOutlivesTheBusPortBuiltOnIt) {
    auto first = std::make_unique<FakeQuell32Control>();
    FakeQuell32Control* firstControl = first.get();
    factory.SetLumenOwner(&owner);
    factory.AdoptQuellControl(std::move(first));
    auto port = factory.CreatePort(eConnectionQuell, 1);
    ASSERT_NE(port, nullptr);

    factory.AdoptQuellControl(std::make_unique<FakeQuell32Control>());
    EXPECT_NE(factory.GetQuellControl(), firstControl);
    // The port lets go of the control it was built on, which is still there.
    port.reset();
    EXPECT_TRUE(Called(*firstControl, "ClosePort"));
}

struct HookRow {
    const char* name;
    eConnectionType type;
    int setting;
};

class PortHooks : public PortFactory, public testing::WithParamInterface<HookRow> {};

TEST_P(PortHooks, NotAvailableUntilACreatorIsSet) {
    EXPECT_EQ(factory.CreatePort(GetParam().type, GetParam().setting), nullptr);

    int seen = -1;
    auto creator = [&seen](int setting) {
        seen = setting;
        return std::make_unique<FakeTransferPort>(eConnectionV24, setting - 4, nullptr);
    };
    if (GetParam().type == eConnectionV24)
        factory.SetComPortCreator(creator);
    else
        factory.SetCapiPortCreator(creator);
    EXPECT_NE(factory.CreatePort(GetParam().type, GetParam().setting), nullptr);
    EXPECT_EQ(seen, GetParam().setting);
}

INSTANTIATE_TEST_SUITE_P(Links, PortHooks,
                         testing::Values(HookRow{"SerialCom2", eConnectionV24, 6},
                                         HookRow{"Isdn", eConnectionCAPI, 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortFactory, NoMediumBuildsNothing) {
    EXPECT_EQ(factory.CreatePort(eConnectionNone, 0), nullptr);
}

} // namespace
