// Start-up of mox to its main window shown and painted: the program runs as
// a process on the offscreen platform with the wizard switched off, and
// ends by itself once the window has painted (MOX_QUIT_WHEN_SHOWN). Each
// iteration is one whole start: process creation, loading, the language
// file, the bus control, the main window. The peak resident memory of the
// started program is reported beside the time.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Env {
    std::filesystem::path dir;
    std::vector<std::string> vars;
    std::vector<char*> envp;
    bool ok = false;
};

// Runs a program; exit code, or -1. ru gets the child's resource usage.
int Run(std::vector<std::string> args, Env& env, rusage* ru) {
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), env.envp.data()) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status))
        return -1;
    if (ru)
        *ru = usage;
    return WEXITSTATUS(status);
}

Env& Environment() {
    static Env env = [] {
        Env e;
        std::string tmpl = (std::filesystem::temp_directory_path() / "mox-bench-XXXXXX").string();
        if (!mkdtemp(tmpl.data()))
            return e;
        e.dir = tmpl;
        const std::string settings = (e.dir / "settings.ini").string();
        // A fresh machine's settings with the wizard off.
        std::ofstream(settings) << "[Software]\nKestrin\\Halvox%20ISDN\\assist=0\n";
        for (char** v = environ; *v; ++v) {
            const std::string s(*v);
            if (s.rfind("MOX_SETTINGS=", 0) != 0 && s.rfind("QT_QPA_PLATFORM=", 0) != 0)
                e.vars.push_back(s);
        }
        e.vars.push_back("MOX_SETTINGS=" + settings);
        e.vars.push_back("MOX_QUIT_WHEN_SHOWN=1");
        e.vars.push_back("QT_QPA_PLATFORM=offscreen");
        for (auto& v : e.vars)
            e.envp.push_back(v.data());
        e.envp.push_back(nullptr);
        e.ok = Run({MOX_REGSVR, "-s", MOX_QUELL32}, e, nullptr) == 0;
        return e;
    }();
    return env;
}

void BM_StartupToMainWindow(benchmark::State& state) {
    Env& env = Environment();
    if (!env.ok) {
        state.SkipWithError("the bus control could not be registered");
        return;
    }
    long maxRssKb = 0;
    for (auto _ : state) {
        rusage ru{};
        const auto t0 = std::chrono::steady_clock::now();
        const int rc = Run({MOX_EXE}, env, &ru);
        const auto t1 = std::chrono::steady_clock::now();
        if (rc != 0) {
            state.SkipWithError("mox did not come up");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        maxRssKb = std::max(maxRssKb, ru.ru_maxrss);
    }
    state.counters["peak_rss_MB"] = static_cast<double>(maxRssKb) / 1024.0;
}

BENCHMARK(BM_StartupToMainWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->Iterations(4)
    ->ReportAggregatesOnly(true);

} // namespace
