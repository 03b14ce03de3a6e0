#pragma once

#include "Platform/CoreData/Value.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace CoreData {

class NSEntityDescription;

// Inserts objects of one entity straight into the store, without making objects of them: the handler
// fills one object's attributes at a time (those it leaves alone keep their defaults) and answers true
// when there are no more (what it filled then is not inserted). A save runs it (see
// `NSManagedObjectContext::save(std::vector<NSBatchInsertRequest>&)`); contexts are not told, and see
// the rows when they fetch them. For moving many new objects in at once.
class NSBatchInsertRequest {
public:
    class Object {
    public:
        // Throws for a key that is not an attribute of the entity, or a value of another type.
        void setValue(Value value, std::string_view key);

    private:
        friend class NSManagedObjectContext;
        explicit Object(const NSEntityDescription& entity);
        void reset();

        const NSEntityDescription* m_entity;
        std::vector<Value> m_values;
    };
    using Handler = std::function<bool(Object& object)>;

    NSBatchInsertRequest(Foundation::String entityName, Handler handler)
        : m_entityName(std::move(entityName))
        , m_handler(std::move(handler))
    {
    }

    const Foundation::String& entityName() const { return m_entityName; }
    // How many objects the save inserted.
    std::int64_t insertedCount() const { return m_insertedCount; }

private:
    friend class NSManagedObjectContext;
    Foundation::String m_entityName;
    Handler m_handler;
    std::int64_t m_insertedCount = 0;
};

} // namespace CoreData
