// The devices page: the groups load the device types, the store sets the
// types with their consequences for the permission groups (dial-in for the
// basic group of variant 3, the controller right and outputs), the
// switching module only with variant 2, the camera choice, and the request
// for a new tree after a device was changed.

#include "SystemPageFixture.h"

#include "TFormGeraete.h"
#include "TRadioGroup.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QRadioButton>

#include <algorithm>
#include <string>

namespace {

class DevicesPage : public SystemPageTest {
protected:
    TFormGeraete* Open(std::uint8_t kind = eGeraeteliste) { return MakePage<TFormGeraete>(kind); }
    TRadioGroup* Group(const char* name) { return Find<TRadioGroup>(name); }
    // Clicks an item of a group as the user does.
    void Choose(const char* group, int index) {
        TRadioGroup* g = Group(group);
        ASSERT_NE(g, nullptr);
        ASSERT_NE(g->Button(index), nullptr) << group << " " << index;
        g->Button(index)->click();
    }
    void Save() { m_pPage->Perform(WM_SAVE, -1, -1); }
    long TreeRequests() const {
        return std::count(m_WindowMessages.begin(), m_WindowMessages.end(), WM_UPDATE_TREE);
    }
};

struct LoadCase {
    const char* name;
    std::uint8_t typeIT, typeKMR, typeRAK, typeBSM, kamera;
    int it, kmr, rak, bsm;
    bool kmrKamera;
};

class DevicesPageLoad : public DevicesPage, public testing::WithParamInterface<LoadCase> {};

TEST_P(DevicesPageLoad, GroupsShowTheDocument) {
    const LoadCase& c = GetParam();
    Doc().SetTypeIT(c.typeIT);
    Doc().SetTypeKMR(c.typeKMR);
    Doc().SetTypeRAK(c.typeRAK);
    Doc().SetTypeBSM(c.typeBSM);
    Doc().SetKamera(c.kamera);
    Open();
    EXPECT_EQ(Group("m_pIT")->ItemIndex(), c.it);
    EXPECT_EQ(Group("m_pKMR")->ItemIndex(), c.kmr);
    EXPECT_EQ(Group("m_pRAK")->ItemIndex(), c.rak);
    EXPECT_EQ(Group("m_pBSM")->ItemIndex(), c.bsm);
    EXPECT_EQ(Group("m_pEIB")->ItemIndex(), 0);
    EXPECT_EQ(Find<QCheckBox>("m_pKMRKamera")->isChecked(), c.kmrKamera);
    EXPECT_EQ(Group("m_pBSM")->isEnabled(), c.it == 1);
    EXPECT_FALSE(Find<QCheckBox>("m_pRAKKamera")->isVisible());
    // The load chose the items from code: no device counts as changed.
    EXPECT_FALSE(static_cast<TFormGeraete*>(m_pPage)->GetTreeChangeFlag());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DevicesPageLoad,
    testing::Values(LoadCase{"Variant1Bare", 1, 0, 0, 0, 0, 0, 0, 0, 0, false},
                    LoadCase{"Variant2WithAll", 2, 1, 1, 1, 2, 1, 1, 1, 1, true},
                    LoadCase{"Variant3", 3, 0, 1, 0, 0, 2, 0, 1, 0, false},
                    LoadCase{"NoDoorInterface", 0, 1, 0, 0, 0, 0, 1, 0, 0, false}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(DevicesPage, GroupTextsComeFromTheLanguage) {
    Open();
    EXPECT_EQ(Group("m_pIT")->title(), Res()->GetQText(370));
    EXPECT_EQ(Group("m_pIT")->Button(2)->text(), Res()->GetQText(376));
    EXPECT_EQ(Group("m_pKMR")->Button(1)->text(), Res()->GetQText(364));
}

// The installation-bus group does nothing and is captioned like the
// controller header: only the controller's own group shows.
TEST_F(DevicesPage, ShowsOneControllerGroupOnly) {
    Open();
    QStringList shown;
    for (TRadioGroup* g : m_pPage->findChildren<TRadioGroup*>())
        if (g->isVisibleTo(m_pPage))
            shown << g->objectName();
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"m_pBSM", "m_pIT", "m_pKMR", "m_pRAK"}));
    EXPECT_FALSE(Group("m_pEIB")->isVisibleTo(m_pPage));
}

TEST_F(DevicesPage, Variant3GivesTheBasicGroupTheDialIn) {
    Doc().SetTypeIT(2);
    Open();
    Choose("m_pIT", 2);
    Save();
    EXPECT_EQ(Doc().GetTypeIT(), 3);
    EXPECT_EQ(Doc().GetPGEinwahl(0), 1);
}

TEST_F(DevicesPage, TheSameVariantAgainKeepsTheGroups) {
    Doc().SetTypeIT(2);
    ASSERT_TRUE(Doc().SetPGPin(3, "4711"));
    ASSERT_TRUE(Doc().SetPGLicht(3, 1));
    Open();
    Choose("m_pIT", 1);
    Save();
    EXPECT_EQ(Doc().GetTypeIT(), 2);
    char pin[8] = {};
    ASSERT_TRUE(Doc().GetPGPin(3, pin, sizeof pin));
    EXPECT_STREQ(pin, "4711");
    EXPECT_EQ(Doc().GetPGLicht(3), 1);
}

TEST_F(DevicesPage, AddingTheControllerGivesTheBasicGroupItsOutputs) {
    Doc().SetTypeIT(2);
    Open();
    Choose("m_pRAK", 1);
    Save();
    EXPECT_EQ(Doc().GetTypeRAK(), 1);
    EXPECT_EQ(Doc().GetPGRAK(0), 1);
    for (std::uint8_t n = 0; n < 12; ++n)
        EXPECT_EQ(Doc().GetPGSchaltausgang(0, n), 1) << "output " << int(n);
}

TEST_F(DevicesPage, RemovingTheControllerClearsItsRightsInEveryGroup) {
    Doc().SetTypeIT(2);
    Doc().SetTypeRAK(1);
    ASSERT_TRUE(Doc().SetPGRAK(0, 1));
    ASSERT_TRUE(Doc().SetPGRAK(4, 1));
    ASSERT_TRUE(Doc().SetPGSchaltausgang(0, 3, 1));
    ASSERT_TRUE(Doc().SetPGSchaltausgang(4, 7, 1));
    Open();
    Choose("m_pRAK", 0);
    Save();
    EXPECT_EQ(Doc().GetTypeRAK(), 0);
    EXPECT_EQ(Doc().GetPGRAK(0), 0);
    EXPECT_EQ(Doc().GetPGSchaltausgang(0, 3), 0);
    EXPECT_EQ(Doc().GetPGSchaltausgang(4, 7), 0);
}

struct BsmCase {
    const char* name;
    int it;  // item of m_pIT
    int bsm; // item of m_pBSM
    std::uint8_t stored;
};

class DevicesPageBsm : public DevicesPage, public testing::WithParamInterface<BsmCase> {};

TEST_P(DevicesPageBsm, StoredOnlyWithVariant2) {
    const BsmCase& c = GetParam();
    Doc().SetTypeIT(2);
    Open();
    Choose("m_pBSM", c.bsm);
    Choose("m_pIT", c.it);
    Save();
    EXPECT_EQ(Doc().GetTypeBSM(), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DevicesPageBsm,
    testing::Values(BsmCase{"Variant2Yes", 1, 1, 1}, BsmCase{"Variant2No", 1, 0, 0},
                    BsmCase{"Variant1Yes", 0, 1, 0}, BsmCase{"Variant3Yes", 2, 1, 0}),
    [](const testing::TestParamInfo<BsmCase>& info) { return std::string(info.param.name); });

TEST_F(DevicesPage, CameraDeviceClickSetsItsCameraBox) {
    Open();
    auto* box = Find<QCheckBox>("m_pKMRKamera");
    Choose("m_pKMR", 1);
    EXPECT_TRUE(box->isEnabled());
    EXPECT_TRUE(box->isChecked());
    Save();
    EXPECT_EQ(Doc().GetTypeKMR(), 1);
    EXPECT_EQ(Doc().GetKamera(), 2);
    Choose("m_pKMR", 0);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());
    Save();
    EXPECT_EQ(Doc().GetKamera(), 0);
}

TEST_F(DevicesPage, ControllerCameraChoiceIsKeptWhileTheCameraBoxIsOff) {
    Doc().SetTypeIT(2);
    Doc().SetTypeRAK(1);
    ASSERT_TRUE(Doc().SetKamera(1));
    Open();
    EXPECT_FALSE(Find<QCheckBox>("m_pRAKKamera")->isVisible());
    Save();
    EXPECT_EQ(Doc().GetKamera(), 1);
}

TEST_F(DevicesPage, TheTwoCameraBoxesExcludeEachOther) {
    Doc().SetTypeIT(2);
    Doc().SetTypeRAK(1);
    ASSERT_TRUE(Doc().SetKamera(1));
    Open();
    auto* kmr = Find<QCheckBox>("m_pKMRKamera");
    auto* rak = Find<QCheckBox>("m_pRAKKamera");
    ASSERT_TRUE(rak->isChecked());
    Choose("m_pKMR", 1); // enables and checks the camera device's box
    kmr->setChecked(false);
    kmr->click();
    EXPECT_TRUE(kmr->isChecked());
    EXPECT_FALSE(rak->isChecked());
    Save();
    EXPECT_EQ(Doc().GetKamera(), 2);
}

TEST_F(DevicesPage, AChangedDeviceAsksTheWindowForANewTreeOnce) {
    Doc().SetTypeIT(2);
    Open();
    m_WindowMessages.clear();
    Choose("m_pBSM", 1);
    EXPECT_TRUE(static_cast<TFormGeraete*>(m_pPage)->GetTreeChangeFlag());
    EXPECT_TRUE(Doc().IsModified());
    Save();
    EXPECT_EQ(TreeRequests(), 1);
    EXPECT_FALSE(static_cast<TFormGeraete*>(m_pPage)->GetTreeChangeFlag());
    Save();
    EXPECT_EQ(TreeRequests(), 1) << "the flag was acted on";
}

TEST_F(DevicesPage, AClickThatChangesNothingAsksForNoTree) {
    // The document's own type: nothing marks it modified.
    Doc().SetTypeIT(Doc().GetTypeIT());
    Open();
    ASSERT_FALSE(Doc().IsModified());
    m_WindowMessages.clear();
    Choose("m_pBSM", 0); // the type it already has
    Save();
    EXPECT_EQ(TreeRequests(), 0);
    EXPECT_FALSE(static_cast<TFormGeraete*>(m_pPage)->GetTreeChangeFlag());
}

TEST_F(DevicesPage, LeavingForAnotherWindowStoresTheChoices) {
    Doc().SetTypeIT(2);
    Open();
    Choose("m_pIT", 0);
    QEvent deactivate(QEvent::ActivationChange);
    QCoreApplication::sendEvent(m_pPage, &deactivate);
    EXPECT_EQ(Doc().GetTypeIT(), 1);
}

TEST_F(DevicesPage, AnEmbeddedPageAsksForNoTree) {
    Doc().SetTypeIT(2);
    Open(eAssistent);
    m_WindowMessages.clear();
    Choose("m_pIT", 2);
    Save();
    EXPECT_EQ(Doc().GetTypeIT(), 3);
    EXPECT_EQ(TreeRequests(), 0);
}

} // namespace
