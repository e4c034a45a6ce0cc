#pragma once
// Starts the simulator executable for a test, waits for its readiness line,
// talks to it over its standard input and output, and stops it by its own
// process id. No fixed sleeps: every wait is for a line, with a bound.

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace boxsim {

class BoxSimProcess {
public:
    explicit BoxSimProcess(std::string executable);
    ~BoxSimProcess();
    BoxSimProcess(const BoxSimProcess&) = delete;
    BoxSimProcess& operator=(const BoxSimProcess&) = delete;

    // Spawns it and waits for "PTY <path>"; false with a reason on failure.
    bool Start(std::string* error, int timeoutMs = 10000);
    void Stop();

    pid_t Pid() const { return m_pid; }
    const std::string& PtyPath() const { return m_ptyPath; }

    void Send(const std::string& commandLine);
    // The next output line that starts with prefix; lines before it are
    // dropped. nullopt when none came in time or the process ended.
    std::optional<std::string> WaitForLine(const std::string& prefix, int timeoutMs = 5000);
    // Sends a command and waits for its reply line.
    std::optional<std::string> Command(const std::string& commandLine,
                                       const std::string& replyPrefix, int timeoutMs = 5000);

private:
    std::optional<std::string> NextLine(int timeoutMs);

    std::string m_executable;
    pid_t m_pid = -1;
    int m_in = -1;  // its standard input
    int m_out = -1; // its standard output
    std::string m_buffer;
    std::string m_ptyPath;
};

} // namespace boxsim
