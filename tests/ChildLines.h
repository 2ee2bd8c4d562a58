#pragma once

// The output of a helper program a test starts, read line by line with every wait bounded, and what
// to say when the line does not come: whether the program ended (and how) or was still silent.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <string>

namespace testsupport {

// How the child ended ("exit status 1", "killed by signal 9"), waiting at most `waitMs` for its end;
// "still running" when it has not. The child is not reaped: its owner still waits for it.
inline std::string EndOfChild(pid_t pid, int waitMs = 0) {
    if (pid <= 0) {
        return "not started";
    }
    const int process = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (process >= 0) {
        pollfd ended{process, POLLIN, 0};
        while (poll(&ended, 1, waitMs) < 0 && errno == EINTR) {
        }
        close(process);
    }
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == 0) {
        return "still running";
    }
    return info.si_code == CLD_EXITED ? "exit status " + std::to_string(info.si_status)
                                      : "killed by signal " + std::to_string(info.si_status);
}

// The child's next line on `fd`, without its newline, within `timeout`; a signal that interrupts the
// wait does not end it. `unread` keeps what came after the line. Nothing when the output ended or the
// time ran out; `why` (when given) then says which, how the child ended and what it had printed.
inline std::optional<std::string> NextChildLine(pid_t pid, int fd, std::string& unread,
                                                std::chrono::milliseconds timeout,
                                                std::string* why = nullptr) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    auto fail = [&](const std::string& what, int waitMs) -> std::optional<std::string> {
        if (why != nullptr) {
            *why = what + " (" + EndOfChild(pid, waitMs) + "); it had printed \"" + unread + "\"";
        }
        return std::nullopt;
    };
    for (;;) {
        if (const std::size_t end = unread.find('\n'); end != std::string::npos) {
            std::string line = unread.substr(0, end);
            unread.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd readable{fd, POLLIN, 0};
        const int polled = fd < 0 || left <= 0 ? 0 : poll(&readable, 1, static_cast<int>(left));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            return fail("no line within " + std::to_string(timeout.count()) + " ms", 0);
        }
        char chunk[4096];
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return fail("its output ended", 5000);  // it is ending: its status comes in a moment
        }
        unread.append(chunk, static_cast<std::size_t>(got));
    }
}

// Success once the child's next line is `expected` (within `timeout`); else the line that came
// instead, or why none did.
inline ::testing::AssertionResult ChildSays(pid_t pid, int fd, std::string& unread,
                                            const std::string& expected, std::chrono::milliseconds timeout) {
    std::string why;
    const std::optional<std::string> line = NextChildLine(pid, fd, unread, timeout, &why);
    if (line == expected) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << (line ? "it said \"" + *line + "\"" : why) << " instead of \"" << expected << "\"";
}

}  // namespace testsupport
