#include "Platform/CloudKit/ChangeBatch.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/InParallel.hpp"
#include "Platform/CloudKit/RecordCoding.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"

#include <algorithm>
#include <charconv>
#include <exception>
#include <cstdio>
#include <zlib.h>

namespace CloudKit {
namespace {

using Foundation::JSONView;

constexpr const char* formatName = "CloudKit change batch";
constexpr std::string_view batchExtension = ".batch";
constexpr std::string_view snapshotExtension = ".snapshot";
// Batches before the checksum came are plain JSON and are still read.
constexpr std::int64_t uncheckedVersion = 1;

// A batch is its JSON wrapped with a checksum of those very bytes, so that a flipped bit or a file cut
// short anywhere is found before anything in it is believed:
//   {"format":"CloudKit change batch","version":2,"checksum":"<8 hex digits>","batch":<JSON>}
// The head stays JSON that older readers recognise as a newer format.
std::string envelopeHead(std::int64_t version)
{
    return std::string("{\"format\":\"") + formatName + "\",\"version\":" + std::to_string(version) + ",\"checksum\":\"";
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

JSONView member(const JSONView& object, const char* key, const std::string& fileName)
{
    auto found = object.find(key);
    if (!found)
        throw damaged(fileName, std::string("\"") + key + "\" is missing");
    return *found;
}

std::string text(const JSONView& object, const char* key, const std::string& fileName)
{
    auto value = member(object, key, fileName).string();
    if (!value)
        throw damaged(fileName, std::string("\"") + key + "\" is not text");
    return std::string(*value);
}

std::int64_t integer(const JSONView& object, const char* key, const std::string& fileName)
{
    auto value = member(object, key, fileName).int64();
    if (!value)
        throw damaged(fileName, std::string("\"") + key + "\" is not a whole number");
    return *value;
}

ChangeBatch::Change decodeChange(const JSONView& json, const std::string& fileName, const ChangeBatch::AssetFinder& finder,
                                 ChangeBatch::Values values)
{
    using Kind = ChangeBatch::Change::Kind;
    if (!json.isObject())
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
    if (change.kind == Kind::deleteRecord) {
        if (json.contains("deletedTag"))
            change.deletedTag = text(json, "deletedTag", fileName);
        return change;
    }

    auto replaces = member(json, "replacesFields", fileName).boolean();
    auto fields = member(json, "fields", fileName);
    if (!replaces || !fields.isObject())
        throw damaged(fileName, "a record's fields are malformed");
    change.replacesFields = *replaces;
    if (!RecordCoding::isValidName(change.recordType)) {
        change.unreadable = CKError(CKError::Code::invalidArguments,
                                    "The record " + change.recordName + " has the unknown type \"" + change.recordType + "\"")
                                .clone();
        return change;
    }
    for (auto [fieldKey, value] : fields.members()) {
        std::string key(fieldKey);
        if (value.isNull()) {
            if (values == ChangeBatch::Values::made)
                change.fields.emplace(key, std::nullopt);
            continue;
        }
        std::optional<CKRecordValue> decoded;
        bool readable = values == ChangeBatch::Values::made ? (decoded = RecordCoding::decode(value, finder)).has_value()
                                                            : RecordCoding::isReadable(value, finder);
        if (!readable || !RecordCoding::isValidName(key)) {
            change.unreadable = CKError(CKError::Code::incompatibleVersion,
                                        "The record " + change.recordName + " holds a field \"" + key
                                            + "\" this version cannot read")
                                    .clone();
            change.fields.clear();
            return change;
        }
        if (decoded)
            change.fields.emplace(key, std::move(*decoded));
    }
    return change;
}

ChangeBatch::Snapshot decodeSnapshot(const JSONView& json, const std::string& fileName)
{
    ChangeBatch::Snapshot snapshot;
    auto covers = SeenBatches::decode(member(json, "covers", fileName));
    auto deleted = member(json, "deletedZones", fileName);
    auto operations = member(json, "operations", fileName);
    if (!covers || !deleted.isArray() || !operations.isArray())
        throw damaged(fileName, "what it covers is malformed");
    snapshot.covers = std::move(*covers);
    for (auto zone : deleted.elements()) {
        if (!zone.isObject())
            throw damaged(fileName, "a deleted zone is malformed");
        snapshot.deletedZones.push_back({text(zone, "incarnation", fileName), CKRecordZoneID(text(zone, "zone", fileName), text(zone, "owner", fileName)),
                                         text(zone, "batch", fileName)});
    }
    for (auto operation : operations.elements()) {
        auto value = operation.string();
        if (!value)
            throw damaged(fileName, "an operation is not text");
        snapshot.operationIDs.emplace_back(*value);
    }
    return snapshot;
}

// In a snapshot every record and deletion says where it came from.
void decodeKept(const JSONView& json, ChangeBatch::Change& change, const std::string& fileName)
{
    using Kind = ChangeBatch::Change::Kind;
    if (change.kind != Kind::saveRecord && change.kind != Kind::deleteRecord)
        return;
    ChangeBatch::Change::Kept kept;
    kept.batch = text(json, "batch", fileName);
    if (change.kind == Kind::saveRecord) {
        kept.changeTag = text(json, "tag", fileName);
        auto created = member(json, "created", fileName).number();
        auto modified = member(json, "modified", fileName).number();
        if (!created || !modified)
            throw damaged(fileName, "a record's dates are not numbers");
        kept.creationDate = Foundation::Date(*created);
        kept.modificationDate = Foundation::Date(*modified);
    }
    change.kept = std::move(kept);
}

// The text of a batch split where its changes are: the rest of it with an empty list in their place, and
// each change's text. A snapshot holds every record, and one document of all of it would take several
// times the file's size at once; each change parsed on its own takes what that change does. Only the
// structure is followed here (strings, brackets, commas); the parser checks each piece whole.
struct SplitText {
    std::string rest;
    std::vector<std::string_view> changes;
};

std::size_t skipSpace(std::string_view text, std::size_t at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\n' || text[at] == '\r' || text[at] == '\t'))
        ++at;
    return at;
}

// Past the string that starts at `at`; npos when it never ends. Most of a batch is inside strings (the
// sealed values), so the closing quote is looked for, not walked to.
std::size_t skipString(std::string_view text, std::size_t at)
{
    for (auto from = at + 1;;) {
        auto quote = text.find('"', from);
        if (quote == std::string_view::npos)
            return quote;
        // Escaped when an odd number of backslashes inside the string precede it.
        std::size_t slashes = 0;
        while (quote - slashes > at + 1 && text[quote - 1 - slashes] == '\\')
            ++slashes;
        if (slashes % 2 == 0)
            return quote + 1;
        from = quote + 1;
    }
}

// Past the value that starts at `at`; npos when the text ends inside it.
std::size_t skipValue(std::string_view text, std::size_t at)
{
    if (at >= text.size())
        return std::string_view::npos;
    if (text[at] == '"')
        return skipString(text, at);
    if (text[at] != '{' && text[at] != '[') {
        while (at < text.size() && std::string_view(",:}] \n\r\t").find(text[at]) == std::string_view::npos)
            ++at;
        return at;
    }
    std::size_t depth = 0;
    while (at < text.size()) {
        char c = text[at];
        if (c == '"') {
            at = skipString(text, at);
            if (at == std::string_view::npos)
                return at;
            continue;
        }
        if (c == '{' || c == '[')
            ++depth;
        else if ((c == '}' || c == ']') && --depth == 0)
            return at + 1;
        ++at;
    }
    return std::string_view::npos;
}

// The elements of the list that starts at `at`, each one's text; past the list, or npos when it is not one.
std::size_t splitList(std::string_view text, std::size_t at, std::vector<std::string_view>& elements)
{
    constexpr auto npos = std::string_view::npos;
    elements.clear();
    at = skipSpace(text, at + 1);
    if (at < text.size() && text[at] == ']')
        return at + 1;
    while (true) {
        auto end = skipValue(text, at);
        if (end == npos)
            return npos;
        elements.push_back(text.substr(at, end - at));
        at = skipSpace(text, end);
        if (at < text.size() && text[at] == ',') {
            at = skipSpace(text, at + 1);
            continue;
        }
        return at < text.size() && text[at] == ']' ? at + 1 : npos;
    }
}

std::optional<SplitText> splitChanges(std::string_view text)
{
    constexpr auto npos = std::string_view::npos;
    auto at = skipSpace(text, 0);
    if (at >= text.size() || text[at] != '{')
        return std::nullopt;
    SplitText split;
    // A key given twice holds its last value, as the parser takes it.
    std::optional<std::pair<std::size_t, std::size_t>> list;
    at = skipSpace(text, at + 1);
    if (at < text.size() && text[at] == '}') {
        ++at;
    } else {
        while (true) {
            if (at >= text.size() || text[at] != '"')
                return std::nullopt;
            auto keyEnd = skipString(text, at);
            if (keyEnd == npos)
                return std::nullopt;
            bool isChanges = text.substr(at, keyEnd - at) == "\"changes\"";
            at = skipSpace(text, keyEnd);
            if (at >= text.size() || text[at] != ':')
                return std::nullopt;
            auto valueStart = skipSpace(text, at + 1);
            auto valueEnd = isChanges && valueStart < text.size() && text[valueStart] == '['
                ? splitList(text, valueStart, split.changes)
                : skipValue(text, valueStart);
            if (valueEnd == npos)
                return std::nullopt;
            if (isChanges)
                list = std::pair(valueStart, valueEnd);
            at = skipSpace(text, valueEnd);
            if (at < text.size() && text[at] == ',') {
                at = skipSpace(text, at + 1);
                continue;
            }
            if (at >= text.size() || text[at] != '}')
                return std::nullopt;
            ++at;
            break;
        }
    }
    if (skipSpace(text, at) != text.size())
        return std::nullopt;
    if (!list || text[list->first] != '[') {
        split.changes.clear();
        split.rest = std::string(text);
        return split;
    }
    split.rest.reserve(text.size() - (list->second - list->first) + 2);
    split.rest.append(text.substr(0, list->first)).append("[]").append(text.substr(list->second));
    return split;
}

} // namespace

std::string ChangeBatch::fileName(const std::string& device, std::int64_t sequence, bool isSnapshot)
{
    return device + "-" + std::to_string(sequence) + std::string(isSnapshot ? snapshotExtension : batchExtension);
}

std::optional<ChangeBatch::Name> ChangeBatch::parseFileName(const std::string& fileName)
{
    std::string_view name(fileName);
    bool isSnapshot = name.ends_with(snapshotExtension);
    auto extension = isSnapshot ? snapshotExtension : batchExtension;
    if (name.size() <= extension.size() || !name.ends_with(extension))
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
    return Name {std::string(device), sequence, isSnapshot};
}

Foundation::Data ChangeBatch::encoded(const std::string& container, const std::string& account, const AssetNamer& namer,
                                      std::vector<Span>* spans) const
{
    auto version = snapshot ? snapshotFormatVersion : formatVersion;
    Foundation::JSONStreamWriter writer;
    writer.beginObject()
        .key("format").string(formatName)
        .key("version").integer(version)
        .key("container").string(container)
        .key("account").string(account)
        .key("device").string(device)
        .key("sequence").integer(sequence)
        .key("clock").integer(clock)
        .key("date").real(date.timeIntervalSinceReferenceDate());
    if (operationID)
        writer.key("operation").string(*operationID);
    if (snapshot) {
        writer.key("covers");
        snapshot->covers.encode(writer);
        writer.key("deletedZones").beginArray();
        for (const auto& deleted : snapshot->deletedZones) {
            writer.beginObject()
                .key("incarnation").string(deleted.incarnation)
                .key("zone").string(deleted.zoneID.zoneName().utf8())
                .key("owner").string(deleted.zoneID.ownerName().utf8())
                .key("batch").string(deleted.batch)
                .endObject();
        }
        writer.endArray().key("operations").beginArray();
        for (const auto& operation : snapshot->operationIDs)
            writer.string(operation);
        writer.endArray();
    }
    writer.key("changes").beginArray();
    if (spans)
        spans->clear();
    for (const auto& change : changes) {
        writer.beginObject();
        auto start = writer.text().size() - 1;
        writer.key("change").string(kindName(change.kind))
            .key("zone").string(change.zoneID.zoneName().utf8())
            .key("owner").string(change.zoneID.ownerName().utf8());
        if (change.kind != Change::Kind::deleteZone)
            writer.key("incarnation").string(change.incarnation);
        if (change.kind == Change::Kind::saveRecord || change.kind == Change::Kind::deleteRecord)
            writer.key("name").string(change.recordName).key("type").string(change.recordType);
        if (change.kind == Change::Kind::deleteRecord && change.deletedTag)
            writer.key("deletedTag").string(*change.deletedTag);
        if (change.kind == Change::Kind::saveRecord) {
            writer.key("replacesFields").boolean(change.replacesFields).key("fields").beginObject();
            for (const auto& [key, value] : change.fields) {
                writer.key(key);
                if (value)
                    RecordCoding::encode(writer, *value, namer);
                else
                    writer.null();
            }
            writer.endObject();
        }
        if (change.kept) {
            if (change.kind == Change::Kind::saveRecord) {
                writer.key("tag").string(change.kept->changeTag)
                    .key("created").real(change.kept->creationDate.timeIntervalSinceReferenceDate())
                    .key("modified").real(change.kept->modificationDate.timeIntervalSinceReferenceDate());
            }
            writer.key("batch").string(change.kept->batch);
        }
        writer.endObject();
        if (spans) {
            auto text = std::string_view(writer.text()).substr(start);
            spans->push_back({start, static_cast<std::uint32_t>(text.size()), digestOf(text)});
        }
    }
    writer.endArray().endObject();
    auto body = writer.take();
    auto head = envelopeHead(version) + checksum(body) + std::string(checksumEnd);
    if (spans) {
        for (auto& span : *spans)
            span.offset += head.size();
    }
    return Foundation::Data::fromString(head + body + "}");
}

std::uint64_t ChangeBatch::digestOf(std::string_view text)
{
    return std::hash<std::string_view> {}(text);
}

ChangeBatch::Change ChangeBatch::decodeChange(std::string_view text, const std::string& fileName, const AssetFinder& finder)
{
    auto document = Foundation::JSONDocument::tryParse(text);
    if (!document)
        throw damaged(fileName, "a change is malformed");
    return ::CloudKit::decodeChange(JSONView(*document), fileName, finder, Values::made);
}

ChangeBatch ChangeBatch::decode(const Foundation::Data& data, const std::string& fileName, const std::string& container,
                                const std::string& account, const AssetFinder& finder, Values values)
{
    std::string_view bytes(data.view());
    auto headVersion = formatVersion;
    auto head = envelopeHead(headVersion);
    if (!bytes.starts_with(head)) {
        headVersion = snapshotFormatVersion;
        head = envelopeHead(headVersion);
    }
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
    auto split = splitChanges(bytes);
    if (!split)
        throw damaged(fileName, "it is not a change batch");
    auto document = Foundation::JSONDocument::tryParse(split->rest);
    if (!document)
        throw damaged(fileName, "it is not a change batch");
    JSONView json(*document);
    auto format = json.find("format");
    if (!format || format->string() != formatName)
        throw damaged(fileName, "it is not a change batch");
    auto version = integer(json, "version", fileName);
    if (version > snapshotFormatVersion)
        throw CKError(CKError::Code::incompatibleVersion,
                      "The change batch " + fileName + " was written by a newer version (format " + std::to_string(version) + ")");
    if (version < 1)
        throw damaged(fileName, "its format is unknown");
    // Only the oldest format comes without a checksum; a checked one unwrapped is damage.
    if (checked != (version > uncheckedVersion))
        throw damaged(fileName, "its checksum is missing");
    if (checked && version != headVersion)
        throw damaged(fileName, "its envelope does not match its contents");
    if (text(json, "container", fileName) != container || text(json, "account", fileName) != account)
        throw CKError(CKError::Code::badContainer, "The change batch " + fileName + " belongs to another container or account");

    ChangeBatch batch;
    batch.device = text(json, "device", fileName);
    batch.sequence = integer(json, "sequence", fileName);
    batch.clock = integer(json, "clock", fileName);
    auto name = parseFileName(fileName);
    if (!name || name->device != batch.device || name->sequence != batch.sequence || batch.clock < 0
        || name->isSnapshot != (version == snapshotFormatVersion))
        throw damaged(fileName, "its name does not match its contents");
    auto date = member(json, "date", fileName).number();
    if (!date)
        throw damaged(fileName, "\"date\" is not a number");
    batch.date = Foundation::Date(*date);
    if (json.contains("operation"))
        batch.operationID = text(json, "operation", fileName);
    if (!member(json, "changes", fileName).isArray())
        throw damaged(fileName, "\"changes\" is not a list");
    if (name->isSnapshot)
        batch.snapshot = decodeSnapshot(json, fileName);
    // A snapshot holds every record: its changes are parsed and made on every core, a part at a time,
    // each part's text parsed as a list of its own.
    const auto& texts = split->changes;
    batch.changes.resize(texts.size());
    constexpr std::size_t changesPerPart = 256;
    std::vector<std::exception_ptr> failures((texts.size() + changesPerPart - 1) / changesPerPart);
    inParallel(failures.size(), [&](std::size_t part) {
        try {
            auto first = part * changesPerPart;
            auto last = std::min(texts.size(), first + changesPerPart) - 1;
            auto whole = std::string_view(texts[first].data(), texts[last].data() + texts[last].size() - texts[first].data());
            std::string list;
            list.reserve(whole.size() + 2);
            list.append("[").append(whole).append("]");
            auto parsed = Foundation::JSONDocument::tryParse(list);
            if (!parsed || JSONView(*parsed).size() != last - first + 1)
                throw damaged(fileName, "it is not a change batch");
            std::size_t index = first;
            for (auto view : JSONView(*parsed).elements()) {
                auto& change = batch.changes[index];
                change = ::CloudKit::decodeChange(view, fileName, finder, values);
                if (batch.snapshot)
                    decodeKept(view, change, fileName);
                if (values == Values::checked)
                    change.text = Span {static_cast<std::uint64_t>(texts[index].data() - data.view().data()),
                                        static_cast<std::uint32_t>(texts[index].size()), digestOf(texts[index])};
                ++index;
            }
        } catch (...) {
            failures[part] = std::current_exception();
        }
    });
    for (const auto& failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
    return batch;
}

} // namespace CloudKit
