#include "Shared/Transfer/JSONImportReader.hpp"

#include "Shared/Transfer/ImportFile.hpp"
#include "Shared/Transfer/ImportParts.hpp"
#include "Shared/Transfer/ImportValues.hpp"
#include "Shared/Transfer/ImportedEntryBuilder.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/JSONItemStream.hpp"
#include "Shared/Transfer/VaultDocument.hpp"

#include <cerrno>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <unistd.h>

namespace Shared {

namespace {

using F = ImporterFileFormat;
using Json = nlohmann::json;

// A value as text: strings as they are, numbers and Booleans as written, anything else empty.
std::string text(const Json& object, const char* key)
{
    if (!object.is_object())
        return {};
    auto found = object.find(key);
    if (found == object.end() || found->is_null())
        return {};
    if (found->is_string())
        return found->get<std::string>();
    if (found->is_number() || found->is_boolean())
        return found->dump();
    return {};
}

const Json& member(const Json& object, const char* key)
{
    static const Json null;
    if (!object.is_object())
        return null;
    auto found = object.find(key);
    return found == object.end() ? null : *found;
}

std::optional<Foundation::Date> dateOf(const Json& object, const char* key)
{
    return ImportValues::date(text(object, key));
}

bool flag(const Json& object, const char* key)
{
    const auto& value = member(object, key);
    return value.is_boolean() ? value.get<bool>() : ImportValues::isTrue(text(object, key));
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
    void make(const Json& item, Build build)
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
        } catch (const Json::exception&) {
            m_parts.addFailure(Foundation::String("Item " + std::to_string(m_number) + ": its data is not laid out as expected"));
        }
    }
    void addFailure(Foundation::String text) { m_parts.addFailure(std::move(text)); }
    void finish() { m_parts.finish(); }

private:
    static std::string title(const Json& item) { return text(item, "title").empty() ? text(item, "name") : text(item, "title"); }

    ImportParts m_parts;
    std::int64_t m_number = 0;
};

// A file whose items lie in the array at `path`: each item goes to `build` as it is read, with the
// document read so far (the members before the items).
template <class Build>
Json readItems(const Foundation::URL& fileURL, const JSONItemStream::Path& path, const ImportReadProgress& progress, ItemMaker& maker, Build build)
{
    checkSize(fileURL);
    auto take = [&](const Json& item, const std::vector<const Json*>& enclosing) {
        maker.make(item, [&](const Json& value) { return build(value, *enclosing.front()); });
    };
    auto document = JSONItemStream::readFile(fileURL, {path}, take, progress);
    progress(1);
    return document;
}

// MARK: - Bitwarden

std::optional<ImportedItem> bitwardenItem(const Json& item, const std::map<std::string, std::string>& folders)
{
    auto type = member(item, "type");
    ImportedEntryBuilder builder(F::bitwardenJSON, Entry::Category::login);
    int kind = type.is_number_integer() ? type.get<int>() : 1;
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
    const auto& login = member(item, "login");
    builder.setUsername(text(login, "username"));
    builder.setPassword(text(login, "password"));
    builder.setTOTP(text(login, "totp"));
    bool isFirstURI = true;
    for (const auto& uri : member(login, "uris")) {
        if (isFirstURI)
            builder.setWebsite(text(uri, "uri"));
        else
            builder.addField("Website", text(uri, "uri"), EntryFieldCategory::url);
        isFirstURI = false;
    }
    for (const char* group : {"card", "identity", "sshKey"}) {
        const auto& values = member(item, group);
        if (!values.is_object())
            continue;
        for (const auto& [key, value] : values.items()) {
            if (value.is_string())
                builder.addField(key, value.get<std::string>(), key == "number" ? std::optional(EntryFieldCategory::creditCardNumber) : std::nullopt);
        }
    }
    for (const auto& field : member(item, "fields")) {
        auto fieldType = member(field, "type");
        bool hidden = fieldType.is_number_integer() && fieldType.get<int>() == 1;
        builder.addField(text(field, "name"), text(field, "value"), hidden ? std::optional(EntryFieldCategory::password) : std::nullopt);
    }
    for (const auto& previous : member(item, "passwordHistory"))
        builder.addPreviousPassword(text(previous, "password"), dateOf(previous, "lastUsedDate"));
    return ImportedItem {builder.build(item.dump()), {}};
}

// Folders are listed before the items in the exports that have them.
std::map<std::string, std::string> folderNames(const Json& document, const char* idKey, const char* nameKey)
{
    std::map<std::string, std::string> folders;
    for (const auto& folder : member(document, "folders"))
        folders[text(folder, idKey)] = text(folder, nameKey);
    return folders;
}

void readBitwarden(const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    ItemMaker maker(deliver);
    std::optional<std::map<std::string, std::string>> folders;
    auto document = readItems(fileURL, {"items"}, progress, maker, [&](const Json& item, const Json& read) {
        if (flag(read, "encrypted"))
            throw ImporterError::encryptedExport();
        if (!folders)
            folders = folderNames(read, "id", "name");
        return bitwardenItem(item, *folders);
    });
    if (flag(document, "encrypted"))
        throw ImporterError::encryptedExport();
    if (!member(document, "items").is_array())
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
    if (value.is_object()) {
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
        if (value.size() == 1) {
            auto inner = value.begin();
            return addOnePasswordField(builder, title, inner.key(), inner.value(), name);
        }
        return;
    }
    std::string content = value.is_string() ? value.get<std::string>() : (value.is_number() ? value.dump() : "");
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
    for (const auto& field : member(details, is1PUX ? "loginFields" : "fields")) {
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
    for (const auto& section : member(details, "sections")) {
        for (const auto& field : member(section, "fields")) {
            if (is1PUX)
                addOnePasswordField(builder, text(field, "title"), "", member(field, "value"), text(field, "id"));
            else
                addOnePasswordField(builder, text(field, "t"), text(field, "k"), member(field, "v"), text(field, "n"));
        }
    }
    for (const auto& previous : member(details, "passwordHistory"))
        builder.addPreviousPassword(text(previous, "value"), dateOf(previous, "time"));
}

std::optional<ImportedItem> onePIFItem(const Json& item)
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
    builder.setFavorite(member(item, "faveIndex").is_number());
    for (const auto& tag : member(member(item, "openContents"), "tags"))
        builder.addTag(tag.is_string() ? tag.get<std::string>() : "");
    const auto& contents = member(item, "secureContents");
    addOnePasswordDetails(builder, contents, false);
    bool isFirstURL = builder.entry().website.isEmpty();
    for (const auto& url : member(contents, "URLs")) {
        if (isFirstURL)
            builder.setWebsite(text(url, "url"));
        else if (text(url, "url") != builder.entry().website.utf8())
            builder.addField(text(url, "label"), text(url, "url"), EntryFieldCategory::url);
        isFirstURL = false;
    }
    return ImportedItem {builder.build(item.dump()), {}};
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
        auto got = ::read(descriptor, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
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
        Json record;
        try {
            record = JSONItemStream::parse(line);
        } catch (const ImporterError&) {
        }
        if (!record.is_object())
            maker.addFailure("A record is not valid JSON and was left out");
        else
            maker.make(record, onePIFItem);
    });
    if (records == 0)
        throw ImporterError::invalidFile("it holds no 1PIF records");
    progress(1);
    maker.finish();
}

// MARK: - Enpass and Keeper

std::optional<ImportedItem> enpassItem(const Json& item, const std::map<std::string, std::string>& folders)
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
    for (const auto& folder : member(item, "folders")) {
        auto found = folders.find(folder.is_string() ? folder.get<std::string>() : "");
        if (found != folders.end())
            builder.addTag(found->second);
    }
    for (const auto& field : member(item, "fields")) {
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
    return ImportedItem {builder.build(item.dump()), {}};
}

std::optional<ImportedItem> keeperItem(const Json& item)
{
    ImportedEntryBuilder builder(F::keeperJSON, Entry::Category::login);
    builder.setSourceIdentifier(text(item, "uid"));
    builder.setTitle(text(item, "title"));
    builder.setUsername(text(item, "login"));
    builder.setPassword(text(item, "password"));
    builder.setWebsite(text(item, "login_url"));
    builder.setNotes(text(item, "notes"));
    for (const auto& folder : member(item, "folders")) {
        auto name = text(folder, "folder");
        builder.addTag(ImportValues::lastGroupComponent(name.empty() ? text(folder, "shared_folder") : name, '\\'));
    }
    const auto& custom = member(item, "custom_fields");
    if (custom.is_object()) {
        for (const auto& [key, value] : custom.items()) {
            std::string content = value.is_string() ? value.get<std::string>() : value.dump();
            if (key == "$oneTimeCode" || key == "TFC:Keeper")
                builder.setTOTP(content);
            else
                builder.addField(key, content);
        }
    }
    if (!builder.hasLoginValues())
        builder.setCategory(Entry::Category::secureNote);
    return ImportedItem {builder.build(item.dump()), {}};
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
        auto document = readItems(fileURL, {"items"}, progress, maker, [&](const Json& item, const Json& read) {
            if (!folders)
                folders = folderNames(read, "uuid", "title");
            return enpassItem(item, *folders);
        });
        if (!member(document, "items").is_array())
            throw ImporterError::invalidFile("it is not an Enpass JSON export");
        return maker.finish();
    }
    case F::keeperJSON: {
        ItemMaker maker(deliver);
        auto document = readItems(fileURL, {"records"}, progress, maker, [&](const Json& item, const Json&) { return keeperItem(item); });
        if (!member(document, "records").is_array())
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
    auto build = [&](const Json& item) -> std::optional<ImportedItem> {
        if (text(item, "state") == "deleted" || text(item, "trashed") == "true")
            return std::nullopt;
        ImportedEntryBuilder builder(F::onePassword1PUX, onePasswordCategory(text(item, "categoryUuid")));
        const auto& overview = member(item, "overview");
        const auto& details = member(item, "details");
        builder.setSourceIdentifier(text(item, "uuid"));
        builder.setTitle(text(overview, "title"));
        builder.setWebsite(text(overview, "url"));
        builder.setCreatedAt(dateOf(item, "createdAt"));
        builder.setModifiedAt(dateOf(item, "updatedAt"));
        builder.setFavorite(member(item, "favIndex").is_number() && member(item, "favIndex").get<double>() > 0);
        builder.setArchived(text(item, "state") == "archived");
        for (const auto& tag : member(overview, "tags"))
            builder.addTag(tag.is_string() ? tag.get<std::string>() : "");
        addOnePasswordDetails(builder, details, true);
        for (const auto& url : member(overview, "urls")) {
            if (text(url, "url") != builder.entry().website.utf8())
                builder.addField(text(url, "label"), text(url, "url"), EntryFieldCategory::url);
        }
        ImportedItem imported;
        const auto& document = member(details, "documentAttributes");
        if (document.is_object() && fileNamed) {
            if (auto file = fileNamed(text(document, "documentId"), text(document, "fileName"))) {
                auto attachmentID = ImportedEntryBuilder::stableIdentifier(F::onePassword1PUX, "document:" + text(document, "documentId"));
                builder.addAttachmentField(text(document, "fileName"), attachmentID);
                imported.attachments.push_back({attachmentID, *file});
            }
        }
        imported.entry = builder.build(item.dump());
        return imported;
    };
    auto document = JSONItemStream::readFile(
        dataURL, {{"accounts", "*", "vaults", "*", "items"}}, [&](const Json& item, const std::vector<const Json*>&) { maker.make(item, build); }, progress);
    if (!member(document, "accounts").is_array())
        throw ImporterError::invalidFile("its export.data is not a 1PUX document");
    progress(1);
    maker.finish();
}

} // namespace Shared
