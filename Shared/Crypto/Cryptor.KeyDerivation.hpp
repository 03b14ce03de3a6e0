#pragma once

#include "Shared/Crypto/Cryptor.hpp"

#include "Platform/Foundation/CodingTraits.hpp"

#include <cstdint>

namespace Shared {

// How a password becomes a key: Argon2id with its cost and a random salt, stored beside what the key
// protects so that the same password gives the same key again.
struct Cryptor::KeyDerivation {
    static constexpr std::size_t saltByteCount = 16;

    std::uint64_t operationsLimit = 0;
    std::uint64_t memoryLimit = 0;
    Foundation::Data salt;

    // A fresh salt with the interactive cost (64 MiB, two passes).
    static KeyDerivation makeDefault();

    // Checks what was read from storage: a salt of the right size and a cost of at most a few times what
    // the program writes (a damaged file must not ask for gigabytes or many passes). Throws
    // CryptorError.unsupportedFormat.
    void validate() const;

    void encode(Foundation::Encoder& encoder) const;
    static KeyDerivation decode(Foundation::Decoder& decoder);
    friend bool operator==(const KeyDerivation&, const KeyDerivation&) = default;
};

} // namespace Shared
