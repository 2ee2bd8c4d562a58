#include "platform/store/StoreHandles.h"

namespace plat {

StoreKey StoreHandles::Add(StoreHandle handle) {
    // Wrapping takes four billion opens; even then 0, the root and live handles are stepped over.
    do {
        ++last_;
    } while (last_ == 0 || last_ == kStoreLocalMachine || open_.contains(last_));
    open_.emplace(last_, handle);
    return last_;
}

const StoreHandle* StoreHandles::Find(StoreKey key) const {
    const auto found = open_.find(key);
    return found != open_.end() ? &found->second : nullptr;
}

bool StoreHandles::Remove(StoreKey key) {
    return open_.erase(key) > 0;
}

}  // namespace plat
