#include "TDataTransfer.h"

#include "ui_TDataTransfer.h"

#include "CapiPortMessage.h"
#include "ComPortDefs.h"
#include "DbgOut.h"
#include "MessageReceiver.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "SteadyTransferClock.h"
#include "TCapiPortOwnerMessages.h"
#include "TCapiTransferPort.h"
#include "TComPortOwnerMessages.h"
#include "TFileDialog.h"
#include "TLumenPortOwnerMessages.h"
#include "TPermTransferSettings.h"
#include "TQtDocMessageBox.h"
#include "TTkComPort.h"
#include "TTkLumenPort.h"
#include "TTransferExtension.h"
#include "TTransferOwnerMessages.h"
#include "TTransferPortFactory.h"
#include "TextSubst.h"
#include "TkResourcen.h"
#include "TransferDialogTextIds.h"
#include "WindowMessages.h"

#include <QAbstractEventDispatcher>
#include <QBoxLayout>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <any>
#include <climits>
#include <functional>

using mox::platform::MessageAddress;
using mox::platform::MessageReceiver;
using mox::platform::WindowMessage;

namespace {

// Language texts break lines with CR; Qt wants a line feed.
QString ToDisplay(const std::string& cp1252) {
    QString s = MoxToQString(cp1252);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

} // namespace

TDataTransfer::TDataTransfer(QWidget* owner, TkResourcen* pRes, TDataTransferSeams seams)
    : QDialog(owner), ui(std::make_unique<Ui::TDataTransfer>()), m_pRes(pRes) {
    ui->setupUi(this);
    // A fixed frame without system buttons: the exchange ends by its result
    // or the cancel button, and stays above the window that started it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setWindowTitle(QString());

    m_pOwnClock = seams.clock ? nullptr : std::make_unique<SteadyTransferClock>();
    m_pClock = seams.clock ? seams.clock : m_pOwnClock.get();
    m_pOwnSettings = seams.settings ? nullptr : std::make_unique<TPermTransferSettings>();
    m_pSettings = seams.settings ? seams.settings : m_pOwnSettings.get();

    m_pReceiver =
        new MessageReceiver([this](const WindowMessage& m) { return OnMessage(m); }, this);
    m_pLumenOwner = std::make_unique<TLumenPortOwnerMessages>(
        m_pReceiver->Address(), [this](std::uint16_t result) { QueueOpenError(result); });
    m_pComOwner = std::make_unique<TComPortOwnerMessages>(m_pReceiver->Address(), [this] {
        QueueMessage(kComOpenErrorText, kComOpenErrorCaption, eDocMsgIconStop);
    });
    ITransferPortFactory* ports = seams.ports;
    if (!ports) {
        m_pOwnPorts = std::make_unique<TTransferPortFactory>(*m_pClock);
        m_pOwnPorts->SetLumenOwner(m_pLumenOwner.get());
        m_pOwnPorts->SetComPortCreator([this](int setting) -> std::unique_ptr<ITransferPort> {
            return std::make_unique<TTkComPort>(*m_pComOwner, setting);
        });
        m_pOwnPorts->SetCapiPortCreator([this](int) -> std::unique_ptr<ITransferPort> {
            auto owner = std::make_unique<TCapiPortOwnerMessages>(
                m_pReceiver->Address(), ++m_nCapiPortNumber,
                [this](CapiUnavailable why, const std::string& library, unsigned info) {
                    QueueCapiUnavailable(why, library, info);
                });
            return std::make_unique<TCapiTransferPort>(std::move(owner), GetCapiLibrary());
        });
        ports = m_pOwnPorts.get();
    }
    m_pEngine = std::make_unique<TDataTransferEngine>(*m_pClock, *m_pSettings, *ports);
    m_pEngine->SetView(this);
    m_pExtension = std::make_unique<TTransferExtension>(*m_pEngine, *m_pClock);
    m_pEngine->SetExtension(m_pExtension.get());
    m_pExtension->GetFirmware().SetView(this);

    m_pTransferTimer = new QTimer(this);
    m_pTransferTimer->setObjectName(QStringLiteral("m_pTransferTimer"));
    m_pTransferTimer->setSingleShot(true);
    // The protocol's waits are counted in milliseconds; a coarse timer
    // could fire a time-out early or late by several percent.
    m_pTransferTimer->setTimerType(Qt::PreciseTimer);
    connect(m_pTransferTimer, &QTimer::timeout, this, &TDataTransfer::OnTimer);

    m_pSwapTimer = new QTimer(this);
    m_pSwapTimer->setObjectName(QStringLiteral("m_pSwapTimer"));
    m_pSwapTimer->setInterval(TSwapAnimation::kIntervalMs);
    connect(m_pSwapTimer, &QTimer::timeout, this, &TDataTransfer::OnSwapTimer);

    m_pProgressTimer = new QTimer(this);
    m_pProgressTimer->setObjectName(QStringLiteral("m_pProgressTimer"));
    m_pProgressTimer->setInterval(10);
    connect(m_pProgressTimer, &QTimer::timeout, this, &TDataTransfer::OnProgressTimer);

    // The chosen file's path may be of any length: it takes the width the
    // group has and is shortened in its middle, whole in its tooltip.
    ui->m_pDatei->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ui->m_pDatei->installEventFilter(this);

    connect(ui->m_pOk, &QPushButton::clicked, this, &TDataTransfer::OnCancel);
    connect(ui->m_pDateBtn, &QPushButton::clicked, this, &TDataTransfer::OnFWDateiLadenClicked);
    connect(ui->m_pDownloadBtn, &QPushButton::clicked, this,
            &TDataTransfer::OnFWDownloadClicked);

    // Whatever changed the engine's timers (a call from an extension, a
    // handler of another form), the timer is right before the loop sleeps.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &TDataTransfer::RearmTimer);
    // The identification timer runs from creation on.
    RearmTimer();
}

TDataTransfer::~TDataTransfer() {
    // Nothing queued for the form reaches the engine once it is going.
    m_pReceiver->Detach();
    m_pTransferTimer->stop();
    m_pEngine->SetExtension(nullptr);
    m_pExtension->GetFirmware().SetView(nullptr);
    m_pExtension.reset();
    m_pEngine.reset();
}

// ---- Wiring ----------------------------------------------------------------

void TDataTransfer::SetOwnerAddress(MessageAddress owner) {
    m_pOwnerMessages = std::make_unique<TTransferOwnerMessages>(std::move(owner));
    m_pEngine->SetOwner(m_pOwnerMessages.get());
}

void TDataTransfer::SetOwner(ITransferOwner* owner) {
    m_pEngine->SetOwner(owner);
}

MessageAddress TDataTransfer::Address() const {
    return m_pReceiver->Address();
}

// ---- IDocTransfer ------------------------------------------------------------

void TDataTransfer::SetInfoText(const char* text) {
    ui->m_pInfo->setText(text ? ToDisplay(text) : QString());
}

void TDataTransfer::SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) {
    m_pEngine->SetTransferData(mode, buffer, length);
}

void TDataTransfer::SetTeleAnz(std::uint16_t count) {
    m_pEngine->SetTeleAnz(count);
}

void TDataTransfer::SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) {
    m_pEngine->SetTransferBuf(buffer, length);
}

void TDataTransfer::SetMoreData(bool more) {
    m_pEngine->SetMoreData(more);
}

int TDataTransfer::ShowModal() {
    if (isVisible() || m_pEngine->IsRunning()) {
        // One exchange at a time: a second start from inside a handler of
        // the first is refused and never reaches the box.
        DbgOut(eDbgTransfer, "<TDataTransfer::ShowModal> ERROR a transfer runs already");
        return eDocTransferFailed;
    }
    m_bStartPending = true;
    const int modal = exec();
    if (m_pEngine->IsRunning()) {
        // The loop was ended from outside (the program quits): the run
        // still ends with its one result, with no one left to ask.
        m_pEngine->CancelNow();
    }
    m_bStartPending = false;
    m_pSwapTimer->stop();
    m_pProgressTimer->stop();
    RearmTimer();
    return modal == eDocTransferOk && m_pEngine->GetResult() ? eDocTransferOk : eDocTransferFailed;
}

// ---- The link ----------------------------------------------------------------

bool TDataTransfer::UpdatePort() {
    const bool changed = m_pEngine->UpdatePort();
    RearmTimer();
    return changed;
}

std::string TDataTransfer::GetConnectionText() const {
    std::string text;
    m_pEngine->GetConnectionText(text);
    return text;
}

void TDataTransfer::OnTeleReceived() {
    m_pEngine->OnTeleReceived();
    RearmTimer();
}

int TDataTransfer::Connect(const std::string& number) {
    const int result = m_pEngine->Connect(number);
    RearmTimer();
    if (result < 0)
        ShowDialRefused(result, number);
    return result;
}

int TDataTransfer::Connect() {
    return Connect(m_pSettings->GetBoxNumber());
}

void TDataTransfer::Disconnect() {
    m_pEngine->Disconnect();
    RearmTimer();
}

void TDataTransfer::ShowDialRefused(int result, const std::string& number) {
    // The other refusals are no news: CAPI missing was shown when the port
    // was built, a failed call reports its reason when it ends.
    int textId = 0;
    std::string shown = number;
    if (result == eIsdnDialNumberTooLong) {
        textId = ttxt::kIsdnNumberTooLong;
    } else if (result == eIsdnDialOwnNumberTooLong) {
        textId = ttxt::kIsdnOwnNumberTooLong;
        shown = m_pSettings->GetOwnNumber();
    } else {
        return;
    }
    const char* text = m_pRes ? m_pRes->GetText(textId) : nullptr;
    const char* caption = m_pRes ? m_pRes->GetText(ttxt::kCaptionMox) : nullptr;
    QueueMessage(TextSubst(text, {shown}), caption ? caption : "", eDocMsgIconStop);
}

void TDataTransfer::CloseTransferForm() {
    m_pSwapTimer->stop();
    m_pProgressTimer->stop();
    // A run still going is not closed under the owner's feet; the engine
    // closes the form itself when it ends.
    if (isVisible() && !m_pEngine->IsRunning() && !m_bStartPending)
        done(m_pEngine->GetModalResult());
}

// ---- The form ------------------------------------------------------------------

void TDataTransfer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_bStartPending)
        return;
    OnShow();
    QMetaObject::invokeMethod(this, &TDataTransfer::RunPendingStart, Qt::QueuedConnection);
}

void TDataTransfer::OnShow() {
    DbgOut(eDbgTransfer, "<TDataTransfer::OnShow>");
    SetFirmwareLayout(false);
    if (m_pRes)
        m_pRes->SetFormTexts(this);
    ui->m_szSwap->setVisible(true);
    ui->m_szSwap->setText(QStringLiteral(" "));
    m_Swap.Reset();
    m_pSwapTimer->start();
    ui->m_pOk->setEnabled(true);
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TDataTransfer::RunPendingStart() {
    if (!m_bStartPending)
        return;
    m_bStartPending = false;
    m_pEngine->StartTransfer();
    RearmTimer();
}

void TDataTransfer::OnCancel() {
    // A cancel before the queued start has run still makes it one run with
    // its one result.
    RunPendingStart();
    if (m_pEngine->IsRunning())
        m_pEngine->Cancel();
    RearmTimer();
    // A firmware download may ask first, or end its removal on its own: the
    // form stays until the run has ended, and the engine closes it then.
    if (isVisible() && !m_pEngine->IsRunning())
        done(m_pEngine->GetModalResult());
}

void TDataTransfer::reject() {
    OnCancel();
}

// ---- Timers ------------------------------------------------------------------

void TDataTransfer::RearmTimer() {
    if (!m_pEngine)
        return;
    const std::optional<std::uint64_t> due = m_pEngine->NextDueMs();
    if (!due) {
        m_pTransferTimer->stop();
        m_ArmedDue.reset();
        return;
    }
    if (m_pTransferTimer->isActive() && m_ArmedDue == due)
        return;
    const std::uint64_t now = m_pClock->NowMs();
    const std::uint64_t wait = *due > now ? *due - now : 0;
    m_ArmedDue = due;
    m_pTransferTimer->start(static_cast<int>(std::min<std::uint64_t>(wait, INT_MAX)));
}

void TDataTransfer::OnTimer() {
    m_pTransferTimer->stop();
    m_ArmedDue.reset();
    m_pEngine->Poll();
    RearmTimer();
}

void TDataTransfer::OnSwapTimer() {
    ui->m_szSwap->setText(QString::fromLatin1(m_Swap.Step()));
}

void TDataTransfer::OnProgressTimer() {
    QProgressBar* bar = ui->m_pProgressBar;
    const int next = std::max(bar->value(), bar->minimum()) + m_nProgressStep;
    bar->setValue(next >= bar->maximum() ? bar->minimum() : next);
}

// ---- Window messages -----------------------------------------------------------

std::intptr_t TDataTransfer::OnMessage(const WindowMessage& msg) {
    switch (msg.id) {
    case QUELLPORT_DATA:
        if (msg.wParam == TLumenPortOwnerMessages::kQuellPortPending)
            m_pEngine->OnLumenPendingTelegrams();
        else
            m_pEngine->OnReadQuellData();
        break;
    case WM_KENNUNG_RESTART:
        m_pEngine->OnKennungRestart();
        break;
    case COMPORT_DATA:
        m_pEngine->OnReadData();
        break;
    case CAPIPORT_CONNECT:
    case CAPIPORT_CONNECT_ACTIVE:
    case CAPIPORT_DISCONNECT:
    case CAPIPORT_DATA:
    case CAPIPORT_DATA_SENT:
        OnCapiMessage(msg);
        break;
    default:
        return 0;
    }
    RearmTimer();
    return 0;
}

void TDataTransfer::OnCapiMessage(const WindowMessage& msg) {
    const auto* report = std::any_cast<CapiPortMessage>(&msg.value);
    if (!report || msg.lParam != m_nCapiPortNumber) {
        // Queued by a port that is closed by now, or not a port's report.
        DbgOut(eDbgCapi, "<TDataTransfer::OnMessage> ISDN message (%u) of port (%ld) dropped",
               static_cast<unsigned>(msg.id), static_cast<long>(msg.lParam));
        return;
    }
    m_pEngine->OnCapiMessage(*report);
}

void TDataTransfer::QueueMessage(std::string text, std::string caption, eDocMsgIcon icon,
                                 int textId) {
    QueuedBox box;
    box.textId = textId;
    box.text = std::move(text);
    box.caption = std::move(caption);
    box.icon = icon;
    QueueBox(std::move(box));
}

void TDataTransfer::QueueBox(QueuedBox box) {
    m_Boxes.push_back(std::move(box));
    QTimer::singleShot(0, this, &TDataTransfer::ShowNextBox);
}

void TDataTransfer::ShowNextBox() {
    // One box at a time: a box asked for while another is open waits until
    // that one is closed and its answer has been dealt with.
    if (m_bBoxOpen || m_Boxes.empty())
        return;
    QueuedBox next = std::move(m_Boxes.front());
    m_Boxes.pop_front();
    if (next.wanted && !next.wanted()) {
        if (!m_Boxes.empty())
            QTimer::singleShot(0, this, &TDataTransfer::ShowNextBox);
        return;
    }
    m_bBoxOpen = true;
    const QPointer<TDataTransfer> alive(this);
    int answer = eDocAnswerOk;
    {
        // Over the running form when it shows, which stays on top.
        TQtDocMessageBox qtBox(isVisible() ? this : parentWidget());
        IDocMessageBox* box = m_pMessageBox ? m_pMessageBox : &qtBox;
        answer = box->ShowMessage(next.textId, next.text, next.caption, next.icon, next.buttons);
    }
    if (!alive)
        return;
    m_bBoxOpen = false;
    if (next.answered) {
        next.answered(answer);
        RearmTimer();
    }
    if (!m_Boxes.empty())
        QTimer::singleShot(0, this, &TDataTransfer::ShowNextBox);
}

void TDataTransfer::QueueOpenError(std::uint16_t result) {
    const char* caption = m_pRes ? m_pRes->GetText(ttxt::kCaptionFehler) : nullptr;
    QueueMessage(TTkLumenPort::OpenErrorText(result), caption ? caption : "", eDocMsgIconStop);
}

void TDataTransfer::QueueCapiUnavailable(CapiUnavailable why, const std::string& library,
                                         unsigned info) {
    const char* caption = m_pRes ? m_pRes->GetText(ttxt::kCaptionFehler) : nullptr;
    std::string text;
    if (why == CapiUnavailable::LibraryMissing) {
        // The library's own name, in the words every installation knows.
        text = "No " + library + " found!";
    } else {
        const int id = why == CapiUnavailable::RegisterFailed ? ttxt::kCapiRegisterFailed
                                                              : ttxt::kCapiThreadFailed;
        const char* t = m_pRes ? m_pRes->GetText(id) : nullptr;
        text = TextSubst(t, {info});
    }
    QueueMessage(text, caption ? caption : "", eDocMsgIconStop);
}

// ---- ITransferView -------------------------------------------------------------

QString TDataTransfer::Text(int textId) const {
    const char* text = m_pRes ? m_pRes->GetText(textId) : nullptr;
    return text ? ToDisplay(text) : QString();
}

void TDataTransfer::SetCaptionText(int textId) {
    setWindowTitle(Text(textId));
}

void TDataTransfer::SetInfoText(int textId, int number) {
    if (textId == 0) {
        ui->m_pInfo->clear();
        return;
    }
    const char* text = m_pRes ? m_pRes->GetText(textId) : nullptr;
    if (!text) {
        ui->m_pInfo->clear();
        return;
    }
    // A translator's text is never a format: the number goes in by the
    // safe substitution, whatever placeholders the text holds.
    ui->m_pInfo->setText(number < 0 ? ToDisplay(text) : ToDisplay(TextSubst(text, {number})));
}

void TDataTransfer::SetProgressRange(int min, int max, int step) {
    ui->m_pProgressBar->setRange(min, std::max(min, max));
    m_nProgressStep = step;
}

void TDataTransfer::SetProgressMax(int max) {
    QProgressBar* bar = ui->m_pProgressBar;
    bar->setMaximum(std::max(bar->minimum(), max));
}

void TDataTransfer::SetProgressPosition(int pos) {
    ui->m_pProgressBar->setValue(pos);
}

void TDataTransfer::StepProgress() {
    // A box that sends more blocks than it announced leaves the bar full.
    QProgressBar* bar = ui->m_pProgressBar;
    bar->setValue(
        std::min(std::max(bar->value(), bar->minimum()) + m_nProgressStep, bar->maximum()));
}

void TDataTransfer::SetProgressToEnd() {
    ui->m_pProgressBar->setValue(ui->m_pProgressBar->maximum());
}

void TDataTransfer::SetProgressTimer(bool on) {
    if (on)
        m_pProgressTimer->start();
    else
        m_pProgressTimer->stop();
}

void TDataTransfer::SetCancelEnabled(bool enabled) {
    ui->m_pOk->setEnabled(enabled);
}

void TDataTransfer::SetDefaultCursor() {
    unsetCursor();
}

void TDataTransfer::CloseForm() {
    DbgOut(eDbgTransfer, "<TDataTransfer::OnClose>");
    m_pSwapTimer->stop();
    m_pProgressTimer->stop();
    if (isVisible())
        done(m_pEngine->GetModalResult());
}

// ---- The firmware group ---------------------------------------------------------

namespace {

// Width and height of the form in its firmware layout, at least: wider or
// higher where the texts of the language shown need it.
constexpr int kFirmwareWidth = 485;
constexpr int kFirmwareHeight = 337;

} // namespace

QString TDataTransfer::ViewText(const TViewText& text) const {
    if (text.textId == 0)
        return ToDisplay(text.text);
    const char* lang = m_pRes ? m_pRes->GetText(text.textId) : nullptr;
    if (!lang)
        return QString();
    // The texts come from the language files: their numbers go through the
    // substitution, which never reads past the arguments it was given.
    const auto& n = text.numbers;
    std::string out;
    switch (n.size()) {
    case 0:
        out = lang;
        break;
    case 1:
        out = TextSubst(lang, {n[0]});
        break;
    case 2:
        out = TextSubst(lang, {n[0], n[1]});
        break;
    default:
        out = TextSubst(lang, {n[0], n[1], n[2]});
        break;
    }
    return ToDisplay(out);
}

void TDataTransfer::SetFirmwareLayout(bool on) {
    if (on == m_bFirmwareLayout && ui->m_pFirmwareBox->isVisible() == on)
        return;
    m_bFirmwareLayout = on;
    auto* form = qobject_cast<QBoxLayout*>(layout());
    if (form) {
        // The info line sits above the progress panel, and below the group.
        form->removeWidget(ui->m_pInfo);
        const int at = on ? form->indexOf(ui->m_pFirmwareBox) + 1 : 0;
        form->insertWidget(at, ui->m_pInfo);
    }
    ui->m_pTransferPanel->setVisible(!on);
    ui->m_pFirmwareBox->setVisible(on);
    if (on) {
        if (form)
            form->setSizeConstraint(QLayout::SetDefaultConstraint);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        FitFirmwareLayout();
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (form)
            form->setSizeConstraint(QLayout::SetFixedSize);
    }
}

void TDataTransfer::FitFirmwareLayout() {
    // Never smaller than the firmware layout's size, nor than its texts in
    // the language shown need; it grows when a label gets a longer text (a
    // header read from a device, another file).
    // The group's hints are taken afresh: its labels have just changed, and
    // the form's layout would answer from the hints of its last pass.
    ui->m_pFirmwareBox->updateGeometry();
    QLayout* form = layout();
    if (form)
        form->invalidate();
    const QSize least = (form ? form->totalMinimumSize() : QSize())
                            .expandedTo(QSize(kFirmwareWidth, kFirmwareHeight));
    setMinimumSize(least);
    if (width() < least.width() || height() < least.height())
        resize(size().expandedTo(least));
}

void TDataTransfer::ShowFirmwareGroup(const TFirmwareGroup& g) {
    if (g.visible) {
        SetFirmwareLayout(true);
        setWindowTitle(ToDisplay(g.caption));
    }
    m_Datei = ToDisplay(g.datei);
    ui->m_pDatei->setToolTip(m_Datei);
    // The form grows for the path up to half the screen; a longer one is
    // shortened to the room there is.
    const QScreen* s = screen();
    const int room = s ? s->availableGeometry().width() / 2 : kFirmwareWidth;
    ui->m_pDatei->setMinimumWidth(
        std::min(ui->m_pDatei->fontMetrics().horizontalAdvance(m_Datei), room));
    ShowDatei();
    const auto header = [this](const TFWHeaderLabels& h, QLabel* version, QLabel* date,
                               QLabel* time, QLabel* device) {
        version->setText(ViewText(h.version));
        date->setText(ViewText(h.date));
        time->setText(ViewText(h.time));
        device->setText(ViewText(h.device));
    };
    header(g.file, ui->m_pFileVersion, ui->m_pFileDate, ui->m_pFileTime, ui->m_pFileDevice);
    header(g.ktx, ui->m_pKTXVersion, ui->m_pKTXDate, ui->m_pKTXTime, ui->m_pKTXDevice);
    header(g.kmr, ui->m_pKMRVersion, ui->m_pKMRDate, ui->m_pKMRTime, ui->m_pKMRDevice);
    ui->m_pFWText->setText(ViewText(g.fwText));
    ui->m_pZeit->setText(ToDisplay(g.zeit));
    ui->m_pDurchsatz->setText(ToDisplay(g.durchsatz));
    ui->m_pDateBtn->setEnabled(g.dateBtnEnabled);
    ui->m_pDownloadBtn->setEnabled(g.downloadBtnEnabled);
    // A range whose end lies before its start would be turned around by the
    // bar; keep the position inside it.
    const int max = std::max(g.progressMin, g.progressMax);
    ui->m_pFWProgressBar->setRange(g.progressMin, max);
    ui->m_pFWProgressBar->setValue(std::clamp(g.progressPos, g.progressMin, max));
    if (m_bFirmwareLayout)
        FitFirmwareLayout();
}

void TDataTransfer::ShowDatei() {
    QLabel* label = ui->m_pDatei;
    // A hidden form is laid out when it shows: its label's width is the
    // one of that layout, and the resize brings the text here again.
    label->setText(label->isVisible() ? label->fontMetrics().elidedText(
                                            m_Datei, Qt::ElideMiddle, label->contentsRect().width())
                                      : m_Datei);
}

bool TDataTransfer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->m_pDatei && event->type() == QEvent::Resize)
        ShowDatei();
    return QDialog::eventFilter(watched, event);
}

TDataTransfer::QueuedBox TDataTransfer::FirmwareBox(int textId, int captionId, eDocMsgIcon icon,
                                                    eDocMsgButtons buttons) const {
    const char* text = m_pRes ? m_pRes->GetText(textId) : nullptr;
    const char* caption = m_pRes ? m_pRes->GetText(captionId) : nullptr;
    QueuedBox box;
    box.textId = textId;
    box.text = text ? text : "";
    box.caption = caption ? caption : "";
    box.icon = icon;
    box.buttons = buttons;
    return box;
}

void TDataTransfer::ShowFWMessage(int textId, int captionId) {
    QueueBox(FirmwareBox(textId, captionId, eDocMsgIconStop, eDocMsgOk));
}

// The boxes below are shown once the download's call has returned: their
// own loop must not run inside the step that raised them.

void TDataTransfer::ShowFWMessageAndWait(int textId, int captionId) {
    QueuedBox box = FirmwareBox(textId, captionId, eDocMsgIconStop, eDocMsgOk);
    box.answered = [this](int) { m_pExtension->GetFirmware().OnFWMessageClosed(); };
    QueueBox(std::move(box));
}

void TDataTransfer::AskFW(int textId, int captionId, void (TFirmwareDownload::*answer)(bool),
                          bool (TFirmwareDownload::*asking)() const) {
    QueuedBox box = FirmwareBox(textId, captionId, eDocMsgIconQuestion, eDocMsgYesNo);
    box.answered = [this, answer](int pressed) {
        (m_pExtension->GetFirmware().*answer)(pressed == eDocAnswerYes);
    };
    box.wanted = [this, asking] { return (m_pExtension->GetFirmware().*asking)(); };
    QueueBox(std::move(box));
}

void TDataTransfer::AskRestart(int textId, int captionId) {
    AskFW(textId, captionId, &TFirmwareDownload::OnRestartAnswer,
          &TFirmwareDownload::IsAskingRestart);
}

void TDataTransfer::AskCancel(int textId, int captionId) {
    AskFW(textId, captionId, &TFirmwareDownload::OnCancelAnswer,
          &TFirmwareDownload::IsAskingCancel);
}

void TDataTransfer::OnFWDateiLadenClicked() {
    const QString path = TFileDialog::GetOpenFileName(
        this, Text(ttxt::kFWOpenFilter), Text(ttxt::kFWOpenTitle), Text(ttxt::kFWOpenExt));
    if (path.isEmpty() || !QFile::exists(path))
        return;
    m_pExtension->GetFirmware().OnFWDateiLaden(QFile::encodeName(path).toStdString());
    RearmTimer();
}

void TDataTransfer::OnFWDownloadClicked() {
    m_pExtension->GetFirmware().OnFWDownloadStarten();
    RearmTimer();
}
