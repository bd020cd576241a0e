#pragma once

namespace gw::cli {

// Why the command should stop, from the signals it received and its time limit.
enum class StopReason {
    None,
    Interrupt,     // one Ctrl-C: finish the file in progress, start no other
    Abort,         // a second Ctrl-C: end the file in progress too
    Terminate,     // SIGTERM
    HangUp,        // SIGHUP: the terminal is gone
    OutputClosed,  // standard output or error is a pipe whose reader has gone
    TimeUp,        // --max-time passed
};

// The exit status of a command whose standard output or error lost its reader, as a shell
// reports a program that SIGPIPE ended.
inline constexpr int kOutputClosedStatus = 141;

// SIGINT, SIGTERM, SIGHUP and SIGPIPE only set flags; the transfers' progress calls turn them
// into an abort, so that every temporary file goes the ordinary way, by unwinding. A signal
// restarts an interrupted write. False when a handler could not be set.
bool CatchStopSignals();
// Starts the clock of --max-time (0: no limit).
void SetTimeLimit(double seconds);
StopReason CurrentStop();

}  // namespace gw::cli
