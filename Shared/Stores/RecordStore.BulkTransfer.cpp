#include "Shared/Stores/RecordStore.BulkTransfer.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Model/EntryRevision.hpp"
#include "Shared/Stores/AttachmentObject.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/RecordSealing.hpp"
#include "Shared/Stores/RecordStore.Templates.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/DispatchGroup.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/WorkerPool.hpp"

#include <algorithm>
#include <bit>
#include <condition_variable>
#include <deque>
#include <exception>
#include <future>
#include <map>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace Shared {

namespace {

// An item as the store holds it, read without making its object so that it can be opened on any thread.
struct StoredEntry {
    enum class State {
        sealed,
        // A fetched record waits to be merged, the context has unsaved changes, or something is unusual:
        // read through its object.
        throughObject,
    };
    Foundation::String id;
    State state = State::sealed;
    Foundation::Data sealed;
};

StoredEntry storedEntry(Foundation::String id, Foundation::Data* sealed, bool direct)
{
    StoredEntry entry {std::move(id), direct ? StoredEntry::State::sealed : StoredEntry::State::throughObject, {}};
    if (direct)
        entry.sealed = std::move(*sealed);
    return entry;
}

// The place of each identifier in a list, found without a node per identifier: open addressing over
// the list's own strings.
class Places {
public:
    static constexpr std::size_t none = static_cast<std::size_t>(-1);

    explicit Places(const std::vector<Foundation::String>& ids)
        : m_ids(ids)
        , m_slots(std::bit_ceil(ids.size() * 2 + 2), none)
        , m_mask(m_slots.size() - 1)
    {
        for (std::size_t i = 0; i < ids.size(); ++i) {
            auto at = slot(ids[i].view());
            while (m_slots[at] != none && m_ids[m_slots[at]] != ids[i])
                at = (at + 1) & m_mask;
            if (m_slots[at] == none)
                m_slots[at] = i;
        }
    }

    std::size_t find(std::string_view id) const
    {
        for (auto at = slot(id); m_slots[at] != none; at = (at + 1) & m_mask) {
            if (m_ids[m_slots[at]].view() == id)
                return m_slots[at];
        }
        return none;
    }

private:
    std::size_t slot(std::string_view id) const { return std::hash<std::string_view>()(id) & m_mask; }

    const std::vector<Foundation::String>& m_ids;
    std::vector<std::size_t> m_slots;
    std::size_t m_mask;
};

// The store's items in the order it keeps them, a batch after another; the last one's key leads to the next.
struct ScannedEntries {
    std::vector<StoredEntry> entries;
    std::optional<std::int64_t> last;
    bool isLast = false;
};

// The items handed on are laid out while the next ones are opened; one batch at a time, in order.
struct HandingOn {
    std::future<void> done;
    std::vector<Entry> entries;
    ~HandingOn()
    {
        if (done.valid())
            done.wait();
    }
};

// The next batch is read while this one is opened and handed on.
struct Prefetch {
    std::future<ScannedEntries> result;
    ~Prefetch()
    {
        if (result.valid())
            result.wait();
    }
};

} // namespace

// The items come in the order of the list, read from the store in its own order: one pass over the
// rows a batch at a time reads far less than looking each item up by name. The list's order mostly is
// the store's; the few items out of place are looked up by name when they hold the others back.
class RecordStoreBulkTransfer::Reading {
public:
    Reading(const RecordStore& store, const std::vector<Foundation::String>& ids, bool includingTrashed,
            const std::function<void(std::vector<Entry>& batch)>& batch)
        : m_store(store)
        , m_ids(ids)
        , m_positions(ids)
        , m_includingTrashed(includingTrashed)
        , m_batch(batch)
        , m_key(store.performUnlocked([](const Cryptor::Key& key) { return key.copy(); }))
    {
    }

    void run();

private:
    // Large enough that opening runs on every core, small enough that a batch's items are soon let go
    // of and their memory used again by the next.
    static constexpr std::size_t batchSize = 2000;
    static constexpr std::size_t mostHeldBack = 3 * batchSize;

    ScannedEntries scan(std::optional<std::int64_t> after) const;
    // Items looked up by name, a few hundred names a fetch so that each looks its names up in the index.
    std::vector<StoredEntry> lookUp(const std::vector<Foundation::String>& names) const;
    // Opens the items that belong to places not yet filled, on every core.
    void open(std::vector<StoredEntry>& stored);
    // Hands on the items whose places follow on from those handed on.
    void handOn();
    // Looks up the items of the next places not yet read, so that those after them can go on.
    void lookUpNext();

    const RecordStore& m_store;
    const std::vector<Foundation::String>& m_ids;
    const Places m_positions;
    const bool m_includingTrashed;
    const std::function<void(std::vector<Entry>& batch)>& m_batch;
    const Cryptor::Key m_key;
    // Opened items by their place in the list; nothing for those left out.
    std::map<std::size_t, std::optional<Entry>> m_held;
    std::size_t m_next = 0;
    HandingOn m_handingOn;
};

ScannedEntries RecordStoreBulkTransfer::Reading::scan(std::optional<std::int64_t> after) const
{
    return m_store.performUnlocked([&](const Cryptor::Key&) {
        const auto& context = m_store.m_context;
        CoreData::NSFetchRequest<CoreData::NSManagedObject> request(EntryObject::entityName());
        auto predicate = SyncedObject::notDeleted();
        if (after) {
            predicate = CoreData::NSExpression::expressionForEvaluatedObject() > CoreData::Value(CoreData::NSManagedObjectID(EntryObject::entityName(), *after))
                && predicate;
        }
        request.setPredicate(predicate);
        request.setFetchLimit(static_cast<std::int64_t>(batchSize));
        request.setPropertiesToFetch({"objectID", "recordName", "sealedEntry", "remoteSealedEntry"});
        // Unsaved changes are in the objects only.
        const bool unsaved = context->hasChanges();
        auto rows = context->fetchValues(request);
        ScannedEntries scanned;
        scanned.isLast = rows.size() < batchSize;
        scanned.entries.reserve(rows.size());
        for (auto& row : rows) {
            if (const auto* objectID = row[0].as<CoreData::NSManagedObjectID>())
                scanned.last = objectID->primaryKey();
            if (auto* id = row[1].as<Foundation::String>())
                scanned.entries.push_back(storedEntry(std::move(*id), row[2].as<Foundation::Data>(), !unsaved && row[2].as<Foundation::Data>() && row[3].isNil()));
        }
        if (!scanned.last)
            scanned.isLast = true;
        return scanned;
    });
}

std::vector<StoredEntry> RecordStoreBulkTransfer::Reading::lookUp(const std::vector<Foundation::String>& names) const
{
    return m_store.performUnlocked([&](const Cryptor::Key&) {
        const auto& context = m_store.m_context;
        std::vector<StoredEntry> found;
        if (context->hasChanges()) {
            for (const auto& name : names)
                found.push_back({name, StoredEntry::State::throughObject, {}});
            return found;
        }
        constexpr std::size_t namesPerFetch = 250;
        for (std::size_t start = 0; start < names.size(); start += namesPerFetch) {
            auto end = std::min(names.size(), start + namesPerFetch);
            CoreData::NSFetchRequest<CoreData::NSManagedObject> request(EntryObject::entityName());
            request.setPredicate(SyncedObject::named(std::vector<Foundation::String>(names.begin() + static_cast<std::ptrdiff_t>(start),
                                                                                     names.begin() + static_cast<std::ptrdiff_t>(end)))
                                 && SyncedObject::notDeleted());
            request.setPropertiesToFetch({"recordName", "sealedEntry", "remoteSealedEntry"});
            for (auto& row : context->fetchValues(request)) {
                if (auto* id = row[0].as<Foundation::String>())
                    found.push_back(storedEntry(std::move(*id), row[1].as<Foundation::Data>(), row[1].as<Foundation::Data>() && row[2].isNil()));
            }
        }
        return found;
    });
}

void RecordStoreBulkTransfer::Reading::open(std::vector<StoredEntry>& stored)
{
    std::vector<std::size_t> places(stored.size());
    std::vector<std::optional<Entry>> opened(stored.size());
    std::vector<std::exception_ptr> failures(stored.size());
    concurrentPerform(stored.size(), [&](std::size_t i) {
        auto place = m_positions.find(stored[i].id.view());
        places[i] = place;
        if (place == Places::none || place < m_next || stored[i].state != StoredEntry::State::sealed)
            return;
        try {
            opened[i] = RecordSealing::openRevision(stored[i].id, &stored[i].sealed, m_key).entry;
        } catch (...) {
            failures[i] = std::current_exception();
        }
        stored[i].sealed = {};
    });
    std::vector<Foundation::String> others;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        // A second row of the same name counts once.
        if (places[i] == Places::none || places[i] < m_next || !m_held.emplace(places[i], std::nullopt).second)
            places[i] = Places::none;
        else if (stored[i].state == StoredEntry::State::throughObject)
            others.push_back(stored[i].id);
    }
    // Those read through their objects come in the order asked for.
    auto read = others.empty() ? std::vector<Entry>() : m_store.entries(others);
    auto nextRead = read.begin();
    const bool inspecting = m_store.isSafeForInspectionModeActive();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (places[i] == Places::none)
            continue;
        if (failures[i])
            std::rethrow_exception(failures[i]);
        std::optional<Entry> entry;
        if (stored[i].state == StoredEntry::State::sealed) {
            if (!inspecting || opened[i]->isSafeForInspection)
                entry = std::move(opened[i]);
        } else if (nextRead != read.end() && nextRead->id == stored[i].id) {
            entry = std::move(*nextRead++);
        }
        if (entry && (m_includingTrashed || !entry->isTrashed()))
            m_held[places[i]] = std::move(entry);
    }
}

void RecordStoreBulkTransfer::Reading::handOn()
{
    std::vector<Entry> entries;
    while (!m_held.empty() && m_held.begin()->first == m_next) {
        if (auto& entry = m_held.begin()->second)
            entries.push_back(std::move(*entry));
        m_held.erase(m_held.begin());
        ++m_next;
    }
    if (entries.empty())
        return;
    if (m_handingOn.done.valid())
        m_handingOn.done.get();
    m_handingOn.entries = std::move(entries);
    auto task = std::make_shared<std::packaged_task<void()>>([this] {
        m_batch(m_handingOn.entries);
        m_handingOn.entries = {};
    });
    m_handingOn.done = task->get_future();
    Foundation::DispatchQueue::global()->async([task] { (*task)(); });
}

void RecordStoreBulkTransfer::Reading::lookUpNext()
{
    std::vector<Foundation::String> names;
    const auto end = std::min(m_ids.size(), m_next + batchSize);
    for (auto place = m_next; place < end; ++place) {
        if (!m_held.contains(place))
            names.push_back(m_ids[place]);
    }
    auto found = lookUp(names);
    open(found);
    // What the store no longer holds is left out.
    for (auto place = m_next; place < end; ++place)
        m_held.try_emplace(place, std::nullopt);
    handOn();
}

void RecordStoreBulkTransfer::Reading::run()
{
    Prefetch prefetch;
    auto startScanning = [&](std::optional<std::int64_t> after) {
        auto task = std::make_shared<std::packaged_task<ScannedEntries()>>([this, after] { return scan(after); });
        prefetch.result = task->get_future();
        Foundation::DispatchQueue::global()->async([task] { (*task)(); });
    };
    startScanning(std::nullopt);
    while (true) {
        auto scanned = prefetch.result.get();
        if (!scanned.isLast)
            startScanning(scanned.last);
        open(scanned.entries);
        scanned.entries = {};
        handOn();
        while (m_held.size() > mostHeldBack)
            lookUpNext();
        if (scanned.isLast)
            break;
    }
    while (m_next < m_ids.size())
        lookUpNext();
    if (m_handingOn.done.valid())
        m_handingOn.done.get();
}

void RecordStoreBulkTransfer::readEntries(bool includingTrashed, const std::function<void(std::size_t count)>& counted,
                                          const std::function<void(std::vector<Entry>& batch)>& batch) const
{
    auto ids = m_store.withIndex([&](const RecordStore::Index& index, bool safeOnly) {
        auto ids = index.ids();
        std::erase_if(ids, [&](const Foundation::String& id) {
            const auto* found = index.find(id);
            return !found || (safeOnly && !found->isSafeForInspection) || (!includingTrashed && found->isTrashed);
        });
        return ids;
    });
    counted(ids.size());
    if (ids.empty())
        return;
    Reading(m_store, ids, includingTrashed, batch).run();
}

namespace {

// A part of an import on its way from the producer, which seals it on every core, to the store's
// queue, which writes it.
struct Part {
    std::vector<Entry> entries;
    std::vector<Attachment> attachments;
    std::vector<EntryIndex> indices;
    std::vector<std::pair<Foundation::Data, Foundation::Data>> sealed;
};

// The parts between the two; a few wait at most.
struct Channel {
    static constexpr std::size_t waitingLimit = 3;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Part> parts;
    bool produced = false;
    bool stopped = false;
    std::exception_ptr failure;
};

struct Stopped {};

// What the producer hands over is sealed on its thread, with the workers' help.
class Sink : public ImporterRecordSource::BatchSink {
public:
    Sink(const std::unordered_set<std::string>& live, std::function<void(std::vector<Entry>&, std::vector<Attachment>&)> adding)
        : m_live(live)
        , m_adding(std::move(adding))
    {
    }
    // The context waits for the parts: the names read before they began answer.
    std::vector<Foundation::String> existingEntryIDs(const std::vector<Foundation::String>& ids) const override
    {
        std::vector<Foundation::String> found;
        for (const auto& id : ids) {
            if (m_live.contains(id.utf8()))
                found.push_back(id);
        }
        return found;
    }
    void add(std::vector<Entry>& entries, std::vector<Attachment>& attachments) override { m_adding(entries, attachments); }

private:
    const std::unordered_set<std::string>& m_live;
    std::function<void(std::vector<Entry>&, std::vector<Attachment>&)> m_adding;
};

// The producer reads the frame that started it: it ends before the frame does, however the storing ends.
struct Join {
    Channel& channel;
    Foundation::DispatchGroup& group;
    ~Join()
    {
        {
            std::lock_guard lock(channel.mutex);
            channel.stopped = true;
            channel.changed.notify_all();
        }
        Foundation::WorkerPool::BlockingScope waiting;
        group.wait();
    }
};

} // namespace

// One import's parts into the store, in the context's queue: the rows of new items go in through one
// batch insert, markers of deleted items come back to life, and all of it is one save.
class RecordStoreBulkTransfer::Inserting {
public:
    explicit Inserting(const RecordStore& store)
        : m_context(*store.m_context)
        , m_key(store.m_cryptor->itemSecretsKey())
        , m_now(Foundation::Date::now())
        , m_vaultID(RecordStore::defaultVaultID())
    {
    }

    // Answers the summaries of the items written, a part at a time.
    std::vector<std::vector<EntryIndex>> run(const std::function<void(ImporterRecordSource::BatchSink& sink)>& produce);

private:
    // Items the vault has are skipped; markers of deleted ones come back to life.
    void findStored();
    void startProducing(const std::function<void(ImporterRecordSource::BatchSink& sink)>& produce,
                        const std::shared_ptr<Foundation::DispatchGroup>& group);
    // Seals a part on every core and hands it to the store's queue.
    void seal(std::vector<Entry>& entries, std::vector<Attachment>& attachments);
    // The next part, its attachments' descriptions made objects; false when none comes.
    bool takePart();
    void storeAttachments(const std::vector<Attachment>& attachments);
    // Fills the next new item's row, or brings a deleted item's marker back; true when none is left.
    bool fillRow(CoreData::NSBatchInsertRequest::Object& row);

    CoreData::NSManagedObjectContext& m_context;
    const Cryptor::Key m_key;
    const Foundation::Date m_now;
    const Foundation::String m_vaultID;
    std::unordered_set<std::string> m_live;
    std::unordered_map<std::string, std::shared_ptr<EntryObject>> m_markers;
    Channel m_channel;
    std::optional<Part> m_current;
    std::size_t m_next = 0;
    std::vector<std::vector<EntryIndex>> m_written;
};

void RecordStoreBulkTransfer::Inserting::findStored()
{
    if (m_context.hasChanges()) {
        for (const auto& object : m_context.fetch(CoreData::NSFetchRequest<EntryObject>())) {
            if (object->isLocallyDeleted())
                m_markers.emplace(object->recordName().utf8(), object);
            else
                m_live.insert(object->recordName().utf8());
        }
        return;
    }
    CoreData::NSFetchRequest<CoreData::NSManagedObject> names(EntryObject::entityName());
    names.setPredicate(SyncedObject::notDeleted());
    names.setPropertiesToFetch({SyncedObject::recordNameKey});
    for (const auto& row : m_context.fetchValues(names)) {
        if (const auto* name = row[0].as<Foundation::String>())
            m_live.insert(name->utf8());
    }
    CoreData::NSFetchRequest<EntryObject> deleted;
    deleted.setPredicate(Syncwright::Syncable::locallyDeletedPredicate());
    for (const auto& object : m_context.fetch(deleted))
        m_markers.emplace(object->recordName().utf8(), object);
}

void RecordStoreBulkTransfer::Inserting::seal(std::vector<Entry>& entries, std::vector<Attachment>& attachments)
{
    Part part;
    part.entries.reserve(entries.size());
    for (auto& entry : entries) {
        if (!m_live.contains(entry.id.utf8()))
            part.entries.push_back(std::move(entry));
    }
    part.attachments = std::move(attachments);
    entries.clear();
    attachments.clear();
    part.indices.resize(part.entries.size());
    part.sealed.resize(part.entries.size());
    concurrentPerform(part.entries.size(), [&](std::size_t i) {
        part.indices[i] = EntryIndex::make(part.entries[i]);
        part.sealed[i] = RecordSealing::sealRevision(part.entries[i].id, EntryRevision::make(part.entries[i]), part.indices[i], m_key);
    });
    Foundation::WorkerPool::BlockingScope waiting;
    std::unique_lock lock(m_channel.mutex);
    m_channel.changed.wait(lock, [&] { return m_channel.parts.size() < Channel::waitingLimit || m_channel.stopped; });
    if (m_channel.stopped)
        throw Stopped {};
    m_channel.parts.push_back(std::move(part));
    m_channel.changed.notify_all();
}

void RecordStoreBulkTransfer::Inserting::startProducing(const std::function<void(ImporterRecordSource::BatchSink& sink)>& produce,
                                                         const std::shared_ptr<Foundation::DispatchGroup>& group)
{
    Foundation::DispatchQueue::global()->async(group, [this, &produce] {
        try {
            Sink sink(m_live, [this](std::vector<Entry>& entries, std::vector<Attachment>& attachments) { seal(entries, attachments); });
            produce(sink);
        } catch (...) {
            std::lock_guard lock(m_channel.mutex);
            m_channel.failure = std::current_exception();
        }
        std::lock_guard lock(m_channel.mutex);
        m_channel.produced = true;
        m_channel.changed.notify_all();
    });
}

bool RecordStoreBulkTransfer::Inserting::takePart()
{
    {
        Foundation::WorkerPool::BlockingScope waiting;
        std::unique_lock lock(m_channel.mutex);
        m_channel.changed.wait(lock, [&] { return !m_channel.parts.empty() || m_channel.produced; });
        if (m_channel.parts.empty()) {
            if (m_channel.failure)
                std::rethrow_exception(m_channel.failure);
            return false;
        }
        m_current = std::move(m_channel.parts.front());
        m_channel.parts.pop_front();
        m_channel.changed.notify_all();
    }
    m_next = 0;
    m_written.push_back(std::move(m_current->indices));
    if (!m_current->attachments.empty())
        storeAttachments(m_current->attachments);
    return true;
}

void RecordStoreBulkTransfer::Inserting::storeAttachments(const std::vector<Attachment>& attachments)
{
    std::vector<Foundation::String> ids;
    for (const auto& attachment : attachments)
        ids.push_back(attachment.id);
    CoreData::NSFetchRequest<AttachmentObject> named;
    named.setPredicate(SyncedObject::named(ids));
    std::unordered_map<std::string, std::shared_ptr<AttachmentObject>> stored;
    for (const auto& object : m_context.fetch(named))
        stored.emplace(object->recordName().utf8(), object);
    for (const auto& attachment : attachments) {
        std::shared_ptr<AttachmentObject> object;
        if (auto found = stored.find(attachment.id.utf8()); found != stored.end()) {
            object = found->second;
            stored.erase(found);
            object->setValue(false, Syncwright::Syncable::isLocallyDeletedKey);
        } else {
            object = m_context.insertNewObject<AttachmentObject>();
            object->setRecordName(attachment.id);
        }
        object->markLocallyModified(m_now);
        object->setEntryID(attachment.entryID);
        object->setSealedDescription(RecordSealing::sealAttachment(attachment, m_key));
    }
}

bool RecordStoreBulkTransfer::Inserting::fillRow(CoreData::NSBatchInsertRequest::Object& row)
{
    while (true) {
        while (!m_current || m_next == m_current->entries.size()) {
            if (!takePart())
                return true;
        }
        auto i = m_next++;
        const auto& entry = m_current->entries[i];
        auto& [sealedEntry, sealedIndex] = m_current->sealed[i];
        auto marker = m_markers.find(entry.id.utf8());
        if (marker == m_markers.end()) {
            row.setValue(entry.id, SyncedObject::recordNameKey);
            row.setValue(std::int64_t(1), Syncwright::Syncable::localChangeCountKey);
            row.setValue(m_now, "modifiedAt");
            row.setValue(m_vaultID, "vaultID");
            row.setValue(std::move(sealedEntry), "sealedEntry");
            row.setValue(std::move(sealedIndex), "sealedIndex");
            return false;
        }
        auto object = marker->second;
        m_markers.erase(marker);
        object->setValue(false, Syncwright::Syncable::isLocallyDeletedKey);
        object->markLocallyModified(m_now);
        object->setRemoteSealedEntry(std::nullopt);
        if (object->vaultID().isEmpty())
            object->setVaultID(m_vaultID);
        object->setSealed(std::move(sealedEntry), std::move(sealedIndex));
    }
}

std::vector<std::vector<EntryIndex>> RecordStoreBulkTransfer::Inserting::run(const std::function<void(ImporterRecordSource::BatchSink& sink)>& produce)
{
    findStored();
    auto producing = Foundation::make<Foundation::DispatchGroup>();
    startProducing(produce, producing);
    Join join {m_channel, *producing};
    std::vector<CoreData::NSBatchInsertRequest> inserts;
    inserts.emplace_back(EntryObject::entityName(), [this](CoreData::NSBatchInsertRequest::Object& row) { return fillRow(row); });
    try {
        m_context.save(inserts);
    } catch (...) {
        // The context is shared with the sync engine: what failed here must not ride along its next save.
        m_context.rollback();
        throw;
    }
    return std::move(m_written);
}

std::vector<std::vector<EntryIndex>> RecordStoreBulkTransfer::insertEntryBatches(const std::function<void(ImporterRecordSource::BatchSink& sink)>& produce) const
{
    return m_store.m_context->performAndWait([&] { return Inserting(m_store).run(produce); });
}

std::pair<std::vector<EntryIndex>, std::vector<Foundation::String>> RecordStoreBulkTransfer::writeRecords(const std::vector<Entry>& entries,
                                                                                                          const std::vector<Attachment>& attachments,
                                                                                                          bool replacingAll) const
{
    const auto& context = m_store.m_context;
    return context->performAndWait([&] {
        auto key = m_store.m_cryptor->itemSecretsKey();
        auto now = Foundation::Date::now();
        // Markers of deleted items come back to life when an item of theirs arrives again.
        auto byName = [&](const Foundation::String& entityName) {
            std::map<std::string, std::shared_ptr<SyncedObject>> objects;
            for (auto& object : context->fetch(CoreData::NSFetchRequest<CoreData::NSManagedObject>(entityName)))
                objects.emplace(std::static_pointer_cast<SyncedObject>(object)->recordName().utf8(), std::static_pointer_cast<SyncedObject>(object));
            return objects;
        };
        auto storedEntries = byName(EntryObject::entityName());
        auto storedAttachments = byName(AttachmentObject::entityName());
        auto take = [&](std::map<std::string, std::shared_ptr<SyncedObject>>& stored, const Foundation::String& name, const Foundation::String& entityName) {
            auto found = stored.find(name.utf8());
            std::shared_ptr<SyncedObject> object;
            if (found != stored.end()) {
                object = found->second;
                stored.erase(found);
                object->setValue(false, Syncwright::Syncable::isLocallyDeletedKey);
            } else {
                object = std::static_pointer_cast<SyncedObject>(context->insertNewObject(entityName.view()));
                object->setRecordName(name);
            }
            object->markLocallyModified(now);
            return object;
        };
        std::vector<const Entry*> writing;
        writing.reserve(entries.size());
        for (const auto& entry : entries) {
            if (!replacingAll && storedEntries.contains(entry.id.utf8()) && !storedEntries.at(entry.id.utf8())->isLocallyDeleted())
                continue;
            writing.push_back(&entry);
        }
        // Encoding and sealing is most of writing many items: it runs on every core, while this queue
        // makes the objects they go into.
        std::vector<EntryIndex> indices(writing.size());
        std::vector<std::pair<Foundation::Data, Foundation::Data>> sealed(writing.size());
        std::exception_ptr sealingFailure;
        auto sealing = Foundation::make<Foundation::DispatchGroup>();
        Foundation::DispatchQueue::global()->async(sealing, [&] {
            try {
                concurrentPerform(writing.size(), [&](std::size_t i) {
                    indices[i] = EntryIndex::make(*writing[i]);
                    sealed[i] = RecordSealing::sealRevision(writing[i]->id, EntryRevision::make(*writing[i]), indices[i], key);
                });
            } catch (...) {
                sealingFailure = std::current_exception();
            }
        });
        // The sealing reads this frame: it ends before the frame does, however this queue's part ends.
        struct Join {
            Foundation::DispatchGroup& group;
            ~Join() { group.wait(); }
        } join {*sealing};
        std::vector<std::shared_ptr<EntryObject>> objects;
        objects.reserve(writing.size());
        for (const auto* entry : writing) {
            auto object = std::static_pointer_cast<EntryObject>(take(storedEntries, entry->id, EntryObject::entityName()));
            object->setRemoteSealedEntry(std::nullopt);
            if (object->vaultID().isEmpty())
                object->setVaultID(RecordStore::defaultVaultID());
            objects.push_back(std::move(object));
        }
        sealing->wait();
        if (sealingFailure)
            std::rethrow_exception(sealingFailure);
        for (std::size_t i = 0; i < writing.size(); ++i)
            objects[i]->setSealed(std::move(sealed[i].first), std::move(sealed[i].second));
        for (const auto& attachment : attachments) {
            auto object = std::static_pointer_cast<AttachmentObject>(take(storedAttachments, attachment.id, AttachmentObject::entityName()));
            object->setEntryID(attachment.entryID);
            object->setSealedDescription(RecordSealing::sealAttachment(attachment, key));
        }
        // What a restore does not bring goes, from the account too.
        std::vector<Foundation::String> removed;
        if (replacingAll) {
            for (auto* stored : {&storedEntries, &storedAttachments}) {
                for (auto& [name, object] : *stored) {
                    if (!object->isLocallyDeleted() && object->entity()->name() == EntryObject::entityName())
                        removed.push_back(object->recordName());
                    if (!object->isLocallyDeleted())
                        object->markLocallyDeleted(now);
                }
            }
        }
        if (context->hasChanges())
            m_store.saveOrRollBack();
        return std::pair(std::move(indices), std::move(removed));
    });
}

} // namespace Shared
