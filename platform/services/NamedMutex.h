#pragma once

#include <string>

namespace plat {

// A mutex named across the processes of one runtime folder (VORLANE_RUNTIME), made owned: the first
// process to make it holds it until it releases it or ends; a later one learns that it already existed.
class NamedMutex {
  public:
    explicit NamedMutex(const std::string& name);
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;
    ~NamedMutex();

    // True when another process holds the mutex; this one then does not own it.
    bool AlreadyExisted() const { return alreadyExisted_; }
    bool Owned() const { return fd_ >= 0; }
    void Release();

  private:
    int fd_ = -1;
    bool alreadyExisted_ = false;
};

}  // namespace plat
