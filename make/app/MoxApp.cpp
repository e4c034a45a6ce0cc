#include "MoxApp.h"

#include "DbgOut.h"
#include "MoxCommandLine.h"
#include "PermSettings.h"
#include "ProcessLock.h"
#include "TAssiMain.h"
#include "TBoxPages.h"
#include "TCodePages.h"
#include "TConnectDlg.h"
#include "TDataPages.h"
#include "TDialogHelp.h"
#include "TDoorPages.h"
#include "TMainDataTransfer.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TPrintCommands.h"
#include "TRakPages.h"
#include "TSetComPortDlg.h"
#include "TSubscriberPages.h"
#include "TSystemPages.h"
#include "TTlnProgForm.h"
#include "TkResourcen.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

namespace {

constexpr int kTextUsage = 2;
// The application's title until the main window sets its own; the start-up
// error box carries it.
constexpr char kApplicationTitle[] = "ktx";

std::function<void(TMoxMain&)> g_mainWindowHook; // tests only, set before MoxRun

// Ends the program once the main window has painted (MOX_QUIT_WHEN_SHOWN).
class QuitWhenShown : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_bDone) {
            m_bDone = true;
            DbgOut(eDbgAlways, "<MoxRun> %s shown", qPrintable(watched->objectName()));
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(eMoxExitOk); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_bDone = false;
};

bool QuitWhenShownRequested() {
    const char* v = std::getenv("MOX_QUIT_WHEN_SHOWN");
    return v && std::strcmp(v, "1") == 0;
}

// The wizard's own controller, for a start in wizard mode (the main window
// creates its own only when it is first shown): it reports to the main
// window like the window's own, so programming results take their one route.
TAssiSeams AssiSeams() {
    TAssiSeams seams;
    seams.createTransfer = [](TAssiMain&) -> std::unique_ptr<IMainTransfer> {
        TMoxMain* main = TMoxMain::Instance();
        if (!main)
            return nullptr;
        return std::make_unique<TMainDataTransfer>(*main, main->GetQuell32());
    };
    // The subscriber programming step: the programming form embedded (kind
    // 38), fed the forwarded results through its page protocol.
    seams.createTlnProg = [](const TAssiTlnProgContext& c) {
        auto* form = new TTlnProgForm(c.owner, c.transfer, c.holder, c.doc, c.res);
        const QPointer<TTlnProgForm> alive(form);
        TAssiEmbeddedPage page;
        page.widget = form;
        page.perform = [alive](const mox::platform::WindowMessage& m) {
            if (alive)
                alive->Perform(m.id, m.wParam, m.lParam);
        };
        return page;
    };
    return seams;
}

TMoxMainSeams ProgramSeams() {
    TMoxMainSeams seams;
    seams.hostQuell32 = true;
    seams.createTransfer = [](TMoxMain& main) -> std::unique_ptr<IMainTransfer> {
        return std::make_unique<TMainDataTransfer>(main, main.GetQuell32());
    };
    seams.runPortDialog = [](TMoxMain& main) {
        return TSetComPortDlg::Run(&main, true, main.GetRes());
    };
    seams.runConnectDialog = [](TMoxMain& main) { return TConnectDlg::Run(&main, main.GetRes()); };
    TPrintCommands::Install(seams);
    return seams;
}

int RunMainWindow(const MoxCommandLine& cmd) {
    TMoxMain main(ProgramSeams());
    TAssiMain assi(&main, AssiSeams());
    main.SetAssistent(&assi);
    // The dialogs' help goes to the main window's help window.
    TDialogHelp::SetHandler([&main](int context) { return main.OnHelp(1, context); });
    // Now the trace menu exists and gets its check marks.
    InitPermTrace([&main](int channel, bool on) { main.SetTraceCheck(channel, on); });

    // Qt shows a window at once (not from the message loop), so the window
    // learns its mode before it is first shown and builds its tree for it.
    main.SetMode(cmd.mode);
    main.SetExpertFlag(cmd.expert);

    QuitWhenShown quitProbe;
    if (QuitWhenShownRequested()) {
        main.installEventFilter(&quitProbe);
        assi.installEventFilter(&quitProbe);
    }

    if (IsAssiMode()) {
        QApplication::setQuitOnLastWindowClosed(false);
        main.hide();
        assi.ShowAssistent();
    } else {
        main.show();
    }
    if (g_mainWindowHook)
        g_mainWindowHook(main);
    const int rc = QApplication::exec();
    TDialogHelp::SetHandler({});
    main.SetAssistent(nullptr);
    return rc;
}

} // namespace

void MoxSetMainWindowHookForTesting(std::function<void(TMoxMain&)> hook) {
    g_mainWindowHook = std::move(hook);
}

void MoxRegisterPages() {
    TDataPages::Register();
    TSystemPages::Register();
    TBoxPages::Register();
    TRakPages::Register();
    TDoorPages::Register();
    TCodePages::Register();
    TSubscriberPages::Register();
}

void MoxUnregisterPages() {
    TDataPages::Unregister();
    TSystemPages::Unregister();
    TBoxPages::Unregister();
    TRakPages::Unregister();
    TDoorPages::Unregister();
    TCodePages::Unregister();
    TSubscriberPages::Unregister();
}

int MoxRun(int argc, char** argv) {
    // The process-wide lock exists before anything can trace.
    MoxProcessLock();
    // The application object comes first only because no box can show
    // without it; nothing else happens before the language file is checked.
    QApplication app(argc, argv);

    if (GetLanguageFileName().empty())
        return eMoxExitNoLanguageFile;
    // A file that is there but cannot serve (damaged, cut, empty) ends the
    // start as a missing one does: without its texts the program has no
    // title, no menu and no message the user could read. The box said why.
    auto res = std::make_unique<TkResourcen>();
    if (!res->IsLoaded())
        return eMoxExitNoLanguageFile;

    // Qt has taken its own options out of argv by now.
    const MoxCommandLine cmd = MoxParseCommandLine(MoxJoinArguments(argc, argv));
    if (cmd.help) {
        TMsgBox::Show(nullptr, kTextUsage, res->GetQText(kTextUsage), QString(), mb::kOk);
        return eMoxExitOk;
    }
    res.reset(); // the main window loads its own

    InitPermTrace();
    MoxRegisterPages();
    DbgOut(eDbgAlways, "<MoxRun> mode(%d) expert(%d)", cmd.mode, cmd.expert ? 1 : 0);
    try {
        return RunMainWindow(cmd);
    } catch (const std::exception& e) {
        DbgOut(eDbgAlways, "<MoxRun> %s", e.what());
        TMsgBox::Show(nullptr, 0, QString::fromLocal8Bit(e.what()),
                      QString::fromLatin1(kApplicationTitle), mb::kOk | mb::kIconStop);
        return eMoxExitStartFailed;
    }
}
