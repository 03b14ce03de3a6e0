#include "Shared/Model/Entry.Section.hpp"

#include "Platform/Foundation/Codable.hpp"

namespace Shared {

EntrySection EntrySection::make(Template sectionTemplate)
{
    EntrySection section;
    if (sectionTemplate != Template::blank)
        section.title = titleText(sectionTemplate);
    for (const auto& field : templateFields(sectionTemplate)) {
        EntryField made;
        if (*field.title)
            made.title = Foundation::String(field.title);
        made.category = field.category;
        section.fields.push_back(std::move(made));
    }
    return section;
}

void EntrySection::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encodeIfPresent(title, "title");
    container.encode(fields, "fields");
}

EntrySection EntrySection::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    EntrySection section;
    section.title = container.decodeIfPresent<Foundation::String>("title");
    section.fields = container.decode<std::vector<EntryField>>("fields");
    return section;
}

} // namespace Shared
