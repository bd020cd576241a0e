#include "platform/FilesUnderWay.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

namespace gw::platform {
namespace {

constexpr int kSlots = 256;
constexpr std::size_t kTextBytes = 4096;

// Each slot's text is written by the thread that holds it and read by the handler, which may
// run on any thread meanwhile: the version is odd while a text changes, and the handler takes
// a copy only between two equal even readings. The texts sit apart from the flags, so that a
// look over the flags touches a page or two, not a page per slot.
std::atomic<bool> taken[kSlots];
std::atomic<unsigned> version[kSlots];
std::atomic<bool> intoPlace[kSlots];
char paths[kSlots][kTextBytes];
char notes[kSlots][kTextBytes];
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<unsigned>::is_always_lock_free);

char programName[64] = "grabwright";

// Copies `text`, cut short to fit, with a final NUL.
void Put(char* to, const std::string& text) {
    const std::size_t size = std::min(text.size(), kTextBytes - 1);
    std::memcpy(to, text.data(), size);
    to[size] = '\0';
}

// What a terminal would take as a control byte stands as %XX.
std::string Shown(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string shown;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            shown.append({'%', hex[byte >> 4], hex[byte & 15]});
        else
            shown += c;
    }
    return shown;
}

// Changes a slot's texts as one step for the handler.
template <typename Change>
void Rewrite(int slot, Change change) {
    version[slot].fetch_add(1, std::memory_order_acq_rel);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    change();
    std::atomic_signal_fence(std::memory_order_seq_cst);
    version[slot].fetch_add(1, std::memory_order_release);
}

// A stable copy of the slot's path or note, or false when it kept changing.
bool Copy(int slot, const char (&from)[kSlots][kTextBytes], char* to, bool& goingIntoPlace) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const unsigned before = version[slot].load(std::memory_order_acquire);
        if (before % 2 != 0)
            continue;
        goingIntoPlace = intoPlace[slot].load(std::memory_order_relaxed);
        std::memcpy(to, from[slot], kTextBytes);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (version[slot].load(std::memory_order_relaxed) == before)
            return true;
    }
    return false;
}

}  // namespace

FileUnderWay::FileUnderWay(const std::string& path) {
    if (path.empty() || path.size() >= kTextBytes)
        return;
    static std::once_flag atExit;
    std::call_once(atExit, [] { std::atexit(&EndFilesUnderWay); });
    for (int slot = 0; slot < kSlots; ++slot) {
        bool free = false;
        if (taken[slot].compare_exchange_strong(free, true)) {
            Rewrite(slot, [&] { Put(paths[slot], path); });
            slot_ = slot;
            return;
        }
    }
}

FileUnderWay::FileUnderWay(FileUnderWay&& other) noexcept : slot_(std::exchange(other.slot_, -1)) {}

FileUnderWay& FileUnderWay::operator=(FileUnderWay&& other) noexcept {
    if (this != &other) {
        release();
        slot_ = std::exchange(other.slot_, -1);
    }
    return *this;
}

void FileUnderWay::goingIntoPlace(const std::string& finalPath) {
    if (slot_ < 0)
        return;
    const std::string note = std::string(programName) + ": " + Shown(paths[slot_]) +
                             ", on its way to " + Shown(finalPath) + ", may be left incomplete\n";
    Rewrite(slot_, [&] {
        Put(notes[slot_], note);
        intoPlace[slot_].store(true, std::memory_order_relaxed);
    });
}

void FileUnderWay::release() {
    if (slot_ < 0)
        return;
    // Emptied first: a handler that reads the slot between its release and its next use
    // finds nothing to remove.
    Rewrite(slot_, [&] {
        paths[slot_][0] = '\0';
        notes[slot_][0] = '\0';
        intoPlace[slot_].store(false, std::memory_order_relaxed);
    });
    taken[slot_].store(false, std::memory_order_release);
    slot_ = -1;
}

void NameProgramForFilesUnderWay(const char* program) {
    std::strncpy(programName, program, sizeof programName - 1);
}

void EndFilesUnderWay() {
    static char text[kTextBytes];  // static: a handler's stack may be small
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!taken[slot].load(std::memory_order_acquire))
            continue;
        bool goingIntoPlace = false;
        if (!Copy(slot, paths, text, goingIntoPlace) || text[0] == '\0')
            continue;
        if (!goingIntoPlace) {
            ::unlink(text);
        } else if (Copy(slot, notes, text, goingIntoPlace)) {
            [[maybe_unused]] const ssize_t written =
                ::write(STDERR_FILENO, text, std::strlen(text));
        }
    }
}

}  // namespace gw::platform
