#include "line_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace hostsim::session {

std::optional<std::string> LineInput::takeLine() {
    const std::size_t newline = buffer_.find('\n');
    if (newline == std::string::npos) {
        if (!ended_ || buffer_.empty()) return std::nullopt;
        std::string last = std::move(buffer_);
        buffer_.clear();
        if (!last.empty() && last.back() == '\r') last.pop_back();
        return last;
    }
    std::string line = buffer_.substr(0, newline);
    buffer_.erase(0, newline + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<std::string> LineInput::readLine(int otherFd, const std::function<void()>& onOther) {
    for (;;) {
        if (auto line = takeLine()) return line;
        if (ended_) return std::nullopt;

        const bool withOther = otherFd >= 0 && onOther;
        pollfd entries[3] = {{fd_, POLLIN, 0}, {withOther ? otherFd : -1, POLLIN, 0}, {interruptFd_, POLLIN, 0}};
        const int ready = ::poll(entries, 3, -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            ended_ = true;
            continue;
        }
        if ((entries[2].revents & POLLIN) != 0) {
            char drained[64];  // one read takes every press so far (and never waits: the pipe is readable)
            (void)::read(interruptFd_, drained, sizeof drained);
            interrupted_ = true;
            return std::nullopt;
        }
        if (withOther && (entries[1].revents & POLLIN) != 0) onOther();
        if ((entries[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) == 0) continue;

        char chunk[4096];
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got > 0) {
            buffer_.append(chunk, static_cast<std::size_t>(got));
        } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
            ended_ = true;
        }
    }
}

}  // namespace hostsim::session
