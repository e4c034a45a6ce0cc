#pragma once
// A fixture for the system, devices and permission-groups pages: the real
// English language texts, a settings file of the test's own, a document
// behind a page host, pre-answered message boxes, and a window that takes
// window messages (as the main window does) with a panel in it that owns
// the page.

#include "IDocLanguageRefresh.h"
#include "IViewHost.h"
#include "MessageReceiver.h"
#include "TDataView.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

class SystemPageHost : public IViewHost, public IDocLanguageRefresh {
public:
    TMoxDocument* GetViewDocument() override { return doc; }
    void RefreshLanguage() override {}
    TMoxDocument* doc = nullptr;
};

class SystemPageTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A page of the class on the panel, for a node of the kind; shown.
    template <class Page> Page* MakePage(std::uint8_t kind) {
        m_Holder = std::make_unique<TNodeData>(kind);
        Page* page = TDataView::Create<Page>(m_pPanel, m_Holder.get(), Res());
        m_pPage = page;
        m_pWindow->show();
        return page;
    }
    // Destroys the page as the tree does: it stores itself first.
    void DropPage();

    TkResourcen* Res() const { return m_pRes.get(); }
    TMoxDocument& Doc() { return *m_pDoc; }
    // The text ids of the message boxes shown so far.
    std::vector<int> BoxIds() const;
    // The bytes of the document's record, to tell whether a page changed
    // anything.
    std::vector<std::uint8_t> Record() const;

    template <class T> T* Find(const char* name) const {
        T* w = m_pPage ? m_pPage->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::filesystem::path m_Dir;
    std::unique_ptr<TkResourcen> m_pRes;
    SystemPageHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pWindow;
    QWidget* m_pPanel = nullptr;
    std::vector<std::uint32_t> m_WindowMessages; // what the window was sent
    std::unique_ptr<TNodeData> m_Holder;
    TDataView* m_pPage = nullptr;
    std::vector<TMsgBox::Request> m_Boxes;
};

// Takes the focus away from a field the way leaving it does.
void LeaveField(QWidget* field);
