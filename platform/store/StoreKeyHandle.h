#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/store/ConfigStore.h"

namespace plat {

// An open store key that closes itself. Every read answers std::nullopt when the value is missing,
// of another type, or the key cannot be read; writes answer the store's result code.
class StoreKeyHandle {
  public:
    StoreKeyHandle() = default;
    explicit StoreKeyHandle(StoreKey key) : key_(key) {}
    StoreKeyHandle(StoreKeyHandle&& other) noexcept : key_(other.Release()) {}
    StoreKeyHandle& operator=(StoreKeyHandle&& other) noexcept;
    StoreKeyHandle(const StoreKeyHandle&) = delete;
    StoreKeyHandle& operator=(const StoreKeyHandle&) = delete;
    ~StoreKeyHandle() { Close(); }

    // Opens an existing key below parent (kStoreLocalMachine for the suite's root).
    static std::optional<StoreKeyHandle> Open(StoreKey parent, const char* path,
                                              StoreAccess access = kStoreRead);
    // Opens a key for reading and writing, creating it and every missing key above it.
    static std::optional<StoreKeyHandle> Create(StoreKey parent, const char* path);

    StoreKey Get() const { return key_; }
    StoreKey Release();
    void Close();

    std::optional<std::uint32_t> ReadNumber(const char* name) const;
    // A text value without its terminating zero; a text stored without one is read whole.
    std::optional<std::string> ReadText(const char* name) const;
    // As ReadText, but nothing when the stored value takes more than `room` bytes, terminator
    // included: the read of a field of that size.
    std::optional<std::string> ReadTextWithin(const char* name, std::uint32_t room) const;
    std::optional<std::vector<std::uint8_t>> ReadBytes(const char* name) const;

    StoreResult WriteNumber(const char* name, std::uint32_t value) const;
    // Stores the whole text with its terminating zero, so that it reads back unchanged.
    StoreResult WriteText(const char* name, const std::string& text) const;
    StoreResult WriteBytes(const char* name, const void* data, std::uint32_t size) const;
    StoreResult AddToNumber(const char* name, std::int32_t delta, std::uint32_t* result = nullptr) const;
    StoreResult DeleteValue(const char* name) const;
    // Deletes the named subkey with everything below it.
    StoreResult DeleteSubkey(const char* name) const;

    // The names of the key's subkeys, in the store's stable order.
    std::vector<std::string> SubkeyNames() const;
    // At most `most` of the key's subkeys in that order whose names come after `after`, with all
    // their values, read at once (StoreReadSubkeys; empty when they cannot be read).
    // StoreSubkeyReader reads them.
    std::vector<StoreSubkeyValues> Subkeys(const std::string& after, std::uint32_t most) const;

  private:
    // Reads the value and answers what `take` makes of its type and bytes (a view valid during the
    // call), or nothing when it cannot be read.
    template <class Take>
    std::invoke_result_t<Take, std::uint32_t, std::span<const std::uint8_t>> ReadRaw(const char* name,
                                                                                     Take take) const;

    StoreKey key_ = 0;
};

// The values of a subkey read with StoreKeyHandle::Subkeys, read as StoreKeyHandle reads them: each
// by its name (compared without regard to case), nothing when it is missing or of another type.
class StoreSubkeyReader {
  public:
    explicit StoreSubkeyReader(const StoreSubkeyValues& subkey) : subkey_(subkey) {}

    std::optional<std::uint32_t> ReadNumber(const char* name) const;
    std::optional<std::string> ReadText(const char* name) const;

  private:
    const StoredValue* Find(const char* name) const;

    const StoreSubkeyValues& subkey_;
};

}  // namespace plat
