#include "Basalwork/Base/UTF8Validation.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BASALWORK_UTF8_X86 1
#endif

namespace Basalwork {
namespace {

// One scalar at a time, ASCII eight bytes at a time: the length of the well-formed start.
std::size_t validUTF8PrefixScalar(const unsigned char* bytes, std::size_t size)
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
            return i;
        }
        if (i + length > size || bytes[i + 1] < low || bytes[i + 1] > high)
            return i;
        for (std::size_t k = 2; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return i;
        }
        i += length;
    }
    return size;
}

bool isValidUTF8Scalar(const unsigned char* bytes, std::size_t size)
{
    return validUTF8PrefixScalar(bytes, size) == size;
}

#if defined(BASALWORK_UTF8_X86)

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

alignas(16) constexpr std::uint8_t byte1HighTable[16] = {
    tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, twoContinuations, twoContinuations,
    twoContinuations, twoContinuations, tooShort | overlong2, tooShort, tooShort | overlong3 | surrogate,
    tooShort | tooLarge | tooLarge1000 | overlong4};
alignas(16) constexpr std::uint8_t byte1LowTable[16] = {
    carry | overlong3 | overlong2 | overlong4, carry | overlong2, carry, carry, carry | tooLarge,
    carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000 | surrogate,
    carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000};
alignas(16) constexpr std::uint8_t byte2HighTable[16] = {
    tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort,
    tooLong | overlong2 | twoContinuations | overlong3 | tooLarge1000 | overlong4,
    tooLong | overlong2 | twoContinuations | overlong3 | tooLarge,
    tooLong | overlong2 | twoContinuations | surrogate | tooLarge,
    tooLong | overlong2 | twoContinuations | surrogate | tooLarge, tooShort, tooShort, tooShort, tooShort};
// Saturating subtraction leaves something only where the last three bytes begin a sequence they do not finish.
alignas(32) constexpr std::uint8_t incompleteLimits[32] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0 - 1, 0xE0 - 1, 0xC0 - 1};

struct Validator {
    // Set by the caller, which alone may use these instructions.
    __m256i error;
    __m256i previous;
    __m256i previousIncomplete;

    __attribute__((target("avx2"))) static __m256i table(const std::uint8_t* values)
    {
        return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(values)));
    }

    __attribute__((target("avx2"))) static __m256i highNibbles(__m256i v)
    {
        return _mm256_and_si256(_mm256_srli_epi16(v, 4), _mm256_set1_epi8(0x0F));
    }

    __attribute__((target("avx2"))) void check(__m256i input)
    {
        if (_mm256_movemask_epi8(input) == 0) {
            checkASCII(input);
            return;
        }
        checkAny(input);
    }

    __attribute__((target("avx2"))) void checkASCII(__m256i last)
    {
        error = _mm256_or_si256(error, previousIncomplete);
        previous = last;
        previousIncomplete = _mm256_setzero_si256();
    }

    __attribute__((target("avx2"))) void checkAny(__m256i input)
    {
        // The previous block's high half and this block's low half: the bytes before each lane's bytes.
        const __m256i before = _mm256_permute2x128_si256(previous, input, 0x21);
        const __m256i prev1 = _mm256_alignr_epi8(input, before, 15);
        const __m256i special = _mm256_and_si256(
            _mm256_and_si256(_mm256_shuffle_epi8(table(byte1HighTable), highNibbles(prev1)),
                             _mm256_shuffle_epi8(table(byte1LowTable), _mm256_and_si256(prev1, _mm256_set1_epi8(0x0F)))),
            _mm256_shuffle_epi8(table(byte2HighTable), highNibbles(input)));
        const __m256i prev2 = _mm256_alignr_epi8(input, before, 14);
        const __m256i prev3 = _mm256_alignr_epi8(input, before, 13);
        const __m256i mustContinue = _mm256_and_si256(
            _mm256_or_si256(_mm256_subs_epu8(prev2, _mm256_set1_epi8(char(0xE0 - 0x80))),
                            _mm256_subs_epu8(prev3, _mm256_set1_epi8(char(0xF0 - 0x80)))),
            _mm256_set1_epi8(char(0x80)));
        error = _mm256_or_si256(error, _mm256_xor_si256(mustContinue, special));
        previousIncomplete = _mm256_subs_epu8(input, _mm256_load_si256(reinterpret_cast<const __m256i*>(incompleteLimits)));
        previous = input;
    }
};

__attribute__((target("avx2"))) bool isValidUTF8AVX2(const unsigned char* bytes, std::size_t size)
{
    Validator validator;
    validator.error = validator.previous = validator.previousIncomplete = _mm256_setzero_si256();
    std::size_t i = 0;
    // ASCII is told apart 128 bytes at a time: in text that mixes it with other scripts, 32 bytes at a time
    // would guess wrong half the time.
    for (; i + 128 <= size; i += 128) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 32));
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 64));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 96));
        if (_mm256_movemask_epi8(_mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d))) == 0) {
            validator.checkASCII(d);
            continue;
        }
        validator.checkAny(a);
        validator.checkAny(b);
        validator.checkAny(c);
        validator.checkAny(d);
    }
    for (; i + 32 <= size; i += 32)
        validator.check(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i)));
    if (i < size) {
        validator.previous = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + size - 64));
        validator.check(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + size - 32)));
    }
    const __m256i error = _mm256_or_si256(validator.error, validator.previousIncomplete);
    return _mm256_testz_si256(error, error) != 0;
}

#endif

} // namespace

bool isValidUTF8(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
#if defined(BASALWORK_UTF8_X86)
    static const bool hasAVX2 = __builtin_cpu_supports("avx2");
    // It needs two blocks, to read the last one again after the one before it.
    if (hasAVX2 && text.size() >= 64)
        return isValidUTF8AVX2(bytes, text.size());
#endif
    return isValidUTF8Scalar(bytes, text.size());
}

std::size_t validUTF8PrefixLength(std::string_view text)
{
    if (isValidUTF8(text))
        return text.size();
    return validUTF8PrefixScalar(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

} // namespace Basalwork
