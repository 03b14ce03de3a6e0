#include "Platform/CloudKit/ChangeTokenPayload.hpp"

namespace CloudKit {

Foundation::Data ChangeTokenPayload::encoded() const
{
    nlohmann::ordered_json json = {{"container", container},
                                   {"account", account},
                                   {"zone", zoneID.zoneName().utf8()},
                                   {"owner", zoneID.ownerName().utf8()},
                                   {"incarnation", incarnation},
                                   {"seen", seen.encoded()}};
    return Foundation::Data::fromString(json.dump());
}

std::optional<ChangeTokenPayload> ChangeTokenPayload::decode(const Foundation::Data& data)
{
    auto json = nlohmann::ordered_json::parse(data.view(), nullptr, false);
    if (!json.is_object())
        return std::nullopt;
    for (const char* key : {"container", "account", "zone", "owner", "incarnation"}) {
        if (!json.contains(key) || !json[key].is_string())
            return std::nullopt;
    }
    auto seen = json.contains("seen") ? SeenBatches::decode(json["seen"]) : std::nullopt;
    if (!seen)
        return std::nullopt;
    return ChangeTokenPayload {json["container"].get<std::string>(), json["account"].get<std::string>(),
                               CKRecordZoneID(json["zone"].get<std::string>(), json["owner"].get<std::string>()),
                               json["incarnation"].get<std::string>(), std::move(*seen)};
}

} // namespace CloudKit
