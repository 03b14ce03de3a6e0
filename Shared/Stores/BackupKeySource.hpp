#pragma once

#include "Shared/Crypto/Cryptor.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"

#include <memory>
#include <optional>

namespace Shared {

// The master password's records, which travel in each backup so that it opens without this machine.
struct BackupKeyMaterial {
    Cryptor::KeyDerivation keyDerivation;
    Foundation::Data wrappedVaultKey;
    Foundation::Date createdAt;
    Foundation::Date masterPasswordChangedAt;
};
// What the backup store needs of the authentication store, which keeps those records.
class BackupKeySource {
public:
    virtual ~BackupKeySource() = default;
    virtual std::optional<BackupKeyMaterial> backupKeyMaterial() const = 0;
    // Writes restored records; throws when they cannot be written.
    virtual void restoreBackupKeyMaterial(const BackupKeyMaterial& material) = 0;
};

// Where the authentication store offers itself as that key source: the backup store.
class BackupKeyTaker {
public:
    virtual ~BackupKeyTaker() = default;
    virtual void setKeySource(std::weak_ptr<BackupKeySource> keySource) = 0;
};

} // namespace Shared
