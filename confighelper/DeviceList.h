#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "transport/DeviceRecord.h"

// The print servers one detection collects: copies of DeviceRecord owned by the list, kept in the order
// they were added, or sorted by their MAC texts.
class DeviceList {
  public:
    enum SortMode { kAscending = -1, kUnsorted = 0, kDescending = 1 };

    explicit DeviceList(SortMode mode = kUnsorted) : mode_(mode) {}

    // Adds a copy: at the end when unsorted, else at its sorted place (before an equal one).
    // False when memory runs out; the list is then unchanged.
    bool Add(const DeviceRecord& record);
    // False when the index is not below the count.
    bool RemoveAt(std::size_t index);
    bool RemoveByKey(const char* mac);

    // Index of the record with that MAC text, or -1: binary search when sorted, the first match from the
    // front when unsorted.
    long FindIndex(const char* mac) const;
    DeviceRecord* FindByKey(const char* mac);
    // The last record with that MAC text (compared exactly), or null; FindLastIndex gives its index or
    // -1. Unsorted, the list keeps an index by MAC text, so a look-up does not grow with the list: a MAC
    // text is to be changed through SetAt, not through a record pointer, to be found by its new text.
    DeviceRecord* FindByMac(const char* mac);
    long FindLastIndex(const char* mac);
    // Replaces the record at an index below the count with a copy of `record`.
    void SetAt(std::size_t index, const DeviceRecord& record);

    DeviceRecord* GetAt(std::size_t index);
    const DeviceRecord* GetAt(std::size_t index) const;
    std::size_t GetCount() const { return records_.size(); }
    SortMode GetSortMode() const { return mode_; }

  private:
    std::size_t FindInsertPosition(const char* mac) const;
    // Negative when a record with text `a` goes before one with text `b` in this list's order.
    int Order(const char* a, const char* b) const;

    void Reindex();

    SortMode mode_;
    std::vector<DeviceRecord> records_;
    // Unsorted only: the index of the last record of each MAC text; rebuilt after a removal.
    std::unordered_map<std::string, std::size_t> lastByMac_;
    bool indexStale_ = false;
};
