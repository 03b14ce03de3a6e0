#pragma once

#include "Shared/Model/Attachment.hpp"
#include "Shared/Stores/AttachmentDataSource.hpp"

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Foundation {
class FileManager;
}

namespace Shared {

class Cryptor;

// Attachments, encrypted at rest under the vault key: one file per attachment identifier in the store's
// folder. Decrypted copies go only to owner-only temporary folders, which housekeeping sweeps: each open
// store keeps its copies in a folder of its own under the user's decryption folder, held by a lock
// beside it, so that the housekeeping of another process (a second installation) takes only what
// ended processes left.
class AttachmentDataStore : public Foundation::NSObject, public AttachmentDataSource {
public:
    // Encrypts the file into the store under a new identifier (or the one given, which an import keeps);
    // the attachment names it. Throws when the vault is locked or the file cannot be read.
    Attachment importFile(const Foundation::URL& fileURL, const Foundation::String& entryID, Foundation::Progress* progress = nullptr,
                          const std::optional<Foundation::String>& attachmentID = std::nullopt);
    // Synchronous decryption to a fresh temporary folder; throws RecordStoreError.attachmentNotFound,
    // CryptorError for a file that does not authenticate, or the cancellation.
    Foundation::URL decryptToTemporaryFile(const Foundation::String& attachmentID, Foundation::Progress* progress = nullptr) const;
    void decryptToTemporaryURL(const Foundation::String& attachmentID, const std::shared_ptr<Foundation::Progress>& progress,
                               Basalwork::ResultHandler<DecryptionResult> resultHandler) override;
    std::shared_ptr<Foundation::NSItemProvider> itemProvider(const Foundation::String& attachmentID) override;
    // Removes a decrypted copy and the folder made for it alone.
    static void removeDecryptedCopy(const Foundation::URL& url);

    bool containsData(const Foundation::String& attachmentID) const override;
    void deleteData(const std::vector<Foundation::String>& attachmentIDs);
    void deleteAllData();

    // For sync: a copy of the encrypted file in the temporary folder of that name (nothing only when the
    // attachment has no data; a store that cannot be read throws), and an encrypted file received for an
    // attachment, checked before it replaces any. Removing the temporary folder throws what failed.
    std::optional<Foundation::URL> encryptedFileURL(const Foundation::String& attachmentID, const Foundation::String& inTemporaryFolderNamed) const;
    void storeEncryptedFile(const Foundation::URL& fileURL, const Foundation::String& attachmentID);
    void removeTemporaryFolder(const Foundation::String& named) const;

    // Removes every decrypted copy this store made, the copies of processes that have ended and, while no
    // other process has the store open, every file an interrupted write left behind. Called at launch and
    // at termination.
    void performHousekeeping() const;
    // Removes the encrypted files of attachments that no record names (a save killed after its file was
    // written): only while no other process has the store open, so that none of their unsaved imports
    // goes, and never a file this process wrote. `namedIDs` answers the identifiers records name; it is
    // asked once the other processes are kept out.
    void removeUnnamedData(const std::function<std::set<std::string>()>& namedIDs) const;

    ~AttachmentDataStore() override;

    const Foundation::URL& folderURL() const { return m_folderURL; }

protected:
    friend Foundation::Construct;
    // Throws when the location cannot be resolved.
    AttachmentDataStore(const Basalwork::File::Location& location, std::shared_ptr<Foundation::FileManager> fileManager,
                        std::shared_ptr<Cryptor> cryptor);

private:
    // Runs `body` holding the folder alone, or answers false without running it while another process has
    // the store open.
    bool whileAlone(const std::function<void()>& body) const;
    void wrote(const Foundation::String& attachmentID);
    Foundation::URL dataURL(const Foundation::String& attachmentID) const;
    // The user's own folder of decrypted copies, in the temporary directory.
    Foundation::URL decryptedFolderURL() const;
    // This store's folder in it, made (with its lock) on first use.
    std::string sessionFolder() const;
    void removeSessionFolder() const;

    std::shared_ptr<Foundation::FileManager> m_fileManager;
    std::shared_ptr<Cryptor> m_cryptor;
    Foundation::URL m_folderURL;
    // A shared lock on the folder's lock file for as long as the store is open.
    int m_lockDescriptor = -1;
    mutable std::mutex m_mutex;
    std::set<std::string> m_written;
    mutable std::mutex m_sessionMutex;
    mutable std::string m_sessionFolder;
    // An exclusive lock on "<session folder>.lock" while the session folder is in use.
    mutable int m_sessionLockDescriptor = -1;
};

} // namespace Shared
