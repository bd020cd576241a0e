#include "retrieval/PageText.h"

#include <cstring>

namespace gw::retrieval {

void ApplyLineRule(std::string& bytes) {
    char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const char* read = static_cast<const char*>(std::memchr(begin, '\r', bytes.size()));
    if (!read)
        return;
    char* write = const_cast<char*>(read);
    while (read < end) {
        // read points at a CR: drop it, and the LF behind it.
        ++read;
        if (read < end && *read == '\n')
            ++read;
        const char* nextCr = static_cast<const char*>(std::memchr(read, '\r', end - read));
        const char* stop = nextCr ? nextCr : end;
        std::memmove(write, read, stop - read);
        write += stop - read;
        read = stop;
    }
    bytes.resize(write - begin);
}

}  // namespace gw::retrieval
