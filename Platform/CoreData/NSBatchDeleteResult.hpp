#pragma once

#include "Platform/CoreData/NSBatchDeleteRequest.hpp"
#include "Platform/CoreData/NSManagedObjectID.hpp"

#include <cstdint>
#include <vector>

namespace CoreData {

// What a batch delete did: it succeeded, how many objects of the request's entity it deleted, and their IDs
// (objects deleted by a cascade included).
class NSBatchDeleteResult {
public:
    NSBatchDeleteResult(NSBatchDeleteRequest::ResultType resultType, std::int64_t count, std::vector<NSManagedObjectID> objectIDs)
        : m_resultType(resultType)
        , m_count(count)
        , m_objectIDs(std::move(objectIDs))
    {
    }

    NSBatchDeleteRequest::ResultType resultType() const { return m_resultType; }
    bool status() const { return true; }
    std::int64_t count() const { return m_count; }
    const std::vector<NSManagedObjectID>& objectIDs() const { return m_objectIDs; }

private:
    NSBatchDeleteRequest::ResultType m_resultType;
    std::int64_t m_count;
    std::vector<NSManagedObjectID> m_objectIDs;
};

} // namespace CoreData
