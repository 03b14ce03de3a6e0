#include "Shared/Model/Entry.Field.hpp"

#include "Platform/Foundation/Codable.hpp"

namespace Shared {

const EntryPreviousValue* EntryField::previousValue(const Foundation::String& id) const
{
    for (const auto& value : history) {
        if (value.id == id)
            return &value;
    }
    return nullptr;
}

void EntryField::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encodeIfPresent(title, "title");
    container.encode(text, "text");
    container.encode(category, "category");
    container.encode(history, "history");
}

EntryField EntryField::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    EntryField field;
    field.title = container.decodeIfPresent<Foundation::String>("title");
    field.text = container.decode<Foundation::String>("text");
    field.category = container.decode<Category>("category");
    field.history = container.decodeIfPresent<std::vector<EntryPreviousValue>>("history").value_or(std::vector<EntryPreviousValue> {});
    return field;
}

} // namespace Shared
