#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/store/ConfigStore.h"

namespace plat {

// What an open handle names: a key's row and whether it may change the key.
struct StoreHandle {
    std::int64_t key = 0;
    bool writable = false;
};

// The process's open key handles. Numbers count up and are not handed out again (short of wrapping
// round), so a closed handle stays invalid instead of naming some later key. Not thread-safe.
class StoreHandles {
  public:
    StoreKey Add(StoreHandle handle);
    const StoreHandle* Find(StoreKey key) const;
    bool Remove(StoreKey key);

  private:
    std::unordered_map<StoreKey, StoreHandle> open_;
    StoreKey last_ = 0;
};

}  // namespace plat
