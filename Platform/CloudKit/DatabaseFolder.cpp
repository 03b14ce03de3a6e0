#include "Platform/CloudKit/DatabaseFolder.hpp"

#include "Platform/CloudKit/AtomicFile.hpp"
#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CloudKit/ChangeTokenPayload.hpp"
#include "Platform/CloudKit/FolderLock.hpp"
#include "Platform/CloudKit/InParallel.hpp"
#include "Platform/CloudKit/PushWatcher.hpp"
#include "Platform/CloudKit/RecordCoding.hpp"
#include "Platform/CloudKit/ServiceState.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <atomic>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <dirent.h>
#include <sys/stat.h>
#include <zlib.h>
#include <unistd.h>

namespace CloudKit {
namespace {

namespace fs = std::filesystem;
using Change = ChangeBatch::Change;

// The most bytes of field values (assets not counted) one record may hold.
constexpr std::size_t maximumRecordSize = 1'000'000;
// Records per round of a fetch that names no limit, so that its token moves forward as it goes.
constexpr std::int64_t defaultRoundSize = 400;

std::string zoneText(const CKRecordZoneID& zoneID)
{
    return "\"" + zoneID.zoneName().utf8() + "\"";
}

CKError zoneNotFound(const CKRecordZoneID& zoneID)
{
    return CKError(CKError::Code::zoneNotFound, "Zone " + zoneText(zoneID) + " does not exist");
}

bool failsZone(const std::optional<CKSimulation::Failure>& failure, const CKRecordZoneID& zoneID)
{
    return failure && (!failure->zoneID || *failure->zoneID == zoneID);
}

CKError injected(const CKSimulation::Failure& failure)
{
    return CKError(failure.code, "Simulated failure");
}

} // namespace

std::shared_ptr<const ChangeBatch> DatabaseFolder::withoutChanges(const ChangeBatch& batch)
{
    auto kept = std::make_shared<ChangeBatch>();
    kept->device = batch.device;
    kept->sequence = batch.sequence;
    kept->clock = batch.clock;
    kept->date = batch.date;
    kept->operationID = batch.operationID;
    kept->snapshot = batch.snapshot;
    return kept;
}

std::vector<std::string> DatabaseFolder::entryNames(const std::string& directory)
{
    // Read plainly: every sync lists the folder, which holds a file per save until compaction removes
    // what everyone has passed.
    std::vector<std::string> names;
    DIR* folder = ::opendir(directory.c_str());
    if (!folder)
        return names;
    while (const dirent* entry = ::readdir(folder)) {
        std::string_view name(entry->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(folder);
    return names;
}

std::shared_ptr<DatabaseFolder> DatabaseFolder::open(const std::string& container, const std::string& account)
{
    static auto* mutex = new std::mutex;
    // Folders live as long as the process: each holds what its batches amount to, read once.
    static auto* folders = new std::map<std::string, std::shared_ptr<DatabaseFolder>>;
    auto path = ServiceState::shared().rootFolder() + "/" + container + "/" + account;
    std::lock_guard lock(*mutex);
    auto& folder = (*folders)[path];
    if (!folder) {
        folder.reset(new DatabaseFolder(path, container, account));
        PushWatcher::shared().watch(folder->batchesPath(), container);
    }
    return folder;
}

DatabaseFolder::DatabaseFolder(std::string path, std::string container, std::string account)
    : m_path(std::move(path))
    , m_container(std::move(container))
    , m_account(std::move(account))
    , m_assets(m_path + "/Assets")
{
    for (const char* sub : {"/Batches", "/Assets", "/LongLived", "/Installations"})
        Foundation::FileIO::makeDirectories(m_path + sub);
}

DatabaseFolder::~DatabaseFolder() = default;

namespace {
std::atomic<std::size_t> openedFiles {0};
} // namespace

std::size_t DatabaseFolder::filesRead()
{
    return openedFiles.load();
}

std::shared_ptr<ChangeBatch> DatabaseFolder::readFile(const std::string& name)
{
    return readFiles({name}).front();
}

std::vector<std::shared_ptr<ChangeBatch>> DatabaseFolder::readFiles(const std::vector<std::string>& names)
{
    std::vector<std::shared_ptr<ChangeBatch>> batches(names.size());
    std::vector<std::optional<FileStamp>> stamps(names.size());
    for (std::size_t index = 0; index < names.size(); ++index) {
        auto stamp = stampOf(batchesPath() + "/" + names[index]);
        if (!stamp)
            continue;
        auto known = m_unreadable.find(names[index]);
        if (known == m_unreadable.end() || !(known->second.stamp == *stamp))
            stamps[index] = stamp;
    }
    // Each file is read and decoded on its own: a first read of a folder of many goes on every core.
    std::vector<Foundation::ErrorPtr> errors(names.size());
    auto finder = [this](const std::string& asset) { return m_assets.named(asset); };
    inParallel(names.size(), [&](std::size_t index) {
        if (!stamps[index])
            return;
        ++openedFiles;
        errors[index] = Foundation::catchError([&] {
            auto path = batchesPath() + "/" + names[index];
            // The values are checked, not kept: the state says where they are, and they are read again
            // when their records are handed out.
            auto batch = std::make_shared<ChangeBatch>(ChangeBatch::decode(Foundation::FileIO::readFile(path), names[index], m_container,
                                                                           m_account, finder, ChangeBatch::Values::checked));
            batch->source = std::make_shared<const ChangeBatch::Source>(ChangeBatch::Source {names[index], *stamps[index]});
            batches[index] = std::move(batch);
        });
    });
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (!stamps[index])
            continue;
        if (errors[index])
            m_unreadable[names[index]] = {errors[index], *stamps[index]};
        else
            m_unreadable.erase(names[index]);
    }
    return batches;
}

bool DatabaseFolder::isCovered(const std::string& name) const
{
    return m_base && m_base->snapshot->covers.contains(name);
}

void DatabaseFolder::refresh(bool holdingWriteLock)
{
    m_hasRead = true;
    auto unreadableBefore = m_unreadable.size();
    // A file found changed since it was read (the state reads its records' values from it) is
    // forgotten, so that it is read as it is now; the state is then made again.
    bool forgotten = false;
    for (const auto& name : takeChangedFiles()) {
        if (auto known = m_orderByFileName.find(name); known != m_orderByFileName.end()) {
            m_batches.erase(known->second);
            m_orderByFileName.erase(known);
            forgotten = true;
        }
        if (m_snapshots.erase(name) > 0)
            forgotten = true;
    }
    if (forgotten)
        m_listedWhole = false;
    auto names = entryNames(batchesPath());
    std::erase_if(names, [&](const std::string& name) {
        if (!name.starts_with("."))
            return false;
        if (holdingWriteLock && name.ends_with(".tmp"))
            ::unlink((batchesPath() + "/" + name).c_str());
        return true;
    });
    // The same files as at the last read, every one of them taken in: nothing came, went or waits to be
    // tried again, and a folder of many files (those kept for installations that are away) costs no
    // more than its listing. An unchanged folder lists in the same order.
    if (m_listedWhole && names == m_listed)
        return;
    m_listedWhole = false;
    m_listed = names;
    std::sort(names.begin(), names.end());
    auto present = [&](const std::string& name) { return std::binary_search(names.begin(), names.end(), name); };
    // Each name is parsed once: a folder keeps many files for installations that are away.
    std::vector<ChangeBatch::Name> parsedNames;
    std::vector<std::pair<std::int64_t, std::string>> snapshotsBySequence;
    m_presentSequences.clear();
    m_listedFiles.clear();
    for (const auto& name : names) {
        // Anything else a sync tool or a person leaves here (conflict copies, notes) is not ours.
        auto parsed = ChangeBatch::parseFileName(name);
        if (!parsed)
            continue;
        m_listedFiles.emplace_back(name, false);
        auto& highest = m_highestSequence[parsed->device];
        highest = std::max(highest, parsed->sequence);
        m_presentSequences[parsed->device].insert(parsed->sequence);
        if (parsed->isSnapshot)
            snapshotsBySequence.emplace_back(parsed->sequence, name);
        parsedNames.push_back(std::move(*parsed));
    }

    bool allRead = true;
    // Snapshots first, each device's newest first: the newest readable one says which files need no
    // reading at all, earlier snapshots among them. Only the base keeps its records, in the base state.
    std::erase_if(m_snapshots, [&](const auto& entry) { return !present(entry.first); });
    std::map<std::string, std::shared_ptr<ChangeBatch>> readNow;
    std::sort(snapshotsBySequence.begin(), snapshotsBySequence.end(), std::greater<>());
    for (const auto& [sequence, name] : snapshotsBySequence) {
        bool covered = std::any_of(m_snapshots.begin(), m_snapshots.end(),
                                   [&](const auto& entry) { return entry.second->snapshot->covers.contains(name); });
        if (covered || m_snapshots.contains(name))
            continue;
        if (auto snapshot = readFile(name)) {
            m_snapshots.emplace(name, withoutChanges(*snapshot));
            readNow.emplace(name, std::move(snapshot));
        } else {
            allRead = false;
        }
    }
    std::shared_ptr<const ChangeBatch> base;
    while (true) {
        base = nullptr;
        for (const auto& [name, snapshot] : m_snapshots) {
            if (!base || base->order() < snapshot->order())
                base = snapshot;
        }
        if (!base || base == m_base)
            break;
        // A snapshot read before whose records were let go (an earlier base came back, the later one
        // gone) is read again.
        auto name = base->fileName();
        auto whole = readNow.contains(name) ? readNow[name] : readFile(name);
        if (whole) {
            base = m_snapshots[name] = withoutChanges(*whole);
            takeBase(std::move(*whole));
            break;
        }
        m_snapshots.erase(name);
        allRead = false;
    }
    readNow.clear();
    bool baseChanged = base != m_base;
    m_base = base;
    if (!m_base)
        m_baseState.clear();
    if (m_base) {
        m_highestClock = std::max(m_highestClock, m_base->clock);
        m_operationIDs.insert(m_base->snapshot->operationIDs.begin(), m_base->snapshot->operationIDs.end());
    }

    std::vector<std::shared_ptr<ChangeBatch>> added;
    std::vector<std::string> unread;
    m_coveredFiles.clear();
    for (std::size_t index = 0; index < m_listedFiles.size(); ++index) {
        auto& [name, covered] = m_listedFiles[index];
        const auto& parsed = parsedNames[index];
        covered = m_base && m_base->snapshot->covers.contains(parsed.device, parsed.sequence);
        if (covered)
            m_coveredFiles.push_back(name);
        else if (!parsed.isSnapshot && !m_orderByFileName.contains(name))
            unread.push_back(name);
    }
    for (auto& batch : readFiles(unread)) {
        if (batch)
            added.push_back(std::move(batch));
        else
            allRead = false;
    }

    bool removed = forgotten;
    for (auto it = m_orderByFileName.begin(); it != m_orderByFileName.end();) {
        if (present(it->first) && !isCovered(it->first)) {
            ++it;
            continue;
        }
        m_batches.erase(it->second);
        it = m_orderByFileName.erase(it);
        removed = true;
    }
    std::erase_if(m_unreadable, [&](const auto& entry) { return !present(entry.first) || isCovered(entry.first); });
    if (baseChanged || !m_notedBase)
        noteReadingFrom();
    m_listedWhole = allRead && m_unreadable.empty();

    if (added.empty() && !removed && !baseChanged && unreadableBefore == m_unreadable.size())
        return;
    ++m_readChanges;
    if (added.empty() && !removed && !baseChanged)
        return;
    std::sort(added.begin(), added.end(), [](const auto& lhs, const auto& rhs) { return lhs->order() < rhs->order(); });
    for (const auto& batch : added) {
        m_batches.emplace(batch->order(), batch);
        m_orderByFileName.emplace(batch->fileName(), batch->order());
        m_highestClock = std::max(m_highestClock, batch->clock);
        if (batch->operationID)
            m_operationIDs.insert(*batch->operationID);
    }
    // A batch that sorts before one already applied (it arrived late from another machine) changes
    // history: everything is applied again, in order. So does a new snapshot.
    if (baseChanged || removed || (!added.empty() && m_lastApplied && added.front()->order() < *m_lastApplied)) {
        rebuildState(added);
        return;
    }
    for (const auto& batch : added)
        applyAndLetGo(*batch);
    m_lastApplied = added.back()->order();
}

void DatabaseFolder::applyAndLetGo(ChangeBatch& batch)
{
    m_state.take(std::move(batch));
    for (auto& change : batch.changes)
        change.fields.clear();
}

void DatabaseFolder::takeBase(ChangeBatch&& snapshot)
{
    m_baseState.clear();
    m_baseState.take(std::move(snapshot));
}

void DatabaseFolder::rebuildState(const std::vector<std::shared_ptr<ChangeBatch>>& whole)
{
    m_lastApplied.reset();
    // The batches past the snapshot apply on it in their own order, whatever their clocks: every reader
    // with the same files agrees. The copy shares the base's records.
    m_state = m_baseState;
    // Batches let go of their values once applied (the state holds them): those not read just now are
    // read again, all at once.
    std::map<const ChangeBatch*, ChangeBatch*> holding;
    for (const auto& batch : whole)
        holding.emplace(batch.get(), batch.get());
    std::vector<std::string> names;
    for (const auto& [order, batch] : m_batches) {
        if (!holding.contains(batch.get()))
            names.push_back(batch->fileName());
    }
    auto again = readFiles(names);
    std::size_t next = 0;
    for (auto it = m_batches.begin(); it != m_batches.end();) {
        auto* values = holding.contains(it->second.get()) ? holding[it->second.get()] : again[next++].get();
        // Gone or changed since it was read: it counts no longer, and the next read meets it as it is now.
        if (!values || values->order() != it->first) {
            m_orderByFileName.erase(it->second->fileName());
            it = m_batches.erase(it);
            m_listedWhole = false;
            continue;
        }
        m_state.take(std::move(*values));
        for (auto& change : values->changes)
            change.fields.clear();
        m_lastApplied = it->first;
        ++it;
    }
}

void DatabaseFolder::noteReadingFrom()
{
    auto reading = m_base ? m_base->fileName() : std::string();
    m_notedBase = reading;
    auto path = installationsPath() + "/" + ServiceState::shared().deviceIdentifier();
    try {
        if (std::string(Foundation::FileIO::readFile(path).view()) == reading)
            return;
    } catch (...) {
        // Not written yet.
    }
    try {
        AtomicFile::write(path, Foundation::Data::fromString(reading));
    } catch (...) {
        // Until it is written the others keep what this installation may still need.
    }
}

void DatabaseFolder::publish(ChangeBatch& batch)
{
    ++m_readChanges;
    const auto& device = ServiceState::shared().deviceIdentifier();
    batch.device = device;
    batch.sequence = nextSequence();
    batch.clock = m_highestClock + 1;
    batch.date = Foundation::Date::now();
    auto namer = [](const CKAsset& asset) { return fs::path(asset.fileURL()->path().utf8()).filename().string(); };
    auto path = batchesPath() + "/" + batch.fileName();
    // Noted first: the watcher may see the file the moment it is renamed into place.
    ServiceState::shared().noteOwnBatch(path);
    std::vector<ChangeBatch::Span> spans;
    AtomicFile::write(path, batch.encoded(m_container, m_account, namer, &spans));
    keepSequence(batch.sequence);
    locate(batch, spans);

    m_highestSequence[device] = batch.sequence;
    m_presentSequences[device].insert(batch.sequence);
    m_highestClock = batch.clock;
    auto published = std::make_shared<ChangeBatch>(std::move(batch));
    m_batches.emplace(published->order(), published);
    m_orderByFileName.emplace(published->fileName(), published->order());
    if (published->operationID)
        m_operationIDs.insert(*published->operationID);
    applyAndLetGo(*published);
    m_lastApplied = published->order();
    compactIfDue();
    removeSuperseded();
}

CKError::PartialErrors DatabaseFolder::damage(const std::optional<CKRecordZoneID>& zoneID) const
{
    CKError::PartialErrors errors;
    for (const auto& [name, unreadable] : m_unreadable)
        errors.emplace_back(Foundation::String(name), unreadable.error);
    // A sequence missing between two a device wrote is a batch the folder lost (or that has not
    // arrived yet): installations that read it and those that did not now disagree.
    constexpr std::size_t mostReported = 20;
    std::size_t missing = 0;
    for (const auto& [device, sequences] : m_presentSequences) {
        std::int64_t expected = *sequences.begin();
        for (auto sequence : sequences) {
            for (; expected < sequence && missing < mostReported; ++expected) {
                // A batch the snapshot holds may go.
                auto name = ChangeBatch::fileName(device, expected);
                if (isCovered(name))
                    continue;
                errors.emplace_back(Foundation::String(name),
                                    CKError(CKError::Code::internalError, "The change batch " + name + " is missing from the container").clone());
                ++missing;
            }
            expected = sequence + 1;
        }
    }
    for (const auto& id : m_state.zoneIDs()) {
        const auto* zone = m_state.zone(id);
        if ((zoneID && !(*zoneID == id)) || zone->withoutCreation.empty())
            continue;
        errors.emplace_back(Foundation::String("zone " + id.zoneName().utf8()),
                            CKError(CKError::Code::internalError, "The change batch that made zone " + zoneText(id) + " is missing from the container").clone());
    }
    return errors;
}

Foundation::ErrorPtr DatabaseFolder::checkSave(const CKRecord& record, SavePolicy policy, Change& change)
{
    const auto& id = record.recordID();
    const auto& name = id.recordName().utf8();
    const auto& type = record.recordType().utf8();
    auto invalid = [&](const std::string& why) { return CKError(CKError::Code::invalidArguments, why).clone(); };
    if (!RecordCoding::isValidName(type))
        return invalid("\"" + type + "\" is not a valid record type");
    if (name.empty() || name.size() > 255)
        return invalid("\"" + name + "\" is not a valid record name");
    auto zone = m_state.zone(id.zoneID());
    if (!zone)
        return zoneNotFound(id.zoneID()).clone();
    auto existing = m_state.record(id.zoneID(), name);
    if (existing && existing->type != type)
        return invalid("Record \"" + name + "\" is of type \"" + existing->type + "\", not \"" + type + "\"");
    if (policy == SavePolicy::ifServerRecordUnchanged) {
        auto tag = record.recordChangeTag();
        if (existing && (!tag || tag->utf8() != existing->changeTag))
            return CKError::serverRecordChanged(serverRecord(id.zoneID(), name), record.copy()).clone();
        if (!existing && tag)
            return CKError(CKError::Code::unknownItem, "Record \"" + name + "\" no longer exists").clone();
    }

    change.kind = Change::Kind::saveRecord;
    change.zoneID = id.zoneID();
    change.incarnation = zone->incarnation;
    change.recordName = name;
    change.recordType = type;
    change.replacesFields = policy == SavePolicy::allKeys;
    if (change.replacesFields) {
        for (auto& [key, value] : record.fields())
            change.fields.emplace(key, std::move(value));
    } else {
        change.fields = record.changedValues();
    }

    std::size_t size = 0;
    for (const auto& [key, value] : change.fields) {
        if (!RecordCoding::isValidName(key))
            return invalid("\"" + key + "\" is not a valid field name");
        if (!value)
            continue;
        if (!AssetFolder::hasFiles(*value))
            return CKError(CKError::Code::assetFileNotFound, "The file of the asset in field \"" + key + "\" does not exist").clone();
        Foundation::JSONStreamWriter encoded;
        RecordCoding::encode(encoded, *value, [](const CKAsset&) { return std::string(); });
        size += key.size() + encoded.text().size();
    }
    if (size > maximumRecordSize)
        return CKError(CKError::Code::limitExceeded, "Record \"" + name + "\" is larger than 1 MB").clone();
    return nullptr;
}

DatabaseFolder::ModifyOutcome DatabaseFolder::modifyRecords(const ModifyRequest& request,
                                                            const std::optional<CKSimulation::Failure>& zoneFailure)
{
    if (request.recordsToSave.size() + request.recordIDsToDelete.size() > maximumItemsPerRequest)
        throw CKError(CKError::Code::limitExceeded,
                      "A request may hold at most " + std::to_string(maximumItemsPerRequest) + " records");

    std::lock_guard lock(m_mutex);
    FolderLock writeLock(m_path);
    refresh(true);
    if (!m_sweptAfterDeadWriters) {
        FolderLock::removeTemporaryFiles(assetsPath());
        FolderLock::removeTemporaryFiles(longLivedPath());
        m_sweptAfterDeadWriters = true;
    }

    ModifyOutcome outcome;
    if (request.operationID && m_operationIDs.contains(*request.operationID)) {
        for (const auto& record : request.recordsToSave) {
            const auto& id = record->recordID();
            auto saved = serverRecord(id.zoneID(), id.recordName().utf8());
            if (saved)
                outcome.saves.emplace_back(id, Foundation::Result<std::shared_ptr<CKRecord>>::success(saved));
            else if (auto known = m_state.record(id.zoneID(), id.recordName().utf8()); known && !known->unreadable)
                outcome.saves.emplace_back(id, Foundation::Result<std::shared_ptr<CKRecord>>::failure(
                                                   CKError(CKError::Code::internalError, "The saved record \"" + id.recordName().utf8() + "\" cannot be read back")));
            else
                outcome.saves.emplace_back(id, Foundation::Result<std::shared_ptr<CKRecord>>::failure(
                                                   CKError(CKError::Code::unknownItem, "Record \"" + id.recordName().utf8() + "\" no longer exists")));
        }
        for (const auto& id : request.recordIDsToDelete)
            outcome.deletes.emplace_back(id, Foundation::Result<void>::success());
        return outcome;
    }

    struct Item {
        CKRecordID id;
        Foundation::ErrorPtr error;
        Change change;
    };
    std::vector<Item> saves;
    std::vector<Item> deletes;
    std::set<CKRecordID> requested;
    auto duplicate = [](const CKRecordID& id) {
        return CKError(CKError::Code::invalidArguments, "Record \"" + id.recordName().utf8() + "\" appears twice in the request").clone();
    };
    for (const auto& record : request.recordsToSave) {
        Item item {record->recordID(), nullptr, {}};
        if (!requested.insert(item.id).second)
            item.error = duplicate(item.id);
        else if (failsZone(zoneFailure, item.id.zoneID()))
            item.error = injected(*zoneFailure).clone();
        else
            item.error = checkSave(*record, request.savePolicy, item.change);
        saves.push_back(std::move(item));
    }
    for (const auto& id : request.recordIDsToDelete) {
        Item item {id, nullptr, {}};
        auto zone = m_state.zone(id.zoneID());
        if (!requested.insert(id).second)
            item.error = duplicate(id);
        else if (failsZone(zoneFailure, id.zoneID()))
            item.error = injected(*zoneFailure).clone();
        else if (!zone)
            item.error = zoneNotFound(id.zoneID()).clone();
        else {
            auto existing = m_state.record(id.zoneID(), id.recordName().utf8());
            item.change = {Change::Kind::deleteRecord, id.zoneID(), zone->incarnation, id.recordName().utf8(),
                           existing ? existing->type : std::string(), false, {}, nullptr};
            if (existing)
                item.change.deletedTag = existing->changeTag;
        }
        deletes.push_back(std::move(item));
    }

    // In a custom zone an atomic request saves all of its items there or none.
    if (request.isAtomic) {
        std::set<CKRecordZoneID> failedZones;
        for (const auto* items : {&saves, &deletes}) {
            for (const auto& item : *items) {
                if (item.error && !item.id.zoneID().isDefaultZone())
                    failedZones.insert(item.id.zoneID());
            }
        }
        for (auto* items : {&saves, &deletes}) {
            for (auto& item : *items) {
                if (!item.error && failedZones.contains(item.id.zoneID()))
                    item.error = CKError(CKError::Code::batchRequestFailed, "Another item of the atomic request failed").clone();
            }
        }
    }

    ChangeBatch batch;
    batch.operationID = request.operationID;
    for (auto& item : saves) {
        if (item.error)
            continue;
        for (auto& [key, value] : item.change.fields) {
            if (value)
                value = m_assets.importing(*value);
        }
        batch.changes.push_back(item.change);
    }
    for (const auto& item : deletes) {
        if (!item.error)
            batch.changes.push_back(item.change);
    }
    if (!batch.changes.empty())
        publish(batch);

    for (const auto& item : saves) {
        if (item.error)
            outcome.saves.emplace_back(item.id, Foundation::Result<std::shared_ptr<CKRecord>>::failure(item.error));
        else if (auto saved = serverRecord(item.id.zoneID(), item.id.recordName().utf8()))
            outcome.saves.emplace_back(item.id, Foundation::Result<std::shared_ptr<CKRecord>>::success(saved));
        else
            outcome.saves.emplace_back(item.id, Foundation::Result<std::shared_ptr<CKRecord>>::failure(
                                                    CKError(CKError::Code::internalError, "The saved record \"" + item.id.recordName().utf8() + "\" cannot be read back")));
    }
    for (const auto& item : deletes) {
        outcome.deletes.emplace_back(item.id, item.error ? Foundation::Result<void>::failure(item.error)
                                                         : Foundation::Result<void>::success());
    }
    return outcome;
}

bool DatabaseFolder::hasPublished(const std::string& operationID)
{
    std::lock_guard lock(m_mutex);
    refresh(false);
    return m_operationIDs.contains(operationID);
}

DatabaseFolder::ZoneOutcome DatabaseFolder::modifyZones(const std::vector<CKRecordZoneID>& zonesToSave,
                                                        const std::vector<CKRecordZoneID>& zonesToDelete,
                                                        const std::optional<CKSimulation::Failure>& zoneFailure)
{
    std::lock_guard lock(m_mutex);
    FolderLock writeLock(m_path);
    refresh(true);

    ZoneOutcome outcome;
    ChangeBatch batch;
    std::set<CKRecordZoneID> creating;
    for (const auto& zoneID : zonesToSave) {
        using Result = Foundation::Result<std::shared_ptr<CKRecordZone>>;
        const auto& name = zoneID.zoneName().utf8();
        if (failsZone(zoneFailure, zoneID)) {
            outcome.saves.emplace_back(zoneID, Result::failure(injected(*zoneFailure)));
        } else if (!ServiceState::isValidIdentifier(name) || zoneID.ownerName().utf8() != CKCurrentUserDefaultName) {
            outcome.saves.emplace_back(zoneID, Result::failure(CKError(CKError::Code::invalidArguments, "\"" + name + "\" is not a valid zone of this user")));
        } else {
            if (!m_state.zone(zoneID) && creating.insert(zoneID).second)
                batch.changes.push_back({Change::Kind::createZone, zoneID, Foundation::UUID().uuidString().utf8(), {}, {}, false, {}, nullptr});
            outcome.saves.emplace_back(zoneID, Result::success(Foundation::make<CKRecordZone>(zoneID)));
        }
    }
    for (const auto& zoneID : zonesToDelete) {
        using Result = Foundation::Result<void>;
        if (failsZone(zoneFailure, zoneID)) {
            outcome.deletes.emplace_back(zoneID, Result::failure(injected(*zoneFailure)));
        } else if (zoneID.isDefaultZone()) {
            outcome.deletes.emplace_back(zoneID, Result::failure(CKError(CKError::Code::invalidArguments, "The default zone cannot be deleted")));
        } else if (!m_state.zone(zoneID) && !creating.contains(zoneID)) {
            outcome.deletes.emplace_back(zoneID, Result::failure(zoneNotFound(zoneID)));
        } else {
            batch.changes.push_back({Change::Kind::deleteZone, zoneID, {}, {}, {}, false, {}, nullptr});
            outcome.deletes.emplace_back(zoneID, Result::success());
        }
    }
    if (!batch.changes.empty())
        publish(batch);
    return outcome;
}

std::vector<std::pair<CKRecordZoneID, Foundation::Result<std::shared_ptr<CKRecordZone>>>>
DatabaseFolder::fetchZones(const std::optional<std::vector<CKRecordZoneID>>& zoneIDs, const std::optional<CKSimulation::Failure>& zoneFailure)
{
    using Result = Foundation::Result<std::shared_ptr<CKRecordZone>>;
    std::lock_guard lock(m_mutex);
    refresh(false);
    std::vector<CKRecordZoneID> wanted;
    if (zoneIDs) {
        wanted = *zoneIDs;
    } else {
        auto all = m_state.zoneIDs();
        wanted.assign(all.begin(), all.end());
    }
    std::vector<std::pair<CKRecordZoneID, Result>> results;
    for (const auto& zoneID : wanted) {
        if (failsZone(zoneFailure, zoneID))
            results.emplace_back(zoneID, Result::failure(injected(*zoneFailure)));
        else if (m_state.zone(zoneID))
            results.emplace_back(zoneID, Result::success(Foundation::make<CKRecordZone>(zoneID)));
        else
            results.emplace_back(zoneID, Result::failure(zoneNotFound(zoneID)));
    }
    return results;
}

DatabaseFolder::ZoneChanges DatabaseFolder::fetchChanges(const CKRecordZoneID& zoneID, const std::shared_ptr<CKServerChangeToken>& since,
                                                         std::int64_t resultsLimit, bool fetchAllChanges)
{
    std::lock_guard lock(m_mutex);
    refresh(false);

    std::optional<ChangeTokenPayload> start;
    if (since) {
        start = ChangeTokenPayload::decode(since->payload());
        if (!start || start->container != m_container || start->account != m_account || start->zoneID != zoneID)
            throw CKError(CKError::Code::changeTokenExpired, "The change token belongs to another container, account or zone");
    }
    auto zone = m_state.zone(zoneID);
    if (!zone)
        throw zoneNotFound(zoneID);
    if (start && !zone->holds(start->incarnation))
        throw CKError(CKError::Code::changeTokenExpired, "Zone " + zoneText(zoneID) + " was deleted and made again since the change token was made");
    ChangeTokenPayload payload = start ? std::move(*start) : ChangeTokenPayload {m_container, m_account, zoneID, zone->incarnation, {}};

    ZoneChanges result;
    result.unreadableBatches = damage(zoneID);

    // What a fetch walks through, each part ending with the batch it makes seen. The snapshot comes
    // first, as it applies first: its records and deletions are taken by the batch each came from, so
    // that a token cut inside it still says exactly what it has seen.
    // A record a part touches: saved, or deleted (with the type it had).
    struct Touch {
        const std::string* name;
        const std::string* deletedType;
    };
    struct Part {
        std::vector<Touch> touched;
        std::string seen;
        const SeenBatches* alsoSeen = nullptr;
    };
    std::vector<Part> unseen;
    if (m_base && !payload.seen.contains(m_base->fileName())) {
        std::map<std::string, std::vector<Touch>> byBatch;
        const auto* base = m_baseState.zone(zoneID);
        if (base && zone->holds(base->incarnation)) {
            for (const auto& [name, record] : base->records) {
                if (!payload.seen.contains(*record->changedIn))
                    byBatch[*record->changedIn].push_back({&name, nullptr});
            }
            for (const auto& [name, deletion] : base->deletions) {
                if (!payload.seen.contains(deletion.deletedIn))
                    byBatch[deletion.deletedIn].push_back({&name, &deletion.type});
            }
        }
        for (auto& [name, touched] : byBatch)
            unseen.push_back({std::move(touched), name, nullptr});
        unseen.push_back({{}, m_base->fileName(), &m_base->snapshot->covers});
    }
    for (const auto& [order, batch] : m_batches) {
        if (payload.seen.contains(batch->fileName()))
            continue;
        Part part {{}, batch->fileName(), nullptr};
        for (const auto& change : batch->changes) {
            bool recordChange = change.kind == Change::Kind::saveRecord || change.kind == Change::Kind::deleteRecord;
            if (recordChange && change.zoneID == zoneID && zone->holds(change.incarnation))
                part.touched.push_back({&change.recordName, change.kind == Change::Kind::deleteRecord ? &change.recordType : nullptr});
        }
        unseen.push_back(std::move(part));
    }
    // Each record is delivered once, with the batch that changed it last, so that a fetch stopped
    // between rounds never delivers a record twice nor misses one.
    std::map<std::string, std::size_t> lastChange;
    std::map<std::string, std::string> deletedType;
    for (std::size_t index = 0; index < unseen.size(); ++index) {
        for (const auto& touch : unseen[index].touched) {
            lastChange[*touch.name] = index;
            if (touch.deletedType)
                deletedType[*touch.name] = *touch.deletedType;
        }
    }
    std::vector<std::vector<std::string>> deliverAt(unseen.size());
    for (const auto& [name, index] : lastChange)
        deliverAt[index].push_back(name);

    auto limit = resultsLimit > 0 ? resultsLimit : defaultRoundSize;
    ChangeRound round;
    std::int64_t count = 0;
    for (std::size_t index = 0; index < unseen.size(); ++index) {
        for (const auto& name : deliverAt[index]) {
            CKRecordID id(name, zoneID);
            if (auto record = m_state.sharedRecord(zoneID, name)) {
                round.changed.emplace_back(id, std::move(record));
                ++count;
            } else if (start) {
                round.deleted.emplace_back(id, Foundation::String(deletedType[name]));
                ++count;
            }
        }
        payload.seen.insert(unseen[index].seen);
        if (unseen[index].alsoSeen)
            payload.seen.insert(*unseen[index].alsoSeen);
        if (count >= limit && index + 1 < unseen.size()) {
            round.token = CKServerChangeToken::withPayload(payload.encoded());
            result.rounds.push_back(std::move(round));
            round = {};
            count = 0;
            if (!fetchAllChanges) {
                result.moreComing = true;
                return result;
            }
        }
    }
    round.token = CKServerChangeToken::withPayload(payload.encoded());
    result.rounds.push_back(std::move(round));
    return result;
}

DatabaseFolder::DatabaseChanges DatabaseFolder::fetchDatabaseChanges(const std::shared_ptr<CKServerChangeToken>& since)
{
    std::lock_guard lock(m_mutex);
    if (!m_hasRead) {
        if (auto unchanged = unchangedSinceSettled(since))
            return std::move(*unchanged);
    }
    refresh(false);

    std::optional<ChangeTokenPayload> start;
    if (since) {
        start = ChangeTokenPayload::decode(since->payload());
        if (!start || start->container != m_container || start->account != m_account || start->incarnation != databaseTokenIncarnation)
            throw CKError(CKError::Code::changeTokenExpired, "The change token belongs to another container or account, or to a zone");
    }
    ChangeTokenPayload payload = start ? std::move(*start) : ChangeTokenPayload {m_container, m_account, {}, databaseTokenIncarnation, {}};

    DatabaseChanges result;
    result.unreadableBatches = damage(std::nullopt);
    std::set<CKRecordZoneID> changed;
    std::set<CKRecordZoneID> deleted;
    if (m_base && !payload.seen.contains(m_base->fileName())) {
        // A token that has seen everything the snapshot holds learns nothing from it.
        if (!payload.seen.includes(m_base->snapshot->covers)) {
            for (const auto& id : m_baseState.zoneIDs()) {
                if (!id.isDefaultZone() && m_state.zone(id))
                    changed.insert(id);
            }
            for (const auto& deletion : m_base->snapshot->deletedZones) {
                if (!payload.seen.contains(deletion.batch))
                    deleted.insert(deletion.zoneID);
            }
        }
        payload.seen.insert(m_base->snapshot->covers);
        payload.seen.insert(m_base->fileName());
    }
    for (const auto& [order, batch] : m_batches) {
        if (payload.seen.contains(batch->fileName()))
            continue;
        payload.seen.insert(batch->fileName());
        for (const auto& change : batch->changes) {
            if (change.kind == Change::Kind::deleteZone)
                deleted.insert(change.zoneID);
            else if (!change.zoneID.isDefaultZone() && m_state.zone(change.zoneID))
                changed.insert(change.zoneID);
        }
    }
    if (start) {
        result.deleted.assign(deleted.begin(), deleted.end());
        result.changed.assign(changed.begin(), changed.end());
    } else {
        for (const auto& zoneID : m_state.zoneIDs()) {
            if (!zoneID.isDefaultZone())
                result.changed.push_back(zoneID);
        }
    }
    result.token = CKServerChangeToken::withPayload(payload.encoded());
    if (result.unreadableBatches.empty())
        noteSettled();
    return result;
}

} // namespace CloudKit
