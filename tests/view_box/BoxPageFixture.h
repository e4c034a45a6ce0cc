#pragma once
// Fakes and a fixture for the box pages: a page host that hands out the
// document, a transfer controller that serves an event-log dump or plays a
// firmware run, pre-answered message boxes and file dialogs, the real
// English language texts and a settings file of the test's own.

#include "DocPageHost.h"
#include "IFirmwareFileHolder.h"
#include "PageTestBase.h"
#include "StubTransfer.h"
#include "TDataView.h"
#include "TFileDialog.h"
#include "TMoxDocument.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class FakeBoxTransfer : public StubTransfer, public IFirmwareFileHolder {
public:
    void SetInfoText(const char* text) override { infoText = text ? text : ""; }
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t*, std::uint32_t) override {}

    void SetFWFileName(const std::string& name) override { fwFile = name; }
    bool GetFWFileName(std::string& name) const override {
        if (fwFile.empty())
            return false;
        name = fwFile;
        return true;
    }

    std::string fwFile;                 // the download file the controller keeps
    int result = 1;                     // what a run answers
    std::vector<std::uint8_t> dump;     // served on an event-log read
    std::vector<int> runs;              // the mode of each run
    std::vector<std::uint32_t> lengths; // the buffer length of each run
    std::string infoText;
};

using FakeBoxHost = DocPageHost;

class BoxPageTest : public PageTestBase {
protected:
    BoxPageTest() : PageTestBase("box") {}
    void SetUp() override;
    void TearDown() override;
    int BoxAnswer(const TMsgBox::Request& request) override;

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

    TMoxDocument& Doc() { return *m_pDoc; }
    std::filesystem::path TempFile(const std::string& name) const { return m_Dir / name; }

    template <class T> static T* Find(QWidget* page, const char* name) {
        T* w = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    FakeBoxTransfer m_Transfer;
    FakeBoxHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::unique_ptr<TNodeData> m_Holder;
    TDataView* m_pPage = nullptr;

    // Message boxes: every box is recorded (m_Boxes); answers are taken
    // from the front of m_Answers, mb::kIdOk when it is empty.
    std::deque<int> m_Answers;
    // File dialogs: every request is recorded; answers (paths, "" for a
    // cancel) are taken from the front; a dialog nobody answered fails.
    std::vector<TFileDialog::Request> m_Dialogs;
    std::deque<QString> m_DialogAnswers;
};
