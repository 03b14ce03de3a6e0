#include "Platform/CloudKit/LongLivedJournal.hpp"

#include "Platform/CloudKit/AtomicFile.hpp"
#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/CloudKit/CKModifyRecordsOperation.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/RecordCoding.hpp"
#include "Platform/CloudKit/ServiceState.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/Logger.hpp"

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace CloudKit {
namespace {

using Json = RecordCoding::Json;
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

Json encodeRequest(DatabaseFolder& folder, const CKModifyRecordsOperation& operation)
{
    auto namer = [&](const CKAsset& asset) { return folder.assets().import(asset); };
    Json saves = Json::array();
    for (const auto& record : operation.recordsToSave()) {
        Json fields = Json::object();
        for (const auto& [key, value] : record->fields())
            fields[key] = RecordCoding::encode(value, namer);
        Json changed = Json::array();
        for (const auto& key : record->changedKeys())
            changed.push_back(key.utf8());
        Json save = {{"zone", record->recordID().zoneID().zoneName().utf8()},
                     {"owner", record->recordID().zoneID().ownerName().utf8()},
                     {"name", record->recordID().recordName().utf8()},
                     {"type", record->recordType().utf8()},
                     {"fields", std::move(fields)},
                     {"changedKeys", std::move(changed)}};
        if (auto tag = record->recordChangeTag())
            save["changeTag"] = tag->utf8();
        saves.push_back(std::move(save));
    }
    Json deletes = Json::array();
    for (const auto& id : operation.recordIDsToDelete())
        deletes.push_back({{"zone", id.zoneID().zoneName().utf8()}, {"owner", id.zoneID().ownerName().utf8()}, {"name", id.recordName().utf8()}});
    return {{"operation", operation.operationID().utf8()},
            {"savePolicy", static_cast<std::int64_t>(operation.savePolicy())},
            {"atomic", operation.isAtomic()},
            {"saves", std::move(saves)},
            {"deletes", std::move(deletes)}};
}

// Nothing for a journal that cannot be read.
std::optional<DatabaseFolder::ModifyRequest> decodeRequest(DatabaseFolder& folder, const Foundation::Data& data)
{
    auto json = Json::parse(data.view(), nullptr, false);
    try {
        if (!json.is_object())
            return std::nullopt;
        DatabaseFolder::ModifyRequest request;
        auto policy = json.at("savePolicy").get<std::int64_t>();
        if (policy < 0 || policy > 2)
            return std::nullopt;
        request.savePolicy = static_cast<DatabaseFolder::SavePolicy>(policy);
        request.isAtomic = json.at("atomic").get<bool>();
        request.operationID = json.at("operation").get<std::string>();
        auto finder = [&](const std::string& name) { return folder.assets().named(name); };
        for (const auto& save : json.at("saves")) {
            CKRecordZoneID zoneID(save.at("zone").get<std::string>(), save.at("owner").get<std::string>());
            CKRecord::Fields fields;
            for (const auto& [key, value] : save.at("fields").items()) {
                auto decoded = RecordCoding::decode(value, finder);
                if (!decoded)
                    return std::nullopt;
                fields.emplace(key, std::move(*decoded));
            }
            CKRecord::SystemFields system;
            if (save.contains("changeTag"))
                system.changeTag = Foundation::String(save.at("changeTag").get<std::string>());
            auto record = CKRecord::fromServer(save.at("type").get<std::string>(),
                                               CKRecordID(save.at("name").get<std::string>(), zoneID), fields, system);
            for (const auto& key : save.at("changedKeys")) {
                auto name = key.get<std::string>();
                auto found = fields.find(name);
                record->setObject(found == fields.end() ? std::nullopt : std::optional(found->second), name);
            }
            request.recordsToSave.push_back(std::move(record));
        }
        for (const auto& id : json.at("deletes")) {
            request.recordIDsToDelete.emplace_back(id.at("name").get<std::string>(),
                                                   CKRecordZoneID(id.at("zone").get<std::string>(), id.at("owner").get<std::string>()));
        }
        return request;
    } catch (const Json::exception&) {
        return std::nullopt;
    }
}

} // namespace

void LongLivedJournal::write(DatabaseFolder& folder, const CKModifyRecordsOperation& operation)
{
    auto id = operation.operationID().utf8();
    if (!isOperationID(id))
        return;
    auto data = Foundation::Data::fromString(encodeRequest(folder, operation).dump());
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
