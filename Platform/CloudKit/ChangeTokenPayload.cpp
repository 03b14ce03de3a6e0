#include "Platform/CloudKit/ChangeTokenPayload.hpp"

#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"

namespace CloudKit {

Foundation::Data ChangeTokenPayload::encoded() const
{
    Foundation::JSONStreamWriter writer;
    writer.beginObject()
        .key("container").string(container)
        .key("account").string(account)
        .key("zone").string(zoneID.zoneName().utf8())
        .key("owner").string(zoneID.ownerName().utf8())
        .key("incarnation").string(incarnation)
        .key("seen");
    seen.encode(writer);
    writer.endObject();
    return Foundation::Data::fromString(writer.take());
}

std::optional<ChangeTokenPayload> ChangeTokenPayload::decode(const Foundation::Data& data)
{
    auto document = Foundation::JSONDocument::tryParse(data.view());
    if (!document)
        return std::nullopt;
    Foundation::JSONView json(*document);
    auto text = [&](std::string_view key) {
        auto found = json.find(key);
        return found ? found->string() : std::nullopt;
    };
    auto container = text("container");
    auto account = text("account");
    auto zone = text("zone");
    auto owner = text("owner");
    auto incarnation = text("incarnation");
    if (!container || !account || !zone || !owner || !incarnation)
        return std::nullopt;
    auto seenJSON = json.find("seen");
    auto seen = seenJSON ? SeenBatches::decode(*seenJSON) : std::nullopt;
    if (!seen)
        return std::nullopt;
    return ChangeTokenPayload {std::string(*container), std::string(*account), CKRecordZoneID(Foundation::String(*zone), Foundation::String(*owner)),
                               std::string(*incarnation), std::move(*seen)};
}

} // namespace CloudKit
