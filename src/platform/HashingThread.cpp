#include "platform/HashingThread.h"

namespace gw::platform {

HashingThread::HashingThread(HashAlgorithm algorithm)
    : hasher_(algorithm),
      thread_([this](std::string_view bytes) { hasher_.add(bytes.data(), bytes.size()); }) {}

std::string HashingThread::hex() {
    thread_.drain();
    return hasher_.hex();
}

}  // namespace gw::platform
