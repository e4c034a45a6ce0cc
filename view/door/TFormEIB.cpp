#include "TFormEIB.h"

namespace {

constexpr int kHelpPage = 300;

} // namespace

TFormEIB::TFormEIB(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    setProperty("HelpContext", kHelpPage);
}

TFormEIB::~TFormEIB() = default;
