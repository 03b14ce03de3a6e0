#pragma once

#include "Basalwork/Base/FileDataReader.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Basalwork {

// A few byte values to find in a text, sixteen bytes at a time: the readers look only at the bytes that can
// end a record or change a field, and take everything between them whole.
class FileDataReader::ByteSet {
public:
    void insert(unsigned char byte)
    {
        if (m_table[byte])
            return;
        m_table[byte] = true;
        if (m_count < maximumMembers) {
#if defined(__SSE2__)
            m_members[m_count] = _mm_set1_epi8(static_cast<char>(byte));
#endif
        }
        ++m_count;
    }
    bool contains(unsigned char byte) const { return m_table[byte]; }

    // The position of the first byte of the set in [from, size), or `size`.
    std::size_t find(const unsigned char* bytes, std::size_t from, std::size_t size) const
    {
#if defined(__SSE2__)
        if (m_count > 0 && m_count <= maximumMembers) {
            for (; from + 16 <= size; from += 16) {
                __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
                __m128i hits = _mm_cmpeq_epi8(block, m_members[0]);
                for (std::size_t k = 1; k < m_count; ++k)
                    hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, m_members[k]));
                if (int mask = _mm_movemask_epi8(hits))
                    return from + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
            }
        }
#endif
        while (from < size && !m_table[bytes[from]])
            ++from;
        return from;
    }

    // The position of the first byte that is not ASCII in [from, size), or `size`.
    static std::size_t findNonASCII(const unsigned char* bytes, std::size_t from, std::size_t size)
    {
#if defined(__SSE2__)
        for (; from + 16 <= size; from += 16) {
            int mask = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from)));
            if (mask)
                return from + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
        }
#endif
        while (from < size && bytes[from] < 0x80)
            ++from;
        return from;
    }

private:
    static constexpr std::size_t maximumMembers = 12;
    std::array<bool, 256> m_table {};
#if defined(__SSE2__)
    __m128i m_members[maximumMembers] {};
#endif
    std::size_t m_count = 0;
};

} // namespace Basalwork
