#pragma once

#include "Shared/Crypto/Cryptor.KeyDerivation.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace Shared {

// What the lock keeps on disk: how the master password becomes a key, and the vault key sealed under it.
struct AuthenticationStore::Records {
    static constexpr std::int64_t currentVersion = 1;
    // Beside them: when the master password the account was last given had changed.
    static constexpr const char* publishedFileName = "authenticationRecords.published.json";

    std::int64_t version = currentVersion;
    Cryptor::KeyDerivation keyDerivation;
    Foundation::Data wrappedVaultKey;
    Foundation::Date createdAt;
    Foundation::Date masterPasswordChangedAt;

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(version, "version");
        container.encode(keyDerivation, "keyDerivation");
        container.encode(wrappedVaultKey, "wrappedVaultKey");
        container.encode(createdAt, "createdAt");
        container.encode(masterPasswordChangedAt, "masterPasswordChangedAt");
    }
    static Records decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        Records records;
        records.version = container.decode<std::int64_t>("version");
        if (records.version != currentVersion)
            return records;
        records.keyDerivation = container.decode<Cryptor::KeyDerivation>("keyDerivation");
        records.wrappedVaultKey = container.decode<Foundation::Data>("wrappedVaultKey");
        records.createdAt = container.decode<Foundation::Date>("createdAt");
        records.masterPasswordChangedAt = container.decode<Foundation::Date>("masterPasswordChangedAt");
        return records;
    }
};

// Rejected master passwords, shared by every process so that none can be used to try more.
struct AuthenticationStore::Attempts {
    std::int64_t failedCount = 0;
    std::optional<Foundation::Date> lastFailedAt;
    bool isAcknowledged = false;

    std::optional<Foundation::Date> reEnabledAt() const
    {
        if (failedCount < freeAttemptCount || !lastFailedAt)
            return std::nullopt;
        double delay = std::min(maximumEntryDelay, 30.0 * std::pow(2.0, static_cast<double>(failedCount - freeAttemptCount)));
        return lastFailedAt->addingTimeInterval(delay);
    }

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(failedCount, "failedCount");
        container.encodeIfPresent(lastFailedAt, "lastFailedAt");
        container.encode(isAcknowledged, "isAcknowledged");
    }
    static Attempts decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decode<std::int64_t>("failedCount"), container.decodeIfPresent<Foundation::Date>("lastFailedAt"),
                container.decode<bool>("isAcknowledged")};
    }
};

} // namespace Shared
