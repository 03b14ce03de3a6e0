#pragma once

#include "Shared/Crypto/Cryptor.hpp"

#include <cstddef>
#include <cstdint>

namespace Shared {

// 32 bytes of key in memory of its own: guarded by inaccessible pages, kept out of swap where the
// system allows, and wiped when released. Moves, never copies.
class Cryptor::Key {
public:
    static constexpr std::size_t byteCount = 32;

    static Key random();
    // Throws CryptorError.authenticationFailed for a length other than byteCount.
    static Key fromBytes(const std::uint8_t* bytes, std::size_t count);

    Key(Key&& other) noexcept;
    Key& operator=(Key&& other) noexcept;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key();

    const std::uint8_t* bytes() const { return m_bytes; }
    std::uint8_t* mutableBytes() { return m_bytes; }
    Key copy() const;

private:
    Key();
    std::uint8_t* m_bytes = nullptr;
};

} // namespace Shared
