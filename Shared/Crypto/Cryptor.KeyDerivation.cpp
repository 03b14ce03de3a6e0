#include "Shared/Crypto/Cryptor.KeyDerivation.hpp"

#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Crypto/Sodium.hpp"

#include "Platform/Foundation/Codable.hpp"

#include <sodium.h>

namespace Shared {

namespace {

// A stored cost well past what the program writes can only come from a damaged or edited file, and
// trying it would hold a person up for many seconds and much memory on every attempt. A few times the
// written cost leaves room to raise it later without refusing what older versions wrote.
constexpr std::uint64_t allowedMultiple = 4;
constexpr std::uint64_t maximumMemoryLimit = allowedMultiple * crypto_pwhash_MEMLIMIT_INTERACTIVE;
constexpr std::uint64_t maximumOperationsLimit = allowedMultiple * crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr std::uint64_t maximumCost = allowedMultiple * crypto_pwhash_MEMLIMIT_INTERACTIVE * crypto_pwhash_OPSLIMIT_INTERACTIVE;

} // namespace

Cryptor::KeyDerivation Cryptor::KeyDerivation::makeDefault()
{
    ensureSodium();
    KeyDerivation derivation;
    derivation.operationsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
    derivation.memoryLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;
    std::vector<std::uint8_t> salt(saltByteCount);
    randombytes_buf(salt.data(), salt.size());
    derivation.salt = Foundation::Data(std::move(salt));
    return derivation;
}

void Cryptor::KeyDerivation::validate() const
{
    static_assert(crypto_pwhash_SALTBYTES == saltByteCount);
    if (salt.count() != saltByteCount || operationsLimit < crypto_pwhash_OPSLIMIT_MIN || operationsLimit > maximumOperationsLimit
        || memoryLimit < crypto_pwhash_MEMLIMIT_MIN || memoryLimit > maximumMemoryLimit || memoryLimit * operationsLimit > maximumCost)
        throw CryptorError::unsupportedFormat(0);
}

void Cryptor::KeyDerivation::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode("argon2id13", "algorithm");
    container.encode(operationsLimit, "operationsLimit");
    container.encode(memoryLimit, "memoryLimit");
    container.encode(salt, "salt");
}

Cryptor::KeyDerivation Cryptor::KeyDerivation::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    if (container.decode<Foundation::String>("algorithm") != "argon2id13")
        throw CryptorError::unsupportedFormat(0);
    KeyDerivation derivation;
    derivation.operationsLimit = container.decode<std::uint64_t>("operationsLimit");
    derivation.memoryLimit = container.decode<std::uint64_t>("memoryLimit");
    derivation.salt = container.decode<Foundation::Data>("salt");
    derivation.validate();
    return derivation;
}

} // namespace Shared
