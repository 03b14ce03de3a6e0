#pragma once

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Forward.hpp"
#include "Shared/Model/Settings.Items.hpp"
#include "Shared/Stores/AuthenticationRecordSource.hpp"
#include "Shared/Stores/BackupRecordSource.hpp"
#include "Shared/Stores/ExporterRecordSource.hpp"
#include "Shared/Stores/Forward.hpp"
#include "Shared/Stores/ImporterRecordSource.hpp"
#include "Shared/Stores/RecordStore.AutoFillAvailability.hpp"
#include "Shared/Stores/TagRecordSource.hpp"
#include "Shared/Syncwright/Forward.hpp"
#include "Shared/Syncwright/PersistentContainer.StoreType.hpp"

#include "Basalwork/Base/CancellableResult.hpp"
#include "Basalwork/Base/ResultHandler.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/Result.hpp"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <optional>
#include <vector>

namespace CloudKit {
class CKRecord;
class CKRecordZoneID;
} // namespace CloudKit

namespace CoreData {
class NSManagedObjectContext;
} // namespace CoreData

namespace Foundation {
class NotificationCenter;
} // namespace Foundation

namespace Shared {

// The vault's items, kept by the object store in the application group (or in memory) and synchronised
// through the six synced entity types of its model. Each item is sealed whole under the vault key with its
// identifier as associated data, so a changed byte is refused, never read; beside it a sealed summary
// feeds an index that is opened once per unlock and answers the list, its filters, sorts and searches
// without decrypting anything per keystroke. While the vault is locked nothing is read or written: every
// operation that would throws RecordStoreError.vaultLocked. While the safe-for-inspection mode is active,
// only the items marked safe for inspection exist for every reader.
//
// Used from the main thread; the sync engine works in `managedObjectContext()` on its own queues. Every
// change posts `recordStoreDidUpdateRecords` (object: the store) on the main queue.
class RecordStore : public Foundation::NSObject,
                    public AuthenticationRecordSource,
                    public TagRecordSource,
                    public ImporterRecordSource,
                    public ExporterRecordSource,
                    public BackupRecordSource {
public:
    class EditingContext;
    class Index;
    using StoreType = Syncwright::PersistentContainerStoreType;

    // The mode in which the vault opens with the inspection password (by case index).
    enum class SafeForInspectionState { noPassword = 0, ready = 1, activated = 2 };
    using AutoFillAvailability = RecordStoreAutoFillAvailability;
    // A duplicate's outcome: the new identifiers, a failure, or nothing to duplicate (the items are gone).
    using DuplicateResult = Basalwork::CancellableResult<std::vector<Foundation::String>, Foundation::ErrorPtr>;

    static const Foundation::Notification::Name& recordStoreDidUpdateRecords();
    static const Foundation::Notification::Name& recordStoreDidUpdateAutoFillAvailability();
    static const Foundation::Notification::Name& recordStoreDidPermanentlyResetLocalAndRemoteRecords();

    // The vault that new items go into; every installation of an account shares it.
    static const char* defaultVaultID();
    // The name of the master password's record, which every installation of an account shares.
    static const char* masterPasswordRecordName();

    const std::shared_ptr<Foundation::NotificationCenter>& notificationCenter() const { return m_notificationCenter; }
    // For the authentication store and the backup store.
    std::shared_ptr<Cryptor> cryptor() const override { return m_cryptor; }
    // The master password's records as the account keeps them (one record every installation shares).
    std::optional<Foundation::Data> syncedAuthenticationRecords() const override;
    void setSyncedAuthenticationRecords(const Foundation::Data& records, Foundation::Date changedAt) override;
    const std::shared_ptr<AttachmentDataStore>& attachmentDataStore() const { return m_attachmentDataStore; }
    // The context all sync work runs in, on its own queue (performAndWait).
    const std::shared_ptr<CoreData::NSManagedObjectContext>& managedObjectContext() const { return m_context; }

    // --- Reading ------------------------------------------------------------------------------------

    // Nothing when there is no such item (or it is hidden by the safe-for-inspection mode).
    std::optional<Entry> entry(const Foundation::String& id) const;
    // The items that exist, in the order asked for.
    std::vector<Entry> entries(const std::vector<Foundation::String>& ids) const;
    // Every item, the trash and the archive included.
    std::vector<Entry> allEntries() const override;
    // Opens the items a batch at a time, so that an export of a large vault holds one batch.
    void readEntries(bool includingTrashed, const std::function<void(std::size_t count)>& counted,
                     const std::function<void(std::vector<Entry>& batch)>& batch) const override;
    // One attachment record that does not open (damaged on its way, sealed under another key) leaves
    // out only itself: it is named in `unreadable`, with why.
    std::vector<Attachment> allAttachments(std::vector<Foundation::String>* unreadable = nullptr) const override;
    Foundation::URL decryptAttachmentToTemporaryFile(const Foundation::String& attachmentID) const override;
    bool containsEntry(const Foundation::String& id) const;
    // The summaries of the items that exist, in the order asked for.
    std::vector<EntryIndex> entryIndices(const std::vector<Foundation::String>& ids) const;
    // The list: the items the filter lets through, narrowed by a search (every word in the fields the
    // searchable-fields preference names) and by a site or app (its host or a parent or child domain of
    // it), sorted by the method.
    std::vector<EntryIndex> entryIndices(const Entry::Filter& filter, Settings::Items::SortMethod sortMethod,
                                         const std::optional<Foundation::String>& searchText = std::nullopt,
                                         const std::optional<Foundation::String>& associatedDomain = std::nullopt) const;
    // The same summaries as the index holds them, not copied: for a list of the whole vault. Safe on any
    // thread; a summary never changes (a changed item gets a new one).
    std::vector<std::shared_ptr<const EntryIndex>> sharedEntryIndices(const Entry::Filter& filter, Settings::Items::SortMethod sortMethod,
                                                                      const std::optional<Foundation::String>& searchText = std::nullopt,
                                                                      const std::optional<Foundation::String>& associatedDomain = std::nullopt) const;
    std::int64_t count(const Entry::Filter& filter) const;
    bool hasEntries(const Entry::Filter& filter = Entry::Filter::allItems()) const;
    // Whether any item outside the trash and the archive fills in for the site or app.
    bool hasEntries(const Foundation::String& associatedDomain) const;
    std::vector<Foundation::String> tagsInUse() const override;
    // The attachment a custom field holds; nothing for another kind of field or a missing attachment.
    std::optional<Attachment> attachment(const Foundation::String& entryID, Entry::Field::ID fieldID) const;
    std::optional<Attachment> attachment(const Foundation::String& attachmentID) const;
    // What sharing an item in plain text hands out: its text, then a link that makes the item anew.
    std::vector<Foundation::String> shareItems(const Foundation::String& entryID) const;
    // The identifier new items take their vault from; throws vaultNotFound before the vault exists.
    Foundation::String vaultIDForNewEntries() const;

    // --- Changing -----------------------------------------------------------------------------------

    void setFavorite(const std::vector<Foundation::String>& ids, bool isFavorite);
    void setArchived(const std::vector<Foundation::String>& ids, bool isArchived);
    // Into the trash (true) or back out of it.
    void setTrashed(const std::vector<Foundation::String>& ids, bool isTrashed);
    void setCategory(const std::vector<Foundation::String>& ids, Entry::Category category);
    // Removes the items and their attachments for good, also from the account at the next sync.
    void permanentlyDelete(const std::vector<Foundation::String>& ids);
    // New items with new identifiers; answers them in the order asked for.
    DuplicateResult duplicate(const std::vector<Foundation::String>& ids);
    // The same, off the main thread, with the outcome on the handler's queue.
    void duplicate(const std::vector<Foundation::String>& ids, Basalwork::ResultHandler<DuplicateResult> resultHandler);
    // Removes each tag (compared without regard to case) from every item.
    void removeTags(const std::vector<Foundation::String>& tags);
    // Stamps the item's service identifiers with their last use (adding the new ones). Throws at once for
    // a missing item or a locked vault; the write happens off the calling thread and the handler follows.
    void stampServiceIdentifiers(const Foundation::String& entryID, const std::vector<Entry::ServiceIdentifier>& serviceIdentifiers,
                                 Basalwork::ResultHandler<Foundation::Result<void>> resultHandler);
    // A scratch pad for new and changed items; throws vaultLocked.
    std::shared_ptr<EditingContext> makeEditingContext();

    // Brings the search data in line with the searchable-fields preference.
    void refreshSearchData();
    SafeForInspectionState safeForInspectionState() const;
    // A text becomes the inspection password (it opens the vault as the master password does), nothing
    // removes it.
    void setSafeForInspectionPassword(const std::optional<Foundation::String>& password);
    // The vault key the inspection password opens; nothing for another password or when none is set.
    std::optional<Cryptor::Key> vaultKey(const Foundation::String& safeForInspectionPassword) const override;
    // While the vault is locked and its key being derived, reads the sealed summaries the index opens
    // (off the calling thread); the index takes them when nothing was saved since.
    void willTryPassword() const override;
    void unlockFailed() const override;
    AutoFillAvailability autoFillAvailability() const;
    // Rebuilds the list of credentials the system's AutoFill offers, off the calling thread.
    void replaceCredentialStore(std::optional<Basalwork::ResultHandler<Foundation::Result<void>>> resultHandler);
    // The same unless the list was last made from the items as they are; nothing while the vault is locked.
    void updateCredentialStore(std::optional<Basalwork::ResultHandler<Foundation::Result<void>>> resultHandler = std::nullopt);

    // Removes every local record (items, attachments, the vault's records, change tokens) and posts
    // `recordStoreDidPermanentlyResetLocalAndRemoteRecords`.
    void deleteAllLocalRecords();
    // Keeps one record of each group that shares an identifier, merging the others into it.
    void repairRecordsUsingTheSameID();
    // Removes the attachment files that no record names (what a killed save left); see
    // `AttachmentDataStore::removeUnnamedData`. For launch.
    void removeUnnamedAttachmentFiles();

    // --- Moving items in and out (import, restore) ---------------------------------------------------

    // Those of `ids` that items already have, hidden ones and those in the trash included.
    std::vector<Foundation::String> existingEntryIDs(const std::vector<Foundation::String>& ids) const override;
    // Adds the items (skipping those that exist) and the descriptions of their attachments in one save.
    void insertEntries(const std::vector<Entry>& entries, const std::vector<Attachment>& attachments) override;
    // The same for items handed over a part at a time: each part is sealed on every core while the store
    // takes in the one before, all in one save.
    void insertEntryBatches(const std::function<void(BatchSink& sink)>& produce) override;
    // In one save, the items and attachments become exactly these (under the vault key now in the
    // cryptor); what is not among them is deleted, also from the account.
    void replaceAllRecords(const std::vector<Entry>& entries, const std::vector<Attachment>& attachments) override;

    // --- Sync ---------------------------------------------------------------------------------------

    // The synced entity types of the store's model, in the order the sync engine handles them.
    static std::vector<Syncwright::SyncableType> syncableTypes();

    // The item's record as the account is to receive it, with its local changes. Throws entryNotFound.
    std::shared_ptr<CloudKit::CKRecord> ckRecordWithLocalModifications(const Foundation::String& entryID, const CloudKit::CKRecordZoneID& zoneID) const;
    // Called in `managedObjectContext()` before the sync engine deletes the records of these names.
    void didDeleteRemotely(const std::vector<Foundation::String>& recordNames);
    // Called after the sync engine saved the records of these names.
    void didModifyRemotely(const std::vector<Foundation::String>& recordNames);
    // Called after every sync: takes in what other processes saved. The sync's own changes reach the
    // index as they are saved, so when no other process saved since the index was read this costs
    // nothing and posts nothing.
    void didSynchronize();
    // Items fetched from the account that do not open here (another key, damage): they wait, unmerged,
    // and every sync fails with this error until they open or are gone. Nothing when there are none.
    Foundation::ErrorPtr fetchedRecordsNotOpened() const;

    ~RecordStore() override;

protected:
    friend Foundation::Construct;
    // Throws when the store cannot be opened: a missing application-group folder, a damaged or foreign
    // file, a store another process keeps locked past `timeout` seconds.
    RecordStore(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<Cryptor> cryptor,
                std::shared_ptr<AttachmentDataStore> attachmentDataStore, std::shared_ptr<PreferenceStore> preferenceStore,
                const StoreType& storeType, double timeout = 10);
    void initialize() override;

private:
    friend class EditingContext;
    friend class RecordStoreBulkTransfer;

    void requireUnlocked() const;
    bool isSafeForInspectionModeActive() const;
    // Runs `body(index, safeForInspectionOnly)` on the loaded index, under its lock.
    template <class Body>
    auto withIndex(Body&& body) const;
    // Runs `body(itemSecretsKey)` in the context, the vault unlocked and the index loaded.
    template <class Body>
    auto performUnlocked(Body&& body) const;
    // The same inside one write transaction of the store: what `body` reads stays the store's newest
    // until its save, whatever another process saves meanwhile.
    template <class Body>
    auto performUnlockedWriting(Body&& body) const;
    void loadIndexIfNeeded() const;
    // The rows of the summaries, with the store's marks of change taken before they were read.
    struct SummaryRows;
    // Opens every item's summary (merging fetched records on the way) and installs the new index, unless
    // the vault key changed meanwhile; `onlyIfMissing` leaves an index another reader installed first.
    void reloadIndex(std::uint64_t generation, bool onlyIfMissing = false) const;
    // In the context: takes into the index what other processes saved since it was read, reading only
    // the items the store's history names. Answers whether they saved anything; nothing when the
    // history cannot tell (it was forgotten) or an item must be merged or made again: then the index is
    // read whole.
    std::optional<bool> takeInChangesByOthers(std::uint64_t generation, std::int64_t storeChangeCount) const;
    // In the context, after a check that found no save by others: the index is current up to the
    // store's last change (its own), and history the index no longer needs is forgotten now and then.
    void advanceHistory(std::uint64_t generation) const;
    void updateIndex(const std::vector<EntryIndex>& changed, const std::vector<Foundation::String>& removed) const;
    void vaultKeyDidChange();

    // Inside the context. Sealed values that do not authenticate throw CryptorError.
    std::shared_ptr<EntryObject> entryObject(const Foundation::String& id) const;
    EntryRevision readRevision(const EntryObject& object, const Cryptor::Key& key) const;
    void writeRevision(EntryObject& object, const EntryRevision& revision, const Cryptor::Key& key) const;
    // Merges the fetched record the object holds into its local copy; answers the result.
    EntryRevision mergeRemote(EntryObject& object, const Cryptor::Key& key) const;
    // The same with the fetched record already opened (`openRemote`), which needs no context, and its
    // summary sealed when the caller sealed it.
    EntryRevision mergeRemote(EntryObject& object, const Cryptor::Key& key, const Foundation::Result<EntryRevision>& remote,
                              const std::optional<Foundation::Data>& remoteSealedIndex = std::nullopt) const;
    static Foundation::Data sealedIndex(const Foundation::String& id, const Entry& entry, const Cryptor::Key& key);
    static Foundation::Result<EntryRevision> openRemote(const Foundation::String& id, const Foundation::Data& sealed, const Cryptor::Key& key);
    // The item as it stands, a waiting fetched record merged first.
    EntryRevision currentRevision(EntryObject& object, const Cryptor::Key& key) const;
    // The item and its object, when it exists and the safe-for-inspection mode does not hide it.
    std::optional<std::pair<std::shared_ptr<EntryObject>, EntryRevision>> visibleRevision(const Foundation::String& id, const Cryptor::Key& key) const;
    // A failed save leaves nothing behind in the shared context.
    void saveOrRollBack() const;

    // Applies `change` to each item and saves; answers the identifiers that changed.
    template <class Change>
    std::vector<Foundation::String> change(const std::vector<Foundation::String>& ids, Change&& change);
    void save(EditingContext& context);
    void post(const Foundation::Notification::Name& name) const;
    void postDidUpdateRecords() const;
    void updateAutoFillAvailability();
    void replaceCredentialStore(std::optional<Basalwork::ResultHandler<Foundation::Result<void>>> resultHandler, bool onlyIfChanged);
    // Merges the fetched records that wait (of these items, or all); nothing while the vault is locked.
    void mergeFetchedRecords(const std::optional<std::vector<Foundation::String>>& recordNames);
    void writeRecords(const std::vector<Entry>& entries, const std::vector<Attachment>& attachments, bool replacingAll);

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::shared_ptr<Cryptor> m_cryptor;
    std::shared_ptr<AttachmentDataStore> m_attachmentDataStore;
    std::shared_ptr<PreferenceStore> m_preferenceStore;
    std::shared_ptr<Syncwright::PersistentContainer> m_container;
    std::shared_ptr<CoreData::NSManagedObjectContext> m_context;

    mutable std::mutex m_indexMutex;
    mutable std::shared_ptr<Index> m_index;
    // By item: why its fetched record does not open. Guarded by `m_indexMutex`.
    mutable std::map<std::string, std::string> m_unopened;
    std::uint64_t m_indexGeneration = 0;
    // What the store's count of other processes' saves was when the index was read. Guarded by `m_indexMutex`.
    mutable std::int64_t m_indexStoreChangeCount = 0;
    // The place in the store's history up to which the index holds every change. Guarded by `m_indexMutex`.
    mutable std::int64_t m_indexHistoryStamp = 0;
    // Read while the key was derived, for the index's next read. Guarded by `m_indexMutex`.
    mutable std::shared_ptr<SummaryRows> m_summaryRowsReadAhead;
    // A failed password ends the reads ahead begun before it: they keep nothing.
    mutable std::uint64_t m_readAheadEpoch = 0;
    mutable std::optional<std::uint64_t> m_readingAheadEpoch;
    // Up to where this process last had the history forgotten. Guarded by `m_indexMutex`.
    mutable std::int64_t m_forgottenHistoryStamp = 0;
    std::optional<AutoFillAvailability> m_autoFillAvailability;
    // One credential list is made at a time; the index's version and mode it was last made from.
    std::mutex m_credentialStoreMutex;
    std::optional<std::pair<std::uint64_t, bool>> m_credentialStoreSource;
    bool m_wasSafeForInspectionModeActive = false;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
    std::shared_ptr<Foundation::NSObject> m_contextObserver;
    // The AutoFill service's state, as the user switches it.
    std::unique_ptr<FolderWatcher> m_autoFillWatcher;
    // An update of the records from another thread is on its way to the main queue.
    mutable std::atomic<bool> m_didUpdateRecordsPending = false;
};

} // namespace Shared

#include "Shared/Stores/RecordStore.EditingContext.hpp"
