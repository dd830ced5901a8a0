// Running the built programs as child processes: one run to its end with its output, exit
// code and CPU time, or a background server (txr-sim) whose first output line is read.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace kalvo::test {

struct ChildResult {
    int exitCode = -1;  // -1 when killed by a signal or not started
    bool timedOut = false;
    std::string out;
    std::string err;
    double cpuSeconds = 0;   // user + system time of the child
    double wallSeconds = 0;  // from start to exit
};

namespace detail {

inline double seconds(const timeval& tv) {
    return tv.tv_sec + tv.tv_usec / 1e6;
}

// fork + execv with stdout and stderr on pipes (stderr may be -1 to inherit).
inline pid_t spawn(const std::vector<std::string>& argv, int& outFd, int* errFd) {
    int outPipe[2];
    int errPipe[2] = {-1, -1};
    if (pipe2(outPipe, O_CLOEXEC) != 0) return -1;
    if (errFd != nullptr && pipe2(errPipe, O_CLOEXEC) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        if (errFd != nullptr) dup2(errPipe[1], STDERR_FILENO);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(outPipe[1]);
    outFd = outPipe[0];
    if (errFd != nullptr) {
        close(errPipe[1]);
        *errFd = errPipe[0];
    }
    return pid;
}

}  // namespace detail

// Runs argv[0] (a path) to its end; kills it after `limit`.
inline ChildResult runChild(const std::vector<std::string>& argv,
                            std::chrono::milliseconds limit = std::chrono::seconds(120)) {
    ChildResult r;
    const auto start = std::chrono::steady_clock::now();
    int outFd = -1;
    int errFd = -1;
    pid_t pid = detail::spawn(argv, outFd, &errFd);
    if (pid < 0) return r;
    const auto deadline = start + limit;
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            r.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, static_cast<int>(left.count())) < 0) continue;
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || fds[k].revents == 0) continue;
            char buf[4096];
            ssize_t n = read(fds[k].fd, buf, sizeof buf);
            if (n > 0) {
                (k == 0 ? r.out : r.err).append(buf, static_cast<std::size_t>(n));
            } else {
                close(fds[k].fd);
                fds[k].fd = -1;
                --open;
            }
        }
    }
    for (auto& f : fds)
        if (f.fd >= 0) close(f.fd);
    int status = 0;
    rusage use{};
    wait4(pid, &status, 0, &use);
    r.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.cpuSeconds = detail::seconds(use.ru_utime) + detail::seconds(use.ru_stime);
    if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    return r;
}

// A program that runs beside the test (txr-sim): started with its first output line read,
// stopped with SIGTERM.
class BackgroundChild {
  public:
    BackgroundChild() = default;
    BackgroundChild(const BackgroundChild&) = delete;
    BackgroundChild& operator=(const BackgroundChild&) = delete;
    ~BackgroundChild() { stop(); }

    // Starts argv and waits up to `limit` for its first line; the line without its LF, or
    // nullopt when none came.
    std::optional<std::string> start(const std::vector<std::string>& argv,
                                     std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        pid_ = detail::spawn(argv, outFd_, nullptr);
        if (pid_ < 0) return std::nullopt;
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (true) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return std::nullopt;
            pollfd p{outFd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            char c;
            if (read(outFd_, &c, 1) != 1) return std::nullopt;
            if (c == '\n') return line;
            line.push_back(c);
        }
    }

    // Sends SIGTERM (or `signal`) and waits; the exit code (-1 when it died of a signal or
    // never ran).
    int stop(int signal = SIGTERM) {
        if (pid_ <= 0) return -1;
        kill(pid_, signal);
        int status = 0;
        rusage use{};
        // A child that ignores the request is killed after 5 s.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (wait4(pid_, &status, WNOHANG, &use) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid_, SIGKILL);
                wait4(pid_, &status, 0, &use);
                break;
            }
            usleep(10'000);
        }
        cpuSeconds_ = detail::seconds(use.ru_utime) + detail::seconds(use.ru_stime);
        pid_ = -1;
        if (outFd_ >= 0) close(outFd_);
        outFd_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // CPU time the child used, known after stop().
    double cpuSeconds() const { return cpuSeconds_; }

  private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    double cpuSeconds_ = 0;
};

// txr-sim's command line serving on a pseudo-terminal, or with `tcp` on TCP at the loopback on a
// port the system picks (it prints the tcp:// name to use).
inline std::vector<std::string> onLine(std::vector<std::string> argv, bool tcp) {
    if (tcp) argv.insert(argv.end(), {"--tcp", "127.0.0.1:0"});
    return argv;
}
// The name of a test case run on either line.
inline std::string lineName(bool tcp) {
    return tcp ? "Tcp" : "Pty";
}

// The environment the programs under test run in: the C locale, offscreen windows, and their
// settings in `configHome` instead of the user's own. Children inherit it.
inline void useTestEnvironment(const std::string& configHome) {
    setenv("LC_ALL", "C", 1);
    setenv("LANG", "C", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
}

// A program under test: the environment variable's value when set, else `fallback` (the
// program built beside the test).
inline std::string programPath(const char* variable, const std::string& fallback) {
    const char* v = std::getenv(variable);
    return v != nullptr && *v != '\0' ? std::string(v) : fallback;
}

}  // namespace kalvo::test
