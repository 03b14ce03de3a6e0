#pragma once

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstddef>
#include <iterator>
#include <string_view>

namespace Foundation {

// Walks a string's characters. It reads the string's storage, so the string must outlive it and
// stay unchanged; characters are made on access, hence `reference` is a value.
class String::CharacterIterator {
public:
    using iterator_concept = std::forward_iterator_tag;
    using iterator_category = std::input_iterator_tag;
    using value_type = Character;
    using reference = Character;
    using pointer = void;
    using difference_type = std::ptrdiff_t;

    CharacterIterator() = default;

    Character operator*() const;
    CharacterIterator& operator++();
    CharacterIterator operator++(int)
    {
        CharacterIterator before = *this;
        ++*this;
        return before;
    }
    friend bool operator==(const CharacterIterator& lhs, const CharacterIterator& rhs)
    {
        return lhs.m_start == rhs.m_start && lhs.m_text.data() == rhs.m_text.data();
    }

private:
    friend class String;
    CharacterIterator(std::string_view text, std::size_t start);

    std::string_view m_text;
    std::size_t m_start = 0;
    std::size_t m_end = 0; // end of the character at m_start
};

} // namespace Foundation
