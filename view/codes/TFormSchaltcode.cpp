#include "TFormSchaltcode.h"

#include "CodeTextIds.h"
#include "DbgOut.h"
#include "ICodeProg.h"
#include "TInvariant.h"
#include "TMainControls.h"
#include "TMoxDocument.h"
#include "WindowMessages.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kFormHelp = 2800;
constexpr int kGridHelp = 2801;
constexpr int kButtonHelp = 2802;
constexpr int kColumn0Width = 105;
constexpr int kColumn1Width = 293;
// The unit needs a moment after it reported itself before it takes a code.
constexpr int kConnectMs = 100;
// Room for a switching-code text of the record (16 bytes) and its end.
constexpr std::size_t kTextBuffer = 64;

} // namespace

TFormSchaltcode::TFormSchaltcode(QWidget* owner, IProgPageHost* host, bool readFlag,
                                 IMainTransfer* transfer, const TNodeData* holder, TkResourcen* res)
    : TFormProgCode(owner, host, readFlag, transfer, holder, res) {
    setProperty("HelpContext", kFormHelp);
    Grid()->setProperty("Tag", ctxt::kSchaltcodeHeading);
    Grid()->setProperty("HelpContext", kGridHelp);
    ZuordnenBtn()->setProperty("HelpContext", kButtonHelp);
    SetColumnWidths(kColumn0Width, kColumn1Width);
    m_pConnectTimer = new QTimer(this);
    m_pConnectTimer->setObjectName(QStringLiteral("m_pConnectTimer"));
    m_pConnectTimer->setInterval(kConnectMs);
    connect(m_pConnectTimer, &QTimer::timeout, m_pConnectTimer, &QTimer::stop);
}

TFormSchaltcode::~TFormSchaltcode() = default;

bool TFormSchaltcode::IsConnectTimerActive() const {
    return m_pConnectTimer && m_pConnectTimer->isActive();
}

void TFormSchaltcode::SetAktAdr() {
    DbgOut(eDbgView, "<TFormSchaltcode::SetAktAdr>");
    if (!Prog())
        return;
    const int state = GetProgState();
    const std::uint16_t adr = Prog()->GetAdrBTLM();
    if ((state == eProgStateTlnProg || state == eProgStateTlnVideo) && adr != 0 &&
        adr != m_wAktAdr) {
        const std::uint8_t video = Prog()->IsVideo() ? 1 : 0;
        DbgOut(eDbgView, "tmpAdr(0x%04x) tmpRelais(%d) video(%d)", adr, m_byRelais, video);
        // The timer is made in this constructor, after the first load.
        if (m_pConnectTimer) {
            if (GetAktIdx() >= 0)
                m_pConnectTimer->start();
            else
                m_pConnectTimer->stop();
        }
        m_wAktAdr = adr;
        m_byVideo = video;
        DbgOut(eDbgView, "<TFormSchaltcode::SetAktAdr> video(%d)", m_byVideo);
    }
}

int TFormSchaltcode::GetRowCount() const {
    const TMoxDocument* doc = GetDoc();
    return std::min<int>(doc ? doc->GetAnzSchaltcode() : kEntries, kEntries);
}

int TFormSchaltcode::GetProgStateNeeded() const {
    return Prog() && Prog()->IsBTLMAktiv() && Prog()->IsVideo() ? eProgStateTlnVideo
                                                                : eProgStateTlnProg;
}

std::string TFormSchaltcode::GetRowLabel(int idx) const {
    MOX_INVARIANT(idx < 6);
    return "#7" + std::to_string(idx + 1);
}

int TFormSchaltcode::GetTextId() const {
    return ctxt::kSchaltcodeText;
}

void TFormSchaltcode::RefreshToDo() {
    if (!Prog() || !Prog()->IsProgModeAktiv())
        SetToDo(ctxt::kToDoProgMode);
    else if (Prog()->IsBTLMAktiv())
        SetToDo(ctxt::kToDoAssign);
    else
        SetToDo(ctxt::kToDoBTLM);
}

int TFormSchaltcode::GetHostCaptionId() const {
    return ctxt::kSchaltcodeHeading;
}

void TFormSchaltcode::OnZuordnen() {
    const int idx = GetAktIdx();
    if (idx < 0 || !Prog())
        return;
    StartAssign();
    SetAktAdr();
    Prog()->InitiateProgBTLM();
    Prog()->InitiateBTLMTasteProg(m_wAktAdr, static_cast<std::uint8_t>(idx));
    Prog()->InitiateProgPassiv();
}

void TFormSchaltcode::OnOpen(TMessage&) {
    TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    const int rows = GetRowCount();
    for (int i = 0; i < rows; ++i) {
        const auto n = static_cast<std::uint8_t>(i);
        std::uint16_t adr = 0;
        std::uint8_t video = 0;
        char text[kTextBuffer] = {};
        doc->GetSchaltcodeAdr(n, &adr);
        doc->GetSchaltcodeText(n, text, sizeof text);
        text[sizeof text - 1] = '\0';
        doc->GetSchaltcodeVideo(n, &video);
        SetEntry(i, adr, text, 0, video);
    }
    RepaintIcons();
}

void TFormSchaltcode::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormSchaltcode::OnSave>");
    MOX_INVARIANT(GetDoc());
    TMoxDocument* doc = GetDoc();
    const int rows = GetRowCount();
    for (int i = 0; i < rows; ++i) {
        const auto n = static_cast<std::uint8_t>(i);
        std::uint16_t adr = 0;
        std::string text;
        std::uint8_t relay = 0;
        std::uint8_t video = 0;
        GetEntry(i, adr, text, relay, video);
        doc->SetSchaltcodeAdr(n, adr);
        doc->SetSchaltcodeText(n, text.c_str());
        doc->SetSchaltcodeVideo(n, video);
    }
}

void TFormSchaltcode::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitSchaltcode();
    Perform(WM_OPEN, -1, -1);
}
