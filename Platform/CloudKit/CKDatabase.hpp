#pragma once

#include "Platform/CloudKit/CKDatabase.Scope.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>

namespace Foundation {
class OperationQueue;
}

namespace CloudKit {

class CKDatabaseOperation;
class DatabaseFolder;

// The signed-in account's private database of a container. Operations added to it run concurrently on
// worker threads; whoever is signed in when an operation runs is whose data it sees.
class CKDatabase : public Foundation::NSObject {
public:
    using Scope = CKDatabaseScope;

    Scope databaseScope() const { return m_scope; }
    const Foundation::String& containerIdentifier() const { return m_containerIdentifier; }

    // A long-lived record save is kept in the container before this returns.
    void add(const std::shared_ptr<CKDatabaseOperation>& operation);

    // The folder of the signed-in account. Throws CKError notAuthenticated when nobody is signed in,
    // badContainer when the container's identifier cannot name one.
    std::shared_ptr<DatabaseFolder> folder() const;

protected:
    friend Foundation::Construct;
    CKDatabase(Foundation::String containerIdentifier, Scope scope);

private:
    Foundation::String m_containerIdentifier;
    Scope m_scope;
    std::shared_ptr<Foundation::OperationQueue> m_queue;
};

} // namespace CloudKit
