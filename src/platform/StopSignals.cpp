#include "platform/StopSignals.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <ctime>

#include "platform/FilesUnderWay.h"

namespace gw::platform {
namespace {

int pipeEnds[2] = {-1, -1};
std::atomic<int> firstSignal{0};
std::atomic<bool> pipeSignalled{false};
bool outputClosed = false;
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// Two signals sent one right after the other (a logout's SIGHUP and SIGTERM) can reach two
// threads whose handlers then run in either order. Within this long of each other they count
// as one thread takes them: lowest number first.
constexpr std::int64_t kTogetherNs = 100'000'000;
std::atomic<std::int64_t> firstAt{0};
static_assert(std::atomic<std::int64_t>::is_always_lock_free);

std::int64_t Now() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

void onSignal(int number) {
    const int saved = errno;
    if (number == SIGPIPE) {
        pipeSignalled = true;
    } else if (int first = 0; firstSignal.compare_exchange_strong(first, number)) {
        firstAt = Now();
        const auto byte = static_cast<unsigned char>(number);
        [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    } else {
        // No time yet: the first one's handler is running at this moment.
        const std::int64_t at = firstAt.load();
        if (number < first && (at == 0 || Now() - at < kTogetherNs))
            first = number;
        EndFilesUnderWay();
        ::_exit(128 + first);
    }
    errno = saved;
}

StopSignal Named(int number) {
    switch (number) {
        case SIGINT:
            return StopSignal::Interrupt;
        case SIGTERM:
            return StopSignal::Terminate;
        case SIGHUP:
            return StopSignal::HangUp;
        default:
            return StopSignal::None;
    }
}

}  // namespace

int CatchStopSignals(const StopPolicy& policy) {
    NameProgramForFilesUnderWay(policy.program);
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    struct sigaction action {};
    action.sa_handler = &onSignal;
    // A signal restarts an interrupted write.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        if ((number != SIGPIPE || policy.hearBrokenPipes) &&
            ::sigaction(number, &action, nullptr) != 0)
            return -1;
    }
    return pipeEnds[0];
}

StopSignal TakeStopSignal() {
    unsigned char byte = 0;
    return ::read(pipeEnds[0], &byte, 1) == 1 ? Named(byte) : StopSignal::None;
}

StopSignal FirstStopSignal() {
    return Named(firstSignal.load());
}

int ExitStatusFor(StopSignal signal) {
    switch (signal) {
        case StopSignal::Interrupt:
            return 128 + SIGINT;
        case StopSignal::Terminate:
            return 128 + SIGTERM;
        case StopSignal::HangUp:
            return 128 + SIGHUP;
        case StopSignal::None:
            break;
    }
    return 0;
}

// libcurl runs with its own signal handling off, so a socket can raise SIGPIPE too: only a
// standard stream that has lost its reader counts.
bool OutputLostItsReader() {
    if (!outputClosed && pipeSignalled.exchange(false)) {
        pollfd streams[] = {{STDOUT_FILENO, POLLOUT, 0}, {STDERR_FILENO, POLLOUT, 0}};
        outputClosed =
            ::poll(streams, 2, 0) > 0 && ((streams[0].revents | streams[1].revents) & POLLERR) != 0;
    }
    return outputClosed;
}

}  // namespace gw::platform
