#include "MainThread.h"

namespace vzt {

struct MainThread::Call {
  const std::function<void()>* body;
  bool done = false;
  std::condition_variable finished;
};

MainThread& MainThread::Instance() {
  static MainThread instance;
  return instance;
}

MainThread::MainThread() : main_id_(std::this_thread::get_id()) {}

void MainThread::BindToCurrentThread() {
  std::lock_guard guard(mutex_);
  main_id_ = std::this_thread::get_id();
}

bool MainThread::IsMainThread() const { return std::this_thread::get_id() == main_id_; }

void MainThread::SetWakeHandler(std::function<void()> wake) {
  std::lock_guard guard(mutex_);
  wake_ = std::move(wake);
}

void MainThread::RunAndWait(const std::function<void()>& call) {
  if (IsMainThread()) {
    call();
    return;
  }
  auto posted = std::make_shared<Call>();
  posted->body = &call;
  std::function<void()> wake;
  {
    std::lock_guard guard(mutex_);
    queue_.push_back(posted);
    wake = wake_;
  }
  posted_.notify_all();
  if (wake) wake();
  std::unique_lock lock(mutex_);
  posted->finished.wait(lock, [&] { return posted->done; });
}

int MainThread::ProcessPending() {
  int ran = 0;
  for (;;) {
    std::shared_ptr<Call> next;
    {
      std::lock_guard guard(mutex_);
      if (queue_.empty()) return ran;
      next = queue_.front();
      queue_.pop_front();
    }
    (*next->body)();
    ++ran;
    {
      std::lock_guard guard(mutex_);
      next->done = true;
    }
    next->finished.notify_all();
  }
}

int MainThread::WaitAndProcess(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    posted_.wait_for(lock, timeout, [&] { return !queue_.empty(); });
  }
  return ProcessPending();
}

}  // namespace vzt
