#include "interrupt_key.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace hostsim::session {

namespace {

int gPipe[2] = {-1, -1};

extern "C" void onInterrupt(int) {
    const char byte = 'c';
    (void)!::write(gPipe[1], &byte, 1);  // a full pipe already says "interrupted"
}

}  // namespace

int installInterruptKey() noexcept {
    if (gPipe[0] >= 0) return gPipe[0];
    if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        gPipe[0] = gPipe[1] = -1;
        return -1;
    }
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGINT, &action, nullptr) != 0) {
        ::close(gPipe[0]);
        ::close(gPipe[1]);
        gPipe[0] = gPipe[1] = -1;
        return -1;
    }
    return gPipe[0];
}

}  // namespace hostsim::session
