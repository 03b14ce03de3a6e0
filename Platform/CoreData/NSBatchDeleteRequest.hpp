#pragma once

#include "Platform/CoreData/NSFetchRequest.hpp"

namespace CoreData {

// Deletes, in the store and without loading them, the objects a fetch request matches (its predicate,
// and its sort, offset and limit when it has them). Delete rules are followed; contexts are not told,
// except the one that executes it, which forgets the objects. The result tells what was deleted.
class NSBatchDeleteRequest {
public:
    enum class ResultType { resultTypeStatusOnly, resultTypeObjectIDs, resultTypeCount };

    explicit NSBatchDeleteRequest(NSFetchRequest<NSManagedObject> fetchRequest)
        : m_fetchRequest(std::move(fetchRequest))
    {
    }

    const NSFetchRequest<NSManagedObject>& fetchRequest() const { return m_fetchRequest; }
    ResultType resultType() const { return m_resultType; }
    void setResultType(ResultType resultType) { m_resultType = resultType; }

private:
    NSFetchRequest<NSManagedObject> m_fetchRequest;
    ResultType m_resultType = ResultType::resultTypeStatusOnly;
};

} // namespace CoreData
