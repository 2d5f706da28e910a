#pragma once

#include <mutex>

namespace vzt {

// Re-entrant for the thread that holds it, as the platform's critical section is.
class CriticalSection {
 public:
  void Acquire() { mutex_.lock(); }
  void Release() { mutex_.unlock(); }
  bool TryAcquire() { return mutex_.try_lock(); }

  // BasicLockable, so std::lock_guard and std::unique_lock work too.
  void lock() { Acquire(); }
  void unlock() { Release(); }

 private:
  std::recursive_mutex mutex_;
};

}  // namespace vzt
