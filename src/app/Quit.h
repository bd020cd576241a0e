#pragma once

#include <functional>

namespace gw::app {

// The action of every "Cancel": drops the dial-up line when the wizard's own fetch brought it
// up, then ends the program.
void Quit();

// Ends the program without a hang-up (closing a page by its window frame does this too).
void EndProgram();

// Tests observe the end of the program instead of having it happen; nullptr restores it.
void setProgramEnder(std::function<void()> ender);

// The status the program ends with: 0 unless a signal asked for the end (128 + its number).
void setExitStatus(int status);
// Whether the program has hidden its windows on its way out: none is shown again.
bool ProgramEnding();

// Lets the windows repaint while refusing clicks and keys, so that nothing starts again
// inside an operation that is on its way out.
void pumpPaintOnly();

}  // namespace gw::app
