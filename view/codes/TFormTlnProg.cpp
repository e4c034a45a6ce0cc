#include "TFormTlnProg.h"

#include "CodeTextIds.h"
#include "TMoxDocument.h"
#include "TNodeData.h"
#include "TTlnProgForm.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kHelpPage = 1900;

// Set by tests on the GUI thread before the code under test runs.
TFormTlnProg::DialogMaker g_maker;

} // namespace

TFormTlnProg::TFormTlnProg(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                           TkResourcen* res)
    : TFormProgStart(owner, transfer, holder, res) {
    setProperty("HelpContext", kHelpPage);
    Heading()->setProperty("Tag", ctxt::kTlnProgHeading);
    Heading()->setText(QStringLiteral("TeilnehmerProgrammierung"));
    Label3()->setVisible(false);
}

TFormTlnProg::~TFormTlnProg() = default;

void TFormTlnProg::SetDialogMakerForTesting(DialogMaker maker) {
    g_maker = std::move(maker);
}

void TFormTlnProg::InitStartPage() {
    if (IsConnected() && IsUnitInProg()) {
        // A unit still in programming would take the new configuration
        // half-way.
        SetToDo(ctxt::kTlnStillInProg);
        TransferBtn()->setEnabled(false);
    } else {
        SetToDo(0);
    }
}

int TFormTlnProg::GetToDoInProg() const {
    return ctxt::kTlnStillInProg;
}

bool TFormTlnProg::AskSave() const {
    const TMoxDocument* doc = GetDoc();
    return doc && !doc->IsReadFromBox() && doc->IsModified();
}

std::unique_ptr<QDialog> TFormTlnProg::MakeDialog(bool) {
    if (g_maker)
        return g_maker(*this);
    const TNodeData holder(eTlnAktProg);
    return std::make_unique<TTlnProgForm>(this, Transfer(), &holder, GetDoc(), m_pRes);
}
