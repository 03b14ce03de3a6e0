#pragma once

#include "Shared/Model/Entry.Field.hpp"
#include "Shared/Model/Entry.Section.Template.hpp"

#include <optional>
#include <vector>

namespace Shared {

// A titled group of custom fields (Entry::Section).
class EntrySection {
public:
    using Template = EntrySectionTemplate;
    using TemplateGroup = EntrySectionTemplateGroup;

    std::optional<Foundation::String> title;
    std::vector<EntryField> fields;

    // A new section with the template's title and fields.
    static EntrySection make(Template sectionTemplate);

    void encode(Foundation::Encoder& encoder) const;
    static EntrySection decode(Foundation::Decoder& decoder);
    friend bool operator==(const EntrySection&, const EntrySection&) = default;
};

} // namespace Shared
