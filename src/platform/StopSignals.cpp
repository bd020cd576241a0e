#include "platform/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace gw::platform {
namespace {

int pipeEnds[2] = {-1, -1};
std::atomic<int> firstSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void onSignal(int number) {
    int none = 0;
    if (!firstSignal.compare_exchange_strong(none, number))
        ::_exit(128 + none);
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

}  // namespace

int CatchStopSignals() {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    struct sigaction action {};
    action.sa_handler = &onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        if (::sigaction(number, &action, nullptr) != 0)
            return -1;
    }
    return pipeEnds[0];
}

int TakeStopSignal() {
    unsigned char byte = 0;
    return ::read(pipeEnds[0], &byte, 1) == 1 ? byte : 0;
}

}  // namespace gw::platform
