#pragma once

#include <string_view>
#include <vector>

namespace plat {

// The longest key name and value name the store accepts, in bytes.
inline constexpr std::size_t kStoreMaxKeyName = 255;
inline constexpr std::size_t kStoreMaxValueName = 16383;

// A key path split at its backslashes: "Software\Vorlane\3.0" is three names. Null or "" is the empty
// path (the key itself).
class StoreKeyPath {
  public:
    // False when a name is empty (two backslashes in a row, a leading or trailing backslash) or
    // longer than kStoreMaxKeyName.
    bool Parse(const char* text);
    const std::vector<std::string_view>& Names() const { return names_; }
    bool Empty() const { return names_.empty(); }

  private:
    std::vector<std::string_view> names_;
};

}  // namespace plat
