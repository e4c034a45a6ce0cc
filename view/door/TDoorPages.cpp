#include "TDoorPages.h"

#include "TFormEIB.h"
#include "TFormIT.h"
#include "TFormITMEG.h"
#include "TFormITMFR.h"
#include "TViewFactory.h"

namespace {

template <class Page> void RegisterPage(std::uint8_t kind) {
    // The holder is passed on as it is: the wizard hands kind 38 so that
    // the page fills its area and is stored by the wizard.
    TViewFactory::Register(kind, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<Page>(ctx.owner, ctx.holder, ctx.res);
    });
}

} // namespace

void TDoorPages::Register() {
    RegisterPage<TFormIT>(eITKonfig);
    RegisterPage<TFormITMEG>(eITMfe);
    RegisterPage<TFormITMFR>(eITMfr);
    RegisterPage<TFormEIB>(eEIBKonfig);
}

void TDoorPages::Unregister() {
    for (std::uint8_t kind : {eITKonfig, eITMfe, eITMfr, eEIBKonfig})
        TViewFactory::Unregister(kind);
}
