// The main window hosts the bus control: created by its class id with its
// stored properties restored; not registered, there is no main window.

#include "MainWindowFixture.h"

#include "ComponentError.h"
#include "IViewHost.h"
#include "Quell32Ids.h"
#include "Quell32Registration.h"
#include "SettingsPropertyBag.h"
#include "TQuell32Dispatch.h"
#include "TQuell32Host.h"

using namespace mox::com;

namespace {

class Quell32Hosting : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        m_Seams.hostQuell32 = true;
    }
    void Register() {
#ifdef MOX_QUELL32
        ASSERT_TRUE(mox::test::RegisterQuell32(MOX_QUELL32));
#else
        GTEST_SKIP() << "the bus control module is not built";
#endif
    }
};

TEST_F(Quell32Hosting, UnregisteredControlMeansNoMainWindow) {
    EXPECT_THROW(TMoxMain main(m_Seams), ComponentError);
    EXPECT_EQ(TMoxMain::Instance(), nullptr);
    EXPECT_EQ(GetViewHost(), nullptr);
}

TEST_F(Quell32Hosting, RegisteredControlIsCreatedWithItsStoredProperties) {
    Register();
    if (IsSkipped())
        return;
    auto bag = SettingsPropertyBag::Create(quell32::kQuell32PropertiesKey);
    ASSERT_EQ(bag->Write("TestForInterface", Variant::FromBool(false)), S_OK);
    MakeWindow();
    TQuell32Host* host = Main().GetQuell32();
    ASSERT_NE(host, nullptr);
    Variant v;
    ASSERT_EQ(host->Control()->Invoke(quell32::dispidTestForInterface, InvokeKind::PropertyGet,
                                      nullptr, 0, &v),
              S_OK);
    EXPECT_EQ(v.ToBool(), false);
    // Its port stays closed until a transfer needs it.
    EXPECT_FALSE(TQuell32Dispatch(host->Control()).GetConnected());
}

} // namespace
