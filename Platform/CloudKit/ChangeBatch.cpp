#include "Platform/CloudKit/ChangeBatch.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/RecordCoding.hpp"

#include <charconv>
#include <cstdio>
#include <zlib.h>

namespace CloudKit {
namespace {

using Json = RecordCoding::Json;

constexpr const char* formatName = "CloudKit change batch";
constexpr const char* batchExtension = ".batch";
// Batches before the checksum came are plain JSON and are still read.
constexpr std::int64_t uncheckedVersion = 1;

// A batch is its JSON wrapped with a checksum of those very bytes, so that a flipped bit or a file cut
// short anywhere is found before anything in it is believed:
//   {"format":"CloudKit change batch","version":2,"checksum":"<8 hex digits>","batch":<JSON>}
// The head stays JSON that older readers recognise as a newer format.
std::string envelopeHead()
{
    return std::string("{\"format\":\"") + formatName + "\",\"version\":" + std::to_string(ChangeBatch::formatVersion) + ",\"checksum\":\"";
}
constexpr std::string_view checksumEnd = "\",\"batch\":";
constexpr std::size_t checksumDigits = 8;

std::string checksum(std::string_view bytes)
{
    auto value = ::crc32_z(::crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
    char text[checksumDigits + 1];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(value));
    return text;
}

const char* kindName(ChangeBatch::Change::Kind kind)
{
    switch (kind) {
    case ChangeBatch::Change::Kind::createZone:
        return "createZone";
    case ChangeBatch::Change::Kind::deleteZone:
        return "deleteZone";
    case ChangeBatch::Change::Kind::saveRecord:
        return "saveRecord";
    case ChangeBatch::Change::Kind::deleteRecord:
        return "deleteRecord";
    }
    return "";
}

CKError damaged(const std::string& fileName, const std::string& why)
{
    return CKError(CKError::Code::internalError, "The change batch " + fileName + " is damaged: " + why);
}

const Json& member(const Json& object, const char* key, const std::string& fileName)
{
    auto found = object.find(key);
    if (found == object.end())
        throw damaged(fileName, std::string("\"") + key + "\" is missing");
    return *found;
}

std::string text(const Json& object, const char* key, const std::string& fileName)
{
    const auto& value = member(object, key, fileName);
    if (!value.is_string())
        throw damaged(fileName, std::string("\"") + key + "\" is not text");
    return value.get<std::string>();
}

std::int64_t integer(const Json& object, const char* key, const std::string& fileName)
{
    const auto& value = member(object, key, fileName);
    if (!value.is_number_integer() || (value.is_number_unsigned() && value.get<std::uint64_t>() > std::uint64_t(INT64_MAX)))
        throw damaged(fileName, std::string("\"") + key + "\" is not a whole number");
    return value.get<std::int64_t>();
}

ChangeBatch::Change decodeChange(const Json& json, const std::string& fileName, const ChangeBatch::AssetFinder& finder)
{
    using Kind = ChangeBatch::Change::Kind;
    if (!json.is_object())
        throw damaged(fileName, "a change is not an object");
    ChangeBatch::Change change;
    auto kind = text(json, "change", fileName);
    if (kind == "createZone")
        change.kind = Kind::createZone;
    else if (kind == "deleteZone")
        change.kind = Kind::deleteZone;
    else if (kind == "saveRecord")
        change.kind = Kind::saveRecord;
    else if (kind == "deleteRecord")
        change.kind = Kind::deleteRecord;
    else
        throw damaged(fileName, "unknown change \"" + kind + "\"");
    change.zoneID = CKRecordZoneID(text(json, "zone", fileName), text(json, "owner", fileName));
    if (change.kind == Kind::deleteZone)
        return change;
    change.incarnation = text(json, "incarnation", fileName);
    if (change.kind == Kind::createZone)
        return change;
    change.recordName = text(json, "name", fileName);
    change.recordType = text(json, "type", fileName);
    if (change.recordName.empty())
        throw damaged(fileName, "a record has no name");
    if (change.kind == Kind::deleteRecord)
        return change;

    const auto& replaces = member(json, "replacesFields", fileName);
    const auto& fields = member(json, "fields", fileName);
    if (!replaces.is_boolean() || !fields.is_object())
        throw damaged(fileName, "a record's fields are malformed");
    change.replacesFields = replaces.get<bool>();
    if (!RecordCoding::isValidName(change.recordType)) {
        change.unreadable = CKError(CKError::Code::invalidArguments,
                                    "The record " + change.recordName + " has the unknown type \"" + change.recordType + "\"")
                                .clone();
        return change;
    }
    for (const auto& [key, value] : fields.items()) {
        if (value.is_null()) {
            change.fields.emplace(key, std::nullopt);
            continue;
        }
        auto decoded = RecordCoding::decode(value, finder);
        if (!decoded || !RecordCoding::isValidName(key)) {
            change.unreadable = CKError(CKError::Code::incompatibleVersion,
                                        "The record " + change.recordName + " holds a field \"" + key
                                            + "\" this version cannot read")
                                    .clone();
            change.fields.clear();
            return change;
        }
        change.fields.emplace(key, std::move(*decoded));
    }
    return change;
}

} // namespace

std::string ChangeBatch::fileName(const std::string& device, std::int64_t sequence)
{
    return device + "-" + std::to_string(sequence) + batchExtension;
}

std::optional<ChangeBatch::Name> ChangeBatch::parseFileName(const std::string& fileName)
{
    std::string_view name(fileName);
    std::string_view extension(batchExtension);
    if (name.size() <= extension.size() || name.substr(name.size() - extension.size()) != extension)
        return std::nullopt;
    name.remove_suffix(extension.size());
    auto dash = name.rfind('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == name.size())
        return std::nullopt;
    auto device = name.substr(0, dash);
    for (char c : device) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return std::nullopt;
    }
    auto digits = name.substr(dash + 1);
    if (digits.front() == '0')
        return std::nullopt;
    std::int64_t sequence = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), sequence);
    if (error != std::errc() || end != digits.data() + digits.size() || sequence <= 0)
        return std::nullopt;
    return Name {std::string(device), sequence};
}

Foundation::Data ChangeBatch::encoded(const std::string& container, const std::string& account, const AssetNamer& namer) const
{
    Json changesJson = Json::array();
    for (const auto& change : changes) {
        Json json = {{"change", kindName(change.kind)},
                     {"zone", change.zoneID.zoneName().utf8()},
                     {"owner", change.zoneID.ownerName().utf8()}};
        if (change.kind != Change::Kind::deleteZone)
            json["incarnation"] = change.incarnation;
        if (change.kind == Change::Kind::saveRecord || change.kind == Change::Kind::deleteRecord) {
            json["name"] = change.recordName;
            json["type"] = change.recordType;
        }
        if (change.kind == Change::Kind::saveRecord) {
            json["replacesFields"] = change.replacesFields;
            Json fields = Json::object();
            for (const auto& [key, value] : change.fields)
                fields[key] = value ? RecordCoding::encode(*value, namer) : Json(nullptr);
            json["fields"] = std::move(fields);
        }
        changesJson.push_back(std::move(json));
    }
    Json batch = {{"format", formatName},
                  {"version", formatVersion},
                  {"container", container},
                  {"account", account},
                  {"device", device},
                  {"sequence", sequence},
                  {"clock", clock},
                  {"date", date.timeIntervalSinceReferenceDate()}};
    if (operationID)
        batch["operation"] = *operationID;
    batch["changes"] = std::move(changesJson);
    auto body = batch.dump();
    return Foundation::Data::fromString(envelopeHead() + checksum(body) + std::string(checksumEnd) + body + "}");
}

ChangeBatch ChangeBatch::decode(const Foundation::Data& data, const std::string& fileName, const std::string& container,
                                const std::string& account, const AssetFinder& finder)
{
    std::string_view bytes(data.view());
    auto head = envelopeHead();
    bool checked = bytes.starts_with(head);
    if (checked) {
        auto rest = bytes.substr(head.size());
        if (rest.size() < checksumDigits + checksumEnd.size() + 1 || rest.substr(checksumDigits, checksumEnd.size()) != checksumEnd
            || rest.back() != '}')
            throw damaged(fileName, "it is cut short or malformed");
        auto body = rest.substr(checksumDigits + checksumEnd.size());
        body.remove_suffix(1);
        if (checksum(body) != rest.substr(0, checksumDigits))
            throw damaged(fileName, "its checksum does not match its contents");
        bytes = body;
    }
    auto json = Json::parse(bytes, nullptr, false);
    if (json.is_discarded() || !json.is_object())
        throw damaged(fileName, "it is not a change batch");
    auto format = json.find("format");
    if (format == json.end() || *format != formatName)
        throw damaged(fileName, "it is not a change batch");
    auto version = integer(json, "version", fileName);
    if (version > formatVersion)
        throw CKError(CKError::Code::incompatibleVersion,
                      "The change batch " + fileName + " was written by a newer version (format " + std::to_string(version) + ")");
    if (version < 1)
        throw damaged(fileName, "its format is unknown");
    // Only the oldest format comes without a checksum; a checked one unwrapped is damage.
    if (checked != (version > uncheckedVersion))
        throw damaged(fileName, "its checksum is missing");
    if (text(json, "container", fileName) != container || text(json, "account", fileName) != account)
        throw CKError(CKError::Code::badContainer, "The change batch " + fileName + " belongs to another container or account");

    ChangeBatch batch;
    batch.device = text(json, "device", fileName);
    batch.sequence = integer(json, "sequence", fileName);
    batch.clock = integer(json, "clock", fileName);
    auto name = parseFileName(fileName);
    if (!name || name->device != batch.device || name->sequence != batch.sequence || batch.clock < 0)
        throw damaged(fileName, "its name does not match its contents");
    const auto& date = member(json, "date", fileName);
    if (!date.is_number())
        throw damaged(fileName, "\"date\" is not a number");
    batch.date = Foundation::Date(date.get<double>());
    if (json.contains("operation"))
        batch.operationID = text(json, "operation", fileName);
    const auto& changes = member(json, "changes", fileName);
    if (!changes.is_array())
        throw damaged(fileName, "\"changes\" is not a list");
    batch.changes.reserve(changes.size());
    for (const auto& change : changes)
        batch.changes.push_back(decodeChange(change, fileName, finder));
    return batch;
}

} // namespace CloudKit
