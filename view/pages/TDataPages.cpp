#include "TDataPages.h"

#include "TFormReadData.h"
#include "TFormWriteData.h"
#include "TViewFactory.h"

void TDataPages::Register() {
    TViewFactory::Register(eDatenLesen, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormReadData>(ctx.owner, ctx.transfer, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eDatenSchreiben, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormWriteData>(ctx.owner, ctx.transfer, ctx.holder, ctx.res);
    });
}

void TDataPages::Unregister() {
    TViewFactory::Unregister(eDatenLesen);
    TViewFactory::Unregister(eDatenSchreiben);
}
