#include "Shared/Stores/AttachmentDataStore.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

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
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Shared {

namespace {

constexpr const char* decryptedFolderName = "AttachmentDataStore.decrypted";
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
    return m_fileManager->temporaryDirectory().appendingPathComponent(decryptedFolderName, true);
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
    auto root = decryptedFolderURL();
    if (int failure = Foundation::FileIO::makeDirectories(root.path().utf8()))
        throw Foundation::CocoaError::fileError(failure, root.path().utf8(), Foundation::CocoaError::Access::writing);
    ::chmod(root.path().c_str(), Foundation::FileIO::ownerOnlyDirectoryMode);
    auto folder = root.appendingPathComponent(Foundation::UUID().uuidString(), true);
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
    std::error_code error;
    std::filesystem::remove_all(decryptedFolderURL().path().utf8(), error);
    if (error)
        log().error("Failed to remove decrypted attachments: %{public}@", error.message());
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
