// The three pages in the real main window: a page of the tree stores itself
// into the document when another node is chosen, and an incomplete signal
// input keeps its page (the window asks the page before it replaces it).

#include "IMainTransfer.h"
#include "PermSettings.h"
#include "RakTextIds.h"
#include "SettingsStore.h"
#include "TFormRAKAG.h"
#include "TFormRAKEG.h"
#include "TFormSMS.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMoxMainSeams.h"
#include "TMsgBox.h"
#include "TRakPages.h"
#include "TestSettingsFile.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using mox::platform::SettingsStore;

// A controller without a link: these pages run no exchange.
class NoLinkTransfer : public IMainTransfer {
public:
    void SetInfoText(const char*) override {}
    void SetTransferData(int, std::uint8_t*, std::uint32_t) override {}
    void SetTeleAnz(std::uint16_t) override {}
    int ShowModal() override { return 2; }
    void SetTransferBuf(std::uint8_t*, std::uint32_t) override {}
    void SetMoreData(bool) override {}
    std::uint32_t GetBlockLen() const override { return 1024; }
    bool UpdatePort() override { return false; }
    bool IsConnected() const override { return false; }
    std::string GetConnectionText() const override { return "no connection!"; }
    int Connect(const std::string&) override { return -1; }
    void Disconnect() override {}
    std::intptr_t GetConnectionValue() const override { return 0; }
    TProgFlags GetProgFlags() const override { return {}; }
    std::uint16_t GetBoxKennziffer() const override { return 0; }
    void ResetProgData() override {}
    void OnTeleReceived() override {}
    void CloseTransferForm() override {}
};

} // namespace

class MainWindowRak : public testing::Test {
protected:
    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("mainrak");
        ASSERT_TRUE(m_pSettings->Ok());
        m_Dir = m_pSettings->Dir();
        SetAssiMode(false);
        SetPermSprache(2);
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            m_Boxes.push_back(r.textId);
            return (r.flags & mb::kButtonMask) == mb::kYesNoCancel ? mb::kIdNo : mb::kIdOk;
        });
        TRakPages::Register();

        TMoxMainSeams seams;
        seams.hostQuell32 = false;
        seams.createTransfer = [](TMoxMain&) {
            return std::unique_ptr<IMainTransfer>(std::make_unique<NoLinkTransfer>());
        };
        m_pMain = std::make_unique<TMoxMain>(seams);
        // The SMS node stands in the tree in expert mode only.
        m_pMain->SetMode(2);
        m_pMain->SetExpertFlag(false);
        m_pMain->show();
        m_pMain->FlushTreeChange();
        TMoxDocument* doc = m_pMain->GetDoc();
        ASSERT_NE(doc, nullptr);
        doc->SetTypeIT(2);
        doc->SetTypeRAK(1);
        m_pMain->BuildKonfigTree();
        m_pMain->FlushTreeChange();
    }

    void TearDown() override {
        m_pMain.reset();
        TRakPages::Unregister();
        TMsgBox::SetHandlerForTesting({});
        m_pSettings.reset();
    }

    template <class Page> Page* Open(std::uint8_t kind) {
        EXPECT_TRUE(m_pMain->SelectNodeKind(kind));
        m_pMain->FlushTreeChange();
        return dynamic_cast<Page*>(m_pMain->GetAktView());
    }
    TMoxDocument& Doc() { return *m_pMain->GetDoc(); }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_Dir;
    std::unique_ptr<TMoxMain> m_pMain;
    std::vector<int> m_Boxes;
};

TEST_F(MainWindowRak, EachPageStoresItselfWhenAnotherNodeIsChosen) {
    auto* inputs = Open<TFormRAKEG>(eRAKMEG);
    ASSERT_NE(inputs, nullptr);
    inputs->findChild<QComboBox*>(QStringLiteral("m_pComboBoxMode"))->setCurrentIndex(1);
    inputs->findChild<QCheckBox*>(QStringLiteral("m_pSignal"))->click();
    inputs->findChild<QLineEdit*>(QStringLiteral("m_pSignalRnr"))->setText(QStringLiteral("0301"));

    auto* outputs = Open<TFormRAKAG>(eRAKSAG);
    ASSERT_NE(outputs, nullptr);
    EXPECT_EQ(Doc().GetRAKEingangMode(0), 1);
    EXPECT_EQ(Doc().GetRAKEingangDirektruf(0), 1);
    outputs->findChild<QLineEdit*>(QStringLiteral("m_pTxt"))->setText(QStringLiteral("Porch"));

    auto* sms = Open<TFormSMS>(eSMS);
    ASSERT_NE(sms, nullptr);
    char buf[64] = {};
    ASSERT_TRUE(Doc().GetSchaltausgangsText(0, buf, sizeof buf));
    EXPECT_STREQ(buf, "Porch");
    sms->findChild<QTableWidget*>(QStringLiteral("m_pProvGrid"))
        ->item(9, TFormSMS::kColName)
        ->setText(QStringLiteral("Kappa"));

    ASSERT_NE(Open<TFormRAKEG>(eRAKMEG), nullptr);
    ASSERT_TRUE(Doc().GetSMSProvider(8, buf, sizeof buf));
    EXPECT_STREQ(buf, "Kappa");
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(MainWindowRak, AnIncompleteSignalInputKeepsItsPage) {
    auto* inputs = Open<TFormRAKEG>(eRAKMEG);
    ASSERT_NE(inputs, nullptr);
    inputs->findChild<QComboBox*>(QStringLiteral("m_pComboBoxMode"))->setCurrentIndex(1);
    inputs->findChild<QCheckBox*>(QStringLiteral("m_pKettenruf"))->click();

    m_pMain->SelectNodeKind(eRAKSAG);
    m_pMain->FlushTreeChange();
    EXPECT_EQ(m_pMain->GetAktView(), inputs);
    EXPECT_EQ(m_Boxes, std::vector<int>{rtxt::kNoKettenRnr});
}
