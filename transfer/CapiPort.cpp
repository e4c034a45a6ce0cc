#include "CapiPort.h"

#include "TransferTrace.h"

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <system_error>

namespace {

using P = CapiParam;

// CONNECT_RESP Reject 1: leave the call to another application.
constexpr std::uint16_t kRejectIgnore = 1;
// CONNECT_B3_RESP Reject 2: refuse a B3 connection we know nothing of.
constexpr std::uint16_t kRejectB3 = 2;

// Offsets in a DATA_B3_IND: NCCI, Data, DataLength, DataHandle.
constexpr std::size_t kDataB3IndNcci = 8;
constexpr std::size_t kDataB3IndHandle = 18;
constexpr std::size_t kDataB3IndMinLen = 20;

std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

const char* PostName(std::uint32_t id) {
    switch (id) {
    case CAPIPORT_CONNECT:
        return "CAPIPORT_CONNECT";
    case CAPIPORT_CONNECT_ACTIVE:
        return "CAPIPORT_CONNECT_ACTIVE";
    case CAPIPORT_DISCONNECT:
        return "CAPIPORT_DISCONNECT";
    case CAPIPORT_DATA:
        return "CAPIPORT_DATA";
    case CAPIPORT_DATA_SENT:
        return "CAPIPORT_DATA_SENT";
    default:
        return nullptr;
    }
}

} // namespace

CapiPort::CapiPort(CapiPortOwner& owner, std::string libraryName) : m_Owner(owner) {
    for (auto& slot : m_Slots)
        slot = std::make_unique<CapiConnection>(static_cast<CapiConnectionHost&>(*this));

    std::string error;
    if (!m_Lib.Load(libraryName, &error)) {
        TransferTrace(eTraceCapiPort, "<CapiPort::CapiPort> No %s found! (%s)", libraryName.c_str(),
                      error.c_str());
        m_Owner.OnCapiUnavailable(CapiUnavailable::LibraryMissing, libraryName, 0);
        return;
    }
    const unsigned ret = RegisterApplication();
    if (!IsRegistered()) {
        TransferTrace(eTraceCapiPort, "<CapiPort::CapiPort> CAPI register failed (0x%04X)", ret);
        m_Owner.OnCapiUnavailable(CapiUnavailable::RegisterFailed, libraryName, ret);
        return;
    }
    m_bRunning = true;
    try {
        m_Thread = std::thread(&CapiPort::CapiTask, this);
        TransferTrace(eTraceCapiPort, "<CapiPort::CapiPort> CreateThread");
    } catch (const std::system_error&) {
        // Without the thread nothing would ever be received: the port stays
        // unusable rather than half working.
        TransferTrace(eTraceCapiPort, "<CapiPort::CapiPort> CreateThread failed");
        m_bRunning = false;
        m_Lib.Release(m_dwApplID);
        m_dwApplID = 0;
        m_Owner.OnCapiUnavailable(CapiUnavailable::ThreadFailed, libraryName, 0);
    }
}

CapiPort::~CapiPort() {
    {
        std::lock_guard<std::mutex> lock(m_StopLock);
        m_bRunning = false;
    }
    m_StopCv.notify_all();
    if (m_Thread.joinable())
        m_Thread.join();
    if (m_dwApplID != 0) {
        m_Lib.Release(m_dwApplID);
        TransferTrace(eTraceCapiPort, "CAPIREL (%u)", m_dwApplID);
        m_dwApplID = 0;
    }
    for (auto& slot : m_Slots)
        slot.reset();
    m_Lib.Unload();
}

unsigned CapiPort::RegisterApplication() {
    unsigned char manufacturer[mox::platform::kCapiManufacturerLen] = {};
    if (m_Lib.GetManufacturer(0, manufacturer))
        std::memcpy(m_szManufacturer, manufacturer, sizeof(m_szManufacturer) - 1);
    unsigned char version[mox::platform::kCapiVersionLen] = {};
    if (m_Lib.GetVersion(0, version))
        std::memcpy(m_adwVersion, version, sizeof(m_adwVersion));
    // Formatted in full, then cut to the 63 characters the text holds.
    char text[160];
    std::snprintf(text, sizeof(text), "CAPI: %ld.%ld - Release: %ld.%ld Manufacturer: %s",
                  static_cast<long>(m_adwVersion[0]), static_cast<long>(m_adwVersion[1]),
                  static_cast<long>(m_adwVersion[2]), static_cast<long>(m_adwVersion[3]),
                  m_szManufacturer);
    const size_t n = std::min(std::strlen(text), sizeof(m_szVersion) - 1);
    std::memcpy(m_szVersion, text, n);
    m_szVersion[n] = '\0';
    TransferTrace(eTraceCapiPort, "<CapiPort::RegisterApplication> %s", m_szVersion);

    // The Linux library takes no message buffer size (it sizes its own
    // receive buffers); CAPI_MSG_BUFFER_SIZE is not passed.
    unsigned applId = 0;
    const unsigned ret = m_Lib.Register(CAPI_MAX_LOGICAL_CONNECTIONS, CAPI_MAX_B3_BLOCKS,
                                        CAPI_MAX_B3_BLOCK_LEN, &applId);
    TransferTrace(eTraceCapiPort, "CAPIREG (%u) dwRet(0x%x)", applId, ret);
    if (ret == 0 && applId != 0)
        m_dwApplID = applId;
    return ret;
}

// ---- Receive thread ---------------------------------------------------------

void CapiPort::CapiTask() {
    TransferTrace(eTraceCapiPort, "Start CapiTask");
    while (m_bRunning.load()) {
        // The wait ends after CAPI_RECEIVE_WAIT_MS at the latest, so a stop
        // request is seen without the application being released under it.
        timeval timeout{0, static_cast<suseconds_t>(CAPI_RECEIVE_WAIT_MS) * 1000};
        const unsigned waited = m_Lib.WaitForMessage(m_dwApplID, &timeout);
        if (waited == CAPI_ILLAPPNR)
            break;
        bool fetched = false;
        while (m_bRunning.load()) {
            unsigned char* raw = nullptr;
            const unsigned ret = m_Lib.GetMessage(m_dwApplID, &raw);
            if (ret == CAPI_NOERROR) {
                fetched = true;
                HandleReceived(raw);
            } else if (ret == CAPI_RECEIVE_OVERFLOW) {
                // A message was lost before this one; this one still counts.
                TransferTrace(eTraceCapiPort, "LOST");
                fetched = true;
                HandleReceived(raw);
            } else if (ret == CAPI_ILLAPPNR) {
                m_bRunning = false;
            } else {
                break; // queue empty, or an error treated as such
            }
        }
        if (!fetched && waited != CAPI_NOERROR && waited != CAPI_RECEIVE_QUEUE_EMPTY) {
            // A library whose wait fails at once must not make this a busy
            // loop; a stop request still ends the pause at once.
            std::unique_lock<std::mutex> lock(m_StopLock);
            m_StopCv.wait_for(lock, std::chrono::milliseconds(CAPI_RECEIVE_WAIT_MS),
                              [this] { return !m_bRunning.load(); });
        }
    }
    m_bRunning = false;
    TransferTrace(eTraceCapiPort, "End CapiTask");
}

void CapiPort::HandleReceived(const std::uint8_t* raw) {
    if (!raw)
        return;
    // The library hands a pointer without a length: the message's own total
    // length is all there is, and Parse checks everything inside against it.
    const std::size_t total = ReadU16(raw);
    CapiMessage msg;
    if (!msg.ParseCopy(raw, total)) {
        TransferTrace(eTraceCapiPort, "PARSE ERROR");
        AnswerUnparsed(raw, total);
        return;
    }
    TransferTrace(eTraceCapi, "<CapiPort::HandleReceived> %s_%s%s",
                  CapiMessage::CommandName(msg.GetCommand()),
                  CapiMessage::SubCommandName(msg.GetSubCommand()), msg.Dump().c_str());
    Route(msg);
}

void CapiPort::AnswerUnparsed(const std::uint8_t* raw, std::size_t len) {
    if (len < kDataB3IndMinLen || len > CAPI_MSG_SIZE || raw[4] != eCapiDataB3 ||
        raw[5] != eCapiInd)
        return;
    std::lock_guard<std::mutex> lock(m_PortLock);
    CapiMessage resp;
    resp.Init(eCapiDataB3, eCapiResp);
    resp.SetMsgNr(ReadU16(raw + 6));
    resp.Set(P::NCCI, ReadU32(raw + kDataB3IndNcci));
    resp.Set(P::DataHandle, ReadU16(raw + kDataB3IndHandle));
    PutMessage(resp);
}

void CapiPort::Route(const CapiMessage& msg) {
    std::lock_guard<std::mutex> lock(m_PortLock);
    CapiConnection* slot = nullptr;
    if (msg.Is(eCapiConnect, eCapiInd)) {
        slot = AllocSlot();
        if (!slot) {
            TransferTrace(eTraceCapiPort, "<CapiPort::Route> CONNECT_IND without a free instance");
            AnswerUnrouted(msg);
            return;
        }
    } else {
        slot = FindSlot(msg);
    }
    if (!slot) {
        TransferTrace(eTraceCapiPort, "<CapiPort::Route> no instance for %s_%s",
                      CapiMessage::CommandName(msg.GetCommand()),
                      CapiMessage::SubCommandName(msg.GetSubCommand()));
        AnswerUnrouted(msg);
        return;
    }
    {
        std::lock_guard<std::mutex> slotLock(slot->SlotLock());
        slot->HandleCapiMessage(msg);
    }
    ReleaseIfIdle(*slot);
}

CapiConnection* CapiPort::FindSlot(const CapiMessage& msg) {
    auto find = [this](auto pred) -> CapiConnection* {
        for (auto& slot : m_Slots)
            if (!slot->IsFree() && pred(*slot))
                return slot.get();
        return nullptr;
    };
    if (msg.Is(eCapiConnect, eCapiConf)) {
        const std::uint16_t nr = msg.GetMsgNr();
        return find([nr](CapiConnection& c) {
            return c.GetStateNumber() == eCapiStateWaitConnectConf && !c.m_LastRequest.IsEmpty() &&
                   c.m_LastRequest.GetMsgNr() == nr;
        });
    }
    if (msg.Is(eCapiListen, eCapiConf)) {
        const auto ctrl = static_cast<std::uint32_t>(msg.Get(P::Controller)) & 0x7F;
        return find([ctrl](CapiConnection& c) {
            return c.GetStateNumber() == eCapiStateListenSent && (c.m_dwController & 0x7F) == ctrl;
        });
    }
    if (msg.Is(eCapiConnectB3, eCapiInd)) {
        // The far end opens B3 on a call that is up, again after it cleared
        // one and maybe under a new NCCI: the connected call of its PLCI
        // takes it, else the first connected one.
        const std::uint32_t plci = static_cast<std::uint32_t>(msg.Get(P::NCCI)) & 0xFFFF;
        if (CapiConnection* c =
                find([plci](CapiConnection& s) { return s.m_bConnected && s.m_dwPLCI == plci; }))
            return c;
        return find([](CapiConnection& s) { return s.m_bConnected; });
    }
    if (msg.Has(P::NCCI)) {
        // A connection learns its NCCI from CONNECT_B3_CONF, which therefore
        // carries an NCCI no slot knows yet, and forgets it when B3 ends:
        // match by the PLCI part in a slot that has no NCCI of its own.
        const auto ncci = static_cast<std::uint32_t>(msg.Get(P::NCCI));
        if (CapiConnection* c =
                find([ncci](CapiConnection& s) { return ncci && s.m_dwNCCI == ncci; }))
            return c;
        const std::uint32_t plci = ncci & 0xFFFF;
        return find([plci](CapiConnection& s) {
            return s.m_dwNCCI == 0 && s.m_dwPLCI != 0 && s.m_dwPLCI == plci;
        });
    }
    if (msg.Has(P::PLCI)) {
        const auto plci = static_cast<std::uint32_t>(msg.Get(P::PLCI));
        return find([plci](CapiConnection& s) { return plci && s.m_dwPLCI == plci; });
    }
    if (msg.Has(P::Controller)) {
        const auto ctrl = static_cast<std::uint32_t>(msg.Get(P::Controller)) & 0x7F;
        return find([ctrl](CapiConnection& s) { return (s.m_dwController & 0x7F) == ctrl; });
    }
    return nullptr;
}

void CapiPort::AnswerUnrouted(const CapiMessage& ind) {
    if (ind.GetSubCommand() != eCapiInd || ind.GetCommand() == eCapiManufacturer)
        return;
    CapiMessage resp;
    resp.Init(ind.GetCommand(), eCapiResp);
    resp.SetMsgNr(ind.GetMsgNr());
    resp.SetAddress(ind.GetAddress());
    switch (ind.GetCommand()) {
    case eCapiConnect:
        resp.Set(P::Reject, kRejectIgnore);
        for (int i = 0; i < 5; ++i) // B protocol, connected number, subaddress, LLC, info
            resp.AppendEmptyStruct();
        break;
    case eCapiConnectB3:
        resp.Set(P::Reject, kRejectB3);
        resp.AppendEmptyStruct(); // NCPI
        break;
    case eCapiDataB3:
        resp.Set(P::DataHandle, ind.Get(P::DataHandle));
        break;
    case eCapiFacility:
        resp.Set(P::FacilitySelector, ind.Get(P::FacilitySelector));
        resp.AppendEmptyStruct();
        break;
    default:
        break;
    }
    PutMessage(resp);
}

CapiConnection* CapiPort::AllocSlot() {
    for (std::size_t i = 0; i < m_Slots.size(); ++i) {
        if (m_Slots[i]->IsFree()) {
            const auto instance = static_cast<std::uint16_t>(i + 1);
            m_Slots[i]->Reset(instance);
            TransferTrace(eTraceCapiPort, "CREINST (%u)(%d)", m_dwApplID, instance);
            return m_Slots[i].get();
        }
    }
    return nullptr;
}

CapiConnection* CapiPort::FindInstance(int instance) {
    for (auto& slot : m_Slots)
        if (!slot->IsFree() && slot->GetInstance() == instance)
            return slot.get();
    TransferTrace(eTraceCapiPort, "DON'T PANIC! user-msg with no instance.");
    return nullptr;
}

bool CapiPort::ReleaseIfIdle(CapiConnection& slot) {
    if (slot.IsFree() || slot.GetStateNumber() != eCapiStateIdle)
        return false;
    TransferTrace(eTraceCapiPort, "FREINST (%u)(%d)", m_dwApplID, slot.GetInstance());
    slot.Reset(0);
    return true;
}

// ---- Operations -------------------------------------------------------------

int CapiPort::RunAppEvent(CapiConnection& slot, const CapiAppEvent& ev) {
    {
        std::lock_guard<std::mutex> slotLock(slot.SlotLock());
        slot.HandleAppEvent(ev);
    }
    return ReleaseIfIdle(slot) ? CAPIPORT_ERR_INSTANCE : 0;
}

int CapiPort::Connect(const CapiCallInfo& info) {
    if (!IsRegistered())
        return CAPIPORT_ERR_NOT_REGISTERED;
    std::lock_guard<std::mutex> lock(m_PortLock);
    CapiConnection* slot = AllocSlot();
    if (!slot)
        return CAPIPORT_ERR_NO_SLOT;
    const int instance = slot->GetInstance();
    CapiAppEvent ev;
    ev.id = CAPIPORT_CONNECT;
    ev.pCallInfo = &info;
    return RunAppEvent(*slot, ev) == 0 ? instance : CAPIPORT_ERR_INSTANCE;
}

int CapiPort::Listen(const CapiCallInfo& info) {
    if (!IsRegistered())
        return CAPIPORT_ERR_NOT_REGISTERED;
    std::lock_guard<std::mutex> lock(m_PortLock);
    CapiConnection* slot = AllocSlot();
    if (!slot)
        return CAPIPORT_ERR_NO_SLOT;
    const int instance = slot->GetInstance();
    CapiAppEvent ev;
    ev.id = CAPIPORT_LISTEN;
    ev.pCallInfo = &info;
    return RunAppEvent(*slot, ev) == 0 ? instance : CAPIPORT_ERR_INSTANCE;
}

int CapiPort::SendData(int instance, std::uint32_t len, const std::uint8_t* data) {
    if (!IsRegistered())
        return CAPIPORT_ERR_NOT_REGISTERED;
    std::lock_guard<std::mutex> lock(m_PortLock);
    CapiConnection* slot = FindInstance(instance);
    if (!slot)
        return CAPIPORT_ERR_INSTANCE;
    slot->m_nPendingSendLen = CAPIPORT_ERR_INSTANCE;
    CapiAppEvent ev;
    ev.id = CAPIPORT_DATA;
    ev.pData = data;
    ev.dwLen = len;
    const std::int32_t pending = [&] {
        std::lock_guard<std::mutex> slotLock(slot->SlotLock());
        slot->HandleAppEvent(ev);
        return slot->m_nPendingSendLen;
    }();
    ReleaseIfIdle(*slot);
    return pending;
}

int CapiPort::Disconnect(int instance) {
    if (!IsRegistered())
        return CAPIPORT_ERR_NOT_REGISTERED;
    std::lock_guard<std::mutex> lock(m_PortLock);
    CapiConnection* slot = FindInstance(instance);
    if (!slot)
        return CAPIPORT_ERR_INSTANCE;
    CapiAppEvent ev;
    ev.id = CAPIPORT_DISCONNECT;
    RunAppEvent(*slot, ev);
    return 0;
}

int CapiPort::GetConnectionState(int instance) {
    std::lock_guard<std::mutex> lock(m_PortLock);
    for (auto& slot : m_Slots)
        if (!slot->IsFree() && slot->GetInstance() == instance)
            return slot->GetStateNumber();
    return CAPIPORT_ERR_INSTANCE;
}

void CapiPort::TimerProc(std::uint32_t timerId) {
    TransferTrace(eTraceCapiPort, "PANIC! timer-msg with no instance. (%u)", timerId);
}

// ---- Host -------------------------------------------------------------------

unsigned CapiPort::PutMessage(CapiMessage& msg) {
    msg.SetApplID(static_cast<std::uint16_t>(m_dwApplID));
    if (msg.GetSubCommand() != eCapiResp)
        msg.SetMsgNr(++m_wMsgNr);
    TransferTrace(eTraceCapi, "<CapiPort::PutMessage> %s_%s%s",
                  CapiMessage::CommandName(msg.GetCommand()),
                  CapiMessage::SubCommandName(msg.GetSubCommand()), msg.Dump().c_str());
    // The library only reads the message; its signature predates const.
    return m_Lib.PutMessage(m_dwApplID, const_cast<std::uint8_t*>(msg.Bytes()));
}

void CapiPort::PostMsg(CapiPortMessage msg) {
    if (const char* name = PostName(msg.id))
        TransferTrace(eTraceCapiPort, "<CapiPort::PostMsg> %s", name);
    else
        TransferTrace(eTraceCapiPort, "<CapiPort::PostMsg> default msg(%u)", msg.id);
    m_Owner.PostCapiMessage(std::move(msg));
}
