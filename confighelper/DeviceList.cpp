#include "confighelper/DeviceList.h"

#include <cstring>
#include <new>

namespace {

// MAC texts live in fixed arrays; compare within them even when a text lacks its terminator.
int CompareMac(const char* a, const char* b) {
    return std::strncmp(a, b, DeviceRecord::kAddressSize);
}

std::string MacKey(const char* mac) {
    return std::string(mac, strnlen(mac, DeviceRecord::kAddressSize));
}

}  // namespace

int DeviceList::Order(const char* a, const char* b) const {
    const int compared = CompareMac(a, b);
    return mode_ == kDescending ? -compared : compared;
}

bool DeviceList::Add(const DeviceRecord& record) {
    try {
        if (mode_ != kUnsorted) {
            records_.insert(
                records_.begin() + static_cast<std::ptrdiff_t>(FindInsertPosition(record.macAddress)),
                record);
            return true;
        }
        records_.push_back(record);
        try {
            lastByMac_[MacKey(record.macAddress)] = records_.size() - 1;
        } catch (const std::bad_alloc&) {
            records_.pop_back();
            throw;
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void DeviceList::SetAt(std::size_t index, const DeviceRecord& record) {
    if (index >= records_.size()) {
        return;
    }
    if (mode_ == kUnsorted && CompareMac(records_[index].macAddress, record.macAddress) != 0) {
        indexStale_ = true;
    }
    records_[index] = record;
}

void DeviceList::Reindex() {
    lastByMac_.clear();
    for (std::size_t i = 0; i < records_.size(); ++i) {
        lastByMac_[MacKey(records_[i].macAddress)] = i;
    }
    indexStale_ = false;
}

bool DeviceList::RemoveAt(std::size_t index) {
    if (index >= records_.size()) {
        return false;
    }
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
    indexStale_ = true;
    return true;
}

bool DeviceList::RemoveByKey(const char* mac) {
    const long index = FindIndex(mac);
    return index >= 0 && RemoveAt(static_cast<std::size_t>(index));
}

long DeviceList::FindIndex(const char* mac) const {
    if (mode_ == kUnsorted) {
        for (std::size_t i = 0; i < records_.size(); ++i) {
            if (CompareMac(records_[i].macAddress, mac) == 0) {
                return static_cast<long>(i);
            }
        }
        return -1;
    }
    long low = 0;
    long high = static_cast<long>(records_.size()) - 1;
    while (low <= high) {
        const long middle = low + (high - low) / 2;
        const int order = Order(records_[static_cast<std::size_t>(middle)].macAddress, mac);
        if (order < 0) {
            low = middle + 1;
        } else if (order > 0) {
            high = middle - 1;
        } else {
            return middle;
        }
    }
    return -1;
}

std::size_t DeviceList::FindInsertPosition(const char* mac) const {
    std::size_t low = 0;
    std::size_t high = records_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (Order(records_[middle].macAddress, mac) < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

DeviceRecord* DeviceList::FindByKey(const char* mac) {
    const long index = FindIndex(mac);
    return index < 0 ? nullptr : GetAt(static_cast<std::size_t>(index));
}

DeviceRecord* DeviceList::FindByMac(const char* mac) {
    const long index = FindLastIndex(mac);
    return index < 0 ? nullptr : &records_[static_cast<std::size_t>(index)];
}

long DeviceList::FindLastIndex(const char* mac) {
    if (mode_ == kUnsorted) {
        if (indexStale_) {
            Reindex();
        }
        const auto found = lastByMac_.find(MacKey(mac));
        return found == lastByMac_.end() ? -1 : static_cast<long>(found->second);
    }
    for (std::size_t i = records_.size(); i-- > 0;) {
        if (CompareMac(records_[i].macAddress, mac) == 0) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

DeviceRecord* DeviceList::GetAt(std::size_t index) {
    return index < records_.size() ? &records_[index] : nullptr;
}

const DeviceRecord* DeviceList::GetAt(std::size_t index) const {
    return index < records_.size() ? &records_[index] : nullptr;
}
