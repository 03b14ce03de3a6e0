#pragma once

struct sqlite3;

namespace CoreData {

// What the store's SQL needs of its own: the text collations `cd_string` (canonical order) and
// `cd_string_ci` (ignoring case), `cd_compare(left, right, operator, options)` for text comparisons
// exactly as predicates make them in memory, and `cd_in(value, set, type)` for long `in` lists.
struct SQLiteFunctions {
    static constexpr const char* valueSetPointerType = "CoreData.SQLValueSet";
    static void install(sqlite3* database);
};

} // namespace CoreData
