// TAssiMain: the window, its layout, showing and closing, the messages, the
// status lamp and the send to the box. The steps are in TAssiMainPages.cpp.

#include "TAssiMain.h"

#include "AssiTextIds.h"
#include "DbgOut.h"
#include "FocusRules.h"
#include "IMainTransfer.h"
#include "MessageReceiver.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TAssiSteps.h"
#include "TDialogHelp.h"
#include "TFormAssiHelp.h"
#include "TInvariant.h"
#include "TLogo.h"
#include "TMainControls.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TProgStatePanel.h"
#include "TSetComPortDlg.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

using mox::platform::MessageAddress;
using mox::platform::MessageReceiver;
using mox::platform::WindowMessage;

namespace {

TAssiMain* g_pAssiMain = nullptr; // the one wizard, GUI thread only

constexpr int kWidth = 740;
constexpr int kHeight = 500;
constexpr int kTopPanelHeight = 40;
constexpr int kMargin = 10;
constexpr int kControlPanelHeight = 40;
constexpr int kStateImageWidth = 35;
constexpr int kStateImageHeight = 20;
constexpr int kTimerMs = 1000;
// Images of the status lamp (TProgStatePanel).
constexpr int kImageNoMedium = 0;
constexpr int kImageIdle = 1;
constexpr int kImageDark = 5;

constexpr int kHelpWindow = 4000;
constexpr int kHelpCancel = 4001;
constexpr int kHelpBack = 4002;
constexpr int kHelpForward = 4003;
constexpr int kHelpFinish = 4004;

// The programming results the wizard hands on to its work page.
constexpr std::array<std::uint32_t, 13> kForwarded = {
    DEL_TLN_FAILED,    PROG_FAILED,      RUECKMELDUNG_OK, PROGMODEAKT_OK, TLNPROGAKT_OK,
    TLNPROGAKT_FAILED, TLNPROG_FEHLER,   TLNPROG_PAS_OK,  SEND_FAILED,    BSMPROG_AKT,
    KBA_COUNT,         KBA_COUNT_FAILED, BSMPROG_PAS};

bool IsForwarded(std::uint32_t id) {
    for (std::uint32_t f : kForwarded)
        if (f == id)
            return true;
    return false;
}

QPushButton* MakeButton(QWidget* parent, const char* name, int tag, int help, const char* text) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setProperty("Tag", tag);
    b->setProperty("HelpContext", help);
    return b;
}

QWidget* MakePanel(QWidget* parent, const char* name) {
    auto* w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

TAssiMain::TAssiMain(TMoxMain* owner, TAssiSeams seams)
    : QWidget(nullptr), m_pOwner(owner), m_Seams(std::move(seams)) {
    MOX_INVARIANT(m_pOwner);
    setObjectName(QStringLiteral("TAssiMain"));
    setProperty("Tag", atxt::kCaption);
    setProperty("HelpContext", kHelpWindow);
    setWindowTitle(QStringLiteral("konfigurationsassistent fuer das Halvox isdn"));
    m_Flags.Reset();
    m_pReceiver =
        new MessageReceiver([this](const WindowMessage& m) { return OnMessage(m); }, this);
    BuildWindow();
    g_pAssiMain = this;

    // OnCreate: the main window's language texts.
    resize(kWidth, kHeight);
    m_pRes = m_pOwner->GetRes();
    MOX_INVARIANT(m_pRes);
    ApplyTexts();
    TDialogHelp::InstallHelpKey(this);
}

TAssiMain::~TAssiMain() {
    m_pReceiver->Detach();
    FreeWork();
    FreeHelp();
    FreeOwnTransfer();
    if (g_pAssiMain == this)
        g_pAssiMain = nullptr;
}

TAssiMain* TAssiMain::Instance() {
    return g_pAssiMain;
}

void TAssiMain::BuildWindow() {
    setMinimumSize(kMinWidth, kMinHeight);
    m_pTopPanel = MakePanel(this, "m_pTopPanel");
    m_pLogo = new QLabel(m_pTopPanel);
    m_pLogo->setObjectName(QStringLiteral("m_pLogo"));
    m_pLogo->setPixmap(TLogo::Pixmap());
    m_pLogo->adjustSize();
    m_pBottomPanel = MakePanel(this, "m_pBottomPanel");
    m_pLeftPanel = MakePanel(this, "m_pLeftPanel");
    m_pRightPanel = MakePanel(this, "m_pRightPanel");

    m_pKonfigPanel = MakePanel(this, "m_pKonfigPanel");
    auto* konfigLayout = new QVBoxLayout(m_pKonfigPanel);
    konfigLayout->setContentsMargins(0, 0, 0, 0);
    m_pHelpPanel = MakePanel(this, "m_pHelpPanel");
    auto* helpLayout = new QVBoxLayout(m_pHelpPanel);
    helpLayout->setContentsMargins(0, 0, 0, 0);
    m_pHelpStaticText = new QLabel(m_pHelpPanel);
    m_pHelpStaticText->setObjectName(QStringLiteral("m_pHelpStaticText"));
    m_pHelpStaticText->setWordWrap(true);

    m_pControlPanel = MakePanel(this, "m_pControlPanel");
    m_pAktCaption = new QLabel(QStringLiteral("caption"), m_pControlPanel);
    m_pAktCaption->setObjectName(QStringLiteral("m_pAktCaption"));
    QFont bold = m_pAktCaption->font();
    bold.setBold(true);
    m_pAktCaption->setFont(bold);
    m_pStateImage = new QLabel(m_pControlPanel);
    m_pStateImage->setObjectName(QStringLiteral("m_pStateImage"));
    m_pStateImage->setFixedSize(kStateImageWidth, kStateImageHeight);
    m_pCancelBtn =
        MakeButton(m_pControlPanel, "m_pCancelBtn", atxt::kCancelBtn, kHelpCancel, "abbrechen");
    m_pBackBtn_NoHelp =
        MakeButton(m_pControlPanel, "m_pBackBtn_NoHelp", atxt::kBackBtn, kHelpBack, "<< zurueck");
    m_pForwardBtn_NoHelp = MakeButton(m_pControlPanel, "m_pForwardBtn_NoHelp", atxt::kForwardBtn,
                                      kHelpForward, "weiter >>");
    m_pForwardBtn_NoHelp->setDefault(true);
    m_pOkBtn =
        MakeButton(m_pControlPanel, "m_pOkBtn", atxt::kFinishBtn, kHelpFinish, "fertigstellen");
    // A focused button takes Return itself, as in a dialog; Return on any
    // other control goes forward (keyPressEvent).
    for (QPushButton* b : {m_pCancelBtn, m_pBackBtn_NoHelp, m_pForwardBtn_NoHelp, m_pOkBtn})
        b->setAutoDefault(true);
    auto* controls = new QHBoxLayout(m_pControlPanel);
    controls->setContentsMargins(0, 0, 0, 0);
    controls->addWidget(m_pStateImage);
    controls->addWidget(m_pAktCaption, 1);
    for (QPushButton* b : {m_pCancelBtn, m_pBackBtn_NoHelp, m_pForwardBtn_NoHelp, m_pOkBtn})
        controls->addWidget(b);

    connect(m_pCancelBtn, &QPushButton::clicked, this, &TAssiMain::OnCancel);
    connect(m_pBackBtn_NoHelp, &QPushButton::clicked, this, &TAssiMain::OnZurueck);
    connect(m_pForwardBtn_NoHelp, &QPushButton::clicked, this, &TAssiMain::OnVor);
    connect(m_pOkBtn, &QPushButton::clicked, this, &TAssiMain::OnFertig);

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(kTimerMs);
    connect(m_pTimer, &QTimer::timeout, this, &TAssiMain::OnTimer);
}

namespace {

// Whether the focused control does something of its own with Return: a
// multi-line edit, or an editor or list laid over a grid's cell.
bool UsesReturn(const QWidget* focus) {
    for (const QWidget* w = focus; w && !w->isWindow(); w = w->parentWidget()) {
        if (qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w))
            return true;
        if (const auto* view = qobject_cast<const QAbstractItemView*>(w->parentWidget()))
            if (w == view->viewport())
                return focus != view;
    }
    return false;
}

} // namespace

void TAssiMain::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    switch (plain ? event->key() : 0) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!UsesReturn(QApplication::focusWidget()) && m_pForwardBtn_NoHelp->isEnabled() &&
            m_pForwardBtn_NoHelp->isVisible()) {
            m_pForwardBtn_NoHelp->click();
            return;
        }
        break;
    case Qt::Key_Escape:
        // As the close box: asks first, sends nothing.
        close();
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TAssiMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutPanels();
}

void TAssiMain::LayoutPanels() {
    const int w = width();
    const int h = height();
    const int ctrlH = kControlPanelHeight;
    // Free height and width between the margins; never negative, so a
    // window squeezed below its minimum gets empty panels, not inverted ones.
    const int freeH = std::max(0, h - kMargin - kTopPanelHeight - ctrlH - 30);
    const int freeW = std::max(0, w - kMargin - kMargin - 15);

    m_pTopPanel->setGeometry(0, 0, w, kTopPanelHeight);
    m_pBottomPanel->setGeometry(0, h - kMargin, w, kMargin);
    m_pLeftPanel->setGeometry(0, kTopPanelHeight, kMargin, h - kTopPanelHeight - kMargin);
    m_pRightPanel->setGeometry(w - kMargin, kTopPanelHeight, kMargin,
                               h - kTopPanelHeight - kMargin);

    const int konfigW = 2 * freeW / 3;
    const int helpW = freeW / 3;
    m_pKonfigPanel->setGeometry(kMargin, kTopPanelHeight, konfigW, freeH);
    m_pHelpPanel->setGeometry(kMargin + konfigW + 5, kTopPanelHeight, helpW, freeH);
    m_pHelpStaticText->setGeometry(10, 10, std::max(0, helpW - 20), std::max(0, freeH - 20));
    m_pHelpStaticText->lower();
    m_pControlPanel->setGeometry(kMargin, kTopPanelHeight + freeH + 5, konfigW + helpW + 5, ctrlH);
    m_pLogo->move(m_pTopPanel->width() - 10 - m_pLogo->width(), 0);
}

void TAssiMain::ApplyTexts() {
    if (m_pRes)
        m_pRes->SetFormTexts(this);
    if (m_pRes && m_nState < eAssiStateCount && m_Work.widget)
        m_pAktCaption->setText(
            m_pRes->GetQText(TAssiSteps::Caption(m_nState, GetDoc()->GetTypeIT())));
}

// ---------------------------------------------------------------- parts

TMoxDocument* TAssiMain::GetDoc() const {
    TMoxDocument* doc = m_pOwner->GetDoc();
    MOX_INVARIANT(doc);
    return doc;
}

IMainTransfer* TAssiMain::GetDataTransfer() const {
    return m_pOwnTransfer ? m_pOwnTransfer.get() : m_pOwner->GetDataTransfer();
}

void TAssiMain::FreeOwnTransfer() {
    if (!m_pOwnTransfer)
        return;
    // The document must not keep a controller that is gone; the main
    // window hands over its own when it is shown.
    if (TMoxDocument* doc = m_pOwner->GetDoc();
        doc && doc->GetDataTransfer() == m_pOwnTransfer.get())
        doc->SetDataTransfer(nullptr);
    m_pOwnTransfer.reset();
}

MessageAddress TAssiMain::Address() const {
    return m_pReceiver->Address();
}

std::intptr_t TAssiMain::Perform(const WindowMessage& msg) {
    return m_pReceiver->Perform(msg);
}

std::string TAssiMain::GetFileName() const {
    const QString text = m_pRes ? m_pRes->GetQText(atxt::kFileName) : QString();
    QString name = text.isEmpty() ? QStringLiteral("assistent.ktx") : text;
    if (QFileInfo(name).isRelative()) {
        QString dir = QString::fromStdString(m_Seams.fileDir);
        if (dir.isEmpty())
            dir = QFileInfo(
                      QString::fromStdString(mox::platform::SettingsStore::Instance().FilePath()))
                      .absolutePath();
        name = QDir(dir).filePath(name);
    }
    return QFile::encodeName(name).toStdString();
}

TAssiDevices TAssiMain::Devices() const {
    TAssiDevices d;
    if (TMoxDocument* doc = m_pOwner->GetDoc()) {
        d.typeIT = doc->GetTypeIT();
        d.typeKMR = doc->GetTypeKMR();
        d.typeRAK = doc->GetTypeRAK();
        d.typeBSM = doc->GetTypeBSM();
    }
    d.mode = m_pOwner->GetMode();
    return d;
}

bool TAssiMain::GetFlag(std::uint16_t bit) const {
    return m_Flags.Get(bit, Devices());
}

void TAssiMain::SetFlag(std::uint16_t bit, bool on) {
    m_Flags.Set(bit, on);
}

bool TAssiMain::GetTransfer() const {
    DbgOut(eDbgTransfer, "<TAssiMain::GetTransfer> -> m_bTransfer(%d)", m_bTransfer ? 1 : 0);
    return m_bTransfer;
}

void TAssiMain::SetTransfer(bool transfer) {
    m_bTransfer = transfer;
    DbgOut(eDbgTransfer, "<TAssiMain::SetTransfer> -> m_bTransfer = %d", m_bTransfer ? 1 : 0);
}

int TAssiMain::TakeModalResult() {
    const int result = m_nModalResult;
    m_nModalResult = 0;
    return result;
}

int TAssiMain::Msg(int textId, unsigned flags) {
    const QString text = m_pRes ? m_pRes->GetQText(textId) : QString();
    const QString caption = m_pRes ? m_pRes->GetQText(atxt::kCaption) : QString();
    return TMsgBox::Show(this, textId, text, caption, flags);
}

QWidget* TAssiMain::GetHelpPage() const {
    return m_pHelpPage;
}

// ---------------------------------------------------------------- show and close

void TAssiMain::ShowAssistent() {
    focusrules::CentreOnScreen(this);
    show();
    if (!GetDataTransfer() && m_Seams.createTransfer) {
        DbgOut(eDbgTransfer, "AssiMain::OnShow -> new TDataTransfer");
        m_pOwnTransfer = m_Seams.createTransfer(*this);
        if (m_pOwnTransfer)
            m_pOwnTransfer->UpdatePort();
    }
    GetDoc()->SetDataTransfer(GetDataTransfer());
    m_nModalResult = 0;
    SetTransfer(false);
    m_nState = eAssiWillkommen;
    ShowPage();
    m_Flags.Reset();
    m_bBlink = false;
    m_pTimer->start();
    OnTimer();
}

void TAssiMain::closeEvent(QCloseEvent* event) {
    // OnCloseQuery: the window's own close box asks first.
    if (m_nModalResult == 0 &&
        Msg(atxt::kCancelQuestion, mb::kYesNoCancel | mb::kIconQuestion) != mb::kIdYes) {
        event->ignore();
        return;
    }
    // OnClose
    DbgOut(eDbgView, "<TAssiMain::OnClose>");
    m_pTimer->stop();
    // The end page sends on its close: only when the wizard was finished.
    // The close box is a cancel and must not send what the user declined.
    if (m_nModalResult == 1)
        CloseWork();
    FreeWork();
    FreeHelp();
    FreeOwnTransfer();
    event->accept();
    hide();
    m_pOwner->show();
    QApplication::setQuitOnLastWindowClosed(true);
}

void TAssiMain::OnFertig() {
    const bool agreed = WorkCloseQuery();
    SendToWork(WindowMessage{WM_SAVE, -1, -1, {}});
    if (GetTransfer() && m_nState != eAssiEnde) {
        SendToBox();
        // The box has had its chance at what was entered: a finish tried
        // again after a failed write, or a cancel then, must not send it
        // once more. A live page shown again asks for a send again.
        SetTransfer(false);
    }
    if (!agreed) {
        m_nModalResult = 2;
        close();
        return;
    }
    const std::string name = GetFileName();
    if (!GetDoc()->WriteDocument(name.c_str(), false)) {
        // Whatever an earlier run left in the file is not what was entered
        // now: the main window must not open it. The wizard stays, with
        // everything entered, to try again or to cancel.
        Msg(atxt::kSaveFailed, mb::kOk | mb::kIconStop);
        m_nModalResult = 0;
        return;
    }
    m_nModalResult = 1;
    close();
}

void TAssiMain::OnCancel() {
    if (Msg(atxt::kCancelQuestion, mb::kYesNoCancel | mb::kIconQuestion) != mb::kIdYes)
        return;
    m_nModalResult = 2;
    if (GetTransfer())
        SendToBox();
    close();
}

// ---------------------------------------------------------------- box

bool TAssiMain::RunPortDialog() {
    const bool ok = m_Seams.runPortDialog ? m_Seams.runPortDialog(this, m_pRes)
                                          : TSetComPortDlg::Run(this, false, m_pRes);
    // A new setting takes effect before the next exchange.
    if (ok)
        if (IMainTransfer* transfer = GetDataTransfer())
            transfer->UpdatePort();
    return ok;
}

bool TAssiMain::SendToBox() {
    if (!RunPortDialog())
        return false;
    if (GetComPort() == ePortNone) {
        Msg(atxt::kNoLink, mb::kOk | mb::kIconInformation);
        return false;
    }
    if (!GetDoc()->StartWriteAnlDataToComPort(true)) {
        Msg(atxt::kSendFailed, mb::kOk | mb::kIconStop);
        return false;
    }
    return true;
}

bool TAssiMain::DeviceTypeQuestion() {
    if (Msg(atxt::kDeviceTypeQuestion, mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
        return false;
    return SendToBox();
}

// ---------------------------------------------------------------- messages

void TAssiMain::PostToFrame(std::uint32_t id, std::intptr_t wParam, std::intptr_t lParam) {
    Address().Post(id, wParam, lParam);
}

std::intptr_t TAssiMain::OnMessage(const WindowMessage& msg) {
    switch (msg.id) {
    case WM_NEED_TRANSFER_DATA:
        DbgOut(eDbgTransfer, "<TAssiMain::OnNeedTransferData>");
        // The document passes over empty packages until one with data (or
        // the last, empty one) is with the controller: a fixed number of
        // tries could leave the controller without its next package.
        GetDoc()->OnNeedTransferData();
        return 0;
    case WM_MORE_TRANSFER_DATA:
        DbgOut(eDbgTransfer, "<TAssiMain::OnMoreTransferData>");
        GetDoc()->MoreAnlDataToComPort();
        return 0;
    case WM_ASSI_READ_FAILED:
    case WM_ASSI_READ_OK:
        OnGeraeteRead();
        return 0;
    default:
        break;
    }
    if (IsProgrammingResult(msg.id))
        ForwardMessage(msg);
    return 0;
}

void TAssiMain::ForwardMessage(const WindowMessage& msg) {
    if (!IsForwarded(msg.id) || !m_Work.widget || !m_Work.widget->isVisible())
        return;
    SendToWork(msg);
}

void TAssiMain::OnGeraeteRead() {
    // Only the read page reports; a report that comes late (the wizard has
    // moved on or closed meanwhile) changes nothing.
    if (!isVisible() || m_nState != eAssiGeraeteLesen)
        return;
    m_nLastType = GetDoc()->GetTypeIT();
    m_nState = eAssiGeraeteSel;
    ShowPage();
}

// ---------------------------------------------------------------- status lamp

void TAssiMain::OnTimer() {
    TMoxDocument* doc = m_pOwner->GetDoc();
    int image = kImageDark;
    if (doc && doc->GetTypeIT() == 2) {
        const IMainTransfer* transfer = GetDataTransfer();
        const int index = TMainControls::ProgState(GetComPort(), transfer ? transfer->GetProgFlags()
                                                                          : TProgFlags{});
        if (index != kImageNoMedium && index != kImageIdle && m_bBlink) {
            image = kImageDark;
            m_bBlink = false;
        } else {
            image = index;
            m_bBlink = true;
        }
    }
    m_nStateImage = image;
    m_pStateImage->setPixmap(TProgStatePanel::ImagePixmap(image));
}
