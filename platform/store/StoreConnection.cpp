#include "platform/store/StoreConnection.h"

#include <algorithm>
#include <thread>

namespace plat {

namespace {

// Long enough for another process to finish any write of the store; short enough that a stuck
// holder shows up as a failure rather than a hang.
constexpr std::chrono::seconds kBusyTimeout{10};
// Short naps between tries, so that a waiting writer gets its turn between another's quick writes
// instead of sleeping through a whole burst of them (SQLite's own wait grows to 100 ms naps).
constexpr std::chrono::microseconds kFirstNap{20};
constexpr std::chrono::microseconds kLongestNap{1000};
// The marks of a store file: its application id ("Vorl") and the layout of its tables.
constexpr std::int32_t kApplicationId = 0x566F726C;
constexpr int kLayoutVersion = 1;

sqlite3_stmt* PrepareOne(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return statement;
}

// Runs a statement of one row and gives back its first column as text ("" when there is none).
bool QueryText(sqlite3* db, const char* sql, std::string* text) {
    sqlite3_stmt* statement = PrepareOne(db, sql);
    if (statement == nullptr) {
        return false;
    }
    const int rc = sqlite3_step(statement);
    const unsigned char* column = rc == SQLITE_ROW ? sqlite3_column_text(statement, 0) : nullptr;
    *text = column != nullptr ? reinterpret_cast<const char*>(column) : "";
    sqlite3_finalize(statement);
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

}  // namespace

std::unique_ptr<StoreConnection> StoreConnection::Open(const std::string& path, const char* schema,
                                                       std::span<const char* const> statements) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<StoreConnection> connection(new StoreConnection(db));
    if (!connection->Configure(schema) || !connection->Prepare(statements)) {
        return nullptr;
    }
    return connection;
}

StoreConnection::~StoreConnection() {
    for (sqlite3_stmt* statement : statements_) {
        sqlite3_finalize(statement);
    }
    sqlite3_finalize(begin_);
    sqlite3_finalize(commit_);
    sqlite3_finalize(rollback_);
    sqlite3_close(db_);
}

int StoreConnection::WaitWhileBusy(void* self, int attempt) {
    auto* connection = static_cast<StoreConnection*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0) {
        connection->busySince_ = now;
    }
    if (now - connection->busySince_ >= kBusyTimeout) {
        return 0;
    }
    std::this_thread::sleep_for(std::min(kFirstNap * (attempt + 1), kLongestNap));
    return 1;
}

// Switching a new file to the log needs the file to itself, and SQLite does not wait for that: a
// second process starting at the same moment is told "busy" at once. So wait here.
bool StoreConnection::UseWriteAheadLog() {
    for (int attempt = 0;; ++attempt) {
        std::string mode;
        if (QueryText(db_, "PRAGMA journal_mode=WAL", &mode)) {
            return mode == "wal";
        }
        if ((sqlite3_errcode(db_) & 0xFF) != SQLITE_BUSY || !WaitWhileBusy(this, attempt)) {
            return false;
        }
    }
}

bool StoreConnection::Configure(const char* schema) {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_handler(db_, WaitWhileBusy, this);
    // NORMAL under a write-ahead log loses nothing when a process dies; only a power cut may cost the
    // last commits, and StoreFlushKey checkpoints for callers that care.
    if (sqlite3_exec(db_, "PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        return false;
    }
    begin_ = PrepareOne(db_, "BEGIN IMMEDIATE");
    commit_ = PrepareOne(db_, "COMMIT");
    rollback_ = PrepareOne(db_, "ROLLBACK");
    if (begin_ == nullptr || commit_ == nullptr || rollback_ == nullptr || BeginImmediate() != SQLITE_OK) {
        return false;
    }
    if (!SetUpTables(schema)) {
        Rollback();
        return false;
    }
    // Only a file known to be the store is switched to the log: that rewrites its header.
    return Commit() == SQLITE_OK && UseWriteAheadLog();
}

// An empty file gets the tables and the store's marks; a file with the marks is taken as it is;
// any other database is refused and left as it was.
bool StoreConnection::SetUpTables(const char* schema) {
    const std::string marks = "PRAGMA application_id = " + std::to_string(kApplicationId) +
                              "; PRAGMA user_version = " + std::to_string(kLayoutVersion);
    const std::string state =
        "SELECT CASE WHEN (SELECT count(*) FROM sqlite_schema) = 0 THEN 'empty' "
        "WHEN (SELECT application_id FROM pragma_application_id()) = " +
        std::to_string(kApplicationId) +
        " AND (SELECT user_version FROM pragma_user_version()) = " + std::to_string(kLayoutVersion) +
        " THEN 'store' ELSE 'other' END";
    std::string found;
    if (!QueryText(db_, state.c_str(), &found)) {
        return false;
    }
    if (found == "store") {
        return true;
    }
    return found == "empty" && sqlite3_exec(db_, schema, nullptr, nullptr, nullptr) == SQLITE_OK &&
           sqlite3_exec(db_, marks.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool StoreConnection::Prepare(std::span<const char* const> statements) {
    for (const char* sql : statements) {
        sqlite3_stmt* statement = PrepareOne(db_, sql);
        if (statement == nullptr) {
            return false;
        }
        statements_.push_back(statement);
    }
    return true;
}

int StoreConnection::Run(sqlite3_stmt* statement) {
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int StoreConnection::BeginImmediate() {
    return Run(begin_);
}

int StoreConnection::Commit() {
    return Run(commit_);
}

int StoreConnection::Rollback() {
    return Run(rollback_);
}

}  // namespace plat
