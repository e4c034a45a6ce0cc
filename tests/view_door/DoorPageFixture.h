#pragma once
// A fixture for the door-interface pages: the pages registered with the
// page factory, a host that hands out the document, the real English
// language texts, pre-answered message boxes and a settings file of the
// test's own.

#include "IDocLanguageRefresh.h"
#include "IViewHost.h"
#include "TDataView.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QComboBox;

// The user picks an entry of a list.
void Choose(QComboBox* list, int pos);

class DoorPageHost : public IViewHost, public IDocLanguageRefresh {
public:
    TMoxDocument* GetViewDocument() override { return doc; }
    void RefreshLanguage() override {}
    TMoxDocument* doc = nullptr;
};

class DoorPageTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

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

    TkResourcen* Res() const { return m_pRes.get(); }
    TMoxDocument& Doc() { return *m_pDoc; }
    QString Text(int id) const { return m_pRes->GetQText(id); }
    std::vector<int> BoxIds() const;
    std::string DocText(bool (TMoxDocument::*get)(char*, std::size_t) const) const;

    template <class T> T* Find(const char* name) {
        T* w = m_pPage ? m_pPage->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::filesystem::path m_Dir;
    std::unique_ptr<TkResourcen> m_pRes;
    DoorPageHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::unique_ptr<TNodeData> m_Holder;
    TDataView* m_pPage = nullptr;
    std::vector<TMsgBox::Request> m_Boxes;
    int m_nAnswer = mb::kIdOk;
};
