#pragma once
// Fakes and a fixture for the code-assignment pages, the page-hosting
// dialog and the programming start pages: a transfer controller with a
// programming part whose state the test sets and whose commands it
// records, a page host for the document, a widget that plays the hosting
// dialog, pre-answered message boxes, the real English texts and a
// settings file of the test's own.

#include "ICodeProg.h"
#include "IHostedProgPage.h"
#include "ImageTransfer.h"
#include "PageTestBase.h"
#include "RecordingPageHost.h"
#include "TDataView.h"
#include "TMoxDocument.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class FakeCodeTransfer : public ImageTransfer, public ICodeProg {
public:
    TProgFlags GetProgFlags() const override;

    // ICodeProg
    void SetProgProt(std::uint8_t p) override { prot = p; }
    void SetTlnAdr(std::uint16_t adr) override { tlnAdr = adr; }
    bool IsProgModeAktiv() const override { return progMode; }
    bool IsBSMAktiv() const override { return bsm; }
    bool IsBTLMAktiv() const override { return btlm; }
    std::uint16_t GetAdrBSM() const override { return adrBSM; }
    std::uint16_t GetBSMRelais() const override { return relais; }
    std::uint16_t GetAdrBTLM() const override { return adrBTLM; }
    bool IsVideo() const override { return video; }
    void InitiateBSMTasteProg(std::uint16_t adr, std::uint8_t idx) override {
        commands.push_back("BSMTaste " + std::to_string(adr) + " " + std::to_string(idx));
    }
    void InitiateProgBTLM() override { commands.push_back("ProgBTLM"); }
    void InitiateBTLMTasteProg(std::uint16_t adr, std::uint8_t idx) override {
        commands.push_back("BTLMTaste " + std::to_string(adr) + " " + std::to_string(idx));
    }
    void InitiateProgPassiv() override { commands.push_back("ProgPassiv"); }

    // Puts a switch module (state 3) or a subscriber unit (4, 6 with
    // video) into programming, with the box in programming mode.
    void ModuleInProg(std::uint16_t adr, std::uint16_t relay);
    void UnitInProg(std::uint16_t adr, bool withVideo);

    bool progMode = false;
    bool bsm = false;
    bool btlm = false;
    bool video = false;
    std::uint16_t adrBSM = 0;
    std::uint16_t relais = 0;
    std::uint16_t adrBTLM = 0;
    std::uint8_t prot = 0;
    std::uint16_t tlnAdr = 0;
    std::vector<std::string> commands;
};

using FakeCodeHost = RecordingPageHost;

// Plays the page-hosting dialog for a page made on it.
class FakeHostDialog : public QWidget, public IProgPageHost {
public:
    bool GetReadBox() const override { return readBox; }
    void CancelHost() override { ++cancelled; }

    bool readBox = false;
    int cancelled = 0;
};

class CodeTest : public PageTestBase {
protected:
    CodeTest() : PageTestBase("codes") {}
    void SetUp() override;
    void TearDown() override;
    void ChooseSettings() override;
    int BoxAnswer(const TMsgBox::Request& request) override;

    // The page the factory makes for a kind on a host dialog of the test,
    // with a holder of holderKind.
    TDataView* MakePage(std::uint8_t kind, std::uint8_t holderKind, bool readBox = false);
    void DropPage();

    TMoxDocument& Doc() { return *m_pDoc; }
    QString Text(int id) const { return m_pRes->GetQText(id); }
    // Gives subscriber i a bus address, with door-interface type 2 and a
    // switch module in the configuration.
    void PrepareDoc(std::uint16_t tlnAdr);

    template <class T> static T* Find(QWidget* w, const char* name) {
        T* child = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    FakeCodeTransfer m_Transfer;
    FakeCodeHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<FakeHostDialog> m_pOwner;
    std::unique_ptr<TNodeData> m_Holder;
    TDataView* m_pPage = nullptr;
    std::map<int, int> m_Answers; // text id -> button pressed
};

// A tagged image of a configuration with the device types given and one
// subscriber with the bus address (0: none).
std::vector<std::uint8_t> CodeImage(std::uint8_t typeIT, std::uint8_t typeBSM,
                                    std::uint16_t tlnAdr);
