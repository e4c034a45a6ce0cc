#include "DialogFixture.h"

#include "ErrorBox.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TDialogHelp.h"

#include <QWidget>

#include <cstdlib>

using mox::platform::SettingsStore;

void DialogTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mox-dialogs-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    m_Dir = tmpl;
    SettingsStore::SetInstanceForTesting(
        SettingsStore::OpenFile((m_Dir / "settings.ini").string()));

    // A missing language file must fail the test, not wait for a click.
    ErrorBox::SetHandlerForTesting([](const ErrorBox::Request& r) {
        ADD_FAILURE() << r.text;
        return ErrorBox::Answer::Ok;
    });
    TkResourcen::SetProgramDirForTesting(MOX_BIN_DIR);
    SetPermSprache(2); // English
    m_pRes = std::make_unique<TkResourcen>();
    ASSERT_TRUE(m_pRes->IsLoaded());

    TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
        m_Boxes.push_back(r);
        return mb::kIdOk;
    });
    TDialogHelp::SetHandler([this](int context) {
        m_HelpContexts.push_back(context);
        return true;
    });
}

void DialogTest::TearDown() {
    TDialogHelp::SetHandler({});
    TMsgBox::SetHandlerForTesting({});
    ErrorBox::SetHandlerForTesting({});
    m_pRes.reset();
    TkResourcen::SetProgramDirForTesting("");
    SettingsStore::SetInstanceForTesting(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
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
            else
                snap[id] = "?";
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
