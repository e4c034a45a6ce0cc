#pragma once
// Set-up of the dialog tests: a settings file of the test's own, the real
// English language texts, message boxes answered with OK and recorded, help
// requests recorded, and a snapshot of the settings the dialogs may write.

#include "PageTestBase.h"

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <map>
#include <string>
#include <vector>

// Every value under the link and the ISDN-number keys, by "key/name".
using SettingsSnapshot = std::map<std::string, std::string>;

class DialogTest : public PageTestBase {
protected:
    DialogTest() : PageTestBase("dialogs") {}
    void SetUp() override;
    void TearDown() override;

    SettingsSnapshot Snapshot() const;

    // Stores the remembered numbers client0.. in order.
    void StoreClients(const std::vector<std::string>& numbers);
    // All ten, empty ones too.
    std::vector<std::string> StoredClients() const;
    // The numbers followed by empty ones up to ten.
    static std::vector<std::string> Padded(std::vector<std::string> numbers);

    template <class T> static T* Find(QWidget* dlg, const char* name) {
        T* w = dlg->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::vector<int> m_HelpContexts;
};
