#include "TFormBSM.h"

#include "CodeTextIds.h"
#include "DbgOut.h"
#include "ICodeProg.h"
#include "TInvariant.h"
#include "TMainControls.h"
#include "TMoxDocument.h"
#include "WindowMessages.h"

#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

namespace {

constexpr int kGridHelp = 101;
constexpr int kButtonHelp = 102;
constexpr int kColumn0Width = 80;
constexpr int kColumn1Width = 272;
// Room for a relay text of the record (16 bytes) and its end.
constexpr std::size_t kTextBuffer = 64;

} // namespace

TFormBSM::TFormBSM(QWidget* owner, IProgPageHost* host, bool readFlag, IMainTransfer* transfer,
                   const TNodeData* holder, TkResourcen* res)
    : TFormProgCode(owner, host, readFlag, transfer, holder, res) {
    Grid()->setProperty("Tag", ctxt::kColumnCode);
    Grid()->setProperty("HelpContext", kGridHelp);
    ZuordnenBtn()->setProperty("HelpContext", kButtonHelp);
    SetColumnWidths(kColumn0Width, kColumn1Width);
}

TFormBSM::~TFormBSM() = default;

void TFormBSM::SetAktAdr() {
    DbgOut(eDbgView, "<TFormBSM::SetAktAdr>");
    if (GetProgState() == eProgStateBsmProg && Prog()) {
        m_wAktAdr = Prog()->GetAdrBSM();
        m_byRelais = static_cast<std::uint8_t>(Prog()->GetBSMRelais());
        DbgOut(eDbgView, "tmpAdr(0x%04x) tmpRelais(%d)", m_wAktAdr, m_byRelais);
        ZuordnenBtn()->setEnabled(GetAktIdx() >= 0);
    } else {
        ZuordnenBtn()->setEnabled(false);
    }
}

int TFormBSM::GetRowCount() const {
    const TMoxDocument* doc = GetDoc();
    return std::min<int>(doc ? doc->GetAnzBSMRelais() : kEntries, kEntries);
}

int TFormBSM::GetProgStateNeeded() const {
    return eProgStateBsmProg;
}

std::string TFormBSM::GetRowLabel(int idx) const {
    MOX_INVARIANT(idx < 6);
    return "#5" + std::to_string(idx + 1);
}

int TFormBSM::GetTextId() const {
    return ctxt::kInclBusAdr;
}

void TFormBSM::RefreshToDo() {
    if (!Prog() || !Prog()->IsProgModeAktiv())
        SetToDo(ctxt::kToDoProgMode);
    else if (Prog()->IsBSMAktiv())
        SetToDo(ctxt::kToDoAssign);
    else
        SetToDo(ctxt::kToDoBSM);
}

int TFormBSM::GetHostCaptionId() const {
    return ctxt::kBSMHeading;
}

void TFormBSM::OnZuordnen() {
    const int idx = GetAktIdx();
    if (idx < 0 || !Prog())
        return;
    StartAssign();
    SetAktAdr();
    Prog()->InitiateBSMTasteProg(m_wAktAdr, static_cast<std::uint8_t>(idx));
}

void TFormBSM::OnOpen(TMessage&) {
    TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    const int rows = GetRowCount();
    for (int i = 0; i < rows; ++i) {
        const auto n = static_cast<std::uint8_t>(i);
        std::uint16_t adr = 0;
        std::uint8_t relay = 0;
        char text[kTextBuffer] = {};
        doc->GetBSMRelais(n, &adr, &relay);
        doc->GetBSMRelaisText(n, text, sizeof text);
        text[sizeof text - 1] = '\0';
        SetEntry(i, adr, text, relay, 0);
    }
    RepaintIcons();
}

void TFormBSM::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormBSM::OnSave>");
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
        doc->SetBSMRelais(n, adr, relay);
        doc->SetBSMRelaisText(n, text.c_str());
    }
}

void TFormBSM::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitBSMRelais();
    Perform(WM_OPEN, -1, -1);
}
