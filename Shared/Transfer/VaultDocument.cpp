#include "Shared/Transfer/VaultDocument.hpp"

#include "Shared/Transfer/CSVImportReader.hpp"
#include "Shared/Transfer/ImportParts.hpp"
#include "Shared/Transfer/ImportedEntryBuilder.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/JSONItemStream.hpp"

#include "Basalwork/Base/JSONCoder.hpp"
#include "Basalwork/Base/StoreKeyError.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/JSONWriter.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace Shared {

namespace {

constexpr const char* formatName = "Corvendale";

const char* const columnLabels[] = {
    "id", "category", "title", "username", "password", "totpSecretKey", "website", "notes", "tags", "isFavorite", "isArchived",
    "isSafeForInspection", "showsEmptyLoginFields", "createdAt", "modifiedAt", "trashedAt", "serviceIdentifiers", "sections",
    "passwordHistory", "totpSecretKeyHistory", "subtitleSource",
};

Foundation::String dateText(Foundation::Date date)
{
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, date.timeIntervalSinceReferenceDate());
    (void)error;
    return Foundation::String(std::string_view(text, static_cast<std::size_t>(end - text)));
}

std::optional<Foundation::Date> parsedDate(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    double seconds = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size())
        throw ImporterError::invalidFile("a date is not a number of seconds");
    return Foundation::Date(seconds);
}

// An item and its parts as JSON, written straight into the text: the bytes the coder writes for them
// (keys in their coding order, slashes escaped, dates as seconds since 2001) without a tree of values
// in between. A date that is not a finite number cannot be written: such an item goes through the
// coder, which refuses it.
class ItemJSON {
public:
    explicit ItemJSON(std::string& out)
        : m_out(out)
    {
    }

    static bool canWrite(const Entry& entry)
    {
        auto finite = [](Foundation::Date date) { return std::isfinite(date.timeIntervalSinceReferenceDate()); };
        auto finiteHistory = [&](const std::vector<EntryPreviousValue>& history) {
            return std::all_of(history.begin(), history.end(), [&](const EntryPreviousValue& value) { return finite(value.replacedAt); });
        };
        return finite(entry.createdAt) && finite(entry.modifiedAt) && (!entry.trashedAt || finite(*entry.trashedAt))
            && finiteHistory(entry.passwordHistory) && finiteHistory(entry.totpSecretKeyHistory)
            && std::all_of(entry.serviceIdentifiers.begin(), entry.serviceIdentifiers.end(),
                           [&](const EntryServiceIdentifier& identifier) { return !identifier.lastUsedAt || finite(*identifier.lastUsedAt); })
            && std::all_of(entry.sections.begin(), entry.sections.end(), [&](const EntrySection& section) {
                   return std::all_of(section.fields.begin(), section.fields.end(), [&](const EntryField& field) { return finiteHistory(field.history); });
               });
    }

    void write(const Entry& entry)
    {
        m_out += '{';
        member("id", entry.id);
        member("category", Foundation::rawValue(entry.category));
        member("title", entry.title);
        member("username", entry.username);
        member("password", entry.password);
        member("totpSecretKey", entry.totpSecretKey);
        member("website", entry.website);
        member("notes", entry.notes);
        member("tags", entry.tags);
        member("serviceIdentifiers", entry.serviceIdentifiers);
        member("sections", entry.sections);
        member("passwordHistory", entry.passwordHistory);
        member("totpSecretKeyHistory", entry.totpSecretKeyHistory);
        if (entry.subtitleSource)
            member("subtitleSource", *entry.subtitleSource);
        member("isFavorite", entry.isFavorite);
        member("isArchived", entry.isArchived);
        member("isSafeForInspection", entry.isSafeForInspection);
        member("showsEmptyLoginFields", entry.showsEmptyLoginFields);
        if (entry.trashedAt)
            member("trashedAt", *entry.trashedAt);
        member("createdAt", entry.createdAt);
        member("modifiedAt", entry.modifiedAt);
        end();
    }

    void write(const Foundation::String& text) { string(text.view()); }
    void write(bool value) { m_out += value ? "true" : "false"; }
    void write(std::int64_t value)
    {
        char buffer[24];
        m_out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    }
    void write(Foundation::Date date) { Foundation::JSONWriter::appendNumber(m_out, date.timeIntervalSinceReferenceDate()); }
    void write(const EntryPreviousValue& value)
    {
        m_out += '{';
        member("id", value.id);
        member("text", value.text);
        member("replacedAt", value.replacedAt);
        end();
    }
    void write(const EntryField& field)
    {
        m_out += '{';
        if (field.title)
            member("title", *field.title);
        member("text", field.text);
        member("category", Foundation::rawValue(field.category));
        member("history", field.history);
        end();
    }
    void write(const EntrySection& section)
    {
        m_out += '{';
        if (section.title)
            member("title", *section.title);
        member("fields", section.fields);
        end();
    }
    void write(const EntryServiceIdentifier& identifier)
    {
        m_out += '{';
        member("host", identifier.host);
        if (identifier.lastUsedAt)
            member("lastUsedAt", *identifier.lastUsedAt);
        end();
    }
    void write(const EntrySubtitleSource& source)
    {
        m_out += '{';
        if (const auto* system = source.as<EntrySubtitleSource::SystemField>()) {
            member("systemField", Foundation::rawValue(system->id));
        } else if (const auto* custom = source.as<EntrySubtitleSource::CustomField>()) {
            member("section", custom->id.section);
            member("index", custom->id.index);
        }
        end();
    }
    template <class T>
    void write(const std::vector<T>& values)
    {
        m_out += '[';
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i)
                m_out += ',';
            write(values[i]);
        }
        m_out += ']';
    }

private:
    // The keys are this program's own names: nothing in them needs escaping.
    template <class T>
    void member(std::string_view key, const T& value)
    {
        char opening[2] = {',', '"'};
        const bool first = m_out.back() == '{';
        m_out.append(opening + first, 2 - first);
        m_out.append(key);
        m_out.append("\":", 2);
        write(value);
    }
    void end() { m_out += '}'; }

    void string(std::string_view text) { Foundation::JSONWriter::appendString(m_out, text); }

    std::string& m_out;
};

template <class T>
std::optional<Foundation::String> jsonText(const std::vector<T>& values)
{
    if (values.empty())
        return std::nullopt;
    std::string text;
    ItemJSON(text).write(values);
    return Foundation::String::fromCheckedUTF8(std::move(text));
}

template <class T>
T decodedJSON(std::string_view text, T fallback)
{
    if (text.empty())
        return fallback;
    return Basalwork::JSONCoder::shared()->decode<T>(Foundation::Data::fromString(text));
}

std::string_view cell(const CSVImportReader::Values& row, std::size_t index)
{
    return index < row.size() ? row[index] : std::string_view();
}

Entry entryFromRow(const CSVImportReader::LabelledRow& row, const std::vector<int>& positions)
{
    auto at = [&](int column) { return positions[static_cast<std::size_t>(column)] < 0 ? std::string_view() : cell(row.values, static_cast<std::size_t>(positions[static_cast<std::size_t>(column)])); };
    Entry entry;
    entry.id = Foundation::String(at(0));
    if (entry.id.isEmpty())
        throw ImporterError::invalidFile("the item has no identifier");
    auto category = Foundation::fromRawValue<Entry::Category>(Foundation::String(at(1)));
    if (!category)
        throw ImporterError::invalidFile("the item's category is unknown");
    entry.category = *category;
    entry.title = Foundation::String(at(2));
    entry.username = Foundation::String(at(3));
    entry.password = Foundation::String(at(4));
    entry.totpSecretKey = Foundation::String(at(5));
    entry.website = Foundation::String(at(6));
    entry.notes = Foundation::String(at(7));
    entry.tags = decodedJSON<std::vector<Foundation::String>>(at(8), {});
    entry.isFavorite = at(9) == "true";
    entry.isArchived = at(10) == "true";
    entry.isSafeForInspection = at(11) == "true";
    entry.showsEmptyLoginFields = at(12) == "true";
    auto now = Foundation::Date::now();
    entry.createdAt = parsedDate(at(13)).value_or(now);
    entry.modifiedAt = parsedDate(at(14)).value_or(entry.createdAt);
    entry.trashedAt = parsedDate(at(15));
    entry.serviceIdentifiers = decodedJSON<std::vector<EntryServiceIdentifier>>(at(16), {});
    entry.sections = decodedJSON<std::vector<EntrySection>>(at(17), {});
    entry.passwordHistory = decodedJSON<std::vector<EntryPreviousValue>>(at(18), {});
    entry.totpSecretKeyHistory = decodedJSON<std::vector<EntryPreviousValue>>(at(19), {});
    entry.subtitleSource = decodedJSON<std::optional<EntrySubtitleSource>>(at(20), std::nullopt);
    return entry;
}

void checkVersion(const nlohmann::json& document)
{
    if (!document.is_object() || document.value("format", "") != formatName || !document.contains("items") || !document["items"].is_array())
        throw ImporterError::invalidFile("it is not a Corvendale JSON export");
    auto version = document.value("version", std::int64_t(0));
    if (version > VaultDocument::version)
        throw ImporterError::invalidFile("it was written by a newer version of Corvendale (format " + std::to_string(version) + ")");
}

// The format and version come before the items: checked at the first item, and at the end for a file
// without items.
class VersionCheck {
public:
    void atItem(const nlohmann::json& document)
    {
        if (m_checked)
            return;
        auto partial = document;
        partial["items"] = nlohmann::json::array();
        checkVersion(partial);
        m_checked = true;
    }

private:
    bool m_checked = false;
};

Entry decodedEntry(const nlohmann::json& item)
{
    return Basalwork::JSONCoder::shared()->decode<Entry>(Foundation::Data::fromString(item.dump()));
}

} // namespace

std::vector<Foundation::String> VaultDocument::csvColumnLabels()
{
    return {std::begin(columnLabels), std::end(columnLabels)};
}

std::vector<Foundation::String> VaultDocument::requiredCSVColumnLabels()
{
    return {"id", "category", "title"};
}

Basalwork::CSVRow VaultDocument::csvRow(const Entry& entry)
{
    auto text = [](const Foundation::String& value) { return value.isEmpty() ? std::nullopt : std::optional(value); };
    auto flag = [](bool value) { return std::optional(Foundation::String(value ? "true" : "false")); };
    Basalwork::CSVRow row;
    row.reserve(std::size(columnLabels));
    row.push_back(entry.id);
    row.push_back(Foundation::rawValue(entry.category));
    row.push_back(text(entry.title));
    row.push_back(text(entry.username));
    row.push_back(text(entry.password));
    row.push_back(text(entry.totpSecretKey));
    row.push_back(text(entry.website));
    row.push_back(text(entry.notes));
    row.push_back(jsonText(entry.tags));
    row.push_back(flag(entry.isFavorite));
    row.push_back(flag(entry.isArchived));
    row.push_back(flag(entry.isSafeForInspection));
    row.push_back(flag(entry.showsEmptyLoginFields));
    row.push_back(dateText(entry.createdAt));
    row.push_back(dateText(entry.modifiedAt));
    row.push_back(entry.trashedAt ? std::optional(dateText(*entry.trashedAt)) : std::nullopt);
    row.push_back(jsonText(entry.serviceIdentifiers));
    row.push_back(jsonText(entry.sections));
    row.push_back(jsonText(entry.passwordHistory));
    row.push_back(jsonText(entry.totpSecretKeyHistory));
    if (entry.subtitleSource) {
        std::string source;
        ItemJSON(source).write(*entry.subtitleSource);
        row.push_back(Foundation::String::fromCheckedUTF8(std::move(source)));
    } else {
        row.push_back(std::nullopt);
    }
    return row;
}

void VaultDocument::beginJSON(std::string& out)
{
    out += "{\"format\":\"";
    out += formatName;
    out += "\",\"version\":" + std::to_string(version) + ",\"items\":[";
}

void VaultDocument::appendJSONItem(std::string& out, const Entry& entry, bool isFirst)
{
    if (!isFirst)
        out.push_back(',');
    if (ItemJSON::canWrite(entry))
        ItemJSON(out).write(entry);
    else
        out += Basalwork::JSONCoder::shared()->encode(entry).view();
}

void VaultDocument::endJSON(std::string& out, const std::vector<Attachment>& attachments)
{
    out += "],\"attachments\":";
    out += Basalwork::JSONCoder::shared()->encode(attachments).view();
    out += "}";
}

ImportReadResult VaultDocument::readCSV(const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    std::optional<std::vector<int>> positions;
    return CSVImportReader::readRows(
        fileURL, U',', requiredCSVColumnLabels(), progress, [&](const CSVImportReader::LabelledRow& row, ImportReadResult& result) {
            if (!positions) {
                positions.emplace();
                for (const char* label : columnLabels) {
                    auto found = std::find(row.labels.begin(), row.labels.end(), Foundation::String(label));
                    positions->push_back(found == row.labels.end() ? -1 : static_cast<int>(found - row.labels.begin()));
                }
            }
            try {
                auto entry = entryFromRow(row, *positions);
                ImportedEntryBuilder::enforceLimits(entry);
                result.items.push_back({std::move(entry), {}});
            } catch (const Foundation::Error& error) {
                result.failures.push_back(CSVImportReader::failureText(row.number, cell(row.values, static_cast<std::size_t>(std::max((*positions)[2], 0))), error));
            }
        },
        deliver);
}

std::vector<Entry> VaultDocument::entries(std::string_view json, std::vector<Attachment>* attachments)
{
    std::vector<Entry> entries;
    VersionCheck versionCheck;
    auto document = JSONItemStream::read(json, {{"items"}}, [&](const nlohmann::json& item, const std::vector<const nlohmann::json*>& enclosing) {
        versionCheck.atItem(*enclosing.front());
        entries.push_back(decodedEntry(item));
    });
    checkVersion(document);
    if (attachments && document.contains("attachments"))
        *attachments = Basalwork::JSONCoder::shared()->decode<std::vector<Attachment>>(Foundation::Data::fromString(document["attachments"].dump()));
    return entries;
}

void VaultDocument::readJSON(const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    ImportParts parts(deliver);
    VersionCheck versionCheck;
    std::int64_t number = 0;
    auto document = JSONItemStream::readFile(
        fileURL, {{"items"}},
        [&](const nlohmann::json& item, const std::vector<const nlohmann::json*>& enclosing) {
            versionCheck.atItem(*enclosing.front());
            ++number;
            try {
                auto entry = decodedEntry(item);
                ImportedEntryBuilder::enforceLimits(entry);
                parts.add({std::move(entry), {}});
            } catch (const Foundation::Error& error) {
                std::string title = item.is_object() && item.contains("title") && item["title"].is_string() ? item["title"].get<std::string>() : "";
                parts.addFailure(Foundation::String("Item " + std::to_string(number) + (title.empty() ? "" : " (" + title.substr(0, 80) + ")") + ": "
                                                    + error.description()));
            }
        },
        progress);
    checkVersion(document);
    progress(1);
    parts.finish();
}
Foundation::URL VaultDocument::attachmentsFolderURL(const Foundation::URL& fileURL)
{
    auto path = fileURL.path().utf8();
    auto extension = fileURL.pathExtension().utf8();
    if (!extension.empty())
        path.resize(path.size() - extension.size() - 1);
    return Foundation::URL::fileURLWithPath(Foundation::String(path), true);
}

std::optional<Foundation::URL> VaultDocument::attachmentFileURL(const Foundation::URL& attachmentsFolder, const Foundation::String& attachmentID)
{
    try {
        Basalwork::StoreKeyError::validateKey(attachmentID);
    } catch (const Foundation::Error&) {
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(attachmentsFolder.path().utf8()) / attachmentID.utf8();
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        if (item.is_regular_file(error) && !item.is_symlink(error))
            return Foundation::URL::fileURLWithPath(Foundation::String(item.path().string()), false);
    }
    return std::nullopt;
}

} // namespace Shared
