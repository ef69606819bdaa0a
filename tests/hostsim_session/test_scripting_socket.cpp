// The scripting socket: a client in another thread, the server serving in the
// test's own thread through the same serve() the session polls.
#include "hostsim/session/scripting_socket.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace hostsim::session {
namespace {

using lumbrel::test::TempDir;

// Serves until the client's future is ready (or a few seconds pass).
SendResult serveWhileSending(ScriptingServer& server, const ScriptingServer::Handler& handler,
                             std::future<SendResult>& client, int* served = nullptr) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int count = 0;
    while (client.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready &&
           std::chrono::steady_clock::now() < deadline) {
        count += server.serve(handler, 50);
    }
    if (served != nullptr) *served = count;
    return client.get();
}

TEST(ScriptingSocket, RequestAndReplyRoundTrip) {
    TempDir dir;
    const std::string path = dir.file("host.sock");
    ScriptingServer server;
    std::string error;
    ASSERT_TRUE(server.listen(path, error)) << error;
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);  // other users cannot send requests

    std::string seen;
    const ScriptingServer::Handler handler = [&seen](const std::string& request) {
        seen = request;
        return std::string("<cmd>2</cmd>\r<guid qid=\"7\">abc</guid>\r");
    };
    const std::string request = "<cmd>2</cmd><qid>7</qid>";
    auto client = std::async(std::launch::async, [&] { return sendRequest(path, request); });
    int served = 0;
    const SendResult result = serveWhileSending(server, handler, client, &served);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(served, 1);
    EXPECT_EQ(seen, request);
    EXPECT_EQ(result.reply, "<cmd>2</cmd>\r<guid qid=\"7\">abc</guid>\r");

    // No reply set: the client reads an empty reply.
    auto quiet = std::async(std::launch::async, [&] { return sendRequest(path, "<cmd>9</cmd>"); });
    const SendResult empty = serveWhileSending(server, [](const std::string&) { return std::string(); }, quiet);
    ASSERT_TRUE(empty.ok) << empty.error;
    EXPECT_EQ(empty.reply, "");

    server.close();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ScriptingSocket, RequestsOfExactlyTheLimitPassLongerOnesAreRefused) {
    TempDir dir;
    const std::string path = dir.file("host.sock");
    ScriptingServer server;
    std::string error;
    ASSERT_TRUE(server.listen(path, error)) << error;
    std::size_t handed = 0;
    int calls = 0;
    const ScriptingServer::Handler handler = [&](const std::string& request) {
        handed = request.size();
        ++calls;
        return std::string("ok");
    };

    const std::string atLimit(kMaxRequestBytes, 'a');
    auto first = std::async(std::launch::async, [&] { return sendRequest(path, atLimit); });
    SendResult result = serveWhileSending(server, handler, first);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.reply, "ok");
    EXPECT_EQ(handed, kMaxRequestBytes);

    const std::string tooLong(kMaxRequestBytes + 1, 'a');
    auto second = std::async(std::launch::async, [&] { return sendRequest(path, tooLong); });
    result = serveWhileSending(server, handler, second);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.reply, kRequestTooLongReply);
    EXPECT_EQ(calls, 1);  // the handler never saw the long one

    // The server is still there for the next client.
    auto third = std::async(std::launch::async, [&] { return sendRequest(path, "<cmd>1</cmd>"); });
    result = serveWhileSending(server, handler, third);
    EXPECT_EQ(result.reply, "ok");
    EXPECT_EQ(calls, 2);
}

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A raw client that connects and then does as told; reads time out, so a
// test fails instead of hanging.
struct RawClient {
    int fd = -1;
    explicit RawClient(const std::string& path) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.c_str(), path.size());
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            fd = -1;
            return;
        }
        const timeval limit{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    }
    ~RawClient() {
        if (fd >= 0) ::close(fd);
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    void send(const std::string& bytes) const { (void)::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // Everything up to the server's close (or the read time-out).
    std::string readAll() const {
        std::string text;
        char buffer[4096];
        ssize_t got = 0;
        while ((got = ::recv(fd, buffer, sizeof buffer, 0)) > 0) text.append(buffer, static_cast<std::size_t>(got));
        return text;
    }
};

TEST(ScriptingSocket, BadClientsNeitherHoldUpTheHostNorAValidRequest) {
    TempDir dir;
    const std::string path = dir.file("host.sock");
    ServerLimits limits;
    limits.requestDeadlineMs = 600;
    ScriptingServer server(limits);
    std::string error;
    ASSERT_TRUE(server.listen(path, error)) << error;
    int calls = 0;
    const ScriptingServer::Handler handler = [&calls](const std::string& request) {
        ++calls;
        return "reply to " + request;
    };

    // Silent clients, one that never shuts down its writing side, one that
    // writes a byte every 100 ms: all connected before the valid request.
    std::vector<std::unique_ptr<RawClient>> bad;
    for (int i = 0; i < 3; ++i) bad.push_back(std::make_unique<RawClient>(path));
    bad.push_back(std::make_unique<RawClient>(path));
    bad.back()->send("<cmd>5</cmd>");
    bad.push_back(std::make_unique<RawClient>(path));
    const RawClient& slow = *bad.back();
    for (const auto& client : bad) ASSERT_GE(client->fd, 0);
    std::atomic<bool> stop{false};
    std::thread trickle([&] {
        for (int i = 0; i < 30 && !stop; ++i) {
            slow.send("<");
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    const Clock::time_point sent = Clock::now();
    std::atomic<long long> answeredAfterMs{-1};
    auto valid = std::async(std::launch::async, [&] {
        SendResult result = sendRequest(path, "<cmd>2</cmd>", 3000);
        answeredAfterMs = msSince(sent);
        return result;
    });
    // The host's loop: no single turn may take long, whatever the clients do.
    long long longestTurnMs = 0;
    const Clock::time_point start = Clock::now();
    while (msSince(start) < 1500) {
        const Clock::time_point turn = Clock::now();
        server.serve(handler, 20);
        longestTurnMs = std::max(longestTurnMs, msSince(turn));
    }
    stop = true;
    trickle.join();
    const SendResult result = valid.get();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.reply, "reply to <cmd>2</cmd>");
    EXPECT_LT(answeredAfterMs.load(), 300);  // well within the deadline of the others
    EXPECT_LT(longestTurnMs, 150);
    EXPECT_EQ(calls, 1);  // no bad client's bytes reached the handler
    EXPECT_EQ(server.openConnections(), 0u);
    for (const auto& client : bad) EXPECT_EQ(client->readAll(), lateRequestReply(limits));
    EXPECT_NE(lateRequestReply(limits).find("not complete within 600 ms"), std::string::npos);
}

TEST(ScriptingSocket, ConnectionsBeyondTheCapAreRefusedAtOnce) {
    TempDir dir;
    const std::string path = dir.file("host.sock");
    ServerLimits limits;
    limits.requestDeadlineMs = 400;
    limits.maxConnections = 3;
    ScriptingServer server(limits);
    std::string error;
    ASSERT_TRUE(server.listen(path, error)) << error;
    const ScriptingServer::Handler handler = [](const std::string&) { return std::string("ok"); };
    std::vector<std::unique_ptr<RawClient>> idle;
    for (int i = 0; i < 3; ++i) idle.push_back(std::make_unique<RawClient>(path));
    server.serve(handler, 0);
    ASSERT_EQ(server.openConnections(), 3u);

    const Clock::time_point sent = Clock::now();
    auto refused = std::async(std::launch::async, [&] { return sendRequest(path, "<cmd>2</cmd>", 3000); });
    SendResult result = serveWhileSending(server, handler, refused);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.reply, tooManyConnectionsReply(limits));
    EXPECT_LT(msSince(sent), 300);
    EXPECT_NE(result.reply.find("3 connections are open already"), std::string::npos);

    // Once the idle ones are gone, requests are answered again.
    const Clock::time_point wait = Clock::now();
    while (msSince(wait) < 700) server.serve(handler, 20);
    EXPECT_EQ(server.openConnections(), 0u);
    for (const auto& client : idle) EXPECT_EQ(client->readAll(), lateRequestReply(limits));
    auto later = std::async(std::launch::async, [&] { return sendRequest(path, "<cmd>2</cmd>", 3000); });
    result = serveWhileSending(server, handler, later);
    EXPECT_EQ(result.reply, "ok");
}

TEST(ScriptingSocket, RepliesAtATerminalEndTheirLines) {
    struct Case {
        const char* reply;
        const char* shown;
    };
    for (const Case& c : {Case{"", ""}, Case{"<cmd>5</cmd>\r", "<cmd>5</cmd>\n"},
                          Case{"<cmd>2</cmd>\r<guid qid=\"1\">a</guid>", "<cmd>2</cmd>\n<guid qid=\"1\">a</guid>\n"},
                          Case{"a\r\nb\n", "a\nb\n"}, Case{"<error>x</error>\n", "<error>x</error>\n"}}) {
        EXPECT_EQ(replyForTerminal(c.reply), c.shown) << c.reply;
    }
}

TEST(ScriptingSocket, ServeWithoutClientsReturnsAfterItsTimeout) {
    TempDir dir;
    ScriptingServer server;
    std::string error;
    ASSERT_TRUE(server.listen(dir.file("s.sock"), error)) << error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(server.serve([](const std::string&) { return std::string(); }, 0), 0);
    EXPECT_EQ(server.serve([](const std::string&) { return std::string(); }, 100), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(ScriptingSocket, StaleSocketIsReplacedLiveOneIsNot) {
    TempDir dir;
    const std::string path = dir.file("host.sock");

    // A socket file left by a simulator that ended without cleaning up.
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.c_str(), path.size());
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    ScriptingServer first;
    std::string error;
    ASSERT_TRUE(first.listen(path, error)) << error;

    ScriptingServer second;
    EXPECT_FALSE(second.listen(path, error));
    EXPECT_NE(error.find("another simulator"), std::string::npos) << error;
    EXPECT_TRUE(first.listening());

    // The second one failing leaves the first one's file alone.
    second.close();
    EXPECT_TRUE(std::filesystem::exists(path));

    lumbrel::test::writeFile(dir.file("plain"), "x");
    ScriptingServer third;
    EXPECT_FALSE(third.listen(dir.file("plain"), error));
    EXPECT_NE(error.find("not a socket"), std::string::npos);

    EXPECT_FALSE(third.listen(std::string(200, 'x'), error));
    EXPECT_NE(error.find("socket path"), std::string::npos);
}

TEST(ScriptingSocket, ClientWithoutServerSaysSo) {
    TempDir dir;
    const SendResult result = sendRequest(dir.file("nobody.sock"), "<cmd>1</cmd>");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("no simulator listening"), std::string::npos);
}

TEST(ScriptingSocket, DefaultPathFollowsTheRuntimeFolder) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved != nullptr ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(defaultSocketPath(), "/run/user/1234/lumbrel-hostsim.sock");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(defaultSocketPath(), "/tmp/lumbrel-hostsim-" + std::to_string(::getuid()) + ".sock");
    if (saved != nullptr) ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
}

}  // namespace
}  // namespace hostsim::session
