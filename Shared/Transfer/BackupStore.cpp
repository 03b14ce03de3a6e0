#include "Shared/Transfer/BackupStore.hpp"

#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Transfer/BackupFile.hpp"
#include "Shared/Transfer/BackupStoreError.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/VaultDocument.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/StoreKeyError.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/Timer.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace Shared {

namespace {

namespace fs = std::filesystem;

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Shared", "BackupStore");
    return logger;
}

constexpr const char* namePrefix = "Corvendale Backup ";
// How often an automatic backup is looked for while the program runs.
constexpr double automaticCheckInterval = 15 * 60;

// The content: frames of a kind byte, then for an attachment its identifier, then the length and bytes.
enum FrameKind : std::uint8_t { itemsFrame = 'I', attachmentFrame = 'A', endFrame = 'E' };

void appendNumber(std::vector<std::uint8_t>& bytes, std::uint64_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t readNumber(BackupFile::Reader& reader, int count)
{
    std::array<std::uint8_t, 8> bytes {};
    reader.read(bytes.data(), static_cast<std::size_t>(count));
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<std::uint64_t>(bytes[static_cast<std::size_t>(i)]) << (8 * i);
    return value;
}

double intervalSeconds(Settings::AutoBackup::Interval interval)
{
    switch (interval) {
    case Settings::AutoBackup::Interval::daily: return 86400;
    case Settings::AutoBackup::Interval::weekly: return 7 * 86400;
    case Settings::AutoBackup::Interval::monthly: return 30 * 86400;
    case Settings::AutoBackup::Interval::never: return 0;
    }
    return 0;
}

std::optional<std::size_t> retainedCount(Settings::AutoBackup::AutoDelete autoDelete)
{
    switch (autoDelete) {
    case Settings::AutoBackup::AutoDelete::keepMostRecentFive: return 5;
    case Settings::AutoBackup::AutoDelete::keepMostRecentTen: return 10;
    case Settings::AutoBackup::AutoDelete::keepMostRecentThirty: return 30;
    case Settings::AutoBackup::AutoDelete::keepAll: return std::nullopt;
    }
    return std::nullopt;
}

// "Corvendale Backup 2026-01-01T10-00-00Z" (and " 2" for a second one in the same second): the names
// sort by time.
std::string backupName(Foundation::Date date)
{
    auto seconds = static_cast<std::time_t>(date.timeIntervalSinceReferenceDate() + Foundation::Date::timeIntervalBetween1970AndReferenceDate);
    std::tm time {};
    gmtime_r(&seconds, &time);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H-%M-%SZ", &time);
    return namePrefix + std::string(buffer);
}

std::optional<Foundation::Date> dateOfBackup(const std::string& filename)
{
    std::string suffix = std::string(".") + BackupStore::fileExtension;
    if (filename.rfind(namePrefix, 0) != 0 || filename.size() <= suffix.size() || filename.compare(filename.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    std::tm time {};
    if (std::sscanf(filename.c_str() + std::strlen(namePrefix), "%4d-%2d-%2dT%2d-%2d-%2dZ", &time.tm_year, &time.tm_mon, &time.tm_mday, &time.tm_hour,
                    &time.tm_min, &time.tm_sec)
        != 6)
        return std::nullopt;
    time.tm_year -= 1900;
    time.tm_mon -= 1;
    return Foundation::Date::fromTimeIntervalSince1970(static_cast<double>(timegm(&time)));
}

Foundation::ErrorPtr folderError(const fs::path& folder, const Foundation::Error& error)
{
    if (const auto* nsError = dynamic_cast<const Foundation::NSError*>(&error))
        return BackupStoreError::backupFolderNotWritable(Foundation::String(folder.string()), Foundation::String(nsError->localizedDescription())).clone();
    return error.clone();
}

} // namespace

struct BackupStore::Content {
    std::vector<Entry> entries;
    std::vector<Attachment> attachments;
    std::vector<Foundation::String> stagedAttachmentIDs;
    KeyMaterial keyMaterial;
    std::unique_ptr<Cryptor::Key> vaultKey;
};

const Foundation::Notification::Name& BackupStore::backupStoreDidUpdateStatus()
{
    static const auto& name = *new Foundation::Notification::Name("backupStoreDidUpdateStatus");
    return name;
}

BackupStore::BackupStore(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<Foundation::UserDefaults>,
                         std::shared_ptr<Foundation::FileManager> fileManager, std::shared_ptr<PreferenceStore> preferenceStore,
                         std::shared_ptr<RecordSource> recordStore, std::shared_ptr<AttachmentDataStore> attachmentDataStore,
                         std::shared_ptr<Metricove::AnalyticsStore>, AppExecutionContext appExecutionContext)
    : m_notificationCenter(std::move(notificationCenter))
    , m_fileManager(std::move(fileManager))
    , m_preferenceStore(std::move(preferenceStore))
    , m_recordStore(std::move(recordStore))
    , m_attachmentDataStore(std::move(attachmentDataStore))
    , m_appExecutionContext(std::move(appExecutionContext))
{
}

BackupStore::~BackupStore()
{
    if (m_timer)
        m_timer->invalidate();
    for (const auto& observer : m_observers)
        m_notificationCenter->removeObserver(observer);
}

void BackupStore::initialize()
{
    NSObject::initialize();
    // The extension makes no backups: it runs only for moments.
    if (m_appExecutionContext.isExtension())
        return;
    std::weak_ptr<BackupStore> weak = sharedSelf(this);
    m_timer = Foundation::Timer::scheduledTimer(automaticCheckInterval, true, [weak](Foundation::Timer&) {
        if (auto self = weak.lock())
            self->updateStatus();
    });
    auto refresh = [weak](const Foundation::Notification&) {
        if (auto self = weak.lock())
            self->updateStatus();
    };
    m_observers.push_back(m_notificationCenter->addObserver(PreferenceStore::preferenceStoreDidUpdate(), m_preferenceStore, nullptr, refresh));
    if (m_recordStore) {
        m_observers.push_back(m_notificationCenter->addObserver(Cryptor::cryptorDidUpdateVaultKey(), m_recordStore->cryptor(),
                                                                Foundation::OperationQueue::main(), refresh));
    }
}

std::optional<Foundation::URL> BackupStore::backupFolder() const
{
    try {
        return m_preferenceStore->backupFolder();
    } catch (const Foundation::Error&) {
        return std::nullopt;
    }
}

std::vector<Foundation::URL> BackupStore::backupFiles() const
{
    std::vector<Foundation::URL> files;
    auto folder = backupFolder();
    if (!folder)
        return files;
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(folder->path().utf8(), error)) {
        auto name = item.path().filename().string();
        if (dateOfBackup(name) && item.is_regular_file(error))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const auto& name : names)
        files.push_back(folder->appendingPathComponent(Foundation::String(name), false));
    return files;
}

BackupStore::Status BackupStore::determinedStatus() const
{
    std::optional<Foundation::URL> folder;
    try {
        folder = m_preferenceStore->backupFolder();
    } catch (const Foundation::Error& error) {
        return Status::FailedToDetermineStatus {error.clone()};
    }
    if (!folder)
        return Status::NoBackupFolder {};
    auto path = folder->path().utf8();
    std::error_code error;
    fs::directory_iterator probe(path, error);
    if (error)
        return Status::FailedToDetermineStatus {Foundation::CocoaError::fileError(error.value(), path, Foundation::CocoaError::Access::reading).clone()};
    auto files = backupFiles();
    std::optional<Foundation::Date> last;
    if (!files.empty())
        last = dateOfBackup(files.back().lastPathComponent().utf8());
    if (::access(path.c_str(), W_OK) != 0)
        return Status::Failed {BackupStoreError::backupFolderNotWritable(folder->path(), Foundation::String(std::strerror(errno))).clone(), last};
    if (m_lastFailure && m_lastFailedFolder == folder->path())
        return Status::Failed {m_lastFailure, last};
    auto interval = m_preferenceStore->autoBackupInterval();
    if (last && (interval == Settings::AutoBackup::Interval::never || Foundation::Date::now().timeIntervalSince(*last) < intervalSeconds(interval)))
        return Status::UpToDate {*last};
    return Status::BackupDue {interval, last};
}

void BackupStore::setStatus(Status status)
{
    m_status = std::move(status);
    m_notificationCenter->post(backupStoreDidUpdateStatus(), sharedSelf(this));
}

void BackupStore::updateStatus()
{
    if (m_status.is<Status::InProgress>())
        return;
    setStatus(determinedStatus());
    const auto* due = m_status.as<Status::BackupDue>();
    auto keySource = m_keySource.lock();
    bool isUnlocked = m_recordStore && m_recordStore->cryptor()->isUnlocked();
    // The safe-for-inspection mode shows only part of the vault: a backup of it would push whole ones out.
    bool isInspecting = m_preferenceStore->isSafeForInspectionModeActivated();
    if (due && due->interval != Settings::AutoBackup::Interval::never && isUnlocked && keySource && !isInspecting && !m_appExecutionContext.isExtension()) {
        log().info("An automatic backup is due");
        performBackup();
    }
}

void BackupStore::performOrCancelBackup()
{
    if (const auto* running = m_status.as<Status::InProgress>()) {
        running->progress->cancel();
        return;
    }
    performBackup();
}

void BackupStore::performBackup()
{
    auto fail = [&](const Foundation::Error& error) {
        auto status = determinedStatus();
        std::optional<Foundation::Date> last;
        if (const auto* upToDate = status.as<Status::UpToDate>())
            last = upToDate->lastBackupAt;
        else if (const auto* due = status.as<Status::BackupDue>())
            last = due->lastBackupAt;
        setStatus(Status::Failed {error.clone(), last});
    };
    std::optional<Foundation::URL> folder;
    try {
        folder = m_preferenceStore->backupFolder();
    } catch (const Foundation::Error& error) {
        return setStatus(Status::FailedToDetermineStatus {error.clone()});
    }
    if (!folder)
        return fail(BackupStoreError::noBackupFolder());
    auto keySource = m_keySource.lock();
    auto material = keySource ? keySource->backupKeyMaterial() : std::nullopt;
    if (!material || !m_recordStore->cryptor()->isUnlocked())
        return fail(BackupStoreError::vaultLocked());
    auto backupKey = std::make_shared<Cryptor::Key>(m_recordStore->cryptor()->backupKey());

    auto progress = Foundation::make<Foundation::Progress>(0);
    setStatus(Status::InProgress {progress});
    auto name = backupName(Foundation::Date::now());
    auto destination = folder->appendingPathComponent(Foundation::String(name + "." + fileExtension), false);
    for (int attempt = 2; fs::exists(destination.path().utf8()); ++attempt)
        destination = folder->appendingPathComponent(Foundation::String(name + " " + std::to_string(attempt) + "." + fileExtension), false);
    auto folderPath = folder->path();
    std::weak_ptr<BackupStore> weak = sharedSelf(this);
    auto self = sharedSelf(this);
    Foundation::DispatchQueue::global(Foundation::DispatchQoS::QoSClass::utility)->async([self, weak, destination, material = *material, backupKey, progress, folderPath] {
        Foundation::ErrorPtr error;
        bool wasCancelled = false;
        try {
            self->writeBackup(destination, material, *backupKey, *progress);
        } catch (const BackupStoreError& caught) {
            wasCancelled = caught.is<BackupStoreError::Cancelled>();
            error = caught.clone();
        } catch (const Foundation::NSError& caught) {
            error = folderError(fs::path(folderPath.utf8()), caught);
        } catch (const Foundation::Error& caught) {
            error = caught.clone();
        }
        Foundation::DispatchQueue::main()->async([weak, error, wasCancelled, folderPath] {
            auto store = weak.lock();
            if (!store)
                return;
            store->m_status = Status::NotDetermined {};
            if (wasCancelled) {
                log().info("The backup was cancelled");
            } else if (error) {
                log().error("The backup failed: %{public}@", error->description());
                store->m_lastFailure = error;
                store->m_lastFailedFolder = folderPath;
            } else {
                log().notice("A backup was made");
                store->m_lastFailure.reset();
                store->m_lastFailedFolder.reset();
                store->deleteBackupsBeyondRetention();
            }
            store->setStatus(store->determinedStatus());
        });
    });
}

void BackupStore::writeBackup(const Foundation::URL& destination, const KeyMaterial& material, const Cryptor::Key& backupKey,
                              Foundation::Progress& progress) const
{
    auto checkCancellation = [&] {
        if (progress.isCancelled())
            throw BackupStoreError::cancelled();
    };
    auto entries = m_recordStore->allEntries();
    std::vector<Foundation::String> unreadable;
    auto attachments = m_recordStore->allAttachments(&unreadable);
    progress.setTotalUnitCount(static_cast<std::int64_t>(entries.size() + attachments.size()) + 1);
    BackupFile::Header header {Foundation::Date::now(), material.keyDerivation, material.wrappedVaultKey, material.createdAt,
                               material.masterPasswordChangedAt};
    BackupFile::Writer writer(destination, header, backupKey);

    std::string json;
    VaultDocument::beginJSON(json);
    std::int64_t done = 0;
    for (const auto& entry : entries) {
        VaultDocument::appendJSONItem(json, entry, done == 0);
        if ((++done & 0xff) == 0) {
            checkCancellation();
            progress.setCompletedUnitCount(done);
        }
    }
    VaultDocument::endJSON(json, attachments);
    std::vector<std::uint8_t> frame {itemsFrame};
    appendNumber(frame, json.size(), 8);
    writer.append(frame.data(), frame.size());
    writer.append(json.data(), json.size());
    std::fill(json.begin(), json.end(), '\0');

    // Attachments travel as they are stored, sealed under the vault key the backup carries.
    auto folderName = Foundation::String("BackupStore." + Foundation::UUID().uuidString().utf8());
    try {
        for (const auto& attachment : attachments) {
            checkCancellation();
            auto sealed = m_attachmentDataStore->encryptedFileURL(attachment.id, folderName);
            if (!sealed)
                continue;
            auto data = Foundation::FileIO::readFile(sealed->path().utf8());
            fs::remove(sealed->path().utf8());
            frame.assign(1, attachmentFrame);
            appendNumber(frame, attachment.id.utf8().size(), 4);
            frame.insert(frame.end(), attachment.id.utf8().begin(), attachment.id.utf8().end());
            appendNumber(frame, data.count(), 8);
            writer.append(frame.data(), frame.size());
            writer.append(data.bytes(), data.count());
            progress.setCompletedUnitCount(++done);
        }
    } catch (...) {
        Foundation::catchError([&] { m_attachmentDataStore->removeTemporaryFolder(folderName); });
        throw;
    }
    Foundation::catchError([&] { m_attachmentDataStore->removeTemporaryFolder(folderName); });
    std::uint8_t end = endFrame;
    writer.append(&end, 1);
    checkCancellation();
    writer.commit();
    progress.setCompletedUnitCount(progress.totalUnitCount());
    // The backup holds everything else; what it lacks is a failure the status names.
    if (!unreadable.empty()) {
        std::string names;
        for (const auto& each : unreadable)
            names += (names.empty() ? "" : "; ") + each.utf8();
        throw Basalwork::GeneralError::failedWithMessage(Foundation::String("The backup was made without what cannot be opened. " + names));
    }
}

void BackupStore::deleteBackupsBeyondRetention() const
{
    auto keep = retainedCount(m_preferenceStore->autoBackupAutoDelete());
    if (!keep)
        return;
    auto files = backupFiles();
    for (std::size_t i = 0; i + *keep < files.size(); ++i) {
        std::error_code ignored;
        fs::remove(files[i].path().utf8(), ignored);
    }
}

// MARK: - Restoring

BackupStore::Content BackupStore::readContent(const Foundation::URL& fileURL, const Foundation::String& password, const Foundation::URL* stagingFolder) const
{
    auto header = BackupFile::readHeader(fileURL);
    Content content;
    content.keyMaterial = {header.keyDerivation, header.wrappedVaultKey, header.masterPasswordCreatedAt, header.masterPasswordChangedAt};
    try {
        auto passwordKey = Cryptor::deriveKey(password, header.keyDerivation);
        content.vaultKey = std::make_unique<Cryptor::Key>(Cryptor::unwrapVaultKey(header.wrappedVaultKey, passwordKey));
    } catch (const CryptorError& error) {
        if (error.is<CryptorError::AuthenticationFailed>())
            throw BackupStoreError::wrongPassword();
        throw;
    }
    std::error_code sizeError;
    auto fileSize = fs::file_size(fileURL.path().utf8(), sizeError);
    try {
        BackupFile::Reader reader(fileURL, Cryptor::backupKey(*content.vaultKey));
        std::string json;
        while (true) {
            std::uint8_t kind = 0;
            reader.read(&kind, 1);
            if (kind == endFrame)
                break;
            if (kind == itemsFrame) {
                auto length = readNumber(reader, 8);
                if (length > fileSize)
                    throw BackupStoreError::damagedBackup();
                json.resize(static_cast<std::size_t>(length));
                reader.read(json.data(), json.size());
            } else if (kind == attachmentFrame) {
                auto idLength = readNumber(reader, 4);
                if (idLength > 256)
                    throw BackupStoreError::damagedBackup();
                std::string id(static_cast<std::size_t>(idLength), '\0');
                reader.read(id.data(), id.size());
                Basalwork::StoreKeyError::validateKey(Foundation::String(id));
                auto length = readNumber(reader, 8);
                if (length > fileSize)
                    throw BackupStoreError::damagedBackup();
                std::vector<std::uint8_t> data(static_cast<std::size_t>(length));
                reader.read(data.data(), data.size());
                if (stagingFolder) {
                    Foundation::FileIO::writeFile(stagingFolder->appendingPathComponent(Foundation::String(id), false).path().utf8(),
                                                  Foundation::Data(std::move(data)), true);
                    content.stagedAttachmentIDs.emplace_back(id);
                }
            } else {
                throw BackupStoreError::damagedBackup();
            }
        }
        reader.finish();
        content.entries = VaultDocument::entries(json, &content.attachments);
    } catch (const CryptorError&) {
        // The password opened the key: what does not authenticate was changed or cut off.
        throw BackupStoreError::damagedBackup();
    } catch (const Basalwork::StoreKeyError&) {
        throw BackupStoreError::damagedBackup();
    } catch (const ImporterError& error) {
        if (error.as<ImporterError::InvalidFile>() && error.description().find("newer") != std::string::npos)
            throw BackupStoreError::newerFormatVersion(VaultDocument::version + 1);
        throw BackupStoreError::damagedBackup();
    }
    return content;
}

void BackupStore::readBackup(const Foundation::URL& fileURL, const Foundation::String& password, Basalwork::ResultHandler<RestoreOutcome> resultHandler)
{
    restore(fileURL, password, false, std::move(resultHandler));
}

void BackupStore::restoreBackup(const Foundation::URL& fileURL, const Foundation::String& password,
                                Basalwork::ResultHandler<RestoreOutcome> resultHandler)
{
    restore(fileURL, password, true, std::move(resultHandler));
}

void BackupStore::restore(const Foundation::URL& fileURL, const Foundation::String& password, bool replacing,
                          Basalwork::ResultHandler<RestoreOutcome> resultHandler)
{
    auto self = sharedSelf(this);
    Foundation::DispatchQueue::global(Foundation::DispatchQoS::QoSClass::userInitiated)->async([self, fileURL, password, replacing, resultHandler] {
        auto staging = self->m_fileManager->temporaryDirectory().appendingPathComponent(
            Foundation::String("BackupStore.restore." + Foundation::UUID().uuidString().utf8()), true);
        auto removeStaging = [staging] {
            std::error_code ignored;
            fs::remove_all(staging.path().utf8(), ignored);
        };
        std::shared_ptr<Content> content;
        try {
            if (::mkdir(staging.path().c_str(), 0700) != 0)
                throw Foundation::CocoaError::fileError(errno, staging.path().utf8(), Foundation::CocoaError::Access::writing);
            content = std::make_shared<Content>(self->readContent(fileURL, password, replacing ? &staging : nullptr));
        } catch (const Foundation::Error& error) {
            removeStaging();
            log().error("A backup could not be read: %{public}@", error.description());
            return resultHandler.invokeAsynchronously(RestoreOutcome::Failed {error.clone()});
        }
        if (!replacing) {
            removeStaging();
            return resultHandler.invokeAsynchronously(RestoreOutcome::Restored {static_cast<std::int64_t>(content->entries.size())});
        }
        // Everything was read and checked; the vault changes only now, on the main thread.
        Foundation::DispatchQueue::main()->async([self, content, staging, removeStaging, resultHandler] {
            auto cryptor = self->m_recordStore->cryptor();
            auto keySource = self->m_keySource.lock();
            auto previous = keySource ? keySource->backupKeyMaterial() : std::nullopt;
            try {
                if (!keySource)
                    throw BackupStoreError::vaultLocked();
                // Items are sealed under the restored vault key.
                cryptor->unlock(content->vaultKey->copy());
                keySource->restoreBackupKeyMaterial(content->keyMaterial);
                try {
                    self->m_recordStore->replaceAllRecords(content->entries, content->attachments);
                } catch (...) {
                    if (previous)
                        keySource->restoreBackupKeyMaterial(*previous);
                    throw;
                }
                self->m_attachmentDataStore->deleteAllData();
                for (const auto& id : content->stagedAttachmentIDs)
                    self->m_attachmentDataStore->storeEncryptedFile(staging.appendingPathComponent(id, false), id);
                cryptor->lock();
            } catch (const Foundation::Error& error) {
                cryptor->lock();
                removeStaging();
                log().error("A backup could not be restored: %{public}@", error.description());
                return resultHandler.invokeAsynchronously(RestoreOutcome::Failed {error.clone()});
            }
            removeStaging();
            log().notice("A backup was restored");
            resultHandler.invokeAsynchronously(RestoreOutcome::Restored {static_cast<std::int64_t>(content->entries.size())});
        });
    });
}

} // namespace Shared
