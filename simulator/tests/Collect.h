#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

namespace sim::test {

// What `receiver` takes in until `count` have come or `wait` has passed.
template <typename Receiver>
auto Collect(Receiver& receiver, size_t count,
             std::chrono::milliseconds wait = std::chrono::milliseconds(5000)) {
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
