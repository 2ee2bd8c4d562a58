#include "platform/store/ConfigStore.h"

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/services/ProcessId.h"
#include "platform/store/StoreFilePath.h"
#include "platform/store/StoreGeneration.h"
#include "platform/store/StoreHandles.h"
#include "platform/store/StoreKeyPath.h"
#include "platform/store/StoreReadCache.h"
#include "platform/store/StoreTree.h"

namespace plat {

namespace {

// The process's one connection and its handles, behind one lock.
struct Store {
    std::mutex mutex;
    std::unique_ptr<StoreConnection> connection;
    pid_t owner = 0;
    // Connections a forked child inherited: SQLite allows neither using nor closing them there.
    std::vector<std::unique_ptr<StoreConnection>> inherited;
    StoreHandles handles;
    std::unique_ptr<StoreGeneration> generation;
    StoreReadCache reads;
    std::optional<std::uint64_t> batchStart;  // the generation as the open batch began
    // The generation of the connection that `owner` opened, for StoreChangeCount without the lock.
    // Made once per process and never replaced while that process runs.
    std::atomic<StoreGeneration*> counted{nullptr};
    std::atomic<pid_t> countedBy{0};
};

// Never destroyed: other libraries may still reach the store from their own exit code.
Store& TheStore() {
    static Store* store = new Store;
    return *store;
}

enum class Use { kRead, kWrite };

// One call into the store: holds the lock, checks the handle and its access, opens the file when the
// process has not yet (or only its parent had).
class StoreCall {
  public:
    StoreCall(StoreKey key, Use use) : store_(TheStore()), lock_(store_.mutex), result_(Resolve(key, use)) {}

    StoreResult Result() const { return result_; }
    StoreKeyId Key() const { return key_; }
    StoreTree Tree() const { return StoreTree(*store_.connection); }
    StoreConnection& Connection() const { return *store_.connection; }
    StoreHandles& Handles() { return store_.handles; }
    // Reads go through the kept ones; the generation was looked at when the call began.
    StoreReadCache& Reads() { return store_.reads; }
    std::optional<std::uint64_t>& BatchStart() { return store_.batchStart; }
    std::optional<std::uint64_t> ChangeCount() const { return generation_; }
    // Every change, once committed, moves the generation on, so that no process keeps an older read.
    StoreResult Changed(StoreResult result) {
        if (store_.generation != nullptr) {
            store_.generation->Advance();
        }
        return result;
    }

  private:
    StoreResult Resolve(StoreKey key, Use use) {
        StoreHandle handle{kStoreRootId, true};
        if (key != kStoreLocalMachine) {
            const StoreHandle* open = store_.handles.Find(key);
            if (open == nullptr) {
                return kStoreInvalidHandle;
            }
            handle = *open;
        }
        if (use == Use::kWrite && !handle.writable) {
            return kStoreAccessDenied;
        }
        key_ = handle.key;
        const StoreResult connected = Connect();
        if (store_.generation != nullptr) {
            generation_ = store_.generation->Current();
        }
        store_.reads.Follow(generation_);
        return connected;
    }

    StoreResult Connect() {
        const pid_t self = CurrentProcessId();
        if (store_.connection != nullptr && store_.owner == self) {
            return kStoreOk;
        }
        if (store_.connection != nullptr) {
            store_.inherited.push_back(std::move(store_.connection));
        }
        const std::string path = StoreFilePath();
        store_.connection = path.empty() ? nullptr : StoreTree::OpenFile(path);
        store_.countedBy = 0;
        store_.generation = store_.connection != nullptr ? StoreGeneration::Open(path) : nullptr;
        store_.owner = self;
        store_.counted = store_.generation.get();
        store_.countedBy = self;
        return store_.connection != nullptr ? kStoreOk : kStoreFailed;
    }

    Store& store_;
    std::lock_guard<std::mutex> lock_;
    std::optional<std::uint64_t> generation_;  // as the call began
    StoreKeyId key_ = 0;
    StoreResult result_;
};

// Null is the default value's name, as is "".
bool ParseValueName(const char* name, std::string_view* parsed) {
    *parsed = name != nullptr ? name : "";
    return parsed->size() <= kStoreMaxValueName;
}

// Type, size and data as the query answers them: a buffer too small receives nothing.
StoreResult HandOut(const StoredValue& value, std::uint32_t* type, void* data, std::uint32_t* size) {
    if (type != nullptr) {
        *type = value.type;
    }
    if (size == nullptr) {
        return kStoreOk;
    }
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    const bool fits = data == nullptr || *size >= needed;
    *size = needed;
    if (!fits) {
        return kStoreMoreData;
    }
    if (data != nullptr) {
        std::memcpy(data, value.data.data(), needed);
    }
    return kStoreOk;
}

// Reports the name's length; true when the buffer holds it with its terminator.
bool NameFits(const std::string& name, std::uint32_t* nameSize) {
    const bool fits = *nameSize > name.size();
    *nameSize = static_cast<std::uint32_t>(name.size());
    return fits;
}

void CopyName(const std::string& name, char* buffer) {
    std::memcpy(buffer, name.c_str(), name.size() + 1);
}

StoreResult OpenHandle(StoreKey parent, const char* subKey, Use use, bool create, StoreKey* result) {
    if (result == nullptr) {
        return kStoreInvalidParameter;
    }
    *result = 0;
    StoreKeyPath path;
    if (!path.Parse(subKey)) {
        return kStoreInvalidParameter;
    }
    StoreCall call(parent, create ? Use::kWrite : Use::kRead);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    StoreKeyId key = 0;
    StoreTree tree = call.Tree();
    const StoreResult found = create ? call.Changed(tree.CreateKey(call.Key(), path, &key))
                                     : call.Reads().FindKey(tree, call.Key(), path, &key);
    if (found == kStoreOk) {
        *result = call.Handles().Add({key, use == Use::kWrite});
    }
    return found;
}

}  // namespace

StoreResult StoreOpenKey(StoreKey parent, const char* subKey, StoreAccess access, StoreKey* result) {
    if (access != kStoreRead && access != kStoreReadWrite) {
        return kStoreInvalidParameter;
    }
    return OpenHandle(parent, subKey, access == kStoreReadWrite ? Use::kWrite : Use::kRead, false, result);
}

StoreResult StoreCreateKey(StoreKey parent, const char* subKey, StoreKey* result) {
    return OpenHandle(parent, subKey, Use::kWrite, true, result);
}

StoreResult StoreQueryValue(StoreKey key, const char* name, std::uint32_t* type, void* data,
                            std::uint32_t* size) {
    std::string_view valueName;
    if (!ParseValueName(name, &valueName) || (data != nullptr && size == nullptr)) {
        return kStoreInvalidParameter;
    }
    StoreCall call(key, Use::kRead);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    const StoredValue* value = nullptr;
    StoreTree tree = call.Tree();
    const StoreResult read = call.Reads().ReadValue(tree, call.Key(), valueName, &value);
    return read == kStoreOk ? HandOut(*value, type, data, size) : read;
}

StoreResult StoreSetValue(StoreKey key, const char* name, StoreValueType type, const void* data,
                          std::uint32_t size) {
    std::string_view valueName;
    if (!ParseValueName(name, &valueName) || !IsStoreValueType(type) || (data == nullptr && size > 0) ||
        size > kStoreMaxValueSize || (type == kStoreValueNumber && size != 4)) {
        return kStoreInvalidParameter;
    }
    StoreCall call(key, Use::kWrite);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    const std::span bytes(static_cast<const std::uint8_t*>(data), size);
    return call.Changed(call.Tree().WriteValue(call.Key(), valueName, type, bytes));
}

StoreResult StoreAddToNumber(StoreKey key, const char* name, std::int32_t delta, std::uint32_t* result) {
    std::string_view valueName;
    if (!ParseValueName(name, &valueName)) {
        return kStoreInvalidParameter;
    }
    StoreCall call(key, Use::kWrite);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    std::uint32_t number = 0;
    const StoreResult added = call.Changed(call.Tree().AddToNumber(call.Key(), valueName, delta, &number));
    if (added == kStoreOk && result != nullptr) {
        *result = number;
    }
    return added;
}

StoreResult StoreEnumKey(StoreKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
    if (name == nullptr || nameSize == nullptr) {
        return kStoreInvalidParameter;
    }
    StoreCall call(key, Use::kRead);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    std::string subkey;
    if (StoreResult found = call.Tree().SubkeyAt(call.Key(), index, &subkey); found != kStoreOk) {
        return found;
    }
    if (!NameFits(subkey, nameSize)) {
        return kStoreMoreData;
    }
    CopyName(subkey, name);
    return kStoreOk;
}

StoreResult StoreSubkeyNames(StoreKey key, std::vector<std::string>* names) {
    if (names == nullptr) {
        return kStoreInvalidParameter;
    }
    StoreCall call(key, Use::kRead);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    names->clear();
    return call.Tree().SubkeyNames(call.Key(), names);
}

StoreResult StoreReadSubkeys(StoreKey key, const char* after, std::uint32_t most,
                             std::vector<StoreSubkeyValues>* subkeys) {
    if (after == nullptr || subkeys == nullptr) {
        return kStoreInvalidParameter;
    }
    StoreCall call(key, Use::kRead);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    subkeys->clear();
    std::vector<std::pair<StoreKeyId, StoreSubkeyValues>> read;
    if (StoreResult result = call.Tree().Subkeys(call.Key(), after, most, &read); result != kStoreOk) {
        return result;
    }
    subkeys->reserve(read.size());
    for (auto& [id, subkey] : read) {
        call.Reads().KeepKey(call.Key(), subkey.name, id);
        for (const auto& [name, value] : subkey.values) {
            call.Reads().KeepValue(id, name, value);
        }
        subkeys->push_back(std::move(subkey));
    }
    return kStoreOk;
}

StoreResult StoreEnumValue(StoreKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                           std::uint32_t* type, void* data, std::uint32_t* size) {
    if (name == nullptr || nameSize == nullptr || (data != nullptr && size == nullptr)) {
        return kStoreInvalidParameter;
    }
    StoreCall call(key, Use::kRead);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    std::string valueName;
    StoredValue value;
    if (StoreResult found = call.Tree().ValueAt(call.Key(), index, &valueName, &value); found != kStoreOk) {
        return found;
    }
    if (!NameFits(valueName, nameSize)) {
        // Sizes and type are still reported, so one retry with larger buffers suffices.
        HandOut(value, type, nullptr, size);
        return kStoreMoreData;
    }
    const StoreResult handed = HandOut(value, type, data, size);
    if (handed == kStoreOk) {
        CopyName(valueName, name);
    }
    return handed;
}

StoreResult StoreDeleteValue(StoreKey key, const char* name) {
    std::string_view valueName;
    if (!ParseValueName(name, &valueName)) {
        return kStoreInvalidParameter;
    }
    StoreCall call(key, Use::kWrite);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    return call.Changed(call.Tree().DeleteValue(call.Key(), valueName));
}

StoreResult StoreDeleteKey(StoreKey parent, const char* subKey) {
    StoreKeyPath path;
    if (!path.Parse(subKey) || path.Empty()) {
        return kStoreInvalidParameter;
    }
    StoreCall call(parent, Use::kWrite);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    return call.Changed(call.Tree().DeleteKey(call.Key(), path));
}

StoreResult StoreFlushKey(StoreKey key) {
    StoreCall call(key, Use::kRead);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    return call.Tree().Checkpoint();
}

StoreResult StoreBeginBatch() {
    StoreCall call(kStoreLocalMachine, Use::kWrite);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    if (call.Connection().InTransaction()) {
        return kStoreInvalidParameter;
    }
    call.BatchStart() = call.ChangeCount();
    return call.Connection().BeginImmediate() == SQLITE_OK ? kStoreOk : kStoreFailed;
}

StoreResult StoreEndBatch() {
    StoreCall call(kStoreLocalMachine, Use::kWrite);
    if (call.Result() != kStoreOk) {
        return call.Result();
    }
    if (!call.Connection().InTransaction()) {
        return kStoreInvalidParameter;
    }
    // The batch's writes moved the generation on before they were committed, so a reader may have
    // kept what was there before: it moves on again now that they are in (or rolled back). A batch
    // that only read leaves it, and what was kept stays kept (a walk of ten thousand entries read in
    // one batch, then read again by every exchange with them).
    const bool wrote = !call.BatchStart() || call.ChangeCount() != call.BatchStart();
    call.BatchStart().reset();
    if (call.Connection().Commit() == SQLITE_OK) {
        return wrote ? call.Changed(kStoreOk) : kStoreOk;
    }
    call.Connection().Rollback();
    return call.Changed(kStoreFailed);
}

// Asked before every kept read, by every thread of a poll of thousands of print servers: once the
// process has its connection, the count is read without the store's lock.
std::optional<std::uint64_t> StoreChangeCount() {
    Store& store = TheStore();
    if (store.countedBy == CurrentProcessId()) {
        if (const StoreGeneration* generation = store.counted) {
            return generation->Current();
        }
    }
    StoreCall call(kStoreLocalMachine, Use::kRead);
    if (call.Result() != kStoreOk) {
        return std::nullopt;
    }
    return call.ChangeCount();
}

StoreResult StoreCloseKey(StoreKey key) {
    if (key == kStoreLocalMachine) {
        return kStoreOk;
    }
    Store& store = TheStore();
    std::lock_guard lock(store.mutex);
    return store.handles.Remove(key) ? kStoreOk : kStoreInvalidHandle;
}

}  // namespace plat
