#include "platform/store/StoreKeyHandle.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

namespace plat {

namespace {

std::optional<std::uint32_t> NumberOf(std::uint32_t type, std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    if (type != kStoreValueNumber || bytes.size() != sizeof value) {
        return std::nullopt;
    }
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

std::optional<std::string> TextOf(std::uint32_t type, std::span<const std::uint8_t> bytes,
                                  std::uint32_t room) {
    if (type != kStoreValueText || bytes.size() > room) {
        return std::nullopt;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!text.empty() && text.back() == '\0') {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::span<const std::uint8_t> BytesOf(const StoredValue& value) {
    return {reinterpret_cast<const std::uint8_t*>(value.data.data()), value.data.size()};
}

bool SameName(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace

StoreKeyHandle& StoreKeyHandle::operator=(StoreKeyHandle&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = other.Release();
    }
    return *this;
}

std::optional<StoreKeyHandle> StoreKeyHandle::Open(StoreKey parent, const char* path, StoreAccess access) {
    StoreKey key = 0;
    if (StoreOpenKey(parent, path, access, &key) != kStoreOk) {
        return std::nullopt;
    }
    return StoreKeyHandle(key);
}

std::optional<StoreKeyHandle> StoreKeyHandle::Create(StoreKey parent, const char* path) {
    StoreKey key = 0;
    if (StoreCreateKey(parent, path, &key) != kStoreOk) {
        return std::nullopt;
    }
    return StoreKeyHandle(key);
}

StoreKey StoreKeyHandle::Release() {
    const StoreKey key = key_;
    key_ = 0;
    return key;
}

void StoreKeyHandle::Close() {
    if (key_ != 0) {
        StoreCloseKey(key_);
        key_ = 0;
    }
}

template <class Take>
std::invoke_result_t<Take, std::uint32_t, std::span<const std::uint8_t>> StoreKeyHandle::ReadRaw(
    const char* name, Take take) const {
    // Most values are small: one read into room on the stack, asking for the size only when it does
    // not fit.
    std::uint8_t small[64];
    std::uint32_t size = sizeof small;
    std::uint32_t type = kStoreValueNone;
    const StoreResult first =
        key_ == 0 ? kStoreInvalidHandle : StoreQueryValue(key_, name, &type, small, &size);
    if (first == kStoreOk) {
        return take(type, std::span<const std::uint8_t>(small, size));
    }
    if (first != kStoreMoreData) {
        return std::nullopt;
    }
    // The value may change between the two reads: try again while it grows.
    std::vector<std::uint8_t> bytes;
    for (;;) {
        bytes.resize(size);
        const StoreResult result = StoreQueryValue(key_, name, &type, bytes.data(), &size);
        if (result == kStoreOk) {
            return take(type, std::span<const std::uint8_t>(bytes.data(), size));
        }
        if (result != kStoreMoreData) {
            return std::nullopt;
        }
    }
}

std::optional<std::uint32_t> StoreKeyHandle::ReadNumber(const char* name) const {
    return ReadRaw(name, NumberOf);
}

std::optional<std::string> StoreKeyHandle::ReadText(const char* name) const {
    return ReadTextWithin(name, std::numeric_limits<std::uint32_t>::max());
}

std::optional<std::string> StoreKeyHandle::ReadTextWithin(const char* name, std::uint32_t room) const {
    return ReadRaw(name, [room](std::uint32_t type, std::span<const std::uint8_t> bytes) {
        return TextOf(type, bytes, room);
    });
}

std::optional<std::vector<std::uint8_t>> StoreKeyHandle::ReadBytes(const char* name) const {
    return ReadRaw(name, [](std::uint32_t type, std::span<const std::uint8_t> bytes) {
        if (type != kStoreValueBytes) {
            return std::optional<std::vector<std::uint8_t>>();
        }
        return std::optional(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    });
}

StoreResult StoreKeyHandle::WriteNumber(const char* name, std::uint32_t value) const {
    return StoreSetValue(key_, name, kStoreValueNumber, &value, sizeof value);
}

StoreResult StoreKeyHandle::WriteText(const char* name, const std::string& text) const {
    return StoreSetValue(key_, name, kStoreValueText, text.c_str(),
                         static_cast<std::uint32_t>(text.size() + 1));
}

StoreResult StoreKeyHandle::WriteBytes(const char* name, const void* data, std::uint32_t size) const {
    return StoreSetValue(key_, name, kStoreValueBytes, data, size);
}

StoreResult StoreKeyHandle::AddToNumber(const char* name, std::int32_t delta, std::uint32_t* result) const {
    return StoreAddToNumber(key_, name, delta, result);
}

StoreResult StoreKeyHandle::DeleteValue(const char* name) const {
    return StoreDeleteValue(key_, name);
}

StoreResult StoreKeyHandle::DeleteSubkey(const char* name) const {
    return StoreDeleteKey(key_, name);
}

std::vector<std::string> StoreKeyHandle::SubkeyNames() const {
    std::vector<std::string> names;
    if (StoreSubkeyNames(key_, &names) != kStoreOk) {
        names.clear();
    }
    return names;
}

std::vector<StoreSubkeyValues> StoreKeyHandle::Subkeys(const std::string& after, std::uint32_t most) const {
    std::vector<StoreSubkeyValues> subkeys;
    if (StoreReadSubkeys(key_, after.c_str(), most, &subkeys) != kStoreOk) {
        subkeys.clear();
    }
    return subkeys;
}

const StoredValue* StoreSubkeyReader::Find(const char* name) const {
    for (const auto& [stored, value] : subkey_.values) {
        if (SameName(stored, name)) {
            return &value;
        }
    }
    return nullptr;
}

std::optional<std::uint32_t> StoreSubkeyReader::ReadNumber(const char* name) const {
    const StoredValue* value = Find(name);
    return value != nullptr ? NumberOf(value->type, BytesOf(*value)) : std::nullopt;
}

std::optional<std::string> StoreSubkeyReader::ReadText(const char* name) const {
    const StoredValue* value = Find(name);
    return value != nullptr ? TextOf(value->type, BytesOf(*value), std::numeric_limits<std::uint32_t>::max())
                            : std::nullopt;
}

}  // namespace plat
