#include "scripting_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace hostsim::session {

namespace {

// A connection that keeps sending after the limit is drained up to this much
// before the server gives up and closes it.
constexpr std::size_t kMaxDrainBytes = std::size_t{64} << 20;

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

std::string defaultSocketPath() {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && runtimeDir[0] == '/') return std::string(runtimeDir) + "/lumbrel-hostsim.sock";
    return "/tmp/lumbrel-hostsim-" + std::to_string(::getuid()) + ".sock";
}

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
    if (::listen(fd, 16) != 0) {
        error = errnoText("cannot listen on " + path);
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    struct stat bound {};
    if (::stat(path.c_str(), &bound) == 0) {
        device_ = bound.st_dev;
        inode_ = bound.st_ino;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

void ScriptingServer::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    struct stat current {};
    if (::lstat(path_.c_str(), &current) == 0 && current.st_dev == device_ && current.st_ino == inode_) {
        ::unlink(path_.c_str());
    }
    path_.clear();
}

int ScriptingServer::serve(const Handler& handler, int timeoutMs) {
    if (fd_ < 0) return 0;
    if (!waitFor(fd_, POLLIN, timeoutMs)) return 0;
    int served = 0;
    for (;;) {
        const int connection = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            break;  // EAGAIN: nobody else waits
        }
        serveConnection(connection, handler);
        ::close(connection);
        ++served;
    }
    return served;
}

void ScriptingServer::serveConnection(int connection, const Handler& handler) {
    std::string request;
    std::size_t total = 0;
    bool tooLong = false;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got > 0) {
            total += static_cast<std::size_t>(got);
            if (total > kMaxRequestBytes) {
                // Keep reading to the client's end so that it can still read
                // the refusal (closing with unread data would reset it).
                if (!tooLong) request = std::string();
                tooLong = true;
                if (total > kMaxDrainBytes) return;
            } else {
                request.append(buffer, static_cast<std::size_t>(got));
            }
            continue;
        }
        if (got == 0) break;
        if (errno == EINTR) continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(connection, POLLIN, kConnectionTimeoutMs)) continue;
        return;  // silent too long, or gone: no reply
    }
    const std::string reply = tooLong ? std::string(kRequestTooLongReply) : handler(request);
    writeAll(connection, reply, kConnectionTimeoutMs);
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
        result.error = errnoText("reading the reply");
        break;
    }
    ::close(fd);
    if (!written && result.reply.empty() && result.error.empty()) result.error = "the simulator closed the connection";
    if (!written && result.reply.empty()) result.ok = false;
    return result;
}

}  // namespace hostsim::session
