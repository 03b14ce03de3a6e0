#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"

#include <memory>
#include <optional>

namespace Shared {

class Cryptor;

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
};

} // namespace Shared
