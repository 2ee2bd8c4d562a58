#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/store/StoreConnection.h"

namespace plat {

// One use of a prepared statement of the connection: parameters bound in order, stepped, and reset
// when the use ends so that it holds no lock on the file afterwards.
class StoreStatement {
  public:
    StoreStatement(StoreConnection& connection, std::size_t index)
        : statement_(connection.Statement(index)) {}
    ~StoreStatement();
    StoreStatement(const StoreStatement&) = delete;
    StoreStatement& operator=(const StoreStatement&) = delete;

    StoreStatement& Bind(std::int64_t number);
    StoreStatement& Bind(std::string_view text);
    StoreStatement& Bind(std::span<const std::uint8_t> bytes);

    // SQLITE_ROW, SQLITE_DONE or the (extended) failure; a failed bind fails here.
    int Step();

    int Type(int column) const { return sqlite3_column_type(statement_, column); }
    std::int64_t Number(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string_view Text(int column) const;
    std::span<const std::uint8_t> Bytes(int column) const;

  private:
    StoreStatement& Check(int rc);

    sqlite3_stmt* statement_;
    int next_ = 1;
    bool bound_ = true;
};

}  // namespace plat
