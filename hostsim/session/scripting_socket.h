// Scripting requests from other processes, as another program would send the
// host an Apple event. The simulator listens on a local (UNIX domain) stream
// socket; each connection carries one request:
//
//   client: connect, write the request text (at most kMaxRequestBytes),
//           shut down its write side;
//   server: read to the end, hand the text to the module's handler, write the
//           reply text (empty when the handler set none), close.
//
// Every connection is read without blocking: serve() takes what has arrived
// on all open connections and hands a request to the handler only once its
// last byte is in, so one slow or silent client never holds up the host or
// the other clients. The handler runs on the thread that calls serve() (the
// host's user-interface thread), one request at a time.
//
// Limits, each answered with a one-line <error> reply before the connection
// is closed: a request longer than kMaxRequestBytes (read to its end and
// discarded), a request not complete within the request deadline after it
// was accepted, and a connection beyond the cap on open connections.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim::session {

inline constexpr std::size_t kMaxRequestBytes = std::size_t{1} << 20;
inline constexpr const char* kRequestTooLongReply = "<error>request refused: longer than 1048576 bytes</error>\n";

struct ServerLimits {
    // From accepting a connection to the request's last byte (the client's
    // shutdown of its write side).
    int requestDeadlineMs = 2000;
    // For the client to take the whole reply.
    int replyDeadlineMs = 5000;
    // Connections open at once; one more is refused at once.
    std::size_t maxConnections = 16;
};

// The replies of the limits, as clients read them.
std::string lateRequestReply(const ServerLimits& limits);
std::string tooManyConnectionsReply(const ServerLimits& limits);

// $XDG_RUNTIME_DIR/lumbrel-hostsim.sock, or /tmp/lumbrel-hostsim-<uid>.sock.
std::string defaultSocketPath();

class ScriptingServer {
public:
    using Handler = std::function<std::string(const std::string& request)>;

    explicit ScriptingServer(ServerLimits limits = {});
    ~ScriptingServer();
    ScriptingServer(const ScriptingServer&) = delete;
    ScriptingServer& operator=(const ScriptingServer&) = delete;

    // Binds and listens (the socket file is made readable by its owner only).
    // A stale socket file nobody listens on is replaced; a live one is not.
    bool listen(const std::string& path, std::string& error);
    // Stops listening, closes every open connection and removes the socket
    // file when it is still ours.
    void close();
    bool listening() const noexcept { return listener_ >= 0; }
    // Readable whenever serve() has work: a new connection, bytes of a
    // request, a reply that can go on, a deadline that passed. A session
    // waiting for other input polls it beside that input.
    int fd() const noexcept { return events_; }
    const std::string& path() const noexcept { return path_; }
    std::size_t openConnections() const noexcept { return connections_.size(); }

    // Does the work there is, waiting up to `timeoutMs` for some when none
    // is (0: no waiting), and returns once a request was answered or the
    // time is up. Answers the number of requests answered (by the handler or
    // a refusal of the limits). Never blocks on one client.
    int serve(const Handler& handler, int timeoutMs = 0);

private:
    using Clock = std::chrono::steady_clock;
    struct Connection;

    void acceptWaiting();
    void refuseAtOnce(int fd, const std::string& reply);
    int readFrom(Connection& connection, const Handler& handler);
    int finishRequest(Connection& connection, const Handler& handler);
    void writeTo(Connection& connection);
    int expire(const Handler& handler);
    void armTimer();
    void drop(std::size_t index);
    void watch(const Connection& connection, bool add);

    ServerLimits limits_;
    int listener_ = -1;
    int events_ = -1;  // epoll set: the listener, the timer and every connection
    int timer_ = -1;   // fires at the earliest deadline of an open connection
    bool serving_ = false;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::string path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

struct SendResult {
    bool ok = false;
    std::string reply;
    std::string error;
};

// The client side: one request, its reply.
SendResult sendRequest(const std::string& path, std::string_view request, int timeoutMs = 60000);

// A reply as a person at a terminal reads it: the module's CR line ends
// become line feeds and the last line is ended, so that the shell's prompt
// does not overwrite it.
std::string replyForTerminal(std::string_view reply);

}  // namespace hostsim::session
