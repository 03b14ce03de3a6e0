#include "Platform/CoreData/SQLiteStore.hpp"

#include "Platform/CoreData/CoreDataError.hpp"
#include "Platform/CoreData/NSEntityDescription.hpp"
#include "Platform/CoreData/NSManagedObjectModel.hpp"
#include "Platform/CoreData/SQLiteStore.Statement.hpp"

#include <map>
#include <random>
#include <sqlite3.h>

namespace CoreData {

// The history is kept by the store itself, in triggers on every entity's table, so that every write
// counts whoever makes it: a save, a batch insert or delete, another process, a program that does not
// read the history. "_history" numbers each change of a row and notes the connection that made it (a
// random number each connection draws), so that a reader tells its own changes from others';
// "_historyTombstone" keeps the preserved values of deleted rows; "_metadata" notes up to where the
// history was forgotten.

namespace {

std::string quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

// The triggers that record the entity's changes, by name.
std::map<std::string, std::string> historyTriggers(const NSEntityDescription& entity)
{
    const auto name = entity.name().utf8();
    const auto table = quoted(name);
    auto record = [&](const char* kind, const char* row) {
        return "INSERT INTO \"_history\" (\"entity\", \"key\", \"kind\", \"connection\") VALUES ('" + name + "', " + row + ".\"_pk\", " + kind
            + ", cd_connection());";
    };
    std::string tombstone;
    for (const auto& property : entity.storedProperties()) {
        if (!property.preservesValueInHistoryOnDeletion || property.relationship)
            continue;
        tombstone += " INSERT INTO \"_historyTombstone\" (\"stamp\", \"name\", \"value\") VALUES (last_insert_rowid(), '" + property.name.utf8()
            + "', OLD." + quoted(property.name.utf8()) + ");";
    }
    return {
        {"_history_" + name + "_insert", "CREATE TRIGGER \"_history_" + name + "_insert\" AFTER INSERT ON " + table + " BEGIN " + record("0", "NEW") + " END"},
        {"_history_" + name + "_update", "CREATE TRIGGER \"_history_" + name + "_update\" AFTER UPDATE ON " + table + " BEGIN " + record("1", "NEW") + " END"},
        {"_history_" + name + "_delete",
         "CREATE TRIGGER \"_history_" + name + "_delete\" AFTER DELETE ON " + table + " BEGIN " + record("2", "OLD") + tombstone + " END"},
    };
}

Value anyValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return Value(static_cast<std::int64_t>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(statement, column));
    case SQLITE_TEXT:
        return Value(Foundation::String(reinterpret_cast<const char*>(sqlite3_column_text(statement, column))));
    default:
        return Value();
    }
}

} // namespace

void SQLiteStore::installHistoryFunction()
{
    std::random_device entropy;
    m_connectionNumber = static_cast<std::int64_t>((static_cast<std::uint64_t>(entropy()) << 32 | entropy()) >> 1);
    sqlite3_create_function_v2(
        m_database, "cd_connection", 0, SQLITE_UTF8, this,
        [](sqlite3_context* context, int, sqlite3_value**) {
            sqlite3_result_int64(context, static_cast<SQLiteStore*>(sqlite3_user_data(context))->m_connectionNumber);
        },
        nullptr, nullptr, nullptr);
}

bool SQLiteStore::fitHistory(const NSManagedObjectModel& model, bool apply)
{
    if (!m_tracksHistory)
        return false;
    bool changes = false;
    auto change = [&](const std::string& sql) {
        changes = true;
        if (apply)
            execute(sql);
    };
    std::map<std::string, std::string> existing;
    bool hasHistory = false;
    {
        Statement statement = prepare("SELECT \"type\", \"name\", \"sql\" FROM sqlite_master WHERE \"type\" = 'trigger' OR \"name\" = '_history'");
        while (statement.step()) {
            std::string name = reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 1));
            if (name == "_history")
                hasHistory = true;
            else
                existing[name] = reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 2));
        }
    }
    if (!hasHistory) {
        change("CREATE TABLE \"_history\" (\"stamp\" INTEGER PRIMARY KEY AUTOINCREMENT, \"entity\" TEXT NOT NULL, \"key\" INTEGER NOT NULL, "
               "\"kind\" INTEGER NOT NULL, \"connection\" INTEGER) STRICT");
        change("CREATE TABLE \"_historyTombstone\" (\"stamp\" INTEGER NOT NULL, \"name\" TEXT NOT NULL, \"value\" ANY) STRICT");
        change("CREATE INDEX \"_index__historyTombstone_stamp\" ON \"_historyTombstone\" (\"stamp\")");
    }
    for (const auto& entity : model.entities()) {
        for (const auto& [name, sql] : historyTriggers(*entity)) {
            auto found = existing.find(name);
            if (found != existing.end() && found->second == sql)
                continue;
            // Another model keeps other values of deleted rows: the trigger is made anew.
            if (found != existing.end())
                change("DROP TRIGGER " + quoted(name));
            change(sql);
        }
    }
    return changes;
}

std::int64_t SQLiteStore::historyForgottenThrough()
{
    Statement statement = prepare("SELECT \"value\" FROM \"_metadata\" WHERE \"key\" = 'historyForgottenThrough'");
    if (!statement.step())
        return 0;
    return Foundation::parseInt(reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 0))).value_or(0);
}

void SQLiteStore::requireHistory() const
{
    if (!m_tracksHistory)
        throw CoreDataError::make(CoreDataError::persistentStoreOperation, "The store at " + m_path + " keeps no history: it was opened without tracking it.",
                                  m_path);
}

NSPersistentHistoryToken SQLiteStore::historyToken()
{
    requireHistory();
    auto guard = lock();
    // The numbering goes on where the last change left it, even once the history is forgotten.
    Statement statement = prepare("SELECT \"seq\" FROM sqlite_sequence WHERE \"name\" = '_history'");
    return NSPersistentHistoryToken(statement.step() ? sqlite3_column_int64(statement.handle(), 0) : 0);
}

NSPersistentHistoryResult SQLiteStore::history(NSPersistentHistoryToken after)
{
    requireHistory();
    auto guard = lock();
    // One read transaction (unless one is open already): the changes and the forgotten mark agree.
    struct ReadTransaction {
        sqlite3* database;
        bool isOwn;
        ~ReadTransaction()
        {
            if (isOwn)
                sqlite3_exec(database, "COMMIT", nullptr, nullptr, nullptr);
        }
    } reading {m_database, sqlite3_get_autocommit(m_database) != 0};
    if (reading.isOwn)
        execute("BEGIN");
    if (after.stamp() < historyForgottenThrough()) {
        throw CoreDataError::make(CoreDataError::persistentHistoryTokenExpired,
                                  "The history of the store at " + m_path + " no longer reaches back to the token.", m_path);
    }
    NSPersistentHistoryResult result;
    result.token = after;
    std::map<std::int64_t, std::size_t> deletions;
    {
        Statement statement
            = prepare("SELECT \"stamp\", \"entity\", \"key\", \"kind\", \"connection\" FROM \"_history\" WHERE \"stamp\" > ? ORDER BY \"stamp\"");
        statement.bind(1, Value(after.stamp()));
        while (statement.step()) {
            auto* handle = statement.handle();
            auto stamp = sqlite3_column_int64(handle, 0);
            auto kind = sqlite3_column_int64(handle, 3);
            NSPersistentHistoryChange change;
            change.changedObjectID = NSManagedObjectID(Foundation::String(reinterpret_cast<const char*>(sqlite3_column_text(handle, 1))),
                                                       sqlite3_column_int64(handle, 2));
            change.changeType = kind == 0   ? NSPersistentHistoryChange::ChangeType::insert
                              : kind == 1 ? NSPersistentHistoryChange::ChangeType::update
                                          : NSPersistentHistoryChange::ChangeType::delete_;
            change.isLocal = sqlite3_column_int64(handle, 4) == m_connectionNumber;
            if (change.changeType == NSPersistentHistoryChange::ChangeType::delete_)
                deletions.emplace(stamp, result.changes.size());
            result.changes.push_back(std::move(change));
            result.token = NSPersistentHistoryToken(stamp);
        }
    }
    if (!deletions.empty()) {
        Statement statement = prepare("SELECT \"stamp\", \"name\", \"value\" FROM \"_historyTombstone\" WHERE \"stamp\" > ?");
        statement.bind(1, Value(after.stamp()));
        while (statement.step()) {
            auto found = deletions.find(sqlite3_column_int64(statement.handle(), 0));
            if (found != deletions.end())
                result.changes[found->second].tombstone[reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 1))]
                    = anyValue(statement.handle(), 2);
        }
    }
    return result;
}

void SQLiteStore::deleteHistory(NSPersistentHistoryToken through)
{
    requireHistory();
    Transaction transaction(*this);
    if (through.stamp() <= historyForgottenThrough())
        return;
    for (const char* sql : {"DELETE FROM \"_history\" WHERE \"stamp\" <= ?", "DELETE FROM \"_historyTombstone\" WHERE \"stamp\" <= ?"}) {
        Statement forget = prepare(sql);
        forget.bind(1, Value(through.stamp()));
        forget.step();
    }
    {
        Statement mark = prepare("INSERT OR REPLACE INTO \"_metadata\" (\"key\", \"value\") VALUES ('historyForgottenThrough', ?)");
        mark.bind(1, Value(Foundation::String(std::to_string(through.stamp()))));
        mark.step();
    }
    transaction.commit();
}

} // namespace CoreData
