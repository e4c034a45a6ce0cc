// moxregsvr [-u] [-s] <module>
// moxregsvr -v <module>
// Loads a component module and calls its DllRegisterServer, or with -u its
// DllUnregisterServer. -s keeps it quiet. -v prints the module's version
// and type library from its file instead, without loading it. The exit
// code tells the outcome (0 success, 1 the module refused, 2 the module
// could not be used, 3 wrong arguments).

#include "ComponentError.h"
#include "ComponentModule.h"
#include "ModuleResources.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: moxregsvr [-u] [-s] <module>\n"
                         "       moxregsvr -v <module>\n");
    return 3;
}

int PrintResources(const std::string& path) {
    std::string error;
    const auto resources = mox::com::ReadModuleResources(path, &error);
    if (!resources) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    std::fputs(mox::com::FormatModuleResources(*resources).c_str(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    bool silent = false;
    bool print = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "-u") || !std::strcmp(a, "/u"))
            unregister = true;
        else if (!std::strcmp(a, "-s") || !std::strcmp(a, "/s"))
            silent = true;
        else if (!std::strcmp(a, "-v") || !std::strcmp(a, "/v"))
            print = true;
        else if (a[0] == '-' || !path.empty())
            return Usage();
        else
            path = a;
    }
    if (path.empty() || (print && (unregister || silent)))
        return Usage();
    if (print)
        return PrintResources(path);

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
