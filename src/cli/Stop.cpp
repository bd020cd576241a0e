#include "cli/Stop.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <optional>

namespace gw::cli {
namespace {

std::atomic<int> interrupts{0};
std::atomic<int> ending{0};  // the first of SIGTERM and SIGHUP to arrive
std::atomic<bool> pipeSignalled{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);
bool outputClosed = false;
std::optional<std::chrono::steady_clock::time_point> deadline;

void onSignal(int number) {
    if (number == SIGINT) {
        ++interrupts;
    } else if (number == SIGPIPE) {
        pipeSignalled = true;
    } else {
        int none = 0;
        ending.compare_exchange_strong(none, number);
    }
}

// libcurl runs with its own signal handling off, so a socket can raise SIGPIPE too: only a
// standard stream that has lost its reader ends the command.
bool StandardOutputLostItsReader() {
    pollfd streams[] = {{STDOUT_FILENO, POLLOUT, 0}, {STDERR_FILENO, POLLOUT, 0}};
    if (::poll(streams, 2, 0) <= 0)
        return false;
    return ((streams[0].revents | streams[1].revents) & POLLERR) != 0;
}

}  // namespace

bool CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = &onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        if (::sigaction(number, &action, nullptr) != 0)
            return false;
    }
    return true;
}

void SetTimeLimit(double seconds) {
    if (seconds > 0)
        deadline = std::chrono::steady_clock::now() +
                   std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                       std::chrono::duration<double>(seconds));
}

StopReason CurrentStop() {
    if (pipeSignalled.exchange(false) && StandardOutputLostItsReader())
        outputClosed = true;
    if (ending == SIGTERM)
        return StopReason::Terminate;
    if (ending == SIGHUP)
        return StopReason::HangUp;
    if (outputClosed)
        return StopReason::OutputClosed;
    if (interrupts >= 2)
        return StopReason::Abort;
    if (deadline && std::chrono::steady_clock::now() >= *deadline)
        return StopReason::TimeUp;
    if (interrupts == 1)
        return StopReason::Interrupt;
    return StopReason::None;
}

}  // namespace gw::cli
