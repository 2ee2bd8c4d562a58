#pragma once

#include <cstdint>
#include <optional>

#include "platform/store/ConfigStore.h"

namespace plat {

// What a few store reads made, kept while the store's change count stays where it was: as fresh as
// reading them again, for one look at the count. The count is taken before the reads, so that a change
// made while they run moves it on and the next Get reads again. For the reads made on every exchange
// with a print server; one thread's.
template <class Value>
class StoreKeptRead {
  public:
    // The kept value, or what read() answers now when the store changed since (or cannot count).
    template <class Read>
    const Value& Get(Read&& read) {
        const std::optional<std::uint64_t> now = StoreChangeCount();
        if (!now || !kept_ || now != count_) {
            kept_ = read();
            count_ = now;
        }
        return *kept_;
    }

    void Forget() { kept_.reset(); }

  private:
    std::optional<std::uint64_t> count_;
    std::optional<Value> kept_;
};

}  // namespace plat
