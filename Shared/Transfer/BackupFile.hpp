#pragma once

#include "Shared/Crypto/Cryptor.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace Shared {

// The backup file. A plain prefix, then the content sealed with XChaCha20-Poly1305 (libsodium's secret
// stream, 64 KiB a message, the last one marked final):
//     "CVDLBACK", format version (1 byte), header length (4 bytes, little-endian), header (JSON)
// The header carries the key derivation of the master password (Argon2id salt and limits) and the
// vault key sealed under that password's key; the content is sealed with the backup key derived from
// the vault key, and its first message authenticates the prefix. So the master password at the time of
// the backup opens it on any installation, a changed byte or a cut-off end is refused, and a file of a
// newer format version is recognised as such.
class BackupFile {
public:
    static constexpr std::uint8_t formatVersion = 1;
    static constexpr std::size_t maximumHeaderSize = 64 * 1024;

    struct Header {
        Foundation::Date createdAt;
        Cryptor::KeyDerivation keyDerivation;
        Foundation::Data wrappedVaultKey;
        Foundation::Date masterPasswordCreatedAt;
        Foundation::Date masterPasswordChangedAt;
    };

    // Writes a new file beside `destination` (owner-only) and renames it into place at `commit`; a writer
    // dropped before that removes its file.
    class Writer {
    public:
        Writer(const Foundation::URL& destination, const Header& header, const Cryptor::Key& backupKey);
        Writer(const Writer&) = delete;
        Writer& operator=(const Writer&) = delete;
        ~Writer();
        void append(const void* bytes, std::size_t count);
        void commit();

    private:
        void push(bool isFinal);
        struct State;
        std::unique_ptr<State> m_state;
    };

    // Reads the content back after the header; throws CryptorError.authenticationFailed for a changed
    // file or a wrong key and CryptorError.truncated for a cut-off one.
    class Reader {
    public:
        Reader(const Foundation::URL& source, const Cryptor::Key& backupKey);
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;
        ~Reader();
        const Header& header() const;
        // Exactly `count` bytes of content.
        void read(void* into, std::size_t count);
        // The content must end here, with the final message.
        void finish();

    private:
        bool pull();
        struct State;
        std::unique_ptr<State> m_state;
    };

    // The header alone (to derive the key from). Throws BackupStoreError for a file that is not a backup
    // or is of a newer format.
    static Header readHeader(const Foundation::URL& source);
};

} // namespace Shared
