#include "Shared/Transfer/BackupFile.hpp"

#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Crypto/Sodium.hpp"
#include "Shared/Transfer/BackupStoreError.hpp"

#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <array>
#include <optional>
#include <cerrno>
#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Shared {

namespace {

constexpr std::array<char, 8> magic {'C', 'V', 'D', 'L', 'B', 'A', 'C', 'K'};
constexpr std::size_t chunkSize = 64 * 1024;
constexpr std::size_t sealedChunkSize = chunkSize + crypto_secretstream_xchacha20poly1305_ABYTES;

// What the password's key is derived with and what it opens, hashed: a changed byte there would
// otherwise read as a wrong password, since nothing else can be checked before the key opens.
Foundation::Data keyMaterialChecksum(const BackupFile::Header& header)
{
    ensureSodium();
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, crypto_generichash_BYTES);
    auto add = [&](std::string_view bytes) {
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    };
    auto addNumber = [&](std::uint64_t number) {
        std::array<char, 8> bytes {};
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(number >> (8 * i));
        add(std::string_view(bytes.data(), bytes.size()));
    };
    add("CVDLBACK key material");
    addNumber(header.keyDerivation.operationsLimit);
    addNumber(header.keyDerivation.memoryLimit);
    addNumber(header.keyDerivation.salt.count());
    add(header.keyDerivation.salt.view());
    addNumber(header.wrappedVaultKey.count());
    add(header.wrappedVaultKey.view());
    std::string digest(crypto_generichash_BYTES, '\0');
    crypto_generichash_final(&state, reinterpret_cast<unsigned char*>(digest.data()), digest.size());
    return Foundation::Data::fromString(digest);
}

struct CodableHeader {
    BackupFile::Header header;
    // Files written before the checksum have none.
    std::optional<Foundation::Data> checksum;

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(header.createdAt, "createdAt");
        container.encode(header.keyDerivation, "keyDerivation");
        container.encode(header.wrappedVaultKey, "wrappedVaultKey");
        container.encode(header.masterPasswordCreatedAt, "masterPasswordCreatedAt");
        container.encode(header.masterPasswordChangedAt, "masterPasswordChangedAt");
        container.encode(keyMaterialChecksum(header), "keyMaterialChecksum");
    }
    static CodableHeader decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        CodableHeader result;
        result.header.createdAt = container.decode<Foundation::Date>("createdAt");
        result.header.keyDerivation = container.decode<Cryptor::KeyDerivation>("keyDerivation");
        result.header.wrappedVaultKey = container.decode<Foundation::Data>("wrappedVaultKey");
        result.header.masterPasswordCreatedAt = container.decode<Foundation::Date>("masterPasswordCreatedAt");
        result.header.masterPasswordChangedAt = container.decode<Foundation::Date>("masterPasswordChangedAt");
        result.checksum = container.decodeIfPresent<Foundation::Data>("keyMaterialChecksum");
        return result;
    }
};

void writeAll(int descriptor, const std::string& path, const std::uint8_t* bytes, std::size_t count)
{
    if (Foundation::FileIO::writeAll(descriptor, bytes, count) < 0)
        throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::writing);
}

std::size_t readSome(int descriptor, const std::string& path, std::uint8_t* into, std::size_t count)
{
    auto got = Foundation::FileIO::readFully(descriptor, into, count);
    if (got < 0)
        throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::reading);
    return static_cast<std::size_t>(got);
}

// Opens a backup and reads its prefix: the bytes of it (authenticated with the content) and the header.
int openAndReadPrefix(const std::string& path, std::vector<std::uint8_t>& prefix, BackupFile::Header& header)
{
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::reading);
    try {
        prefix.assign(magic.size() + 1 + 4, 0);
        if (readSome(descriptor, path, prefix.data(), prefix.size()) != prefix.size() || !std::equal(magic.begin(), magic.end(), prefix.begin()))
            throw BackupStoreError::notABackupFile();
        auto version = prefix[magic.size()];
        if (version > BackupFile::formatVersion)
            throw BackupStoreError::newerFormatVersion(version);
        if (version != BackupFile::formatVersion)
            throw BackupStoreError::notABackupFile();
        std::size_t headerSize = 0;
        for (int i = 0; i < 4; ++i)
            headerSize |= static_cast<std::size_t>(prefix[magic.size() + 1 + static_cast<std::size_t>(i)]) << (8 * i);
        if (headerSize == 0 || headerSize > BackupFile::maximumHeaderSize)
            throw BackupStoreError::notABackupFile();
        std::vector<std::uint8_t> headerBytes(headerSize);
        if (readSome(descriptor, path, headerBytes.data(), headerSize) != headerSize)
            throw BackupStoreError::damagedBackup();
        prefix.insert(prefix.end(), headerBytes.begin(), headerBytes.end());
        try {
            auto decoded = Basalwork::JSONCoder::shared()->decode<CodableHeader>(Foundation::Data(std::move(headerBytes)));
            if (decoded.checksum && *decoded.checksum != keyMaterialChecksum(decoded.header))
                throw BackupStoreError::damagedBackup();
            header = std::move(decoded.header);
            header.keyDerivation.validate();
        } catch (const Foundation::Error&) {
            throw BackupStoreError::damagedBackup();
        }
    } catch (...) {
        ::close(descriptor);
        throw;
    }
    return descriptor;
}

} // namespace

// MARK: - Writer

struct BackupFile::Writer::State {
    std::string destination;
    std::string temporary;
    int descriptor = -1;
    bool committed = false;
    crypto_secretstream_xchacha20poly1305_state stream {};
    std::vector<std::uint8_t> prefix;
    std::vector<std::uint8_t> plain;
    std::vector<std::uint8_t> sealed;
    bool isFirstMessage = true;
};

BackupFile::Writer::Writer(const Foundation::URL& destination, const Header& header, const Cryptor::Key& backupKey)
    : m_state(std::make_unique<State>())
{
    ensureSodium();
    auto& state = *m_state;
    state.destination = destination.path().utf8();
    state.temporary = Foundation::FileIO::temporarySiblingPath(state.destination);
    state.descriptor = ::open(state.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (state.descriptor < 0)
        throw Foundation::CocoaError::fileError(errno, state.destination, Foundation::CocoaError::Access::writing);
    auto headerBytes = Basalwork::JSONCoder::shared()->encode(CodableHeader {header, std::nullopt});
    state.prefix.assign(magic.begin(), magic.end());
    state.prefix.push_back(formatVersion);
    for (int i = 0; i < 4; ++i)
        state.prefix.push_back(static_cast<std::uint8_t>(headerBytes.count() >> (8 * i)));
    state.prefix.insert(state.prefix.end(), headerBytes.begin(), headerBytes.end());
    writeAll(state.descriptor, state.destination, state.prefix.data(), state.prefix.size());
    std::array<std::uint8_t, crypto_secretstream_xchacha20poly1305_HEADERBYTES> streamHeader {};
    crypto_secretstream_xchacha20poly1305_init_push(&state.stream, streamHeader.data(), backupKey.bytes());
    writeAll(state.descriptor, state.destination, streamHeader.data(), streamHeader.size());
    state.plain.reserve(chunkSize);
    state.sealed.resize(sealedChunkSize);
}

BackupFile::Writer::~Writer()
{
    auto& state = *m_state;
    if (state.descriptor >= 0)
        ::close(state.descriptor);
    if (!state.committed)
        ::unlink(state.temporary.c_str());
    sodium_memzero(state.plain.data(), state.plain.capacity());
    sodium_memzero(&state.stream, sizeof state.stream);
}

void BackupFile::Writer::push(bool isFinal)
{
    auto& state = *m_state;
    unsigned long long sealedCount = 0;
    // The first message authenticates the prefix, so the header cannot be swapped for another.
    crypto_secretstream_xchacha20poly1305_push(&state.stream, state.sealed.data(), &sealedCount, state.plain.data(), state.plain.size(),
                                               state.isFirstMessage ? state.prefix.data() : nullptr,
                                               state.isFirstMessage ? state.prefix.size() : 0,
                                               isFinal ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : 0);
    state.isFirstMessage = false;
    writeAll(state.descriptor, state.destination, state.sealed.data(), static_cast<std::size_t>(sealedCount));
    sodium_memzero(state.plain.data(), state.plain.size());
    state.plain.clear();
}

void BackupFile::Writer::append(const void* bytes, std::size_t count)
{
    auto& state = *m_state;
    const auto* cursor = static_cast<const std::uint8_t*>(bytes);
    while (count > 0) {
        auto take = std::min(count, chunkSize - state.plain.size());
        state.plain.insert(state.plain.end(), cursor, cursor + take);
        cursor += take;
        count -= take;
        if (state.plain.size() == chunkSize)
            push(false);
    }
}

void BackupFile::Writer::commit()
{
    auto& state = *m_state;
    push(true);
    if (::fsync(state.descriptor) != 0 && errno != EINVAL)
        throw Foundation::CocoaError::fileError(errno, state.destination, Foundation::CocoaError::Access::writing);
    ::close(state.descriptor);
    state.descriptor = -1;
    if (::rename(state.temporary.c_str(), state.destination.c_str()) != 0)
        throw Foundation::CocoaError::fileError(errno, state.destination, Foundation::CocoaError::Access::writing);
    state.committed = true;
    Foundation::FileIO::sync(Foundation::FileIO::parentDirectory(state.destination));
}

// MARK: - Reader

struct BackupFile::Reader::State {
    std::string path;
    int descriptor = -1;
    Header header;
    crypto_secretstream_xchacha20poly1305_state stream {};
    std::vector<std::uint8_t> prefix;
    std::vector<std::uint8_t> plain;
    std::size_t position = 0;
    std::vector<std::uint8_t> sealed;
    bool isFirstMessage = true;
    bool sawFinal = false;
};

BackupFile::Header BackupFile::readHeader(const Foundation::URL& source)
{
    std::vector<std::uint8_t> prefix;
    Header header;
    ::close(openAndReadPrefix(source.path().utf8(), prefix, header));
    return header;
}

BackupFile::Reader::Reader(const Foundation::URL& source, const Cryptor::Key& backupKey)
    : m_state(std::make_unique<State>())
{
    ensureSodium();
    auto& state = *m_state;
    state.path = source.path().utf8();
    state.descriptor = openAndReadPrefix(state.path, state.prefix, state.header);
    std::array<std::uint8_t, crypto_secretstream_xchacha20poly1305_HEADERBYTES> streamHeader {};
    if (readSome(state.descriptor, state.path, streamHeader.data(), streamHeader.size()) != streamHeader.size())
        throw CryptorError::truncated();
    if (crypto_secretstream_xchacha20poly1305_init_pull(&state.stream, streamHeader.data(), backupKey.bytes()) != 0)
        throw CryptorError::authenticationFailed();
    state.sealed.resize(sealedChunkSize);
}

BackupFile::Reader::~Reader()
{
    auto& state = *m_state;
    if (state.descriptor >= 0)
        ::close(state.descriptor);
    sodium_memzero(state.plain.data(), state.plain.size());
    sodium_memzero(&state.stream, sizeof state.stream);
}

const BackupFile::Header& BackupFile::Reader::header() const
{
    return m_state->header;
}

bool BackupFile::Reader::pull()
{
    auto& state = *m_state;
    if (state.sawFinal)
        return false;
    auto count = readSome(state.descriptor, state.path, state.sealed.data(), state.sealed.size());
    if (count < crypto_secretstream_xchacha20poly1305_ABYTES)
        throw CryptorError::truncated();
    state.plain.resize(count - crypto_secretstream_xchacha20poly1305_ABYTES);
    unsigned long long plainCount = 0;
    unsigned char tag = 0;
    if (crypto_secretstream_xchacha20poly1305_pull(&state.stream, state.plain.data(), &plainCount, &tag, state.sealed.data(), count,
                                                   state.isFirstMessage ? state.prefix.data() : nullptr,
                                                   state.isFirstMessage ? state.prefix.size() : 0)
        != 0)
        throw CryptorError::authenticationFailed();
    state.isFirstMessage = false;
    state.plain.resize(static_cast<std::size_t>(plainCount));
    state.position = 0;
    if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL)
        state.sawFinal = true;
    else if (count < state.sealed.size())
        throw CryptorError::truncated();
    return true;
}

void BackupFile::Reader::read(void* into, std::size_t count)
{
    auto& state = *m_state;
    auto* cursor = static_cast<std::uint8_t*>(into);
    while (count > 0) {
        if (state.position == state.plain.size() && !pull())
            throw CryptorError::truncated();
        auto take = std::min(count, state.plain.size() - state.position);
        std::copy_n(state.plain.data() + state.position, take, cursor);
        state.position += take;
        cursor += take;
        count -= take;
    }
}

void BackupFile::Reader::finish()
{
    auto& state = *m_state;
    while (state.position == state.plain.size() && !state.sawFinal)
        pull();
    if (state.position != state.plain.size() || !state.sawFinal)
        throw BackupStoreError::damagedBackup();
    std::uint8_t extra = 0;
    if (readSome(state.descriptor, state.path, &extra, 1) != 0)
        throw CryptorError::authenticationFailed();
}

} // namespace Shared
