#pragma once

#include <pthread.h>

namespace sim {

// A shared mutex under which a waiting writer goes before readers that come after it: the threads
// that answer UDP requests read under it without pause during a poll of thousands of cards, and
// would keep every other operation out (the default lock lets readers in first).
class WriterFirstMutex {
  public:
    WriterFirstMutex() {
        pthread_rwlockattr_t attributes;
        pthread_rwlockattr_init(&attributes);
        pthread_rwlockattr_setkind_np(&attributes, PTHREAD_RWLOCK_PREFER_WRITER_NONRECURSIVE_NP);
        pthread_rwlock_init(&lock_, &attributes);
        pthread_rwlockattr_destroy(&attributes);
    }
    ~WriterFirstMutex() { pthread_rwlock_destroy(&lock_); }
    WriterFirstMutex(const WriterFirstMutex&) = delete;
    WriterFirstMutex& operator=(const WriterFirstMutex&) = delete;

    void lock() { pthread_rwlock_wrlock(&lock_); }
    void unlock() { pthread_rwlock_unlock(&lock_); }
    void lock_shared() { pthread_rwlock_rdlock(&lock_); }
    void unlock_shared() { pthread_rwlock_unlock(&lock_); }

  private:
    pthread_rwlock_t lock_;
};

}  // namespace sim
