// moxregsvr [-u] [-s] <module>
// Loads a component module and calls its DllRegisterServer, or with -u its
// DllUnregisterServer. -s keeps it quiet; the exit code tells the outcome
// (0 success, 1 the module refused, 2 the module could not be used,
// 3 wrong arguments).

#include "ComponentError.h"
#include "ComponentModule.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: moxregsvr [-u] [-s] <module>\n");
    return 3;
}

} // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    bool silent = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "-u") || !std::strcmp(a, "/u"))
            unregister = true;
        else if (!std::strcmp(a, "-s") || !std::strcmp(a, "/s"))
            silent = true;
        else if (a[0] == '-' || !path.empty())
            return Usage();
        else
            path = a;
    }
    if (path.empty())
        return Usage();

    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    try {
        mox::com::ComponentModule module(path);
        const mox::com::HRESULT hr =
            unregister ? module.UnregisterServer() : module.RegisterServer();
        if (mox::com::Failed(hr)) {
            if (!silent)
                std::fprintf(stderr, "%s in %s failed, code 0x%08X\n", entry, path.c_str(),
                             static_cast<unsigned>(hr));
            return 1;
        }
        if (!silent)
            std::printf("%s in %s succeeded.\n", entry, path.c_str());
        return 0;
    } catch (const mox::com::ComponentError& e) {
        if (!silent)
            std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
}
