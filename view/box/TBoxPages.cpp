#include "TBoxPages.h"

#include "TFormELM.h"
#include "TFormEventLog.h"
#include "TFormFirmware.h"
#include "TFormKMR.h"
#include "TFormMox.h"
#include "TFormSperrnr.h"
#include "TViewFactory.h"

void TBoxPages::Register() {
    TViewFactory::Register(eKTXKonfig, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormMox>(ctx.owner, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eSperrnr, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormSperrnr>(ctx.owner, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eKMRKonfig, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormKMR>(ctx.owner, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eFirmwareSchreiben, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormFirmware>(ctx.owner, ctx.transfer, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eEventLogLesen, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormEventLog>(ctx.owner, ctx.transfer, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eEventLogELM, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormELM>(ctx.owner, ctx.transfer, ctx.holder, ctx.res);
    });
}

void TBoxPages::Unregister() {
    for (std::uint8_t kind :
         {eKTXKonfig, eSperrnr, eKMRKonfig, eFirmwareSchreiben, eEventLogLesen, eEventLogELM})
        TViewFactory::Unregister(kind);
}
