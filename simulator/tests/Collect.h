#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

#include "tests/Eventually.h"

namespace sim::test {

// What `receiver` takes in until `count` have come or `wait` has passed (by default a bound for a
// loaded machine).
template <typename Receiver>
auto Collect(Receiver& receiver, size_t count,
             std::chrono::milliseconds wait = testsupport::kLoadedMachineWait) {
    using Item = typename decltype(receiver.Receive(wait))::value_type;
    std::vector<Item> received;
    auto deadline = std::chrono::steady_clock::now() + wait;
    while (received.size() < count && std::chrono::steady_clock::now() < deadline) {
        if (std::optional<Item> item = receiver.Receive(std::chrono::milliseconds(100))) {
            received.push_back(std::move(*item));
        }
    }
    return received;
}

}  // namespace sim::test
