#pragma once
// Fakes and a fixture for the wizard: the real main window (never shown
// until the wizard hands over, as at a start in wizard mode) with a fake
// transfer controller, small fake configuration pages registered for every
// kind the wizard embeds, a fake programming form, pre-answered message
// boxes and link dialog, the real English texts and a settings file and a
// folder of the test's own.

#include "MessageAddress.h"
#include "PageTestBase.h"
#include "StubTransfer.h"
#include "TAssiMain.h"
#include "TDataView.h"
#include "TMoxMain.h"
#include "TMsgBox.h"

#include <gtest/gtest.h>

#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class TMoxDocument;

// A transfer controller that plays the box: a read serves an image, a send
// asks its owner for every package by message (as the real controller asks
// the form that runs it) and counts them.
class FakeAssiTransfer : public StubTransfer {
public:
    ~FakeAssiTransfer() override {
        if (self)
            *self = nullptr;
    }
    int ShowModal() override;
    void SetMoreData(bool m) override { more = m; }
    bool UpdatePort() override {
        ++portUpdates;
        return true;
    }
    TProgFlags GetProgFlags() const override { return progFlags; }

    // Where the package requests of a send go; a dead address asks the
    // document directly.
    mox::platform::MessageAddress owner;
    TMoxDocument* doc = nullptr;
    int result = 1;
    std::vector<std::uint8_t> readImage;
    TProgFlags progFlags;

    // The fixture's pointer to this controller, cleared when it goes; and
    // the fixture's record of the runs, which outlives it.
    FakeAssiTransfer** self = nullptr;
    std::vector<int>* runLog = nullptr;

    std::vector<int> runs; // mode of each run
    int packages = 0;      // packages of the last send
    int portUpdates = 0;
    bool more = false;
};

// What the fake configuration pages did, in order: "open 5", "save 2", ...
struct FakePageLog {
    std::vector<std::string> events;
    std::set<std::uint8_t> refuseClose; // kinds whose page will not be left
    // Device types the devices page stores on save, as a user's choice.
    std::optional<TAssiDevices> devicesOnSave;
    std::uint8_t lastHolderKind = 0;
    IMainTransfer* lastTransfer = nullptr;
};
FakePageLog& PageLog();
void RegisterFakePages();
void UnregisterFakePages();

class AssiTest : public PageTestBase {
protected:
    AssiTest() : PageTestBase("assi", TextSource::Program) {}
    void SetUp() override;
    void TearDown() override;
    void ChooseSettings() override;
    int BoxAnswer(const TMsgBox::Request& request) override;

    // The program's start in wizard mode.
    void ShowWizard(int mode = 1);
    TAssiMain& Assi() { return *m_pAssi; }
    TMoxMain& Main() { return *m_pMain; }
    TMoxDocument& Doc();

    // Answers the question page on show (yes/no, by hand/read); no effect
    // on other pages.
    void Answer(bool yes);
    void Click(const char* button);
    void Forward() { Click("m_pForwardBtn_NoHelp"); }
    void Back() { Click("m_pBackBtn_NoHelp"); }
    // Goes forward to the end page, answering each question page from the
    // table (yes where it has no row); the states shown, the first included.
    std::vector<int> WalkToEnd(const std::map<int, bool>& answers = {});
    std::vector<int> WalkBackToStart();
    void ProcessEvents();
    // How often a message box came (BoxIds(): the text ids of all so far).
    int BoxCount(int textId) const;
    std::string WorkPageName() const;
    std::string HelpPageName() const;

    template <class T> T* Find(QWidget* root, const char* name) {
        T* w = root ? root->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::unique_ptr<TMoxMain> m_pMain;
    std::unique_ptr<TAssiMain> m_pAssi;
    TAssiSeams m_AssiSeams; // filled by SetUp; a test may change it before ShowWizard
    FakeAssiTransfer* m_pOwnTransfer = nullptr;  // the wizard's
    FakeAssiTransfer* m_pMainTransfer = nullptr; // the main window's, once shown
    std::vector<int> m_OwnRuns;                  // modes of the runs of the wizard's controller
    int m_nOwnPackages = 0;                      // packages of its last send
    int Sends() const;

    // The link dialog: whether it ends with OK and the setting it leaves.
    bool m_bPortOk = true;
    int m_nPortSetting = 1;
    int m_nPortDialogs = 0;
    // Answers of message boxes by text id; the rest: OK, "no" to yes/no
    // and to the main window's save question, "yes" to the wizard's cancel
    // question.
    std::map<int, int> m_Answers;

    // The fake programming form's messages.
    std::vector<std::uint32_t> m_TlnProgMessages;
    bool m_bTlnProgMade = false;
};
