#include "Shared/Crypto/PINGenerator.hpp"

#include "Shared/Crypto/Sodium.hpp"

#include "Platform/Foundation/Codable.hpp"

#include <algorithm>
#include <sodium.h>

namespace Shared {

Foundation::String PINGenerator::generate() const
{
    ensureSodium();
    auto count = std::clamp(length, minimumLength, maximumLength);
    std::string digits;
    for (std::int64_t i = 0; i < count; ++i)
        digits.push_back(static_cast<char>('0' + randombytes_uniform(10)));
    return Foundation::String(std::move(digits));
}

void PINGenerator::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode(length, "length");
}

PINGenerator PINGenerator::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    return {container.decode<std::int64_t>("length")};
}

} // namespace Shared
