#include "platform/store/StoreKeyPath.h"

namespace plat {

bool StoreKeyPath::Parse(const char* text) {
    names_.clear();
    std::string_view rest = text != nullptr ? text : "";
    while (!rest.empty()) {
        const std::size_t end = rest.find('\\');
        const std::string_view name = rest.substr(0, end);
        if (name.empty() || name.size() > kStoreMaxKeyName || end == rest.size() - 1) {
            return false;
        }
        names_.push_back(name);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return true;
}

}  // namespace plat
