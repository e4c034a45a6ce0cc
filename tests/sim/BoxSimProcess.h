#pragma once
// Starts the simulator executable for a test, waits for its readiness line,
// talks to it over its standard input and output, and stops it by its own
// process id. No fixed sleeps: every wait is for a line, with a bound.
//
// A thread reads the simulator's output all the time, so a long exchange
// never fills the pipe and stalls the simulator while the test is busy
// elsewhere; every line is kept. WaitForLine reads on from where the last
// wait stopped; the history can be searched apart from that.

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace boxsim {

class BoxSimProcess {
public:
    explicit BoxSimProcess(std::string executable, std::vector<std::string> args = {});
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
    // passed over. nullopt when none came in time or the process ended.
    std::optional<std::string> WaitForLine(const std::string& prefix, int timeoutMs = 5000);
    // Sends a command and waits for its reply line.
    std::optional<std::string> Command(const std::string& commandLine,
                                       const std::string& replyPrefix, int timeoutMs = 5000);

    // ---- The whole output ----
    // Number of lines so far: a mark for the calls below.
    size_t LineCount() const;
    // Lines from the mark on that start with prefix.
    std::vector<std::string> Lines(const std::string& prefix, size_t from = 0) const;
    size_t Count(const std::string& prefix, size_t from = 0) const {
        return Lines(prefix, from).size();
    }
    // Waits until every line the simulator wrote before now has been read:
    // it answers a ping only after them. Counting a line the box writes as
    // it answers needs this first, or the count may run ahead of the log.
    bool Settle() { return Command("ping", "PONG").has_value(); }
    // Waits until at least n lines from the mark on start with prefix.
    bool WaitForCount(const std::string& prefix, size_t n, size_t from, int timeoutMs = 5000);

private:
    void ReadOutput();

    std::string m_executable;
    std::vector<std::string> m_args;
    pid_t m_pid = -1;
    int m_in = -1;  // its standard input
    int m_out = -1; // its standard output
    std::string m_ptyPath;

    std::thread m_reader;
    // Guards everything below; the reader appends, the test reads.
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<std::string> m_lines;
    size_t m_cursor = 0; // next line WaitForLine looks at
    bool m_ended = false;
};

} // namespace boxsim
