#include "simulator/netware/NetWareState.h"

#include "platform/text/CaseInsensitive.h"

namespace sim {

namespace {

template <typename Item>
Item* Named(const std::vector<std::unique_ptr<Item>>& items, std::string_view name) {
    for (const auto& item : items) {
        if (plat::EqualsNoCase(item->name, name)) {
            return item.get();
        }
    }
    return nullptr;
}

}  // namespace

BinderyServer* NetWareState::Server(std::string_view name) {
    return Named(servers, name);
}

DirectoryTree* NetWareState::Tree(std::string_view name) {
    return Named(trees, name);
}

}  // namespace sim
