#include "harvest/UpperCase.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gw::harvest {

#if defined(__SSE2__)
namespace {

inline void UpperCase16(const char* text, char* out) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
    // Moves a-z to the 26 lowest signed byte values, so that one signed compare finds them.
    const __m128i shifted = _mm_add_epi8(bytes, _mm_set1_epi8(static_cast<char>(0x80 - 'a')));
    const __m128i lower = _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(0x80 + 26)));
    const __m128i upper = _mm_sub_epi8(bytes, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), upper);
}

}  // namespace
#endif

void UpperCaseInto(const char* text, std::size_t size, char* out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Spans are mostly a few dozen bytes: whole blocks, then one last block ending at the end
    // (upper-casing a byte again gives the same byte), so no byte is done one at a time.
    if (size >= 16) {
        for (; i + 16 <= size; i += 16)
            UpperCase16(text + i, out + i);
        if (i < size)
            UpperCase16(text + size - 16, out + size - 16);
        return;
    }
#endif
    for (; i < size; ++i)
        out[i] = UpperAscii(text[i]);
}

}  // namespace gw::harvest
