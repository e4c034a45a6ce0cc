#pragma once
// Starts the simulator executable for a test, waits for its readiness line,
// talks to it over its standard input and output, and stops it by its own
// process id. No fixed sleeps: every wait is for a line, with a bound.
//
// A thread reads the simulator's output all the time, so a long exchange
// never fills the pipe and stalls the simulator while the test is busy
// elsewhere; every line is kept. WaitForLine reads on from where the last
// wait stopped; the history can be searched apart from that.
//
// What has been read here lags behind what the simulator wrote: a line the
// box wrote just before it answered the program may still be in the pipe
// when the program has its answer. So a mark to count from is taken with
// Mark(), after the simulator has answered a ping, never from the bare
// number of lines read so far.

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
    // The bound of every wait for a line or a reply. Only a hang waits this
    // long: it lies beyond every time-out of the protocols together with
    // the repeat that follows one (the bus's block time-out is 12 s), so a
    // loaded machine, slow as it may be, is never taken for a fault.
    static constexpr int kGuardMs = 30000;

    explicit BoxSimProcess(std::string executable, std::vector<std::string> args = {});
    ~BoxSimProcess();
    BoxSimProcess(const BoxSimProcess&) = delete;
    BoxSimProcess& operator=(const BoxSimProcess&) = delete;

    // Spawns it and waits for "PTY <path>"; false with a reason on failure.
    bool Start(std::string* error, int timeoutMs = 10000);
    void Stop();

    pid_t Pid() const { return m_pid; }
    // The simulator's pseudo-terminal, by a name that lives only as long as
    // the simulator does.
    const std::string& PtyPath() const { return m_ptyPath; }

    void Send(const std::string& commandLine);
    // The next output line that starts with prefix; lines before it are
    // passed over. nullopt when none came in time or the process ended.
    std::optional<std::string> WaitForLine(const std::string& prefix, int timeoutMs = kGuardMs);
    // Sends a command and waits for its reply line: the first line with
    // replyPrefix that the simulator wrote after it read the command, never
    // an older one still on its way. WaitForLine reads on after the reply.
    std::optional<std::string> Command(const std::string& commandLine,
                                       const std::string& replyPrefix, int timeoutMs = kGuardMs);

    // ---- The whole output ----
    // Waits until every line the simulator wrote before now has been read
    // here: it answers a ping only after them. Counting a line the box
    // writes as it answers needs this first, or the count may run ahead of
    // the log. Leaves WaitForLine where it was.
    bool Settle(int timeoutMs = kGuardMs);
    // A mark for the calls below: the line after the simulator's answer to
    // a ping, so that from the mark on stands exactly what it wrote after
    // the call, and nothing from before. (Without an answer to the ping,
    // the lines read so far.)
    size_t Mark(int timeoutMs = kGuardMs);
    // The same in two halves, for a caller that keeps its event loop
    // running meanwhile: AskMark sends the ping and returns its ticket;
    // MarkOf gives the mark once the ping's answer is in, nullopt before.
    // A command sent right after AskMark is answered after the mark.
    size_t AskMark();
    std::optional<size_t> MarkOf(size_t ticket) const;
    // Number of lines read so far. Not a mark (see Mark).
    size_t LineCount() const;
    // Lines from the mark on that start with prefix.
    std::vector<std::string> Lines(const std::string& prefix, size_t from = 0) const;
    size_t Count(const std::string& prefix, size_t from = 0) const {
        return Lines(prefix, from).size();
    }
    // Waits until at least n lines from the mark on start with prefix.
    bool WaitForCount(const std::string& prefix, size_t n, size_t from, int timeoutMs = kGuardMs);

private:
    void ReadOutput();
    void LinkPty();
    void UnlinkPty();
    // Index of the first line from `from` on that starts with prefix,
    // waiting for it; the caller holds the lock.
    std::optional<size_t> FindLine(std::unique_lock<std::mutex>& lock, const std::string& prefix,
                                   size_t from, int timeoutMs);

    std::string m_executable;
    std::vector<std::string> m_args;
    pid_t m_pid = -1;
    int m_in = -1;  // its standard input
    int m_out = -1; // its standard output
    std::string m_ptyPath;
    std::string m_linkDir; // holds the link PtyPath names, while there is one

    std::thread m_reader;
    // Guards everything below; the reader appends, the test reads.
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<std::string> m_lines;
    size_t m_cursor = 0; // next line WaitForLine looks at
    bool m_ended = false;
};

} // namespace boxsim
