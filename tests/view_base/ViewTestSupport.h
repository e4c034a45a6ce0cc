#pragma once
// A host for pages in the tests: a widget to put them in, the program-wide
// document host, settings in a folder of the test's own, the real language
// texts, and the message box pre-answered.

#include "IViewHost.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
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
        std::string tmpl = (std::filesystem::temp_directory_path() / "mox-view-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        m_Dir = tmpl;
        mox::platform::SettingsStore::SetInstanceForTesting(
            mox::platform::SettingsStore::OpenFile((m_Dir / "settings.ini").string()));
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
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(m_Dir, ec);
    }

    TMoxDocument* GetViewDocument() override { return doc.get(); }

    std::filesystem::path m_Dir;
    NoRefresh refresh;
    std::unique_ptr<TkResourcen> res;
    std::unique_ptr<TMoxDocument> doc;
    std::unique_ptr<QWidget> host;
    std::vector<TMsgBox::Request> boxes;
};
