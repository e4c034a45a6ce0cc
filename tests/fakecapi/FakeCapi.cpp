// The fake CAPI network. One controller (1), one registered application at a
// time, calls identified by PLCI (n << 8 | 1) and NCCI (1 << 16 | PLCI).
// Everything is guarded by one mutex; box calls are collected while it is
// held and made after it is released.

#include "FakeCapiControl.h"

#include <sys/time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

namespace fakecapi {
namespace {

// CAPI commands and subcommands.
enum : std::uint8_t {
    ALERT = 0x01,
    CONNECT = 0x02,
    CONNECT_ACTIVE = 0x03,
    DISCONNECT = 0x04,
    LISTEN = 0x05,
    INFO = 0x08,
    SELECT_B = 0x41,
    FACILITY = 0x80,
    CONNECT_B3 = 0x82,
    CONNECT_B3_ACTIVE = 0x83,
    DISCONNECT_B3 = 0x84,
    DATA_B3 = 0x86,
    RESET_B3 = 0x87,
    CONNECT_B3_T90 = 0x88,
    MANUFACTURER = 0xFF,
};
enum : std::uint8_t { REQ = 0x80, CONF = 0x81, IND = 0x82, RESP = 0x83 };

constexpr std::uint32_t kController = 1;
constexpr unsigned kQueueEmpty = 0x1104;
constexpr unsigned kIllAppNr = 0x1101;
constexpr unsigned kOverflow = 0x1105;

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t U64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(U32(p)) | (static_cast<std::uint64_t>(U32(p + 4)) << 32);
}

// Builds a message the network sends.
class Out {
public:
    Out(std::uint8_t cmd, std::uint8_t sub, std::uint16_t msgNr) : m_b(8, 0) {
        m_b[4] = cmd;
        m_b[5] = sub;
        m_b[6] = static_cast<std::uint8_t>(msgNr);
        m_b[7] = static_cast<std::uint8_t>(msgNr >> 8);
    }
    Out& W(std::uint16_t v) {
        m_b.push_back(static_cast<std::uint8_t>(v));
        m_b.push_back(static_cast<std::uint8_t>(v >> 8));
        return *this;
    }
    Out& D(std::uint32_t v) {
        return W(static_cast<std::uint16_t>(v)).W(static_cast<std::uint16_t>(v >> 16));
    }
    Out& Q(std::uint64_t v) {
        return D(static_cast<std::uint32_t>(v)).D(static_cast<std::uint32_t>(v >> 32));
    }
    Out& S(const std::vector<std::uint8_t>& s = {}) {
        m_b.push_back(static_cast<std::uint8_t>(s.size()));
        m_b.insert(m_b.end(), s.begin(), s.end());
        return *this;
    }
    std::vector<std::uint8_t> Done(std::uint16_t applId) {
        m_b[0] = static_cast<std::uint8_t>(m_b.size());
        m_b[1] = static_cast<std::uint8_t>(m_b.size() >> 8);
        m_b[2] = static_cast<std::uint8_t>(applId);
        m_b[3] = static_cast<std::uint8_t>(applId >> 8);
        return m_b;
    }

private:
    std::vector<std::uint8_t> m_b;
};

// Parameter lists of what an application may put: d dword, w word, q qword
// (64-bit data pointer), s structure, r manufacturer rest.
const char* AppLayout(std::uint8_t cmd, std::uint8_t sub) {
    struct L {
        std::uint8_t cmd, sub;
        const char* p;
    };
    static const L kL[] = {
        {ALERT, REQ, "ds"},
        {CONNECT, REQ, "dwsssssssss"},
        {CONNECT, RESP, "dwsssss"},
        {CONNECT_ACTIVE, RESP, "d"},
        {DISCONNECT, REQ, "ds"},
        {DISCONNECT, RESP, "d"},
        {LISTEN, REQ, "ddddss"},
        {INFO, REQ, "dss"},
        {INFO, RESP, "d"},
        {SELECT_B, REQ, "ds"},
        {FACILITY, REQ, "dws"},
        {FACILITY, RESP, "dws"},
        {CONNECT_B3, REQ, "ds"},
        {CONNECT_B3, RESP, "dws"},
        {CONNECT_B3_ACTIVE, RESP, "d"},
        {CONNECT_B3_T90, RESP, "d"},
        {DISCONNECT_B3, REQ, "ds"},
        {DISCONNECT_B3, RESP, "d"},
        {DATA_B3, REQ, sizeof(void*) >= 8 ? "ddwwwq" : "ddwww"},
        {DATA_B3, RESP, "dw"},
        {RESET_B3, REQ, "ds"},
        {RESET_B3, RESP, "d"},
        {MANUFACTURER, REQ, "ddr"},
        {MANUFACTURER, RESP, "ddr"},
    };
    for (const L& l : kL)
        if (l.cmd == cmd && l.sub == sub)
            return l.p;
    return nullptr;
}

// Offsets of every structure of a message the application put; empty and
// false when the message does not add up exactly.
bool CheckLayout(const std::vector<std::uint8_t>& m, std::vector<std::size_t>& structs,
                 std::string& why) {
    if (m.size() < 8) {
        why = "shorter than a header";
        return false;
    }
    const char* layout = AppLayout(m[4], m[5]);
    if (!layout) {
        why = "not a message an application puts";
        return false;
    }
    std::size_t pos = 8;
    for (const char* p = layout; *p; ++p) {
        const std::size_t n = *p == 'd' ? 4 : *p == 'w' ? 2 : *p == 'q' ? 8 : 0;
        if (n) {
            if (pos + n > m.size()) {
                why = "fixed parameter beyond the total length";
                return false;
            }
            pos += n;
        } else if (*p == 'r') {
            pos = m.size();
        } else {
            if (pos >= m.size()) {
                why = "structure missing";
                return false;
            }
            std::size_t len = m[pos], hdr = 1;
            if (len == 0xFF) {
                if (pos + 3 > m.size()) {
                    why = "escaped structure length cut";
                    return false;
                }
                len = U16(&m[pos + 1]);
                hdr = 3;
            }
            if (pos + hdr + len > m.size()) {
                why = "structure beyond the total length";
                return false;
            }
            structs.push_back(pos);
            pos += hdr + len;
        }
    }
    if (pos != m.size()) {
        why = "total length does not match the parameters";
        return false;
    }
    return true;
}

std::vector<std::uint8_t> StructAt(const std::vector<std::uint8_t>& m, std::size_t pos) {
    return std::vector<std::uint8_t>(m.begin() + static_cast<long>(pos) + 1,
                                     m.begin() + static_cast<long>(pos) + 1 + m[pos]);
}

class EchoBox : public FakeCapiBox {
public:
    void OnData(const std::vector<std::uint8_t>& data) override {
        BoxSend(data.data(), data.size());
    }
};

struct Call {
    std::uint32_t plci = 0;
    std::uint32_t ncci = 0;
    bool incoming = false;
    bool active = false;   // D channel connected
    bool b3Up = false;     // data phase
    bool clearing = false; // DISCONNECT_IND owed once the B3 side is down
    bool discIndSent = false;
    std::uint16_t clearReason = 0;
    unsigned unconfirmed = 0;     // DATA_B3_REQ without DATA_B3_CONF
    unsigned ncciNumber = 1;      // the NCCI's own number of the B3 connection, above the PLCI
    std::uint32_t reopenNcci = 0; // B3 is opened again under it once its clearing is answered
    FakeCapiBox* box = nullptr;

    std::uint32_t Ncci() const { return (ncciNumber << 16) | plci; }
};

// An indication the application still has to answer.
struct Awaiting {
    std::uint8_t cmd;
    std::uint16_t msgNr;
    std::uint32_t addr;
    std::uint16_t handle; // DATA_B3_IND
};

struct Network {
    std::mutex mutex;
    std::condition_variable queued;   // a message for the application, or a release
    std::condition_variable answered; // a fetch or a response

    Registration reg;
    unsigned nextApplId = 1;
    unsigned failRegister = 0;
    CallOutcome outcome = CallOutcome::Answer;
    std::uint16_t confInfo = 0x2003;
    FakeCapiBox* box = nullptr;
    EchoBox echo;
    bool holdConf = false;
    bool overflowNext = false;
    std::uint16_t connectB3Refusal = 0; // Info for the next CONNECT_B3_CONF, 0 none
    std::uint32_t listenMask = 0;

    std::deque<std::vector<std::uint8_t>> queue;
    std::vector<std::uint8_t> current;                              // the message of the last fetch
    std::map<std::uint16_t, std::vector<std::uint8_t>> dataBuffers; // DATA_B3_IND data by handle
    std::vector<Awaiting> awaiting;
    struct HeldConf {
        std::uint32_t ncci;
        std::uint16_t handle;
        std::uint16_t nr;
    };
    std::vector<HeldConf> heldConfs;
    bool holdConnectConf = false;
    std::vector<std::vector<std::uint8_t>> heldConnectReqs;
    std::map<std::uint32_t, Call> calls; // by PLCI
    std::uint16_t msgNr = 0x4000;        // numbers of the network's indications
    std::uint16_t nextHandle = 0x100;
    unsigned nextPlci = 1;
    unsigned maxUnconfirmed = 0;

    std::vector<std::string> violations;
    std::vector<std::vector<std::uint8_t>> putLog;

    void Violation(const std::string& text) { violations.push_back(text); }

    void Queue(std::vector<std::uint8_t> m) {
        queue.push_back(std::move(m));
        queued.notify_all();
    }
    void Conf(std::uint8_t cmd, std::uint16_t msgNr, std::uint32_t addr, std::uint16_t info) {
        Queue(Out(cmd, CONF, msgNr).D(addr).W(info).Done(static_cast<std::uint16_t>(reg.applId)));
    }
    // Queues an indication and notes that it wants an answer.
    void Ind(Out out, std::uint8_t cmd, std::uint32_t addr, std::uint16_t nr,
             std::uint16_t handle = 0) {
        awaiting.push_back({cmd, nr, addr, handle});
        Queue(out.Done(static_cast<std::uint16_t>(reg.applId)));
    }
    std::uint16_t NextNr() { return ++msgNr; }
    // The far end opens a B3 connection on the call.
    void SendConnectB3Ind(Call& c) {
        const std::uint16_t nr = NextNr();
        Ind(std::move(Out(CONNECT_B3, IND, nr).D(c.ncci).S()), CONNECT_B3, c.ncci, nr);
    }

    Call* CallByPlci(std::uint32_t plci) {
        auto it = calls.find(plci);
        return it == calls.end() ? nullptr : &it->second;
    }
    Call* CallByNcci(std::uint32_t ncci) {
        for (auto& [plci, call] : calls)
            if (call.ncci && call.ncci == ncci)
                return &call;
        return nullptr;
    }
    FakeCapiBox* BoxOf(const Call& c) { return c.box ? c.box : &echo; }

    void SendDisconnectInd(Call& c, std::uint16_t reason) {
        if (c.discIndSent)
            return;
        c.discIndSent = true;
        const std::uint16_t nr = NextNr();
        Ind(std::move(Out(DISCONNECT, IND, nr).D(c.plci).W(reason)), DISCONNECT, c.plci, nr);
    }
    void SendDisconnectB3Ind(Call& c, std::vector<std::function<void()>>& later) {
        const std::uint16_t nr = NextNr();
        Ind(std::move(Out(DISCONNECT_B3, IND, nr).D(c.ncci).W(0).S()), DISCONNECT_B3, c.ncci, nr);
        // The blocks still on their way die with the B3 connection.
        const std::uint32_t ncci = c.ncci;
        heldConfs.erase(std::remove_if(heldConfs.begin(), heldConfs.end(),
                                       [ncci](const HeldConf& h) { return h.ncci == ncci; }),
                        heldConfs.end());
        c.unconfirmed = 0;
        if (c.b3Up) {
            FakeCapiBox* b = BoxOf(c);
            later.push_back([b] { b->OnCallDown(); });
        }
        c.b3Up = false;
    }
    // Clears a call from the network side: the B3 side first, the call
    // itself once the application answered that.
    void Clear(Call& c, std::uint16_t reason, std::vector<std::function<void()>>& later) {
        c.clearing = true;
        c.clearReason = reason;
        if (c.ncci && c.b3Up)
            SendDisconnectB3Ind(c, later);
        else if (!HasAwaiting(DISCONNECT_B3, c.ncci))
            SendDisconnectInd(c, reason);
    }
    bool HasAwaiting(std::uint8_t cmd, std::uint32_t addr) {
        return addr && std::any_of(awaiting.begin(), awaiting.end(), [&](const Awaiting& a) {
                   return a.cmd == cmd && a.addr == addr;
               });
    }

    void Handle(const std::vector<std::uint8_t>& m, std::vector<std::function<void()>>& later);
    void HandleResponse(const std::vector<std::uint8_t>& m,
                        std::vector<std::function<void()>>& later);
    void HandleConnectReq(const std::vector<std::uint8_t>& m, const std::vector<std::size_t>& s,
                          std::vector<std::function<void()>>& later);
    void HandleDataReq(const std::vector<std::uint8_t>& m,
                       std::vector<std::function<void()>>& later);
    void DataConf(std::uint32_t ncci, std::uint16_t handle, std::uint16_t nr);
    void DropAll(std::vector<std::function<void()>>& later);
};

Network& Net() {
    static Network net;
    return net;
}

void Network::DropAll(std::vector<std::function<void()>>& later) {
    for (auto& [plci, call] : calls) {
        if (call.b3Up) {
            FakeCapiBox* b = BoxOf(call);
            later.push_back([b] { b->OnCallDown(); });
        }
    }
    calls.clear();
    queue.clear();
    current.clear();
    dataBuffers.clear();
    awaiting.clear();
    heldConfs.clear();
    heldConnectReqs.clear();
    listenMask = 0;
}

void Network::DataConf(std::uint32_t ncci, std::uint16_t handle, std::uint16_t nr) {
    if (Call* c = CallByNcci(ncci))
        if (c->unconfirmed)
            --c->unconfirmed;
    Queue(
        Out(DATA_B3, CONF, nr).D(ncci).W(handle).W(0).Done(static_cast<std::uint16_t>(reg.applId)));
}

void Network::HandleConnectReq(const std::vector<std::uint8_t>& m,
                               const std::vector<std::size_t>& s,
                               std::vector<std::function<void()>>&) {
    const std::uint16_t nr = U16(&m[6]);
    const std::vector<std::uint8_t> called = StructAt(m, s[0]);
    const std::vector<std::uint8_t> bprot = StructAt(m, s[4]);
    if (called.size() < 2 || called[0] != 0x80) {
        Violation("CONNECT_REQ without a called party number");
        Conf(CONNECT, nr, kController, 0x2007);
        return;
    }
    if (!(bprot.empty() || (bprot.size() == 9 && bprot[6] == 0 && bprot[7] == 0 && bprot[8] == 0)))
        Violation("CONNECT_REQ with a malformed B protocol");
    if (outcome == CallOutcome::ConfError) {
        Conf(CONNECT, nr, kController, confInfo);
        return;
    }
    Call c;
    c.plci = (nextPlci++ << 8) | kController;
    c.box = box;
    calls[c.plci] = c;
    Conf(CONNECT, nr, c.plci, 0);
    Call& call = calls[c.plci];
    switch (outcome) {
    case CallOutcome::Answer: {
        call.active = true;
        const std::uint16_t n = NextNr();
        Ind(std::move(Out(CONNECT_ACTIVE, IND, n).D(call.plci).S().S().S()), CONNECT_ACTIVE,
            call.plci, n);
        break;
    }
    case CallOutcome::Busy:
        SendDisconnectInd(call, 0x3491);
        break;
    case CallOutcome::Refused:
        SendDisconnectInd(call, 0x3495);
        break;
    default:
        break;
    }
}

void Network::HandleDataReq(const std::vector<std::uint8_t>& m,
                            std::vector<std::function<void()>>& later) {
    const std::uint32_t ncci = U32(&m[8]);
    const std::uint16_t len = U16(&m[16]);
    const std::uint16_t handle = U16(&m[18]);
    const std::uint16_t nr = U16(&m[6]);
    Call* c = CallByNcci(ncci);
    if (!c || !c->b3Up) {
        Violation("DATA_B3_REQ outside the data phase");
        Queue(Out(DATA_B3, CONF, nr)
                  .D(ncci)
                  .W(handle)
                  .W(0x2002)
                  .Done(static_cast<std::uint16_t>(reg.applId)));
        return;
    }
    if (len == 0 || len > reg.maxBDataLen)
        Violation("DATA_B3_REQ with data length " + std::to_string(len));
    const std::uint8_t* data = nullptr;
    if (sizeof(void*) >= 8) {
        if (U32(&m[12]) != 0)
            Violation("DATA_B3_REQ with a 32-bit data pointer on a 64-bit system");
        data = reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(U64(&m[22])));
    } else {
        data = reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(U32(&m[12])));
    }
    if (!data) {
        Violation("DATA_B3_REQ without data");
        return;
    }
    ++c->unconfirmed;
    maxUnconfirmed = std::max(maxUnconfirmed, c->unconfirmed);
    if (c->unconfirmed > reg.maxBDataBlocks)
        Violation("more DATA_B3_REQ unconfirmed than registered B3 blocks");
    // Like the Linux library, the data is taken at once.
    std::vector<std::uint8_t> copy(data, data + len);
    if (holdConf)
        heldConfs.push_back({ncci, handle, nr});
    else
        DataConf(ncci, handle, nr);
    FakeCapiBox* b = BoxOf(*c);
    later.push_back([b, copy] { b->OnData(copy); });
}

void Network::HandleResponse(const std::vector<std::uint8_t>& m,
                             std::vector<std::function<void()>>& later) {
    const std::uint8_t cmd = m[4];
    const std::uint16_t nr = U16(&m[6]);
    const std::uint32_t addr = U32(&m[8]);
    const std::uint16_t handle = cmd == DATA_B3 ? U16(&m[12]) : 0;
    auto it = std::find_if(awaiting.begin(), awaiting.end(), [&](const Awaiting& a) {
        return a.cmd == cmd && a.msgNr == nr && a.addr == addr && a.handle == handle;
    });
    if (it == awaiting.end()) {
        char text[128];
        std::snprintf(text, sizeof(text),
                      "response %02X_RESP nr 0x%04X addr 0x%08X answers no indication", cmd, nr,
                      addr);
        Violation(text);
        return;
    }
    awaiting.erase(it);
    answered.notify_all();
    switch (cmd) {
    case DATA_B3: {
        auto buf = dataBuffers.find(handle);
        if (buf != dataBuffers.end()) {
            // Poisoned before it goes, so a late reader sees rubbish.
            std::fill(buf->second.begin(), buf->second.end(), 0xEE);
            dataBuffers.erase(buf);
        }
        break;
    }
    case CONNECT: {
        Call* c = CallByPlci(addr);
        const std::uint16_t reject = U16(&m[12]);
        if (!c)
            break;
        if (reject == 0) {
            c->active = true;
            const std::uint16_t n = NextNr();
            Ind(std::move(Out(CONNECT_ACTIVE, IND, n).D(c->plci).S().S().S()), CONNECT_ACTIVE,
                c->plci, n);
        } else {
            SendDisconnectInd(*c, reject == 1 ? 0 : 0x3490);
        }
        break;
    }
    case CONNECT_ACTIVE: {
        // On an accepted incoming call the far end opens the B channel.
        Call* c = CallByPlci(addr);
        if (c && c->incoming && !c->ncci) {
            c->ncci = c->Ncci();
            SendConnectB3Ind(*c);
        }
        break;
    }
    case CONNECT_B3: {
        Call* c = CallByNcci(addr);
        if (c && U16(&m[12]) == 0) {
            const std::uint16_t n = NextNr();
            Ind(std::move(Out(CONNECT_B3_ACTIVE, IND, n).D(c->ncci).S()), CONNECT_B3_ACTIVE,
                c->ncci, n);
        }
        break;
    }
    case CONNECT_B3_ACTIVE: {
        Call* c = CallByNcci(addr);
        if (c) {
            c->b3Up = true;
            FakeCapiBox* b = BoxOf(*c);
            later.push_back([b] { b->OnCallUp(); });
        }
        break;
    }
    case DISCONNECT_B3: {
        Call* c = CallByNcci(addr);
        if (c) {
            c->ncci = 0;
            if (c->clearing) {
                SendDisconnectInd(*c, c->clearReason);
            } else if (c->reopenNcci) {
                c->ncci = c->reopenNcci;
                c->reopenNcci = 0;
                SendConnectB3Ind(*c);
            }
        }
        break;
    }
    case DISCONNECT:
        calls.erase(addr);
        break;
    default:
        break;
    }
}

void Network::Handle(const std::vector<std::uint8_t>& m,
                     std::vector<std::function<void()>>& later) {
    std::vector<std::size_t> s;
    std::string why;
    if (!CheckLayout(m, s, why)) {
        char text[160];
        std::snprintf(text, sizeof(text), "message %02X_%02X refused: %s", m.size() > 5 ? m[4] : 0,
                      m.size() > 5 ? m[5] : 0, why.c_str());
        Violation(text);
        return;
    }
    if (U16(&m[2]) != reg.applId)
        Violation("message with a foreign application id");
    const std::uint8_t cmd = m[4];
    const std::uint8_t sub = m[5];
    const std::uint16_t nr = U16(&m[6]);
    const std::uint32_t addr = U32(&m[8]);
    if (sub == RESP) {
        HandleResponse(m, later);
        return;
    }
    switch (cmd) {
    case LISTEN:
        listenMask = U32(&m[16]);
        Conf(LISTEN, nr, addr, addr == kController ? 0 : 0x2002);
        break;
    case CONNECT:
        if (holdConnectConf)
            heldConnectReqs.push_back(m);
        else
            HandleConnectReq(m, s, later);
        break;
    case ALERT:
        Conf(ALERT, nr, addr, CallByPlci(addr) ? 0 : 0x2002);
        break;
    case CONNECT_B3: {
        Call* c = CallByPlci(addr);
        if (!c || !c->active) {
            Queue(Out(CONNECT_B3, CONF, nr)
                      .D(addr)
                      .W(0x2001)
                      .Done(static_cast<std::uint16_t>(reg.applId)));
            break;
        }
        if (connectB3Refusal) {
            // Refused here; the far end opens the B3 connection instead.
            Conf(CONNECT_B3, nr, addr, connectB3Refusal);
            connectB3Refusal = 0;
            c->ncci = c->Ncci();
            SendConnectB3Ind(*c);
            break;
        }
        c->ncci = c->Ncci();
        Conf(CONNECT_B3, nr, c->ncci, 0);
        const std::uint16_t n = NextNr();
        Ind(std::move(Out(CONNECT_B3_ACTIVE, IND, n).D(c->ncci).S()), CONNECT_B3_ACTIVE, c->ncci,
            n);
        break;
    }
    case DATA_B3:
        HandleDataReq(m, later);
        break;
    case DISCONNECT_B3: {
        Call* c = CallByNcci(addr);
        Conf(DISCONNECT_B3, nr, addr, c ? 0 : 0x2002);
        if (c)
            SendDisconnectB3Ind(*c, later);
        break;
    }
    case DISCONNECT: {
        Call* c = CallByPlci(addr);
        Conf(DISCONNECT, nr, addr, c ? 0 : 0x2002);
        if (c)
            Clear(*c, 0x3490, later);
        break;
    }
    default:
        Conf(cmd, nr, addr, 0x2001);
        break;
    }
}

} // namespace

// ---- Control ------------------------------------------------------------------

void Reset() {
    Network& n = Net();
    std::vector<std::function<void()>> later;
    {
        std::lock_guard<std::mutex> lock(n.mutex);
        n.DropAll(later);
        n.reg = {};
        n.failRegister = 0;
        n.outcome = CallOutcome::Answer;
        n.confInfo = 0x2003;
        n.box = nullptr;
        n.holdConf = false;
        n.holdConnectConf = false;
        n.overflowNext = false;
        n.connectB3Refusal = 0;
        n.maxUnconfirmed = 0;
        n.violations.clear();
        n.putLog.clear();
    }
    n.queued.notify_all();
}

void SetOutcome(CallOutcome outcome, std::uint16_t confInfo) {
    std::lock_guard<std::mutex> lock(Net().mutex);
    Net().outcome = outcome;
    Net().confInfo = confInfo;
}

void SetBox(FakeCapiBox* box) {
    std::lock_guard<std::mutex> lock(Net().mutex);
    Net().box = box;
}

bool BoxSend(const std::uint8_t* data, std::size_t len) {
    Network& n = Net();
    std::lock_guard<std::mutex> lock(n.mutex);
    for (auto& [plci, c] : n.calls) {
        if (!c.b3Up)
            continue;
        const std::uint16_t handle = n.nextHandle++;
        std::vector<std::uint8_t>& buf = n.dataBuffers[handle];
        buf.assign(data, data + len);
        const std::uint16_t nr = n.NextNr();
        Out out(DATA_B3, IND, nr);
        out.D(c.ncci);
        out.D(sizeof(void*) >= 8
                  ? 0
                  : static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(buf.data())));
        out.W(static_cast<std::uint16_t>(len)).W(handle).W(0);
        if (sizeof(void*) >= 8)
            out.Q(reinterpret_cast<std::uintptr_t>(buf.data()));
        n.Ind(std::move(out), DATA_B3, c.ncci, nr, handle);
        return true;
    }
    return false;
}

bool RemoteHangup(std::uint16_t reason) {
    Network& n = Net();
    std::vector<std::function<void()>> later;
    bool found = false;
    {
        std::lock_guard<std::mutex> lock(n.mutex);
        for (auto& [plci, c] : n.calls) {
            if (c.clearing || c.discIndSent)
                continue;
            n.Clear(c, reason, later);
            found = true;
            break;
        }
    }
    for (auto& f : later)
        f();
    return found;
}

bool RestartB3(bool newNcci) {
    Network& n = Net();
    std::vector<std::function<void()>> later;
    bool found = false;
    {
        std::lock_guard<std::mutex> lock(n.mutex);
        for (auto& [plci, c] : n.calls) {
            if (!c.b3Up || c.clearing)
                continue;
            if (newNcci)
                ++c.ncciNumber;
            c.reopenNcci = c.Ncci();
            n.SendDisconnectB3Ind(c, later);
            found = true;
            break;
        }
    }
    for (auto& f : later)
        f();
    return found;
}

void RefuseNextConnectB3(std::uint16_t info) {
    std::lock_guard<std::mutex> lock(Net().mutex);
    Net().connectB3Refusal = info;
}

bool IncomingCall(const char* calling, const char* called, std::uint16_t cip,
                  std::uint8_t callingType) {
    Network& n = Net();
    std::lock_guard<std::mutex> lock(n.mutex);
    if (!n.reg.registered || cip > 31 || !((n.listenMask & 1u) || (n.listenMask & (1u << cip))))
        return false;
    Call c;
    c.plci = (n.nextPlci++ << 8) | kController;
    c.incoming = true;
    c.box = n.box;
    n.calls[c.plci] = c;
    std::vector<std::uint8_t> calledS{0x80};
    calledS.insert(calledS.end(), called, called + std::strlen(called));
    std::vector<std::uint8_t> callingS{callingType, 0x80};
    callingS.insert(callingS.end(), calling, calling + std::strlen(calling));
    const std::uint16_t nr = n.NextNr();
    Out out(CONNECT, IND, nr);
    out.D(c.plci).W(cip).S(calledS).S(callingS).S().S().S().S().S().S();
    n.Ind(std::move(out), CONNECT, c.plci, nr);
    return true;
}

void OrphanDataInd() {
    Network& n = Net();
    std::lock_guard<std::mutex> lock(n.mutex);
    const std::uint32_t ncci = 0x00FF0F01;
    const std::uint16_t handle = n.nextHandle++;
    std::vector<std::uint8_t>& buf = n.dataBuffers[handle];
    buf.assign({'o', 'r', 'p', 'h', 'a', 'n'});
    const std::uint16_t nr = n.NextNr();
    Out out(DATA_B3, IND, nr);
    out.D(ncci).D(0).W(static_cast<std::uint16_t>(buf.size())).W(handle).W(0);
    if (sizeof(void*) >= 8)
        out.Q(reinterpret_cast<std::uintptr_t>(buf.data()));
    n.Ind(std::move(out), DATA_B3, ncci, nr, handle);
}

void HoldDataConf(bool hold) {
    Network& n = Net();
    std::lock_guard<std::mutex> lock(n.mutex);
    n.holdConf = hold;
    if (!hold) {
        for (const auto& h : n.heldConfs)
            n.DataConf(h.ncci, h.handle, h.nr);
        n.heldConfs.clear();
    }
}

void HoldConnectConf(bool hold) {
    Network& n = Net();
    std::vector<std::function<void()>> later;
    {
        std::lock_guard<std::mutex> lock(n.mutex);
        n.holdConnectConf = hold;
        if (!hold) {
            for (const auto& m : n.heldConnectReqs) {
                std::vector<std::size_t> s;
                std::string why;
                CheckLayout(m, s, why);
                n.HandleConnectReq(m, s, later);
            }
            n.heldConnectReqs.clear();
        }
    }
    for (auto& f : later)
        f();
}

void OverflowNext() {
    std::lock_guard<std::mutex> lock(Net().mutex);
    Net().overflowNext = true;
}

void FailRegister(unsigned info) {
    std::lock_guard<std::mutex> lock(Net().mutex);
    Net().failRegister = info;
}

void InjectMessage(const std::vector<std::uint8_t>& bytes) {
    Network& n = Net();
    std::lock_guard<std::mutex> lock(n.mutex);
    // An indication wants its answer like any other.
    if (bytes.size() >= 12 && bytes[5] == IND) {
        const std::uint16_t handle =
            bytes[4] == DATA_B3 && bytes.size() >= 20 ? U16(&bytes[18]) : 0;
        n.awaiting.push_back({bytes[4], U16(&bytes[6]), U32(&bytes[8]), handle});
    }
    n.Queue(bytes);
}

bool WaitAnswered(int timeoutMs) {
    Network& n = Net();
    std::unique_lock<std::mutex> lock(n.mutex);
    return n.answered.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return n.queue.empty() && n.awaiting.empty(); });
}

std::vector<std::string> Violations() {
    std::lock_guard<std::mutex> lock(Net().mutex);
    return Net().violations;
}

Registration GetRegistration() {
    std::lock_guard<std::mutex> lock(Net().mutex);
    return Net().reg;
}

std::vector<std::vector<std::uint8_t>> PutLog() {
    std::lock_guard<std::mutex> lock(Net().mutex);
    return Net().putLog;
}

int CallCount() {
    std::lock_guard<std::mutex> lock(Net().mutex);
    return static_cast<int>(Net().calls.size());
}

unsigned MaxUnconfirmedSeen() {
    std::lock_guard<std::mutex> lock(Net().mutex);
    return Net().maxUnconfirmed;
}

std::size_t QueuedCount() {
    std::lock_guard<std::mutex> lock(Net().mutex);
    return Net().queue.size();
}

} // namespace fakecapi

// ---- The library's entry points -------------------------------------------------

using fakecapi::Net;

extern "C" {

unsigned capi20_register(unsigned maxLogicalConnection, unsigned maxBDataBlocks,
                         unsigned maxBDataLen, unsigned* applIdp) {
    auto& n = Net();
    std::lock_guard<std::mutex> lock(n.mutex);
    if (!applIdp)
        return 0x1008;
    if (n.failRegister) {
        const unsigned info = n.failRegister;
        n.failRegister = 0;
        *applIdp = 0;
        return info;
    }
    if (n.reg.registered)
        return 0x1001; // this network serves one application
    n.reg.registered = true;
    n.reg.applId = n.nextApplId++;
    n.reg.maxLogicalConnection = maxLogicalConnection;
    n.reg.maxBDataBlocks = maxBDataBlocks;
    n.reg.maxBDataLen = maxBDataLen;
    *applIdp = n.reg.applId;
    return 0;
}

unsigned capi20_release(unsigned applId) {
    auto& n = Net();
    std::vector<std::function<void()>> later;
    {
        std::lock_guard<std::mutex> lock(n.mutex);
        if (!n.reg.registered || applId != n.reg.applId)
            return fakecapi::kIllAppNr;
        n.DropAll(later);
        n.reg.registered = false;
    }
    n.queued.notify_all();
    n.answered.notify_all();
    for (auto& f : later)
        f();
    return 0;
}

unsigned capi20_put_message(unsigned applId, unsigned char* msg) {
    auto& n = Net();
    std::vector<std::function<void()>> later;
    {
        std::lock_guard<std::mutex> lock(n.mutex);
        if (!n.reg.registered || applId != n.reg.applId)
            return fakecapi::kIllAppNr;
        if (!msg)
            return 0x1102;
        const std::size_t len = fakecapi::U16(msg);
        if (len < 8)
            return 0x1102;
        std::vector<std::uint8_t> m(msg, msg + len);
        n.putLog.push_back(m);
        n.Handle(m, later);
    }
    for (auto& f : later)
        f();
    return 0;
}

unsigned capi20_get_message(unsigned applId, unsigned char** buf) {
    auto& n = Net();
    std::lock_guard<std::mutex> lock(n.mutex);
    if (!buf)
        return 0x1102;
    *buf = nullptr;
    if (!n.reg.registered || applId != n.reg.applId)
        return fakecapi::kIllAppNr;
    // The last fetched message lives only until this fetch: poison it, so a
    // reader that kept the pointer reads rubbish instead of passing.
    std::fill(n.current.begin(), n.current.end(), 0xEE);
    if (n.queue.empty())
        return fakecapi::kQueueEmpty;
    n.current = std::move(n.queue.front());
    n.queue.pop_front();
    n.answered.notify_all();
    *buf = n.current.data();
    if (n.overflowNext) {
        n.overflowNext = false;
        return fakecapi::kOverflow;
    }
    return 0;
}

unsigned capi20_waitformessage(unsigned applId, struct timeval* timeOut) {
    auto& n = Net();
    std::unique_lock<std::mutex> lock(n.mutex);
    if (!n.reg.registered || applId != n.reg.applId)
        return fakecapi::kIllAppNr;
    auto ready = [&] { return !n.queue.empty() || !n.reg.registered; };
    if (timeOut) {
        const auto wait =
            std::chrono::seconds(timeOut->tv_sec) + std::chrono::microseconds(timeOut->tv_usec);
        n.queued.wait_for(lock, wait, ready);
    } else {
        n.queued.wait(lock, ready);
    }
    if (!n.reg.registered)
        return fakecapi::kIllAppNr;
    return n.queue.empty() ? fakecapi::kQueueEmpty : 0;
}

unsigned char* capi20_get_manufacturer(unsigned, unsigned char* buf) {
    if (!buf)
        return nullptr;
    std::memset(buf, 0, 64);
    std::memcpy(buf, "fake ISDN network", 17);
    return buf;
}

unsigned char* capi20_get_version(unsigned, unsigned char* buf) {
    if (!buf)
        return nullptr;
    const std::uint32_t v[4] = {2, 0, 1, 7};
    std::memcpy(buf, v, sizeof(v));
    return buf;
}

unsigned char* capi20_get_serial_number(unsigned, unsigned char* buf) {
    if (!buf)
        return nullptr;
    std::memcpy(buf, "0000001", 8);
    return buf;
}

unsigned capi20_get_profile(unsigned, unsigned char* buf) {
    if (!buf)
        return 0x1108;
    std::memset(buf, 0, 64);
    buf[0] = 1; // one controller
    buf[2] = 2; // two B channels
    return 0;
}

unsigned capi20_isinstalled(void) {
    return 0;
}

} // extern "C"
