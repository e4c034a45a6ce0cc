#pragma once
// Fakes and a fixture for the main window's tests: the transfer controller
// (it plays the controller's side of a send, a read and a restart and
// routes through the window's messages as the real one does), test pages,
// and the pre-answered message boxes and file dialogs. Every test gets its
// own folder and settings file; the language files are the real ones.

#include "IMainTransfer.h"
#include "TDataView.h"
#include "TFileDialog.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TestSettingsFile.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class FakeMainTransfer : public IMainTransfer {
public:
    explicit FakeMainTransfer(TMoxMain& owner) : m_Owner(owner) {}

    void SetInfoText(const char* text) override { infoText = text ? text : ""; }
    void SetTransferData(int m, std::uint8_t* buffer, std::uint32_t length) override {
        mode = m;
        buf = buffer;
        len = length;
    }
    void SetTeleAnz(std::uint16_t count) override { teleAnz = count; }
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) override {
        buf = buffer;
        len = length;
    }
    void SetMoreData(bool m) override { more = m; }
    std::uint32_t GetBlockLen() const override { return 1024; }

    bool UpdatePort() override {
        ++portUpdates;
        return true;
    }
    bool IsConnected() const override { return linkUp; }
    std::string GetConnectionText() const override {
        return linkUp ? "via LumenBus" : "no connection!";
    }
    int Connect(const std::string& number) override {
        dialled.push_back(number);
        return 1;
    }
    void Disconnect() override { ++disconnects; }
    std::intptr_t GetConnectionValue() const override { return 7; }
    TProgFlags GetProgFlags() const override { return progFlags; }
    std::uint16_t GetBoxKennziffer() const override { return 4711; }
    void ResetProgData() override { ++progResets; }
    void OnTeleReceived() override { ++teles; }
    void CloseTransferForm() override { ++formCloses; }

    // What a run answers (1 ok, 2 failed) and, for a read, the image served.
    int result = 1;
    std::vector<std::uint8_t> readImage;
    bool linkUp = true;
    TProgFlags progFlags;

    int mode = 0;
    std::uint8_t* buf = nullptr;
    std::uint32_t len = 0;
    std::uint16_t teleAnz = 0;
    bool more = false;
    std::string infoText;
    std::vector<int> runs; // the mode of each run
    std::vector<std::vector<std::uint8_t>> sent;
    std::vector<std::uint8_t> resetBytes; // the buffer of a restart run
    std::vector<std::string> dialled;
    int portUpdates = 0;
    int disconnects = 0;
    int progResets = 0;
    int teles = 0;
    int formCloses = 0;

private:
    TMoxMain& m_Owner;
};

// A page that records the protocol and moves one value between one edit
// and the document (the door-call duration), as every real page does with
// its controls.
class RecordingPage : public TDataView {
    Q_OBJECT
public:
    RecordingPage(QWidget* owner, const TNodeData* holder, TkResourcen* res);

    std::vector<std::string>& Log() { return *m_pLog; }
    void SetLog(std::vector<std::string>* log) { m_pLog = log; }

    std::uint16_t value = 0; // the page's control
    bool refuseClose = false;
    std::function<void(RecordingPage&)> onOpen; // runs inside OnOpen
    std::function<void(RecordingPage&)> onSave; // runs inside OnSave

    static std::vector<std::string> s_Log; // pages record here by default

protected:
    void OnOpen(TMessage& m) override;
    void OnSave(TMessage& m) override;
    void OnRestore(TMessage& m) override;
    void OnConnectionChanged(TMessage& m) override;
    void OnCloseQuery(bool& canClose) override;
    void Dispatch(TMessage& m) override;

private:
    std::vector<std::string>* m_pLog = &s_Log;
};

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and shows the main window (mode and expert flag handed over as
    // the start-up does).
    void MakeWindow(int mode = 1, bool expert = false);

    TMoxMain& Main() { return *m_pMain; }
    FakeMainTransfer& Transfer() { return *m_pTransfer; }

    // Answers of the next boxes, by text id; others get OK / their first
    // button.
    void Answer(int textId, int answer) { m_Answers[textId].push_back(answer); }
    // Answers of the next file dialogs, in order; an empty name cancels.
    void Choose(const QString& path) { m_Files.push_back(path); }

    // Texts of the boxes shown, in order.
    std::vector<int> BoxIds() const;
    const std::vector<TMsgBox::Request>& Boxes() const { return m_Boxes; }
    const std::vector<TFileDialog::Request>& Dialogs() const { return m_Dialogs; }

    std::string PathOf(const std::string& name) const { return (m_Dir / name).string(); }
    QString QPathOf(const std::string& name) const { return QString::fromStdString(PathOf(name)); }

    // Pages of the kinds under test record the protocol.
    void RegisterRecordingPage(std::uint8_t kind);
    RecordingPage* AktPage() const;
    // Selects a node and runs the delayed page switch at once.
    bool Select(std::uint8_t kind);
    void ProcessEvents();

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_Dir;
    std::unique_ptr<TMoxMain> m_pMain;
    FakeMainTransfer* m_pTransfer = nullptr;
    TMoxMainSeams m_Seams;
    std::map<int, std::deque<int>> m_Answers;
    std::deque<QString> m_Files;
    std::vector<TMsgBox::Request> m_Boxes;
    std::vector<TFileDialog::Request> m_Dialogs;
    std::vector<std::uint8_t> m_Registered;
};

// A tagged image of a fresh configuration with the device types given.
std::vector<std::uint8_t> ImageWithTypes(std::uint8_t typeIT, std::uint8_t typeKMR = 0);
