#pragma once

#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Transfer/BackupStore.hpp"
#include "Shared/Transfer/Exporter.hpp"
#include "Shared/Transfer/Importer.hpp"
#include "Shared/Transfer/ImporterError.hpp"

#include "Platform/Foundation/Progress.hpp"

#include <algorithm>
#include <functional>
#include <mutex>

namespace SharedTests {

// Stands in for the record store where items move in and out: items and attachment descriptions in
// memory, saved all at once. Hooks let a test act at a given step (cancel, fail).
class MemoryRecordStore : public Shared::Importer::RecordSource,
                          public Shared::Exporter::RecordSource,
                          public Shared::BackupStore::RecordSource,
                          public Shared::AuthenticationStore::RecordSource {
public:
    MemoryRecordStore(std::shared_ptr<Shared::Cryptor> cryptor, std::shared_ptr<Shared::AttachmentDataStore> attachmentDataStore)
        : m_cryptor(std::move(cryptor))
        , m_attachmentDataStore(std::move(attachmentDataStore))
    {
    }

    std::function<void()> onExistingEntryIDs;
    std::function<void()> onAllEntries;
    bool failsNextSave = false;

    std::shared_ptr<Shared::Cryptor> cryptor() const override { return m_cryptor; }

    std::vector<Foundation::String> existingEntryIDs(const std::vector<Foundation::String>& ids) const override
    {
        if (onExistingEntryIDs)
            onExistingEntryIDs();
        std::lock_guard lock(m_mutex);
        std::vector<Foundation::String> found;
        for (const auto& id : ids) {
            if (std::any_of(m_entries.begin(), m_entries.end(), [&](const Shared::Entry& entry) { return entry.id == id; }))
                found.push_back(id);
        }
        return found;
    }
    void insertEntries(const std::vector<Shared::Entry>& entries, const std::vector<Shared::Attachment>& attachments) override
    {
        save();
        std::lock_guard lock(m_mutex);
        m_entries.insert(m_entries.end(), entries.begin(), entries.end());
        m_attachments.insert(m_attachments.end(), attachments.begin(), attachments.end());
    }
    std::vector<Shared::Entry> allEntries() const override
    {
        if (onAllEntries)
            onAllEntries();
        std::lock_guard lock(m_mutex);
        return m_entries;
    }
    std::vector<Shared::Attachment> allAttachments(std::vector<Foundation::String>* = nullptr) const override
    {
        std::lock_guard lock(m_mutex);
        return m_attachments;
    }
    Foundation::URL decryptAttachmentToTemporaryFile(const Foundation::String& attachmentID) const override
    {
        return m_attachmentDataStore->decryptToTemporaryFile(attachmentID);
    }
    void replaceAllRecords(const std::vector<Shared::Entry>& entries, const std::vector<Shared::Attachment>& attachments) override
    {
        save();
        // What a real store does: the items' secrets are sealed under the vault key.
        m_cryptor->seal(Foundation::Data::fromString("check"));
        std::lock_guard lock(m_mutex);
        m_entries = entries;
        m_attachments = attachments;
    }

private:
    void save()
    {
        if (failsNextSave) {
            failsNextSave = false;
            throw Shared::ImporterError::invalidFile("the save failed");
        }
    }

    std::shared_ptr<Shared::Cryptor> m_cryptor;
    std::shared_ptr<Shared::AttachmentDataStore> m_attachmentDataStore;
    mutable std::mutex m_mutex;
    std::vector<Shared::Entry> m_entries;
    std::vector<Shared::Attachment> m_attachments;
};

// One installation's stores for moving items in and out, built in the program's order, over the record
// store itself or over the one in memory (whose hooks let a test act at a given step).
struct TransferVault {
    std::shared_ptr<Foundation::NotificationCenter> notificationCenter = Foundation::make<Foundation::NotificationCenter>();
    std::shared_ptr<Foundation::UserDefaults> userDefaults;
    std::shared_ptr<Shared::PreferenceStore> preferenceStore;
    std::shared_ptr<Shared::Cryptor> cryptor;
    std::shared_ptr<Shared::AttachmentDataStore> attachmentDataStore;
    std::shared_ptr<MemoryRecordStore> recordStore;
    std::shared_ptr<Shared::RecordStore> store;
    std::shared_ptr<Shared::Importer> importer;
    std::shared_ptr<Shared::Exporter> exporter;
    std::shared_ptr<Shared::BackupStore> backupStore;
    std::shared_ptr<Shared::AuthenticationStore> authenticationStore;

    explicit TransferVault(bool overRecordStore = false)
    {
        Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
        auto fileManager = Foundation::FileManager::defaultManager();
        auto context = Shared::AppExecutionContext::app(nullptr);
        userDefaults = Foundation::UserDefaults::withSuiteName(Shared::Global::App::appGroupIdentifier());
        preferenceStore = Shared::PreferenceStore::initialize(userDefaults, notificationCenter);
        cryptor = Foundation::make<Shared::Cryptor>(notificationCenter);
        attachmentDataStore = Foundation::make<Shared::AttachmentDataStore>(
            Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(), Foundation::String("Library/Application Support/AttachmentStore")),
            fileManager, cryptor);
        recordStore = std::make_shared<MemoryRecordStore>(cryptor, attachmentDataStore);
        if (overRecordStore) {
            store = Foundation::make<Shared::RecordStore>(
                notificationCenter, cryptor, attachmentDataStore, preferenceStore,
                Shared::RecordStore::StoreType::onDisk(Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(),
                                                                                          Foundation::String("Library/Application Support/RecordStore/Production")),
                                                       "recordStore"),
                10);
            make(store, context);
        } else {
            make(recordStore, context);
        }
    }

    template <class Source>
    void make(const std::shared_ptr<Source>& source, const Shared::AppExecutionContext& context)
    {
        auto fileManager = Foundation::FileManager::defaultManager();
        importer = Foundation::make<Shared::Importer>(notificationCenter, source, attachmentDataStore, context, fileManager);
        exporter = Foundation::make<Shared::Exporter>(notificationCenter, source, context, fileManager);
        backupStore = Foundation::make<Shared::BackupStore>(notificationCenter, userDefaults, fileManager, preferenceStore, source,
                                                            attachmentDataStore, nullptr, context);
        authenticationStore = Foundation::make<Shared::AuthenticationStore>(userDefaults, notificationCenter, nullptr, source, preferenceStore,
                                                                            backupStore, context);
    }

    // The vault's items (ordered by identifier) and attachments, from whichever store it has.
    void insertEntries(const std::vector<Shared::Entry>& entries, const std::vector<Shared::Attachment>& attachments) const
    {
        if (store)
            store->insertEntries(entries, attachments);
        else
            recordStore->insertEntries(entries, attachments);
    }
    std::vector<Shared::Entry> allEntries() const
    {
        auto entries = store ? store->allEntries() : recordStore->allEntries();
        std::sort(entries.begin(), entries.end(), [](const auto& lhs, const auto& rhs) { return lhs.id < rhs.id; });
        return entries;
    }
    std::vector<Shared::Attachment> allAttachments() const { return store ? store->allAttachments() : recordStore->allAttachments(); }

    // Waits for the running import or export to end.
    bool waitForImport() const
    {
        return runMainLoopUntil([&] { return !importer->status().is<Shared::Importer::Status::InProgress>(); });
    }
    bool waitForExport() const
    {
        return runMainLoopUntil([&] { return !exporter->status().is<Shared::Exporter::Status::InProgress>(); });
    }
    bool waitForBackup() const
    {
        return runMainLoopUntil([&] { return !backupStore->status().is<Shared::BackupStore::Status::InProgress>(); });
    }
};

} // namespace SharedTests
