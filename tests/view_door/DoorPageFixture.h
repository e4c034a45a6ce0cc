#pragma once
// A fixture for the door-interface pages: the pages registered with the
// page factory, a host that hands out the document, the real English
// language texts, pre-answered message boxes and a settings file of the
// test's own.

#include "DocPageHost.h"
#include "PageTestBase.h"
#include "TDataView.h"
#include "TMoxDocument.h"

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QComboBox;

// The user picks an entry of a list.
void Choose(QComboBox* list, int pos);

using DoorPageHost = DocPageHost;

class DoorPageTest : public PageTestBase {
protected:
    DoorPageTest() : PageTestBase("door") {}
    void SetUp() override;
    void TearDown() override;
    int BoxAnswer(const TMsgBox::Request&) override { return m_nAnswer; }

    // The page of the node kind, made by the page factory as the tree makes
    // it (holder kind = node kind unless given) and shown.
    TDataView* MakeView(std::uint8_t kind, std::uint8_t holderKind = 0);
    template <class Page> Page* Make(std::uint8_t kind) {
        auto* page = dynamic_cast<Page*>(MakeView(kind));
        EXPECT_NE(page, nullptr);
        return page;
    }
    // Destroys the page as the tree does: a tree page stores itself first.
    void Drop();

    TMoxDocument& Doc() { return *m_pDoc; }
    QString Text(int id) const { return m_pRes->GetQText(id); }
    std::string DocText(bool (TMoxDocument::*get)(char*, std::size_t) const) const;

    template <class T> T* Find(const char* name) {
        T* w = m_pPage ? m_pPage->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    DoorPageHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::unique_ptr<TNodeData> m_Holder;
    TDataView* m_pPage = nullptr;
    int m_nAnswer = mb::kIdOk;
};
