#pragma once

namespace gw::ui {

// From now on SIGINT, SIGTERM and SIGHUP end the wizard as Cancel does, with status 128 + the
// signal: work in progress is stopped first as closing the window stops it (a download gives
// up its file, a fetch its temporary page), then the quit operation runs. False when the
// signals cannot be watched.
bool QuitOnStopSignals();

}  // namespace gw::ui
