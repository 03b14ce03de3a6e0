#pragma once

#include "Shared/Crypto/Cryptor.Key.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>

namespace Shared {

// What the authentication store needs of the record store: the cryptor that holds the vault key, and the
// copy of the records that travels with the account, so that every installation opens the same vault key
// with the same master password.
class AuthenticationRecordSource {
public:
    virtual ~AuthenticationRecordSource() = default;
    virtual std::shared_ptr<Cryptor> cryptor() const = 0;
    // The records as the account last had them (or as this installation last gave them); nothing when
    // it has none yet.
    virtual std::optional<Foundation::Data> syncedAuthenticationRecords() const { return std::nullopt; }
    // Keeps the records for the account; the next sync pushes them.
    virtual void setSyncedAuthenticationRecords(const Foundation::Data&, Foundation::Date) { }
    // The vault key that the safe-for-inspection password opens; nothing for any other password, or while
    // no such password is set.
    virtual std::optional<Cryptor::Key> vaultKey(const Foundation::String& /*safeForInspectionPassword*/) const { return std::nullopt; }
    // A password is about to be tried: what the vault's first read needs without its key may be read
    // meanwhile, while the key is derived. `unlockFailed` lets go of it when the password opened nothing.
    virtual void willTryPassword() const { }
    virtual void unlockFailed() const { }
};

} // namespace Shared
