#pragma once

#include "Platform/CoreData/NSManagedObjectID.hpp"
#include "Platform/CoreData/NSPersistentHistoryResult.hpp"
#include "Platform/CoreData/SQLFragment.hpp"
#include "Platform/CoreData/Value.hpp"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace CoreData {

class NSEntityDescription;
class NSManagedObjectModel;

// One connection to an SQLite store: one table per entity, one column per stored property (see
// docs/ARCHITECTURE.md). Every call takes the connection's lock, which callers may also hold across calls.
// Failures throw NSErrors of CoreDataError's codes.
class SQLiteStore {
public:
    struct Query {
        SQLFragment where {"1", {}};
        std::string orderBy;
        std::int64_t limit = 0;
        std::int64_t offset = 0;
    };
    struct Row {
        std::int64_t primaryKey;
        std::vector<Value> values;
    };

    // Nothing for `path` opens a store in memory. A store that tracks its history records every change
    // to its rows, by any process (see SQLiteStore.History.cpp).
    SQLiteStore(const NSManagedObjectModel& model, const std::optional<std::string>& path, double timeout, bool tracksHistory = false);
    ~SQLiteStore();
    SQLiteStore(const SQLiteStore&) = delete;
    SQLiteStore& operator=(const SQLiteStore&) = delete;

    const Foundation::String& identifier() const { return m_identifier; }
    std::unique_lock<std::recursive_mutex> lock() const { return std::unique_lock(m_mutex); }

    // With `columns`, only the stored properties at those indices, in that order.
    std::vector<Row> fetchRows(const NSEntityDescription& entity, const Query& query, const std::vector<std::size_t>& columns = {});
    // The same, handed to `body` in batches of up to `batchSize` rows as they are read (under the lock).
    void fetchRows(const NSEntityDescription& entity, const Query& query, const std::vector<std::size_t>& columns, std::size_t batchSize,
                   const std::function<void(std::vector<Row>)>& body);
    // The same read by several connections at once, each over its own range of primary keys: `body` is
    // called from several threads at once, each range's rows in order. Each range reads the store as it
    // was when that range began, so what another process saves meanwhile may show in some and not others.
    // A store in memory, a connection inside a transaction (whose writes the others cannot see yet), a
    // query ordered by more than the key or limited, and a small table are read as `fetchRows` reads them.
    void fetchRowsConcurrently(const NSEntityDescription& entity, const Query& query, const std::vector<std::size_t>& columns,
                               std::size_t batchSize, const std::function<void(std::vector<Row>)>& body);
    std::vector<std::int64_t> fetchPrimaryKeys(const NSEntityDescription& entity, const Query& query);
    std::int64_t count(const NSEntityDescription& entity, const SQLFragment& where);
    std::vector<Row> rows(const NSEntityDescription& entity, const std::vector<std::int64_t>& primaryKeys);
    // Changes whenever another connection (another process) commits; this connection's own saves and the
    // checkpoints of its own thread leave it as it is.
    std::int64_t changeCountByOthers();

    // A write transaction; it rolls back unless committed. One begun inside another (on the same thread)
    // is part of it: its commit keeps its writes for the outer one to commit or roll back.
    class Transaction {
    public:
        explicit Transaction(SQLiteStore& store);
        ~Transaction();
        void commit();

    private:
        SQLiteStore& m_store;
        std::unique_lock<std::recursive_mutex> m_lock;
        bool m_isNested;
        bool m_done = false;
    };
    // Inside a transaction. Values hold permanent IDs for relationships.
    std::int64_t insertRow(const NSEntityDescription& entity, const std::vector<Value>& values);
    // False when the row is gone.
    bool updateRow(const NSEntityDescription& entity, std::int64_t primaryKey, const std::vector<std::pair<std::size_t, Value>>& changes);
    void deleteRow(const NSEntityDescription& entity, std::int64_t primaryKey);
    // Deletes what the query matches, following delete rules, in a transaction of its own; answers the IDs
    // of every object it deleted, those of the entity first.
    std::vector<NSManagedObjectID> batchDelete(const NSEntityDescription& entity, const Query& query);
    // VACUUM, then a truncating checkpoint: the file and its log keep nothing that was deleted.
    void compact();

    // The history, for a store that tracks it (others throw): the token of the last change saved; the
    // changes after a token, or persistentHistoryTokenExpired once they are forgotten; forgetting them.
    NSPersistentHistoryToken historyToken();
    NSPersistentHistoryResult history(NSPersistentHistoryToken after);
    void deleteHistory(NSPersistentHistoryToken through);

    class Statement;

private:
    struct Fresh { };
    // A new store's schema written into the empty file at `freshPath`, before it is linked into place.
    SQLiteStore(const NSManagedObjectModel& model, const std::string& freshPath, double timeout, Fresh);
    static void createIfMissing(const NSManagedObjectModel& model, const std::string& path, double timeout);
    void checkIntegrity();
    Statement prepare(const std::string& sql);
    // The statement's rows (the key, then the columns) handed to `body` in batches.
    static void readRows(Statement& statement, const NSEntityDescription& entity, const std::vector<std::size_t>& columns, std::size_t batchSize,
                         const std::function<void(std::vector<Row>)>& body);
    void execute(const std::string& sql);
    [[noreturn]] void fail(int resultCode, const std::string& action) const;
    void open(const std::optional<std::string>& path, double timeout, bool checksExisting);
    void fitSchema(const NSManagedObjectModel& model);
    bool fitSchema(const NSManagedObjectModel& model, bool apply);
    bool fitHistory(const NSManagedObjectModel& model, bool apply);
    // `cd_connection()`, which the history's triggers record: this connection's own number.
    void installHistoryFunction();
    std::int64_t historyForgottenThrough();
    void requireHistory() const;
    std::string selectSQL(const NSEntityDescription& entity, const Query& query, bool keysOnly, const std::vector<std::size_t>& columns = {}) const;
    void deleteCascading(const NSEntityDescription& entity, const std::vector<std::int64_t>& primaryKeys,
                         std::vector<NSManagedObjectID>& deleted);

    // A save waits for its log to reach the disk, not for the log's pages to be copied into the file: a
    // thread of the store's own does that over a second connection once a save left many pages.
    static int walWritten(void* store, sqlite3* database, const char* name, int pageCount);
    static int waitWhileBusy(void* store, int attempt);
    void startCheckpoint();
    void stopCheckpointing();
    // Ends checkpointing, finalises every statement and closes the connection; safe on a half-open store.
    void close() noexcept;

    sqlite3* m_database = nullptr;
    double m_busyTimeout = 10;
    std::chrono::steady_clock::time_point m_busySince;
    std::string m_path;
    bool m_tracksHistory = false;
    std::int64_t m_connectionNumber = 0;
    std::mutex m_checkpointMutex;
    std::thread m_checkpointer;
    std::atomic<bool> m_checkpointing {false};
    sqlite3* m_checkpointDatabase = nullptr; // the checkpointing thread's
    Foundation::String m_identifier;
    mutable std::recursive_mutex m_mutex;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
    // Each entity's INSERT, made once: a save of many new objects runs it once per object.
    std::unordered_map<std::string, std::string> m_insertSQL;
};

} // namespace CoreData
