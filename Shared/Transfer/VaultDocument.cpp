#include "Shared/Transfer/VaultDocument.hpp"

#include "Shared/Model/EntryProperty.hpp"
#include "Shared/Transfer/CSVImportReader.hpp"
#include "Shared/Transfer/ImportParts.hpp"
#include "Shared/Transfer/ImportedEntryBuilder.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/JSONItemStream.hpp"

#include "Basalwork/Base/JSONCoder.hpp"
#include "Basalwork/Base/StoreKeyError.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/JSONWriter.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace Shared {

namespace {

constexpr const char* formatName = "Corvendale";

template <class T>
constexpr bool isOptional = false;
template <class T>
constexpr bool isOptional<std::optional<T>> = true;

consteval std::size_t propertyIndex(std::string_view key)
{
    std::size_t found = entryPropertyCount;
    std::size_t index = 0;
    std::apply([&](const auto&... property) { ((found = property.key == key ? index : found, ++index), ...); }, entryProperties);
    return found;
}

constexpr std::size_t idIndex = propertyIndex("id");
constexpr std::size_t createdAtIndex = propertyIndex("createdAt");
constexpr std::size_t modifiedAtIndex = propertyIndex("modifiedAt");

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
        bool canWrite = true;
        forEachEntryProperty([&]<std::size_t index>() {
            constexpr const auto& property = entryProperty<index>;
            if constexpr (property.isExported())
                canWrite = canWrite && finite(entry.*property.member);
        });
        return canWrite;
    }

    // The exported values in their coding order, each left out where the coder leaves it out.
    void write(const Entry& entry)
    {
        m_out += '{';
        forEachEntryProperty([&]<std::size_t index>() {
            constexpr const auto& property = entryProperty<index>;
            if constexpr (property.isExported()) {
                const auto& value = entry.*property.member;
                if constexpr (isOptional<std::remove_cvref_t<decltype(value)>>) {
                    if (value)
                        member(property.key, *value);
                } else if constexpr (property.presence == EntryPropertyPresence::whenSet) {
                    if (!value.empty())
                        member(property.key, value);
                } else {
                    member(property.key, value);
                }
            }
        });
        end();
    }

    void write(const Foundation::String& text) { string(text.view()); }
    template <Foundation::RawRepresentable T>
    void write(T value)
    {
        write(Foundation::rawValue(value));
    }
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
    void write(const std::map<std::string, T>& values)
    {
        m_out += '{';
        for (const auto& [key, value] : values) {
            if (m_out.back() != '{')
                m_out += ',';
            string(key);
            m_out += ':';
            write(value);
        }
        m_out += '}';
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
    static bool finite(Foundation::Date date) { return std::isfinite(date.timeIntervalSinceReferenceDate()); }
    static bool finite(const EntryPreviousValue& value) { return finite(value.replacedAt); }
    static bool finite(const EntryServiceIdentifier& identifier) { return finite(identifier.lastUsedAt); }
    static bool finite(const EntryField& field) { return finite(field.history); }
    static bool finite(const EntrySection& section) { return finite(section.fields); }
    // Values that hold no date.
    static bool finite(const Foundation::String&) { return true; }
    static bool finite(bool) { return true; }
    static bool finite(const EntrySubtitleSource&) { return true; }
    template <Foundation::RawRepresentable T>
    static bool finite(T)
    {
        return true;
    }
    template <class T>
    static bool finite(const std::optional<T>& value)
    {
        return !value || finite(*value);
    }
    template <class T>
    static bool finite(const std::vector<T>& values)
    {
        return std::all_of(values.begin(), values.end(), [](const T& value) { return finite(value); });
    }
    template <class T>
    static bool finite(const std::map<std::string, T>& values)
    {
        return std::all_of(values.begin(), values.end(), [](const auto& entry) { return finite(entry.second); });
    }

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

// A value's CSV cell: texts as they are, flags as "true" or "false", dates as seconds, lists and structures
// as their JSON; nothing for an empty text or list, a missing date or structure.
std::optional<Foundation::String> csvCell(const Foundation::String& value, EntryPropertyPresence presence)
{
    return value.isEmpty() && presence != EntryPropertyPresence::required ? std::nullopt : std::optional(value);
}
template <Foundation::RawRepresentable T>
std::optional<Foundation::String> csvCell(T value, EntryPropertyPresence)
{
    return Foundation::rawValue(value);
}
std::optional<Foundation::String> csvCell(bool value, EntryPropertyPresence)
{
    return Foundation::String(value ? "true" : "false");
}
std::optional<Foundation::String> csvCell(Foundation::Date value, EntryPropertyPresence)
{
    return dateText(value);
}
std::optional<Foundation::String> csvCell(const std::optional<Foundation::Date>& value, EntryPropertyPresence)
{
    return value ? std::optional(dateText(*value)) : std::nullopt;
}
template <class T>
std::optional<Foundation::String> csvCell(const std::vector<T>& values, EntryPropertyPresence)
{
    return jsonText(values);
}
template <class T>
std::optional<Foundation::String> csvCell(const std::optional<T>& value, EntryPropertyPresence)
{
    if (!value)
        return std::nullopt;
    std::string text;
    ItemJSON(text).write(*value);
    return Foundation::String::fromCheckedUTF8(std::move(text));
}

// A cell read back into its value; an empty cell leaves the value as it is.
void readCSVCell(std::string_view text, Foundation::String& value, const char*)
{
    value = Foundation::String(text);
}
template <Foundation::RawRepresentable T>
void readCSVCell(std::string_view text, T& value, const char* key)
{
    auto read = Foundation::fromRawValue<T>(Foundation::String(text));
    if (!read)
        throw ImporterError::invalidFile("the item's " + std::string(key) + " is unknown");
    value = *read;
}
void readCSVCell(std::string_view text, bool& value, const char*)
{
    value = text == "true";
}
void readCSVCell(std::string_view text, Foundation::Date& value, const char*)
{
    if (auto date = parsedDate(text))
        value = *date;
}
void readCSVCell(std::string_view text, std::optional<Foundation::Date>& value, const char*)
{
    value = parsedDate(text);
}
template <class T>
void readCSVCell(std::string_view text, T& value, const char*)
{
    value = decodedJSON<T>(text, T {});
}

std::string_view cell(const CSVImportReader::Values& row, std::size_t index)
{
    return index < row.size() ? row[index] : std::string_view();
}

// `positions` holds each export column's place in the row, -1 for a column the file lacks.
Entry entryFromRow(const CSVImportReader::LabelledRow& row, const std::vector<int>& positions)
{
    auto at = [&](int column) { return positions[static_cast<std::size_t>(column)] < 0 ? std::string_view() : cell(row.values, static_cast<std::size_t>(positions[static_cast<std::size_t>(column)])); };
    if (at(entryProperty<idIndex>.exportColumn).empty())
        throw ImporterError::invalidFile("the item has no identifier");
    Entry entry;
    forEachExportedEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        readCSVCell(at(property.exportColumn), entry.*property.member, property.key);
    });
    // Files written by hand may leave the dates out: made now, and not changed since.
    if (at(entryProperty<createdAtIndex>.exportColumn).empty())
        entry.createdAt = Foundation::Date::now();
    if (at(entryProperty<modifiedAtIndex>.exportColumn).empty())
        entry.modifiedAt = entry.createdAt;
    return entry;
}

// The version a document was written in; a fraction is cut off.
std::int64_t versionOf(const Foundation::JSONView& version)
{
    if (version.kind() == Foundation::JSONView::Kind::integer)
        return version.document().value(version.index()).integer;
    if (version.kind() == Foundation::JSONView::Kind::unsignedInteger)
        return static_cast<std::int64_t>(std::min<std::uint64_t>(version.document().value(version.index()).unsignedInteger, std::numeric_limits<std::int64_t>::max()));
    return static_cast<std::int64_t>(std::clamp(version.number().value_or(0), -9.0e18, 9.0e18));
}

void checkVersion(const Foundation::JSONDocument& parsed)
{
    const Foundation::JSONView document(parsed);
    const auto format = document.find("format");
    const auto version = document.find("version");
    const auto items = document.find("items");
    // A format or version of another type is no file of this program's.
    if (!document.isObject() || !format || format->string() != formatName || !items || !items->isArray() || (version && !version->isNumber()))
        throw ImporterError::invalidFile("it is not a Corvendale JSON export");
    if (auto written = version ? versionOf(*version) : 0; written > VaultDocument::version)
        throw ImporterError::invalidFile("it was written by a newer version of Corvendale (format " + std::to_string(written) + ")");
}

// The format and version come before the items: checked at the first item, and at the end for a file
// without items.
class VersionCheck {
public:
    void atItem(const Foundation::JSONDocument& documentSoFar)
    {
        if (m_checked)
            return;
        checkVersion(documentSoFar);
        m_checked = true;
    }

private:
    bool m_checked = false;
};

Entry decodedEntry(const Foundation::JSONDocument& item)
{
    return Basalwork::JSONCoder::shared()->decode<Entry>(item);
}

} // namespace

std::vector<Foundation::String> VaultDocument::csvColumnLabels()
{
    std::vector<Foundation::String> labels;
    labels.reserve(entryPropertiesByExportColumn.size());
    forEachExportedEntryProperty([&]<std::size_t index>() { labels.emplace_back(entryProperty<index>.key); });
    return labels;
}

std::vector<Foundation::String> VaultDocument::requiredCSVColumnLabels()
{
    return {"id", "category", "title"};
}

Basalwork::CSVRow VaultDocument::csvRow(const Entry& entry)
{
    Basalwork::CSVRow row;
    row.reserve(entryPropertiesByExportColumn.size());
    forEachExportedEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        row.push_back(csvCell(entry.*property.member, property.presence));
    });
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
                for (const auto& label : csvColumnLabels()) {
                    auto found = std::find(row.labels.begin(), row.labels.end(), label);
                    positions->push_back(found == row.labels.end() ? -1 : static_cast<int>(found - row.labels.begin()));
                }
            }
            try {
                auto entry = entryFromRow(row, *positions);
                ImportedEntryBuilder::enforceLimits(entry);
                result.items.push_back({std::move(entry), {}});
            } catch (const Foundation::Error& error) {
                result.failures.push_back(CSVImportReader::failureText(row.number, cell(row.values, static_cast<std::size_t>(std::max((*positions)[static_cast<std::size_t>(entryProperty<propertyIndex("title")>.exportColumn)], 0))), error));
            }
        },
        deliver);
}

std::vector<Entry> VaultDocument::entries(std::string_view json, std::vector<Attachment>* attachments)
{
    std::vector<Entry> entries;
    VersionCheck versionCheck;
    auto parsed = JSONItemStream::read(json, {{"items"}}, [&](const Foundation::JSONDocument& item, const Foundation::JSONDocument& documentSoFar) {
        versionCheck.atItem(documentSoFar);
        entries.push_back(decodedEntry(item));
    });
    const auto& document = parsed->document();
    checkVersion(document);
    if (auto listed = Foundation::JSONView(document).find("attachments"); attachments && listed)
        *attachments = Basalwork::JSONCoder::shared()->decode<std::vector<Attachment>>(document, listed->index());
    return entries;
}

void VaultDocument::readJSON(const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    ImportParts parts(deliver);
    VersionCheck versionCheck;
    std::int64_t number = 0;
    auto parsed = JSONItemStream::readFile(
        fileURL, {{"items"}},
        [&](const Foundation::JSONDocument& item, const Foundation::JSONDocument& documentSoFar) {
            versionCheck.atItem(documentSoFar);
            ++number;
            try {
                auto entry = decodedEntry(item);
                ImportedEntryBuilder::enforceLimits(entry);
                parts.add({std::move(entry), {}});
            } catch (const Foundation::Error& error) {
                auto title = std::string(Foundation::JSONView(item).find("title").value_or(Foundation::JSONView(item)).string().value_or(""));
                parts.addFailure(Foundation::String("Item " + std::to_string(number) + (title.empty() ? "" : " (" + title.substr(0, 80) + ")") + ": "
                                                    + error.description()));
            }
        },
        progress);
    checkVersion(parsed->document());
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
