#include "Shared/Transfer/ExportWriter.hpp"

#include "Shared/Transfer/VaultDocument.hpp"

#include <cstdio>
#include <ctime>

namespace Shared {

namespace {

std::optional<Foundation::String> text(const Foundation::String& value)
{
    return value.isEmpty() ? std::nullopt : std::optional(value);
}

Foundation::String isoDate(Foundation::Date date)
{
    auto seconds = static_cast<std::time_t>(date.timeIntervalSinceReferenceDate() + Foundation::Date::timeIntervalBetween1970AndReferenceDate);
    std::tm time {};
    gmtime_r(&seconds, &time);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &time);
    return Foundation::String(buffer);
}

// Custom fields as "title: text" lines; attachments stay behind (their files are not in the CSV).
Foundation::String fieldLines(const Entry& entry)
{
    std::string lines;
    for (const auto& section : entry.sections) {
        for (const auto& field : section.fields) {
            if (field.category == EntryFieldCategory::attachment || field.text.isEmpty())
                continue;
            if (!lines.empty())
                lines += "\n";
            lines += (field.title ? field.title->utf8() : titleText(field.category).utf8()) + ": " + field.text.utf8();
        }
    }
    return Foundation::String(std::move(lines));
}

} // namespace

std::vector<Foundation::String> ExportWriter::csvColumnLabels(ExporterFileFormat format)
{
    switch (format) {
    case ExporterFileFormat::bitwardenCSV:
        return {"folder", "favorite", "type", "name", "notes", "fields", "reprompt", "login_uri", "login_username", "login_password", "login_totp"};
    case ExporterFileFormat::keePassXCCSV:
        return {"Group", "Title", "Username", "Password", "URL", "Notes", "TOTP", "Icon", "Last Modified", "Created"};
    default:
        return VaultDocument::csvColumnLabels();
    }
}

Basalwork::CSVRow ExportWriter::csvRow(ExporterFileFormat format, const Entry& entry)
{
    std::optional<Foundation::String> folder = entry.tags.empty() ? std::nullopt : std::optional(entry.tags.front());
    switch (format) {
    case ExporterFileFormat::bitwardenCSV: {
        bool isLogin = isLoginCategory(entry.category) || !entry.username.isEmpty() || !entry.password.isEmpty();
        return {folder,
                entry.isFavorite ? std::optional(Foundation::String("1")) : std::nullopt,
                Foundation::String(isLogin ? "login" : "note"),
                text(entry.title),
                text(entry.notes),
                text(fieldLines(entry)),
                Foundation::String("0"),
                text(entry.website),
                text(entry.username),
                text(entry.password),
                text(entry.totpSecretKey)};
    }
    case ExporterFileFormat::keePassXCCSV:
        // KeePassXC writes the path from its top group down, which its import takes off again.
        return {Foundation::String(folder ? "Root/" + folder->utf8() : std::string("Root")),
                text(entry.title),
                text(entry.username),
                text(entry.password),
                text(entry.website),
                text(entry.notes),
                text(entry.totpSecretKey),
                Foundation::String("0"),
                isoDate(entry.modifiedAt),
                isoDate(entry.createdAt)};
    default:
        return VaultDocument::csvRow(entry);
    }
}

void ExportWriter::appendText(std::string& out, const Entry& entry)
{
    auto line = [&](const char* label, const Foundation::String& value) {
        if (!value.isEmpty())
            out += std::string(label) + ": " + value.utf8() + "\n";
    };
    line("Title", entry.title);
    line("Category", titleText(entry.category));
    line("Username", entry.username);
    line("Password", entry.password);
    line("Website", entry.website);
    line("One-Time Password", entry.totpSecretKey);
    for (const auto& section : entry.sections) {
        for (const auto& field : section.fields) {
            if (field.category != EntryFieldCategory::attachment)
                line((field.title ? field.title->utf8() : titleText(field.category).utf8()).c_str(), field.text);
        }
    }
    if (!entry.tags.empty()) {
        std::string tags;
        for (const auto& tag : entry.tags)
            tags += (tags.empty() ? "" : ", ") + tag.utf8();
        line("Tags", Foundation::String(tags));
    }
    if (!entry.notes.isEmpty())
        out += "Notes:\n" + entry.notes.utf8() + "\n";
    out += "\n";
}

} // namespace Shared
