// TMoxMain: construction, destruction, showing and closing, language texts,
// UpdateControls and the status bar. The commands, the tree and the message
// routing live in TMoxMainCommands.cpp, TMoxMainTree.cpp and
// TMoxMainMessages.cpp.

#include "TMoxMain.h"

#include "ui_TMoxMain.h"

#include "DbgOut.h"
#include "FocusRules.h"
#include "HelpContext.h"
#include "IAssistent.h"
#include "IMainTransfer.h"
#include "MainTextIds.h"
#include "MessageReceiver.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TDataView.h"
#include "TFocusStyle.h"
#include "THelpWindow.h"
#include "TInvariant.h"
#include "TMainMessageBox.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TProgStatePanel.h"
#include "TQuell32Host.h"
#include "TRecentFileList.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolButton>

using mox::platform::MessageReceiver;
using mox::platform::WindowMessage;

namespace {

TMoxMain* g_pMain = nullptr; // the program-wide main window, GUI thread only

constexpr int kStatusTimerMs = 1000;
constexpr int kReadCapiDelayMs = 500;
// The tree reports a selection this long after it changed, so a rebuild
// followed by the selection of its first node reaches the page switch once.
constexpr int kTreeChangeDelayMs = 50;

// Status-bar panel widths.
constexpr int kPanelStateWidth = 40;
constexpr int kPanelTimeWidth = 65;
constexpr int kPanelDateWidth = 75;
constexpr int kPanelModifiedWidth = 25;

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}

} // namespace

TMoxMain* TMoxMain::Instance() {
    return g_pMain;
}

TMoxMain::TMoxMain(TMoxMainSeams seams, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TMoxMain>()), m_Seams(std::move(seams)) {
    // Whatever has the focus shows it, in this window and every later one.
    TFocusStyle::Install();
    ui->setupUi(this);
    m_pReceiver =
        new MessageReceiver([this](const WindowMessage& m) { return OnMessage(m); }, this);

    // The bus control is one of the window's components: without it there
    // is no main window (ComponentError leaves the constructor).
    if (m_Seams.hostQuell32) {
        m_pQuell32 = std::make_unique<TQuell32Host>(this);
        m_pQuell32->SetTeleReceivedHandler([this] {
            if (m_pDataTransfer)
                m_pDataTransfer->OnTeleReceived();
        });
    }

    m_pRes = std::make_unique<TkResourcen>();

    m_pHelp = new THelpWindow(this);
    UpdateHelpFile();

    SetupActions();
    SetupStatusBar();
    SetupTree();

    m_pRecentFiles = new TRecentFileList(ui->m_pFileMenu, kPermRecentFiles, Address(), this);
    m_pRecentFiles->LoadFromSettings();

    m_pDocMessageBox = std::make_unique<TMainMessageBox>(this);
    m_pDoc = std::make_unique<TMoxDocument>(this, m_pRes.get(), nullptr);
    m_pDoc->SetMessageBox(m_pDocMessageBox.get());
    SetViewHost(this);
    g_pMain = this;

    ApplyTexts();
    BuildKonfigTree();
    SetStatusNoFile();
    UpdateControls();
    const auto dbgOut = mox::platform::SettingsStore::Instance().GetDword(kPermKey, kPermDbgOut);
    ui->m_pMenuTrace->menuAction()->setVisible(dbgOut && *dbgOut != 0);
    UpdateResetPopup();
    m_bExpandedAll = false;
    // The form's size is more than a small screen holds.
    focusrules::FitOnScreen(this);
}

TMoxMain::~TMoxMain() {
    m_pStatusTimer->stop();
    m_pReadCAPITimer->stop();
    m_pTreeChangeTimer->stop();
    // The page stores itself while the document is still there.
    if (m_pAktView) {
        TDataView* view = m_pAktView;
        m_pAktView = nullptr;
        TDataView::Destroy(view);
    }
    m_pReceiver->Detach();
    if (m_pDoc)
        m_pDoc->SetDataTransfer(nullptr);
    m_pDoc.reset();
    if (GetViewHost() == this)
        SetViewHost(nullptr);
    ui->m_pKonfigTreeView->clear();
    m_NodeHolders.clear();
    m_pRecentFiles->SaveToSettings();
    mox::platform::SettingsStore::Instance().Sync();
    // The controller's bus port calls the bus control, so it goes first.
    m_pDataTransfer.reset();
    m_pQuell32.reset();
    m_pRes.reset();
    if (g_pMain == this)
        g_pMain = nullptr;
}

void TMoxMain::SetupActions() {
    Ui::TMoxMain& u = *ui;
    u.m_pNewToolButton->setIcon(ThemeIcon("document-new", QStyle::SP_FileIcon));
    u.m_pOpenToolButton->setIcon(ThemeIcon("document-open", QStyle::SP_DialogOpenButton));
    u.m_pSaveToolButton->setIcon(ThemeIcon("document-save", QStyle::SP_DialogSaveButton));
    u.m_pPrintToolsButton->setIcon(ThemeIcon("document-print", QStyle::SP_FileDialogDetailedView));
    u.m_pDeleteToolButton->setIcon(ThemeIcon("edit-delete", QStyle::SP_TrashIcon));
    u.m_pDialToolButton->setIcon(ThemeIcon("call-start", QStyle::SP_MediaPlay));
    u.m_pDiscToolButton->setIcon(ThemeIcon("call-stop", QStyle::SP_MediaStop));
    u.m_pReadToolButton->setIcon(ThemeIcon("go-down", QStyle::SP_ArrowDown));
    u.m_pWriteToolButton->setIcon(ThemeIcon("go-up", QStyle::SP_ArrowUp));
    u.m_pRuecksetzenToolButton->setIcon(ThemeIcon("view-refresh", QStyle::SP_BrowserReload));

    // The reset drop-down of the tool bar.
    m_pResetPopup = new QMenu(this);
    m_pResetPopup->setObjectName(QStringLiteral("m_pResetPopup"));
    m_pResetPopup->setProperty("Tag", -1);
    const auto popupItem = [this](const char* name, const char* text, int tag) {
        auto* a = new QAction(QString::fromUtf8(text), this);
        a->setObjectName(QString::fromLatin1(name));
        a->setProperty("Tag", tag);
        m_pResetPopup->addAction(a);
        return a;
    };
    m_pRuecksetzenDatenMenuItem = popupItem("m_pRuecksetzenDatenMenuItem", "daten", 28);
    m_pRuecksetzenKTXMenuItem = popupItem("m_pRuecksetzenKTXMenuItem", "ktx", 29);
    m_pRuecksetzenKTXDefaultMenuItem = popupItem("m_pRuecksetzenKTXDefaultMenuItem", "default", 39);
    m_pRuecksetzenKTXDefaultMenuItem->setVisible(false);
    m_pRuecksetzenKTXDefaultMenuItem->setEnabled(false);
    u.m_pRuecksetzenToolButton->setMenu(m_pResetPopup);
    if (auto* button =
            qobject_cast<QToolButton*>(u.m_pToolBar->widgetForAction(u.m_pRuecksetzenToolButton)))
        button->setPopupMode(QToolButton::InstantPopup);
    connect(m_pResetPopup, &QMenu::aboutToShow, this, &TMoxMain::UpdateResetPopup);

    connect(u.m_pNewMenuItem, &QAction::triggered, this, &TMoxMain::OnNewDocument);
    connect(u.m_pNewToolButton, &QAction::triggered, this, &TMoxMain::OnNewDocument);
    connect(u.m_pOpenMenuItem, &QAction::triggered, this, &TMoxMain::OnOpenDocument);
    connect(u.m_pOpenToolButton, &QAction::triggered, this, &TMoxMain::OnOpenDocument);
    connect(u.m_pSaveMenuItem, &QAction::triggered, this, [this] { OnSaveDocument(); });
    connect(u.m_pSaveToolButton, &QAction::triggered, this, [this] { OnSaveDocument(); });
    connect(u.m_pSaveAsMenuItem, &QAction::triggered, this, [this] { OnSaveAsDocument(); });
    connect(u.m_pRestoreMenuItem, &QAction::triggered, this, &TMoxMain::OnResetPage);
    connect(m_pRuecksetzenDatenMenuItem, &QAction::triggered, this, &TMoxMain::OnResetPage);
    connect(m_pRuecksetzenKTXMenuItem, &QAction::triggered, this, &TMoxMain::OnRestartBox);
    connect(m_pRuecksetzenKTXDefaultMenuItem, &QAction::triggered, this, &TMoxMain::OnLoadDefaults);
    connect(u.m_pDeleteToolButton, &QAction::triggered, this,
            [] { DbgOut(eDbgView, "<TMoxMain::OnDelete>"); });
    connect(u.Beenden, &QAction::triggered, this, &QWidget::close);
    connect(u.m_pAuslesenMenuItem, &QAction::triggered, this, &TMoxMain::OnReadBox);
    connect(u.m_pReadToolButton, &QAction::triggered, this, &TMoxMain::OnReadBox);
    connect(u.m_pUebertragenMenuItem, &QAction::triggered, this, &TMoxMain::OnWriteBox);
    connect(u.m_pWriteToolButton, &QAction::triggered, this, &TMoxMain::OnWriteBox);
    connect(u.programmierinterface1, &QAction::triggered, this, &TMoxMain::OnPortDialog);
    connect(u.m_pConnectMenuItem, &QAction::triggered, this, &TMoxMain::OnConnect);
    connect(u.m_pDialToolButton, &QAction::triggered, this, &TMoxMain::OnConnect);
    connect(u.m_pDisconnectMenuItem, &QAction::triggered, this, &TMoxMain::OnDisconnect);
    connect(u.m_pDiscToolButton, &QAction::triggered, this, &TMoxMain::OnDisconnect);
    connect(u.Inhalt1, &QAction::triggered, this, [this] {
        // Issued twice, as the help menu always did: the first call opens
        // the window, the second brings the contents to the front.
        OnHelp(3, 0);
        OnHelp(3, 0);
    });
    connect(u.Suchen1, &QAction::triggered, this, [this] { OnHelp(261, 0); });
    connect(u.Hilfebenutzen1, &QAction::triggered, this, [this] { OnHelp(4, 0); });
    connect(u.assitennt1, &QAction::triggered, this, &TMoxMain::OnWizard);
    connect(u.Info1, &QAction::triggered, this, &TMoxMain::OnAbout);
    connect(u.web1, &QAction::triggered, this, &TMoxMain::OnWebPage);

    connect(u.m_pDruckMenuItem, &QAction::triggered, this, &TMoxMain::OnPrint);
    connect(u.m_pPrintToolsButton, &QAction::triggered, this, &TMoxMain::OnPrint);
    connect(u.druckereinstellungen1, &QAction::triggered, this, &TMoxMain::OnPrinterSetup);
    u.m_pPrintToolsButton->setEnabled(bool(m_Seams.runPrintDialog));
    u.m_pDruckMenuItem->setEnabled(bool(m_Seams.runPrintDialog));
    u.druckereinstellungen1->setEnabled(bool(m_Seams.runPrinterSetup));
    // The dialogs that later parts bring.
    u.programmierinterface1->setEnabled(bool(m_Seams.runPortDialog));

    // Trace menu: one item per channel 0..6, then the record dumps.
    const std::array<QAction*, 7> traceItems = {
        u.m_pTraceView,    u.m_pTraceDoc,  u.m_pTraceTransfer, u.m_pTraceTDump,
        u.m_pTraceTlnProg, u.m_pTracePort, u.m_pTraceCapi};
    for (int channel = 0; channel < static_cast<int>(traceItems.size()); ++channel)
        connect(traceItems[static_cast<std::size_t>(channel)], &QAction::toggled, this,
                [channel](bool on) { SetPermTrace(channel, on); });
    connect(ui->m_pMenuTrace, &QMenu::aboutToShow, this, [this] {
        const bool on = m_pDoc && ui->m_pTraceDoc->isChecked();
        ui->m_pTraceDump->setEnabled(on);
        ui->m_pTraceSizeof->setEnabled(on);
        ui->m_pTraceTagged->setEnabled(on);
    });
    connect(u.m_pTraceDump, &QAction::triggered, this, [this] {
        if (m_pDoc)
            m_pDoc->DumpData();
    });
    connect(u.m_pTraceSizeof, &QAction::triggered, this, [this] {
        if (m_pDoc)
            m_pDoc->SizeofData();
    });
    connect(u.m_pTraceTagged, &QAction::triggered, this, [this] {
        if (m_pDoc)
            m_pDoc->TaggedData();
    });

    // Help on the focused control: its own context or its nearest parent's
    // (a page control, the page, the tree, the window); the tree's context
    // then stands for the page shown (OnHelp).
    auto* helpKey = new QAction(this);
    helpKey->setObjectName(QStringLiteral("m_pHelpKey"));
    helpKey->setShortcut(QKeySequence::HelpContents);
    helpKey->setShortcutContext(Qt::WindowShortcut);
    addAction(helpKey);
    connect(helpKey, &QAction::triggered, this, [this] {
        QWidget* focus = QApplication::focusWidget();
        const bool inWindow = focus && (focus == this || isAncestorOf(focus));
        OnHelp(1, HelpContextOf(inWindow ? focus : this));
    });
}

void TMoxMain::SetupStatusBar() {
    QStatusBar* bar = ui->m_pStatusBar;
    m_pProgState = new TProgStatePanel(bar);
    m_pProgState->setFixedWidth(kPanelStateWidth);
    const auto panel = [bar](const char* name, int width) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(name));
        if (width > 0)
            label->setFixedWidth(width);
        return label;
    };
    m_pStatusText = panel("m_pStatusText", 0);
    m_pStatusTime = panel("m_pStatusTime", kPanelTimeWidth);
    m_pStatusDate = panel("m_pStatusDate", kPanelDateWidth);
    m_pStatusModified = panel("m_pStatusModified", kPanelModifiedWidth);
    m_pStatusModified->setAlignment(Qt::AlignCenter);
    // Panel 1 takes the width the others leave.
    bar->addWidget(m_pProgState);
    bar->addWidget(m_pStatusText, 1);
    bar->addPermanentWidget(m_pStatusTime);
    bar->addPermanentWidget(m_pStatusDate);
    bar->addPermanentWidget(m_pStatusModified);

    m_pStatusTimer = new QTimer(this);
    m_pStatusTimer->setObjectName(QStringLiteral("m_pStatusTimer"));
    m_pStatusTimer->setInterval(kStatusTimerMs);
    connect(m_pStatusTimer, &QTimer::timeout, this, &TMoxMain::OnStatusTimer);
    m_pStatusTimer->start();

    m_pReadCAPITimer = new QTimer(this);
    m_pReadCAPITimer->setObjectName(QStringLiteral("m_pReadCAPITimer"));
    m_pReadCAPITimer->setInterval(kReadCapiDelayMs);
    m_pReadCAPITimer->setSingleShot(true);
    connect(m_pReadCAPITimer, &QTimer::timeout, this, &TMoxMain::OnReadCapiTimer);

    m_pTreeChangeTimer = new QTimer(this);
    m_pTreeChangeTimer->setInterval(kTreeChangeDelayMs);
    m_pTreeChangeTimer->setSingleShot(true);
    connect(m_pTreeChangeTimer, &QTimer::timeout, this, &TMoxMain::OnTreeViewChange);

    OnStatusTimer();
}

void TMoxMain::SetMode(int mode) {
    m_nMode = mode;
    // The help file follows the mode as soon as the start-up hands it over.
    UpdateHelpFile();
    UpdateResetPopup();
}

void TMoxMain::SetExpertFlag(bool expert) {
    m_bExpert = expert;
    UpdateResetPopup();
}

void TMoxMain::SetForwardTarget(eForwardSlot slot, QWidget* dialog,
                                mox::platform::MessageAddress address) {
    if (slot < 0 || slot >= eFwdSlots)
        return;
    m_Forward[static_cast<std::size_t>(slot)] = ForwardTarget{dialog, std::move(address)};
}

IDocMessageBox* TMoxMain::GetMessageBox() const {
    return m_pDocMessageBox.get();
}

std::string TMoxMain::GetHelpFile() const {
    return m_HelpFile;
}

void TMoxMain::UpdateHelpFile() {
    m_HelpFile = THelpWindow::HelpFilePath(GetPermSprache(), m_nMode);
    m_pHelp->SetHelpFile(m_HelpFile);
}

QString TMoxMain::Text(int id) const {
    return m_pRes ? m_pRes->GetQText(id) : QString();
}

void TMoxMain::ApplyTexts() {
    if (m_pRes)
        m_pRes->SetFormTexts(this);
    // The reset popup is not a child of the menu bar: it gets its texts here.
    for (QAction* a : {m_pRuecksetzenDatenMenuItem, m_pRuecksetzenKTXMenuItem,
                       m_pRuecksetzenKTXDefaultMenuItem}) {
        const int tag = a->property("Tag").toInt();
        if (m_pRes && m_pRes->GetText(tag))
            a->setText(m_pRes->GetQText(tag));
    }
}

void TMoxMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        OnShowFirst();
}

void TMoxMain::OnShowFirst() {
    if (!m_pDataTransfer && m_Seams.createTransfer) {
        m_pDataTransfer = m_Seams.createTransfer(*this);
        if (m_pDataTransfer)
            m_pDataTransfer->UpdatePort();
    }
    MOX_INVARIANT(m_pDoc);
    m_pDoc->SetDataTransfer(m_pDataTransfer.get());
    BuildKonfigTree();
    SetStatusNoFile();
    UpdateControls();

    if (m_pAssistent && m_pAssistent->TakeModalResult() == 1) {
        const std::string name = m_pAssistent->GetFileName();
        if (m_pDoc->OpenDocument(name.c_str())) {
            m_bDefaultsLoaded = false;
            SetStatusFile(QFile::decodeName(QByteArray::fromStdString(name)));
            AddRecent(name);
        } else {
            ShowOpenFailure(name);
            SetStatusNoFile();
        }
        m_pDoc->SetFresh(false);
        m_nKind = 0;
        BuildKonfigTree();
        UpdateControls();
    }
}

void TMoxMain::closeEvent(QCloseEvent* event) {
    if (!QuerySave()) {
        event->ignore();
        return;
    }
    m_pHelp->Quit();
    event->accept();
}

void TMoxMain::RefreshLanguage() {
    // The texts first: a language whose file is refused is given back, and
    // the help follows the language the program really speaks.
    const bool reloaded = m_pRes && m_pRes->Reload();
    UpdateHelpFile();
    if (!reloaded)
        return;
    ApplyTexts();
    if (m_pAktView && m_pRes)
        m_pRes->SetFormTexts(m_pAktView);
    if (m_pAssistent)
        m_pAssistent->ApplyTexts();
    if (m_pDoc) {
        SetStatusNoFile();
        RequestTreeRebuild();
    }
}

void TMoxMain::SetTraceCheck(int channel, bool on) {
    const std::array<QAction*, 7> items = {
        ui->m_pTraceView,    ui->m_pTraceDoc,  ui->m_pTraceTransfer, ui->m_pTraceTDump,
        ui->m_pTraceTlnProg, ui->m_pTracePort, ui->m_pTraceCapi};
    if (channel < 0 || channel >= static_cast<int>(items.size()))
        return;
    QAction* item = items[static_cast<std::size_t>(channel)];
    const QSignalBlocker block(item); // reading the setting must not write it back
    item->setChecked(on);
}

// ---------------------------------------------------------------- controls

void TMoxMain::UpdateControls() {
    TMainControlInput in;
    in.portSetting = GetComPort();
    in.haveTransfer = m_pDataTransfer != nullptr;
    in.linkUsable = m_pDataTransfer && m_pDataTransfer->IsConnected();
    in.isdnConnected = m_bConnected;
    in.dialling = m_bDialing;
    in.docModified = m_pDoc && m_pDoc->IsModified();
    in.nodeKind = m_nKind;
    in.mode = m_nMode;
    in.expert = m_bExpert;
    in.textCaption =
        m_pRes && m_pRes->GetText(mtxt::kCaption) ? m_pRes->GetText(mtxt::kCaption) : "";
    in.textIsdn =
        m_pRes && m_pRes->GetText(mtxt::kTitleIsdn) ? m_pRes->GetText(mtxt::kTitleIsdn) : "";
    GetPermMSNClient(0, in.client0);
    const TMainControlState s = TMainControls::Compute(in);

    Ui::TMoxMain& u = *ui;
    setWindowTitle(MoxToQString(s.title));
    m_pRuecksetzenDatenMenuItem->setEnabled(s.resetPageEnabled);
    u.m_pDeleteToolButton->setVisible(s.deleteVisible);
    u.m_pConnectMenuItem->setEnabled(s.connectEnabled);
    u.m_pDisconnectMenuItem->setEnabled(s.disconnectEnabled);
    u.m_pDialToolButton->setVisible(s.dialVisible);
    u.m_pDiscToolButton->setVisible(s.discVisible);
    u.m_pNewToolButton->setVisible(s.newVisible);
    u.m_pOpenToolButton->setVisible(s.openVisible);
    u.m_pSaveToolButton->setEnabled(s.saveEnabled);
    u.m_pNewMenuItem->setEnabled(s.newMenuEnabled);
    u.m_pSaveMenuItem->setEnabled(s.saveEnabled);
    u.m_pRestoreMenuItem->setEnabled(s.resetPageEnabled);
    if (s.transferEnabled) {
        const bool on = *s.transferEnabled;
        u.m_pReadToolButton->setEnabled(on);
        u.m_pWriteToolButton->setEnabled(on);
        u.m_pAuslesenMenuItem->setEnabled(on);
        u.m_pUebertragenMenuItem->setEnabled(on);
        m_pRuecksetzenKTXMenuItem->setEnabled(on);
    }
    // Without the connect dialog there is nothing to dial with.
    if (!m_Seams.runConnectDialog) {
        u.m_pConnectMenuItem->setEnabled(false);
        u.m_pDialToolButton->setVisible(false);
    }
    UpdateResetPopup();
    m_pStatusModified->setText(in.docModified ? QStringLiteral("*") : QStringLiteral(" "));
}

void TMoxMain::UpdateResetPopup() {
    if (!m_pRuecksetzenKTXDefaultMenuItem)
        return;
    const bool shown = m_nMode == 2 && m_bExpert && m_pDataTransfer;
    m_pRuecksetzenKTXDefaultMenuItem->setVisible(shown);
    m_pRuecksetzenKTXDefaultMenuItem->setEnabled(shown && m_pDataTransfer->IsConnected());
}

void TMoxMain::OnConnectionChanged() {
    UpdateResetPopup();
}

// ---------------------------------------------------------------- status bar

void TMoxMain::OnStatusTimer() {
    const QLocale locale;
    m_pStatusTime->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    m_pStatusDate->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    m_pStatusModified->setText(m_pDoc && m_pDoc->IsModified() ? QStringLiteral("*")
                                                              : QStringLiteral(" "));
    m_bBlink = !m_bBlink;
    UpdateProgState();
}

void TMoxMain::UpdateProgState() {
    const TProgFlags flags = m_pDataTransfer ? m_pDataTransfer->GetProgFlags() : TProgFlags{};
    const int state = TMainControls::ProgState(GetComPort(), flags);
    const int typeIT = m_pDoc ? m_pDoc->GetTypeIT() : 0;
    m_pProgState->SetImage(TMainControls::ProgStateImage(state, typeIT, m_bBlink));
}

QString TMoxMain::GetStatusText() const {
    return m_pStatusText->text();
}

void TMoxMain::SetStatusFile(const QString& name) {
    m_pStatusText->setText(Text(mtxt::kStatusFile) + QStringLiteral(" < ") + name +
                           QStringLiteral(" >"));
}

void TMoxMain::SetStatusNoFile() {
    if (m_bDefaultsLoaded) {
        SetStatusFile(QStringLiteral("default values"));
        return;
    }
    const char* name = m_pDoc ? m_pDoc->GetFileName() : nullptr;
    if (!m_pDoc || m_pDoc->IsUnnamed() || !name)
        SetStatusFile(Text(mtxt::kUnnamed));
    else
        SetStatusFile(QFile::decodeName(QByteArray(name)));
}

void TMoxMain::AddRecent(const std::string& name) {
    m_pRecentFiles->Add(name);
}

// ---------------------------------------------------------------- messages

mox::platform::MessageAddress TMoxMain::Address() const {
    return m_pReceiver->Address();
}

std::intptr_t TMoxMain::Perform(std::uint32_t id, std::intptr_t wParam, std::intptr_t lParam) {
    return m_pReceiver->Perform(id, wParam, lParam);
}

std::intptr_t TMoxMain::Perform(const WindowMessage& msg) {
    return m_pReceiver->Perform(msg);
}

int TMoxMain::Msg(int textId, unsigned flags, int captionId) {
    return MsgText(textId, Text(textId), flags, captionId);
}

int TMoxMain::MsgText(int textId, const QString& text, unsigned flags, int captionId) {
    return TMsgBox::Show(this, textId, text, captionId ? Text(captionId) : QString(), flags);
}
