#pragma once

#include "Platform/CoreData/NSPersistentHistoryToken.hpp"

namespace CoreData {

// Reads the history of a store that keeps one (NSPersistentStoreDescription::persistentHistoryTracking)
// after a token, or forgets it up to a token, executed in a context (NSManagedObjectContext::execute).
// Reading after a token whose changes were forgotten fails with persistentHistoryTokenExpired: the reader
// has missed changes and must read the store afresh.
class NSPersistentHistoryChangeRequest {
public:
    enum class Kind { fetchAfter, deleteBefore };

    static NSPersistentHistoryChangeRequest fetchHistory(NSPersistentHistoryToken after) { return {Kind::fetchAfter, after}; }
    // Forgets every change up to and including the token's.
    static NSPersistentHistoryChangeRequest deleteHistory(NSPersistentHistoryToken before) { return {Kind::deleteBefore, before}; }

    Kind kind() const { return m_kind; }
    const NSPersistentHistoryToken& token() const { return m_token; }

private:
    NSPersistentHistoryChangeRequest(Kind kind, NSPersistentHistoryToken token)
        : m_kind(kind)
        , m_token(token)
    {
    }

    Kind m_kind;
    NSPersistentHistoryToken m_token;
};

} // namespace CoreData
