#include "platform/store/StoreTree.h"

#include <array>

#include "platform/store/StoreStatement.h"
#include "platform/store/StoreTransaction.h"

namespace plat {

namespace {

// Names compare without regard to (ASCII) case through the NOCASE columns, and keep their case.
// AUTOINCREMENT keeps a deleted key's id from naming a later key.
constexpr const char* kSchema = R"sql(
CREATE TABLE store_keys (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER REFERENCES store_keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL COLLATE NOCASE,
    UNIQUE (parent, name)
);
CREATE TABLE store_values (
    key INTEGER NOT NULL REFERENCES store_keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY (key, name)
) WITHOUT ROWID;
INSERT INTO store_keys (id, parent, name) VALUES (1, NULL, '');
)sql";

enum Sql : std::size_t {
    kKeyExists,
    kFindChild,
    kInsertChild,
    kDeleteKeyRow,
    kSubkeyAt,
    kReadValue,
    kWriteValue,
    kDeleteValueRow,
    kValueAt,
    kSubkeyNames,
    kSubkeys,
    kKeyValues,
    kCheckpoint,
};

constexpr const char* kStatements[] = {
    "SELECT 1 FROM store_keys WHERE id = ?1",
    "SELECT id FROM store_keys WHERE parent = ?1 AND name = ?2",
    "INSERT INTO store_keys (parent, name) VALUES (?1, ?2)",
    "DELETE FROM store_keys WHERE id = ?1",
    "SELECT name FROM store_keys WHERE parent = ?1 ORDER BY name LIMIT 1 OFFSET ?2",
    "SELECT type, data FROM store_values WHERE key = ?1 AND name = ?2",
    ("INSERT INTO store_values (key, name, type, data) VALUES (?1, ?2, ?3, ?4) "
     "ON CONFLICT (key, name) DO UPDATE SET type = excluded.type, data = excluded.data"),
    "DELETE FROM store_values WHERE key = ?1 AND name = ?2",
    "SELECT name, type, data FROM store_values WHERE key = ?1 ORDER BY name LIMIT 1 OFFSET ?2",
    "SELECT name FROM store_keys WHERE parent = ?1 ORDER BY name",
    "SELECT id, name FROM store_keys WHERE parent = ?1 AND name > ?2 ORDER BY name LIMIT ?3",
    "SELECT name, type, data FROM store_values WHERE key = ?1 ORDER BY name",
    "PRAGMA wal_checkpoint(PASSIVE)",
};
static_assert(std::size(kStatements) == kCheckpoint + 1, "one statement for each Sql");

// A value as the file holds it, in columns `column` (type) and `column + 1` (data).
StoreResult DecodeValue(const StoreStatement& row, int column, StoredValue* value) {
    if (row.Type(column) != SQLITE_INTEGER || !IsStoreValueType(row.Number(column)) ||
        row.Type(column + 1) != SQLITE_BLOB) {
        return kStoreFailed;
    }
    const auto type = static_cast<StoreValueType>(row.Number(column));
    const std::span<const std::uint8_t> data = row.Bytes(column + 1);
    if (data.size() > kStoreMaxValueSize || (type == kStoreValueNumber && data.size() != 4)) {
        return kStoreFailed;
    }
    value->type = type;
    value->data.assign(data.begin(), data.end());
    return kStoreOk;
}

StoreResult DecodeName(const StoreStatement& row, int column, std::size_t maxSize, std::string* name) {
    if (row.Type(column) != SQLITE_TEXT) {
        return kStoreFailed;
    }
    const std::string_view text = row.Text(column);
    if (text.size() > maxSize || text.find('\0') != std::string_view::npos) {
        return kStoreFailed;
    }
    name->assign(text);
    return kStoreOk;
}

std::uint32_t NumberFromBytes(const std::string& data) {
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        number |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[i])) << (8 * i);
    }
    return number;
}

std::array<std::uint8_t, 4> BytesFromNumber(std::uint32_t number) {
    return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

bool IsForeignKeyFailure(int rc) {
    return rc == SQLITE_CONSTRAINT_FOREIGNKEY;
}

}  // namespace

std::unique_ptr<StoreConnection> StoreTree::OpenFile(const std::string& path) {
    return StoreConnection::Open(path, kSchema, kStatements);
}

StoreResult StoreTree::KeyExists(StoreKeyId key) {
    StoreStatement query(connection_, kKeyExists);
    const int rc = query.Bind(key).Step();
    return rc == SQLITE_ROW ? kStoreOk : rc == SQLITE_DONE ? kStoreNotFound : kStoreFailed;
}

StoreResult StoreTree::FindChild(StoreKeyId parent, std::string_view name, StoreKeyId* child) {
    StoreStatement query(connection_, kFindChild);
    const int rc = query.Bind(parent).Bind(name).Step();
    if (rc == SQLITE_DONE) {
        return kStoreNotFound;
    }
    if (rc != SQLITE_ROW || query.Type(0) != SQLITE_INTEGER) {
        return kStoreFailed;
    }
    *child = query.Number(0);
    return kStoreOk;
}

StoreResult StoreTree::FindPath(StoreKeyId from, const StoreKeyPath& path, StoreKeyId* found) {
    StoreKeyId key = from;
    for (std::string_view name : path.Names()) {
        if (StoreResult result = FindChild(key, name, &key); result != kStoreOk) {
            return result;
        }
    }
    *found = key;
    return kStoreOk;
}

StoreResult StoreTree::FindKey(StoreKeyId from, const StoreKeyPath& path, StoreKeyId* found) {
    // A non-empty path finds nothing under a deleted key; an empty one must look.
    if (path.Empty()) {
        if (StoreResult result = KeyExists(from); result != kStoreOk) {
            return result;
        }
    }
    return FindPath(from, path, found);
}

StoreResult StoreTree::CreateKey(StoreKeyId from, const StoreKeyPath& path, StoreKeyId* created) {
    StoreTransaction transaction(connection_);
    if (!transaction.Open()) {
        return kStoreFailed;
    }
    if (StoreResult result = KeyExists(from); result != kStoreOk) {
        return result;
    }
    StoreKeyId key = from;
    for (std::string_view name : path.Names()) {
        StoreResult result = FindChild(key, name, &key);
        if (result == kStoreNotFound) {
            StoreStatement insert(connection_, kInsertChild);
            result = insert.Bind(key).Bind(name).Step() == SQLITE_DONE ? kStoreOk : kStoreFailed;
            key = connection_.LastInsertId();
        }
        if (result != kStoreOk) {
            return result;
        }
    }
    if (!transaction.Commit()) {
        return kStoreFailed;
    }
    *created = key;
    return kStoreOk;
}

StoreResult StoreTree::DeleteKey(StoreKeyId from, const StoreKeyPath& path) {
    StoreKeyId key = 0;
    if (StoreResult result = FindPath(from, path, &key); result != kStoreOk) {
        return result;
    }
    // The rows below go with it (ON DELETE CASCADE). Someone else may have deleted it meanwhile.
    StoreStatement remove(connection_, kDeleteKeyRow);
    if (remove.Bind(key).Step() != SQLITE_DONE) {
        return kStoreFailed;
    }
    return connection_.Changes() > 0 ? kStoreOk : kStoreNotFound;
}

StoreResult StoreTree::ReadValue(StoreKeyId key, std::string_view name, StoredValue* value) {
    StoreStatement query(connection_, kReadValue);
    const int rc = query.Bind(key).Bind(name).Step();
    if (rc == SQLITE_DONE) {
        return kStoreNotFound;
    }
    return rc == SQLITE_ROW ? DecodeValue(query, 0, value) : kStoreFailed;
}

StoreResult StoreTree::WriteValue(StoreKeyId key, std::string_view name, StoreValueType type,
                                  std::span<const std::uint8_t> data) {
    // One statement is its own write transaction; a deleted key fails its foreign key.
    StoreStatement write(connection_, kWriteValue);
    const int rc = write.Bind(key).Bind(name).Bind(static_cast<std::int64_t>(type)).Bind(data).Step();
    return rc == SQLITE_DONE ? kStoreOk : IsForeignKeyFailure(rc) ? kStoreNotFound : kStoreFailed;
}

StoreResult StoreTree::AddToNumber(StoreKeyId key, std::string_view name, std::int32_t delta,
                                   std::uint32_t* result) {
    StoreTransaction transaction(connection_);
    if (!transaction.Open()) {
        return kStoreFailed;
    }
    StoredValue value;
    StoreResult read = ReadValue(key, name, &value);
    if (read == kStoreNotFound) {
        read = KeyExists(key);
        value.type = kStoreValueNumber;
        value.data.assign(4, '\0');
    }
    if (read != kStoreOk) {
        return read;
    }
    if (value.type != kStoreValueNumber) {
        return kStoreInvalidParameter;
    }
    const std::uint32_t current = NumberFromBytes(value.data);
    const std::int64_t sum = static_cast<std::int64_t>(current) + delta;
    std::uint32_t number = current;
    if (sum >= 0 && sum <= 0xFFFFFFFF) {
        number = static_cast<std::uint32_t>(sum);
        if (StoreResult written = WriteValue(key, name, kStoreValueNumber, BytesFromNumber(number));
            written != kStoreOk) {
            return written;
        }
    }
    if (!transaction.Commit()) {
        return kStoreFailed;
    }
    *result = number;
    return kStoreOk;
}

StoreResult StoreTree::DeleteValue(StoreKeyId key, std::string_view name) {
    StoreStatement remove(connection_, kDeleteValueRow);
    if (remove.Bind(key).Bind(name).Step() != SQLITE_DONE) {
        return kStoreFailed;
    }
    return connection_.Changes() > 0 ? kStoreOk : kStoreNotFound;
}

StoreResult StoreTree::EndOfList(StoreKeyId key) {
    const StoreResult exists = KeyExists(key);
    return exists == kStoreOk ? kStoreNoMoreItems : exists;
}

StoreResult StoreTree::SubkeyNames(StoreKeyId key, std::vector<std::string>* names) {
    if (StoreResult result = KeyExists(key); result != kStoreOk) {
        return result;
    }
    StoreStatement query(connection_, kSubkeyNames);
    query.Bind(key);
    int rc = SQLITE_ROW;
    while ((rc = query.Step()) == SQLITE_ROW) {
        std::string name;
        if (DecodeName(query, 0, kStoreMaxKeyName, &name) != kStoreOk) {
            return kStoreFailed;
        }
        names->push_back(std::move(name));
    }
    return rc == SQLITE_DONE ? kStoreOk : kStoreFailed;
}

StoreResult StoreTree::Subkeys(StoreKeyId key, std::string_view after, std::uint32_t most,
                               std::vector<std::pair<StoreKeyId, StoreSubkeyValues>>* subkeys) {
    if (StoreResult result = KeyExists(key); result != kStoreOk) {
        return result;
    }
    StoreStatement query(connection_, kSubkeys);
    query.Bind(key).Bind(after).Bind(static_cast<std::int64_t>(most));
    int rc = SQLITE_ROW;
    while ((rc = query.Step()) == SQLITE_ROW) {
        if (query.Type(0) != SQLITE_INTEGER) {
            return kStoreFailed;
        }
        auto& [id, subkey] = subkeys->emplace_back(query.Number(0), StoreSubkeyValues{});
        if (DecodeName(query, 1, kStoreMaxKeyName, &subkey.name) != kStoreOk) {
            return kStoreFailed;
        }
        if (StoreResult read = KeyValues(id, &subkey.values); read != kStoreOk) {
            return read;
        }
    }
    return rc == SQLITE_DONE ? kStoreOk : kStoreFailed;
}

StoreResult StoreTree::KeyValues(StoreKeyId key, std::vector<std::pair<std::string, StoredValue>>* values) {
    StoreStatement query(connection_, kKeyValues);
    query.Bind(key);
    int rc = SQLITE_ROW;
    while ((rc = query.Step()) == SQLITE_ROW) {
        auto& [name, value] = values->emplace_back();
        if (DecodeName(query, 0, kStoreMaxValueName, &name) != kStoreOk ||
            DecodeValue(query, 1, &value) != kStoreOk) {
            return kStoreFailed;
        }
    }
    return rc == SQLITE_DONE ? kStoreOk : kStoreFailed;
}

StoreResult StoreTree::SubkeyAt(StoreKeyId key, std::uint32_t index, std::string* name) {
    StoreStatement query(connection_, kSubkeyAt);
    const int rc = query.Bind(key).Bind(static_cast<std::int64_t>(index)).Step();
    if (rc == SQLITE_DONE) {
        return EndOfList(key);
    }
    return rc == SQLITE_ROW ? DecodeName(query, 0, kStoreMaxKeyName, name) : kStoreFailed;
}

StoreResult StoreTree::ValueAt(StoreKeyId key, std::uint32_t index, std::string* name, StoredValue* value) {
    StoreStatement query(connection_, kValueAt);
    const int rc = query.Bind(key).Bind(static_cast<std::int64_t>(index)).Step();
    if (rc == SQLITE_DONE) {
        return EndOfList(key);
    }
    if (rc != SQLITE_ROW) {
        return kStoreFailed;
    }
    const StoreResult decoded = DecodeName(query, 0, kStoreMaxValueName, name);
    return decoded == kStoreOk ? DecodeValue(query, 1, value) : decoded;
}

StoreResult StoreTree::Checkpoint() {
    StoreStatement checkpoint(connection_, kCheckpoint);
    return checkpoint.Step() == SQLITE_ROW ? kStoreOk : kStoreFailed;
}

}  // namespace plat
