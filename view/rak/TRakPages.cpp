#include "TRakPages.h"

#include "TFormRAKAG.h"
#include "TFormRAKEG.h"
#include "TFormSMS.h"
#include "TViewFactory.h"

void TRakPages::Register() {
    TViewFactory::Register(eSMS, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormSMS>(ctx.owner, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eRAKMEG, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormRAKEG>(ctx.owner, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eRAKSAG, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormRAKAG>(ctx.owner, ctx.holder, ctx.res);
    });
}

void TRakPages::Unregister() {
    TViewFactory::Unregister(eSMS);
    TViewFactory::Unregister(eRAKMEG);
    TViewFactory::Unregister(eRAKSAG);
}
