#pragma once

// The record store's member templates, for its own source files (the store and its bulk transfer).

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"

#include <mutex>
#include <optional>
#include <type_traits>

namespace Shared {

template <class Body>
auto RecordStore::withIndex(Body&& body) const
{
    requireUnlocked();
    loadIndexIfNeeded();
    std::lock_guard lock(m_indexMutex);
    if (!m_index)
        throw RecordStoreError::vaultLocked();
    return body(*m_index, isSafeForInspectionModeActive());
}

template <class Body>
auto RecordStore::performUnlocked(Body&& body) const
{
    requireUnlocked();
    loadIndexIfNeeded();
    return m_context->performAndWait([&] { return body(m_cryptor->itemSecretsKey()); });
}

template <class Body>
auto RecordStore::performUnlockedWriting(Body&& body) const
{
    return performUnlocked([&](const Cryptor::Key& key) {
        using Result = decltype(body(key));
        if constexpr (std::is_void_v<Result>) {
            m_context->performInWriteTransaction([&] { body(key); });
        } else {
            std::optional<Result> result;
            m_context->performInWriteTransaction([&] { result.emplace(body(key)); });
            return std::move(*result);
        }
    });
}

} // namespace Shared
