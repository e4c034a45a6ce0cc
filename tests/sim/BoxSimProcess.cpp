#include "BoxSimProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace boxsim {

BoxSimProcess::BoxSimProcess(std::string executable) : m_executable(std::move(executable)) {}

BoxSimProcess::~BoxSimProcess() {
    Stop();
}

bool BoxSimProcess::Start(std::string* error, int timeoutMs) {
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) {
        if (error)
            *error = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    char* argv[] = {m_executable.data(), nullptr};
    const int rc = ::posix_spawn(&m_pid, m_executable.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    m_in = toChild[1];
    m_out = fromChild[0];
    if (rc != 0) {
        m_pid = -1;
        if (error)
            *error = "cannot start " + m_executable + ": " + std::strerror(rc);
        return false;
    }
    const auto ready = WaitForLine("PTY ", timeoutMs);
    if (!ready) {
        if (error)
            *error = "no readiness line from " + m_executable;
        Stop();
        return false;
    }
    m_ptyPath = ready->substr(4);
    return true;
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
    if (m_out >= 0)
        ::close(m_out);
    m_out = -1;
}

void BoxSimProcess::Send(const std::string& commandLine) {
    const std::string line = commandLine + "\n";
    size_t done = 0;
    while (m_in >= 0 && done < line.size()) {
        const ssize_t n = ::write(m_in, line.data() + done, line.size() - done);
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

std::optional<std::string> BoxSimProcess::NextLine(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (const size_t nl = m_buffer.find('\n'); nl != std::string::npos) {
            std::string line = m_buffer.substr(0, nl);
            m_buffer.erase(0, nl + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (m_out < 0 || left.count() <= 0)
            return std::nullopt;
        pollfd p{m_out, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buf[512];
        const ssize_t n = ::read(m_out, buf, sizeof buf);
        if (n <= 0)
            return std::nullopt;
        m_buffer.append(buf, static_cast<size_t>(n));
    }
}

std::optional<std::string> BoxSimProcess::WaitForLine(const std::string& prefix, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        auto line = NextLine(static_cast<int>(std::max<long long>(0, left.count())));
        if (!line)
            return std::nullopt;
        if (line->compare(0, prefix.size(), prefix) == 0)
            return line;
    }
}

std::optional<std::string> BoxSimProcess::Command(const std::string& commandLine,
                                                  const std::string& replyPrefix, int timeoutMs) {
    Send(commandLine);
    return WaitForLine(replyPrefix, timeoutMs);
}

} // namespace boxsim
