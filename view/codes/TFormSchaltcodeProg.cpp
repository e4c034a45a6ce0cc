#include "TFormSchaltcodeProg.h"

#include "CodeTextIds.h"
#include "TKonfigDlg.h"
#include "TMoxDocument.h"

#include <QCheckBox>
#include <QLabel>

namespace {

constexpr int kHelpPage = 2900;

} // namespace

TFormSchaltcodeProg::TFormSchaltcodeProg(QWidget* owner, IMainTransfer* transfer,
                                         const TNodeData* holder, TkResourcen* res)
    : TFormProgStart(owner, transfer, holder, res) {
    setProperty("HelpContext", kHelpPage);
    Heading()->setProperty("Tag", ctxt::kSchaltcodeHeading);
    Heading()->setText(QStringLiteral("Türzuordnung"));
    ToDoLabel()->setText(QStringLiteral("BSG deaktiveren"));
    Label3()->setVisible(false);
}

TFormSchaltcodeProg::~TFormSchaltcodeProg() = default;

int TFormSchaltcodeProg::GetToDoInProg() const {
    return ctxt::kTlnStillInProg;
}

bool TFormSchaltcodeProg::AskSave() const {
    // Only a read replaces the document's configuration.
    const TMoxDocument* doc = GetDoc();
    return doc && ChkLesen()->isChecked() && doc->IsModified();
}

std::unique_ptr<QDialog> TFormSchaltcodeProg::MakeDialog(bool readBox) {
    return std::make_unique<TKonfigDlg>(this, readBox, Transfer(), TKonfigDlg::kPageSchaltcode,
                                        m_pRes);
}
