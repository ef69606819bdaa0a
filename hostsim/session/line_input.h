// Lines typed by a person (or piped in by a test), read straight from a file
// descriptor so that the session can wait on the input and on the scripting
// socket at once with poll(). One reader per descriptor: the command prompt
// and the alert prompts share it, so no typed-ahead line is lost.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace hostsim::session {

class LineInput {
public:
    explicit LineInput(int fd) noexcept : fd_(fd) {}

    // The next line without its line end (LF, CR LF). While no line is
    // there, `onOther` runs whenever `otherFd` is readable (-1: none). At the
    // end of input an unfinished last line is still handed out; then nullopt.
    // An interrupt (see setInterruptFd) also ends the wait: nullopt, and
    // takeInterrupt() says so.
    std::optional<std::string> readLine(int otherFd = -1, const std::function<void()>& onOther = {});
    bool ended() const noexcept { return ended_ && buffer_.empty(); }

    // A descriptor that turns readable when the person presses Ctrl-C
    // (interrupt_key.h); -1: none.
    void setInterruptFd(int fd) noexcept { interruptFd_ = fd; }
    // True once for each interrupt that ended a readLine().
    bool takeInterrupt() noexcept {
        const bool was = interrupted_;
        interrupted_ = false;
        return was;
    }

private:
    std::optional<std::string> takeLine();

    int fd_;
    std::string buffer_;
    bool ended_ = false;
    int interruptFd_ = -1;
    bool interrupted_ = false;
};

}  // namespace hostsim::session
