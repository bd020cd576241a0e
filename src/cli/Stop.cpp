#include "cli/Stop.h"

#include <chrono>
#include <optional>

#include "platform/StopSignals.h"

namespace gw::cli {
namespace {

std::optional<std::chrono::steady_clock::time_point> deadline;

}  // namespace

bool CatchStopSignals() {
    return platform::CatchStopSignals({"grabwright-cli", true}) >= 0;
}

void SetTimeLimit(double seconds) {
    if (seconds > 0)
        deadline = std::chrono::steady_clock::now() +
                   std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                       std::chrono::duration<double>(seconds));
}

StopReason CurrentStop() {
    const platform::StopSignal signal = platform::FirstStopSignal();
    if (signal == platform::StopSignal::Terminate)
        return StopReason::Terminate;
    if (signal == platform::StopSignal::HangUp)
        return StopReason::HangUp;
    if (platform::OutputLostItsReader())
        return StopReason::OutputClosed;
    if (deadline && std::chrono::steady_clock::now() >= *deadline)
        return StopReason::TimeUp;
    if (signal == platform::StopSignal::Interrupt)
        return StopReason::Interrupt;
    return StopReason::None;
}

}  // namespace gw::cli
