#include "TCodePages.h"

#include "IHostedProgPage.h"
#include "TFormBSM.h"
#include "TFormBSMProg.h"
#include "TFormSchaltcode.h"
#include "TFormSchaltcodeProg.h"
#include "TFormTlnProg.h"
#include "TViewFactory.h"

namespace {

// The wizard and the page-hosting dialog embed the code page itself.
bool IsEmbedded(const TViewContext& ctx) {
    const std::uint8_t kind = ctx.holder ? ctx.holder->GetType() : std::uint8_t{eNodeNone};
    return kind == eAssistent || kind == eKonfigDlg;
}

template <class Page> TDataView* CreateCodePage(const TViewContext& ctx) {
    IProgPageHost* host = IProgPageHost::Find(ctx.owner);
    return TDataView::Create<Page>(ctx.owner, host, host && host->GetReadBox(), ctx.transfer,
                                   ctx.holder, ctx.res);
}

} // namespace

void TCodePages::Register() {
    TViewFactory::Register(eITSchaltcode, [](const TViewContext& ctx) -> TDataView* {
        if (IsEmbedded(ctx))
            return CreateCodePage<TFormSchaltcode>(ctx);
        return TDataView::Create<TFormSchaltcodeProg>(ctx.owner, ctx.transfer, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eBSMKonfig, [](const TViewContext& ctx) -> TDataView* {
        if (IsEmbedded(ctx))
            return CreateCodePage<TFormBSM>(ctx);
        return TDataView::Create<TFormBSMProg>(ctx.owner, ctx.transfer, ctx.holder, ctx.res);
    });
    TViewFactory::Register(eTlnAktProg, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<TFormTlnProg>(ctx.owner, ctx.transfer, ctx.holder, ctx.res);
    });
}

void TCodePages::Unregister() {
    TViewFactory::Unregister(eITSchaltcode);
    TViewFactory::Unregister(eBSMKonfig);
    TViewFactory::Unregister(eTlnAktProg);
}
