#pragma once
// The transfer form with the program's own ports: the direct serial port on
// a pseudo-terminal with the box simulator on the V.24 cable behind it, and
// the ISDN port on the fake CAPI library with the simulator's core at the
// far end of the call. The form's
// owner is a receiver playing the main window's handlers, so results and
// ISDN events arrive as window messages, their records as values.
//
// The ports' threads post into the form's event loop; the tests wait for
// what they expect by running that loop (never a fixed sleep). The engine's
// clock is a fake one that no test moves, so no time-out can strike while a
// thread is merely slow; a guard cancels a run that never ends.
//
// Settings live in the test process's own file (PerProcessSettingsFile).

#include "BoxCapiLink.h"
#include "BoxSimThread.h"
#include "CapiPortMessage.h"
#include "ErrorBox.h"
#include "FakeCapiControl.h"
#include "FakeClock.h"
#include "IDocLanguageRefresh.h"
#include "IDocMessageBox.h"
#include "MessageReceiver.h"
#include "PermSettings.h"
#include "TDataTransfer.h"
#include "TKtxImage.h"
#include "TMoxDocument.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class LinksMainFrame : public IDocLanguageRefresh {
public:
    void RefreshLanguage() override {}
};

class LinksMessageBox : public IDocMessageBox {
public:
    struct Shown {
        std::string text;
        std::string caption;
        eDocMsgIcon icon;
    };
    int ShowMessage(int, const std::string& text, const std::string& caption, eDocMsgIcon icon,
                    eDocMsgButtons) override {
        shown.push_back({text, caption, icon});
        return eDocAnswerOk;
    }
    std::vector<Shown> shown;
};

class LinksDialogBench : public testing::Test {
protected:
    // Only a hang ever waits this long.
    static constexpr int kGuardMs = 20000;

    void SetUp() override {
        ASSERT_TRUE(v24Box.Started()) << v24Box.Error();
        fakecapi::Reset();
        fakecapi::SetBox(&capiBox);
        SetPermLand(1);
        SetPermSprache(1);
        SetComPort(ePortNone);
        SetPermMSNService("4711");
        SetCapiLibrary(FAKECAPI_PATH);
        for (int com = 1; com <= 4; ++com)
            SetComDevice(com, v24Box.PtyPath());
        ErrorBox::SetHandlerForTesting(
            [](const ErrorBox::Request&) { return ErrorBox::Answer::Ok; });
        m_pRes = std::make_unique<TkResourcen>();
        ASSERT_TRUE(m_pRes->LoadFile(std::string(MOX_BIN_DIR) + "/res/ktx_d.spt"));

        TDataTransferSeams seams;
        seams.clock = &clock;
        dlg = std::make_unique<TDataTransfer>(nullptr, m_pRes.get(), seams);
        dlg->SetMessageBox(&messageBox);
        m_pMainWindow = std::make_unique<mox::platform::MessageReceiver>(
            [this](const mox::platform::WindowMessage& m) { return OnMainMessage(m); });
        dlg->SetOwnerAddress(m_pMainWindow->Address());

        // A run that never ends is cancelled, so the test fails instead of
        // hanging in the form's modal loop.
        m_Guard.setSingleShot(true);
        m_Guard.setInterval(kGuardMs);
        QObject::connect(&m_Guard, &QTimer::timeout, [this] {
            ADD_FAILURE() << "the run never ended";
            dlg->OnCancel();
        });
    }

    void TearDown() override {
        m_Guard.stop();
        m_Docs.clear();
        dlg.reset();
        m_pMainWindow.reset();
        m_pRes.reset();
        ErrorBox::SetHandlerForTesting({});
        for (const std::string& v : fakecapi::Violations())
            ADD_FAILURE() << "fake CAPI: " << v;
        fakecapi::SetBox(nullptr);
        fakecapi::Reset();
    }

    TMoxDocument& MakeDoc() {
        m_Docs.push_back(std::make_unique<TMoxDocument>(&m_MainFrame, m_pRes.get(), dlg.get()));
        return *m_Docs.back();
    }

    // A configuration that differs from the defaults; each value is one the
    // record takes, so none of them falls back to its default unseen.
    static void Fill(TMoxDocument& doc) {
        ASSERT_TRUE(doc.SetRnr("0301234567"));
        ASSERT_TRUE(doc.SetTuerrufdauer(450));
        ASSERT_TRUE(doc.SetEtagenrufText("Etage \xFC"));
        for (std::uint8_t i = 0; i < doc.GetAnzTln(); ++i)
            ASSERT_TRUE(doc.SetTlnRnr(i, ("0171" + std::to_string(1000 + i)).c_str()));
    }

    static std::vector<std::uint8_t> ImageOf(const TMoxDocument& doc) {
        MoxDaten copy = *doc.GetDaten();
        std::vector<std::uint8_t> image(TKtxImage::kSize);
        TKtxImage::Build(&copy, image.data());
        return image;
    }

    // Runs the form's event loop until pred holds; false after the guard.
    static bool WaitFor(const std::function<bool()>& pred) {
        QElapsedTimer t;
        t.start();
        while (!pred()) {
            if (t.elapsed() > kGuardMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

    // The write and the read of a document, each one modal run.
    bool Write(TMoxDocument& doc) {
        m_Guard.start();
        const bool ok = doc.StartWriteAnlDataToComPort(true);
        m_Guard.stop();
        return ok;
    }
    bool Read(TMoxDocument& doc) {
        m_Guard.start();
        const bool ok = doc.ReadAnlDataFromComPort();
        m_Guard.stop();
        return ok;
    }

    // Dials the box and waits until the call is up.
    bool DialUp() {
        const int instance = dlg->Connect("0891234567");
        if (instance <= 0)
            return false;
        return WaitFor([&] { return !active.empty() || !disconnects.empty(); }) &&
               !active.empty() && dlg->IsConnected();
    }

    struct Disconnect {
        std::intptr_t instance;
        std::intptr_t lParam;
        bool hasRecord;
        CapiDisconnectInfo info;
    };

    FakeClock clock;
    boxsim::BoxSimThread v24Box;
    boxsim::BoxCapiLink capiBox;
    LinksMessageBox messageBox;
    std::unique_ptr<TDataTransfer> dlg;
    std::unique_ptr<TkResourcen> m_pRes;

    // What the main window heard.
    std::vector<int> results;
    std::vector<CapiCallInfo> connects;
    std::vector<std::intptr_t> active;
    std::vector<Disconnect> disconnects;

private:
    std::intptr_t OnMainMessage(const mox::platform::WindowMessage& m) {
        switch (m.id) {
        case WM_TRANSFER_RESULT:
            results.push_back(static_cast<int>(m.wParam));
            dlg->CloseTransferForm();
            break;
        case WM_NEED_TRANSFER_DATA:
            if (!m_Docs.empty())
                m_Docs.back()->OnNeedTransferData();
            break;
        case WM_MORE_TRANSFER_DATA:
            if (!m_Docs.empty())
                m_Docs.back()->MoreAnlDataToComPort();
            break;
        case CAPIPORT_CONNECT:
            if (const auto* info = std::any_cast<CapiCallInfo>(&m.value))
                connects.push_back(*info);
            break;
        case CAPIPORT_CONNECT_ACTIVE:
            active.push_back(m.wParam);
            break;
        case CAPIPORT_DISCONNECT: {
            const auto* info = std::any_cast<CapiDisconnectInfo>(&m.value);
            disconnects.push_back(
                {m.wParam, m.lParam, info != nullptr, info ? *info : CapiDisconnectInfo{}});
            break;
        }
        default:
            break;
        }
        return 0;
    }

    LinksMainFrame m_MainFrame;
    std::vector<std::unique_ptr<TMoxDocument>> m_Docs;
    std::unique_ptr<mox::platform::MessageReceiver> m_pMainWindow;
    QTimer m_Guard;
};
