#include "Platform/CoreData/SQLiteStore.hpp"

#include "Platform/CoreData/CoreDataError.hpp"
#include "Platform/CoreData/NSEntityDescription.hpp"
#include "Platform/CoreData/NSManagedObjectModel.hpp"
#include "Platform/CoreData/SQLiteFunctions.hpp"
#include "Platform/CoreData/SQLiteStore.Statement.hpp"
#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <exception>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <map>
#include <set>
#include <sqlite3.h>
#include <unistd.h>

namespace CoreData {

namespace {

// The version of the table layout; a store written by a later layout is refused.
constexpr std::int64_t layoutVersion = 1;
constexpr std::size_t statementCacheLimit = 128;
constexpr std::size_t cachedStatementLength = 2000;

std::string quoted(const Foundation::String& name)
{
    return "\"" + name.utf8() + "\"";
}

std::string lowercased(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const char* columnType(NSAttributeType type)
{
    switch (type) {
    case NSAttributeType::string: return "TEXT";
    case NSAttributeType::integer64:
    case NSAttributeType::boolean: return "INTEGER";
    case NSAttributeType::double_:
    case NSAttributeType::date: return "REAL";
    case NSAttributeType::binaryData:
    case NSAttributeType::uuid: return "BLOB";
    }
    return "ANY";
}

std::string columnDefinition(const NSEntityDescription::StoredProperty& property)
{
    std::string definition = quoted(property.name) + " " + columnType(property.type);
    if (property.type == NSAttributeType::string)
        definition += " COLLATE cd_string";
    return definition;
}

std::string hex(const std::uint8_t* bytes, std::size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string real(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// A default value written into the schema, for rows that exist before its column does.
std::string literal(const Value& value)
{
    if (const auto* boolean = value.as<bool>())
        return *boolean ? "1" : "0";
    if (const auto* integer = value.as<std::int64_t>())
        return std::to_string(*integer);
    if (const auto* number = value.as<double>())
        return real(*number);
    if (const auto* date = value.as<Foundation::Date>())
        return real(date->timeIntervalSinceReferenceDate());
    if (const auto* text = value.as<Foundation::String>()) {
        std::string escaped;
        for (char c : text->utf8())
            escaped += c == '\'' ? std::string("''") : std::string(1, c);
        return "'" + escaped + "'";
    }
    if (const auto* data = value.as<Foundation::Data>())
        return "X'" + hex(data->bytes(), data->count()) + "'";
    if (const auto* uuid = value.as<Foundation::UUID>())
        return "X'" + hex(uuid->bytes().data(), uuid->bytes().size()) + "'";
    return "NULL";
}

std::string keyList(const std::vector<std::int64_t>& keys)
{
    std::string list = "(";
    for (std::size_t i = 0; i < keys.size(); ++i)
        list += (i ? "," : "") + std::to_string(keys[i]);
    return list + ")";
}

} // namespace

SQLiteStore::SQLiteStore(const NSManagedObjectModel& model, const std::optional<std::string>& path, double timeout, bool tracksHistory)
    : m_path(path.value_or(":memory:"))
    , m_tracksHistory(tracksHistory)
{
    try {
        if (path)
            createIfMissing(model, *path, timeout);
        open(path, timeout, true);
        fitSchema(model);
    } catch (...) {
        close();
        throw;
    }
}

SQLiteStore::SQLiteStore(const NSManagedObjectModel& model, const std::string& freshPath, double timeout, Fresh)
    : m_path(freshPath)
{
    try {
        open(freshPath, timeout, false);
        fitSchema(model);
        // Everything into the file itself before it is linked into place: its log stays behind.
        Statement checkpoint = prepare("PRAGMA wal_checkpoint(TRUNCATE)");
        if (!checkpoint.step() || sqlite3_column_int64(checkpoint.handle(), 0) != 0)
            throw CoreDataError::make(CoreDataError::persistentStoreOpen, "The new store at " + m_path + " could not be written whole.", m_path);
    } catch (...) {
        close();
        throw;
    }
}

SQLiteStore::~SQLiteStore()
{
    close();
}

void SQLiteStore::close() noexcept
{
    stopCheckpointing();
    for (auto& [sql, statement] : m_statements)
        sqlite3_finalize(statement);
    m_statements.clear();
    sqlite3_close_v2(m_database);
    m_database = nullptr;
}

// Another process's write usually takes a few milliseconds: SQLite's own waits (1, 2, 5, 10 ms and up)
// would leave the store idle most of the time two processes take turns. This one looks again soon, and
// less often the longer it waits, up to the store's time-out.
int SQLiteStore::waitWhileBusy(void* store, int attempt)
{
    auto& self = *static_cast<SQLiteStore*>(store);
    auto now = std::chrono::steady_clock::now();
    if (attempt == 0)
        self.m_busySince = now;
    if (now - self.m_busySince >= std::chrono::duration<double>(self.m_busyTimeout))
        return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(std::min(2000, 50 << std::min(attempt, 5))));
    return 1;
}

int SQLiteStore::walWritten(void* store, sqlite3*, const char*, int pageCount)
{
    // SQLite's own threshold for its automatic checkpoint.
    if (pageCount >= 1000)
        static_cast<SQLiteStore*>(store)->startCheckpoint();
    return SQLITE_OK;
}

void SQLiteStore::startCheckpoint()
{
    std::lock_guard lock(m_checkpointMutex);
    if (m_checkpointing)
        return;
    if (m_checkpointer.joinable())
        m_checkpointer.join();
    m_checkpointing = true;
    m_checkpointer = std::thread([this] {
        if (!m_checkpointDatabase) {
            sqlite3* database = nullptr;
            if (sqlite3_open_v2(m_path.c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK) {
                sqlite3_exec(database, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
                m_checkpointDatabase = database;
            } else {
                sqlite3_close_v2(database);
            }
        }
        // Passive: it waits for no reader or writer, and what it cannot copy yet waits for the next one.
        // The log is on the disk already, so a checkpoint that fails loses nothing.
        if (m_checkpointDatabase)
            sqlite3_wal_checkpoint_v2(m_checkpointDatabase, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        m_checkpointing = false;
    });
}

void SQLiteStore::stopCheckpointing()
{
    std::lock_guard lock(m_checkpointMutex);
    if (m_checkpointer.joinable())
        m_checkpointer.join();
    if (m_checkpointDatabase)
        sqlite3_close_v2(m_checkpointDatabase);
    m_checkpointDatabase = nullptr;
}

void SQLiteStore::fail(int resultCode, const std::string& action) const
{
    std::string message = m_database ? sqlite3_errmsg(m_database) : sqlite3_errstr(resultCode);
    auto underlying = std::make_shared<Foundation::NSError>(NSSQLiteErrorDomain, resultCode,
                                                            std::map<std::string, std::string> {{Foundation::NSLocalizedDescriptionKey, message}});
    switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw CoreDataError::make(CoreDataError::persistentStoreTimeout,
                                  "The store at " + m_path + " is locked by another process. " + action + " gave up waiting for it.",
                                  m_path, underlying);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw CoreDataError::make(CoreDataError::fileReadCorruptFile,
                                  "The store at " + m_path + " is damaged or is not a store. " + action + " failed; the file was left as it was.",
                                  m_path, underlying);
    case SQLITE_CANTOPEN:
        throw CoreDataError::make(CoreDataError::persistentStoreOpen, "The store at " + m_path + " could not be opened (" + message + ").",
                                  m_path, underlying);
    case SQLITE_FULL:
        throw CoreDataError::make(CoreDataError::persistentStoreSave, "The disk holding the store at " + m_path + " is full. " + action + " failed.",
                                  m_path, underlying);
    case SQLITE_READONLY:
    case SQLITE_PERM:
        throw CoreDataError::make(CoreDataError::persistentStoreSave, "The store at " + m_path + " cannot be written (" + message + ").",
                                  m_path, underlying);
    default:
        throw CoreDataError::make(CoreDataError::sqlite, action + " failed in the store at " + m_path + ": " + message + ".", m_path,
                                  underlying);
    }
}

void SQLiteStore::open(const std::optional<std::string>& path, double timeout, bool checksExisting)
{
    if (path) {
        std::filesystem::path file(*path);
        int error = file.has_parent_path() ? Foundation::FileIO::makeDirectories(file.parent_path().string()) : 0;
        if (error) {
            throw CoreDataError::make(CoreDataError::persistentStoreOpen, "The folder of the store at " + m_path + " could not be made.", m_path,
                                      Foundation::CocoaError::fileError(error, file.parent_path().string(),
                                                                        Foundation::CocoaError::Access::writing)
                                          .clone());
        }
    }
    // A file store exists by now (`createIfMissing`): one that has gone is not made again empty here.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (path ? 0 : SQLITE_OPEN_CREATE | SQLITE_OPEN_MEMORY);
    int result = sqlite3_open_v2(path ? path->c_str() : ":memory:", &m_database, flags, nullptr);
    if (result != SQLITE_OK)
        fail(result, "Opening the store");
    sqlite3_extended_result_codes(m_database, 1);
    m_busyTimeout = std::clamp(timeout, 0.0, 2.0e6);
    sqlite3_busy_handler(m_database, &SQLiteStore::waitWhileBusy, this);
    SQLiteFunctions::install(m_database);
    installHistoryFunction();
    // Reading the schema finds a file that is not a store, or a damaged or truncated one; an existing
    // store is checked whole before anything is written to it.
    execute("SELECT count(*) FROM sqlite_master");
    if (path && checksExisting)
        checkIntegrity();
    if (path) {
        Statement mode = prepare("PRAGMA journal_mode=WAL");
        if (!mode.step() || std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(mode.handle(), 0))) != "wal") {
            throw CoreDataError::make(CoreDataError::persistentStoreOpen,
                                      "The store at " + m_path + " could not be switched to write-ahead logging.", m_path);
        }
    }
    execute("PRAGMA synchronous=FULL");
    if (path)
        sqlite3_wal_hook(m_database, &SQLiteStore::walWritten, this);
    // The pages a save or a lookup touches again soon. Whole-table reads (an index of every item) pass
    // once through the system's file cache: holding them here too would keep tens of megabytes of a
    // large vault for nothing.
    execute("PRAGMA cache_size=-8192");
}

// A new store appears whole or not at all: it is made beside its path, and linked into place only if no
// other process got there first. So whatever is found at the path was a store once, and an empty,
// damaged or foreign file there is refused instead of being taken for a new one.
void SQLiteStore::createIfMissing(const NSManagedObjectModel& model, const std::string& path, double timeout)
{
    if (std::filesystem::exists(path))
        return;
    std::filesystem::path file(path);
    std::error_code error;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        throw CoreDataError::make(CoreDataError::persistentStoreOpen, "The folder of the store at " + path + " could not be made.", path,
                                  Foundation::CocoaError::fileError(error.value(), file.parent_path().string(), Foundation::CocoaError::Access::writing)
                                      .clone());
    }
    Foundation::FileIO::removeStaleTemporarySiblings(path);
    auto fresh = Foundation::FileIO::temporarySiblingPath(path);
    auto removeFresh = [&] {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"})
            std::filesystem::remove(fresh + suffix, error);
    };
    // Only its owner may read a store of secrets; SQLite gives its journal files the same mode.
    int descriptor = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, Foundation::FileIO::ownerOnlyFileMode);
    if (descriptor < 0) {
        throw CoreDataError::make(CoreDataError::persistentStoreOpen, "The store at " + path + " could not be made.", path,
                                  Foundation::CocoaError::fileError(errno, fresh, Foundation::CocoaError::Access::writing).clone());
    }
    ::close(descriptor);
    try {
        SQLiteStore made(model, fresh, timeout, Fresh {});
    } catch (...) {
        removeFresh();
        throw;
    }
    Foundation::FileIO::sync(fresh);
    int linked = ::link(fresh.c_str(), path.c_str());
    int linkError = errno;
    removeFresh();
    if (linked != 0 && linkError != EEXIST) {
        throw CoreDataError::make(CoreDataError::persistentStoreOpen, "The store at " + path + " could not be made.", path,
                                  Foundation::CocoaError::fileError(linkError, path, Foundation::CocoaError::Access::writing).clone());
    }
    Foundation::FileIO::sync(Foundation::FileIO::parentDirectory(path));
}

// The schema of an existing store must be there, and its pages sound: a file cut short, emptied or
// with flipped bytes is reported before anything is read from it or written into it.
void SQLiteStore::checkIntegrity()
{
    auto guard = lock();
    {
        Statement statement = prepare("SELECT count(*) FROM sqlite_master WHERE \"type\" = 'table' AND \"name\" = '_metadata'");
        if (!statement.step() || sqlite3_column_int64(statement.handle(), 0) == 0) {
            throw CoreDataError::make(CoreDataError::fileReadCorruptFile,
                                      "The store at " + m_path + " is empty or is not a store. Opening it failed; the file was left as it was.",
                                      m_path);
        }
    }
    Statement statement = prepare("PRAGMA integrity_check(1)");
    std::string result = statement.step() ? reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 0)) : "";
    if (result != "ok") {
        throw CoreDataError::make(CoreDataError::fileReadCorruptFile,
                                  "The store at " + m_path + " is damaged (" + result + "). Opening it failed; the file was left as it was.", m_path);
    }
}

SQLiteStore::Statement SQLiteStore::prepare(const std::string& sql)
{
    bool cacheable = sql.size() <= cachedStatementLength;
    if (cacheable) {
        auto found = m_statements.find(sql);
        if (found != m_statements.end() && !sqlite3_stmt_busy(found->second))
            return Statement(*this, found->second, true);
        if (found != m_statements.end())
            cacheable = false; // in use further up: this use gets its own
    }
    sqlite3_stmt* handle = nullptr;
    int result = sqlite3_prepare_v3(m_database, sql.c_str(), static_cast<int>(sql.size()), cacheable ? SQLITE_PREPARE_PERSISTENT : 0,
                                    &handle, nullptr);
    if (result != SQLITE_OK)
        fail(result, "Reading the store");
    if (!cacheable)
        return Statement(*this, handle, false);
    if (m_statements.size() >= statementCacheLimit) {
        for (auto it = m_statements.begin(); it != m_statements.end();) {
            if (sqlite3_stmt_busy(it->second)) {
                ++it;
            } else {
                sqlite3_finalize(it->second);
                it = m_statements.erase(it);
            }
        }
    }
    m_statements.emplace(sql, handle);
    return Statement(*this, handle, true);
}

void SQLiteStore::compact()
{
    auto guard = lock();
    int result = sqlite3_exec(m_database, "VACUUM", nullptr, nullptr, nullptr);
    if (result != SQLITE_OK)
        fail(result, "Compacting the store");
    if (m_path == ":memory:")
        return;
    // Readers of other processes still on the log's older pages hold the truncation back: it waits for
    // them through the busy handler, as a write does.
    result = sqlite3_wal_checkpoint_v2(m_database, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    if (result == SQLITE_BUSY) {
        throw CoreDataError::make(CoreDataError::persistentStoreTimeout,
                                  "The log of the store at " + m_path + " is still read by another process and could not be emptied.", m_path);
    }
    if (result != SQLITE_OK)
        fail(result, "Emptying the store's log");
}

void SQLiteStore::execute(const std::string& sql)
{
    Statement statement = prepare(sql);
    while (statement.step()) {
    }
}

void SQLiteStore::fitSchema(const NSManagedObjectModel& model)
{
    auto guard = lock();
    // Only a store that needs changing takes the write lock, so a second process can open it while the
    // first writes.
    if (fitSchema(model, false)) {
        Transaction transaction(*this);
        fitSchema(model, true);
        transaction.commit();
    }
    Statement statement = prepare("SELECT \"value\" FROM \"_metadata\" WHERE \"key\" = 'identifier'");
    if (statement.step())
        m_identifier = Foundation::String(reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 0)));
}

bool SQLiteStore::fitSchema(const NSManagedObjectModel& model, bool apply)
{
    bool changes = false;
    auto change = [&](const std::string& sql) {
        changes = true;
        if (apply)
            execute(sql);
    };
    std::set<std::string> tables;
    std::set<std::string> indexes;
    {
        Statement statement = prepare("SELECT \"type\", \"name\" FROM sqlite_master");
        while (statement.step()) {
            std::string type = reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 0));
            std::string name = lowercased(reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 1)));
            (type == "table" ? tables : indexes).insert(name);
        }
    }
    if (!tables.count("_metadata")) {
        change("CREATE TABLE \"_metadata\" (\"key\" TEXT PRIMARY KEY, \"value\" TEXT NOT NULL) STRICT");
    } else {
        Statement statement = prepare("SELECT \"key\", \"value\" FROM \"_metadata\" WHERE \"key\" IN ('version', 'identifier')");
        std::map<std::string, std::string> metadata;
        while (statement.step()) {
            metadata[reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 0))]
                = reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 1));
        }
        if (metadata.count("version") && Foundation::parseInt(metadata["version"]).value_or(layoutVersion + 1) > layoutVersion) {
            throw CoreDataError::make(CoreDataError::persistentStoreIncompatibleVersionHash,
                                      "The store at " + m_path + " was written by a later version of the program.", m_path);
        }
        if (metadata.size() < 2)
            changes = true;
    }
    if (apply) {
        Statement insert = prepare("INSERT OR IGNORE INTO \"_metadata\" (\"key\", \"value\") VALUES ('version', ?), ('identifier', ?)");
        insert.bind(1, Value(std::to_string(layoutVersion)));
        insert.bind(2, Value(Foundation::UUID().uuidString()));
        insert.step();
    }
    for (const auto& entity : model.entities()) {
        const std::string table = quoted(entity->name());
        if (!tables.count(lowercased(entity->name().utf8()))) {
            std::string columns = "\"_pk\" INTEGER PRIMARY KEY AUTOINCREMENT";
            for (const auto& property : entity->storedProperties())
                columns += ", " + columnDefinition(property);
            change("CREATE TABLE " + table + " (" + columns + ") STRICT");
        } else {
            std::map<std::string, std::string> columns;
            Statement statement = prepare("PRAGMA table_info(" + table + ")");
            while (statement.step()) {
                columns[lowercased(reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 1)))]
                    = reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 2));
            }
            for (const auto& property : entity->storedProperties()) {
                std::string where = entity->name().utf8() + "." + property.name.utf8();
                auto found = columns.find(lowercased(property.name.utf8()));
                if (found == columns.end()) {
                    if (!property.isOptional && property.defaultValue.isNil() && count(*entity, {"1", {}}) > 0) {
                        throw CoreDataError::make(CoreDataError::persistentStoreIncompatibleSchema,
                                                  "The store at " + m_path + " holds " + entity->name().utf8()
                                                      + " objects, which the required attribute " + where + " has no value for.",
                                                  m_path);
                    }
                    std::string definition = columnDefinition(property);
                    if (!property.defaultValue.isNil())
                        definition += " DEFAULT " + literal(property.defaultValue);
                    change("ALTER TABLE " + table + " ADD COLUMN " + definition);
                } else if (lowercased(found->second) != lowercased(columnType(property.type))) {
                    throw CoreDataError::make(CoreDataError::persistentStoreIncompatibleSchema,
                                              "The store at " + m_path + " keeps " + where + " as " + found->second + ", but the model makes it a "
                                                  + name(property.type) + ".",
                                              m_path);
                }
            }
        }
        for (const auto& property : entity->storedProperties()) {
            if (!property.isIndexed)
                continue;
            std::string index = "_index_" + entity->name().utf8() + "_" + property.name.utf8();
            if (!indexes.count(lowercased(index)))
                change("CREATE INDEX \"" + index + "\" ON " + table + " (" + quoted(property.name) + ")");
        }
    }
    // The history's triggers go on the tables made above.
    if (fitHistory(model, apply))
        changes = true;
    return changes;
}

SQLiteStore::Transaction::Transaction(SQLiteStore& store)
    : m_store(store)
    , m_lock(store.lock())
    , m_isNested(!sqlite3_get_autocommit(store.m_database))
{
    // The connection's lock keeps other threads out, so an open transaction is one of this thread's:
    // this one becomes part of it.
    m_store.execute(m_isNested ? "SAVEPOINT nested" : "BEGIN IMMEDIATE");
}

SQLiteStore::Transaction::~Transaction()
{
    if (m_done)
        return;
    if (m_isNested)
        sqlite3_exec(m_store.m_database, "ROLLBACK TO nested; RELEASE nested", nullptr, nullptr, nullptr);
    else
        sqlite3_exec(m_store.m_database, "ROLLBACK", nullptr, nullptr, nullptr);
}

void SQLiteStore::Transaction::commit()
{
    m_store.execute(m_isNested ? "RELEASE nested" : "COMMIT");
    m_done = true;
}

std::string SQLiteStore::selectSQL(const NSEntityDescription& entity, const Query& query, bool keysOnly, const std::vector<std::size_t>& columns) const
{
    std::string sql = "SELECT \"_pk\"";
    if (!keysOnly && !columns.empty()) {
        for (auto column : columns)
            sql += ", " + quoted(entity.storedProperties()[column].name);
    } else if (!keysOnly) {
        for (const auto& property : entity.storedProperties())
            sql += ", " + quoted(property.name);
    }
    sql += " FROM " + quoted(entity.name()) + " WHERE " + query.where.text;
    if (!query.orderBy.empty())
        sql += " ORDER BY " + query.orderBy;
    if (query.limit > 0 || query.offset > 0)
        sql += " LIMIT " + std::to_string(query.limit > 0 ? query.limit : -1);
    if (query.offset > 0)
        sql += " OFFSET " + std::to_string(query.offset);
    return sql;
}

std::vector<SQLiteStore::Row> SQLiteStore::fetchRows(const NSEntityDescription& entity, const Query& query, const std::vector<std::size_t>& columns)
{
    std::vector<Row> rows;
    fetchRows(entity, query, columns, std::numeric_limits<std::size_t>::max(), [&](std::vector<Row> batch) { rows = std::move(batch); });
    return rows;
}

void SQLiteStore::fetchRows(const NSEntityDescription& entity, const Query& query, const std::vector<std::size_t>& columns, std::size_t batchSize,
                            const std::function<void(std::vector<Row>)>& body)
{
    auto guard = lock();
    Statement statement = prepare(selectSQL(entity, query, false, columns));
    statement.bind(query.where.bindings);
    readRows(statement, entity, columns, batchSize, body);
}

void SQLiteStore::readRows(Statement& statement, const NSEntityDescription& entity, const std::vector<std::size_t>& columns, std::size_t batchSize,
                           const std::function<void(std::vector<Row>)>& body)
{
    const auto& properties = entity.storedProperties();
    std::size_t count = columns.empty() ? properties.size() : columns.size();
    batchSize = std::max<std::size_t>(batchSize, 1);
    std::vector<Row> rows;
    while (statement.step()) {
        Row row {sqlite3_column_int64(statement.handle(), 0), {}};
        row.values.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            row.values.push_back(statement.column(static_cast<int>(i + 1), properties[columns.empty() ? i : columns[i]]));
        rows.push_back(std::move(row));
        if (rows.size() == batchSize) {
            body(std::move(rows));
            rows = {};
        }
    }
    if (!rows.empty())
        body(std::move(rows));
}

void SQLiteStore::fetchRowsConcurrently(const NSEntityDescription& entity, const Query& query, const std::vector<std::size_t>& columns,
                                        std::size_t batchSize, const std::function<void(std::vector<Row>)>& body)
{
    // Fewer rows than this a part are read faster by one connection than opened by several.
    constexpr std::int64_t rowsPerPart = 8192;
    std::int64_t first = 0;
    std::int64_t last = -1;
    std::size_t parts = 1;
    {
        auto guard = lock();
        // Each range is read in the order of its keys: an order by the key alone holds within each.
        bool ordered = !query.orderBy.empty() && query.orderBy != "\"_pk\"";
        bool alone = m_path == ":memory:" || !sqlite3_get_autocommit(m_database) || ordered || query.limit > 0 || query.offset > 0;
        if (!alone) {
            Statement statement = prepare("SELECT min(\"_pk\"), max(\"_pk\") FROM " + quoted(entity.name()));
            if (statement.step() && sqlite3_column_type(statement.handle(), 0) != SQLITE_NULL) {
                first = sqlite3_column_int64(statement.handle(), 0);
                last = sqlite3_column_int64(statement.handle(), 1);
            }
            auto cores = static_cast<std::int64_t>(std::max(1u, std::thread::hardware_concurrency()));
            parts = static_cast<std::size_t>(std::clamp<std::int64_t>((last - first + 1) / rowsPerPart, 1, std::min<std::int64_t>(cores, 8)));
        }
        if (parts == 1) {
            fetchRows(entity, query, columns, batchSize, body);
            return;
        }
    }
    Query ranged = query;
    ranged.where.text = "(" + query.where.text + ") AND \"_pk\" >= ? AND \"_pk\" <= ?";
    const auto sql = selectSQL(entity, ranged, false, columns);
    const auto span = (last - first) / static_cast<std::int64_t>(parts) + 1;
    std::vector<std::exception_ptr> failures(parts);
    auto readPart = [&](std::size_t part) {
        struct Connection {
            sqlite3* database = nullptr;
            ~Connection() { sqlite3_close_v2(database); }
        } connection;
        int result = sqlite3_open_v2(m_path.c_str(), &connection.database, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        if (result != SQLITE_OK)
            fail(result, "Opening the store to read it");
        sqlite3_busy_timeout(connection.database, static_cast<int>(std::min(m_busyTimeout * 1000, 2.0e9)));
        SQLiteFunctions::install(connection.database);
        sqlite3_stmt* handle = nullptr;
        result = sqlite3_prepare_v3(connection.database, sql.c_str(), static_cast<int>(sql.size()), 0, &handle, nullptr);
        if (result != SQLITE_OK)
            fail(result, "Reading the store");
        Statement statement(*this, handle, false);
        auto bindings = query.where.bindings;
        auto low = first + static_cast<std::int64_t>(part) * span;
        bindings.emplace_back(Value(low));
        bindings.emplace_back(Value(low + span - 1));
        statement.bind(bindings);
        readRows(statement, entity, columns, batchSize, body);
    };
    std::vector<std::thread> readers;
    for (std::size_t part = 1; part < parts; ++part) {
        readers.emplace_back([&, part] {
            try {
                readPart(part);
            } catch (...) {
                failures[part] = std::current_exception();
            }
        });
    }
    try {
        readPart(0);
    } catch (...) {
        failures[0] = std::current_exception();
    }
    for (auto& reader : readers)
        reader.join();
    for (const auto& failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}

std::vector<std::int64_t> SQLiteStore::fetchPrimaryKeys(const NSEntityDescription& entity, const Query& query)
{
    auto guard = lock();
    Statement statement = prepare(selectSQL(entity, query, true));
    statement.bind(query.where.bindings);
    std::vector<std::int64_t> keys;
    while (statement.step())
        keys.push_back(sqlite3_column_int64(statement.handle(), 0));
    return keys;
}

std::int64_t SQLiteStore::count(const NSEntityDescription& entity, const SQLFragment& where)
{
    auto guard = lock();
    Statement statement = prepare("SELECT count(*) FROM " + quoted(entity.name()) + " WHERE " + where.text);
    statement.bind(where.bindings);
    statement.step();
    return sqlite3_column_int64(statement.handle(), 0);
}

std::int64_t SQLiteStore::changeCountByOthers()
{
    auto guard = lock();
    Statement statement = prepare("PRAGMA data_version");
    statement.step();
    return sqlite3_column_int64(statement.handle(), 0);
}

std::vector<SQLiteStore::Row> SQLiteStore::rows(const NSEntityDescription& entity, const std::vector<std::int64_t>& primaryKeys)
{
    constexpr std::size_t chunk = 500;
    std::vector<Row> rows;
    for (std::size_t start = 0; start < primaryKeys.size(); start += chunk) {
        std::vector<std::int64_t> keys(primaryKeys.begin() + static_cast<std::ptrdiff_t>(start),
                                       primaryKeys.begin() + static_cast<std::ptrdiff_t>(std::min(primaryKeys.size(), start + chunk)));
        Query query;
        query.where.text = "\"_pk\" IN " + keyList(keys);
        auto found = fetchRows(entity, query);
        std::move(found.begin(), found.end(), std::back_inserter(rows));
    }
    return rows;
}

std::int64_t SQLiteStore::insertRow(const NSEntityDescription& entity, const std::vector<Value>& values)
{
    auto guard = lock();
    auto& sql = m_insertSQL[entity.name().utf8()];
    if (sql.empty()) {
        const auto& properties = entity.storedProperties();
        sql = "INSERT INTO " + quoted(entity.name());
        if (properties.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string columns;
            std::string parameters;
            for (const auto& property : properties) {
                columns += (columns.empty() ? "" : ", ") + quoted(property.name);
                parameters += parameters.empty() ? "?" : ", ?";
            }
            sql += " (" + columns + ") VALUES (" + parameters + ")";
        }
    }
    Statement statement = prepare(sql);
    for (std::size_t i = 0; i < values.size(); ++i)
        statement.bindInPlace(static_cast<int>(i + 1), values[i]);
    statement.step();
    return sqlite3_last_insert_rowid(m_database);
}

bool SQLiteStore::updateRow(const NSEntityDescription& entity, std::int64_t primaryKey,
                            const std::vector<std::pair<std::size_t, Value>>& changes)
{
    auto guard = lock();
    std::string assignments;
    for (const auto& [index, value] : changes)
        assignments += (assignments.empty() ? "" : ", ") + quoted(entity.storedProperties()[index].name) + " = ?";
    if (assignments.empty())
        assignments = "\"_pk\" = \"_pk\"";
    Statement statement = prepare("UPDATE " + quoted(entity.name()) + " SET " + assignments + " WHERE \"_pk\" = ?");
    int parameter = 1;
    for (const auto& [index, value] : changes)
        statement.bind(parameter++, value);
    statement.bind(parameter, Value(primaryKey));
    statement.step();
    return sqlite3_changes(m_database) == 1;
}

void SQLiteStore::deleteRow(const NSEntityDescription& entity, std::int64_t primaryKey)
{
    auto guard = lock();
    Statement statement = prepare("DELETE FROM " + quoted(entity.name()) + " WHERE \"_pk\" = ?");
    statement.bind(1, Value(primaryKey));
    statement.step();
}

std::vector<NSManagedObjectID> SQLiteStore::batchDelete(const NSEntityDescription& entity, const Query& query)
{
    Transaction transaction(*this);
    std::vector<NSManagedObjectID> deleted;
    deleteCascading(entity, fetchPrimaryKeys(entity, query), deleted);
    transaction.commit();
    return deleted;
}

void SQLiteStore::deleteCascading(const NSEntityDescription& entity, const std::vector<std::int64_t>& primaryKeys,
                                  std::vector<NSManagedObjectID>& deleted)
{
    if (primaryKeys.empty())
        return;
    const std::string keys = keyList(primaryKeys);
    const std::string table = quoted(entity.name());
    auto denied = [&](const NSRelationshipDescription& relationship) {
        return CoreDataError::make(CoreDataError::validationRelationshipDeniedDelete,
                                   entity.name().utf8() + " objects cannot be deleted while their relationship "
                                       + relationship.name().utf8() + " leads to objects (its delete rule denies it).");
    };
    for (const auto& toMany : entity.toManyRelationships()) {
        if (toMany.relationship->deleteRule() != NSDeleteRule::deny)
            continue;
        std::string inverse = quoted(toMany.destination->storedProperties()[toMany.inverseIndex].name);
        if (count(*toMany.destination, {inverse + " IN " + keys, {}}) > 0)
            throw denied(*toMany.relationship);
    }
    std::vector<std::pair<const NSEntityDescription*, std::vector<std::int64_t>>> cascades;
    for (const auto& property : entity.storedProperties()) {
        if (!property.relationship || property.relationship->deleteRule() == NSDeleteRule::nullify)
            continue;
        std::string column = quoted(property.name);
        Statement statement = prepare("SELECT DISTINCT " + column + " FROM " + table + " WHERE \"_pk\" IN " + keys + " AND " + column
                                      + " IS NOT NULL");
        std::vector<std::int64_t> targets;
        while (statement.step())
            targets.push_back(sqlite3_column_int64(statement.handle(), 0));
        if (property.relationship->deleteRule() == NSDeleteRule::deny && !targets.empty())
            throw denied(*property.relationship);
        cascades.emplace_back(property.destination, std::move(targets));
    }
    {
        // Only rows still there count: a cascade may come back to rows deleted further up.
        Statement statement = prepare("DELETE FROM " + table + " WHERE \"_pk\" IN " + keys + " RETURNING \"_pk\"");
        while (statement.step())
            deleted.emplace_back(entity.name(), sqlite3_column_int64(statement.handle(), 0));
    }
    for (const auto& toMany : entity.toManyRelationships()) {
        std::string inverse = quoted(toMany.destination->storedProperties()[toMany.inverseIndex].name);
        if (toMany.relationship->deleteRule() == NSDeleteRule::cascade) {
            Query children;
            children.where.text = inverse + " IN " + keys;
            deleteCascading(*toMany.destination, fetchPrimaryKeys(*toMany.destination, children), deleted);
        } else {
            execute("UPDATE " + quoted(toMany.destination->name()) + " SET " + inverse + " = NULL WHERE " + inverse + " IN " + keys);
        }
    }
    for (const auto& [destination, targets] : cascades)
        deleteCascading(*destination, targets, deleted);
}

} // namespace CoreData
