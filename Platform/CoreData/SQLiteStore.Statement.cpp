#include "Platform/CoreData/SQLiteStore.Statement.hpp"

#include "Platform/CoreData/CoreDataError.hpp"
#include "Platform/CoreData/SQLiteFunctions.hpp"

#include <sqlite3.h>
#include <utility>

namespace CoreData {

SQLiteStore::Statement::Statement(Statement&& other) noexcept
    : m_store(other.m_store)
    , m_handle(std::exchange(other.m_handle, nullptr))
    , m_cached(other.m_cached)
{
}

SQLiteStore::Statement::~Statement()
{
    if (!m_handle)
        return;
    sqlite3_reset(m_handle);
    sqlite3_clear_bindings(m_handle);
    if (!m_cached)
        sqlite3_finalize(m_handle);
}

void SQLiteStore::Statement::bind(int index, const Value& value)
{
    bind(index, value, SQLITE_TRANSIENT);
}

void SQLiteStore::Statement::bindInPlace(int index, const Value& value)
{
    bind(index, value, SQLITE_STATIC);
}

void SQLiteStore::Statement::bind(int index, const Value& value, void (*lifetime)(void*))
{
    int result = SQLITE_OK;
    struct Bind {
        sqlite3_stmt* statement;
        int index;
        void (*lifetime)(void*);
        int operator()(std::monostate) const { return sqlite3_bind_null(statement, index); }
        int operator()(bool value) const { return sqlite3_bind_int(statement, index, value ? 1 : 0); }
        int operator()(std::int64_t value) const { return sqlite3_bind_int64(statement, index, value); }
        int operator()(double value) const { return sqlite3_bind_double(statement, index, value); }
        int operator()(const Foundation::String& value) const
        {
            return sqlite3_bind_text64(statement, index, value.c_str(), value.utf8().size(), lifetime, SQLITE_UTF8);
        }
        int operator()(Foundation::Date value) const
        {
            return sqlite3_bind_double(statement, index, value.timeIntervalSinceReferenceDate());
        }
        int operator()(const Foundation::Data& value) const
        {
            // A null pointer would bind NULL; empty data is an empty blob.
            if (value.isEmpty())
                return sqlite3_bind_zeroblob(statement, index, 0);
            return sqlite3_bind_blob64(statement, index, value.bytes(), value.count(), lifetime);
        }
        int operator()(const Foundation::UUID& value) const
        {
            return sqlite3_bind_blob(statement, index, value.bytes().data(), static_cast<int>(value.bytes().size()), SQLITE_TRANSIENT);
        }
        int operator()(const NSManagedObjectID& value) const { return sqlite3_bind_int64(statement, index, value.primaryKey()); }
    };
    result = std::visit(Bind {m_handle, index, lifetime}, value.storage());
    if (result != SQLITE_OK)
        m_store.fail(result, "Binding a value");
}

void SQLiteStore::Statement::bind(const std::vector<SQLBinding>& bindings, int first)
{
    int index = first;
    for (const auto& binding : bindings) {
        if (const auto* value = std::get_if<Value>(&binding)) {
            bind(index++, *value);
        } else {
            const auto& set = std::get<std::shared_ptr<const SQLValueSet>>(binding);
            int result = sqlite3_bind_pointer(m_handle, index++, const_cast<SQLValueSet*>(set.get()), SQLiteFunctions::valueSetPointerType, nullptr);
            if (result != SQLITE_OK)
                m_store.fail(result, "Binding a value");
        }
    }
}

bool SQLiteStore::Statement::step()
{
    int result = sqlite3_step(m_handle);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        m_store.fail(result, "Working with the store");
    return false;
}

Value SQLiteStore::Statement::column(int index, const NSEntityDescription::StoredProperty& property)
{
    auto value = valueFrom(sqlite3_column_value(m_handle, index), property.type);
    if (!value) {
        throw CoreDataError::make(CoreDataError::fileReadCorruptFile,
                                  "The store at " + m_store.m_path + " holds a malformed value for " + property.name.utf8() + ".",
                                  m_store.m_path);
    }
    if (property.relationship && !value->isNil())
        return NSManagedObjectID(property.destination->name(), *value->as<std::int64_t>());
    return std::move(*value);
}

std::optional<Value> SQLiteStore::Statement::valueFrom(sqlite3_value* value, NSAttributeType type)
{
    if (sqlite3_value_type(value) == SQLITE_NULL)
        return Value();
    switch (type) {
    case NSAttributeType::string: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        return Value(Foundation::String(std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)))));
    }
    case NSAttributeType::integer64: return Value(static_cast<std::int64_t>(sqlite3_value_int64(value)));
    case NSAttributeType::double_: return Value(sqlite3_value_double(value));
    case NSAttributeType::boolean: return Value(sqlite3_value_int64(value) != 0);
    case NSAttributeType::date: return Value(Foundation::Date(sqlite3_value_double(value)));
    case NSAttributeType::binaryData: {
        const void* bytes = sqlite3_value_blob(value);
        auto count = static_cast<std::size_t>(sqlite3_value_bytes(value));
        return Value(count == 0 ? Foundation::Data() : Foundation::Data(bytes, count));
    }
    case NSAttributeType::uuid: {
        const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_value_blob(value));
        Foundation::UUID::Bytes uuid;
        if (static_cast<std::size_t>(sqlite3_value_bytes(value)) != uuid.size())
            return std::nullopt;
        std::copy(bytes, bytes + uuid.size(), uuid.begin());
        return Value(Foundation::UUID(uuid));
    }
    }
    return std::nullopt;
}

} // namespace CoreData
