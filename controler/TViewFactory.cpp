#include "TViewFactory.h"

#include "TDataView.h"

#include <map>

namespace {

// Filled at start-up and by tests, on the GUI thread.
std::map<std::uint8_t, TViewFactory::Creator>& Creators() {
    static std::map<std::uint8_t, TViewFactory::Creator> creators;
    return creators;
}

} // namespace

void TViewFactory::Register(std::uint8_t kind, Creator creator) {
    Creators()[kind] = std::move(creator);
}

void TViewFactory::Unregister(std::uint8_t kind) {
    Creators().erase(kind);
}

bool TViewFactory::IsRegistered(std::uint8_t kind) {
    return Creators().count(kind) != 0;
}

TDataView* TViewFactory::Create(std::uint8_t kind, const TViewContext& ctx) {
    // Kinds 38 and above are the embedded pages' own, never a tree node's.
    if (kind < eAssistent) {
        const auto it = Creators().find(kind);
        if (it != Creators().end() && it->second)
            if (TDataView* view = it->second(ctx))
                return view;
    }
    return TDataView::Create<TDataView>(ctx.owner, ctx.holder, ctx.res);
}
