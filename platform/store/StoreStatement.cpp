#include "platform/store/StoreStatement.h"

namespace plat {

namespace {
// SQLite binds a null pointer as NULL; an empty text or byte string must stay empty instead.
const char kEmpty[] = "";
}  // namespace

StoreStatement::~StoreStatement() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

StoreStatement& StoreStatement::Check(int rc) {
    bound_ = bound_ && rc == SQLITE_OK;
    ++next_;
    return *this;
}

StoreStatement& StoreStatement::Bind(std::int64_t number) {
    return Check(sqlite3_bind_int64(statement_, next_, number));
}

StoreStatement& StoreStatement::Bind(std::string_view text) {
    const char* data = text.empty() ? kEmpty : text.data();
    return Check(sqlite3_bind_text64(statement_, next_, data, text.size(), SQLITE_STATIC, SQLITE_UTF8));
}

StoreStatement& StoreStatement::Bind(std::span<const std::uint8_t> bytes) {
    const void* data = bytes.empty() ? static_cast<const void*>(kEmpty) : bytes.data();
    return Check(sqlite3_bind_blob64(statement_, next_, data, bytes.size(), SQLITE_STATIC));
}

int StoreStatement::Step() {
    return bound_ ? sqlite3_step(statement_) : SQLITE_MISUSE;
}

std::string_view StoreStatement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text), size) : std::string_view();
}

std::span<const std::uint8_t> StoreStatement::Bytes(int column) const {
    const void* bytes = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return bytes != nullptr ? std::span(static_cast<const std::uint8_t*>(bytes), size)
                            : std::span<const std::uint8_t>();
}

}  // namespace plat
