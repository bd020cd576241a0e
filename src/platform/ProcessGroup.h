#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gw::platform {

// A program started as the leader of a process group of its own, with its standard output
// discarded and its standard error into `errorFile`; it is killed when this process dies.
// Returns its pid, or -1 with `why`.
int StartGroupLeader(const std::vector<std::string>& arguments, const std::string& errorFile,
                     std::string& why);

// The resident memory of every live process in group `group`, in bytes.
std::uint64_t GroupResidentBytes(int group);

// Kills every process of the group, leader included.
void KillGroup(int group);

// The leader's end, when it has ended: true, with `status` as waitpid gives it.
bool LeaderEnded(int leader, int& status);
// Waits for the killed leader, so that no zombie stays.
void ReapLeader(int leader);

// The exit status, or -1 with `signal` set when a signal ended it.
int ExitStatusOf(int status, int& signal);

// Waits, a few seconds at most, until no process of the killed group is left but zombies;
// false when one still is.
bool WaitGroupGone(int group);

}  // namespace gw::platform
