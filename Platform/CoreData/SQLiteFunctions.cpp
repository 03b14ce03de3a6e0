#include "Platform/CoreData/SQLiteFunctions.hpp"

#include "Platform/CoreData/SQLFragment.hpp"
#include "Platform/CoreData/SQLiteStore.Statement.hpp"
#include "Platform/CoreData/TextComparison.hpp"

#include <sqlite3.h>

namespace CoreData {

namespace {

// SQLite calls these from C: nothing may escape them.
template <int (*compare)(std::string_view, std::string_view)>
int collation(void*, int leftCount, const void* left, int rightCount, const void* right)
{
    try {
        return compare({static_cast<const char*>(left), static_cast<std::size_t>(leftCount)},
                       {static_cast<const char*>(right), static_cast<std::size_t>(rightCount)});
    } catch (...) {
        return 0;
    }
}

std::optional<std::string_view> textArgument(sqlite3_value* value)
{
    if (sqlite3_value_type(value) == SQLITE_NULL)
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)));
}

// cd_compare(left, right, operator, options): a text comparison exactly as predicates evaluate it in memory.
void compareFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    try {
        auto type = static_cast<NSComparisonPredicate::Operator>(sqlite3_value_int(arguments[2]));
        NSComparisonPredicate::Options options {static_cast<std::uint64_t>(sqlite3_value_int64(arguments[3]))};
        auto left = textArgument(arguments[0]);
        auto right = textArgument(arguments[1]);
        bool holds;
        if (left && right) {
            holds = TextComparison::holds(type, *left, *right, options);
        } else {
            bool bothNil = !left && !right;
            holds = type == NSComparisonPredicate::Operator::equalTo ? bothNil
                : type == NSComparisonPredicate::Operator::notEqualTo ? !bothNil
                                                                        : false;
        }
        sqlite3_result_int(context, holds ? 1 : 0);
    } catch (...) {
        sqlite3_result_error_nomem(context);
    }
}

// cd_in(value, set, type): whether a long `in` list holds the value.
void inFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    try {
        const auto* set = static_cast<const SQLValueSet*>(sqlite3_value_pointer(arguments[1], SQLiteFunctions::valueSetPointerType));
        auto value = SQLiteStore::Statement::valueFrom(arguments[0], static_cast<NSAttributeType>(sqlite3_value_int(arguments[2])));
        sqlite3_result_int(context, set && value && !value->isNil() && set->count(*value) ? 1 : 0);
    } catch (...) {
        sqlite3_result_error_nomem(context);
    }
}

} // namespace

void SQLiteFunctions::install(sqlite3* database)
{
    sqlite3_create_collation_v2(database, "cd_string", SQLITE_UTF8, nullptr, collation<TextComparison::compare>, nullptr);
    sqlite3_create_collation_v2(database, "cd_string_ci", SQLITE_UTF8, nullptr, collation<TextComparison::compareCaseInsensitive>, nullptr);
    sqlite3_create_function_v2(database, "cd_compare", 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, compareFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(database, "cd_in", 3, SQLITE_UTF8, nullptr, inFunction, nullptr, nullptr, nullptr);
}

} // namespace CoreData
