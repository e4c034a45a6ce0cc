#pragma once
// A fixture for the SMS and controller pages: a page host that hands out
// the document, pre-answered message boxes, the real English language texts
// and a settings file of the test's own. The document has the universal
// controller and the door interface of type 2 unless a test changes them.

#include "DocPageHost.h"
#include "PageTestBase.h"
#include "TDataView.h"
#include "TMoxDocument.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using RakHost = DocPageHost;

class RakPageTest : public PageTestBase {
protected:
    RakPageTest() : PageTestBase("rak") {}
    void SetUp() override;
    void TearDown() override;
    void ChooseSettings() override;

    // A page of the kind, shown on the owner; the fixture keeps it.
    template <class Page> Page* MakePage(std::uint8_t kind = eNodeNone) {
        DropPage();
        m_Holder = std::make_unique<TNodeData>(kind);
        Page* page = TDataView::Create<Page>(m_pOwner.get(), m_Holder.get(), Res());
        m_pPage = page;
        m_pOwner->show();
        return page;
    }
    // Destroys the page the way the main window does: a tree page stores
    // itself first.
    void DropPage();
    void Save();

    TMoxDocument& Doc() { return *m_pDoc; }
    // The record itself, for states only a foreign or damaged image brings.
    MoxDaten& Raw() { return *const_cast<MoxDaten*>(m_pDoc->GetDaten()); }
    std::string Text(int id) const { return m_pRes->GetText(id) ? m_pRes->GetText(id) : ""; }

    template <class T> T* Find(const char* name) {
        T* w = m_pPage ? m_pPage->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    RakHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::unique_ptr<TNodeData> m_Holder;
    TDataView* m_pPage = nullptr;
};
