#include "harvest/UpperCase.h"

namespace gw::harvest {

void UpperCaseInto(const char* text, std::size_t size, char* out) {
    // Branch-free, so that the compiler can vectorise it.
    for (std::size_t i = 0; i < size; ++i)
        out[i] = UpperAscii(text[i]);
}

}  // namespace gw::harvest
