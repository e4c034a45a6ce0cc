#include "TTlnProgAccess.h"

#include "TMainDataTransfer.h"

namespace {

// Set by tests on the GUI thread before the code under test runs.
TTlnProgAccess::Resolver g_resolver;

} // namespace

std::unique_ptr<ITlnProgPort> TTlnProgAccess::Of(IMainTransfer* transfer) {
    if (g_resolver)
        return g_resolver(transfer);
    if (auto* main = dynamic_cast<TMainDataTransfer*>(transfer))
        return OfForm(main->Form());
    return nullptr;
}

void TTlnProgAccess::SetResolverForTesting(Resolver resolver) {
    g_resolver = std::move(resolver);
}
