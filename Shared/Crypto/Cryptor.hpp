#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <mutex>

namespace Foundation {
class NotificationCenter;
class Progress;
class URL;
} // namespace Foundation

namespace Shared {

// The vault's cryptography, on libsodium. The master password derives a key with Argon2id and a stored
// random salt; item secrets are sealed with XChaCha20-Poly1305, files (attachments, backups) with its
// streaming form in 64 KiB chunks. The vault key is held in guarded memory while the vault is unlocked
// and wiped when it locks. Data that does not authenticate (a changed byte, a wrong key, a cut-off file)
// is refused with CryptorError and never returned.
class Cryptor : public Foundation::NSObject {
public:
    class Key;
    struct KeyDerivation;

    // Posted, with the cryptor as object, after the vault key was set or wiped.
    static const Foundation::Notification::Name& cryptorDidUpdateVaultKey();

    // The key of `password` under `derivation` (Argon2id). Throws keyDerivationFailed when the system
    // cannot give the memory it needs.
    static Key deriveKey(const Foundation::String& password, const KeyDerivation& derivation);

    // Seals and opens with an explicit key (wrapping the vault key under the password's key). The
    // associated data is authenticated but not stored.
    static Foundation::Data seal(const Foundation::Data& plaintext, const Key& key, const Foundation::Data& associatedData = {});
    static Foundation::Data open(const Foundation::Data& sealed, const Key& key, const Foundation::Data& associatedData = {});

    // The vault key sealed under a password's key, and opened again (CryptorError.authenticationFailed
    // for a wrong password or damaged data).
    static Foundation::Data wrapVaultKey(const Key& vaultKey, const Key& passwordKey);
    static Key unwrapVaultKey(const Foundation::Data& wrapped, const Key& passwordKey);
    // The key backups are sealed with: derived from a vault key, so that whoever can open the vault
    // with its master password can open its backups, also on another installation.
    static Key backupKey(const Key& vaultKey);
    // The same for the unlocked vault; throws CryptorError.locked.
    Key backupKey() const;

    void unlock(Key vaultKey);
    // Wipes the vault key; a locked cryptor refuses every vault operation with CryptorError.locked.
    void lock();
    bool isUnlocked() const;

    // Item secrets under the vault key.
    Foundation::Data seal(const Foundation::Data& plaintext, const Foundation::Data& associatedData = {}) const;
    Foundation::Data open(const Foundation::Data& sealed, const Foundation::Data& associatedData = {}) const;
    // The key those two use, for sealing or opening many items at once with the static forms (the
    // vault's index at unlock); throws CryptorError.locked.
    Key itemSecretsKey() const;
    // The vault key sealed under another key (one a second password derives), without handing it out;
    // Cryptor::open with that key gives its bytes back. Throws CryptorError.locked.
    Foundation::Data sealVaultKey(const Key& key, const Foundation::Data& associatedData) const;

    // Files under the vault key. `header` is a short description of the content (a file name) that is
    // sealed in front of it and given back on decryption. Both write the destination atomically (a
    // failure leaves nothing there) and report to `progress`, whose cancellation stops them.
    // `associatedData` (what the file belongs to, such as an attachment's identifier) binds the file: it
    // opens only with the same bytes. A file sealed without any, as all were before binding, opens
    // whatever is given.
    void encryptFile(const Foundation::URL& source, const Foundation::URL& destination, const Foundation::Data& header,
                     Foundation::Progress* progress = nullptr, const Foundation::Data& associatedData = {}) const;
    Foundation::Data decryptFile(const Foundation::URL& source, const Foundation::URL& destination, Foundation::Progress* progress = nullptr,
                                 const Foundation::Data& associatedData = {}) const;
    // Only the header of a file under the vault key.
    Foundation::Data decryptHeader(const Foundation::URL& source, const Foundation::Data& associatedData = {}) const;

    // Files under a password of their own (backups); the key derivation travels in the file.
    static void encryptFile(const Foundation::URL& source, const Foundation::URL& destination, const Foundation::Data& header,
                            const Foundation::String& password, Foundation::Progress* progress = nullptr);
    static Foundation::Data decryptFile(const Foundation::URL& source, const Foundation::URL& destination,
                                        const Foundation::String& password, Foundation::Progress* progress = nullptr);

    ~Cryptor() override;

protected:
    friend Foundation::Construct;
    explicit Cryptor(std::shared_ptr<Foundation::NotificationCenter> notificationCenter);

private:
    enum class Purpose : std::uint64_t { itemSecrets = 1, files = 2, backups = 3 };
    Key subkey(Purpose purpose) const;

    std::weak_ptr<Foundation::NotificationCenter> m_notificationCenter;
    mutable std::mutex m_mutex;
    std::unique_ptr<Key> m_vaultKey;
};

} // namespace Shared

#include "Shared/Crypto/Cryptor.Key.hpp"
#include "Shared/Crypto/Cryptor.KeyDerivation.hpp"
