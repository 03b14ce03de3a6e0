#include "Shared/Transfer/JSONImportReader.hpp"

#include "Shared/Transfer/ImportFile.hpp"
#include "Shared/Transfer/ImportParts.hpp"
#include "Shared/Transfer/ImportValues.hpp"
#include "Shared/Transfer/ImportedEntryBuilder.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/JSONItemStream.hpp"
#include "Shared/Transfer/VaultDocument.hpp"

#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/JSONWriter.hpp"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <unistd.h>
#include <utility>

namespace Shared {

namespace {

using F = ImporterFileFormat;
using View = Foundation::JSONView;
// A value of an export, or nothing where a member is not there.
using Json = std::optional<View>;

Json member(const Json& object, std::string_view key)
{
    return object ? object->find(key) : std::nullopt;
}

bool isObject(const Json& value)
{
    return value && value->isObject();
}

bool isArray(const Json& value)
{
    return value && value->isArray();
}

bool isNumber(const Json& value)
{
    return value && value->isNumber();
}

// A string's text; empty for anything else.
std::string_view stringOf(const Json& value)
{
    return value ? value->string().value_or(std::string_view()) : std::string_view();
}

// An integer as the exports write one (no fraction, no exponent), as an int: only its low bits when it
// is larger.
std::optional<int> integer(const Json& value)
{
    if (!value)
        return std::nullopt;
    if (auto number = value->int64())
        return static_cast<int>(*number);
    if (auto number = value->uint64())
        return static_cast<int>(*number);
    return std::nullopt;
}

// An object's members in the order of their keys' bytes.
std::vector<View::Member> sortedMembers(const View& object)
{
    std::vector<View::Member> members(object.members().begin(), object.members().end());
    std::sort(members.begin(), members.end(), [](const auto& lhs, const auto& rhs) { return lhs.key < rhs.key; });
    return members;
}

// What a list in an export holds: an array's elements, an object's members, a single value as itself;
// nothing for null or what is not there.
std::vector<View> listed(const Json& value)
{
    std::vector<View> values;
    if (!value || value->isNull())
        return values;
    if (value->isArray()) {
        values.assign(value->elements().begin(), value->elements().end());
    } else if (value->isObject()) {
        for (const auto& member : sortedMembers(*value))
            values.push_back(member.value);
    } else {
        values.push_back(*value);
    }
    return values;
}

// A value in the compact form that identifies an item without an identifier of its own: members in
// the order of their keys' bytes, a number written with a fraction or an exponent as a real ("100.0"
// for 1e2), "/" unescaped. Importing a file again finds the same items only while this form stays.
void appendCompact(std::string& out, const View& value)
{
    switch (value.kind()) {
    case View::Kind::null:
        out += "null";
        return;
    case View::Kind::boolean:
        out += *value.boolean() ? "true" : "false";
        return;
    case View::Kind::integer:
    case View::Kind::unsignedInteger:
    case View::Kind::real:
        if (auto number = value.int64())
            out += std::to_string(*number);
        else if (auto number = value.uint64())
            out += std::to_string(*number);
        else
            // "-0.0" is kept as the whole number 0: its sign is in the text.
            Foundation::JSONStreamWriter::appendReal(out, *value.number() == 0 && value.document().value(value.index()).text.starts_with('-') ? -0.0 : *value.number());
        return;
    case View::Kind::string:
        Foundation::JSONWriter::appendString(out, *value.string(), false);
        return;
    case View::Kind::array: {
        out += '[';
        bool first = true;
        for (const auto& element : value.elements()) {
            if (!std::exchange(first, false))
                out += ',';
            appendCompact(out, element);
        }
        out += ']';
        return;
    }
    case View::Kind::object: {
        out += '{';
        bool first = true;
        for (const auto& [key, member] : sortedMembers(value)) {
            if (!std::exchange(first, false))
                out += ',';
            Foundation::JSONWriter::appendString(out, key, false);
            out += ':';
            appendCompact(out, member);
        }
        out += '}';
        return;
    }
    }
}

std::string compact(const View& value)
{
    std::string out;
    appendCompact(out, value);
    return out;
}

// A value as text: strings as they are, numbers and Booleans as written compactly, anything else empty.
std::string text(const Json& value)
{
    if (!value)
        return {};
    if (value->isString())
        return std::string(*value->string());
    if (value->isNumber() || value->isBool())
        return compact(*value);
    return {};
}

std::string text(const Json& object, const char* key)
{
    return text(member(object, key));
}

std::optional<Foundation::Date> dateOf(const Json& object, const char* key)
{
    return ImportValues::date(text(object, key));
}

bool flag(const Json& object, const char* key)
{
    const auto value = member(object, key);
    return value && value->isBool() ? *value->boolean() : ImportValues::isTrue(text(value));
}

// The item, with an identifier made of its content when the export gave it none.
ImportedItem built(ImportedEntryBuilder& builder, const View& item)
{
    return ImportedItem {builder.build(builder.hasSourceIdentifier() ? std::string() : compact(item)), {}};
}

// A file must fit the limit, though it is no longer read whole.
void checkSize(const Foundation::URL& fileURL)
{
    std::error_code error;
    auto size = std::filesystem::file_size(fileURL.path().utf8(), error);
    if (!error && size > static_cast<std::uintmax_t>(JSONImportReader::maximumFileSize))
        throw ImporterError::fileTooLarge(JSONImportReader::maximumFileSize);
}

Foundation::String failure(std::int64_t number, const std::string& title, const Foundation::Error& error)
{
    return Foundation::String("Item " + std::to_string(number) + (title.empty() ? "" : " (" + title.substr(0, 80) + ")") + ": " + error.description());
}

// Makes items of the file's items one at a time as they are read, each that cannot be one becoming a
// failure text, and hands them on a part at a time.
class ItemMaker {
public:
    explicit ItemMaker(const ImportReadDelivery& deliver)
        : m_parts(deliver)
    {
    }

    template <class Build>
    void make(const View& item, Build build)
    {
        ++m_number;
        try {
            if (auto built = build(item))
                m_parts.add(std::move(*built));
        } catch (const ImporterError& error) {
            if (error.is<ImporterError::Cancelled>())
                throw;
            m_parts.addFailure(failure(m_number, title(item), error));
        } catch (const Foundation::Error& error) {
            m_parts.addFailure(failure(m_number, title(item), error));
        }
    }
    void addFailure(Foundation::String text) { m_parts.addFailure(std::move(text)); }
    void finish() { m_parts.finish(); }

private:
    static std::string title(const View& item) { return text(item, "title").empty() ? text(item, "name") : text(item, "title"); }

    ImportParts m_parts;
    std::int64_t m_number = 0;
};

// A file whose items lie in the array at `path`: each item goes to `build` as it is read, with the
// document read so far (the members before the items).
template <class Build>
std::unique_ptr<const JSONItemStream::Parsed> readItems(const Foundation::URL& fileURL, const JSONItemStream::Path& path, const ImportReadProgress& progress,
                                                        ItemMaker& maker, Build build)
{
    checkSize(fileURL);
    auto take = [&](const Foundation::JSONDocument& item, const Foundation::JSONDocument& read) {
        maker.make(View(item), [&](const View& value) { return build(value, View(read)); });
    };
    auto document = JSONItemStream::readFile(fileURL, {path}, take, progress);
    progress(1);
    return document;
}

// MARK: - Bitwarden

std::optional<ImportedItem> bitwardenItem(const View& item, const std::map<std::string, std::string>& folders)
{
    auto type = integer(member(item, "type"));
    ImportedEntryBuilder builder(F::bitwardenJSON, Entry::Category::login);
    int kind = type.value_or(1);
    if (kind == 2)
        builder.setCategory(Entry::Category::secureNote);
    else if (kind == 3)
        builder.setCategory(Entry::Category::creditCard);
    else if (kind == 4)
        builder.setCategory(Entry::Category::identity);
    else if (kind != 1)
        builder.setCategory(Entry::Category::other);
    builder.setSourceIdentifier(text(item, "id"));
    builder.setTitle(text(item, "name"));
    builder.setNotes(text(item, "notes"));
    builder.setFavorite(flag(item, "favorite"));
    builder.setCreatedAt(dateOf(item, "creationDate"));
    builder.setModifiedAt(dateOf(item, "revisionDate"));
    auto folder = folders.find(text(item, "folderId"));
    if (folder != folders.end())
        builder.addTag(folder->second);
    const auto login = member(item, "login");
    builder.setUsername(text(login, "username"));
    builder.setPassword(text(login, "password"));
    builder.setTOTP(text(login, "totp"));
    bool isFirstURI = true;
    for (const auto& uri : listed(member(login, "uris"))) {
        if (isFirstURI)
            builder.setWebsite(text(uri, "uri"));
        else
            builder.addField("Website", text(uri, "uri"), EntryFieldCategory::url);
        isFirstURI = false;
    }
    for (const char* group : {"card", "identity", "sshKey"}) {
        const auto values = member(item, group);
        if (!isObject(values))
            continue;
        for (const auto& [key, value] : sortedMembers(*values)) {
            if (value.isString())
                builder.addField(key, *value.string(), key == "number" ? std::optional(EntryFieldCategory::creditCardNumber) : std::nullopt);
        }
    }
    for (const auto& field : listed(member(item, "fields"))) {
        auto fieldType = integer(member(field, "type"));
        bool hidden = fieldType == 1;
        builder.addField(text(field, "name"), text(field, "value"), hidden ? std::optional(EntryFieldCategory::password) : std::nullopt);
    }
    for (const auto& previous : listed(member(item, "passwordHistory")))
        builder.addPreviousPassword(text(previous, "password"), dateOf(previous, "lastUsedDate"));
    return built(builder, item);
}

// Folders are listed before the items in the exports that have them.
std::map<std::string, std::string> folderNames(const Json& document, const char* idKey, const char* nameKey)
{
    std::map<std::string, std::string> folders;
    for (const auto& folder : listed(member(document, "folders")))
        folders[text(folder, idKey)] = text(folder, nameKey);
    return folders;
}

void readBitwarden(const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    ItemMaker maker(deliver);
    std::optional<std::map<std::string, std::string>> folders;
    auto document = readItems(fileURL, {"items"}, progress, maker, [&](const View& item, const View& read) {
        if (flag(read, "encrypted"))
            throw ImporterError::encryptedExport();
        if (!folders)
            folders = folderNames(read, "id", "name");
        return bitwardenItem(item, *folders);
    });
    if (flag(View(document->document()), "encrypted"))
        throw ImporterError::encryptedExport();
    if (!isArray(View(document->document()).find("items")))
        throw ImporterError::invalidFile("it is not a Bitwarden JSON export");
    maker.finish();
}

// MARK: - 1Password

Entry::Category onePasswordCategory(const std::string& typeName)
{
    static const std::pair<const char*, Entry::Category> categories[] = {
        {"webforms.WebForm", Entry::Category::login}, {"passwords.Password", Entry::Category::password},
        {"securenotes.SecureNote", Entry::Category::secureNote}, {"wallet.financial.CreditCard", Entry::Category::creditCard},
        {"wallet.financial.BankAccountUS", Entry::Category::bankAccount}, {"identities.Identity", Entry::Category::identity},
        {"wallet.government.Passport", Entry::Category::passport}, {"wallet.government.DriversLicense", Entry::Category::driversLicense},
        {"wallet.computer.License", Entry::Category::softwareLicense}, {"wallet.computer.Router", Entry::Category::wirelessNetwork},
        {"wallet.computer.UnixServer", Entry::Category::server}, {"wallet.membership.RewardProgram", Entry::Category::rewardsProgram},
        // 1PUX names its categories by number.
        {"001", Entry::Category::login}, {"002", Entry::Category::creditCard}, {"003", Entry::Category::secureNote},
        {"004", Entry::Category::identity}, {"005", Entry::Category::password}, {"100", Entry::Category::softwareLicense},
        {"101", Entry::Category::bankAccount}, {"103", Entry::Category::driversLicense}, {"106", Entry::Category::passport},
        {"107", Entry::Category::rewardsProgram}, {"109", Entry::Category::wirelessNetwork}, {"110", Entry::Category::server},
    };
    for (const auto& [name, category] : categories) {
        if (typeName == name)
            return category;
    }
    return Entry::Category::other;
}

// A section field's value: 1PIF keeps it in "v", 1PUX in an object keyed by its kind.
void addOnePasswordField(ImportedEntryBuilder& builder, const std::string& title, const std::string& kind, const Json& value, const std::string& name)
{
    if (isObject(value)) {
        if (kind == "address") {
            std::string joined;
            for (const char* part : {"street", "city", "state", "zip", "country"}) {
                auto piece = text(value, part);
                if (!piece.empty())
                    joined += (joined.empty() ? "" : "\n") + piece;
            }
            return builder.addField(title, joined, EntryFieldCategory::address);
        }
        if (kind == "email")
            return builder.addField(title, text(value, "email_address"), EntryFieldCategory::email);
        if (value->size() == 1) {
            auto inner = *value->members().begin();
            return addOnePasswordField(builder, title, std::string(inner.key), inner.value, name);
        }
        return;
    }
    std::string content = value && (value->isString() || value->isNumber()) ? text(value) : "";
    if (content.empty())
        return;
    if (kind == "totp" || name.rfind("TOTP_", 0) == 0) {
        if (builder.entry().totpSecretKey.isEmpty())
            return builder.setTOTP(content);
        return builder.addField(title, content, EntryFieldCategory::oneTimePassword);
    }
    if (kind == "concealed")
        return builder.addField(title, content, EntryFieldCategory::password);
    if (kind == "creditCardNumber")
        return builder.addField(title, content, EntryFieldCategory::creditCardNumber);
    if (kind == "phone")
        return builder.addField(title, content, EntryFieldCategory::phone);
    if (kind == "url" || kind == "URL")
        return builder.addField(title, content, EntryFieldCategory::url);
    if (kind == "email")
        return builder.addField(title, content, EntryFieldCategory::email);
    builder.addField(title, content);
}

void addOnePasswordDetails(ImportedEntryBuilder& builder, const Json& details, bool is1PUX)
{
    for (const auto& field : listed(member(details, is1PUX ? "loginFields" : "fields"))) {
        auto designation = text(field, "designation");
        if (designation == "username")
            builder.setUsername(text(field, "value"));
        else if (designation == "password")
            builder.setPassword(text(field, "value"));
        else if (!text(field, "value").empty() && text(field, "type") != "B" && text(field, "type") != "I")
            builder.addField(text(field, "name"), text(field, "value"));
    }
    if (builder.entry().password.isEmpty())
        builder.setPassword(text(details, "password"));
    builder.setNotes(text(details, "notesPlain"));
    for (const auto& section : listed(member(details, "sections"))) {
        for (const auto& field : listed(member(section, "fields"))) {
            if (is1PUX)
                addOnePasswordField(builder, text(field, "title"), "", member(field, "value"), text(field, "id"));
            else
                addOnePasswordField(builder, text(field, "t"), text(field, "k"), member(field, "v"), text(field, "n"));
        }
    }
    for (const auto& previous : listed(member(details, "passwordHistory")))
        builder.addPreviousPassword(text(previous, "value"), dateOf(previous, "time"));
}

std::optional<ImportedItem> onePIFItem(const View& item)
{
    auto typeName = text(item, "typeName");
    if (typeName.rfind("system.", 0) == 0 || flag(item, "trashed"))
        return std::nullopt;
    ImportedEntryBuilder builder(F::onePassword1PIF, onePasswordCategory(typeName));
    builder.setSourceIdentifier(text(item, "uuid"));
    builder.setTitle(text(item, "title"));
    builder.setWebsite(text(item, "location"));
    builder.setCreatedAt(dateOf(item, "createdAt"));
    builder.setModifiedAt(dateOf(item, "updatedAt"));
    builder.setFavorite(isNumber(member(item, "faveIndex")));
    for (const auto& tag : listed(member(member(item, "openContents"), "tags")))
        builder.addTag(stringOf(tag));
    const auto contents = member(item, "secureContents");
    addOnePasswordDetails(builder, contents, false);
    bool isFirstURL = builder.entry().website.isEmpty();
    for (const auto& url : listed(member(contents, "URLs"))) {
        if (isFirstURL)
            builder.setWebsite(text(url, "url"));
        else if (text(url, "url") != builder.entry().website.utf8())
            builder.addField(text(url, "label"), text(url, "url"), EntryFieldCategory::url);
        isFirstURL = false;
    }
    return built(builder, item);
}

// Each line of a file, none longer than a value may be.
template <class Handle>
void forEachLine(const Foundation::URL& fileURL, const ImportReadProgress& progress, Handle handle)
{
    std::uint64_t size = 0;
    const auto file = ImportFile::open(fileURL, &size);
    const int descriptor = file.get();
    std::string line;
    std::vector<char> block(64 * 1024);
    std::uint64_t read = 0;
    while (true) {
        auto got = Foundation::FileIO::readSome(descriptor, block.data(), block.size());
        if (got < 0)
            throw ImporterError::invalidFile("reading it failed (error " + std::to_string(errno) + ")");
        if (got == 0)
            break;
        read += static_cast<std::uint64_t>(got);
        std::string_view rest(block.data(), static_cast<std::size_t>(got));
        while (!rest.empty()) {
            auto end = rest.find('\n');
            line.append(rest.substr(0, end));
            if (line.size() > JSONItemStream::maximumTokenByteCount)
                throw ImporterError::invalidFile("a line of it is longer than " + std::to_string(JSONItemStream::maximumTokenByteCount / (1024 * 1024)) + " MB");
            if (end == std::string_view::npos)
                break;
            handle(std::string_view(line));
            line.clear();
            rest.remove_prefix(end + 1);
        }
        if (size > 0)
            progress(std::min(1.0, static_cast<double>(read) / static_cast<double>(size)));
    }
    if (!line.empty())
        handle(std::string_view(line));
}

// 1PIF is one JSON record a line, between separator lines; lines are read one at a time.
void read1PIF(const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    checkSize(fileURL);
    ItemMaker maker(deliver);
    std::int64_t records = 0;
    forEachLine(fileURL, progress, [&](std::string_view line) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.rfind("***", 0) == 0)
            return;
        ++records;
        std::unique_ptr<const JSONItemStream::Parsed> record;
        try {
            record = JSONItemStream::parse(line);
        } catch (const ImporterError&) {
        }
        if (!record || !View(record->document()).isObject())
            maker.addFailure("A record is not valid JSON and was left out");
        else
            maker.make(View(record->document()), onePIFItem);
    });
    if (records == 0)
        throw ImporterError::invalidFile("it holds no 1PIF records");
    progress(1);
    maker.finish();
}

// MARK: - Enpass and Keeper

std::optional<ImportedItem> enpassItem(const View& item, const std::map<std::string, std::string>& folders)
{
    if (flag(item, "trashed"))
        return std::nullopt;
    auto category = text(item, "category");
    static const std::pair<const char*, Entry::Category> categories[] = {
        {"login", Entry::Category::login}, {"password", Entry::Category::password}, {"note", Entry::Category::secureNote},
        {"creditcard", Entry::Category::creditCard}, {"finance", Entry::Category::bankAccount}, {"identity", Entry::Category::identity},
        {"license", Entry::Category::softwareLicense}, {"computer", Entry::Category::server}, {"travel", Entry::Category::passport},
    };
    auto kind = Entry::Category::other;
    for (const auto& [name, value] : categories) {
        if (category == name)
            kind = value;
    }
    ImportedEntryBuilder builder(F::enpassJSON, kind);
    builder.setSourceIdentifier(text(item, "uuid"));
    builder.setTitle(text(item, "title"));
    builder.setNotes(text(item, "note"));
    builder.setFavorite(flag(item, "favorite"));
    builder.setArchived(flag(item, "archived"));
    builder.setCreatedAt(dateOf(item, "createdAt"));
    builder.setModifiedAt(dateOf(item, "updated_at"));
    for (const auto& folder : listed(member(item, "folders"))) {
        auto found = folders.find(std::string(stringOf(folder)));
        if (found != folders.end())
            builder.addTag(found->second);
    }
    for (const auto& field : listed(member(item, "fields"))) {
        if (flag(field, "deleted"))
            continue;
        auto type = text(field, "type");
        auto value = text(field, "value");
        if ((type == "username" || type == "email") && builder.entry().username.isEmpty() && !value.empty())
            builder.setUsername(value);
        else if (type == "password" && builder.entry().password.isEmpty())
            builder.setPassword(value);
        else if (type == "url" && builder.entry().website.isEmpty())
            builder.setWebsite(value);
        else if (type == "totp" && builder.entry().totpSecretKey.isEmpty())
            builder.setTOTP(value);
        else if (type == "section")
            continue;
        else
            builder.addField(text(field, "label"), value,
                             flag(field, "sensitive") ? std::optional(EntryFieldCategory::password)
                                 : type == "ccNumber" ? std::optional(EntryFieldCategory::creditCardNumber)
                                                      : std::nullopt);
    }
    return built(builder, item);
}

std::optional<ImportedItem> keeperItem(const View& item)
{
    ImportedEntryBuilder builder(F::keeperJSON, Entry::Category::login);
    builder.setSourceIdentifier(text(item, "uid"));
    builder.setTitle(text(item, "title"));
    builder.setUsername(text(item, "login"));
    builder.setPassword(text(item, "password"));
    builder.setWebsite(text(item, "login_url"));
    builder.setNotes(text(item, "notes"));
    for (const auto& folder : listed(member(item, "folders"))) {
        auto name = text(folder, "folder");
        builder.addTag(ImportValues::lastGroupComponent(name.empty() ? text(folder, "shared_folder") : name, '\\'));
    }
    const auto custom = member(item, "custom_fields");
    if (isObject(custom)) {
        for (const auto& [key, value] : sortedMembers(*custom)) {
            std::string content = value.isString() ? std::string(*value.string()) : compact(value);
            if (key == "$oneTimeCode" || key == "TFC:Keeper")
                builder.setTOTP(content);
            else
                builder.addField(key, content);
        }
    }
    if (!builder.hasLoginValues())
        builder.setCategory(Entry::Category::secureNote);
    return built(builder, item);
}

} // namespace

bool JSONImportReader::isJSON(ImporterFileFormat format)
{
    return format == F::bitwardenJSON || format == F::onePassword1PIF || format == F::enpassJSON || format == F::keeperJSON
        || format == F::corvendaleJSON;
}

void JSONImportReader::read(ImporterFileFormat format, const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    switch (format) {
    case F::bitwardenJSON:
        return readBitwarden(fileURL, progress, deliver);
    case F::onePassword1PIF:
        return read1PIF(fileURL, progress, deliver);
    case F::corvendaleJSON:
        checkSize(fileURL);
        return VaultDocument::readJSON(fileURL, progress, deliver);
    case F::enpassJSON: {
        ItemMaker maker(deliver);
        std::optional<std::map<std::string, std::string>> folders;
        auto document = readItems(fileURL, {"items"}, progress, maker, [&](const View& item, const View& read) {
            if (!folders)
                folders = folderNames(read, "uuid", "title");
            return enpassItem(item, *folders);
        });
        if (!isArray(View(document->document()).find("items")))
            throw ImporterError::invalidFile("it is not an Enpass JSON export");
        return maker.finish();
    }
    case F::keeperJSON: {
        ItemMaker maker(deliver);
        auto document = readItems(fileURL, {"records"}, progress, maker, [&](const View& item, const View&) { return keeperItem(item); });
        if (!isArray(View(document->document()).find("records")))
            throw ImporterError::invalidFile("it is not a Keeper JSON export");
        return maker.finish();
    }
    default:
        throw ImporterError::invalidFile("the format is not a JSON format");
    }
}

void JSONImportReader::read1PUXData(const Foundation::URL& dataURL,
                                    const std::function<std::optional<Foundation::URL>(std::string_view, std::string_view)>& fileNamed,
                                    const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    ItemMaker maker(deliver);
    auto build = [&](const View& item) -> std::optional<ImportedItem> {
        if (text(item, "state") == "deleted" || text(item, "trashed") == "true")
            return std::nullopt;
        ImportedEntryBuilder builder(F::onePassword1PUX, onePasswordCategory(text(item, "categoryUuid")));
        const auto overview = member(item, "overview");
        const auto details = member(item, "details");
        builder.setSourceIdentifier(text(item, "uuid"));
        builder.setTitle(text(overview, "title"));
        builder.setWebsite(text(overview, "url"));
        builder.setCreatedAt(dateOf(item, "createdAt"));
        builder.setModifiedAt(dateOf(item, "updatedAt"));
        builder.setFavorite(isNumber(member(item, "favIndex")) && *member(item, "favIndex")->number() > 0);
        builder.setArchived(text(item, "state") == "archived");
        for (const auto& tag : listed(member(overview, "tags")))
            builder.addTag(stringOf(tag));
        addOnePasswordDetails(builder, details, true);
        for (const auto& url : listed(member(overview, "urls"))) {
            if (text(url, "url") != builder.entry().website.utf8())
                builder.addField(text(url, "label"), text(url, "url"), EntryFieldCategory::url);
        }
        ImportedItem imported;
        const auto document = member(details, "documentAttributes");
        if (isObject(document) && fileNamed) {
            if (auto file = fileNamed(text(document, "documentId"), text(document, "fileName"))) {
                auto attachmentID = ImportedEntryBuilder::stableIdentifier(F::onePassword1PUX, "document:" + text(document, "documentId"));
                builder.addAttachmentField(text(document, "fileName"), attachmentID);
                imported.attachments.push_back({attachmentID, *file});
            }
        }
        imported.entry = built(builder, item).entry;
        return imported;
    };
    auto document = JSONItemStream::readFile(
        dataURL, {{"accounts", "*", "vaults", "*", "items"}}, [&](const Foundation::JSONDocument& item, const Foundation::JSONDocument&) { maker.make(View(item), build); }, progress);
    if (!isArray(View(document->document()).find("accounts")))
        throw ImporterError::invalidFile("its export.data is not a 1PUX document");
    progress(1);
    maker.finish();
}

} // namespace Shared
