#pragma once
// The transfer form on a bench: the real dialog, engine, port factory and
// bus port over a fake bus control with the in-process fake box behind it,
// a fake clock, and documents as the main window makes them.
//
// The bus runs inside the form's modal loop: a zero-interval timer hands the
// box's telegrams to the form one per tick, as the main window forwards the
// bus control's event. When nobody has anything to say for a few ticks the
// clock jumps to the engine's next due time and the form's timer handler
// runs, so every time-out passes at once and no test waits on real time.
//
// Each test has its own folder and settings file; the language texts are the
// generated German file of the build.

#include "DocTextIds.h"
#include "ErrorBox.h"
#include "FakeBusBox.h"
#include "FakeClock.h"
#include "FakeQuell32Control.h"
#include "IDocLanguageRefresh.h"
#include "IDocMessageBox.h"
#include "MessageReceiver.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TDataTransfer.h"
#include "TDocTransferOwner.h"
#include "TKtxImage.h"
#include "TMoxDocument.h"
#include "TTransferPortFactory.h"
#include "TestSettingsFile.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class BenchMainFrame : public IDocLanguageRefresh {
public:
    void RefreshLanguage() override {}
};

class BenchMessageBox : public IDocMessageBox {
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

// How the form's owner is reached: straight through the document adapter
// (the wizard's way) or by window messages to a receiver that plays the main
// window's handlers.
enum class OwnerKind { DocumentAdapter, WindowMessages };

class DialogBench : public testing::Test {
protected:
    // Ticks without traffic before the clock jumps: posted messages of the
    // ports are delivered within one.
    static constexpr int kIdleTicks = 3;
    // An exchange that has not ended after this many ticks never will.
    static constexpr int kMaxTicks = 200000;

    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("tdlg");
        ASSERT_TRUE(m_pSettings->Ok());
        SetPermLand(1);
        SetPermSprache(1);
        SetComPort(ePortPriCom1);
        ErrorBox::SetHandlerForTesting(
            [](const ErrorBox::Request&) { return ErrorBox::Answer::Ok; });
        m_pRes = std::make_unique<TkResourcen>();
        ASSERT_TRUE(m_pRes->LoadFile(std::string(MOX_BIN_DIR) + "/res/ktx_d.spt"));

        TDataTransferSeams seams;
        seams.clock = &clock;
        dlg = std::make_unique<TDataTransfer>(nullptr, m_pRes.get(), seams);
        ASSERT_NE(dlg->GetPortFactory(), nullptr);
        dlg->GetPortFactory()->SetQuellControl(&quell);
        dlg->SetMessageBox(&messageBox);

        QObject::connect(&m_Bus, &QTimer::timeout, [this] { Tick(); });
        m_Bus.setInterval(0);
        m_Bus.start();
    }

    void TearDown() override {
        m_Bus.stop();
        m_pMainWindow.reset();
        m_Docs.clear();
        dlg.reset();
        m_pRes.reset();
        ErrorBox::SetHandlerForTesting({});
        m_pSettings.reset();
    }

    // A document on the form, with the owner of the kind given.
    TMoxDocument& MakeDoc(OwnerKind kind = OwnerKind::DocumentAdapter) {
        m_Docs.push_back(std::make_unique<TMoxDocument>(&m_MainFrame, m_pRes.get(), dlg.get()));
        TMoxDocument& doc = *m_Docs.back();
        UseOwner(doc, kind);
        return doc;
    }

    // Makes doc the form's owner's document.
    void UseOwner(TMoxDocument& doc, OwnerKind kind) {
        if (kind == OwnerKind::DocumentAdapter) {
            m_pDocOwner = std::make_unique<TDocTransferOwner>(doc);
            m_pDocOwner->SetResultHandler([this](int r) { results.push_back(r); });
            dlg->SetOwner(m_pDocOwner.get());
            return;
        }
        // The main window's handlers of the three messages.
        m_pMainWindow = std::make_unique<mox::platform::MessageReceiver>(
            [this, &doc](const mox::platform::WindowMessage& m) -> std::intptr_t {
                switch (m.id) {
                case WM_TRANSFER_RESULT:
                    results.push_back(static_cast<int>(m.wParam));
                    dlg->CloseTransferForm();
                    break;
                case WM_NEED_TRANSFER_DATA:
                    doc.OnNeedTransferData();
                    break;
                case WM_MORE_TRANSFER_DATA:
                    doc.MoreAnlDataToComPort();
                    break;
                default:
                    break;
                }
                return 0;
            });
        dlg->SetOwnerAddress(m_pMainWindow->Address());
    }

    // The file image of a document's configuration.
    static std::vector<std::uint8_t> ImageOf(const TMoxDocument& doc) {
        MoxDaten copy = *doc.GetDaten();
        std::vector<std::uint8_t> image(TKtxImage::kSize);
        TKtxImage::Build(&copy, image.data());
        return image;
    }

    // The PC's 'C' telegrams of one sub-type that reached the bus.
    int PcTelegrams(std::uint8_t sub) const {
        int n = 0;
        for (const auto& t : quell.sent)
            n += t.size() > 3 && t[0] == LUMEN_ADR_BOX && t[1] == KTX_PC_DAT && t[3] == sub;
        return n;
    }

    // The box hears nothing more: the bus interface still acknowledges each
    // telegram, but no answer ever comes.
    void SilenceTheBox() {
        quell.onDelivered = [](const FakeQuell32Control::Tele&) {};
    }

    QString InfoText() const { return Label("m_pInfo"); }
    QString Label(const char* name) const {
        const auto* label = dlg->findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QString();
    }
    static QString Qt8(const char* cp1252) { return MoxToQString(cp1252 ? cp1252 : ""); }

    // Called at every tick while the bus runs.
    std::function<void()> onTick;
    // Counts of the bus while it ran.
    int telegramsFromBox = 0;

    FakeClock clock;
    FakeQuell32Control quell;
    FakeBusBox box{quell};
    BenchMessageBox messageBox;
    std::unique_ptr<TDataTransfer> dlg;
    std::vector<int> results;
    std::unique_ptr<TkResourcen> m_pRes;

private:
    void Tick() {
        if (++m_nTicks > kMaxTicks) {
            ADD_FAILURE() << "the exchange never settled";
            m_nTicks = 0;
            dlg->OnCancel();
            return;
        }
        if (onTick)
            onTick();
        if (!box.outbox.empty()) {
            quell.Store(RECEIVE_STATUS_ACK, box.outbox.front());
            box.outbox.pop_front();
            ++telegramsFromBox;
            m_nIdle = 0;
            dlg->OnTeleReceived();
            return;
        }
        if (++m_nIdle < kIdleTicks)
            return;
        m_nIdle = 0;
        if (const auto due = dlg->GetEngine().NextDueMs()) {
            if (*due > clock.now)
                clock.now = *due;
            dlg->OnTimer();
        }
    }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    BenchMainFrame m_MainFrame;
    std::vector<std::unique_ptr<TMoxDocument>> m_Docs;
    std::unique_ptr<TDocTransferOwner> m_pDocOwner;
    std::unique_ptr<mox::platform::MessageReceiver> m_pMainWindow;
    QTimer m_Bus;
    int m_nIdle = 0;
    int m_nTicks = 0;
};
