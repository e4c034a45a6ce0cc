// The bus-interface simulator as a program: prints "PTY <path>" when ready,
// then takes commands on standard input (see SimCommand.h). Ends on "quit",
// at the end of its input, or when its owner stops it by signal.

#include "BusInterfaceSim.h"
#include "SimCommand.h"

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <string>
#include <unistd.h>

int main() {
    boxsim::BusInterfaceSim sim;
    std::string error;
    if (!sim.Start(&error)) {
        std::fprintf(stderr, "boxsim: %s\n", error.c_str());
        return 1;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    sim.onTelegram = [](const boxsim::SimTelegramReader::Telegram& t, const std::string& answer) {
        std::printf("RX %s %s ANSWER %s\n", boxsim::HexBytes(t.bytes).c_str(),
                    t.sumOk ? "ok" : "badsum", answer.c_str());
    };
    std::printf("PTY %s\n", sim.PtyPath().c_str());

    std::string pending;
    bool quit = false;
    while (!quit) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {sim.MasterFd(), POLLIN, 0}};
        const int rc = ::poll(fds, 2, sim.NextTimerMs());
        if (rc < 0 && errno != EINTR)
            break;
        sim.HandleTimers();
        if (fds[1].revents & POLLIN)
            sim.HandleInput();
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
                const std::string out = boxsim::RunSimCommand(sim, line, &quit);
                if (!out.empty())
                    std::printf("%s\n", out.c_str());
            }
        }
    }
    return 0;
}
