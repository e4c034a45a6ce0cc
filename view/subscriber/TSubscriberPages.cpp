#include "TSubscriberPages.h"

#include "TFormTln.h"
#include "TViewFactory.h"

void TSubscriberPages::Register() {
    TViewFactory::Register(eTlnKonfig, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormTln>(ctx.owner, ctx.transfer, ctx.holder, ctx.res);
    });
}

void TSubscriberPages::Unregister() {
    TViewFactory::Unregister(eTlnKonfig);
}
