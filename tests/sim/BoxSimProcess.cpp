#include "BoxSimProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace boxsim {

BoxSimProcess::BoxSimProcess(std::string executable, std::vector<std::string> args)
    : m_executable(std::move(executable)), m_args(std::move(args)) {}

BoxSimProcess::~BoxSimProcess() {
    Stop();
}

bool BoxSimProcess::Start(std::string* error, int timeoutMs) {
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) {
        if (error)
            *error = std::strerror(errno);
        return false;
    }
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        if (error)
            *error = std::strerror(errno);
        ::close(toChild[0]);
        ::close(toChild[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    std::vector<char*> argv{m_executable.data()};
    for (auto& a : m_args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc =
        ::posix_spawn(&m_pid, m_executable.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    m_in = toChild[1];
    m_out = fromChild[0];
    if (rc != 0) {
        m_pid = -1;
        if (error)
            *error = "cannot start " + m_executable + ": " + std::strerror(rc);
        Stop();
        return false;
    }
    {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
        m_cursor = 0;
        m_ended = false;
    }
    m_reader = std::thread(&BoxSimProcess::ReadOutput, this);
    const auto ready = WaitForLine("PTY ", timeoutMs);
    if (!ready) {
        if (error)
            *error = "no readiness line from " + m_executable;
        Stop();
        return false;
    }
    m_ptyPath = ready->substr(4);
    LinkPty();
    return true;
}

void BoxSimProcess::LinkPty() {
    // A name of this simulator's own for its pseudo-terminal: /dev/pts
    // numbers come round again as soon as a terminal is closed, so a path
    // some other test kept after its simulator ended could reach this one
    // (and lock the program here out of its port). The name goes with the
    // simulator; a path kept after that leads nowhere.
    char dir[] = "/tmp/boxsim-pty-XXXXXX";
    if (!::mkdtemp(dir))
        return;
    const std::string link = std::string(dir) + "/tty";
    if (::symlink(m_ptyPath.c_str(), link.c_str()) != 0) {
        ::rmdir(dir);
        return;
    }
    m_linkDir = dir;
    m_ptyPath = link;
}

void BoxSimProcess::UnlinkPty() {
    if (m_linkDir.empty())
        return;
    ::unlink((m_linkDir + "/tty").c_str());
    ::rmdir(m_linkDir.c_str());
    m_linkDir.clear();
}

void BoxSimProcess::ReadOutput() {
    std::string partial;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_out, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        partial.append(buf, static_cast<size_t>(n));
        size_t start = 0;
        std::vector<std::string> complete;
        for (size_t nl; (nl = partial.find('\n', start)) != std::string::npos; start = nl + 1)
            complete.push_back(partial.substr(start, nl - start));
        partial.erase(0, start);
        if (!complete.empty()) {
            std::lock_guard lock(m_mutex);
            for (auto& l : complete)
                m_lines.push_back(std::move(l));
            m_cv.notify_all();
        }
    }
    std::lock_guard lock(m_mutex);
    m_ended = true;
    m_cv.notify_all();
}

void BoxSimProcess::Stop() {
    if (m_in >= 0)
        ::close(m_in);
    m_in = -1;
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    m_pid = -1;
    UnlinkPty();
    // The simulator is gone, so its end of the pipe is closed and the reader
    // sees the end of the output.
    if (m_reader.joinable())
        m_reader.join();
    if (m_out >= 0)
        ::close(m_out);
    m_out = -1;
}

void BoxSimProcess::Send(const std::string& commandLine) {
    const std::string line = commandLine + "\n";
    size_t done = 0;
    while (m_in >= 0 && done < line.size()) {
        const ssize_t n = ::write(m_in, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

std::optional<std::string> BoxSimProcess::WaitForLine(const std::string& prefix, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    const auto at = FindLine(lock, prefix, m_cursor, timeoutMs);
    if (!at) {
        m_cursor = m_lines.size();
        return std::nullopt;
    }
    m_cursor = *at + 1;
    return m_lines[*at];
}

std::optional<size_t> BoxSimProcess::FindLine(std::unique_lock<std::mutex>& lock,
                                              const std::string& prefix, size_t from,
                                              int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (size_t i = from;;) {
        for (; i < m_lines.size(); ++i)
            if (m_lines[i].compare(0, prefix.size(), prefix) == 0)
                return i;
        if (m_ended || m_cv.wait_until(lock, deadline) == std::cv_status::timeout) {
            if (i < m_lines.size())
                continue;
            return std::nullopt;
        }
    }
}

std::optional<std::string> BoxSimProcess::Command(const std::string& commandLine,
                                                  const std::string& replyPrefix, int timeoutMs) {
    // Every line written before the command, an older reply of the same
    // kind included, is in before the command goes out.
    const size_t from = Mark(timeoutMs);
    Send(commandLine);
    std::unique_lock lock(m_mutex);
    const auto at = FindLine(lock, replyPrefix, from, timeoutMs);
    if (!at)
        return std::nullopt;
    m_cursor = std::max(m_cursor, *at + 1);
    return m_lines[*at];
}

bool BoxSimProcess::Settle(int timeoutMs) {
    const size_t ticket = AskMark();
    std::unique_lock lock(m_mutex);
    return FindLine(lock, "PONG", ticket, timeoutMs).has_value();
}

size_t BoxSimProcess::Mark(int timeoutMs) {
    const size_t ticket = AskMark();
    std::unique_lock lock(m_mutex);
    const auto pong = FindLine(lock, "PONG", ticket, timeoutMs);
    return pong ? *pong + 1 : m_lines.size();
}

size_t BoxSimProcess::AskMark() {
    // A PONG at or after this count answers this ping: every ping before
    // it was answered or given up on by then.
    const size_t ticket = LineCount();
    Send("ping");
    return ticket;
}

std::optional<size_t> BoxSimProcess::MarkOf(size_t ticket) const {
    std::lock_guard lock(m_mutex);
    for (size_t i = ticket; i < m_lines.size(); ++i)
        if (m_lines[i].compare(0, 4, "PONG") == 0)
            return i + 1;
    return std::nullopt;
}

size_t BoxSimProcess::LineCount() const {
    std::lock_guard lock(m_mutex);
    return m_lines.size();
}

std::vector<std::string> BoxSimProcess::Lines(const std::string& prefix, size_t from) const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> out;
    for (size_t i = from; i < m_lines.size(); ++i)
        if (m_lines[i].compare(0, prefix.size(), prefix) == 0)
            out.push_back(m_lines[i]);
    return out;
}

bool BoxSimProcess::WaitForCount(const std::string& prefix, size_t n, size_t from, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(m_mutex);
    for (bool last = false;; ) {
        size_t count = 0;
        for (size_t i = from; i < m_lines.size(); ++i)
            count += m_lines[i].compare(0, prefix.size(), prefix) == 0;
        if (count >= n)
            return true;
        if (last)
            return false;
        // A line that came with the deadline still counts.
        last = m_ended || m_cv.wait_until(lock, deadline) == std::cv_status::timeout;
    }
}

} // namespace boxsim
