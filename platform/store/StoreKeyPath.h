#pragma once

#include <cstddef>
#include <string_view>

namespace plat {

// The longest key name and value name the store accepts, in bytes.
inline constexpr std::size_t kStoreMaxKeyName = 255;
inline constexpr std::size_t kStoreMaxValueName = 16383;

// A key path split at its backslashes: "Software\Vorlane\3.0" is three names. Null or "" is the empty
// path (the key itself). The names are views of the parsed text, found as they are walked: a path is
// parsed for every key opened, and keeping its names apart would cost an allocation each time.
class StoreKeyPath {
  public:
    // Walks the names of a parsed path, from the first.
    class NameIterator {
      public:
        using difference_type = std::ptrdiff_t;
        using value_type = std::string_view;

        NameIterator() = default;
        explicit NameIterator(std::string_view rest) : rest_(rest) {}
        std::string_view operator*() const { return rest_.substr(0, rest_.find('\\')); }
        NameIterator& operator++();
        // Every walk ends at the empty rest: a parsed path has no trailing backslash.
        bool operator==(const NameIterator& other) const { return rest_.size() == other.rest_.size(); }

      private:
        std::string_view rest_;
    };

    struct NameRange {
        NameIterator first;
        NameIterator begin() const { return first; }
        NameIterator end() const { return NameIterator(); }
    };

    // False when a name is empty (two backslashes in a row, a leading or trailing backslash) or
    // longer than kStoreMaxKeyName. The text must outlive the path.
    bool Parse(const char* text);
    NameRange Names() const { return NameRange{NameIterator(text_)}; }
    bool Empty() const { return text_.empty(); }
    // The path without its last name, and that name alone ("a\b\c": "a\b" and "c"; "a": the empty
    // path and "a"). Not for the empty path.
    StoreKeyPath Parent() const;
    StoreKeyPath Leaf() const;

  private:
    std::string_view text_;
};

}  // namespace plat
