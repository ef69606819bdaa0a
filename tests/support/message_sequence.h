// Message-order tests: windows are watched under a role name ("dialog",
// "child 1"), every message of interest they get is logged, and the log is
// compared with a table of rows {window, message, flags, wParam, lParam}. The
// same table checks the desktop stand-in and a real window manager.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/window_system.h"

namespace lumbrel::test {

// What a row checks besides the window and the message.
enum ExpectFlag : unsigned {
    kWParam = 1U << 0,    // wParam must match
    kLParam = 1U << 1,    // lParam must match
    kOptional = 1U << 2,  // the message may be missing
};

struct Expected {
    const char* window;  // the role the window is watched under
    platform::Message message;
    unsigned flags = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

struct Recorded {
    std::string window;
    platform::Message message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

// Subclasses the windows it watches; each message is logged when it is one of
// `kept`, then handed to the procedure the window had. One log at a time.
class MessageLog {
public:
    explicit MessageLog(std::vector<platform::Message> kept) : kept_(std::move(kept)) { active() = this; }
    ~MessageLog() {
        for (auto& [window, watched] : watched_) {
            if (platform::windowProc(window) == &logging) platform::setWindowProc(window, watched.kept);
        }
        active() = nullptr;
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    void watch(platform::WindowRef window, std::string role) {
        const platform::WindowProc old = platform::setWindowProc(window, &logging);
        ASSERT_NE(old, nullptr) << role << " is no live window";
        watched_[window] = {std::move(role), old};
    }
    const std::vector<Recorded>& messages() const { return messages_; }
    void clear() { messages_.clear(); }

private:
    struct Watched {
        std::string role;
        platform::WindowProc kept = nullptr;
    };

    static MessageLog*& active() {
        static MessageLog* log = nullptr;
        return log;
    }

    static std::intptr_t LUMBREL_CALLBACK logging(platform::WindowRef window, platform::Message message,
                                                  std::uintptr_t wParam, std::intptr_t lParam) {
        MessageLog* log = active();
        if (log == nullptr) return platform::defWindowProc(window, message, wParam, lParam);
        const auto found = log->watched_.find(window);
        if (found == log->watched_.end()) return platform::defWindowProc(window, message, wParam, lParam);
        const Watched watched = found->second;
        if (std::find(log->kept_.begin(), log->kept_.end(), message) != log->kept_.end()) {
            log->messages_.push_back({watched.role, message, wParam, lParam});
        }
        if (message == platform::Message::NcDestroy) log->watched_.erase(window);
        return platform::callWindowProc(watched.kept, window, message, wParam, lParam);
    }

    std::vector<platform::Message> kept_;
    std::map<platform::WindowRef, Watched> watched_;
    std::vector<Recorded> messages_;
};

inline std::string describeMessage(const std::string& window, platform::Message message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
    std::ostringstream out;
    out << window << " 0x" << std::hex << static_cast<std::uint32_t>(message) << " w=0x" << wParam << " l=0x"
        << static_cast<std::uintptr_t>(lParam);
    return out.str();
}

// Compares the log with the table row by row; optional rows may be skipped.
// Reports the first difference and the whole log.
inline void expectSequence(const MessageLog& log, const std::vector<Expected>& table, const std::string& what) {
    const std::vector<Recorded>& seen = log.messages();
    std::string all;
    for (const Recorded& r : seen) all += "\n  " + describeMessage(r.window, r.message, r.wParam, r.lParam);
    std::size_t at = 0;
    for (std::size_t row = 0; row < table.size(); ++row) {
        const Expected& e = table[row];
        const bool matches = at < seen.size() && seen[at].window == e.window && seen[at].message == e.message &&
                             ((e.flags & kWParam) == 0 || seen[at].wParam == e.wParam) &&
                             ((e.flags & kLParam) == 0 || seen[at].lParam == e.lParam);
        if (matches) {
            ++at;
            continue;
        }
        if ((e.flags & kOptional) != 0) continue;
        ADD_FAILURE() << what << ": row " << row << " expected "
                      << describeMessage(e.window, e.message, e.wParam, e.lParam) << ", got "
                      << (at < seen.size() ? describeMessage(seen[at].window, seen[at].message, seen[at].wParam,
                                                             seen[at].lParam)
                                           : std::string("nothing"))
                      << "; the log:" << all;
        return;
    }
    if (at < seen.size()) {
        ADD_FAILURE() << what << ": " << seen.size() - at << " message(s) more than the table; the log:" << all;
    }
}

}  // namespace lumbrel::test
