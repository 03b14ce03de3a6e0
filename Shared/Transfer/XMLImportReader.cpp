#include "Shared/Transfer/XMLImportReader.hpp"

#include "Shared/Transfer/ImportParts.hpp"
#include "Shared/Transfer/ImportValues.hpp"
#include "Shared/Transfer/ImportedEntryBuilder.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/XMLDocument.hpp"

#include "Basalwork/Base/Data.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace Shared {

namespace {

using F = ImporterFileFormat;
using Element = XMLDocument::Element;

struct KeePassContext {
    explicit KeePassContext(Foundation::URL folder)
        : workFolder(std::move(folder))
    {
    }
    // The files of the binaries the header lists, by their identifiers.
    std::map<std::string, std::string> binaries;
    std::string recycleBinUUID;
    Foundation::URL workFolder;
    std::int64_t fileCount = 0;
};

Foundation::String failure(std::int64_t number, std::string_view title, const Foundation::Error& error)
{
    return Foundation::String("Item " + std::to_string(number) + (title.empty() ? "" : " (" + std::string(title.substr(0, 80)) + ")") + ": "
                              + error.description());
}

// A date as KeePass writes it: text, or (KDBX 4) the base64 of a little-endian count of seconds since
// the start of year 1.
std::optional<Foundation::Date> keePassDate(std::string_view text)
{
    if (auto date = ImportValues::date(text))
        return date;
    auto data = Foundation::Data::fromBase64(std::string(text));
    if (!data || data->count() != 8)
        return std::nullopt;
    std::uint64_t seconds = 0;
    for (std::size_t i = 0; i < 8; ++i)
        seconds |= static_cast<std::uint64_t>(static_cast<unsigned char>(data->view()[i])) << (8 * i);
    // From year 1 to 2001-01-01.
    constexpr double secondsToReferenceDate = 63113904000.0;
    return Foundation::Date(static_cast<double>(static_cast<std::int64_t>(seconds)) - secondsToReferenceDate);
}

Foundation::URL newFileFolder(KeePassContext& context)
{
    auto folder = context.workFolder.appendingPathComponent(Foundation::String(std::to_string(++context.fileCount)), true);
    ::mkdir(folder.path().c_str(), Foundation::FileIO::ownerOnlyDirectoryMode); // a failure shows as the write into it fails
    return folder;
}

// A binary the header lists, unpacked into a file of the work folder as soon as it is read.
void keepHeaderBinary(KeePassContext& context, const Element& binary)
{
    auto data = Foundation::Data::fromBase64(binary.text);
    if (!data)
        throw ImporterError::invalidFile("an attached file is not valid base64");
    if (binary.attribute("Compressed") == "True") {
        // A small packed file may claim gigabytes: unpacking stops at the limit.
        try {
            data = Basalwork::gunzipped(*data, XMLImportReader::maximumAttachmentSize);
        } catch (const Foundation::Error&) {
            throw ImporterError::invalidFile("an attached file is damaged or unpacks to more than "
                                             + std::to_string(XMLImportReader::maximumAttachmentSize / (1024 * 1024)) + " MB");
        }
    }
    auto file = newFileFolder(context).appendingPathComponent("binary", false);
    Foundation::FileIO::writeFile(file.path().utf8(), *data, true);
    context.binaries[std::string(binary.attribute("ID"))] = file.path().utf8();
}

// The file of an item's binary, in a folder of its own under the attachment's name; nothing when the
// export lacks its data.
std::optional<Foundation::URL> keePassBinary(KeePassContext& context, const Element& binary)
{
    auto name = std::string(binary.childText("Key"));
    const auto* value = binary.child("Value");
    if (!value)
        return std::nullopt;
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        name = "Attachment";
    auto file = newFileFolder(context).appendingPathComponent(Foundation::String(name), false);
    auto reference = value->attribute("Ref");
    if (!reference.empty() || value->text.empty()) {
        auto found = context.binaries.find(std::string(reference));
        if (found == context.binaries.end())
            return std::nullopt;
        std::error_code error;
        std::filesystem::create_hard_link(found->second, file.path().utf8(), error);
        if (error)
            std::filesystem::copy_file(found->second, file.path().utf8(), error);
        if (error)
            throw ImporterError::invalidFile("an attached file could not be unpacked");
        return file;
    }
    auto data = Foundation::Data::fromBase64(value->text);
    if (!data)
        throw ImporterError::invalidFile("the attached file \"" + std::string(binary.childText("Key")) + "\" is not valid base64");
    Foundation::FileIO::writeFile(file.path().utf8(), *data, true);
    return file;
}

void readKeePassEntry(const Element& entry, const std::string& group, KeePassContext& context, ImportParts& parts, std::int64_t number)
{
    ImportedEntryBuilder builder(F::keePassXML, Entry::Category::login);
    std::string title;
    std::vector<std::string> missingFiles;
    try {
        builder.setSourceIdentifier(entry.childText("UUID"));
        if (!group.empty())
            builder.addTag(group);
        builder.addTags(entry.childText("Tags"), ";,");
        if (const auto* times = entry.child("Times")) {
            builder.setCreatedAt(keePassDate(times->childText("CreationTime")));
            builder.setModifiedAt(keePassDate(times->childText("LastModificationTime")));
        }
        ImportedItem item;
        for (const auto& child : entry.children) {
            if (child.name == "String") {
                auto key = child.childText("Key");
                auto value = child.childText("Value");
                if (key == "Title")
                    builder.setTitle(title = std::string(value));
                else if (key == "UserName")
                    builder.setUsername(value);
                else if (key == "Password")
                    builder.setPassword(value);
                else if (key == "URL")
                    builder.setWebsite(value);
                else if (key == "Notes")
                    builder.setNotes(value);
                else if (key == "otp" || key == "TOTP Seed")
                    builder.setTOTP(value);
                else
                    builder.addField(key, value);
            } else if (child.name == "Binary") {
                if (auto file = keePassBinary(context, child)) {
                    auto attachmentID = ImportedEntryBuilder::stableIdentifier(F::keePassXML, std::string(entry.childText("UUID")) + "/" + std::string(child.childText("Key")));
                    builder.addAttachmentField(child.childText("Key"), attachmentID);
                    item.attachments.push_back({attachmentID, *file});
                } else {
                    missingFiles.emplace_back(child.childText("Key"));
                }
            } else if (child.name == "History") {
                for (const auto& previous : child.children) {
                    for (const auto& field : previous.children) {
                        if (field.name == "String" && field.childText("Key") == "Password") {
                            const auto* times = previous.child("Times");
                            builder.addPreviousPassword(field.childText("Value"),
                                                        times ? keePassDate(times->childText("LastModificationTime")) : std::nullopt);
                        }
                    }
                }
            }
        }
        if (!builder.hasLoginValues())
            builder.setCategory(Entry::Category::secureNote);
        item.entry = builder.build(entry.childText("UUID"));
        parts.add(std::move(item));
    } catch (const ImporterError& error) {
        if (error.is<ImporterError::Cancelled>())
            throw;
        return parts.addFailure(failure(number, title, error));
    } catch (const Foundation::Error& error) {
        return parts.addFailure(failure(number, title, error));
    }
    for (const auto& name : missingFiles)
        parts.addFailure(failure(number, title, ImporterError::invalidFile("the export lacks the data of the attached file \"" + name.substr(0, 80)
                                                                              + "\"; the item was imported without it")));
}

// Items are read as each ends and let go; the header (with the binaries, which go to files at once)
// comes before them.
void readKeePass(const Foundation::URL& fileURL, const Foundation::URL& workFolder, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    KeePassContext context(workFolder);
    ImportParts parts(deliver);
    std::int64_t number = 0;
    bool hasRoot = false;
    auto root = XMLDocument::parseFile(
        fileURL, XMLImportReader::maximumFileSize,
        [&](Element& element, const std::vector<const Element*>& enclosing) {
            if (enclosing.front()->name != "KeePassFile")
                return true;
            const auto& parent = *enclosing.back();
            if (element.name == "Binary" && parent.name == "Binaries" && enclosing.size() == 3 && enclosing[1]->name == "Meta") {
                keepHeaderBinary(context, element);
                return false;
            }
            if (element.name == "RecycleBinUUID" && parent.name == "Meta" && enclosing.size() == 2) {
                context.recycleBinUUID = element.text;
                return true;
            }
            if (element.name == "Root" && enclosing.size() == 1) {
                hasRoot = true;
                return false;
            }
            if (element.name == "Group")
                return false;
            if (element.name != "Entry" || parent.name != "Group" || enclosing.size() < 3 || enclosing[1]->name != "Root")
                return true;
            // Items of the recycle bin are not live items.
            for (std::size_t i = 2; i < enclosing.size(); ++i) {
                if (!context.recycleBinUUID.empty() && enclosing[i]->childText("UUID") == context.recycleBinUUID)
                    return false;
            }
            ++number;
            bool isTopGroup = enclosing.size() == 3;
            readKeePassEntry(element, isTopGroup ? std::string() : std::string(parent.childText("Name")), context, parts, number);
            return false;
        },
        progress);
    if (root.name != "KeePassFile" || !hasRoot)
        throw ImporterError::invalidFile("it is not a KeePass XML export");
    parts.finish();
}

ImportedItem passwordSafeItem(const Element& entry)
{
    ImportedEntryBuilder builder(F::passwordSafeXML, Entry::Category::login);
    builder.setSourceIdentifier(entry.childText("uuid"));
    builder.setTitle(entry.childText("title"));
    builder.addTag(ImportValues::lastGroupComponent(entry.childText("group"), '.'));
    builder.setUsername(entry.childText("username"));
    builder.setPassword(entry.childText("password"));
    builder.setWebsite(entry.childText("url"));
    builder.setNotes(entry.childText("notes"));
    builder.addField("E-mail", entry.childText("email"), EntryFieldCategory::email);
    builder.setCreatedAt(ImportValues::date(entry.childText("ctimex")));
    builder.setModifiedAt(ImportValues::date(entry.childText("rmtimex")));
    if (const auto* history = entry.child("pwhistory")) {
        if (const auto* entries = history->child("history_entries")) {
            for (const auto& previous : entries->children)
                builder.addPreviousPassword(previous.childText("oldpassword"), ImportValues::date(previous.childText("changedx")));
        }
    }
    std::string key;
    for (const char* part : {"group", "title", "username", "url"})
        key += std::string(entry.childText(part)) + '\x1f';
    return {builder.build(key), {}};
}

void readPasswordSafe(const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    ImportParts parts(deliver);
    std::int64_t number = 0;
    auto root = XMLDocument::parseFile(
        fileURL, XMLImportReader::maximumFileSize,
        [&](Element& element, const std::vector<const Element*>& enclosing) {
            if (enclosing.size() != 1 || enclosing.front()->name != "passwordsafe" || element.name != "entry")
                return enclosing.size() > 1;
            ++number;
            try {
                parts.add(passwordSafeItem(element));
            } catch (const ImporterError& error) {
                if (error.is<ImporterError::Cancelled>())
                    throw;
                parts.addFailure(failure(number, element.childText("title"), error));
            } catch (const Foundation::Error& error) {
                parts.addFailure(failure(number, element.childText("title"), error));
            }
            return false;
        },
        progress);
    if (root.name != "passwordsafe")
        throw ImporterError::invalidFile("it is not a Password Safe XML export");
    parts.finish();
}

} // namespace

bool XMLImportReader::isXML(ImporterFileFormat format)
{
    return format == F::keePassXML || format == F::passwordSafeXML;
}

void XMLImportReader::read(ImporterFileFormat format, const Foundation::URL& fileURL, const Foundation::URL& workFolder, const ImportReadProgress& progress,
                           const ImportReadDelivery& deliver)
{
    if (format == F::keePassXML)
        readKeePass(fileURL, workFolder, progress, deliver);
    else
        readPasswordSafe(fileURL, progress, deliver);
    progress(1);
}

} // namespace Shared
