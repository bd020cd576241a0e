#include "platform/HashingThread.h"

namespace gw::platform {

HashingThread::HashingThread(HashAlgorithm algorithm)
    : hasher_(algorithm),
      thread_([this](std::string_view bytes) { hasher_.add(bytes.data(), bytes.size()); }) {}

std::string HashingThread::hex() {
    thread_.drain();
    // A hash that could not take every byte is no hash of the file.
    return thread_.failure().empty() ? hasher_.hex() : std::string();
}

}  // namespace gw::platform
