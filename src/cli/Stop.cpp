#include "cli/Stop.h"

#include <signal.h>

#include <atomic>
#include <chrono>
#include <optional>

namespace gw::cli {
namespace {

std::atomic<int> interrupts{0};
std::atomic<bool> terminated{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);
std::optional<std::chrono::steady_clock::time_point> deadline;

void onSignal(int number) {
    if (number == SIGTERM)
        terminated = true;
    else
        ++interrupts;
}

}  // namespace

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void SetTimeLimit(double seconds) {
    if (seconds > 0)
        deadline = std::chrono::steady_clock::now() +
                   std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                       std::chrono::duration<double>(seconds));
}

StopReason CurrentStop() {
    if (terminated)
        return StopReason::Terminate;
    if (interrupts >= 2)
        return StopReason::Abort;
    if (deadline && std::chrono::steady_clock::now() >= *deadline)
        return StopReason::TimeUp;
    if (interrupts == 1)
        return StopReason::Interrupt;
    return StopReason::None;
}

}  // namespace gw::cli
