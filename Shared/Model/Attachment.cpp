#include "Shared/Model/Attachment.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/UniformTypeIdentifiers/UTType.hpp"

namespace Shared {

const UniformTypeIdentifiers::UTType& Attachment::supportedUTType()
{
    return UniformTypeIdentifiers::UTType::data();
}

void Attachment::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode(id, "id");
    container.encode(entryID, "entryID");
    container.encode(filename, "filename");
    container.encode(byteCount, "byteCount");
    container.encode(createdAt, "createdAt");
}

Attachment Attachment::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    return {container.decode<Foundation::String>("id"), container.decode<Foundation::String>("entryID"),
            container.decode<Foundation::String>("filename"), container.decode<std::int64_t>("byteCount"),
            container.decode<Foundation::Date>("createdAt")};
}

} // namespace Shared
