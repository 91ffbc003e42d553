// GCC 12's win32 thread model leaves out std::mutex and
// std::condition_variable; GoogleTest's Windows port needs both. Only the
// cross-built test programs see this header.
#pragma once
#ifdef __cplusplus
#include <windows.h>

#include <condition_variable>
#include <mutex>

#if !defined(_GLIBCXX_HAS_GTHREADS)
namespace std {
class mutex {
 public:
  mutex() { InitializeCriticalSection(&cs_); }
  ~mutex() { DeleteCriticalSection(&cs_); }
  mutex(const mutex&) = delete;
  mutex& operator=(const mutex&) = delete;
  void lock() { EnterCriticalSection(&cs_); }
  void unlock() { LeaveCriticalSection(&cs_); }
  bool try_lock() { return TryEnterCriticalSection(&cs_) != 0; }
  CRITICAL_SECTION* native_handle() { return &cs_; }

 private:
  CRITICAL_SECTION cs_;
};

// XP has no condition variables; a polling wait is enough for the test
// framework's start-up handshake, its only user.
class condition_variable {
 public:
  condition_variable() = default;
  condition_variable(const condition_variable&) = delete;
  condition_variable& operator=(const condition_variable&) = delete;
  void notify_one() {}
  void notify_all() {}
  void wait(unique_lock<mutex>& lock) {
    lock.unlock();
    Sleep(1);
    lock.lock();
  }
  template <class Predicate>
  void wait(unique_lock<mutex>& lock, Predicate pred) {
    while (!pred()) wait(lock);
  }
};
}  // namespace std
#endif
#endif
