#pragma once

#include <string_view>

namespace plat {

// ASCII comparison without regard to case: store keys and value names, module names, class names.
bool EqualsNoCase(std::string_view a, std::string_view b);

struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

}  // namespace plat
