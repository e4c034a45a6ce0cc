#include "TSystemPages.h"

#include "TFormGeraete.h"
#include "TFormSystem.h"
#include "TFormTlnBG.h"
#include "TViewFactory.h"

void TSystemPages::Register() {
    TViewFactory::Register(eGeraeteliste, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormGeraete>(ctx.owner, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eTlnBG, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormTlnBG>(ctx.owner, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eSystemKonfig, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormSystem>(ctx.owner, ctx.holder, ctx.res);
    });
}

void TSystemPages::Unregister() {
    TViewFactory::Unregister(eGeraeteliste);
    TViewFactory::Unregister(eTlnBG);
    TViewFactory::Unregister(eSystemKonfig);
}
