#include "platform/store/StoreKeyPath.h"

namespace plat {

StoreKeyPath::NameIterator& StoreKeyPath::NameIterator::operator++() {
    const std::size_t end = rest_.find('\\');
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    return *this;
}

StoreKeyPath StoreKeyPath::Parent() const {
    const std::size_t end = text_.rfind('\\');
    StoreKeyPath parent;
    parent.text_ = end == std::string_view::npos ? std::string_view() : text_.substr(0, end);
    return parent;
}

StoreKeyPath StoreKeyPath::Leaf() const {
    const std::size_t end = text_.rfind('\\');
    StoreKeyPath leaf;
    leaf.text_ = end == std::string_view::npos ? text_ : text_.substr(end + 1);
    return leaf;
}

bool StoreKeyPath::Parse(const char* text) {
    text_ = {};
    const std::string_view whole = text != nullptr ? text : "";
    std::string_view rest = whole;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\\');
        const std::string_view name = rest.substr(0, end);
        if (name.empty() || name.size() > kStoreMaxKeyName || end == rest.size() - 1) {
            return false;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    text_ = whole;
    return true;
}

}  // namespace plat
