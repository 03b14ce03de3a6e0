#include "Platform/CloudKit/LongLivedJournal.hpp"

#include "Platform/CloudKit/AtomicFile.hpp"
#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/CloudKit/CKModifyRecordsOperation.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/RecordCoding.hpp"
#include "Platform/CloudKit/ServiceState.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/Logger.hpp"

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace CloudKit {
namespace {

using Foundation::JSONView;
namespace fs = std::filesystem;

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("CloudKit", "LongLivedJournal");
    return logger;
}

// The journals this process owns, each with the descriptor that holds its lock.
struct Owned {
    std::mutex mutex;
    std::map<std::string, int> descriptors;
};

Owned& owned()
{
    static auto* instance = new Owned;
    return *instance;
}

std::string journalPath(DatabaseFolder& folder, const std::string& operationID)
{
    return folder.longLivedPath() + "/" + operationID + ".json";
}

bool isOperationID(const std::string& text)
{
    return ServiceState::isValidIdentifier(text) && text.find('\\') == std::string::npos;
}

std::string encodeRequest(DatabaseFolder& folder, const CKModifyRecordsOperation& operation)
{
    auto namer = [&](const CKAsset& asset) { return folder.assets().import(asset); };
    Foundation::JSONStreamWriter writer;
    writer.beginObject()
        .key("operation").string(operation.operationID().utf8())
        .key("savePolicy").integer(static_cast<std::int64_t>(operation.savePolicy()))
        .key("atomic").boolean(operation.isAtomic())
        .key("saves").beginArray();
    for (const auto& record : operation.recordsToSave()) {
        writer.beginObject()
            .key("zone").string(record->recordID().zoneID().zoneName().utf8())
            .key("owner").string(record->recordID().zoneID().ownerName().utf8())
            .key("name").string(record->recordID().recordName().utf8())
            .key("type").string(record->recordType().utf8())
            .key("fields").beginObject();
        for (const auto& [key, value] : record->fields())
            RecordCoding::encode(writer.key(key), value, namer);
        writer.endObject().key("changedKeys").beginArray();
        for (const auto& key : record->changedKeys())
            writer.string(key.utf8());
        writer.endArray();
        if (auto tag = record->recordChangeTag())
            writer.key("changeTag").string(tag->utf8());
        writer.endObject();
    }
    writer.endArray().key("deletes").beginArray();
    for (const auto& id : operation.recordIDsToDelete()) {
        writer.beginObject()
            .key("zone").string(id.zoneID().zoneName().utf8())
            .key("owner").string(id.zoneID().ownerName().utf8())
            .key("name").string(id.recordName().utf8())
            .endObject();
    }
    writer.endArray().endObject();
    return writer.take();
}

// A journal that lacks a value, or holds one of another kind, is unreadable.
struct Unreadable { };

JSONView at(const JSONView& object, std::string_view key)
{
    auto found = object.find(key);
    if (!found)
        throw Unreadable();
    return *found;
}

JSONView::Elements elementsAt(const JSONView& object, std::string_view key)
{
    auto array = at(object, key);
    if (!array.isArray())
        throw Unreadable();
    return array.elements();
}

std::string text(const JSONView& value)
{
    auto text = value.string();
    if (!text)
        throw Unreadable();
    return std::string(*text);
}

std::string textAt(const JSONView& object, std::string_view key)
{
    return text(at(object, key));
}

// Nothing for a journal that cannot be read.
std::optional<DatabaseFolder::ModifyRequest> decodeRequest(DatabaseFolder& folder, const Foundation::Data& data)
{
    try {
        Foundation::JSONDocument document(data.view());
        JSONView json(document);
        if (!json.isObject())
            return std::nullopt;
        DatabaseFolder::ModifyRequest request;
        auto policy = at(json, "savePolicy").int64();
        auto atomic = at(json, "atomic").boolean();
        if (!policy || !atomic || *policy < 0 || *policy > 2)
            return std::nullopt;
        request.savePolicy = static_cast<DatabaseFolder::SavePolicy>(*policy);
        request.isAtomic = *atomic;
        request.operationID = textAt(json, "operation");
        auto finder = [&](const std::string& name) { return folder.assets().named(name); };
        for (auto save : elementsAt(json, "saves")) {
            CKRecordZoneID zoneID(textAt(save, "zone"), textAt(save, "owner"));
            CKRecord::Fields fields;
            auto encodedFields = at(save, "fields");
            if (!encodedFields.isObject())
                return std::nullopt;
            for (auto [key, value] : encodedFields.members()) {
                auto decoded = RecordCoding::decode(value, finder);
                if (!decoded)
                    return std::nullopt;
                fields.emplace(key, std::move(*decoded));
            }
            CKRecord::SystemFields system;
            if (save.contains("changeTag"))
                system.changeTag = Foundation::String(textAt(save, "changeTag"));
            auto record = CKRecord::fromServer(textAt(save, "type"), CKRecordID(textAt(save, "name"), zoneID), fields, system);
            for (auto key : elementsAt(save, "changedKeys")) {
                auto name = text(key);
                auto found = fields.find(name);
                record->setObject(found == fields.end() ? std::nullopt : std::optional(found->second), name);
            }
            request.recordsToSave.push_back(std::move(record));
        }
        for (auto id : elementsAt(json, "deletes"))
            request.recordIDsToDelete.emplace_back(textAt(id, "name"), CKRecordZoneID(textAt(id, "zone"), textAt(id, "owner")));
        return request;
    } catch (const Foundation::JSONDocument::SyntaxError&) {
        return std::nullopt;
    } catch (const Unreadable&) {
        return std::nullopt;
    }
}

} // namespace

void LongLivedJournal::write(DatabaseFolder& folder, const CKModifyRecordsOperation& operation)
{
    auto id = operation.operationID().utf8();
    if (!isOperationID(id))
        return;
    auto data = Foundation::Data::fromString(encodeRequest(folder, operation));
    auto path = journalPath(folder, id);
    Foundation::FileIO::makeDirectories(folder.longLivedPath());

    // Locked before it is renamed into place, so that no other process ever takes it for an orphan.
    int fd = AtomicFile::write(path, data, {.keepLocked = true});
    std::lock_guard lock(owned().mutex);
    auto [it, inserted] = owned().descriptors.emplace(path, fd);
    if (!inserted) {
        ::close(it->second);
        it->second = fd;
    }
}

void LongLivedJournal::remove(DatabaseFolder& folder, const std::string& operationID)
{
    auto path = journalPath(folder, operationID);
    ::unlink(path.c_str());
    std::lock_guard lock(owned().mutex);
    if (auto found = owned().descriptors.find(path); found != owned().descriptors.end()) {
        ::close(found->second);
        owned().descriptors.erase(found);
    }
}

std::vector<Foundation::String> LongLivedJournal::operationIDs(DatabaseFolder& folder)
{
    std::vector<Foundation::String> ids;
    std::error_code error;
    for (fs::directory_iterator it(folder.longLivedPath(), error), end; !error && it != end; it.increment(error)) {
        auto name = it->path().filename().string();
        if (!name.starts_with(".") && name.ends_with(".json"))
            ids.emplace_back(name.substr(0, name.size() - 5));
    }
    return ids;
}

std::shared_ptr<CKModifyRecordsOperation> LongLivedJournal::load(DatabaseFolder& folder, const std::string& operationID)
{
    if (!isOperationID(operationID))
        return nullptr;
    std::optional<DatabaseFolder::ModifyRequest> request;
    try {
        request = decodeRequest(folder, Foundation::FileIO::readFile(journalPath(folder, operationID)));
    } catch (...) {
        return nullptr;
    }
    if (!request)
        return nullptr;
    auto operation = Foundation::make<CKModifyRecordsOperation>(request->recordsToSave, request->recordIDsToDelete);
    operation->setOperationID(operationID);
    operation->setSavePolicy(static_cast<CKModifyRecordsOperation::RecordSavePolicy>(request->savePolicy));
    operation->setIsAtomic(request->isAtomic);
    operation->configuration()->setIsLongLived(true);
    return operation;
}

void LongLivedJournal::resumeOrphanedOperations(DatabaseFolder& folder)
{
    for (const auto& id : operationIDs(folder)) {
        auto path = journalPath(folder, id.utf8());
        {
            std::lock_guard lock(owned().mutex);
            if (owned().descriptors.contains(path))
                continue;
        }
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        try {
            auto request = decodeRequest(folder, Foundation::FileIO::readFile(path));
            if (!request)
                log().error("Dropped the unreadable long-lived operation %{public}@", id);
            else if (!folder.hasPublished(*request->operationID))
                folder.modifyRecords(*request);
            ::unlink(path.c_str());
        } catch (...) {
            auto error = Foundation::currentError();
            log().error("Could not resume the long-lived operation %{public}@: %{public}@", id, error->description());
            // The service refused it; only a failure to write is worth another try.
            if (error->domain() == CKErrorDomain)
                ::unlink(path.c_str());
        }
        ::close(fd);
    }
}

} // namespace CloudKit
