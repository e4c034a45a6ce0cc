#pragma once
// Fakes and a fixture for the read and write pages: a transfer controller
// that serves an image on a read and takes the packages of a write, a page
// host that records what the pages ask of it and rebuilds its "tree" by
// dropping the page as the main window does, pre-answered message boxes,
// the real English language texts and a settings file of the test's own.

#include "DocPageHost.h"
#include "ImageTransfer.h"
#include "PageTestBase.h"
#include "TDataView.h"
#include "TMoxDocument.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class FakePageTransfer : public ImageTransfer {
public:
    void SetMoreData(bool m) override { more = m; }
    bool more = false;
};

class FakePageHost : public DocPageHost {
public:
    bool ViewQuerySave() override;
    void ViewRebuildTree() override;
    void ViewUpdateControls() override { log.push_back("update"); }

    TDataView* page = nullptr; // the page the host shows
    bool allowReplace = true;  // the answer of the save question
    std::function<void()> duringQuery;
    std::vector<std::string> log;
};

class PageTest : public PageTestBase {
protected:
    PageTest() : PageTestBase("pages") {}
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

    TMoxDocument& Doc() { return *m_pDoc; }

    template <class T> static T* Find(QWidget* page, const char* name) {
        T* w = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    FakePageTransfer m_Transfer;
    FakePageHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::unique_ptr<TNodeData> m_Holder;
};

// A tagged image of a fresh configuration with the device types given.
std::vector<std::uint8_t> ImageWithTypes(std::uint8_t typeIT, std::uint8_t typeBSM = 0,
                                         std::uint8_t typeKMR = 0, std::uint8_t typeRAK = 0);
