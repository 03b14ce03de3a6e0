#pragma once

#include "Shared/Model/Entry.Field.Category.hpp"
#include "Shared/Model/Entry.PreviousValue.hpp"

#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

namespace Shared {

// A custom field of an item (Entry::Field): an optional title, its text (for an attachment field, the
// attachment's identifier), its category and the earlier texts it held.
class EntryField {
public:
    using Category = EntryFieldCategory;
    using CategoryGroup = EntryFieldCategoryGroup;

    // A field is addressed by its position: its section and its place in that section.
    struct ID {
        std::int64_t section = 0;
        std::int64_t index = 0;
        friend auto operator<=>(const ID&, const ID&) = default;
    };

    std::optional<Foundation::String> title;
    Foundation::String text;
    Category category = Category::text;
    std::vector<EntryPreviousValue> history;

    // An earlier value by its identifier.
    const EntryPreviousValue* previousValue(const Foundation::String& id) const;

    void encode(Foundation::Encoder& encoder) const;
    static EntryField decode(Foundation::Decoder& decoder);
    friend bool operator==(const EntryField&, const EntryField&) = default;
};

} // namespace Shared
