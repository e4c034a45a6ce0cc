#include "TTlnProg.h"

#include "TCommMessage.h"
#include "TDataTransferEngine.h"
#include "TransferDefs.h"
#include "TransferTrace.h"
#include "WindowMessages.h"

#include <algorithm>

const char* ProgResultName(std::uint32_t code) {
    switch (code) {
    case DEL_TLN_FAILED:
        return "DEL_TLN_FAILED";
    case PROG_FAILED:
        return "PROG_FAILED";
    case CANCEL_FAILED:
        return "CANCEL_FAILED";
    case RUECKMELDUNG_OK:
        return "RUECKMELDUNG_OK";
    case PROGQUIT_FAILED:
        return "PROGQUIT_FAILED";
    case PROGQUIT_OK:
        return "PROGQUIT_OK";
    case PROGMODEAKT_OK:
        return "PROGMODEAKT_OK";
    case TLNPROGAKT_OK:
        return "TLNPROGAKT_OK";
    case TLNPROGAKT_FAILED:
        return "TLNPROGAKT_FAILED";
    case TLNPROG_FEHLER:
        return "TLNPROG_FEHLER";
    case TLNPROG_PAS_OK:
        return "TLNPROG_PAS_OK";
    case SEND_FAILED:
        return "SEND_FAILED";
    case KBA_LIST_FAILED:
        return "KBA_LIST_FAILED";
    case KBA_LIST_EMPTY:
        return "KBA_LIST_EMPTY";
    case KBA_LIST_OK:
        return "KBA_LIST_OK";
    case BSMPROG_AKT:
        return "BSMPROG_AKT";
    case KBA_COUNT:
        return "KBA_COUNT";
    case KBA_COUNT_FAILED:
        return "KBA_COUNT_FAILED";
    case BSMPROG_PAS:
        return "BSMPROG_PAS";
    default:
        return "ERROR: UNDEFINED!";
    }
}

namespace {

bool IsValidState(int state) {
    return state >= eProgStateUndefined && state <= eProgStateBSM;
}

bool IsSubscriberState(int state) {
    return state == eProgStateBTLM || state == eProgStateBTLMVideo;
}

// Commands that carry a key index in byte 11.
bool HasIndex(std::uint8_t cmd) {
    return cmd == BSM_CODE_PROG || cmd == BTLM_CODE_PROG;
}

} // namespace

const char* ProgCmdName(std::uint8_t cmd) {
    switch (cmd) {
    case PROG_MODE_AKT:
        return "PROG_MODE_AKT";
    case PROG_MODE_PAS:
        return "PROG_MODE_PAS";
    case HT_PROG_PAS:
        return "HT_PROG_PAS";
    case PROG_QUITT:
        return "PROG_QUITT";
    case TLN_ADR_CLEAR:
        return "TLN_ADR_CLEAR";
    case HT_PROG_AKT:
        return "HT_PROG_AKT";
    case TL_PROG_AKT:
        return "TL_PROG_AKT";
    case TL_PROG_VIDEO:
        return "TL_PROG_VIDEO";
    case BSM_PROG_AKTIV:
        return "BSM_PROG_AKTIV";
    case IT_FEHLER:
        return "IT_FEHLER";
    case TASTE_PROG:
        return "TASTE_PROG";
    case PROG_KBA:
        return "PROG_KBA";
    case PROG_KBA_LIST:
        return "PROG_KBA_LIST";
    case BSM_CODE_PROG:
        return "BSM_CODE_PROG";
    case BTLM_CODE_PROG:
        return "BTLM_CODE_PROG";
    case ALL_TLN_ADR_CLEAR:
        return "ALL_TLN_ADR_CLEAR";
    case PROG_KBA_COUNT:
        return "PROG_KBA_COUNT";
    case PROG_KBA_COUNTER:
        return "PROG_KBA_COUNTER";
    case BSM_PROG_PASSIV:
        return "BSM_PROG_PASSIV";
    default:
        return "unknown";
    }
}

const char* ProgStateName(int state) {
    switch (state) {
    case eProgStateUndefined:
        return "eProgStateUndefined";
    case eProgStateKBARequest:
        return "eProgStateKBARequest";
    case eProgStateKBACount:
        return "eProgStateKBACount";
    case eProgStateAktiv:
        return "eProgStateAktiv";
    case eProgStateBTLM:
        return "eProgStateBTLM";
    case eProgStateBTLMVideo:
        return "eProgStateBTLMVideo";
    case eProgStateReturnToPrevState:
        return "eProgStateReturnToPrevState";
    case eProgStateProgTln:
        return "eProgStateProgTln";
    case eProgStateBSM:
        return "eProgStateBSM";
    default:
        return "DEFAULT == ERROR";
    }
}

TTlnProg::TTlnProg(TDataTransferEngine& engine) : m_Engine(engine) {}

// ---- State -----------------------------------------------------------------

void TTlnProg::SetProgMode(int newState) {
    TransferTrace(eTraceTlnProg, "SetProgMode(%d -> %d) m_eTempProgState(%d)", m_eProgState,
                  newState, m_eTempProgState);
    TransferTrace(eTraceTlnProg, "( %s ) ---> ( %s )", ProgStateName(m_eProgState),
                  ProgStateName(newState));
    if (!IsValidState(newState)) {
        TransferTrace(eTraceTlnProg, "     ERROR state (%d) refused", newState);
        return;
    }
    // The list and the count are short detours: the state to come back to is
    // the one they were entered from, never another detour or the return
    // request itself, so a count read during a list read still leads home.
    if ((newState == eProgStateKBARequest || newState == eProgStateKBACount) &&
        m_eProgState != eProgStateKBARequest && m_eProgState != eProgStateKBACount &&
        m_eProgState != eProgStateReturnToPrevState)
        m_eTempProgState = m_eProgState;
    if (newState == eProgStateReturnToPrevState)
        newState = m_eTempProgState;
    m_eProgState = static_cast<std::int8_t>(newState);
}

void TTlnProg::ReturnFromKBA() {
    if (m_eProgState == eProgStateKBARequest || m_eProgState == eProgStateKBACount)
        SetProgMode(eProgStateReturnToPrevState);
    else
        TransferTrace(eTraceTlnProg, "     state (%s) changed meanwhile: stays",
                      ProgStateName(m_eProgState));
}

// ---- Setters ---------------------------------------------------------------

void TTlnProg::SetTlnAdr(std::uint16_t adr) {
    TransferTrace(eTraceTlnProg, "SetTlnAdr(0x%04x)", adr);
    m_wAdrKomBus = adr;
}

void TTlnProg::SetTlnIdx(int idx) {
    TransferTrace(eTraceTlnProg, "SetTlnIdx(%d)", idx);
    m_nTlnIdx = idx;
}

void TTlnProg::SetBTLM(std::uint16_t adr) {
    TransferTrace(eTraceTlnProg, "SetBTLM(0x%04x)", adr);
    m_wAdrBTLM = adr;
}

void TTlnProg::SetBSG(std::uint16_t adr) {
    TransferTrace(eTraceTlnProg, "SetBSG(0x%04x)", adr);
    m_wAdrBSG = adr;
}

void TTlnProg::SetBSGKenniffer(std::uint16_t id) {
    TransferTrace(eTraceTlnProg, "SetBSGKenniffer(0x%04x)", id);
    m_wBSGKenniffer = id;
}

void TTlnProg::SetBSM(std::uint16_t adr, std::uint16_t relais) {
    TransferTrace(eTraceTlnProg, "SetBSM(0x%04x, %d)", adr, relais);
    m_wAdrBSM = adr;
    m_wBSMRelais = relais;
}

void TTlnProg::SetProgProt(std::uint8_t prot) {
    TransferTrace(eTraceTlnProg, "SetProgProt(%d)", prot);
    m_byProgProt = prot;
}

void TTlnProg::SetKBACounter(std::uint16_t count) {
    TransferTrace(eTraceTlnProg, "SetKBACounter(%d)", count);
    m_wKBACount = count;
}

// ---- Free-address list -----------------------------------------------------

void TTlnProg::ResetKBA() {
    m_awKBA.fill(0);
}

bool TTlnProg::SetKBA(int idx, std::uint16_t adr) {
    if (idx < 0 || idx >= MAX_ANZ_TLN) {
        TransferTrace(eTraceTlnProg, "     ERROR SetKBA idx (%d) outside the list", idx);
        return false;
    }
    m_awKBA[static_cast<std::size_t>(idx)] = adr;
    return true;
}

std::uint16_t TTlnProg::GetKBA(int idx) const {
    if (idx < 0 || idx >= MAX_ANZ_TLN)
        return 0;
    return m_awKBA[static_cast<std::size_t>(idx)];
}

int TTlnProg::GetAnzKBA() const {
    return static_cast<int>(
        std::count_if(m_awKBA.begin(), m_awKBA.end(), [](std::uint16_t a) { return a != 0; }));
}

bool TTlnProg::DelKBA(std::uint16_t adr) {
    if (adr == 0)
        return false;
    const auto it = std::find(m_awKBA.begin(), m_awKBA.end(), adr);
    if (it == m_awKBA.end())
        return false;
    *it = 0;
    return true;
}

bool TTlnProg::AddKBA(std::uint16_t adr) {
    if (adr == 0)
        return false;
    const auto it = std::find(m_awKBA.begin(), m_awKBA.end(), std::uint16_t{0});
    if (it == m_awKBA.end())
        return false;
    *it = adr;
    ++m_wKBACount;
    return true;
}

// ---- Sending ---------------------------------------------------------------

void TTlnProg::SendMsgToOwner(std::uint32_t code, std::intptr_t wParam, std::intptr_t lParam) {
    TransferTrace(eTraceTlnProg, "<TDataTransfer::SendMsgToOwner> nCode(%u)", code);
    TransferTrace(eTraceTlnProg, "     %s", ProgResultName(code));
    if (!m_pResultOwner) {
        TransferTrace(eTraceTlnProg, "     ERROR no main window: result (%u) not reported", code);
        return;
    }
    m_pResultOwner->OnProgResult(TProgResult{code, wParam, lParam});
}

void TTlnProg::DumpProgMsg(const TTkDataMsg& msg) const {
    const std::uint8_t cmd = msg.GetCmd();
    TransferTrace(eTraceTlnProg,
                  "     MSG: cmd( %s ) prot(0x%02x) cmd(0x%02x) BSG(0x%04x) BTLM(0x%04x) "
                  "KBA(0x%04x) FehlerMode(%d) FehlerTyp(%d)",
                  ProgCmdName(cmd), msg.GetProt(), cmd, msg.GetAdrBSG(), msg.GetAdrBTLM(),
                  msg.GetAdrKomBus(), msg.GetFehlerMode(), msg.GetFehlerTyp());
}

bool TTlnProg::SendKBProg(std::uint8_t cmd, std::uint16_t adr1, std::uint16_t adr2,
                          std::uint32_t timeoutMs, std::uint8_t idx,
                          std::function<void(bool)> onDone) {
    TransferTrace(eTraceTlnProg,
                  "<TDataTransfer::SendKBProg> prot(0x%02x) cmd(0x%02x) wAdr1(0x%04x) "
                  "wAdr2(0x%04x) timeout (%u) bIdx (%d)",
                  m_byProgProt, cmd, adr1, adr2, timeoutMs, idx);
    TCommMessage msg(m_byProgProt, cmd, adr1, adr2);
    if (HasIndex(cmd))
        msg.SetIndex(idx);
    msg.Dump();
    DumpProgMsg(msg);
    // A command that waits for no answer may follow another at once; on the
    // bus it waits until the one under way is through instead of cutting it
    // short.
    const bool ok =
        timeoutMs ? m_Engine.SendDataToPort(msg.GetBuffer(), msg.GetLen(), timeoutMs)
                  : m_Engine.QueueDataToPort(msg.GetBuffer(), msg.GetLen(), std::move(onDone));
    if (!ok) {
        TransferTrace(eTraceTlnProg, "     ERROR SendDataToPort return false");
        if (!timeoutMs && m_Engine.IsRunning())
            m_Engine.SetResult(0);
    }
    return ok;
}

std::function<void(bool)> TTlnProg::KeyProgDone() {
    return [this, alive = std::weak_ptr<int>(m_pAlive)](bool delivered) {
        if (alive.expired())
            return;
        if (!delivered)
            TransferTrace(eTraceTlnProg, "     ERROR key command did not reach the box");
        SendMsgToOwner(delivered ? RUECKMELDUNG_OK : SEND_FAILED);
    };
}

// ---- Commands --------------------------------------------------------------

void TTlnProg::InitiateDelTln() {
    if (!m_wAdrKomBus) {
        SendMsgToOwner(DEL_TLN_FAILED);
        return;
    }
    TransferTrace(eTraceTlnProg, "     < TLN_ADR_CLEAR");
    if (!SendKBProg(TLN_ADR_CLEAR, m_wAdrKomBus, 0, 0, 0))
        SendMsgToOwner(SEND_FAILED);
}

void TTlnProg::InitiateDelAllTln() {
    TransferTrace(eTraceTlnProg, "     < ALL_TLN_ADR_CLEAR");
    if (!SendKBProg(ALL_TLN_ADR_CLEAR, 0, 0, 0, 0))
        SendMsgToOwner(SEND_FAILED);
}

void TTlnProg::InitiateProgAkt() {
    // A first assignment leaves the address to the box's free list; a
    // refused command must not take one from it.
    const bool ready = IsSubscriberState(m_eProgState) && m_wAdrBSG && m_wAdrBTLM;
    if (ready && !m_wAdrKomBus) {
        const auto it =
            std::find_if(m_awKBA.begin(), m_awKBA.end(), [](std::uint16_t a) { return a != 0; });
        if (it != m_awKBA.end()) {
            TransferTrace(eTraceTlnProg, "KBAList: SetTlnAdr(0x%04x)", *it);
            SetTlnAdr(*it);
        }
    }
    if (!ready || !m_wAdrKomBus) {
        SendMsgToOwner(PROG_FAILED);
        return;
    }
    TransferTrace(eTraceTlnProg, "     < HT_PROG_AKT");
    if (!SendKBProg(HT_PROG_AKT, m_wAdrKomBus, 0, 0, 0)) {
        SendMsgToOwner(SEND_FAILED);
        return;
    }
    m_wAdrProgAkt = m_wAdrKomBus;
    m_wQuittAdr = 0;
    SetProgMode(eProgStateProgTln);
}

void TTlnProg::InitiateProgPassiv() {
    std::uint16_t adr = m_wAdrKomBus;
    if (!adr && m_wAdrProgAkt) {
        TransferTrace(eTraceTlnProg, "     address of HT_PROG_AKT (0x%04x)", m_wAdrProgAkt);
        adr = m_wAdrProgAkt;
    }
    if (m_eProgState == eProgStateUndefined || !m_wAdrBSG || !m_wAdrBTLM || !adr) {
        SendMsgToOwner(CANCEL_FAILED);
        return;
    }
    TransferTrace(eTraceTlnProg, "     < HT_PROG_PASSIV");
    if (!SendKBProg(HT_PROG_PAS, m_wAdrBSG, adr, 0, 0)) {
        SendMsgToOwner(SEND_FAILED);
        return;
    }
    m_wAdrProgAkt = 0;
    SetProgMode(eProgStateAktiv);
}

void TTlnProg::InitiateProgBTLM() {
    if (!IsSubscriberState(m_eProgState) || !m_wAdrBSG || !m_wAdrKomBus || !m_wAdrBTLM) {
        SendMsgToOwner(PROG_FAILED);
        return;
    }
    TransferTrace(eTraceTlnProg, "     < HT_PROG_AKT");
    if (!SendKBProg(HT_PROG_AKT, m_wAdrKomBus, 0, 0, 0))
        SendMsgToOwner(SEND_FAILED);
}

void TTlnProg::InitiateBTLMTasteProg(std::uint16_t adr, std::uint8_t idx) {
    if (!IsSubscriberState(m_eProgState) || !m_wAdrBSG || !adr || !m_wAdrKomBus) {
        SendMsgToOwner(PROG_FAILED);
        return;
    }
    TransferTrace(eTraceTlnProg, "     < BTLM_CODE_PROG");
    if (!SendKBProg(BTLM_CODE_PROG, adr, m_wAdrKomBus, 0, idx, KeyProgDone()))
        SendMsgToOwner(SEND_FAILED);
}

void TTlnProg::InitiateBSMTasteProg(std::uint16_t adr, std::uint8_t idx) {
    if (m_eProgState != eProgStateBSM || !m_wAdrBSG || !adr || !m_wAdrKomBus) {
        SendMsgToOwner(PROG_FAILED);
        return;
    }
    TransferTrace(eTraceTlnProg, "     < BSM_CODE_PROG");
    if (!SendKBProg(BSM_CODE_PROG, adr, m_wAdrKomBus, 0, idx, KeyProgDone()))
        SendMsgToOwner(SEND_FAILED);
}

void TTlnProg::StartKBARequest() {
    if (ITransferView* view = m_Engine.GetView()) {
        view->SetProgressRange(0, 100, 1);
        view->SetProgressTimer(true);
    }
    ResetKBA();
}

bool TTlnProg::InitiateProgKBA() {
    StartKBARequest();
    TransferTrace(eTraceTlnProg, "     < PROG_KBA");
    if (!SendKBProg(PROG_KBA, m_wKBACount, 0, kTimeoutKBAListMs, 0)) {
        if (ITransferView* view = m_Engine.GetView())
            view->SetProgressTimer(false);
        SendMsgToOwner(SEND_FAILED);
        return false;
    }
    SetProgMode(eProgStateKBARequest);
    return true;
}

bool TTlnProg::InitiateKBACount() {
    StartKBARequest();
    TransferTrace(eTraceTlnProg, "     < PROG_KBA_COUNT");
    if (!SendKBProg(PROG_KBA_COUNT, 0, 0, kTimeoutKBACountMs, 0)) {
        if (ITransferView* view = m_Engine.GetView())
            view->SetProgressTimer(false);
        SendMsgToOwner(SEND_FAILED);
        return false;
    }
    SetProgMode(eProgStateKBACount);
    return true;
}

// ---- Received messages -----------------------------------------------------

void TTlnProg::WorkOnProgData(const TTkDataMsg* pMsg) {
    if (pMsg && !IsProgMessage(pMsg))
        return;
    if (pMsg) {
        TransferTrace(eTraceTlnProg, "<TDataTransfer::WorkOnProgData> pMsg (%p)",
                      static_cast<const void*>(pMsg));
        DumpProgMsg(*pMsg);
    } else {
        TransferTrace(eTraceTlnProg, "<TDataTransfer::WorkOnProgData> pMsg (NULL)");
    }
    if (WorkOnFehler(pMsg) || WorkOnProgAkt(pMsg) || WorkOnProgPas(pMsg))
        return;

    // The list and count runs are answered by their own handlers whatever
    // the box did to the state meanwhile, so each run ends once; outside
    // those runs a time-out belongs to another exchange.
    if (m_Engine.IsRunning() && m_Engine.GetMode() == eReceiveKBAList) {
        WorkOnKBARequest(pMsg);
        return;
    }
    if (m_Engine.IsRunning() && m_Engine.GetMode() == eReceiveKBACount) {
        WorkOnKBACount(pMsg);
        return;
    }
    switch (m_eProgState) {
    case eProgStateKBARequest:
    case eProgStateKBACount:
        WorkOnStaleKBA(pMsg);
        break;
    case eProgStateAktiv:
    case eProgStateBTLM:
    case eProgStateBTLMVideo:
    case eProgStateBSM:
        WorkOnAktiv(pMsg);
        break;
    case eProgStateProgTln:
        WorkOnProgTln(pMsg);
        break;
    default:
        break;
    }
}

bool TTlnProg::WorkOnFehler(const TTkDataMsg* pMsg) {
    if (!pMsg || pMsg->GetCmd() != IT_FEHLER)
        return false;
    TransferTrace(eTraceTlnProg, "     > IT_FEHLER");
    SendMsgToOwner(TLNPROG_FEHLER, pMsg->GetFehlerMode(), pMsg->GetFehlerTyp());
    return true;
}

bool TTlnProg::WorkOnProgAkt(const TTkDataMsg* pMsg) {
    if (!pMsg || pMsg->GetCmd() != PROG_MODE_AKT || pMsg->GetAdrBSG() == 0)
        return false;
    TransferTrace(eTraceTlnProg, "     > PROG_MODE_AKT");
    SetBSG(pMsg->GetAdrBSG());
    SetProgMode(eProgStateAktiv);
    SetBSGKenniffer(pMsg->GetBSGKenniffer());
    SendMsgToOwner(PROGMODEAKT_OK);
    return true;
}

bool TTlnProg::WorkOnProgPas(const TTkDataMsg* pMsg) {
    if (!pMsg || pMsg->GetCmd() != PROG_MODE_PAS)
        return false;
    TransferTrace(eTraceTlnProg, "     > PROG_MODE_PAS");
    SetProgMode(eProgStateUndefined);
    SetBSG(0);
    SetBTLM(0);
    SetBSM(0, 0);
    m_wAdrProgAkt = 0;
    SendMsgToOwner(TLNPROG_PAS_OK);
    return true;
}

void TTlnProg::WorkOnAktiv(const TTkDataMsg* pMsg) {
    if (!pMsg)
        return;
    switch (pMsg->GetCmd()) {
    case TL_PROG_AKT:
    case TL_PROG_VIDEO: {
        const bool video = pMsg->GetCmd() == TL_PROG_VIDEO;
        TransferTrace(eTraceTlnProg, video ? "     > TL_PROG_VIDEO" : "     > TL_PROG_AKT");
        const std::uint16_t adr = pMsg->GetAdrBTLM();
        if (!adr) {
            SendMsgToOwner(TLNPROGAKT_FAILED);
            break;
        }
        SetBTLM(adr);
        SetProgMode(video ? eProgStateBTLMVideo : eProgStateBTLM);
        m_bVideo = video;
        SendMsgToOwner(TLNPROGAKT_OK);
        break;
    }
    case BSM_PROG_AKTIV:
        TransferTrace(eTraceTlnProg, "     > BSM_PROG_AKTIV");
        if (pMsg->GetAdrBSM()) {
            SetBSM(pMsg->GetAdrBSM(), pMsg->GetBSMRelais());
            SetProgMode(eProgStateBSM);
            SendMsgToOwner(BSMPROG_AKT);
        }
        break;
    case BSM_PROG_PASSIV:
        TransferTrace(eTraceTlnProg, "     > BSM_PROG_PASSIV");
        SetBSM(0, 0);
        SetProgMode(eProgStateAktiv);
        SendMsgToOwner(BSMPROG_PAS);
        break;
    default:
        break;
    }
}

void TTlnProg::WorkOnProgTln(const TTkDataMsg* pMsg) {
    if (pMsg && pMsg->GetCmd() != PROG_QUITT)
        return;
    // The state is back before the result goes out: the dialogs read it
    // while they handle the result.
    const int back = m_bVideo ? eProgStateBTLMVideo : eProgStateBTLM;
    if (!pMsg) {
        TransferTrace(eTraceTlnProg, "     TIMEOUT");
        SetProgMode(back);
        SendMsgToOwner(PROGQUIT_FAILED);
        return;
    }
    TransferTrace(eTraceTlnProg, "     > PROG_QUITT");
    const std::uint16_t adr = pMsg->GetAdrKomBus();
    if (!adr || !m_wAdrKomBus) {
        SetProgMode(back);
        SendMsgToOwner(PROGQUIT_FAILED);
        return;
    }
    m_wQuittAdr = adr;
    DelKBA(m_wAdrKomBus);
    m_wAdrProgAkt = 0;
    SetProgMode(back);
    SendMsgToOwner(PROGQUIT_OK);
}

void TTlnProg::EndKBARun() {
    if (ITransferView* view = m_Engine.GetView()) {
        view->SetProgressTimer(false);
        view->SetProgressToEnd();
    }
    m_Engine.SendKonfigEnde();
    // The run ran its course; the result message tells what came of it.
    m_Engine.SetResult(1);
}

void TTlnProg::WorkOnKBACount(const TTkDataMsg* pMsg) {
    if (pMsg && pMsg->GetCmd() != PROG_KBA_COUNTER)
        return;
    ReturnFromKBA();
    if (!pMsg) {
        TransferTrace(eTraceTlnProg, "     TIMEOUT");
        SendMsgToOwner(KBA_COUNT_FAILED);
    } else {
        TransferTrace(eTraceTlnProg, "     > PROG_KBA_COUNTER");
        // Too short to hold a count: no count at all, not a made-up one.
        if (pMsg->GetLen() >= kKbaCounterMinLen && pMsg->GetKBAAnswer() == eEvConfAck) {
            m_wKBACount = pMsg->GetKBACount();
            TransferTrace(eTraceTlnProg, "     > eEvConfAck count(%d)", m_wKBACount);
            SendMsgToOwner(KBA_COUNT);
        } else {
            TransferTrace(eTraceTlnProg, "     > eEvConfNak count(0)");
            m_wKBACount = 0;
            SendMsgToOwner(KBA_COUNT_FAILED);
        }
    }
    EndKBARun();
}

void TTlnProg::WorkOnKBARequest(const TTkDataMsg* pMsg) {
    if (pMsg && pMsg->GetCmd() != PROG_KBA_LIST)
        return;
    ReturnFromKBA();
    if (!pMsg) {
        TransferTrace(eTraceTlnProg, "     TIMEOUT");
        SendMsgToOwner(KBA_LIST_FAILED);
        EndKBARun();
        return;
    }
    TransferTrace(eTraceTlnProg, "     > PROG_KBA_LIST");
    std::uint16_t len = 0;
    const std::uint8_t* list = pMsg->GetKBAList(len);
    ResetKBA();
    if (list && len) {
        // The bus has room for 31 subscribers; a longer list from the box
        // is cut there rather than written past the table.
        constexpr std::uint16_t kMaxBytes = 2 * MAX_ANZ_TLN;
        if (len > kMaxBytes) {
            TransferTrace(eTraceTlnProg, "     ERROR list of %d bytes cut to %d", len, kMaxBytes);
            len = kMaxBytes;
        }
        // Half an address is no address.
        if (len % 2) {
            TransferTrace(eTraceTlnProg, "     ERROR odd list length (%d): last byte dropped", len);
            --len;
        }
        for (int i = 0; i < len / 2; ++i)
            m_awKBA[static_cast<std::size_t>(i)] =
                static_cast<std::uint16_t>(256 * list[2 * i] + list[2 * i + 1]);
    }
    SendMsgToOwner(GetAnzKBA() ? KBA_LIST_OK : KBA_LIST_EMPTY);
    EndKBARun();
}

void TTlnProg::WorkOnStaleKBA(const TTkDataMsg* pMsg) {
    // The list or count request is over without its answer (its run was
    // ended another way). Its state is left, quietly: a time-out here
    // belongs to another exchange and reports nothing.
    TransferTrace(eTraceTlnProg, "     no free-address run: state (%s) left",
                  ProgStateName(m_eProgState));
    ReturnFromKBA();
    if (!pMsg)
        return;
    const std::uint8_t cmd = pMsg->GetCmd();
    if (cmd == PROG_KBA_LIST || cmd == PROG_KBA_COUNTER) {
        TransferTrace(eTraceTlnProg, "     late %s ignored", ProgCmdName(cmd));
        return;
    }
    if (m_eProgState != eProgStateKBARequest && m_eProgState != eProgStateKBACount)
        WorkOnProgData(pMsg);
}

// ---- Resets ----------------------------------------------------------------

void TTlnProg::ResetProgData() {
    TransferTrace(eTraceTlnProg, "<TDataTransfer::ResetProgData>");
    // A run still going is ended by its own path; only an idle controller
    // is set back here.
    if (!m_Engine.IsRunning()) {
        m_Engine.StopTransferTimer();
        m_Engine.SetMode(eTransferIdle);
    }
    m_eProgState = eProgStateUndefined;
    m_eTempProgState = eProgStateUndefined;
    m_wAdrBSG = 0;
    m_wAdrBTLM = 0;
    m_wAdrKomBus = 0;
    m_nTlnIdx = 0;
    m_wQuittAdr = 0;
    m_wBSGKenniffer = 0;
    m_wKBACount = 0;
    m_wAdrProgAkt = 0;
}

void TTlnProg::OnPortChanged() {
    TransferTrace(eTraceTlnProg, "     port changed: %s", ProgStateName(eProgStateUndefined));
    m_eProgState = eProgStateUndefined;
}
