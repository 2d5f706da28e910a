#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vzt {

// "Run this in the main thread and wait": a worker posts a call and blocks until the main
// thread has run it. The main thread runs posted calls when its loop wakes it (the GUI's
// wake handler nudges Qt's loop) or when it drains them explicitly.
class MainThread {
 public:
  static MainThread& Instance();

  // Makes the calling thread the main thread (the one that created the dispatcher is by default).
  void BindToCurrentThread();
  bool IsMainThread() const;

  // From a worker: post and wait until it has run. From the main thread: run it at once.
  void RunAndWait(const std::function<void()>& call);

  // Main thread: run every call posted so far; returns how many ran.
  int ProcessPending();
  // Main thread: wait up to `timeout` for a posted call and run what is there.
  int WaitAndProcess(std::chrono::milliseconds timeout);

  // Called (from the posting thread) after each post, so an event loop can wake up.
  void SetWakeHandler(std::function<void()> wake);

 private:
  MainThread();
  struct Call;

  std::thread::id main_id_;
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::shared_ptr<Call>> queue_;
  std::function<void()> wake_;
};

}  // namespace vzt
