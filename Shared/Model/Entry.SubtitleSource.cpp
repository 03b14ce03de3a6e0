#include "Shared/Model/Entry.SubtitleSource.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/DecodingError.hpp"

namespace Shared {

void EntrySubtitleSource::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    if (const auto* system = as<SystemField>()) {
        container.encode(system->id, "systemField");
    } else if (const auto* custom = as<CustomField>()) {
        container.encode(custom->id.section, "section");
        container.encode(custom->id.index, "index");
    }
}

EntrySubtitleSource EntrySubtitleSource::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    if (auto id = container.decodeIfPresent<EntrySystemField::ID>("systemField"))
        return systemField(*id);
    return customField({container.decode<std::int64_t>("section"), container.decode<std::int64_t>("index")});
}

} // namespace Shared
