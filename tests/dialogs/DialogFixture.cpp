#include "DialogFixture.h"

#include "PermSettings.h"
#include "SettingsStore.h"
#include "TDialogHelp.h"

#include <QWidget>

using mox::platform::SettingsStore;

void DialogTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
    TDialogHelp::SetHandler([this](int context) {
        m_HelpContexts.push_back(context);
        return true;
    });
}

void DialogTest::TearDown() {
    TDialogHelp::SetHandler({});
    PageTestBase::TearDown();
}

SettingsSnapshot DialogTest::Snapshot() const {
    SettingsSnapshot snap;
    SettingsStore& store = SettingsStore::Instance();
    for (const char* key : {kPermKeyComport, kPermKeyMsn}) {
        for (const std::string& name : store.ValueNames(key)) {
            const std::string id = std::string(key) + "/" + name;
            if (auto s = store.GetString(key, name))
                snap[id] = *s;
            else if (auto d = store.GetDword(key, name))
                snap[id] = std::to_string(*d);
            else // a one-char string built whole: g++ 12 warns falsely on = "?"
                snap[id] = std::string(1, '?');
        }
    }
    return snap;
}

void DialogTest::StoreClients(const std::vector<std::string>& numbers) {
    for (std::size_t i = 0; i < numbers.size(); ++i)
        SetPermMSNClient(static_cast<int>(i), numbers[i]);
}

std::vector<std::string> DialogTest::StoredClients() const {
    std::vector<std::string> out;
    for (int i = 0; i < kPermMsnClients; ++i) {
        std::string n;
        GetPermMSNClient(i, n);
        out.push_back(n);
    }
    return out;
}

std::vector<std::string> DialogTest::Padded(std::vector<std::string> numbers) {
    numbers.resize(kPermMsnClients);
    return numbers;
}
