#include "Shared/XMLImportReader.hpp"

#include "Shared/ImportValues.hpp"
#include "Shared/ImportedEntryBuilder.hpp"
#include "Shared/ImporterError.hpp"
#include "Shared/XMLDocument.hpp"

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

// The file of a KeePass binary reference, unpacked into the work folder.
std::optional<Foundation::URL> keePassBinary(KeePassContext& context, const Element& binary)
{
    auto name = std::string(binary.childText("Key"));
    const auto* value = binary.child("Value");
    if (!value)
        return std::nullopt;
    auto reference = context.binaries.find(std::string(value->attribute("Ref")));
    std::optional<Foundation::Data> data;
    if (reference != context.binaries.end())
        data = Foundation::Data::fromBase64(reference->second);
    else
        data = Foundation::Data::fromBase64(value->text);
    if (!data)
        throw ImporterError::invalidFile("the attached file \"" + name + "\" is not valid base64");
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        name = "Attachment";
    auto folder = context.workFolder.appendingPathComponent(Foundation::String(std::to_string(++context.fileCount)), true);
    ::mkdir(folder.path().c_str(), Foundation::FileIO::ownerOnlyDirectoryMode); // a failure shows as the write below fails
    auto file = folder.appendingPathComponent(Foundation::String(name), false);
    Foundation::FileIO::writeFile(file.path().utf8(), *data, true);
    return file;
}

void readKeePassEntry(const Element& entry, const std::string& group, KeePassContext& context, ImportReadResult& result, std::int64_t& number)
{
    ++number;
    ImportedEntryBuilder builder(F::keePassXML, Entry::Category::login);
    std::string title;
    try {
        builder.setSourceIdentifier(entry.childText("UUID"));
        if (!group.empty())
            builder.addTag(group);
        builder.addTags(entry.childText("Tags"), ";,");
        if (const auto* times = entry.child("Times")) {
            builder.setCreatedAt(ImportValues::date(times->childText("CreationTime")));
            builder.setModifiedAt(ImportValues::date(times->childText("LastModificationTime")));
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
                }
            } else if (child.name == "History") {
                for (const auto& previous : child.children) {
                    for (const auto& field : previous.children) {
                        if (field.name == "String" && field.childText("Key") == "Password") {
                            const auto* times = previous.child("Times");
                            builder.addPreviousPassword(field.childText("Value"),
                                                        times ? ImportValues::date(times->childText("LastModificationTime")) : std::nullopt);
                        }
                    }
                }
            }
        }
        if (!builder.hasLoginValues())
            builder.setCategory(Entry::Category::secureNote);
        item.entry = builder.build(entry.childText("UUID"));
        result.items.push_back(std::move(item));
    } catch (const ImporterError& error) {
        if (error.is<ImporterError::Cancelled>())
            throw;
        result.failures.push_back(failure(number, title, error));
    } catch (const Foundation::Error& error) {
        result.failures.push_back(failure(number, title, error));
    }
}

void readKeePassGroup(const Element& group, bool isRoot, KeePassContext& context, ImportReadResult& result, std::int64_t& number,
                      const ImportReadProgress& progress)
{
    if (!context.recycleBinUUID.empty() && group.childText("UUID") == context.recycleBinUUID)
        return;
    std::string name = isRoot ? std::string() : std::string(group.childText("Name"));
    for (const auto& child : group.children) {
        if (child.name == "Entry") {
            readKeePassEntry(child, name, context, result, number);
            if ((number & 0x3f) == 0)
                progress(0.5);
        } else if (child.name == "Group") {
            readKeePassGroup(child, false, context, result, number, progress);
        }
    }
}

ImportReadResult readKeePass(const Element& root, const Foundation::URL& workFolder, const ImportReadProgress& progress)
{
    if (root.name != "KeePassFile" || !root.child("Root"))
        throw ImporterError::invalidFile("it is not a KeePass XML export");
    KeePassContext context(workFolder);
    if (const auto* meta = root.child("Meta")) {
        context.recycleBinUUID = meta->childText("RecycleBinUUID");
        if (const auto* binaries = meta->child("Binaries")) {
            for (const auto& binary : binaries->children) {
                std::string content = binary.text;
                if (binary.attribute("Compressed") == "True") {
                    auto packed = Foundation::Data::fromBase64(content);
                    if (!packed)
                        throw ImporterError::invalidFile("an attached file is not valid base64");
                    // A small packed file may claim gigabytes: unpacking stops at the limit.
                    try {
                        content = Basalwork::gunzipped(*packed, XMLImportReader::maximumAttachmentSize).base64EncodedString();
                    } catch (const Foundation::Error&) {
                        throw ImporterError::invalidFile("an attached file is damaged or unpacks to more than "
                                                         + std::to_string(XMLImportReader::maximumAttachmentSize / (1024 * 1024)) + " MB");
                    }
                }
                context.binaries[std::string(binary.attribute("ID"))] = std::move(content);
            }
        }
    }
    ImportReadResult result;
    std::int64_t number = 0;
    for (const auto& group : root.child("Root")->children) {
        if (group.name == "Group")
            readKeePassGroup(group, true, context, result, number, progress);
    }
    return result;
}

ImportReadResult readPasswordSafe(const Element& root, const ImportReadProgress& progress)
{
    if (root.name != "passwordsafe")
        throw ImporterError::invalidFile("it is not a Password Safe XML export");
    ImportReadResult result;
    std::int64_t number = 0;
    for (const auto& entry : root.children) {
        if (entry.name != "entry")
            continue;
        ++number;
        if ((number & 0x3f) == 0)
            progress(0.5);
        ImportedEntryBuilder builder(F::passwordSafeXML, Entry::Category::login);
        try {
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
            result.items.push_back({builder.build(key), {}});
        } catch (const Foundation::Error& error) {
            result.failures.push_back(failure(number, entry.childText("title"), error));
        }
    }
    return result;
}

} // namespace

bool XMLImportReader::isXML(ImporterFileFormat format)
{
    return format == F::keePassXML || format == F::passwordSafeXML;
}

ImportReadResult XMLImportReader::read(ImporterFileFormat format, const Foundation::URL& fileURL, const Foundation::URL& workFolder,
                                       const ImportReadProgress& progress)
{
    auto root = XMLDocument::parseFile(fileURL, maximumFileSize);
    progress(0.3);
    auto result = format == F::keePassXML ? readKeePass(root, workFolder, progress) : readPasswordSafe(root, progress);
    progress(1);
    return result;
}

} // namespace Shared
