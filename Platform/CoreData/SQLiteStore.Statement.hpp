#pragma once

#include "Platform/CoreData/NSEntityDescription.hpp"
#include "Platform/CoreData/SQLiteStore.hpp"

#include <optional>
#include <vector>

struct sqlite3_value;

namespace CoreData {

// A prepared statement in use; it is reset (and, when cached, left for the next use) when it goes.
// Failures throw through the store's error mapping.
class SQLiteStore::Statement {
public:
    Statement(SQLiteStore& store, sqlite3_stmt* handle, bool cached)
        : m_store(store)
        , m_handle(handle)
        , m_cached(cached)
    {
    }
    Statement(Statement&& other) noexcept;
    ~Statement();

    sqlite3_stmt* handle() const { return m_handle; }
    void bind(int index, const Value& value);
    // Without copying texts and bytes: the value must stay as it is until the statement has stepped.
    void bindInPlace(int index, const Value& value);
    void bind(const std::vector<SQLBinding>& bindings, int first = 1);
    // True while there is a row to read.
    bool step();
    // A column of the current row as the stored property's value.
    Value column(int index, const NSEntityDescription::StoredProperty& property);

    // A value as SQLite holds it; nothing when the bytes cannot be a value of the type.
    static std::optional<Value> valueFrom(sqlite3_value* value, NSAttributeType type);

private:
    void bind(int index, const Value& value, void (*lifetime)(void*));

    SQLiteStore& m_store;
    sqlite3_stmt* m_handle;
    bool m_cached;
};

} // namespace CoreData
