#pragma once

#include "Platform/Foundation/String.hpp"

namespace Basalwork {

// A card number as a user typed it, given back as bare digits, grouped as its length suggests, or masked.
class CreditCardNumber {
public:
    class SpacingPattern;

    // Whitespace and newlines are trimmed from both ends; nothing else is removed.
    explicit CreditCardNumber(const Foundation::String& text);

    const Foundation::String& unformatted() const { return m_unformatted; }
    // Only the characters that are numbers (any script's digits, not only ASCII), in order.
    Foundation::String withoutSpaces() const;
    // The digits with one space before each group the pattern for their count starts.
    Foundation::String withSpaces() const;
    // The first and last group of four, "1234 **** 5678"; "****" for fewer than 13 characters with spaces.
    Foundation::String masked() const;

    friend bool operator==(const CreditCardNumber&, const CreditCardNumber&) = default;

private:
    Foundation::String m_unformatted;
};

} // namespace Basalwork

#include "Basalwork/Base/CreditCardNumber.SpacingPattern.hpp"
