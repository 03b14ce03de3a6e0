#include "Shared/Stores/AttachmentDataStore.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/StoreKeyError.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/JSONDocument.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NSItemProvider.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/UUID.hpp"

#include "Platform/UniformTypeIdentifiers/UTType.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Shared {

namespace {

// Per user: another user's folder of that name must neither take our copies nor keep us from making any.
constexpr const char* decryptedFolderPrefix = "AttachmentDataStore.decrypted-";
// Where copies went before each user had a folder of their own.
constexpr const char* legacyDecryptedFolderName = "AttachmentDataStore.decrypted";
// A store's session folder is in use while a process holds the lock file of that name with this ending.
constexpr const char* sessionLockExtension = ".lock";
constexpr const char* dataExtension = ".sealed";
// Every process with the store open holds a shared lock on it; sweeping the folder takes it exclusively.
constexpr const char* lockFileName = ".lock";

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Shared", "AttachmentDataStore");
    return logger;
}

// A file name that stays one name inside its folder; anything else becomes "Attachment".
std::string safeFilename(const std::string& name)
{
    std::string safe;
    for (char character : name)
        safe.push_back(character == '/' || character == '\0' ? '_' : character);
    if (safe.empty() || safe == "." || safe == ".." || safe.size() > 255)
        return "Attachment";
    return safe;
}

Foundation::Data header(const std::string& filename)
{
    Foundation::JSONStreamWriter json;
    json.beginObject().key("filename").string(filename).endObject();
    return Foundation::Data::fromString(json.take());
}

// Binds an attachment's sealed file to the attachment: another's file in its place does not open.
Foundation::Data boundTo(const Foundation::String& attachmentID)
{
    return Foundation::Data::fromString("attachment " + attachmentID.utf8());
}

std::string filenameFromHeader(const Foundation::Data& data)
{
    // A damaged header loses the name, not the data.
    if (const auto document = Foundation::JSONDocument::tryParse(data.view())) {
        if (auto filename = Foundation::JSONView(*document).find("filename"); filename && filename->isString())
            return safeFilename(std::string(*filename->string()));
    }
    return "Attachment";
}

// Makes the folder when it is missing and answers only when it is a directory of this user's, closed to
// everyone else: decrypted copies never go where another user could reach or replace them.
void requireOwnFolder(const std::string& path)
{
    if (int failure = Foundation::FileIO::makeDirectories(path))
        throw Foundation::CocoaError::fileError(failure, path, Foundation::CocoaError::Access::writing);
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::writing);
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid())
        throw Foundation::CocoaError::fileError(EACCES, path, Foundation::CocoaError::Access::writing);
    if ((status.st_mode & 07777) != Foundation::FileIO::ownerOnlyDirectoryMode && ::chmod(path.c_str(), Foundation::FileIO::ownerOnlyDirectoryMode) != 0)
        throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::writing);
}

bool isOwnDirectory(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid();
}

// The session folders of processes that have ended: their lock files can be taken. A folder whose lock
// file is gone was left half swept. The lock file comes before its folder, so a folder being made always
// has one.
void removeEndedSessions(const std::string& root)
{
    std::error_code error;
    std::vector<std::filesystem::path> folders;
    std::set<std::string> locked;
    for (const auto& entry : std::filesystem::directory_iterator(root, error)) {
        const auto path = entry.path().string();
        if (!path.ends_with(sessionLockExtension)) {
            if (entry.is_directory(error))
                folders.push_back(entry.path());
            continue;
        }
        const auto folder = path.substr(0, path.size() - std::strlen(sessionLockExtension));
        int descriptor = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (descriptor < 0)
            continue;
        if (Foundation::FileIO::retryingInterruptions([&] { return ::flock(descriptor, LOCK_EX | LOCK_NB); }) != 0) {
            locked.insert(folder);
        } else {
            std::filesystem::remove_all(folder, error);
            std::filesystem::remove(path, error);
        }
        ::close(descriptor);
    }
    for (const auto& folder : folders) {
        if (!locked.contains(folder.string()) && !std::filesystem::exists(folder.string() + sessionLockExtension, error))
            std::filesystem::remove_all(folder, error);
    }
}

} // namespace

AttachmentDataStore::AttachmentDataStore(const Basalwork::File::Location& location, std::shared_ptr<Foundation::FileManager> fileManager,
                                         std::shared_ptr<Cryptor> cryptor)
    : m_fileManager(std::move(fileManager))
    , m_cryptor(std::move(cryptor))
    , m_folderURL(location.url(*m_fileManager))
{
    ::chmod(m_folderURL.path().c_str(), 0700);
    auto lockPath = m_folderURL.appendingPathComponent(lockFileName, false).path().utf8();
    m_lockDescriptor = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, Foundation::FileIO::ownerOnlyFileMode);
    if (m_lockDescriptor < 0 || ::flock(m_lockDescriptor, LOCK_SH) != 0)
        log().error("Failed to lock the attachment store: %{public}s", std::strerror(errno));
}

AttachmentDataStore::~AttachmentDataStore()
{
    if (m_lockDescriptor >= 0)
        ::close(m_lockDescriptor);
    // What the store left out is swept by the next housekeeping, as a process's that ended.
    if (m_sessionLockDescriptor >= 0)
        ::close(m_sessionLockDescriptor);
}

bool AttachmentDataStore::whileAlone(const std::function<void()>& body) const
{
    if (m_lockDescriptor < 0)
        return false;
    if (::flock(m_lockDescriptor, LOCK_EX | LOCK_NB) != 0) {
        // A failed conversion may have let the shared lock go.
        ::flock(m_lockDescriptor, LOCK_SH);
        return false;
    }
    try {
        body();
    } catch (...) {
        ::flock(m_lockDescriptor, LOCK_SH);
        throw;
    }
    ::flock(m_lockDescriptor, LOCK_SH);
    return true;
}

void AttachmentDataStore::wrote(const Foundation::String& attachmentID)
{
    std::lock_guard lock(m_mutex);
    m_written.insert(attachmentID.utf8());
}

Foundation::URL AttachmentDataStore::dataURL(const Foundation::String& attachmentID) const
{
    Basalwork::StoreKeyError::validateKey(attachmentID);
    return m_folderURL.appendingPathComponent(attachmentID + dataExtension, false);
}

Foundation::URL AttachmentDataStore::decryptedFolderURL() const
{
    return m_fileManager->temporaryDirectory().appendingPathComponent(decryptedFolderPrefix + std::to_string(::geteuid()), true);
}

std::string AttachmentDataStore::sessionFolder() const
{
    std::lock_guard lock(m_sessionMutex);
    if (!m_sessionFolder.empty())
        return m_sessionFolder;
    auto root = decryptedFolderURL().path().utf8();
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    requireOwnFolder(root);
    // A sweep may take a fresh lock file before its maker does; the maker then tries another name.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto folder = root + "/" + Foundation::UUID().uuidString().utf8();
        const auto lockPath = folder + sessionLockExtension;
        int descriptor = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, Foundation::FileIO::ownerOnlyFileMode);
        if (descriptor < 0)
            throw Foundation::CocoaError::fileError(errno, lockPath, Foundation::CocoaError::Access::writing);
        struct stat held {}, named {};
        bool kept = Foundation::FileIO::retryingInterruptions([&] { return ::flock(descriptor, LOCK_EX | LOCK_NB); }) == 0
            && ::fstat(descriptor, &held) == 0 && ::stat(lockPath.c_str(), &named) == 0 && held.st_ino == named.st_ino;
        if (!kept) {
            ::close(descriptor);
            continue;
        }
        if (::mkdir(folder.c_str(), Foundation::FileIO::ownerOnlyDirectoryMode) != 0) {
            const int failure = errno;
            ::unlink(lockPath.c_str());
            ::close(descriptor);
            throw Foundation::CocoaError::fileError(failure, folder, Foundation::CocoaError::Access::writing);
        }
        m_sessionLockDescriptor = descriptor;
        m_sessionFolder = folder;
        return m_sessionFolder;
    }
    throw Foundation::CocoaError::fileError(EAGAIN, root, Foundation::CocoaError::Access::writing);
}

void AttachmentDataStore::removeSessionFolder() const
{
    std::lock_guard lock(m_sessionMutex);
    if (m_sessionFolder.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(m_sessionFolder, error);
    if (error)
        log().error("Failed to remove decrypted attachments: %{public}@", error.message());
    std::filesystem::remove(m_sessionFolder + sessionLockExtension, error);
    ::close(m_sessionLockDescriptor);
    m_sessionLockDescriptor = -1;
    m_sessionFolder.clear();
}

void AttachmentDataStore::removeDecryptedCopy(const Foundation::URL& url)
{
    const std::filesystem::path file(url.path().utf8());
    std::error_code error;
    std::filesystem::remove(file, error);
    if (error)
        throw Foundation::CocoaError::fileError(error.value(), file.string(), Foundation::CocoaError::Access::writing);
    // Its folder was made for it alone; one that holds anything else stays.
    std::filesystem::remove(file.parent_path(), error);
}

Attachment AttachmentDataStore::importFile(const Foundation::URL& fileURL, const Foundation::String& entryID, Foundation::Progress* progress,
                                           const std::optional<Foundation::String>& attachmentID)
{
    Attachment attachment;
    attachment.id = attachmentID.value_or(Foundation::UUID().uuidString());
    attachment.entryID = entryID;
    attachment.filename = safeFilename(fileURL.lastPathComponent().utf8());
    attachment.createdAt = Foundation::Date::now();
    wrote(attachment.id);
    m_cryptor->encryptFile(fileURL, dataURL(attachment.id), header(attachment.filename.utf8()), progress, boundTo(attachment.id));
    std::error_code ignored;
    attachment.byteCount = static_cast<std::int64_t>(std::filesystem::file_size(fileURL.path().utf8(), ignored));
    return attachment;
}

Foundation::URL AttachmentDataStore::decryptToTemporaryFile(const Foundation::String& attachmentID, Foundation::Progress* progress) const
{
    auto source = dataURL(attachmentID);
    if (!std::filesystem::exists(source.path().utf8()))
        throw RecordStoreError::attachmentNotFound(attachmentID);
    auto name = filenameFromHeader(m_cryptor->decryptHeader(source, boundTo(attachmentID)));
    auto folder = Foundation::URL::fileURLWithPath(Foundation::String(sessionFolder()), true).appendingPathComponent(Foundation::UUID().uuidString(), true);
    if (::mkdir(folder.path().c_str(), 0700) != 0)
        throw Foundation::CocoaError::fileError(errno, folder.path().utf8(), Foundation::CocoaError::Access::writing);
    auto destination = folder.appendingPathComponent(Foundation::String(name), false);
    try {
        m_cryptor->decryptFile(source, destination, progress, boundTo(attachmentID));
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(folder.path().utf8(), ignored);
        throw;
    }
    return destination;
}

void AttachmentDataStore::decryptToTemporaryURL(const Foundation::String& attachmentID, const std::shared_ptr<Foundation::Progress>& progress,
                                                Basalwork::ResultHandler<DecryptionResult> resultHandler)
{
    auto self = sharedSelf(this);
    Foundation::DispatchQueue::global()->async([self, attachmentID, progress, resultHandler] {
        try {
            resultHandler.invokeAsynchronously(DecryptionResult::success(self->decryptToTemporaryFile(attachmentID, progress.get())));
        } catch (const CryptorError& error) {
            if (error.is<CryptorError::Cancelled>())
                resultHandler.invokeAsynchronously(DecryptionResult::userDidCancel());
            else
                resultHandler.invokeAsynchronously(DecryptionResult::failure(error.clone()));
        } catch (...) {
            resultHandler.invokeAsynchronously(DecryptionResult::failure(Foundation::currentError()));
        }
    });
}

std::shared_ptr<Foundation::NSItemProvider> AttachmentDataStore::itemProvider(const Foundation::String& attachmentID)
{
    auto provider = Foundation::make<Foundation::NSItemProvider>();
    try {
        auto source = dataURL(attachmentID);
        if (std::filesystem::exists(source.path().utf8()))
            provider->setSuggestedName(Foundation::String(filenameFromHeader(m_cryptor->decryptHeader(source, boundTo(attachmentID)))));
    } catch (const Foundation::Error&) {
        // The name is only a hint; loading the file reports what is wrong.
    }
    std::weak_ptr<AttachmentDataStore> weak = sharedSelf(this);
    provider->registerFileRepresentation(
        UniformTypeIdentifiers::UTType::data().identifier,
        [weak, attachmentID](Foundation::NSItemProvider::FileCompletion completion) {
            auto progress = Foundation::make<Foundation::Progress>(1);
            auto self = weak.lock();
            if (!self) {
                completion(std::nullopt, Basalwork::GeneralError::failedWithMessage("The attachment store is closed.").clone());
                return progress;
            }
            self->decryptToTemporaryURL(attachmentID, progress,
                                        Basalwork::ResultHandler<DecryptionResult>(Foundation::DispatchQueue::main(), [completion](DecryptionResult result) {
                                            if (const auto* url = result.successValue())
                                                completion(*url, nullptr);
                                            else if (const auto* error = result.failureValue())
                                                completion(std::nullopt, *error);
                                            else
                                                completion(std::nullopt, CryptorError::cancelled().clone());
                                        }));
            return progress;
        },
        [](const Foundation::URL& url) { Foundation::catchError([&] { removeDecryptedCopy(url); }); });
    return provider;
}

bool AttachmentDataStore::containsData(const Foundation::String& attachmentID) const
{
    return std::filesystem::exists(dataURL(attachmentID).path().utf8());
}

void AttachmentDataStore::deleteData(const std::vector<Foundation::String>& attachmentIDs)
{
    for (const auto& id : attachmentIDs) {
        std::error_code error;
        std::filesystem::remove(dataURL(id).path().utf8(), error);
        if (error)
            throw Foundation::CocoaError::fileError(error.value(), dataURL(id).path().utf8(), Foundation::CocoaError::Access::writing);
    }
}

void AttachmentDataStore::deleteAllData()
{
    for (const auto& entry : std::filesystem::directory_iterator(m_folderURL.path().utf8())) {
        if (entry.path().filename() != lockFileName)
            std::filesystem::remove_all(entry.path());
    }
}

std::optional<Foundation::URL> AttachmentDataStore::encryptedFileURL(const Foundation::String& attachmentID,
                                                                     const Foundation::String& inTemporaryFolderNamed) const
{
    Basalwork::StoreKeyError::validateKey(inTemporaryFolderNamed);
    auto source = dataURL(attachmentID);
    // Only a file that is not there means "no data": the sync then tells the account so. A store that
    // cannot be read is an error, never an empty attachment.
    struct stat status {};
    if (::stat(m_folderURL.path().utf8().c_str(), &status) != 0)
        throw Foundation::CocoaError::fileError(errno, m_folderURL.path().utf8(), Foundation::CocoaError::Access::reading);
    if (::stat(source.path().utf8().c_str(), &status) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw Foundation::CocoaError::fileError(errno, source.path().utf8(), Foundation::CocoaError::Access::reading);
    }
    auto folder = m_fileManager->temporaryDirectory().appendingPathComponent(inTemporaryFolderNamed, true);
    if (int failure = Foundation::FileIO::makeDirectories(folder.path().utf8()))
        throw Foundation::CocoaError::fileError(failure, folder.path().utf8(), Foundation::CocoaError::Access::writing);
    auto destination = folder.appendingPathComponent(attachmentID + dataExtension, false);
    std::error_code error;
    std::filesystem::copy_file(source.path().utf8(), destination.path().utf8(), std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        throw Foundation::CocoaError::fileError(error.value(), source.path().utf8(), Foundation::CocoaError::Access::reading);
    ::chmod(destination.path().c_str(), Foundation::FileIO::ownerOnlyFileMode);
    return destination;
}

void AttachmentDataStore::storeEncryptedFile(const Foundation::URL& fileURL, const Foundation::String& attachmentID)
{
    auto destination = dataURL(attachmentID);
    wrote(attachmentID);
    // Only what this vault's key opens may stand in for an attachment.
    if (m_cryptor->isUnlocked())
        m_cryptor->decryptHeader(fileURL, boundTo(attachmentID));
    auto temporary = m_folderURL.appendingPathComponent("." + Foundation::UUID().uuidString(), false);
    std::filesystem::copy_file(fileURL.path().utf8(), temporary.path().utf8());
    ::chmod(temporary.path().c_str(), Foundation::FileIO::ownerOnlyFileMode);
    std::error_code error;
    std::filesystem::rename(temporary.path().utf8(), destination.path().utf8(), error);
    if (error) {
        std::filesystem::remove(temporary.path().utf8(), error);
        throw Foundation::CocoaError::fileError(EIO, destination.path().utf8(), Foundation::CocoaError::Access::writing);
    }
}

void AttachmentDataStore::removeTemporaryFolder(const Foundation::String& named) const
{
    Basalwork::StoreKeyError::validateKey(named);
    auto folder = m_fileManager->temporaryDirectory().appendingPathComponent(named, true).path().utf8();
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    if (error)
        throw Foundation::CocoaError::fileError(error.value(), folder, Foundation::CocoaError::Access::writing);
}

void AttachmentDataStore::performHousekeeping() const
{
    removeSessionFolder();
    std::error_code error;
    auto root = decryptedFolderURL().path().utf8();
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    if (isOwnDirectory(root))
        removeEndedSessions(root);
    const auto legacy = m_fileManager->temporaryDirectory().appendingPathComponent(legacyDecryptedFolderName, true).path().utf8();
    if (isOwnDirectory(legacy))
        std::filesystem::remove_all(legacy, error);
    // Hidden files are the leftovers of interrupted writes, or of writes another process is making.
    whileAlone([&] {
        for (const auto& entry : std::filesystem::directory_iterator(m_folderURL.path().utf8(), error)) {
            auto name = entry.path().filename().string();
            if (name.starts_with(".") && name != lockFileName)
                std::filesystem::remove(entry.path(), error);
        }
    });
}

void AttachmentDataStore::removeUnnamedData(const std::function<std::set<std::string>()>& namedIDs) const
{
    bool swept = whileAlone([&] {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(m_folderURL.path().utf8(), error)) {
            auto name = entry.path().filename().string();
            if (!name.starts_with(".") && name.ends_with(dataExtension))
                files.push_back(entry.path());
        }
        if (files.empty())
            return;
        auto named = namedIDs();
        std::lock_guard lock(m_mutex);
        for (const auto& file : files) {
            auto id = file.stem().string();
            if (named.contains(id) || m_written.contains(id))
                continue;
            log().notice("Removing the file of attachment %{public}s, which no record names", id.c_str());
            std::filesystem::remove(file, error);
        }
    });
    if (!swept)
        log().info("Another process has the attachment store open: unnamed files stay until a later launch");
}

} // namespace Shared
