#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace plat {

// A counter that every process of the store shares, in a small file beside the store file, mapped
// into memory: each change of the store advances it once committed. A process that finds it where it
// was knows that nothing was changed since, without asking the store file; that is what lets reads be
// kept. Every writer of the store is this layer.
class StoreGeneration {
  public:
    // Null when the counter file cannot be made or mapped: then nothing is kept.
    static std::unique_ptr<StoreGeneration> Open(const std::string& storePath);
    ~StoreGeneration();
    StoreGeneration(const StoreGeneration&) = delete;
    StoreGeneration& operator=(const StoreGeneration&) = delete;

    std::uint64_t Current() const;
    // Called after a change is committed, so that a reader that sees the new count reads the change.
    void Advance();

  private:
    explicit StoreGeneration(std::uint64_t* counter) : counter_(counter) {}

    std::uint64_t* counter_;
};

}  // namespace plat
