#pragma once

namespace gw::platform {

// SIGINT, SIGTERM and SIGHUP, heard alike by both front ends. The handler only notes the first
// and writes it into a pipe, so that the program acts on it as on any other event and never
// inside the handler: the wizard's event loop watches the pipe, the command line asks
// FirstStopSignal() from its transfers' progress calls. A second one ends the program at
// once, from the handler, with the status of the first (128 + its number): the way out when
// what the first one set going hangs. The files under way go first, and those going into
// place are named on standard error (FileUnderWay).
enum class StopSignal { None, Interrupt, Terminate, HangUp };

struct StopPolicy {
    // Names the program in what the handler writes.
    const char* program = "grabwright";
    // SIGPIPE only sets a flag for OutputLostItsReader(); without it, SIGPIPE keeps its
    // default. For a program whose standard streams may be pipes (a socket raises it too).
    bool hearBrokenPipes = false;
};

// The pipe's reading end (non-blocking), or -1 when the handlers could not be set. Once only.
int CatchStopSignals(const StopPolicy& policy);

// The signal waiting in the pipe, or None when none is.
StopSignal TakeStopSignal();

// The first stop signal the program received, None while none came.
StopSignal FirstStopSignal();

// 128 + the signal's number, as a shell reports a program the signal ended.
int ExitStatusFor(StopSignal signal);

// Whether standard output or error has lost its reader, asked only after a SIGPIPE; once
// true, true for good.
bool OutputLostItsReader();

}  // namespace gw::platform
