#pragma once

namespace gw::platform {

// SIGINT, SIGTERM and SIGHUP for a program that runs an event loop. The handler only writes the
// signal's number into a pipe whose reading end the loop watches, so that the program acts on
// a signal as on any other event and never inside the handler. A second signal ends the
// program at once, from the handler, with the status of the first (128 + its number): the way
// out when what the first one set going hangs.
// The pipe's reading end (non-blocking), or -1 when the handlers could not be set. Once only.
int CatchStopSignals();

// The number of the signal waiting in the pipe, or 0 when none is.
int TakeStopSignal();

}  // namespace gw::platform
