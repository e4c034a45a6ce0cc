#pragma once
// A host for pages in the tests: a widget to put them in, the program-wide
// document host, settings in a folder of the test's own, the real language
// texts, and the message box pre-answered.

#include "IViewHost.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TestSettingsFile.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <filesystem>
#include <memory>
#include <vector>

class NoRefresh : public IDocLanguageRefresh {
public:
    void RefreshLanguage() override {}
};

class PageHostTest : public testing::Test, public IViewHost {
protected:
    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("view");
        ASSERT_TRUE(m_pSettings->Ok());
        m_Dir = m_pSettings->Dir();
        res = std::make_unique<TkResourcen>();
        doc = std::make_unique<TMoxDocument>(&refresh, res.get(), nullptr);
        SetViewHost(this);
        host = std::make_unique<QWidget>();
        host->resize(600, 400);
        host->show();
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            boxes.push_back(r);
            return mb::kIdOk;
        });
    }
    void TearDown() override {
        TMsgBox::SetHandlerForTesting({});
        host.reset();
        SetViewHost(nullptr);
        doc.reset();
        res.reset();
        m_pSettings.reset();
    }

    TMoxDocument* GetViewDocument() override { return doc.get(); }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_Dir;
    NoRefresh refresh;
    std::unique_ptr<TkResourcen> res;
    std::unique_ptr<TMoxDocument> doc;
    std::unique_ptr<QWidget> host;
    std::vector<TMsgBox::Request> boxes;
};
