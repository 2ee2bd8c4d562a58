#pragma once

#include "platform/store/StoreConnection.h"

namespace plat {

// A write transaction that takes the file's write lock at once (waiting out other writers), so that
// what it reads cannot change before it writes. Rolled back unless committed. Inside a batch (a
// transaction already open on the connection) it is part of the batch, which holds the lock already
// and commits at its end.
class StoreTransaction {
  public:
    explicit StoreTransaction(StoreConnection& connection)
        : connection_(connection),
          inBatch_(connection.InTransaction()),
          open_(inBatch_ || connection.BeginImmediate() == SQLITE_OK) {}
    ~StoreTransaction() {
        if (open_ && !inBatch_) {
            connection_.Rollback();
        }
    }
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    bool Open() const { return open_; }
    bool Commit() {
        open_ = false;
        if (inBatch_ || connection_.Commit() == SQLITE_OK) {
            return true;
        }
        connection_.Rollback();
        return false;
    }

  private:
    StoreConnection& connection_;
    bool inBatch_;
    bool open_;
};

}  // namespace plat
