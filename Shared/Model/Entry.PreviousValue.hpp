#pragma once

#include "Platform/Foundation/CodingTraits.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"

namespace Shared {

// An earlier value of a secret or field, kept in its history (Entry::PreviousValue).
struct EntryPreviousValue {
    Foundation::String id;
    Foundation::String text;
    // When it was replaced.
    Foundation::Date replacedAt;

    // A fresh identifier.
    static EntryPreviousValue make(Foundation::String text, Foundation::Date replacedAt);

    void encode(Foundation::Encoder& encoder) const;
    static EntryPreviousValue decode(Foundation::Decoder& decoder);
    friend bool operator==(const EntryPreviousValue&, const EntryPreviousValue&) = default;
};

} // namespace Shared
