#pragma once

#include "Platform/Foundation/CodingTraits.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Shared {

// A site or app an item fills in (Entry::ServiceIdentifier): its host (or the app's identifier) and when
// AutoFill last used the item there.
struct EntryServiceIdentifier {
    Foundation::String host;
    std::optional<Foundation::Date> lastUsedAt;

    // From a service identifier as the AutoFill service names it: a URL gives its host (lower case), a
    // domain or a URL without host its whole text.
    static EntryServiceIdentifier fromIdentifier(const Foundation::String& identifier, bool isURL, std::optional<Foundation::Date> lastUsedAt);

    // Hosts compare without regard to case.
    bool hasSameHost(const EntryServiceIdentifier& other) const;

    void encode(Foundation::Encoder& encoder) const;
    static EntryServiceIdentifier decode(Foundation::Decoder& decoder);
    friend bool operator==(const EntryServiceIdentifier&, const EntryServiceIdentifier&) = default;
};

} // namespace Shared
