#pragma once

#include "Platform/Foundation/CodingTraits.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>

namespace Shared {

// Makes PINs: decimal digits from libsodium's random source, each digit uniform.
struct PINGenerator {
    static constexpr std::int64_t minimumLength = 4;
    static constexpr std::int64_t maximumLength = 20;

    std::int64_t length = 6;

    // A length outside the bounds is brought within them.
    Foundation::String generate() const;

    void encode(Foundation::Encoder& encoder) const;
    static PINGenerator decode(Foundation::Decoder& decoder);
    friend bool operator==(const PINGenerator&, const PINGenerator&) = default;
};

} // namespace Shared
