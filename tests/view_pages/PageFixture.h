#pragma once
// Fakes and a fixture for the read and write pages: a transfer controller
// that serves an image on a read and takes the packages of a write, a page
// host that records what the pages ask of it and rebuilds its "tree" by
// dropping the page as the main window does, pre-answered message boxes,
// the real English language texts and a settings file of the test's own.

#include "IDocLanguageRefresh.h"
#include "IMainTransfer.h"
#include "IViewHost.h"
#include "TDataView.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class FakePageTransfer : public IMainTransfer {
public:
    void SetInfoText(const char*) override {}
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
    void SetMoreData(bool m) override { more = m; }
    std::uint32_t GetBlockLen() const override { return 1024; }

    bool UpdatePort() override { return true; }
    bool IsConnected() const override { return linkUp; }
    std::string GetConnectionText() const override { return linkText; }
    int Connect(const std::string&) override { return 0; }
    void Disconnect() override {}
    std::intptr_t GetConnectionValue() const override { return 0; }
    TProgFlags GetProgFlags() const override { return {}; }
    std::uint16_t GetBoxKennziffer() const override { return 0; }
    void ResetProgData() override {}
    void OnTeleReceived() override {}
    void CloseTransferForm() override {}

    TMoxDocument* doc = nullptr; // answers the package requests of a write
    bool linkUp = true;
    std::string linkText = "via LumenBus";
    int result = 1;                      // what a run answers
    std::vector<std::uint8_t> readImage; // served on a read
    std::function<void()> duringRun;     // runs inside ShowModal, as a nested loop would

    std::vector<int> runs;     // the mode of each run
    std::vector<int> ioTlnAdr; // the record's bus-address flag at each write
    int packages = 0;          // packages of the last write
    int mode = 0;
    std::uint8_t* buf = nullptr;
    std::uint32_t len = 0;
    bool more = false;
};

class FakePageHost : public IViewHost, public IDocLanguageRefresh {
public:
    TMoxDocument* GetViewDocument() override { return doc; }
    bool ViewQuerySave() override;
    void ViewRebuildTree() override;
    void ViewUpdateControls() override { log.push_back("update"); }
    void RefreshLanguage() override {}

    TMoxDocument* doc = nullptr;
    TDataView* page = nullptr; // the page the host shows
    bool allowReplace = true;  // the answer of the save question
    std::function<void()> duringQuery;
    std::vector<std::string> log;
};

class PageTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A page of the kind on the host, shown; the host keeps it.
    template <class Page> Page* MakePage(std::uint8_t kind) {
        m_Holder = std::make_unique<TNodeData>(kind);
        Page* page = TDataView::Create<Page>(m_pOwner.get(), &m_Transfer, m_Holder.get(), Res());
        m_Host.page = page;
        m_pOwner->show();
        return page;
    }
    // Drops the host's page the way a rebuild does, while the page is
    // whole.
    void DropPage();

    TkResourcen* Res() const { return m_pRes.get(); }
    TMoxDocument& Doc() { return *m_pDoc; }
    std::vector<int> BoxIds() const;

    template <class T> static T* Find(QWidget* page, const char* name) {
        T* w = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::filesystem::path m_Dir;
    std::unique_ptr<TkResourcen> m_pRes;
    FakePageTransfer m_Transfer;
    FakePageHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::unique_ptr<TNodeData> m_Holder;
    std::vector<TMsgBox::Request> m_Boxes;
};

// A tagged image of a fresh configuration with the device types given.
std::vector<std::uint8_t> ImageWithTypes(std::uint8_t typeIT, std::uint8_t typeBSM = 0,
                                         std::uint8_t typeKMR = 0, std::uint8_t typeRAK = 0);
