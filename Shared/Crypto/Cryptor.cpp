#include "Shared/Crypto/Cryptor.hpp"

#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Crypto/Sodium.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/URL.hpp"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Shared {

namespace {

constexpr std::uint8_t sealedFormatVersion = 1;
constexpr std::array<char, 8> fileMagic {'C', 'V', 'D', 'L', 'S', 'E', 'A', 'L'};
constexpr std::uint8_t fileFormatVersion = 1;
constexpr std::uint8_t vaultKeyKind = 1;
constexpr std::uint8_t passwordKind = 2;
// Under the vault key and bound to what the file belongs to: its header authenticates the caller's
// associated data as well. Files of the first kind came before binding and still open.
constexpr std::uint8_t boundVaultKeyKind = 3;
constexpr std::size_t chunkSize = 64 * 1024;
constexpr std::size_t maximumHeaderSize = 64 * 1024;
constexpr char subkeyContext[crypto_kdf_CONTEXTBYTES + 1] = "Corvndle";
// Binds a wrapped vault key to its purpose.
const Foundation::Data vaultKeyContext = Foundation::Data::fromString("Corvendale vault key");

static_assert(Cryptor::Key::byteCount == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
static_assert(Cryptor::Key::byteCount == crypto_secretstream_xchacha20poly1305_KEYBYTES);
static_assert(Cryptor::Key::byteCount == crypto_kdf_KEYBYTES);

void appendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint64_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t readLittleEndian(const std::uint8_t* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return value;
}

// An open file descriptor, closed on every path out.
class Descriptor {
public:
    explicit Descriptor(int descriptor)
        : m_descriptor(descriptor)
    {
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    int get() const { return m_descriptor; }

private:
    int m_descriptor;
};

class Reader {
public:
    explicit Reader(const Foundation::URL& url)
        : m_path(url.path().utf8())
        , m_descriptor(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        if (m_descriptor.get() < 0)
            throw Foundation::CocoaError::fileError(errno, m_path, Foundation::CocoaError::Access::reading);
        struct stat status {};
        if (::fstat(m_descriptor.get(), &status) != 0)
            throw Foundation::CocoaError::fileError(errno, m_path, Foundation::CocoaError::Access::reading);
        if (S_ISDIR(status.st_mode))
            throw Foundation::CocoaError::fileError(EISDIR, m_path, Foundation::CocoaError::Access::reading);
        m_size = static_cast<std::uint64_t>(status.st_size);
    }

    std::uint64_t size() const { return m_size; }

    // Up to `count` bytes; fewer only at the end of the file.
    std::size_t read(std::uint8_t* into, std::size_t count)
    {
        auto got = Foundation::FileIO::readFully(m_descriptor.get(), into, count);
        if (got < 0)
            throw Foundation::CocoaError::fileError(errno, m_path, Foundation::CocoaError::Access::reading);
        return static_cast<std::size_t>(got);
    }

    void readExactly(std::uint8_t* into, std::size_t count)
    {
        if (read(into, count) != count)
            throw CryptorError::truncated();
    }

private:
    std::string m_path;
    Descriptor m_descriptor;
    std::uint64_t m_size = 0;
};

// A fresh, owner-only file beside the destination that replaces it only when committed; dropped
// uncommitted it is removed, so a failure never leaves a partial file (or partial plaintext) behind.
class AtomicWriter {
public:
    explicit AtomicWriter(const Foundation::URL& destination)
        : m_destination(destination.path().utf8())
        , m_temporary(Foundation::FileIO::temporarySiblingPath(m_destination))
        , m_descriptor(::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600))
    {
        if (m_descriptor.get() < 0)
            throw Foundation::CocoaError::fileError(errno, m_destination, Foundation::CocoaError::Access::writing);
    }
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;
    ~AtomicWriter()
    {
        if (!m_committed)
            ::unlink(m_temporary.c_str());
    }

    void write(const std::uint8_t* bytes, std::size_t count)
    {
        if (Foundation::FileIO::writeAll(m_descriptor.get(), bytes, count) < 0)
            throw Foundation::CocoaError::fileError(errno, m_destination, Foundation::CocoaError::Access::writing);
    }
    void write(const std::vector<std::uint8_t>& bytes) { write(bytes.data(), bytes.size()); }

    void commit()
    {
        if (::fsync(m_descriptor.get()) != 0 && errno != EINVAL)
            throw Foundation::CocoaError::fileError(errno, m_destination, Foundation::CocoaError::Access::writing);
        if (::rename(m_temporary.c_str(), m_destination.c_str()) != 0)
            throw Foundation::CocoaError::fileError(errno, m_destination, Foundation::CocoaError::Access::writing);
        m_committed = true;
        Foundation::FileIO::sync(Foundation::FileIO::parentDirectory(m_destination));
    }

private:
    std::string m_destination;
    std::string m_temporary;
    Descriptor m_descriptor;
    bool m_committed = false;
};

void report(Foundation::Progress* progress, std::uint64_t completed)
{
    if (!progress)
        return;
    if (progress->isCancelled())
        throw CryptorError::cancelled();
    progress->setCompletedUnitCount(static_cast<std::int64_t>(completed));
}

std::vector<std::uint8_t> filePrefix(std::uint8_t kind, const Cryptor::KeyDerivation* derivation)
{
    std::vector<std::uint8_t> prefix(fileMagic.begin(), fileMagic.end());
    prefix.push_back(fileFormatVersion);
    prefix.push_back(kind);
    if (derivation) {
        appendLittleEndian(prefix, derivation->operationsLimit, 8);
        appendLittleEndian(prefix, derivation->memoryLimit, 8);
        prefix.insert(prefix.end(), derivation->salt.begin(), derivation->salt.end());
    }
    return prefix;
}

// What the header of a file authenticates: its prefix, and for a bound file the associated data it was
// sealed with (never stored in the file).
std::vector<std::uint8_t> authenticatedData(const std::vector<std::uint8_t>& prefix, const Foundation::Data& associatedData)
{
    auto authenticated = prefix;
    if (prefix[fileMagic.size() + 1] == boundVaultKeyKind)
        authenticated.insert(authenticated.end(), associatedData.begin(), associatedData.end());
    return authenticated;
}

void encryptStream(Reader& reader, AtomicWriter& writer, const Cryptor::Key& key, const std::vector<std::uint8_t>& prefix,
                   const Foundation::Data& header, Foundation::Progress* progress, const Foundation::Data& associatedData = {})
{
    if (header.count() > maximumHeaderSize)
        throw CryptorError::unsupportedFormat(fileFormatVersion);
    if (progress)
        progress->setTotalUnitCount(static_cast<std::int64_t>(reader.size()));
    writer.write(prefix);

    crypto_secretstream_xchacha20poly1305_state state;
    std::array<std::uint8_t, crypto_secretstream_xchacha20poly1305_HEADERBYTES> streamHeader {};
    crypto_secretstream_xchacha20poly1305_init_push(&state, streamHeader.data(), key.bytes());
    writer.write(streamHeader.data(), streamHeader.size());

    // The header message authenticates the prefix, so the format and the key derivation cannot be swapped,
    // and what a bound file belongs to, so that it cannot stand in for another's.
    auto authenticated = authenticatedData(prefix, associatedData);
    std::vector<std::uint8_t> sealedHeader(header.count() + crypto_secretstream_xchacha20poly1305_ABYTES);
    crypto_secretstream_xchacha20poly1305_push(&state, sealedHeader.data(), nullptr, header.bytes(), header.count(), authenticated.data(),
                                               authenticated.size(), crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
    std::vector<std::uint8_t> length;
    appendLittleEndian(length, sealedHeader.size(), 4);
    writer.write(length);
    writer.write(sealedHeader);

    std::vector<std::uint8_t> plain(chunkSize);
    std::vector<std::uint8_t> sealed(chunkSize + crypto_secretstream_xchacha20poly1305_ABYTES);
    std::uint64_t done = 0;
    while (true) {
        std::size_t count = reader.read(plain.data(), chunkSize);
        done += count;
        bool isLast = count < chunkSize || done == reader.size();
        unsigned long long sealedCount = 0;
        crypto_secretstream_xchacha20poly1305_push(&state, sealed.data(), &sealedCount, plain.data(), count, nullptr, 0,
                                                   isLast ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : 0);
        writer.write(sealed.data(), static_cast<std::size_t>(sealedCount));
        report(progress, done);
        if (isLast)
            break;
    }
    sodium_memzero(plain.data(), plain.size());
    sodium_memzero(&state, sizeof state);
}

// Reads the stream after the prefix; plaintext goes to `writer` when there is one.
Foundation::Data decryptStream(Reader& reader, AtomicWriter* writer, const Cryptor::Key& key, const std::vector<std::uint8_t>& prefix,
                               Foundation::Progress* progress, const Foundation::Data& associatedData = {})
{
    if (progress)
        progress->setTotalUnitCount(static_cast<std::int64_t>(reader.size()));
    std::array<std::uint8_t, crypto_secretstream_xchacha20poly1305_HEADERBYTES> streamHeader {};
    reader.readExactly(streamHeader.data(), streamHeader.size());
    crypto_secretstream_xchacha20poly1305_state state;
    if (crypto_secretstream_xchacha20poly1305_init_pull(&state, streamHeader.data(), key.bytes()) != 0)
        throw CryptorError::authenticationFailed();

    std::array<std::uint8_t, 4> lengthBytes {};
    reader.readExactly(lengthBytes.data(), lengthBytes.size());
    auto sealedHeaderCount = static_cast<std::size_t>(readLittleEndian(lengthBytes.data(), 4));
    if (sealedHeaderCount < crypto_secretstream_xchacha20poly1305_ABYTES
        || sealedHeaderCount > maximumHeaderSize + crypto_secretstream_xchacha20poly1305_ABYTES)
        throw CryptorError::authenticationFailed();
    std::vector<std::uint8_t> sealedHeader(sealedHeaderCount);
    reader.readExactly(sealedHeader.data(), sealedHeader.size());
    std::vector<std::uint8_t> header(sealedHeaderCount - crypto_secretstream_xchacha20poly1305_ABYTES);
    unsigned char tag = 0;
    auto authenticated = authenticatedData(prefix, associatedData);
    if (crypto_secretstream_xchacha20poly1305_pull(&state, header.data(), nullptr, &tag, sealedHeader.data(), sealedHeader.size(),
                                                   authenticated.data(), authenticated.size())
            != 0
        || tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE)
        throw CryptorError::authenticationFailed();
    if (!writer)
        return Foundation::Data(std::move(header));

    std::vector<std::uint8_t> sealed(chunkSize + crypto_secretstream_xchacha20poly1305_ABYTES);
    std::vector<std::uint8_t> plain(chunkSize);
    std::uint64_t done = prefix.size() + streamHeader.size() + lengthBytes.size() + sealedHeaderCount;
    while (true) {
        std::size_t count = reader.read(sealed.data(), sealed.size());
        if (count < crypto_secretstream_xchacha20poly1305_ABYTES)
            throw CryptorError::truncated();
        unsigned long long plainCount = 0;
        if (crypto_secretstream_xchacha20poly1305_pull(&state, plain.data(), &plainCount, &tag, sealed.data(), count, nullptr, 0) != 0)
            throw CryptorError::authenticationFailed();
        writer->write(plain.data(), static_cast<std::size_t>(plainCount));
        done += count;
        report(progress, done);
        if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
            std::uint8_t extra = 0;
            if (reader.read(&extra, 1) != 0)
                throw CryptorError::authenticationFailed();
            break;
        }
        if (count < sealed.size())
            throw CryptorError::truncated();
    }
    sodium_memzero(plain.data(), plain.size());
    sodium_memzero(&state, sizeof state);
    return Foundation::Data(std::move(header));
}

// Reads and checks the prefix of a file, giving its kind and, for a password file, its key derivation.
std::vector<std::uint8_t> readPrefix(Reader& reader, std::uint8_t expectedKind, std::optional<Cryptor::KeyDerivation>* derivation)
{
    std::vector<std::uint8_t> prefix(fileMagic.size() + 2);
    reader.readExactly(prefix.data(), prefix.size());
    if (!std::equal(fileMagic.begin(), fileMagic.end(), prefix.begin()))
        throw CryptorError::unsupportedFormat(0);
    if (prefix[fileMagic.size()] != fileFormatVersion)
        throw CryptorError::unsupportedFormat(prefix[fileMagic.size()]);
    auto kind = prefix[fileMagic.size() + 1];
    if (kind != expectedKind && !(expectedKind == vaultKeyKind && kind == boundVaultKeyKind))
        throw CryptorError::authenticationFailed();
    if (expectedKind == passwordKind) {
        std::array<std::uint8_t, 16 + Cryptor::KeyDerivation::saltByteCount> parameters {};
        reader.readExactly(parameters.data(), parameters.size());
        prefix.insert(prefix.end(), parameters.begin(), parameters.end());
        Cryptor::KeyDerivation read;
        read.operationsLimit = readLittleEndian(parameters.data(), 8);
        read.memoryLimit = readLittleEndian(parameters.data() + 8, 8);
        read.salt = Foundation::Data(parameters.data() + 16, Cryptor::KeyDerivation::saltByteCount);
        read.validate();
        *derivation = std::move(read);
    }
    return prefix;
}

} // namespace

const Foundation::Notification::Name& Cryptor::cryptorDidUpdateVaultKey()
{
    static const auto& name = *new Foundation::Notification::Name("cryptorDidUpdateVaultKey");
    return name;
}

Cryptor::Cryptor(std::shared_ptr<Foundation::NotificationCenter> notificationCenter)
    : m_notificationCenter(notificationCenter)
{
    ensureSodium();
}

Cryptor::~Cryptor() = default;

Cryptor::Key Cryptor::deriveKey(const Foundation::String& password, const KeyDerivation& derivation)
{
    ensureSodium();
    derivation.validate();
    auto key = Key::random();
    const auto& text = password.utf8();
    if (crypto_pwhash(key.mutableBytes(), Key::byteCount, text.data(), text.size(), derivation.salt.bytes(),
                      derivation.operationsLimit, static_cast<std::size_t>(derivation.memoryLimit), crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        throw CryptorError::keyDerivationFailed();
    return key;
}

Foundation::Data Cryptor::seal(const Foundation::Data& plaintext, const Key& key, const Foundation::Data& associatedData)
{
    ensureSodium();
    std::vector<std::uint8_t> sealed(1 + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + plaintext.count()
                                     + crypto_aead_xchacha20poly1305_ietf_ABYTES);
    sealed[0] = sealedFormatVersion;
    std::uint8_t* nonce = sealed.data() + 1;
    randombytes_buf(nonce, crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
    // The version byte is authenticated with the caller's data.
    std::vector<std::uint8_t> additional {sealedFormatVersion};
    additional.insert(additional.end(), associatedData.begin(), associatedData.end());
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, nullptr, plaintext.bytes(),
                                               plaintext.count(), additional.data(), additional.size(), nullptr, nonce, key.bytes());
    return Foundation::Data(std::move(sealed));
}

Foundation::Data Cryptor::open(const Foundation::Data& sealed, const Key& key, const Foundation::Data& associatedData)
{
    ensureSodium();
    constexpr std::size_t overhead = 1 + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + crypto_aead_xchacha20poly1305_ietf_ABYTES;
    if (sealed.count() < overhead)
        throw CryptorError::authenticationFailed();
    if (sealed[0] != sealedFormatVersion)
        throw CryptorError::unsupportedFormat(sealed[0]);
    const std::uint8_t* nonce = sealed.bytes() + 1;
    const std::uint8_t* ciphertext = nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
    std::size_t ciphertextCount = sealed.count() - 1 - crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
    std::vector<std::uint8_t> additional {sealedFormatVersion};
    additional.insert(additional.end(), associatedData.begin(), associatedData.end());
    std::vector<std::uint8_t> plaintext(ciphertextCount - crypto_aead_xchacha20poly1305_ietf_ABYTES);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(plaintext.data(), nullptr, nullptr, ciphertext, ciphertextCount, additional.data(),
                                                   additional.size(), nonce, key.bytes())
        != 0)
        throw CryptorError::authenticationFailed();
    return Foundation::Data(std::move(plaintext));
}

void Cryptor::unlock(Key vaultKey)
{
    {
        std::lock_guard lock(m_mutex);
        m_vaultKey = std::make_unique<Key>(std::move(vaultKey));
    }
    if (auto center = m_notificationCenter.lock())
        center->post(cryptorDidUpdateVaultKey(), sharedSelf(this));
}

void Cryptor::lock()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_vaultKey)
            return;
        m_vaultKey.reset();
    }
    if (auto center = m_notificationCenter.lock())
        center->post(cryptorDidUpdateVaultKey(), sharedSelf(this));
}

bool Cryptor::isUnlocked() const
{
    std::lock_guard lock(m_mutex);
    return m_vaultKey != nullptr;
}

Foundation::Data Cryptor::wrapVaultKey(const Key& vaultKey, const Key& passwordKey)
{
    return seal(Foundation::Data(vaultKey.bytes(), Key::byteCount), passwordKey, vaultKeyContext);
}

Cryptor::Key Cryptor::unwrapVaultKey(const Foundation::Data& wrapped, const Key& passwordKey)
{
    auto bytes = open(wrapped, passwordKey, vaultKeyContext);
    auto key = Key::fromBytes(bytes.bytes(), bytes.count());
    bytes.resetBytes({0, bytes.count()});
    return key;
}

Cryptor::Key Cryptor::backupKey(const Key& vaultKey)
{
    ensureSodium();
    auto key = Key::random();
    crypto_kdf_derive_from_key(key.mutableBytes(), Key::byteCount, static_cast<std::uint64_t>(Purpose::backups), subkeyContext, vaultKey.bytes());
    return key;
}

Cryptor::Key Cryptor::backupKey() const
{
    return subkey(Purpose::backups);
}

Cryptor::Key Cryptor::subkey(Purpose purpose) const
{
    std::lock_guard lock(m_mutex);
    if (!m_vaultKey)
        throw CryptorError::locked();
    auto key = Key::random();
    crypto_kdf_derive_from_key(key.mutableBytes(), Key::byteCount, static_cast<std::uint64_t>(purpose), subkeyContext, m_vaultKey->bytes());
    return key;
}

Foundation::Data Cryptor::seal(const Foundation::Data& plaintext, const Foundation::Data& associatedData) const
{
    return seal(plaintext, subkey(Purpose::itemSecrets), associatedData);
}

Foundation::Data Cryptor::open(const Foundation::Data& sealed, const Foundation::Data& associatedData) const
{
    return open(sealed, subkey(Purpose::itemSecrets), associatedData);
}

Cryptor::Key Cryptor::itemSecretsKey() const
{
    return subkey(Purpose::itemSecrets);
}

Foundation::Data Cryptor::sealVaultKey(const Key& key, const Foundation::Data& associatedData) const
{
    std::lock_guard lock(m_mutex);
    if (!m_vaultKey)
        throw CryptorError::locked();
    return seal(Foundation::Data(m_vaultKey->bytes(), Key::byteCount), key, associatedData);
}

void Cryptor::encryptFile(const Foundation::URL& source, const Foundation::URL& destination, const Foundation::Data& header,
                          Foundation::Progress* progress, const Foundation::Data& associatedData) const
{
    auto key = subkey(Purpose::files);
    Reader reader(source);
    AtomicWriter writer(destination);
    auto prefix = filePrefix(associatedData.isEmpty() ? vaultKeyKind : boundVaultKeyKind, nullptr);
    encryptStream(reader, writer, key, prefix, header, progress, associatedData);
    writer.commit();
}

Foundation::Data Cryptor::decryptFile(const Foundation::URL& source, const Foundation::URL& destination, Foundation::Progress* progress,
                                      const Foundation::Data& associatedData) const
{
    auto key = subkey(Purpose::files);
    Reader reader(source);
    auto prefix = readPrefix(reader, vaultKeyKind, nullptr);
    AtomicWriter writer(destination);
    auto header = decryptStream(reader, &writer, key, prefix, progress, associatedData);
    writer.commit();
    return header;
}

Foundation::Data Cryptor::decryptHeader(const Foundation::URL& source, const Foundation::Data& associatedData) const
{
    auto key = subkey(Purpose::files);
    Reader reader(source);
    auto prefix = readPrefix(reader, vaultKeyKind, nullptr);
    return decryptStream(reader, nullptr, key, prefix, nullptr, associatedData);
}

void Cryptor::encryptFile(const Foundation::URL& source, const Foundation::URL& destination, const Foundation::Data& header,
                          const Foundation::String& password, Foundation::Progress* progress)
{
    auto derivation = KeyDerivation::makeDefault();
    auto key = deriveKey(password, derivation);
    Reader reader(source);
    AtomicWriter writer(destination);
    encryptStream(reader, writer, key, filePrefix(passwordKind, &derivation), header, progress);
    writer.commit();
}

Foundation::Data Cryptor::decryptFile(const Foundation::URL& source, const Foundation::URL& destination, const Foundation::String& password,
                                      Foundation::Progress* progress)
{
    Reader reader(source);
    std::optional<KeyDerivation> derivation;
    auto prefix = readPrefix(reader, passwordKind, &derivation);
    auto key = deriveKey(password, *derivation);
    AtomicWriter writer(destination);
    auto header = decryptStream(reader, &writer, key, prefix, progress);
    writer.commit();
    return header;
}

} // namespace Shared
