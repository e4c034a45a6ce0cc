// The wizard's own pages on a panel of their own, against a fake frame: the
// yes/no questions with their device conditions and extras, the devices
// question, and every help page with its texts.

#include "AssiTextIds.h"
#include "IAssiFrame.h"
#include "IDocLanguageRefresh.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TAssiFormGeraeteCfg.h"
#include "TAssiFormYesNoCfg.h"
#include "TAssiSequence.h"
#include "TAssiSteps.h"
#include "TFormAssiHelp.h"
#include "TMoxDocument.h"
#include "TestSettingsFile.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <filesystem>
#include <memory>
#include <ostream>
#include <set>
#include <string>

using mox::platform::SettingsStore;

namespace {

class FakeFrame : public IAssiFrame {
public:
    bool GetFlag(std::uint16_t bit) const override { return flags.Get(bit, devices); }
    void SetFlag(std::uint16_t bit, bool on) override { flags.Set(bit, on); }
    bool GetTransfer() const override { return false; }
    bool RunPortDialog() override { return false; }
    bool SendToBox() override { return false; }
    void PostToFrame(std::uint32_t, std::intptr_t, std::intptr_t) override {}

    TAssiFlags flags;
    TAssiDevices devices;
};

class NoRefresh : public IDocLanguageRefresh {
public:
    void RefreshLanguage() override {}
};

class AssiPageTest : public testing::Test {
protected:
    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("assipg");
        ASSERT_TRUE(m_pSettings->Ok());
        m_Dir = m_pSettings->Dir();
        TkResourcen::SetProgramDirForTesting(MOX_BIN_DIR);
        SetPermSprache(2);
        m_pRes = std::make_unique<TkResourcen>();
        ASSERT_TRUE(m_pRes->IsLoaded());
        m_pDoc = std::make_unique<TMoxDocument>(&m_Refresh, m_pRes.get(), nullptr);
        m_pPanel = std::make_unique<QWidget>();
        new QVBoxLayout(m_pPanel.get());
        m_pPanel->show();
    }
    void TearDown() override {
        m_pPanel.reset();
        m_pDoc.reset();
        m_pRes.reset();
        TkResourcen::SetProgramDirForTesting("");
        m_pSettings.reset();
    }

    // The frame's devices follow the document, as the wizard's do.
    void SyncDevices() {
        m_Frame.devices.typeIT = m_pDoc->GetTypeIT();
        m_Frame.devices.typeKMR = m_pDoc->GetTypeKMR();
        m_Frame.devices.typeRAK = m_pDoc->GetTypeRAK();
        m_Frame.devices.typeBSM = m_pDoc->GetTypeBSM();
    }

    template <class T> static T* Find(QWidget* page, const char* name) {
        T* w = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_Dir;
    NoRefresh m_Refresh;
    std::unique_ptr<TkResourcen> m_pRes;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pPanel;
    FakeFrame m_Frame;
};

struct YesNoRow {
    const char* name;
    std::uint8_t state;
    const char* className;
    std::uint16_t bit;
    const char* heading;
    const char* headingText; // English text of the heading
    bool hasDevice;          // the page belongs to an optional device
};
void PrintTo(const YesNoRow& r, std::ostream* os) {
    *os << r.name;
}

class YesNoPage : public AssiPageTest, public testing::WithParamInterface<YesNoRow> {
protected:
    void SetDevice(std::uint8_t type) {
        switch (GetParam().state) {
        case eAssiKMRCfg:
            m_pDoc->SetTypeKMR(type);
            break;
        case eAssiRAKCfg:
            m_pDoc->SetTypeRAK(type);
            break;
        case eAssiITCfg:
            m_pDoc->SetTypeIT(type);
            break;
        case eAssiBSMCfg:
            m_pDoc->SetTypeBSM(type);
            break;
        default:
            break;
        }
        SyncDevices();
    }
    TAssiFormYesNoCfg* Make() {
        auto* page = TFormAssiKonfig::Create<TAssiFormYesNoCfg>(
            m_pPanel.get(), m_pDoc.get(), m_pRes.get(), &m_Frame, GetParam().state);
        page->Perform(WM_OPEN, -1, -1);
        return page;
    }
};

TEST_P(YesNoPage, StoresTheAnswerInItsBit) {
    const YesNoRow& r = GetParam();
    SetDevice(1);
    auto* page = Make();
    EXPECT_EQ(page->objectName().toStdString(), r.className);
    EXPECT_EQ(Find<QLabel>(page, r.heading)->text().toStdString(), r.headingText);
    auto* set = Find<QRadioButton>(page, "m_pRadioSet");
    auto* noSet = Find<QRadioButton>(page, "m_pRadioNoSet");
    EXPECT_EQ(set->text(), QStringLiteral("Configure"));
    EXPECT_TRUE(set->isEnabled());
    EXPECT_TRUE(set->isChecked());

    noSet->click();
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(m_Frame.flags.Raw(), 0xFFFF & ~r.bit);
    // Opened again, it shows the stored answer; yes goes back in.
    page->Perform(WM_OPEN, -1, -1);
    EXPECT_TRUE(noSet->isChecked());
    set->click();
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(m_Frame.flags.Raw(), 0xFFFF);
}

// The pages of optional devices only.
class YesNoDevicePage : public YesNoPage {};

TEST_P(YesNoDevicePage, AnAbsentDeviceCannotBeAnsweredYes) {
    const YesNoRow& r = GetParam();
    ASSERT_TRUE(r.hasDevice);
    SetDevice(0);
    auto* page = Make();
    auto* set = Find<QRadioButton>(page, "m_pRadioSet");
    EXPECT_FALSE(set->isEnabled());
    EXPECT_TRUE(Find<QRadioButton>(page, "m_pRadioNoSet")->isChecked());
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_FALSE(m_Frame.GetFlag(r.bit));
}

const YesNoRow kBoxRow{"Box",           eAssiMoxCfg, "TAssiFormMoxCfg", eAssiFlagMox, "Label2",
                       "KTX interface", false};
const YesNoRow kCameraRow{"Camera",        eAssiKMRCfg, "TAssiFormKMRCfg", eAssiFlagKMR, "Label2",
                          "Camera device", true};
const YesNoRow kControllerRow{"Controller", eAssiRAKCfg, "TAssiFormRAKCfg",
                              eAssiFlagRAK, "Label2",    "Universal controller",
                              true};
const YesNoRow kDoorRow{"DoorInterface",  eAssiITCfg, "TAssiFormITCfg", eAssiFlagIT, "Label2",
                        "Door interface", true};
const YesNoRow kSwitchModuleRow{
    "SwitchModule",         eAssiBSMCfg, "TAssiFormBSMCfg", eAssiFlagBSM, "Label2",
    "Bus switching module", true};
const YesNoRow kSubscribersRow{"Subscribers", eAssiTlnCfg,   "TAssiFormTlnCfg",
                               eAssiFlagTln,  "m_pTlnLabel", "House stations",
                               false};
const YesNoRow kSystemRow{"System", eAssiSystemCfg, "TAssiFormSystemCfg", eAssiFlagSystem, "Label2",
                          "System", false};

std::string YesNoName(const testing::TestParamInfo<YesNoRow>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Table, YesNoPage,
                         testing::Values(kBoxRow, kCameraRow, kControllerRow, kDoorRow,
                                         kSwitchModuleRow, kSubscribersRow, kSystemRow),
                         YesNoName);
INSTANTIATE_TEST_SUITE_P(Table, YesNoDevicePage,
                         testing::Values(kCameraRow, kControllerRow, kDoorRow, kSwitchModuleRow),
                         YesNoName);

TEST_F(AssiPageTest, TheSubscriberHeadingFollowsTheDoorInterface) {
    m_pDoc->SetTypeIT(2);
    SyncDevices();
    auto* page = TFormAssiKonfig::Create<TAssiFormYesNoCfg>(m_pPanel.get(), m_pDoc.get(),
                                                            m_pRes.get(), &m_Frame, eAssiTlnCfg);
    page->Perform(WM_OPEN, -1, -1);
    EXPECT_EQ(Find<QLabel>(page, "m_pTlnLabel")->text(), QStringLiteral("Subscribers"));
    m_pDoc->SetTypeIT(1);
    page->Perform(WM_OPEN, -1, -1);
    EXPECT_EQ(Find<QLabel>(page, "m_pTlnLabel")->text(), QStringLiteral("House stations"));
}

TEST_F(AssiPageTest, TheControllerPageHidesItsVersion) {
    auto* page = TFormAssiKonfig::Create<TAssiFormYesNoCfg>(m_pPanel.get(), m_pDoc.get(),
                                                            m_pRes.get(), &m_Frame, eAssiRAKCfg);
    page->Perform(WM_OPEN, -1, -1);
    EXPECT_FALSE(Find<QLabel>(page, "m_pLabelVersion")->isVisible());
    EXPECT_EQ(Find<QLabel>(page, "Label1")->text(), QStringLiteral("Software version:"));
    auto* box = TFormAssiKonfig::Create<TAssiFormYesNoCfg>(m_pPanel.get(), m_pDoc.get(),
                                                           m_pRes.get(), &m_Frame, eAssiMoxCfg);
    box->Perform(WM_OPEN, -1, -1);
    EXPECT_TRUE(Find<QLabel>(box, "m_pLabelVersion")->isVisible());
}

TEST_F(AssiPageTest, TheDevicesQuestionStoresByHandOrRead) {
    auto* page = TFormAssiKonfig::Create<TAssiFormGeraeteCfg>(m_pPanel.get(), m_pDoc.get(),
                                                              m_pRes.get(), &m_Frame);
    page->Perform(WM_OPEN, -1, -1);
    auto* user = Find<QRadioButton>(page, "m_pRadioUser");
    auto* read = Find<QRadioButton>(page, "m_pRadioRead");
    EXPECT_TRUE(user->isChecked());
    EXPECT_EQ(user->text(), QStringLiteral("Enter by hand"));
    read->click();
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_FALSE(m_Frame.GetFlag(eAssiFlagByHand));
    page->Perform(WM_OPEN, -1, -1);
    EXPECT_TRUE(read->isChecked());
}

// Every help page shows the texts of its step, none of them empty.
class HelpPage : public AssiPageTest, public testing::WithParamInterface<int> {};

TEST_P(HelpPage, ShowsItsTexts) {
    const TAssiStep* step = TAssiSteps::Get(static_cast<std::uint8_t>(GetParam()));
    ASSERT_NE(step, nullptr);
    auto* page = new TFormAssiHelp(m_pPanel.get(), m_pRes.get(), step->helpClass, step->helpTexts);
    EXPECT_EQ(page->objectName().toStdString(), step->helpClass);
    EXPECT_TRUE(page->isVisible());
    int n = 0;
    for (int id : step->helpTexts) {
        if (!id)
            break;
        ++n;
        auto* label = Find<QLabel>(page, ("Label" + std::to_string(n)).c_str());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), m_pRes->GetQText(id));
        EXPECT_FALSE(label->text().isEmpty()) << id;
    }
    EXPECT_GE(n, 1);
    EXPECT_EQ(page->findChild<QLabel*>(QStringLiteral("Label%1").arg(n + 1)), nullptr);
}

INSTANTIATE_TEST_SUITE_P(AllSteps, HelpPage, testing::Range(0, static_cast<int>(eAssiStateCount)));

// A help page explains its step; the wizard's messages say something else
// (the "no link" message once stood on the SMS step's help page).
TEST(AssiSteps, HelpTextsAreNoneOfTheWizardsMessages) {
    const std::set<int> messages = {
        atxt::kNoLink, atxt::kCancelQuestion, atxt::kDeviceTypeQuestion, atxt::kReadFailed,
        atxt::kReadOk, atxt::kSendFailed,     atxt::kSaveFailed};
    std::set<int> used;
    for (int s = 0; s < eAssiStateCount; ++s) {
        const TAssiStep* step = TAssiSteps::Get(static_cast<std::uint8_t>(s));
        for (int id : step->helpTexts) {
            if (!id)
                continue;
            EXPECT_EQ(messages.count(id), 0u) << "step " << s << " text " << id;
            // Each help text belongs to one step.
            EXPECT_TRUE(used.insert(id).second) << "step " << s << " text " << id;
        }
    }
}

TEST(AssiSteps, CaptionsFollowTheDoorInterfaceWhereTheyShould) {
    EXPECT_EQ(TAssiSteps::Caption(eAssiTlnCfg, 1), 441);
    EXPECT_EQ(TAssiSteps::Caption(eAssiTlnCfg, 2), 5020);
    EXPECT_EQ(TAssiSteps::Caption(eAssiTln, 1), 441);
    EXPECT_EQ(TAssiSteps::Caption(eAssiTln, 3), 209);
    EXPECT_EQ(TAssiSteps::Caption(eAssiSystem, 1), 217);
    EXPECT_EQ(TAssiSteps::Caption(eAssiStateCount, 1), 0);
    EXPECT_EQ(TAssiSteps::Get(eAssiStateCount), nullptr);
}

} // namespace
