#pragma once

#include "Platform/Foundation/CodingTraits.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>

namespace UniformTypeIdentifiers {
struct UTType;
}

namespace Shared {

// A file kept with an item: its description. The bytes live encrypted in the attachment data store
// under the attachment's identifier, which the item's attachment field holds as its text.
struct Attachment {
    // The record field that carries an attachment's (encrypted) file when it is synced.
    static constexpr const char* ckAssetKey = "encryptedData";
    // What an attachment field takes: any file.
    static const UniformTypeIdentifiers::UTType& supportedUTType();

    Foundation::String id;
    Foundation::String entryID;
    Foundation::String filename;
    std::int64_t byteCount = 0;
    Foundation::Date createdAt;

    void encode(Foundation::Encoder& encoder) const;
    static Attachment decode(Foundation::Decoder& decoder);
    friend bool operator==(const Attachment&, const Attachment&) = default;
};

} // namespace Shared
