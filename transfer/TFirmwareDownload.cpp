#include "TFirmwareDownload.h"

#include "ITransferClock.h"
#include "TDataTransferEngine.h"
#include "TDownloadMessage.h"
#include "TransferTrace.h"

#include <cmath>

namespace {

// What a failed step is called in the trace and which text it shows.
struct StepFailure {
    const char* name;
    int textId;
};

StepFailure FailureOf(int mode) {
    switch (mode) {
    case eFW_ReceiveKTXFirmwareHeader:
    case eFW_ReceiveKMRFirmwareHeader:
        return {"eFW_ReceiveFirmwareHeader", kTextFWStepFailedFirst};
    case eFW_StartDownload:
    case eFW_StartKTXDownload:
    case eFW_StartKMRDownload:
        return {"eFW_StartDownload", kTextFWStepFailedFirst + 1};
    case eFW_ReceiveFirmwareChk:
        return {"eFW_ReceiveFirmwareChk", kTextFWStepFailedFirst + 2};
    case eFW_DeleteBlock:
        return {"eFW_DeleteBlock", kTextFWStepFailedFirst + 3};
    case eFW_SendBlock:
        return {"eFW_SendBlock", kTextFWStepFailedFirst + 4};
    case eFW_StopDownload:
    case eFW_StopKTXDownload:
    case eFW_StopKMRDownload:
        return {"eFW_StopDownload", kTextFWStepFailedFirst + 5};
    case eFW_Reset:
        return {"eFW_Reset", kTextFWStepFailedFirst + 6};
    case eFW_KillOldFirmware:
        return {"eFW_KillOldFirmware", kTextFWStepFailedFirst + 7};
    case eFW_KillNewFirmware:
        return {"eFW_KillNewFirmware", kTextFWStepFailedFirst + 7};
    default:
        return {"DEFAULT ?? ", kTextFWStepFailedFirst + 8};
    }
}

bool IsStopStep(int mode) {
    return mode == eFW_StopDownload || mode == eFW_StopKTXDownload || mode == eFW_StopKMRDownload;
}

// Steps after which a plain stop leaves the device without usable firmware:
// its flash is being erased or written, or the written image is not yet
// checked.
bool ChangesTheFlash(int mode) {
    return mode == eFW_DeleteBlock || mode == eFW_SendBlock || mode == eFW_ReceiveFirmwareChk;
}

// Steps that work on the loaded file; a new file must wait until they end.
bool UsesFile(int mode) {
    switch (mode) {
    case eFW_StartDownload:
    case eFW_DeleteBlock:
    case eFW_SendBlock:
    case eFW_ReceiveFirmwareChk:
    case eFW_KillOldFirmware:
    case eFW_KillNewFirmware:
    case eFW_Reset:
    case eFW_StopDownload:
        return true;
    default:
        return false;
    }
}

TViewText DeviceText(int device) {
    switch (device) {
    case eFWDeviceKTX:
        return TViewText::Lang(kTextFWDeviceKTX);
    case eFWDeviceKMR:
        return TViewText::Lang(kTextFWDeviceKMR);
    default:
        return TViewText::Lang(kTextFWNone);
    }
}

TFWHeaderLabels NoHeader() {
    const TViewText none = TViewText::Lang(kTextFWNone);
    return {none, none, none, none};
}

TFWHeaderLabels HeaderLabels(const HeaderRecord& h) {
    return {TViewText::Literal(h.GetVersion()), TViewText::Literal(h.GetDateText()),
            TViewText::Literal(h.GetTimeText()), DeviceText(h.Device)};
}

std::uint8_t DeviceByte(int target) {
    return target == eFWDeviceKMR ? kFWProtKMR : kFWProtKTX;
}

} // namespace

TFirmwareDownload::TFirmwareDownload(TDataTransferEngine& engine, ITransferClock& clock)
    : m_Engine(engine), m_Clock(clock) {
    m_Group.file = m_Group.ktx = m_Group.kmr = NoHeader();
    m_Group.fwText = TViewText::Lang(kTextFWNone);
}

// ---- Kept file -------------------------------------------------------------

void TFirmwareDownload::SetFWFileName(const std::string& name) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SetFWFileName> (%s)", name.c_str());
    m_strFileName = name;
}

bool TFirmwareDownload::GetFWFileName(std::string& name) const {
    if (!m_strFileName)
        return false;
    name = *m_strFileName;
    return true;
}

// ---- Run state -------------------------------------------------------------

bool TFirmwareDownload::IsFirmwareRun() const {
    return m_bRun && m_Engine.IsRunning();
}

int TFirmwareDownload::Mode() const {
    return m_Engine.GetMode();
}

void TFirmwareDownload::SetMode(int mode) {
    m_Engine.SetMode(mode);
}

void TFirmwareDownload::OnTransferStart() {
    m_bRun = false;
    ClearQuestions();
}

void TFirmwareDownload::ClearQuestions() {
    m_bAskRestart = false;
    m_bAwaitMessage = false;
    m_bAskCancel = false;
    m_Held.reset();
    m_bCancelAfterAnswer = false;
}

bool TFirmwareDownload::StartFirmware() {
    m_bRun = true;
    ClearQuestions();
    m_bCancelled = false;
    m_bToldNotUpdated = false;
    m_bSuccess = true;
    m_StartTick.reset();
    ClearFWHeaders();
    ShowFirmwarePage();
    // A kept file that has gone meanwhile is dropped like any bad file.
    if (m_strFileName)
        LoadKeptFile();
    m_byTargetDevice = eFWDeviceKTX;
    SetMode(eFW_StartKTXDownload);
    Continue();
    return true;
}

void TFirmwareDownload::OnFirmwareStop() {
    // The run is over already: these go out raw, a failure is only traced
    // and nothing here can end the run again. On the bus the camera
    // device's stop goes once the box's is through, or it would cut the
    // box's short; and it goes even when the box's is lost (a telegram whose
    // answer missed the interface's window ten times over on a loaded
    // machine), or the camera device would stay in download mode.
    auto sendCamera = [this, alive = std::weak_ptr<int>(m_pAlive)](bool) {
        if (!alive.expired())
            QueueStop(kFWProtKMR);
    };
    if (!QueueStop(kFWProtKTX, sendCamera))
        QueueStop(kFWProtKMR);
    ClearQuestions();
    TellNotUpdated();
}

void TFirmwareDownload::TellNotUpdated() {
    if (!m_bCancelled || m_bToldNotUpdated)
        return;
    m_bToldNotUpdated = true;
    Message(kTextFWNotUpdated, kTextFWErrCaption);
}

bool TFirmwareDownload::QueueStop(std::uint8_t device, std::function<void(bool)> then) {
    TDownloadMessage msg(eFWCmdStopDownload, 0);
    msg.SetProt(device);
    auto traced = [device, then = std::move(then)](bool delivered) {
        if (!delivered)
            TransferTrace(eTraceTransfer, "\tstop device (%d) lost", device);
        if (then)
            then(delivered);
    };
    if (m_Engine.QueueDataToPort(msg.GetBuffer(), msg.GetLen(), traced))
        return true;
    TransferTrace(eTraceTransfer, "\tstop device (%d) not sent", device);
    return false;
}

// ---- The dialog's commands -------------------------------------------------

void TFirmwareDownload::OnFWDateiLaden(const std::string& path) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::OnFWDateiLaden> (%s)", path.c_str());
    if (IsFirmwareRun() && UsesFile(Mode())) {
        TransferTrace(eTraceTransfer, "\tdownload runs: file not changed");
        return;
    }
    m_strFileName = path;
    LoadKeptFile();
}

void TFirmwareDownload::OnFWDownloadStarten() {
    TransferTrace(eTraceTransfer, "<TDataTransfer::OnFWDownloadStarten>");
    if (!IsFirmwareRun() || Mode() != eTransferIdle || !m_File.IsValid()) {
        TransferTrace(eTraceTransfer, "\tno download possible now");
        return;
    }
    m_Group.zeit.clear();
    m_Group.durchsatz.clear();
    m_Group.fwText = TViewText::Literal("");
    m_Group.dateBtnEnabled = false;
    m_Group.downloadBtnEnabled = false;
    m_bSuccess = true;
    m_bCancelled = false;
    m_bToldNotUpdated = false;
    m_StartTick.reset();
    m_byTargetDevice = static_cast<std::uint8_t>(m_File.GetDevice());
    SetMode(eFW_StartDownload);
    Publish();
    InitiateFWStartDownload();
}

void TFirmwareDownload::OnRestartAnswer(bool yes) {
    if (!m_bAskRestart)
        return;
    m_bAskRestart = false;
    if (!IsFirmwareRun() || Mode() != eFW_KillOldFirmware)
        return;
    TransferTrace(eTraceTransfer, "\trestart: %s", yes ? "yes" : "no");
    GoTo(yes ? eFW_Reset : eFW_StopDownload);
}

// ---- Cancel ----------------------------------------------------------------

bool TFirmwareDownload::OnCancelRequest() {
    if (!IsFirmwareRun())
        return false;
    if (m_bAskCancel || m_bCancelAfterAnswer || IsRemovingNewImage()) {
        // Cutting the removal short would leave the image it removes.
        TransferTrace(eTraceTransfer, "\tcancel: the removal under way ends the run");
        return true;
    }
    if (!ChangesTheFlash(Mode()))
        return false;
    TransferTrace(eTraceTransfer, "\tcancel: asked in mode (%d)", Mode());
    m_bAskCancel = true;
    m_Held.reset();
    if (m_pView)
        m_pView->AskCancel(kTextFWAskCancel, kTextFWCaption);
    else
        OnCancelAnswer(true);
    return true;
}

void TFirmwareDownload::OnCancelAnswer(bool yes) {
    if (!m_bAskCancel)
        return;
    m_bAskCancel = false;
    std::optional<HeldAnswer> held = std::move(m_Held);
    m_Held.reset();
    if (!IsFirmwareRun())
        return;
    if (!yes) {
        TransferTrace(eTraceTransfer, "\tcancel: no, the download goes on");
        if (!held)
            return; // the step's answer is still to come
        if (held->bytes.empty()) {
            WorkOnFirmwareStep(Mode(), nullptr);
        } else {
            const TDownloadMessage msg(held->bytes);
            WorkOnFirmwareStep(Mode(), &msg);
        }
        return;
    }
    TransferTrace(eTraceTransfer, "\tcancel: yes");
    m_bCancelled = true;
    m_bSuccess = false;
    if (held)
        RemoveNewImage();
    else
        m_bCancelAfterAnswer = true;
}

void TFirmwareDownload::OnFWMessageClosed() {
    if (!m_bAwaitMessage)
        return;
    m_bAwaitMessage = false;
    if (!IsFirmwareRun() || Mode() != eFW_KillNewFirmware)
        return;
    InitiateFWKillFirmware(kFWKillNew);
}

bool TFirmwareDownload::IsRemovingNewImage() const {
    return m_bAwaitMessage || Mode() == eFW_KillNewFirmware ||
           (Mode() == eFW_StopDownload && !m_bSuccess);
}

void TFirmwareDownload::RemoveNewImageAfter(int textId) {
    m_bSuccess = false;
    SetMode(eFW_KillNewFirmware);
    // The user reads why before the removal goes out: its own failure
    // would otherwise be the first thing they see.
    m_bAwaitMessage = true;
    if (m_pView)
        m_pView->ShowFWMessageAndWait(textId, kTextFWErrCaption);
    else
        OnFWMessageClosed();
}

void TFirmwareDownload::RemoveNewImage() {
    TransferTrace(eTraceTransfer, "\tremove the new image");
    m_bSuccess = false;
    SetMode(eFW_KillNewFirmware);
    InitiateFWKillFirmware(kFWKillNew);
}

// ---- File ------------------------------------------------------------------

void TFirmwareDownload::LoadKeptFile() {
    const eDLFileCheck check = m_File.Load(m_strFileName ? *m_strFileName : std::string());
    if (check != eDLFileOk) {
        TransferTrace(eTraceTransfer, "\tERROR download file refused: %s", DLFileCheckName(check));
        switch (check) {
        case eDLFileTooManyBlocks:
            Message(kTextFWTooManyBlocks, kTextFWCaption);
            break;
        case eDLFileUnreadable:
            Message(kTextFWUnreadable, kTextFWCaption);
            break;
        case eDLFileWrongChecksum:
            Message(kTextFWBadFileSum, kTextFWCaption);
            break;
        default:
            break; // a header fault shows as labels without a value
        }
        m_strFileName.reset();
        m_Group.downloadBtnEnabled = false;
        ShowFileHeader();
        Publish();
        return;
    }
    // The header query uses the target device; the user's start sets it anew.
    if (Mode() == eTransferIdle)
        m_byTargetDevice = static_cast<std::uint8_t>(m_File.GetDevice());
    ShowFileHeader();
    m_Group.downloadBtnEnabled = Mode() == eTransferIdle;
    Publish();
}

// ---- Display ---------------------------------------------------------------

void TFirmwareDownload::ShowFirmwarePage() {
    if (!IsFirmwareRun())
        return;
    m_Group.visible = true;
    m_Group.caption.clear();
    m_Group.dateBtnEnabled = true;
    // Only a file that passed its checks can be started.
    m_Group.downloadBtnEnabled = m_File.IsValid() && Mode() == eTransferIdle;
    if (ITransferView* view = m_Engine.GetView())
        view->SetInfoText(0, -1);
    m_Group.fwText = TViewText::Literal("");
    ShowFileHeader();
    ShowDeviceHeaders();
    Publish();
}

void TFirmwareDownload::ShowFileHeader() {
    const std::string name = m_strFileName ? *m_strFileName : std::string();
    m_Group.datei = name;
    m_Group.caption = name;
    const int device = m_File.GetDevice();
    if (device != eFWDeviceKTX && device != eFWDeviceKMR) {
        m_Group.file = NoHeader();
        m_Group.dateBtnEnabled = true;
        return;
    }
    m_Group.file = HeaderLabels(m_File.GetHeader());
    m_Group.dateBtnEnabled = false;
}

void TFirmwareDownload::ShowDeviceHeaders() {
    auto labels = [](const HeaderRecord& h) {
        const bool shown =
            !h.GetVersion().empty() && !h.GetDate().empty() && h.CodeSign == kDLCodeSign;
        return shown ? HeaderLabels(h) : NoHeader();
    };
    m_Group.ktx = labels(m_KTXHeader);
    m_Group.kmr = labels(m_KMRHeader);
}

bool TFirmwareDownload::StoreDeviceHeader(const std::uint8_t* data, std::uint16_t len) {
    HeaderRecord h;
    if (!data || !h.FromBytes(std::span<const std::uint8_t>(data, len)))
        return false;
    switch (h.Device) {
    case eFWDeviceKTX:
        TransferTrace(eTraceTransfer, "\tKTXHeaderRecord");
        m_KTXHeader = h;
        break;
    case eFWDeviceKMR:
        TransferTrace(eTraceTransfer, "\tKMRHeaderRecord");
        m_KMRHeader = h;
        break;
    default:
        TransferTrace(eTraceTransfer, "\tUnknownHeaderRecord");
        h.Trace("");
        return false;
    }
    h.Trace("");
    return true;
}

void TFirmwareDownload::ClearFWHeaders() {
    m_File.Clear();
    m_KTXHeader.Clear();
    m_KMRHeader.Clear();
}

void TFirmwareDownload::SetFWProgress(int min, int max, int pos, int step) {
    m_Group.progressMin = min;
    m_Group.progressMax = max;
    m_Group.progressPos = pos;
    m_Group.progressStep = step;
    UpdateFWStatus(0);
}

void TFirmwareDownload::UpdateFWStatus(int pos) {
    m_Group.progressPos = pos;
    if (m_StartTick) {
        const std::uint64_t ms = m_Clock.NowMs() - *m_StartTick;
        m_Group.zeit = std::to_string(ms / 1000);
        if (ms != 0) {
            const double seconds = static_cast<double>(ms) * 0.001;
            const double rate = static_cast<double>(m_nBlockCounter) * kDLBlockLen / seconds;
            m_Group.durchsatz = std::to_string(std::llround(rate));
        }
    }
    switch (Mode()) {
    case eFW_StartDownload:
        m_Group.fwText = TViewText::Lang(kTextFWStatusStart);
        break;
    case eFW_DeleteBlock:
        m_Group.fwText = TViewText::Lang(kTextFWStatusDelete, {m_nBlockCounter, MaxDelBloecke()});
        break;
    case eFW_SendBlock:
        m_Group.fwText =
            TViewText::Lang(kTextFWStatusWrite, {m_nBlockCounter, m_File.GetBlockCount()});
        break;
    default:
        m_Group.fwText = TViewText::Lang(kTextFWNone);
        break;
    }
    Publish();
}

void TFirmwareDownload::Publish() {
    if (m_pView)
        m_pView->ShowFirmwareGroup(m_Group);
}

void TFirmwareDownload::Message(int textId, int captionId) {
    if (m_pView)
        m_pView->ShowFWMessage(textId, captionId);
}

// ---- Step machine ----------------------------------------------------------

void TFirmwareDownload::GoTo(int mode) {
    SetMode(mode);
    Continue();
}

void TFirmwareDownload::Fail() {
    m_bSuccess = false;
    Continue();
}

void TFirmwareDownload::Continue() {
    if (!IsFirmwareRun())
        return;
    if (!m_bSuccess) {
        FailurePath();
        return;
    }
    switch (Mode()) {
    case eFW_StartKTXDownload:
    case eFW_StartKMRDownload:
    case eFW_StartDownload:
        InitiateFWStartDownload();
        break;
    case eFW_ReceiveKTXFirmwareHeader:
    case eFW_ReceiveKMRFirmwareHeader:
        InitiateFWReceiveFirmwareHeader();
        break;
    case eFW_StopKTXDownload:
    case eFW_StopKMRDownload:
    case eFW_StopDownload:
        InitiateFWStopDownload();
        break;
    case eFW_DeleteBlock:
        InitiateFWDeleteBlock();
        break;
    case eFW_SendBlock:
        InitiateFWSendBlock();
        break;
    case eFW_ReceiveFirmwareChk:
        InitiateFWReceiveFirmwareChk();
        break;
    case eFW_KillOldFirmware:
        InitiateFWKillFirmware(kFWKillOld);
        break;
    case eFW_KillNewFirmware:
        InitiateFWKillFirmware(kFWKillNew);
        break;
    case eFW_Reset:
        InitiateFWReset();
        break;
    default:
        TransferTrace(eTraceTransfer, "\tno step for mode (%d)", Mode());
        break;
    }
}

void TFirmwareDownload::FailurePath() {
    const int mode = Mode();
    const StepFailure f = FailureOf(mode);
    TransferTrace(eTraceTransfer, "ERROR <TDataTransfer::OnFWDownload>  %s", f.name);
    m_Group.dateBtnEnabled = true;
    if (mode == eFW_SendBlock) {
        // A partly written image must not stay in the device: remove it,
        // take the device out of download mode, then end with 0.
        Publish();
        RemoveNewImageAfter(f.textId);
        return;
    }
    Message(f.textId, kTextFWErrCaption);
    Publish();
    // A failed stop leaves nothing to stop at the end.
    if (IsStopStep(mode))
        SetMode(eTransferIdle);
    TellNotUpdated();
    m_Engine.SetResult(0);
}

TFirmwareDownload::eAnswer TFirmwareDownload::Classify(const TTkDataMsg* pMsg,
                                                       std::uint8_t expected) const {
    if (pMsg && pMsg->GetCmd() == expected) {
        TransferTrace(eTraceTransfer, "\tAck");
        return eAnswer::Expected;
    }
    if (pMsg && pMsg->GetCmd() == eFWNak) {
        TransferTrace(eTraceTransfer, "\tNak");
        return eAnswer::Nak;
    }
    // No answer, or the answer to something else.
    TransferTrace(eTraceTransfer, "\tTIMEOUT");
    return eAnswer::Missing;
}

bool TFirmwareDownload::MissingFails() {
    if (m_nRetry >= kFWMaxTries - 1)
        return true;
    ++m_nRetry;
    return false;
}

void TFirmwareDownload::WorkOnFirmwareStep(int mode, const TTkDataMsg* pMsg) {
    if (!IsFirmwareRun()) {
        TransferTrace(eTraceTransfer, "\tno firmware run: step (%d) ignored", mode);
        return;
    }
    if (m_bAskRestart) {
        TransferTrace(eTraceTransfer, "\twaiting for the restart answer: ignored");
        return;
    }
    if (m_bAwaitMessage) {
        TransferTrace(eTraceTransfer, "\twaiting for the message to be read: ignored");
        return;
    }
    if (m_bAskCancel) {
        // The first answer to the step's command is kept; a late answer
        // still beats its time-out.
        if (!m_Held || (m_Held->bytes.empty() && pMsg)) {
            HeldAnswer held;
            if (pMsg)
                held.bytes.assign(pMsg->GetBuffer(), pMsg->GetBuffer() + pMsg->GetLen());
            m_Held = std::move(held);
        }
        TransferTrace(eTraceTransfer, "\twaiting for the cancel answer: held");
        return;
    }
    if (m_bCancelAfterAnswer) {
        m_bCancelAfterAnswer = false;
        TransferTrace(eTraceTransfer, "\tcancelled: the step's command is through");
        RemoveNewImage();
        return;
    }
    switch (mode) {
    case eFW_StartKTXDownload:
        WorkOnFWStartKTXDownload(pMsg);
        break;
    case eFW_ReceiveKTXFirmwareHeader:
        WorkOnFWReceiveKTXFirmwareHeader(pMsg);
        break;
    case eFW_StopKTXDownload:
        WorkOnFWStopKTXDownload(pMsg);
        break;
    case eFW_StartKMRDownload:
        WorkOnFWStartKMRDownload(pMsg);
        break;
    case eFW_ReceiveKMRFirmwareHeader:
        WorkOnFWReceiveKMRFirmwareHeader(pMsg);
        break;
    case eFW_StopKMRDownload:
        WorkOnFWStopKMRDownload(pMsg);
        break;
    case eFW_ReceiveFirmwareChk:
        WorkOnFWReceiveFirmwareChk(pMsg);
        break;
    case eFW_StartDownload:
        WorkOnFWStartDownload(pMsg);
        break;
    case eFW_StopDownload:
        WorkOnFWStopDownload(pMsg);
        break;
    case eFW_DeleteBlock:
        WorkOnFWDeleteBlock(pMsg);
        break;
    case eFW_SendBlock:
        WorkOnFWSendBlock(pMsg);
        break;
    case eFW_Reset:
        WorkOnFWReset(pMsg);
        break;
    case eFW_KillOldFirmware:
    case eFW_KillNewFirmware:
        WorkOnFWKillFirmware(pMsg);
        break;
    default:
        TransferTrace(eTraceTransfer, "\tno handler for step (%d)", mode);
        break;
    }
}

bool TFirmwareDownload::Answered(const TTkDataMsg* pMsg, std::uint8_t expected) {
    const eAnswer a = Classify(pMsg, expected);
    if (a == eAnswer::Expected)
        return true;
    if (a == eAnswer::Missing && !MissingFails())
        Resend();
    else
        Fail();
    return false;
}

void TFirmwareDownload::Resend() {
    switch (Mode()) {
    case eFW_StartKTXDownload:
    case eFW_StartKMRDownload:
    case eFW_StartDownload:
        SendFWMessageBlock(eFWCmdStartDownload, 0);
        break;
    case eFW_ReceiveKTXFirmwareHeader:
    case eFW_ReceiveKMRFirmwareHeader:
        SendFWMessageBlock(eFWCmdGetHeader, kFWHeaderBlock);
        break;
    case eFW_StopKTXDownload:
    case eFW_StopKMRDownload:
    case eFW_StopDownload:
        SendFWMessageBlock(eFWCmdStopDownload, 0);
        break;
    case eFW_DeleteBlock:
        // The erase of the block last sent.
        SendFWMessageBlock(eFWCmdDeleteBlock, static_cast<std::uint16_t>(m_nBlockCounter - 1));
        break;
    case eFW_SendBlock:
        // The block last written, under its own number.
        SendFirmwareBlock(m_nBlockCounter - 1);
        break;
    case eFW_ReceiveFirmwareChk:
        SendFWMessageBlock(eFWCmdGetChecksum, kFWChecksumBlock);
        break;
    case eFW_KillOldFirmware:
        SendFWMessageBlock(eFWCmdKillFirmware, kFWKillOld);
        break;
    case eFW_KillNewFirmware:
        SendFWMessageBlock(eFWCmdKillFirmware, kFWKillNew);
        break;
    case eFW_Reset:
        SendFWMessageBlock(eFWCmdReset, 0);
        break;
    default:
        TransferTrace(eTraceTransfer, "\tnothing to send again in mode (%d)", Mode());
        break;
    }
}

void TFirmwareDownload::WorkOnFWHeader(const TTkDataMsg* pMsg, int next) {
    switch (Classify(pMsg, eFWHeader)) {
    case eAnswer::Expected:
        // A device without a readable header (the one most in need of new
        // firmware) answers with less than a header, or none: nothing is
        // kept of it, its labels stay empty, and the run goes on.
        if (pMsg->GetDataLen() >= kDLHeaderLen)
            StoreDeviceHeader(pMsg->GetData(), pMsg->GetDataLen());
        else
            TransferTrace(eTraceTransfer, "\tno header (%d bytes)", pMsg->GetDataLen());
        GoTo(next);
        break;
    case eAnswer::Nak:
        // The device runs no firmware with a header: nothing to show.
        ShowFirmwarePage();
        GoTo(next);
        break;
    case eAnswer::Missing:
        if (MissingFails()) {
            ShowFirmwarePage();
            Fail();
        } else {
            Resend();
        }
        break;
    }
}

void TFirmwareDownload::WorkOnFWStartKTXDownload(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWStartKTXDownload>");
    if (Answered(pMsg, eFWAck))
        GoTo(eFW_ReceiveKTXFirmwareHeader);
}

void TFirmwareDownload::WorkOnFWReceiveKTXFirmwareHeader(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWReceiveKTXFirmwareHeader>");
    WorkOnFWHeader(pMsg, eFW_StopKTXDownload);
}

void TFirmwareDownload::WorkOnFWStopKTXDownload(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWStopKTXDownload>");
    if (Answered(pMsg, eFWAck)) {
        m_byTargetDevice = eFWDeviceKMR;
        GoTo(eFW_StartKMRDownload);
    }
}

void TFirmwareDownload::WorkOnFWStartKMRDownload(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWStartKMRDownload>");
    const eAnswer a = Classify(pMsg, eFWAck);
    if (a == eAnswer::Expected) {
        GoTo(eFW_ReceiveKMRFirmwareHeader);
        return;
    }
    if (a == eAnswer::Missing && !MissingFails()) {
        Resend();
        return;
    }
    // Without a camera device nobody takes its download mode: the query
    // ends quietly and the user goes on with the box alone.
    TransferTrace(eTraceTransfer, "\tno camera device");
    SetMode(eTransferIdle);
    ShowFirmwarePage();
}

void TFirmwareDownload::WorkOnFWReceiveKMRFirmwareHeader(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWReceiveKMRFirmwareHeader>");
    WorkOnFWHeader(pMsg, eFW_StopKMRDownload);
}

void TFirmwareDownload::WorkOnFWStopKMRDownload(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWStopKMRDownload>");
    if (Answered(pMsg, eFWAck)) {
        // The query is done: the run waits for the user.
        SetMode(eTransferIdle);
        ShowFirmwarePage();
    }
}

void TFirmwareDownload::WorkOnFWStartDownload(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWStartDownload>");
    if (Answered(pMsg, eFWAck))
        GoTo(eFW_DeleteBlock);
}

void TFirmwareDownload::WorkOnFWDeleteBlock(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWDeleteBlock>");
    if (!Answered(pMsg, eFWAck))
        return;
    UpdateFWStatus(m_nBlockCounter + 1);
    m_nRetry = 0;
    if (MaxDelBloecke() > m_nBlockCounter) {
        ++m_nBlockCounter;
        TransferTrace(eTraceTransfer, "\tdelete block(%d)", m_nBlockCounter - 1);
        SendFWMessageBlock(eFWCmdDeleteBlock, static_cast<std::uint16_t>(m_nBlockCounter - 1));
    } else {
        GoTo(eFW_SendBlock);
    }
}

void TFirmwareDownload::WorkOnFWSendBlock(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWSendBlock>");
    if (!Answered(pMsg, eFWAck))
        return;
    UpdateFWStatus(m_nBlockCounter + 1);
    m_nRetry = 0;
    if (m_nBlockCounter < MaxBloecke() && m_File.IsBlockValid(m_nBlockCounter)) {
        TransferTrace(eTraceTransfer, "\twrite block(%d)", m_nBlockCounter);
        SendFirmwareBlock(m_nBlockCounter);
    } else {
        GoTo(eFW_ReceiveFirmwareChk);
    }
}

void TFirmwareDownload::WorkOnFWReceiveFirmwareChk(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWReceiveFirmwareChk>");
    if (!Answered(pMsg, eFWChecksum))
        return;
    const std::uint16_t device = pMsg->GetBlockNumber();
    const std::uint16_t file = m_File.GetHeader().CheckSum;
    TransferTrace(eTraceTransfer, "\tReadChk(%x) FileChk(%x)", device, file);
    if (device == file) {
        GoTo(eFW_KillOldFirmware);
        return;
    }
    TransferTrace(eTraceTransfer, "\tbad checksum");
    // The image in the device is not the file's: remove it before the run
    // ends (then leave download mode, and end with 0).
    RemoveNewImageAfter(kTextFWBadDeviceSum);
}

void TFirmwareDownload::WorkOnFWKillFirmware(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWKillFirmware>");
    if (!Answered(pMsg, eFWAck))
        return;
    if (Mode() == eFW_KillOldFirmware && m_bSuccess) {
        m_bAskRestart = true;
        if (m_pView)
            m_pView->AskRestart(kTextFWAskRestart, kTextFWCaption);
        else
            OnRestartAnswer(false);
        return;
    }
    // The new image is gone; the device still leaves download mode, and
    // the run ends with what failed before.
    SetMode(eFW_StopDownload);
    InitiateFWStopDownload();
}

void TFirmwareDownload::WorkOnFWReset(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWReset>");
    if (Answered(pMsg, eFWAck))
        m_Engine.SetResult(1);
}

void TFirmwareDownload::WorkOnFWStopDownload(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnFWStopDownload>");
    if (Answered(pMsg, eFWAck))
        m_Engine.SetResult(m_bSuccess ? 1 : 0);
}

// ---- Sending ---------------------------------------------------------------

bool TFirmwareDownload::SendFWMessageBlock(std::uint8_t cmd, std::uint16_t block) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SendFWMessageBlock> Cmd(%d) nBlock(%d)", cmd,
                  block);
    TDownloadMessage msg(cmd, block);
    msg.SetProt(DeviceByte(m_byTargetDevice));
    msg.Dump();
    const std::uint32_t timeout = Mode() == eFW_DeleteBlock ? kFWTimeoutDeleteMs : kFWTimeoutMs;
    if (m_Engine.SendDataToPortKeepRun(msg.GetBuffer(), msg.GetLen(), timeout))
        return true;
    TransferTrace(eTraceTransfer, "\tSendDataToPort failed");
    m_bSuccess = false;
    Continue();
    return false;
}

bool TFirmwareDownload::SendFirmwareBlock(int n) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SendFirmwareBlock> nBlock(%d)", n);
    const std::uint8_t* data = m_File.GetBlock(n);
    if (n >= MaxBloecke() || !data) {
        TransferTrace(eTraceTransfer, "\tERROR nBlock >= GetMaxBloecke()");
        m_bSuccess = false;
        Continue();
        return false;
    }
    TDownloadMessage msg(eFWCmdWriteBlock, static_cast<std::uint16_t>(n));
    msg.SetProt(DeviceByte(m_byTargetDevice));
    msg.SetData(data, kDLBlockLen);
    m_nBlockCounter = n + 1;
    if (m_Engine.SendDataToPortKeepRun(msg.GetBuffer(), msg.GetLen(), kFWTimeoutBlockMs))
        return true;
    TransferTrace(eTraceTransfer, "\tERROR SendDataToPort");
    m_bSuccess = false;
    Continue();
    return false;
}

void TFirmwareDownload::InitiateFWStartDownload() {
    UpdateFWStatus(0);
    m_nRetry = 0;
    SendFWMessageBlock(eFWCmdStartDownload, 0);
}

void TFirmwareDownload::InitiateFWStopDownload() {
    m_nRetry = 0;
    SendFWMessageBlock(eFWCmdStopDownload, 0);
}

void TFirmwareDownload::InitiateFWReceiveFirmwareHeader() {
    m_Group.zeit.clear();
    m_Group.durchsatz.clear();
    m_Group.fwText = TViewText::Literal("");
    Publish();
    m_nRetry = 0;
    SendFWMessageBlock(eFWCmdGetHeader, kFWHeaderBlock);
}

void TFirmwareDownload::InitiateFWReceiveFirmwareChk() {
    m_nRetry = 0;
    SendFWMessageBlock(eFWCmdGetChecksum, kFWChecksumBlock);
}

void TFirmwareDownload::InitiateFWDeleteBlock() {
    m_nRetry = 0;
    m_nBlockCounter = 0;
    SetFWProgress(1, MaxDelBloecke() + 1, 0, 1);
    TransferTrace(eTraceTransfer, "delete block(%d)", 0);
    m_nBlockCounter = 1;
    SendFWMessageBlock(eFWCmdDeleteBlock, 0);
}

void TFirmwareDownload::InitiateFWSendBlock() {
    SetFWProgress(1, m_File.GetBlockCount() + 1, 0, 1);
    m_nRetry = 0;
    m_nBlockCounter = 0;
    m_StartTick = m_Clock.NowMs();
    SendFirmwareBlock(0);
}

void TFirmwareDownload::InitiateFWReset() {
    m_nRetry = 0;
    SendFWMessageBlock(eFWCmdReset, 0);
}

void TFirmwareDownload::InitiateFWKillFirmware(std::uint16_t which) {
    m_nRetry = 0;
    SendFWMessageBlock(eFWCmdKillFirmware, which);
}
