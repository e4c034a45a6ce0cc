#include "TFormBSMProg.h"

#include "CodeTextIds.h"
#include "TKonfigDlg.h"
#include "TMoxDocument.h"

#include <QCheckBox>
#include <QLabel>

namespace {

constexpr int kHelpPage = 2100;

} // namespace

TFormBSMProg::TFormBSMProg(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                           TkResourcen* res)
    : TFormProgStart(owner, transfer, holder, res) {
    setProperty("HelpContext", kHelpPage);
    Heading()->setProperty("Tag", ctxt::kBSMHeading);
    Heading()->setText(QStringLiteral("Bussteuermodul"));
    ToDoLabel()->setText(QStringLiteral("BSM deaktiveren"));
    Label3()->setVisible(false);
}

TFormBSMProg::~TFormBSMProg() = default;

int TFormBSMProg::GetToDoInProg() const {
    return ctxt::kBSMStillInProg;
}

bool TFormBSMProg::AskSave() const {
    // Only a read replaces the document's configuration.
    const TMoxDocument* doc = GetDoc();
    return doc && ChkLesen()->isChecked() && doc->IsModified();
}

std::unique_ptr<QDialog> TFormBSMProg::MakeDialog(bool readBox) {
    return std::make_unique<TKonfigDlg>(this, readBox, Transfer(), TKonfigDlg::kPageBSM, m_pRes);
}
