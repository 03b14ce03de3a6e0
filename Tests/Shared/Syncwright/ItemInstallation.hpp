#pragma once

#include "Tests/Shared/Syncwright/Installation.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AttachmentObject.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/Foundation/FileManager.hpp"

#include <algorithm>
#include <filesystem>
#include <future>
#include <memory>
#include <vector>

namespace SyncwrightTests {

constexpr const char* assetFolder = "SyncCoordinator.ckRecordAssets";

// The delegate over the record store, with what the program's coordinator adds for it: attachments
// travel as the record's asset, and the store hears of what the sync deleted and changed.
class RecordStoreSyncDelegate : public TestSyncDelegate {
public:
    explicit RecordStoreSyncDelegate(std::shared_ptr<Shared::RecordStore> recordStore)
        : TestSyncDelegate(recordStore->managedObjectContext(), Shared::RecordStore::syncableTypes())
        , m_recordStore(std::move(recordStore))
    {
    }

    std::vector<std::shared_ptr<CloudKit::CKRecord>> locallyModifiedCKRecords(std::int64_t resultLimit) override
    {
        auto records = TestSyncDelegate::locallyModifiedCKRecords(resultLimit);
        for (const auto& record : records) {
            if (record->recordType() != Shared::AttachmentObject::entityName())
                continue;
            auto file = m_recordStore->attachmentDataStore()->encryptedFileURL(record->recordID().recordName(), assetFolder);
            record->setObject(file ? std::optional<CloudKit::CKRecordValue>(Foundation::make<CloudKit::CKAsset>(*file)) : std::nullopt,
                              Shared::Attachment::ckAssetKey);
        }
        return records;
    }
    void processRemotelyDeleted(const std::vector<CloudKit::CKRecordID>& ckRecordIDs) override
    {
        auto names = recordNames(ckRecordIDs);
        m_recordStore->managedObjectContext()->performAndWait([&] { m_recordStore->didDeleteRemotely(names); });
        TestSyncDelegate::processRemotelyDeleted(ckRecordIDs);
        m_recordStore->attachmentDataStore()->deleteData(names);
    }
    void processRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>& ckRecords) override
    {
        for (const auto& record : ckRecords) {
            auto asset = record->object(Shared::Attachment::ckAssetKey);
            auto file = asset ? asset->as<std::shared_ptr<CloudKit::CKAsset>>() : std::nullopt;
            if (record->recordType() == Shared::AttachmentObject::entityName() && file && *file && (*file)->fileURL())
                m_recordStore->attachmentDataStore()->storeEncryptedFile(*(*file)->fileURL(), record->recordID().recordName());
        }
        TestSyncDelegate::processRemotelyModified(ckRecords);
    }

protected:
    // As the program's coordinator does: the items merge before the round is saved, so that it is
    // saved once.
    void willSaveRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>& ckRecords) override
    {
        std::vector<Foundation::String> names;
        for (const auto& record : ckRecords)
            names.push_back(record->recordID().recordName());
        m_recordStore->didModifyRemotely(names);
    }

private:
    static std::vector<Foundation::String> recordNames(const std::vector<CloudKit::CKRecordID>& ids)
    {
        std::vector<Foundation::String> names;
        for (const auto& id : ids)
            names.push_back(id.recordName());
        return names;
    }

    std::shared_ptr<Shared::RecordStore> m_recordStore;
};

// One installation of the program: its record store and attachments in a folder of its own.
struct ItemInstallation {
    // Shares the process's notification centre, preferences and cryptor (unlocked with the account's
    // vault key) with the other installations.
    ItemInstallation(const std::shared_ptr<Foundation::NotificationCenter>& notificationCenter, const std::shared_ptr<Shared::Cryptor>& cryptor,
                     const std::shared_ptr<Shared::PreferenceStore>& preferenceStore, const std::filesystem::path& folder)
    {
        auto location = [&](const char* name) { return Basalwork::File::Location::raw(String((folder / name).string())); };
        attachments = Foundation::make<Shared::AttachmentDataStore>(location("AttachmentStore"), Foundation::FileManager::defaultManager(), cryptor);
        records = Foundation::make<Shared::RecordStore>(notificationCenter, cryptor, attachments, preferenceStore,
                                                        Shared::RecordStore::StoreType::onDisk(location("RecordStore"), "recordStore"));
        delegate = std::make_shared<RecordStoreSyncDelegate>(records);
        remote = Foundation::make<Syncwright::CloudKitRemote>(notificationCenter, CloudKit::CKContainer::withIdentifier(Installation::containerIdentifier),
                                                              Foundation::UserDefaults::withSuiteName(String(folder.parent_path().filename().string() + "-"
                                                                                                             + folder.filename().string())));
        remote->setDelegate(delegate);
    }

    Foundation::Result<Syncwright::SyncResult> sync()
    {
        std::promise<Foundation::Result<Syncwright::SyncResult>> done;
        remote->sync(Foundation::DispatchQueue::global(), [&](const auto& result) { done.set_value(result); });
        auto result = done.get_future().get();
        records->didSynchronize();
        return result;
    }
    std::vector<Shared::Entry> entries() const
    {
        auto entries = records->allEntries();
        std::sort(entries.begin(), entries.end(), [](const auto& lhs, const auto& rhs) { return lhs.id.utf8() < rhs.id.utf8(); });
        return entries;
    }

    std::shared_ptr<Shared::AttachmentDataStore> attachments;
    std::shared_ptr<Shared::RecordStore> records;
    std::shared_ptr<RecordStoreSyncDelegate> delegate;
    std::shared_ptr<Syncwright::CloudKitRemote> remote;
};

} // namespace SyncwrightTests
