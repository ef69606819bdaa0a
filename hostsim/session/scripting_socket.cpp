#include "scripting_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace hostsim::session {

namespace {

// A connection that keeps sending after the limit is drained up to this much
// before the server gives up and closes it.
constexpr std::size_t kMaxDrainBytes = std::size_t{64} << 20;
// Bytes taken from one connection before the others get their turn.
constexpr std::size_t kReadTurnBytes = std::size_t{256} << 10;
// Clients may queue up while a long session line runs; they are accepted
// (and their deadlines start) when the session serves again.
constexpr int kListenBacklog = 128;

std::string millisecondsText(int ms) {
    if (ms % 1000 == 0) return std::to_string(ms / 1000) + " s";
    return std::to_string(ms) + " ms";
}

std::string errnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

bool fillAddress(const std::string& path, sockaddr_un& address, std::string& error) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        error = "socket path must hold 1 to " + std::to_string(sizeof address.sun_path - 1) + " bytes: " + path;
        return false;
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

int connectTo(const std::string& path, std::string& error) {
    sockaddr_un address{};
    if (!fillAddress(path, address, error)) return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = errnoText("socket");
        return -1;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = errnoText("no simulator listening on " + path);
        ::close(fd);
        return -1;
    }
    return fd;
}

// Waits until the descriptor is ready for `events`; false on timeout or error.
bool waitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, timeoutMs);
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) return false;
    }
}

// Writes everything; false when the peer went away or stayed blocked too long.
bool writeAll(int fd, std::string_view data, int timeoutMs) {
    while (!data.empty()) {
        const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            data.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(fd, POLLOUT, timeoutMs)) continue;
        return false;
    }
    return true;
}

}  // namespace

std::string lateRequestReply(const ServerLimits& limits) {
    return "<error>request refused: not complete within " + millisecondsText(limits.requestDeadlineMs) +
           " (write the request, then shut down the writing side)</error>\n";
}

std::string tooManyConnectionsReply(const ServerLimits& limits) {
    return "<error>request refused: " + std::to_string(limits.maxConnections) +
           " connections are open already; try again</error>\n";
}

std::string defaultSocketPath() {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && runtimeDir[0] == '/') return std::string(runtimeDir) + "/lumbrel-hostsim.sock";
    return "/tmp/lumbrel-hostsim-" + std::to_string(::getuid()) + ".sock";
}

struct ScriptingServer::Connection {
    int fd = -1;
    Clock::time_point deadline;
    std::string request;
    std::size_t total = 0;  // bytes received, also those past the limit
    bool tooLong = false;
    bool writing = false;  // the request is answered; the reply goes out
    std::string reply;
    std::size_t sent = 0;
};

ScriptingServer::ScriptingServer(ServerLimits limits) : limits_(limits) {}

ScriptingServer::~ScriptingServer() { close(); }

bool ScriptingServer::listen(const std::string& path, std::string& error) {
    close();
    sockaddr_un address{};
    if (!fillAddress(path, address, error)) return false;

    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            error = path + " exists and is not a socket";
            return false;
        }
        std::string ignored;
        const int probe = connectTo(path, ignored);
        if (probe >= 0) {
            ::close(probe);
            error = "another simulator is listening on " + path;
            return false;
        }
        ::unlink(path.c_str());  // left behind by a simulator that ended without closing
    }

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = errnoText("socket");
        return false;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = errnoText("cannot bind " + path);
        ::close(fd);
        return false;
    }
    ::chmod(path.c_str(), S_IRUSR | S_IWUSR);
    const int events = ::epoll_create1(EPOLL_CLOEXEC);
    const int timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    epoll_event onListener{};
    onListener.events = EPOLLIN;
    onListener.data.fd = fd;
    epoll_event onTimer{};
    onTimer.events = EPOLLIN;
    onTimer.data.fd = timer;
    if (::listen(fd, kListenBacklog) != 0 || events < 0 || timer < 0 ||
        ::epoll_ctl(events, EPOLL_CTL_ADD, fd, &onListener) != 0 ||
        ::epoll_ctl(events, EPOLL_CTL_ADD, timer, &onTimer) != 0) {
        error = errnoText("cannot listen on " + path);
        for (const int open : {fd, events, timer}) {
            if (open >= 0) ::close(open);
        }
        ::unlink(path.c_str());
        return false;
    }
    struct stat bound {};
    if (::stat(path.c_str(), &bound) == 0) {
        device_ = bound.st_dev;
        inode_ = bound.st_ino;
    }
    listener_ = fd;
    events_ = events;
    timer_ = timer;
    path_ = path;
    return true;
}

void ScriptingServer::close() {
    for (const auto& connection : connections_) {
        if (connection->fd >= 0) ::close(connection->fd);
    }
    connections_.clear();
    if (listener_ < 0) return;
    ::close(listener_);
    ::close(events_);
    ::close(timer_);
    listener_ = events_ = timer_ = -1;
    struct stat current {};
    if (::lstat(path_.c_str(), &current) == 0 && current.st_dev == device_ && current.st_ino == inode_) {
        ::unlink(path_.c_str());
    }
    path_.clear();
}

void ScriptingServer::watch(const Connection& connection, bool add) {
    epoll_event interest{};
    interest.events = connection.writing ? EPOLLOUT : EPOLLIN;
    interest.data.fd = connection.fd;
    ::epoll_ctl(events_, add ? EPOLL_CTL_ADD : EPOLL_CTL_MOD, connection.fd, &interest);
}

void ScriptingServer::refuseAtOnce(int fd, const std::string& reply) {
    // Take what the client has sent so far, so that closing does not reset
    // the connection before it reads the refusal.
    char buffer[4096];
    for (std::size_t drained = 0; drained < kMaxRequestBytes;) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        drained += static_cast<std::size_t>(got);
    }
    (void)::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    ::close(fd);
}

void ScriptingServer::acceptWaiting() {
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;  // EAGAIN: nobody else waits
        }
        if (connections_.size() >= limits_.maxConnections) {
            refuseAtOnce(fd, tooManyConnectionsReply(limits_));
            continue;
        }
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->deadline = Clock::now() + std::chrono::milliseconds(limits_.requestDeadlineMs);
        watch(*connection, true);
        connections_.push_back(std::move(connection));
    }
}

int ScriptingServer::readFrom(Connection& connection, const Handler& handler) {
    char buffer[65536];
    // A client that floods is read in turns, so that the others are served too.
    for (std::size_t taken = 0; taken < kReadTurnBytes;) {
        const ssize_t got = ::recv(connection.fd, buffer, sizeof buffer, 0);
        if (got > 0) {
            const auto size = static_cast<std::size_t>(got);
            taken += size;
            connection.total += size;
            if (connection.total > kMaxRequestBytes) {
                // Keep reading to the client's end so that it can still read
                // the refusal (closing with unread data would reset it).
                if (!connection.tooLong) std::string().swap(connection.request);
                connection.tooLong = true;
                if (connection.total > kMaxDrainBytes) return finishRequest(connection, handler);
            } else {
                connection.request.append(buffer, size);
            }
            continue;
        }
        if (got == 0) return finishRequest(connection, handler);
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            ::close(connection.fd);  // gone: nobody to answer
            connection.fd = -1;
        }
        return 0;
    }
    return 0;
}

int ScriptingServer::finishRequest(Connection& connection, const Handler& handler) {
    connection.reply = connection.tooLong ? std::string(kRequestTooLongReply) : handler(connection.request);
    std::string().swap(connection.request);
    connection.writing = true;
    connection.deadline = Clock::now() + std::chrono::milliseconds(limits_.replyDeadlineMs);
    watch(connection, false);
    writeTo(connection);
    return 1;
}

void ScriptingServer::writeTo(Connection& connection) {
    while (connection.sent < connection.reply.size()) {
        const ssize_t sent = ::send(connection.fd, connection.reply.data() + connection.sent,
                                    connection.reply.size() - connection.sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            connection.sent += static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;  // the rest when it can go
        break;  // the client went away
    }
    ::close(connection.fd);
    connection.fd = -1;
}

int ScriptingServer::expire(const Handler& handler) {
    int answered = 0;
    const Clock::time_point now = Clock::now();
    for (const auto& connection : connections_) {
        if (connection->fd < 0 || connection->deadline > now) continue;
        if (connection->writing) {
            ::close(connection->fd);  // the client does not take its reply
            connection->fd = -1;
            continue;
        }
        // Bytes that came in time but were not looked at yet still count.
        answered += readFrom(*connection, handler);
        if (connection->fd < 0 || connection->writing) continue;
        refuseAtOnce(connection->fd, lateRequestReply(limits_));
        connection->fd = -1;
        ++answered;
    }
    return answered;
}

void ScriptingServer::armTimer() {
    itimerspec when{};
    bool any = false;
    Clock::time_point earliest{};
    for (const auto& connection : connections_) {
        if (!any || connection->deadline < earliest) earliest = connection->deadline;
        any = true;
    }
    if (any) {
        const auto left = std::max<std::int64_t>(
            1, std::chrono::duration_cast<std::chrono::nanoseconds>(earliest - Clock::now()).count());
        when.it_value.tv_sec = static_cast<time_t>(left / 1000000000);
        when.it_value.tv_nsec = static_cast<long>(left % 1000000000);
    }
    ::timerfd_settime(timer_, 0, &when, nullptr);
}

int ScriptingServer::serve(const Handler& handler, int timeoutMs) {
    if (listener_ < 0 || serving_) return 0;
    serving_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{serving_};

    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    int answered = 0;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
        epoll_event ready[32];
        const int count = ::epoll_wait(events_, ready, 32, static_cast<int>(std::max<std::int64_t>(0, left)));
        for (int i = 0; i < count; ++i) {
            const int fd = ready[i].data.fd;
            if (fd == listener_) {
                acceptWaiting();
                continue;
            }
            if (fd == timer_) {
                std::uint64_t expirations = 0;
                (void)::read(timer_, &expirations, sizeof expirations);
                continue;
            }
            for (const auto& connection : connections_) {
                if (connection->fd != fd) continue;
                if (connection->writing) {
                    writeTo(*connection);
                } else {
                    answered += readFrom(*connection, handler);
                }
                break;
            }
        }
        answered += expire(handler);
        connections_.erase(std::remove_if(connections_.begin(), connections_.end(),
                                          [](const auto& connection) { return connection->fd < 0; }),
                           connections_.end());
        armTimer();
        if (answered > 0 || Clock::now() >= until) break;
    }
    return answered;
}

SendResult sendRequest(const std::string& path, std::string_view request, int timeoutMs) {
    SendResult result;
    const int fd = connectTo(path, result.error);
    if (fd < 0) return result;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);  // so that the timeouts hold
    // A server that refuses a long request may close before taking all of
    // it; its reply is still worth reading.
    const bool written = writeAll(fd, request, timeoutMs);
    ::shutdown(fd, SHUT_WR);
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got > 0) {
            result.reply.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got == 0) {
            result.ok = true;
            break;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (waitFor(fd, POLLIN, timeoutMs)) continue;
            result.error = "no reply within " + std::to_string(timeoutMs / 1000) + " s";
            break;
        }
        if (errno == ECONNRESET && !result.reply.empty()) {
            // The server refused and closed before taking the whole request.
            result.ok = true;
            break;
        }
        result.error = errnoText("reading the reply");
        break;
    }
    ::close(fd);
    if (!written && result.reply.empty() && result.error.empty()) result.error = "the simulator closed the connection";
    if (!written && result.reply.empty()) result.ok = false;
    return result;
}

std::string replyForTerminal(std::string_view reply) {
    std::string out;
    out.reserve(reply.size() + 1);
    for (std::size_t i = 0; i < reply.size(); ++i) {
        if (reply[i] == '\r') {
            out += '\n';
            if (i + 1 < reply.size() && reply[i + 1] == '\n') ++i;
        } else {
            out += reply[i];
        }
    }
    if (!out.empty() && out.back() != '\n') out += '\n';
    return out;
}

}  // namespace hostsim::session
