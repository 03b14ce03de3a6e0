#pragma once

#include "Shared/Crypto/PINGenerator.hpp"

#include <utility>

namespace Shared {

// Makes passwords from libsodium's random source, of one of four kinds (in this order): random
// characters, pronounceable letters, pronounceable words joined by a separator, and digits (the PIN
// generator's settings). Each kind keeps its own settings, so switching kinds loses none.
struct PasswordGenerator {
    enum class Kind { random, pronounceable, words, pin };

    struct Characters {
        static constexpr std::int64_t minimumLength = 8;
        static constexpr std::int64_t maximumLength = 100;
        std::int64_t length = 20;
        bool includesNumbers = true;
        bool includesSymbols = true;
        friend bool operator==(const Characters&, const Characters&) = default;
    };
    struct Words {
        static constexpr std::int64_t minimumCount = 3;
        static constexpr std::int64_t maximumCount = 20;
        std::int64_t count = 5;
        Foundation::String separator = "-";
        friend bool operator==(const Words&, const Words&) = default;
    };

    Kind kind = Kind::random;
    Characters random;
    Characters pronounceable {16, true, true};
    Words words;
    PINGenerator pin;

    // Settings outside their bounds are brought within them. Every class of character that is
    // included appears at least once.
    Foundation::String generate() const;

    // What the kind's one number counts (characters, words or digits), its bounds, and its value
    // brought within them.
    static std::pair<std::int64_t, std::int64_t> lengthBounds(Kind kind);
    // "Characters", "Words" or "Digits".
    static Foundation::String lengthTitle(Kind kind);
    std::int64_t length(Kind kind) const;
    // Brought within the kind's bounds.
    void setLength(std::int64_t length, Kind kind);
    // The characters' settings of a characters kind (the random ones for the other kinds).
    const Characters& characters(Kind kind) const { return kind == Kind::pronounceable ? pronounceable : random; }

    // What the generator under a field changes: a PIN field's own digits, any other field the settings of
    // the chosen kind. False when that kind has no such setting (nothing changed).
    bool changeLength(std::int64_t length, bool isPINField);
    bool changeCount(std::int64_t count, bool isPINField);
    bool changeIncludesNumbers(bool includesNumbers, bool isPINField);
    bool changeIncludesSymbols(bool includesSymbols, bool isPINField);
    bool changeSeparator(const Foundation::String& separator, bool isPINField);

    void encode(Foundation::Encoder& encoder) const;
    static PasswordGenerator decode(Foundation::Decoder& decoder);
    friend bool operator==(const PasswordGenerator&, const PasswordGenerator&) = default;
};

} // namespace Shared
