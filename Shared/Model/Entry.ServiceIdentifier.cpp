#include "Shared/Model/Entry.ServiceIdentifier.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/URL.hpp"

namespace Shared {

EntryServiceIdentifier EntryServiceIdentifier::fromIdentifier(const Foundation::String& identifier, bool isURL,
                                                              std::optional<Foundation::Date> lastUsedAt)
{
    if (isURL) {
        if (auto url = Foundation::URL::string(identifier)) {
            if (auto host = url->host(); host && !host->isEmpty())
                return {host->lowercased(), lastUsedAt};
        }
    }
    return {identifier, lastUsedAt};
}

bool EntryServiceIdentifier::hasSameHost(const EntryServiceIdentifier& other) const
{
    return host.lowercased() == other.host.lowercased();
}

void EntryServiceIdentifier::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode(host, "host");
    container.encodeIfPresent(lastUsedAt, "lastUsedAt");
}

EntryServiceIdentifier EntryServiceIdentifier::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    return {container.decode<Foundation::String>("host"), container.decodeIfPresent<Foundation::Date>("lastUsedAt")};
}

} // namespace Shared
