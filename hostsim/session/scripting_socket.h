// Scripting requests from other processes, as another program would send the
// host an Apple event. The simulator listens on a local (UNIX domain) stream
// socket; each connection carries one request:
//
//   client: connect, write the request text (at most kMaxRequestBytes),
//           shut down its write side;
//   server: read to the end, hand the text to the module's handler, write the
//           reply text (empty when the handler set none), close.
//
// A longer request is read to its end and discarded, and the reply is
// kRequestTooLongReply. Requests are served only when the session asks
// (serve()), between user actions, so they run on the one user-interface
// thread like every other event the host handles.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace hostsim::session {

inline constexpr std::size_t kMaxRequestBytes = std::size_t{1} << 20;
inline constexpr const char* kRequestTooLongReply = "<error>request refused: longer than 1048576 bytes</error>\n";
// How long a connection may stay silent before the server gives up on it.
inline constexpr int kConnectionTimeoutMs = 5000;

// $XDG_RUNTIME_DIR/lumbrel-hostsim.sock, or /tmp/lumbrel-hostsim-<uid>.sock.
std::string defaultSocketPath();

class ScriptingServer {
public:
    using Handler = std::function<std::string(const std::string& request)>;

    ScriptingServer() = default;
    ~ScriptingServer();
    ScriptingServer(const ScriptingServer&) = delete;
    ScriptingServer& operator=(const ScriptingServer&) = delete;

    // Binds and listens (the socket file is made readable by its owner only).
    // A stale socket file nobody listens on is replaced; a live one is not.
    bool listen(const std::string& path, std::string& error);
    // Stops listening and removes the socket file when it is still ours.
    void close();
    bool listening() const noexcept { return fd_ >= 0; }
    int fd() const noexcept { return fd_; }
    const std::string& path() const noexcept { return path_; }

    // Serves every connection waiting now, after waiting up to `timeoutMs`
    // for the first one (0: no waiting). Answers the number served.
    int serve(const Handler& handler, int timeoutMs = 0);

private:
    void serveConnection(int connection, const Handler& handler);

    int fd_ = -1;
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

}  // namespace hostsim::session
