#include "Shared/Model/Entry.PreviousValue.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/UUID.hpp"

namespace Shared {

EntryPreviousValue EntryPreviousValue::make(Foundation::String text, Foundation::Date replacedAt)
{
    return {Foundation::UUID().uuidString(), std::move(text), replacedAt};
}

void EntryPreviousValue::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode(id, "id");
    container.encode(text, "text");
    container.encode(replacedAt, "replacedAt");
}

EntryPreviousValue EntryPreviousValue::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    return {container.decode<Foundation::String>("id"), container.decode<Foundation::String>("text"),
            container.decode<Foundation::Date>("replacedAt")};
}

} // namespace Shared
