// txr-sim: a simulated TXR 3.0 on a pseudo-terminal. Prints the terminal's path as its first
// line (or links it at --link PATH); a program opens that path as its serial port. With
// --tcp HOST:PORT it serves on a TCP port instead, like a serial device server in TCP server
// mode: one client at a time, bytes passed unchanged; it prints "tcp://HOST:PORT" (port 0: the
// one the system chose) for the program's --port.
//
//   txr-sim [--variant 2A/5D] [--class 120/1.2] [--address N[,N...]] [--link PATH | --tcp
//           HOST:PORT] [--log FILE] [--wire-time] [--silent] [--garble] [--delay MS] [--fresh]
//           [--bad-copy]
//
// The unit starts programmed with a demo configuration for its variant; --fresh gives one that
// was never programmed. Several addresses put one such unit at each on the same line.

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/version.h"
#include "sim/bus.h"
#include "sim/transducer.h"

namespace {

using kalvo::TimePoint;
using kalvo::sim::Bus;
using kalvo::sim::Options;

volatile sig_atomic_t gStop = 0;

void onSignal(int) {
    gStop = 1;
}

const char* const kUsage =
    "usage: txr-sim [--variant 2A/5D] [--class 120/1.2] [--address N[,N...]]\n"
    "               [--link PATH | --tcp HOST:PORT] [--log FILE] [--wire-time] [--silent]\n"
    "               [--garble] [--delay MS] [--fresh] [--bad-copy]\n"
    "       txr-sim --help | --version\n"
    "Serves a simulated TXR 3.0 on a pseudo-terminal, or on a TCP port like a serial device\n"
    "server, and prints the terminal's path or the tcp:// name to use.\n"
    "  --variant  analog/binary outputs: 1A..4A with 1D, 5D or 9D (default 2A/5D)\n"
    "  --class    input class volts/amperes: 600, 120 or 100 / 5, 1.2 or 1 (default 120/1.2)\n"
    "  --address  device address 0..255 (default 0); a list such as 1,3,4 puts a unit at\n"
    "             each address on the one line (an address without a unit stays silent)\n"
    "  --link     also make PATH a symbolic link to the terminal (removed on exit)\n"
    "  --tcp      serve on this TCP address instead of a terminal, one client at a time\n"
    "             (port 0: a free one); prints tcp://HOST:PORT\n"
    "  --log      append every received frame with a time stamp to FILE\n"
    "  --wire-time  take 11 bits at 19200 baud per character, both ways\n"
    "  --silent   answer nothing\n"
    "  --garble   echo every command with one character changed\n"
    "  --delay    wait MS milliseconds before each reply\n"
    "  --fresh    a unit that was never programmed (default: programmed with a demo\n"
    "             configuration: three-wire 100 V, 1 A, outputs on U12, P, F, U23)\n"
    "  --bad-copy store the device copy with one value changed (echoed unchanged)\n";

int usageError(const std::string& what) {
    std::fprintf(stderr, "txr-sim: %s\n%s", what.c_str(), kUsage);
    return 1;
}

std::optional<int> parseInt(std::string_view s) {
    int v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    return v;
}

// "2A/5D" -> {2, 5}
bool parseVariant(std::string_view s, Options& o) {
    if (s.size() != 5 || s[1] != 'A' || s[2] != '/' || s[4] != 'D') return false;
    int a = s[0] - '0';
    int b = s[3] - '0';
    if (a < 1 || a > 4 || (b != 1 && b != 5 && b != 9)) return false;
    o.analog = a;
    o.binary = b;
    return true;
}

// "120/1.2" -> {120, 1.2}
bool parseClass(std::string_view s, Options& o) {
    std::size_t slash = s.find('/');
    if (slash == std::string_view::npos) return false;
    std::string_view u = s.substr(0, slash);
    std::string_view i = s.substr(slash + 1);
    if (u != "600" && u != "120" && u != "100") return false;
    if (i != "5" && i != "1.2" && i != "1") return false;
    o.voltage = u == "600" ? 600 : u == "120" ? 120 : 100;
    o.current = i == "5" ? 5 : i == "1.2" ? 1.2 : 1;
    return true;
}

std::string wallClockStamp() {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    char out[80];
    std::snprintf(out, sizeof out, "%s.%03d", buf, static_cast<int>(ms.count()));
    return out;
}

// Non-printable bytes of a frame as <hex>, so the log stays one line per frame.
std::string printable(std::string_view s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c != 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "<%02X>", c);
            out += buf;
        }
    }
    return out;
}

bool makeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return false;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD | CSTOPB;
    cfsetispeed(&tio, B19200);
    cfsetospeed(&tio, B19200);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

// Listens on HOST:PORT ("127.0.0.1:0", "[::1]:4001"); the socket, or -1 with the reason said.
// `shown` becomes the tcp:// name a client connects to, with the port actually bound.
int listenOn(std::string_view where, std::string& shown) {
    const std::size_t colon = where.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        std::fprintf(stderr, "txr-sim: --tcp needs HOST:PORT\n");
        return -1;
    }
    std::string host(where.substr(0, colon));
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    const auto port = parseInt(where.substr(colon + 1));
    if (!port || *port < 0 || *port > 65535) {
        std::fprintf(stderr, "txr-sim: bad TCP port in '%.*s'\n", static_cast<int>(where.size()),
                     where.data());
        return -1;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (const int e = getaddrinfo(host.c_str(), std::to_string(*port).c_str(), &hints, &found)) {
        std::fprintf(stderr, "txr-sim: %s: %s\n", host.c_str(), gai_strerror(e));
        return -1;
    }
    int fd = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int on = 1;
    if (fd >= 0) setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (fd < 0 || bind(fd, found->ai_addr, found->ai_addrlen) != 0 || listen(fd, 4) != 0) {
        std::fprintf(stderr, "txr-sim: cannot listen on %s: %s\n", std::string(where).c_str(),
                     std::strerror(errno));
        freeaddrinfo(found);
        if (fd >= 0) close(fd);
        return -1;
    }
    freeaddrinfo(found);
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    const int actual = bound.ss_family == AF_INET6
                           ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                           : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    const bool v6 = host.find(':') != std::string::npos;
    shown = "tcp://" + (v6 ? "[" + host + "]" : host) + ":" + std::to_string(actual);
    return fd;
}

timespec toTimespec(std::chrono::nanoseconds d) {
    if (d < std::chrono::nanoseconds::zero()) d = std::chrono::nanoseconds::zero();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(d.count() / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(d.count() % 1'000'000'000);
    return ts;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::vector<std::string> addresses{"0"};
    std::string linkPath;
    std::string logPath;
    std::string tcpAddress;
    std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::size_t k = 0; k < args.size(); ++k) {
        std::string_view a = args[k];
        auto value = [&]() -> std::optional<std::string_view> {
            if (k + 1 >= args.size()) return std::nullopt;
            return args[++k];
        };
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--version") {
            std::printf("%s\n", kalvo::versionLine("txr-sim").c_str());
            return 0;
        } else if (a == "--wire-time") {
            options.wireTime = true;
        } else if (a == "--silent") {
            options.silent = true;
        } else if (a == "--garble") {
            options.garbleEcho = true;
        } else if (a == "--fresh") {
            options.fresh = true;
        } else if (a == "--bad-copy") {
            options.badCopy = true;
        } else if (a == "--variant" || a == "--class" || a == "--address" || a == "--link" ||
                   a == "--log" || a == "--delay" || a == "--tcp") {
            auto v = value();
            if (!v) return usageError(std::string(a) + " needs a value");
            if (a == "--variant") {
                if (!parseVariant(*v, options))
                    return usageError("unknown variant '" + std::string(*v) + "'");
            } else if (a == "--class") {
                if (!parseClass(*v, options))
                    return usageError("unknown input class '" + std::string(*v) + "'");
            } else if (a == "--address") {
                addresses.clear();
                std::string_view list = *v;
                for (std::size_t comma = 0; comma != std::string_view::npos;) {
                    comma = list.find(',');
                    auto n = parseInt(list.substr(0, comma));
                    const std::string address = n ? std::to_string(*n) : std::string();
                    if (!n || *n < 0 || *n > 255 ||
                        std::find(addresses.begin(), addresses.end(), address) != addresses.end())
                        return usageError("bad address list '" + std::string(*v) + "'");
                    addresses.push_back(address);
                    if (comma != std::string_view::npos) list.remove_prefix(comma + 1);
                }
            } else if (a == "--link") {
                linkPath = std::string(*v);
                if (linkPath.empty()) return usageError("--link needs a path");
            } else if (a == "--tcp") {
                tcpAddress = std::string(*v);
                if (tcpAddress.empty()) return usageError("--tcp needs HOST:PORT");
            } else if (a == "--log") {
                logPath = std::string(*v);
                if (logPath.empty()) return usageError("--log needs a path");
            } else {
                auto n = parseInt(*v);
                if (!n || *n < 0 || *n > 60000)
                    return usageError("bad delay '" + std::string(*v) + "'");
                options.replyDelay = kalvo::Millis{*n};
            }
        } else {
            return usageError("unknown option '" + std::string(a) + "'");
        }
    }

    if (!tcpAddress.empty() && !linkPath.empty()) {
        return usageError("--link and --tcp exclude each other");
    }

    std::FILE* log = nullptr;
    if (!logPath.empty()) {
        log = std::fopen(logPath.c_str(), "a");
        if (log == nullptr) {
            std::fprintf(stderr, "txr-sim: cannot open log %s: %s\n", logPath.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }

    // The line: a pseudo-terminal's master side, or (--tcp) the one connected client.
    int master = -1;
    int keepSlave = -1;
    int listener = -1;
    int client = -1;
    std::string slavePath;  // what a program opens: the terminal, or the tcp:// name
    if (!tcpAddress.empty()) {
        listener = listenOn(tcpAddress, slavePath);
        if (listener < 0) return 1;
    } else {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            std::fprintf(stderr, "txr-sim: cannot create a pseudo-terminal: %s\n",
                         std::strerror(errno));
            return 1;
        }
        const char* name = ptsname(master);
        if (name == nullptr) {
            std::fprintf(stderr, "txr-sim: ptsname: %s\n", std::strerror(errno));
            return 1;
        }
        slavePath = name;
        // Keep a slave open in here too: then the master never sees a hang-up while the client
        // closes and reopens the port, and the raw settings stay as made.
        keepSlave = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
        if (keepSlave < 0 || !makeRaw(keepSlave)) {
            std::fprintf(stderr, "txr-sim: cannot set up %s: %s\n", slavePath.c_str(),
                         std::strerror(errno));
            return 1;
        }
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

        if (!linkPath.empty()) {
            unlink(linkPath.c_str());  // a stale link from an earlier run
            if (symlink(slavePath.c_str(), linkPath.c_str()) != 0) {
                std::fprintf(stderr, "txr-sim: cannot link %s: %s\n", linkPath.c_str(),
                             std::strerror(errno));
                return 1;
            }
        }
    }

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    // Signals are taken only inside ppoll, so a stop request is never lost between the
    // check of gStop and the wait.
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);

    std::printf("%s\n", slavePath.c_str());
    std::fflush(stdout);

    Bus device(options, addresses);
    std::size_t framesLogged = 0;
    std::string pendingOut;  // due output the terminal did not take yet
    int status = 0;

    while (!gStop) {
        auto now = std::chrono::steady_clock::now();
        const int line = listener >= 0 ? client : master;
        if (pendingOut.empty()) pendingOut = device.takeOutput(now);
        // Without a client the unit's answers go out on a line nobody listens to.
        if (line < 0) pendingOut.clear();

        pollfd pfd[2] = {{line, POLLIN, 0}, {listener, POLLIN, 0}};
        if (!pendingOut.empty()) pfd[0].events |= POLLOUT;
        timespec timeout{};
        timespec* timeoutPtr = nullptr;
        if (pendingOut.empty()) {
            if (auto next = device.nextOutputAt()) {
                timeout = toTimespec(*next - now);
                timeoutPtr = &timeout;
            }
        }
        int n = ppoll(pfd, 2, timeoutPtr, &waitMask);
        if (n < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "txr-sim: poll: %s\n", std::strerror(errno));
            status = 1;
            break;
        }
        bool clientGone = false;
        if (pfd[0].revents & POLLIN) {
            char buf[512];
            ssize_t got = read(line, buf, sizeof buf);
            if (got > 0) {
                device.receive(std::string_view(buf, static_cast<std::size_t>(got)),
                               std::chrono::steady_clock::now());
            } else if (client >= 0 && (got == 0 || (errno != EAGAIN && errno != EINTR))) {
                clientGone = true;  // the client closed the connection or it broke
            } else if (got < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
                std::fprintf(stderr, "txr-sim: read: %s\n", std::strerror(errno));
                status = 1;
                break;
            }
        }
        if ((pfd[0].revents & POLLOUT) && !pendingOut.empty() && !clientGone) {
            ssize_t put = write(line, pendingOut.data(), pendingOut.size());
            if (put > 0) pendingOut.erase(0, static_cast<std::size_t>(put));
            if (put < 0 && client >= 0 && errno != EAGAIN && errno != EINTR) clientGone = true;
        }
        if (client >= 0 && (clientGone || (pfd[0].revents & (POLLHUP | POLLERR)))) {
            close(client);
            client = -1;
            pendingOut.clear();
        } else if (client < 0 && (pfd[0].revents & (POLLHUP | POLLERR))) {
            // Cannot happen while keepSlave is open; should it anyway, do not spin.
            timespec pause = toTimespec(std::chrono::milliseconds(50));
            nanosleep(&pause, nullptr);
        }
        if (pfd[1].revents & POLLIN) {
            // One client at a time, as a gateway in TCP server mode: a second one is closed at
            // once.
            const int c = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (c >= 0 && client >= 0) {
                close(c);
            } else if (c >= 0) {
                const int on = 1;
                setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                client = c;
            }
        }
        const auto& frames = device.frames();
        if (log != nullptr && framesLogged < frames.size()) {
            for (; framesLogged < frames.size(); ++framesLogged)
                std::fprintf(log, "%s %s\n", wallClockStamp().c_str(),
                             printable(frames[framesLogged].text).c_str());
            std::fflush(log);
        }
    }

    if (!linkPath.empty()) unlink(linkPath.c_str());
    if (log != nullptr) std::fclose(log);
    for (const int fd : {keepSlave, master, client, listener}) {
        if (fd >= 0) close(fd);
    }
    return status;
}
