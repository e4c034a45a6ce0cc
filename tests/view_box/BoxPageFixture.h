#pragma once
// Fakes and a fixture for the box pages: a page host that hands out the
// document, a transfer controller that serves an event-log dump or plays a
// firmware run, pre-answered message boxes and file dialogs, the real
// English language texts and a settings file of the test's own.

#include "IDocLanguageRefresh.h"
#include "IFirmwareFileHolder.h"
#include "IMainTransfer.h"
#include "IViewHost.h"
#include "TDataView.h"
#include "TFileDialog.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class FakeBoxTransfer : public IMainTransfer, public IFirmwareFileHolder {
public:
    void SetInfoText(const char* text) override { infoText = text ? text : ""; }
    void SetTransferData(int m, std::uint8_t* buffer, std::uint32_t length) override {
        mode = m;
        buf = buffer;
        len = length;
    }
    void SetTeleAnz(std::uint16_t) override {}
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t*, std::uint32_t) override {}
    void SetMoreData(bool) override {}
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

    void SetFWFileName(const std::string& name) override { fwFile = name; }
    bool GetFWFileName(std::string& name) const override {
        if (fwFile.empty())
            return false;
        name = fwFile;
        return true;
    }

    std::string fwFile; // the download file the controller keeps
    bool linkUp = true;
    std::string linkText = "via LumenBus";
    int result = 1;                     // what a run answers
    std::vector<std::uint8_t> dump;     // served on an event-log read
    std::vector<int> runs;              // the mode of each run
    std::vector<std::uint32_t> lengths; // the buffer length of each run
    std::string infoText;
    int mode = 0;
    std::uint8_t* buf = nullptr;
    std::uint32_t len = 0;
};

class FakeBoxHost : public IViewHost, public IDocLanguageRefresh {
public:
    TMoxDocument* GetViewDocument() override { return doc; }
    void RefreshLanguage() override {}
    TMoxDocument* doc = nullptr;
};

class BoxPageTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A page of the kind, shown on the owner; the fixture keeps it.
    template <class Page> Page* MakePage(std::uint8_t kind) {
        m_Holder = std::make_unique<TNodeData>(kind);
        Page* page = TDataView::Create<Page>(m_pOwner.get(), m_Holder.get(), Res());
        Keep(page);
        return page;
    }
    template <class Page> Page* MakeTransferPage(std::uint8_t kind) {
        m_Holder = std::make_unique<TNodeData>(kind);
        Page* page = TDataView::Create<Page>(m_pOwner.get(), &m_Transfer, m_Holder.get(), Res());
        Keep(page);
        return page;
    }
    void Keep(TDataView* page);
    // Destroys the page as the tree does (stored first for tree kinds).
    void DropPage();

    TkResourcen* Res() const { return m_pRes.get(); }
    TMoxDocument& Doc() { return *m_pDoc; }
    std::vector<int> BoxIds() const;
    std::filesystem::path TempFile(const std::string& name) const { return m_Dir / name; }

    template <class T> static T* Find(QWidget* page, const char* name) {
        T* w = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::filesystem::path m_Dir;
    std::unique_ptr<TkResourcen> m_pRes;
    FakeBoxTransfer m_Transfer;
    FakeBoxHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::unique_ptr<TNodeData> m_Holder;
    TDataView* m_pPage = nullptr;

    // Message boxes: every box is recorded; answers are taken from the
    // front of m_Answers, mb::kIdOk when it is empty.
    std::vector<TMsgBox::Request> m_Boxes;
    std::deque<int> m_Answers;
    // File dialogs: every request is recorded; answers (paths, "" for a
    // cancel) are taken from the front; a dialog nobody answered fails.
    std::vector<TFileDialog::Request> m_Dialogs;
    std::deque<QString> m_DialogAnswers;
};
