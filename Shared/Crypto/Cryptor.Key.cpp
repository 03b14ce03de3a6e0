#include "Shared/Crypto/Cryptor.Key.hpp"

#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Crypto/Sodium.hpp"

#include <new>
#include <sodium.h>

namespace Shared {

Cryptor::Key::Key()
{
    ensureSodium();
    m_bytes = static_cast<std::uint8_t*>(sodium_malloc(byteCount));
    if (!m_bytes)
        throw std::bad_alloc();
}

Cryptor::Key Cryptor::Key::random()
{
    Key key;
    randombytes_buf(key.m_bytes, byteCount);
    return key;
}

Cryptor::Key Cryptor::Key::fromBytes(const std::uint8_t* bytes, std::size_t count)
{
    if (count != byteCount)
        throw CryptorError::authenticationFailed();
    Key key;
    std::copy(bytes, bytes + count, key.m_bytes);
    return key;
}

Cryptor::Key Cryptor::Key::copy() const
{
    return fromBytes(m_bytes, byteCount);
}

Cryptor::Key::Key(Key&& other) noexcept
    : m_bytes(std::exchange(other.m_bytes, nullptr))
{
}

Cryptor::Key& Cryptor::Key::operator=(Key&& other) noexcept
{
    if (this != &other) {
        if (m_bytes)
            sodium_free(m_bytes);
        m_bytes = std::exchange(other.m_bytes, nullptr);
    }
    return *this;
}

Cryptor::Key::~Key()
{
    // sodium_free wipes the bytes before it gives the pages back.
    if (m_bytes)
        sodium_free(m_bytes);
}

} // namespace Shared
