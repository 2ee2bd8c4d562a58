#pragma once

#include "platform/store/ConfigStore.h"

namespace plat {

// Runs the store calls of its lifetime as one batch (StoreBeginBatch); a batch that could not begin
// leaves every call to run on its own.
class StoreBatch {
  public:
    StoreBatch() : begun_(StoreBeginBatch() == kStoreOk) {}
    ~StoreBatch() {
        if (begun_) {
            StoreEndBatch();
        }
    }
    StoreBatch(const StoreBatch&) = delete;
    StoreBatch& operator=(const StoreBatch&) = delete;

  private:
    bool begun_;
};

}  // namespace plat
