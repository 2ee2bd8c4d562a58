#pragma once

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace plat {

// One SQLite connection to the store file, set up for sharing between processes: write-ahead log, a
// busy timeout, and every statement prepared once. Not thread-safe: the caller serialises its use.
class StoreConnection {
  public:
    // Opens (creating when missing) the file, runs `schema` once when the file is new and prepares
    // `statements`, which later calls name by index. Null when the file cannot be used: it could not be
    // opened, is not a database, is some other program's database, or its tables do not fit the
    // statements.
    static std::unique_ptr<StoreConnection> Open(const std::string& path, const char* schema,
                                                 std::span<const char* const> statements);
    ~StoreConnection();
    StoreConnection(const StoreConnection&) = delete;
    StoreConnection& operator=(const StoreConnection&) = delete;

    sqlite3_stmt* Statement(std::size_t index) const { return statements_[index]; }
    std::int64_t LastInsertId() const { return sqlite3_last_insert_rowid(db_); }
    int Changes() const { return sqlite3_changes(db_); }

    // SQLITE_OK or the failure; each runs a statement prepared at open.
    int BeginImmediate();
    int Commit();
    int Rollback();
    // True while a transaction is open on the connection.
    bool InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

  private:
    explicit StoreConnection(sqlite3* db) : db_(db) {}
    static int WaitWhileBusy(void* self, int attempt);
    bool UseWriteAheadLog();
    bool Configure(const char* schema);
    bool SetUpTables(const char* schema);
    bool Prepare(std::span<const char* const> statements);
    int Run(sqlite3_stmt* statement);

    sqlite3* db_;
    std::chrono::steady_clock::time_point busySince_;
    sqlite3_stmt* begin_ = nullptr;
    sqlite3_stmt* commit_ = nullptr;
    sqlite3_stmt* rollback_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
};

}  // namespace plat
