#include "IViewHost.h"

namespace {

// Set and read on the GUI thread only.
IViewHost* g_host = nullptr;

} // namespace

IViewHost* GetViewHost() {
    return g_host;
}

void SetViewHost(IViewHost* host) {
    g_host = host;
}
