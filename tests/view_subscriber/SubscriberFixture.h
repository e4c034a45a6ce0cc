#pragma once
// Fakes and a fixture for the subscriber page and the programming dialogs:
// the transfer controller's real programming part on a fake serial link
// (the test plays the box by handing it blocks and reads the commands it
// sent), a transfer controller whose modal runs the test answers, a page
// host, pre-answered message boxes, the real English language texts and a
// settings file of the test's own.

#include "IDocLanguageRefresh.h"
#include "IMainTransfer.h"
#include "IViewHost.h"
#include "ProgRig.h"
#include "TDataView.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class FakeSubTransfer : public IMainTransfer {
public:
    void SetInfoText(const char* text) override { info = text ? text : ""; }
    void SetTransferData(int m, std::uint8_t* buffer, std::uint32_t length) override {
        mode = m;
        buf = buffer;
        len = length;
    }
    void SetTeleAnz(std::uint16_t) override {}
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) override {
        buf = buffer;
        len = length;
    }
    void SetMoreData(bool) override {}
    std::uint32_t GetBlockLen() const override { return 1024; }

    bool UpdatePort() override { return true; }
    bool IsConnected() const override { return true; }
    std::string GetConnectionText() const override { return "via COM-Port"; }
    int Connect(const std::string&) override { return 0; }
    void Disconnect() override {}
    std::intptr_t GetConnectionValue() const override { return 0; }
    TProgFlags GetProgFlags() const override { return {}; }
    std::uint16_t GetBoxKennziffer() const override { return 0; }
    void ResetProgData() override {}
    void OnTeleReceived() override {}
    void CloseTransferForm() override {}

    TMoxDocument* doc = nullptr;
    ProgRig* rig = nullptr;
    // What the runs answer, by mode (1 when not given).
    std::map<int, int> results;
    // What the box reports: the free-address count (mode 6) and list (5).
    std::uint16_t kbaCount = 0;
    std::vector<std::uint16_t> kbaList;
    std::vector<std::uint8_t> readImage; // served on a read (mode 2)
    std::function<void(int mode)> duringRun;

    std::vector<int> runs; // the mode of each run
    std::vector<std::string> infos;
    std::string info;
    int mode = 0;
    std::uint8_t* buf = nullptr;
    std::uint32_t len = 0;
};

class FakeSubHost : public IViewHost, public IDocLanguageRefresh {
public:
    TMoxDocument* GetViewDocument() override { return doc; }
    bool ViewQuerySave() override { return true; }
    void ViewRebuildTree() override { log.push_back("rebuild"); }
    void ViewUpdateControls() override { log.push_back("update"); }
    void RefreshLanguage() override {}

    TMoxDocument* doc = nullptr;
    std::vector<std::string> log;
};

class SubscriberTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TkResourcen* Res() const { return m_pRes.get(); }
    TMoxDocument& Doc() { return *m_pDoc; }
    ProgRig& Rig() { return m_Rig; }
    QWidget* Owner() const { return m_pOwner.get(); }

    std::vector<std::pair<int, int>> SentCommands() const { return m_Rig.SentCommands(); }
    void ClearSent() { m_Rig.ClearSent(); }

    // Subscribers in the document: number, bus and logical address.
    void SetTln(int i, const char* rnr, std::uint16_t busAdr = 0, std::uint16_t logAdr = 0);
    std::string RnrOf(int i) const;

    std::vector<int> BoxIds() const;
    void AnswerBox(int textId, int answer) { m_Answers[textId] = answer; }

    template <class T> static T* Find(QWidget* form, const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Text(int id) const { return m_pRes->GetQText(id); }

    std::filesystem::path m_Dir;
    std::unique_ptr<TkResourcen> m_pRes;
    ProgRig m_Rig;
    FakeSubTransfer m_Transfer;
    FakeSubHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::vector<TMsgBox::Request> m_Boxes;
    std::map<int, int> m_Answers;
};

// A tagged image of a fresh configuration with the door-interface type.
std::vector<std::uint8_t> ImageWithTypeIT(std::uint8_t typeIT);
