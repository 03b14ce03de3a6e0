#include "Basalwork/Base/UTF8Validation.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BASALWORK_UTF8_SSSE3 1
#endif

namespace Basalwork {
namespace {

// One scalar at a time, ASCII eight bytes at a time.
bool isValidUTF8Scalar(const unsigned char* bytes, std::size_t size)
{
    std::size_t i = 0;
    while (i < size) {
        if (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > size || bytes[i + 1] < low || bytes[i + 1] > high)
            return false;
        for (std::size_t k = 2; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

#if defined(BASALWORK_UTF8_SSSE3)

// Each byte is judged with the one to three before it by three table lookups (the high and low half of the
// byte before, the high half of the byte itself), whose common bits name the errors that pair can be; the
// continuation bytes that a three- or four-byte lead demands are checked apart. The bits:
constexpr std::uint8_t tooShort = 1 << 0; // a lead or ASCII where a continuation must follow
constexpr std::uint8_t tooLong = 1 << 1; // a continuation after ASCII
constexpr std::uint8_t overlong3 = 1 << 2; // E0 80..9F
constexpr std::uint8_t tooLarge = 1 << 3; // F4 90.., F5..FF
constexpr std::uint8_t surrogate = 1 << 4; // ED A0..BF
constexpr std::uint8_t overlong2 = 1 << 5; // C0, C1
constexpr std::uint8_t tooLarge1000 = 1 << 6; // F5..FF 80..8F
constexpr std::uint8_t overlong4 = 1 << 6; // F0 80..8F
constexpr std::uint8_t twoContinuations = 1 << 7; // continuation after continuation (fine in a longer sequence)
constexpr std::uint8_t carry = tooShort | tooLong | twoContinuations;

struct Validator {
    __m128i error = _mm_setzero_si128();
    __m128i previous = _mm_setzero_si128();
    __m128i previousIncomplete = _mm_setzero_si128();

    __attribute__((target("ssse3"))) static __m128i highNibbles(__m128i v)
    {
        return _mm_and_si128(_mm_srli_epi16(v, 4), _mm_set1_epi8(0x0F));
    }

    __attribute__((target("ssse3"))) void check(__m128i input)
    {
        if (_mm_movemask_epi8(input) == 0) {
            error = _mm_or_si128(error, previousIncomplete);
            previous = input;
            previousIncomplete = _mm_setzero_si128();
            return;
        }
        const __m128i prev1 = _mm_alignr_epi8(input, previous, 15);
        const __m128i byte1High = _mm_shuffle_epi8(
            _mm_setr_epi8(tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, char(twoContinuations),
                          char(twoContinuations), char(twoContinuations), char(twoContinuations), tooShort | overlong2,
                          tooShort, tooShort | overlong3 | surrogate, tooShort | tooLarge | tooLarge1000 | overlong4),
            highNibbles(prev1));
        const __m128i byte1Low = _mm_shuffle_epi8(
            _mm_setr_epi8(char(carry | overlong3 | overlong2 | overlong4), char(carry | overlong2), char(carry), char(carry),
                          char(carry | tooLarge), char(carry | tooLarge | tooLarge1000),
                          char(carry | tooLarge | tooLarge1000), char(carry | tooLarge | tooLarge1000),
                          char(carry | tooLarge | tooLarge1000), char(carry | tooLarge | tooLarge1000),
                          char(carry | tooLarge | tooLarge1000), char(carry | tooLarge | tooLarge1000),
                          char(carry | tooLarge | tooLarge1000), char(carry | tooLarge | tooLarge1000 | surrogate),
                          char(carry | tooLarge | tooLarge1000), char(carry | tooLarge | tooLarge1000)),
            _mm_and_si128(prev1, _mm_set1_epi8(0x0F)));
        const __m128i byte2High = _mm_shuffle_epi8(
            _mm_setr_epi8(tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort,
                          char(tooLong | overlong2 | twoContinuations | overlong3 | tooLarge1000 | overlong4),
                          char(tooLong | overlong2 | twoContinuations | overlong3 | tooLarge),
                          char(tooLong | overlong2 | twoContinuations | surrogate | tooLarge),
                          char(tooLong | overlong2 | twoContinuations | surrogate | tooLarge), tooShort, tooShort,
                          tooShort, tooShort),
            highNibbles(input));
        const __m128i special = _mm_and_si128(_mm_and_si128(byte1High, byte1Low), byte2High);
        // Only bytes from E0 (two back) or F0 (three back) come out at 0x80 or above.
        const __m128i prev2 = _mm_alignr_epi8(input, previous, 14);
        const __m128i prev3 = _mm_alignr_epi8(input, previous, 13);
        const __m128i mustContinue = _mm_and_si128(
            _mm_or_si128(_mm_subs_epu8(prev2, _mm_set1_epi8(char(0xE0 - 0x80))),
                         _mm_subs_epu8(prev3, _mm_set1_epi8(char(0xF0 - 0x80)))),
            _mm_set1_epi8(char(0x80)));
        error = _mm_or_si128(error, _mm_xor_si128(mustContinue, special));
        // A sequence that the last three bytes begin and do not finish.
        previousIncomplete = _mm_subs_epu8(
            input, _mm_setr_epi8(char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF),
                                 char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xF0 - 1),
                                 char(0xE0 - 1), char(0xC0 - 1)));
        previous = input;
    }
};

__attribute__((target("ssse3"))) bool isValidUTF8SSSE3(const unsigned char* bytes, std::size_t size)
{
    Validator validator;
    std::size_t i = 0;
    for (; i + 16 <= size; i += 16)
        validator.check(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i)));
    if (i < size) {
        // The last sixteen bytes again, after the sixteen before them: bytes judged twice are judged alike.
        validator.previous = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + size - 32));
        validator.check(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + size - 16)));
    }
    const __m128i error = _mm_or_si128(validator.error, validator.previousIncomplete);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(error, _mm_setzero_si128())) == 0xFFFF;
}

#endif

} // namespace

bool isValidUTF8(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
#if defined(BASALWORK_UTF8_SSSE3)
    static const bool hasSSSE3 = __builtin_cpu_supports("ssse3");
    if (hasSSSE3 && text.size() >= 32)
        return isValidUTF8SSSE3(bytes, text.size());
#endif
    return isValidUTF8Scalar(bytes, text.size());
}

} // namespace Basalwork
