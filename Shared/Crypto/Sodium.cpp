#include "Shared/Crypto/Sodium.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <mutex>
#include <sodium.h>

namespace Shared {

void ensureSodium()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (sodium_init() < 0)
            Foundation::fatalError("libsodium could not be initialised");
    });
}

} // namespace Shared
