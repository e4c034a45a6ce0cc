// The box simulator as a program: the serial bus interface with the box
// behind it, on a pseudo-terminal. Prints "PTY <path>" when ready, then
// takes commands on standard input (see SimCommand.h) and prints its event
// lines. Ends on "quit", at the end of its input, or when its owner stops
// it by signal.
//
//   boxsim [--v24] [--eventlog <file>] [--config <file>] [--quiet]
//     --v24       the box on the direct V.24 cable (framed blocks) instead
//                 of the bus interface
//     --eventlog  the event log to serve (16384 bytes) instead of the pattern
//     --config    a configuration to serve before any was sent
//     --quiet     no RX/TX line per telegram

#include "BoxSimulator.h"
#include "SimCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sched.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The bus interface answers the PC's telegram within the bus's 48 ms
// whatever else the PC is doing; so must this process, or on a loaded
// machine the PC misses the answer and repeats what it sent. It asks for
// the real-time scheduling class where the system grants it (it sleeps in
// poll between telegrams, so it takes little), else for the highest
// priority it may have, and runs as it is where neither is granted.
void AnswerPromptly() {
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO);
    if (sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0)
        return;
    for (int nice = -20; nice < 0; nice += 5)
        if (setpriority(PRIO_PROCESS, 0, nice) == 0)
            return;
}

int Usage(const char* why) {
    std::fprintf(
        stderr,
        "boxsim: %s\nusage: boxsim [--v24] [--eventlog <file>] [--config <file>] [--quiet]\n", why);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    boxsim::BoxSimulator sim;
    sim.onLine = [](const std::string& line) { std::printf("%s\n", line.c_str()); };

    // The front-end first, so every other option applies to it.
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--v24")
            sim.UseV24();

    bool quit = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--v24") {
            continue;
        } else if (arg == "--quiet") {
            sim.SetTrace(false);
        } else if ((arg == "--eventlog" || arg == "--config") && i + 1 < argc) {
            const std::string command =
                (arg == "--eventlog" ? "eventlog " : "load ") + std::string(argv[++i]);
            const std::string out = boxsim::RunBoxCommand(sim, command, &quit);
            if (out.rfind("ERROR", 0) == 0)
                return Usage(out.c_str());
        } else {
            return Usage(("unknown argument " + arg).c_str());
        }
    }

    AnswerPromptly();
    std::string error;
    if (!sim.Start(&error)) {
        std::fprintf(stderr, "boxsim: %s\n", error.c_str());
        return 1;
    }
    std::printf("PTY %s\n", sim.PtyPath().c_str());

    std::string pending;
    while (!quit) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {sim.MasterFd(), POLLIN, 0}};
        const int rc = ::poll(fds, 2, sim.NextTimerMs());
        if (rc < 0 && errno != EINTR)
            break;
        sim.HandleTurn((fds[1].revents & POLLIN) != 0);
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            char buf[512];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0)
                break; // the owner went away
            pending.append(buf, static_cast<size_t>(n));
            size_t nl;
            while (!quit && (nl = pending.find('\n')) != std::string::npos) {
                const std::string line = pending.substr(0, nl);
                pending.erase(0, nl + 1);
                const std::string out = boxsim::RunBoxCommand(sim, line, &quit);
                if (!out.empty())
                    std::printf("%s\n", out.c_str());
            }
        }
    }
    return 0;
}
