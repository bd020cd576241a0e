#pragma once

namespace gw::cli {

// Why the command should stop, from the signals it received and its time limit.
enum class StopReason {
    None,
    Interrupt,     // Ctrl-C: finish the file in progress, start no other (a second one ends
                   // the program at once, from the signal handler)
    Terminate,     // SIGTERM
    HangUp,        // SIGHUP: the terminal is gone
    OutputClosed,  // standard output or error is a pipe whose reader has gone
    TimeUp,        // --max-time passed
};

// The exit status of a command whose standard output or error lost its reader, as a shell
// reports a program that SIGPIPE ended.
inline constexpr int kOutputClosedStatus = 141;

// The command line's use of the stop signals: the first only sets a flag, which the transfers'
// progress calls turn into an abort, so that every temporary file goes the ordinary way, by
// unwinding; SIGPIPE is heard too. False when a handler could not be set.
bool CatchStopSignals();
// Starts the clock of --max-time (0: no limit).
void SetTimeLimit(double seconds);
StopReason CurrentStop();

}  // namespace gw::cli
