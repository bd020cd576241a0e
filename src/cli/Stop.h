#pragma once

namespace gw::cli {

// Why the command should stop, from the signals it received and its time limit.
enum class StopReason {
    None,
    Interrupt,  // one Ctrl-C: finish the file in progress, start no other
    Abort,      // a second Ctrl-C: end the file in progress too
    Terminate,  // SIGTERM
    TimeUp,     // --max-time passed
};

// SIGINT and SIGTERM only set flags; the transfers' progress calls turn them into an abort,
// so that every temporary file goes the ordinary way, by unwinding.
void CatchStopSignals();
// Starts the clock of --max-time (0: no limit).
void SetTimeLimit(double seconds);
StopReason CurrentStop();

}  // namespace gw::cli
