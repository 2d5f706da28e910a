#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/CriticalSection.h"

namespace vzt {

class Component;
class TQorConnection;

enum TThreadPriority : int {
  tpIdle = 0,
  tpLowest,
  tpLower,
  tpNormal,
  tpHigher,
  tpHighest,
  tpTimeCritical,
};

// One client of a refresh element: a control (gets MSG_PACKET_ARRIVED) or an item (gets
// UpdateData), served when its interval has elapsed.
struct REFRESH_CLIENT {
  bool active = true;
  std::uint32_t last_time = 0;  // tick count of the last delivery; 0 = never served
  int interval = 0;
  Component* client = nullptr;
};

// One fetch per distinct (request code, index); its buffer is allocated once.
struct REFRESH_ELEMENT {
  int code = 0;
  int index = -1;
  std::vector<std::uint32_t> buffer;  // 64 words for vectors and packets, else 1
  std::vector<REFRESH_CLIENT> clients;
};

// The background thread of the live-data refresher. It only sleeps, parks while disabled
// and asks the main thread to run a pass; the pass itself runs in the main thread.
// Its start, stop and destruction live here: the constructor starts it, the destructor
// stops and joins it, running posted passes meanwhile so that nothing deadlocks.
class TRefreshThread {
 public:
  explicit TRefreshThread(int sleepTime);
  ~TRefreshThread();

  TRefreshThread(const TRefreshThread&) = delete;
  TRefreshThread& operator=(const TRefreshThread&) = delete;

  void SetConnection(TQorConnection* connection);
  bool AddRefresh(Component* client, int interval, int code, int index);
  void RemoveRefresh(Component* client, int code, int index);
  void SuspendRefresh(Component* client, int code, int index);
  void ResumeRefresh(Component* client, int code, int index);
  void RemoveAll();
  void SetEnabled(bool enabled);
  bool IsEnabled();
  void SetSleepTime(int ms);
  int SleepTime();
  void ReloadAll();
  void SetPriority(TThreadPriority priority);

  // True while the thread is parked (disabled and waiting to be woken).
  bool IsParked() const { return parked_.load(); }

  // The pass that runs in the main thread.
  void RefreshPass();

  // Test view of the registrations.
  std::vector<REFRESH_ELEMENT> Elements();
  // Replaces the tick counter the pass reads (tests of due times and of the wrap).
  void SetClock(std::function<std::uint32_t()> clock);

 private:
  void Execute();
  void ParkUntilEnabled();
  void SleepOrStop();
  void Terminate();
  REFRESH_ELEMENT* FindElement(int code, int index);
  REFRESH_CLIENT* FindClient(int code, int index, Component* client);
  bool Fetch(REFRESH_ELEMENT& element);
  bool IsDue(const REFRESH_CLIENT& client, std::uint32_t now) const;
  static void Deliver(REFRESH_ELEMENT& element, Component* client);
  void ApplyPriority();

  CriticalSection lock_;
  int sleep_time_;
  TQorConnection* connection_ = nullptr;
  std::vector<std::unique_ptr<REFRESH_ELEMENT>> elements_;
  std::atomic<bool> enabled_{false};
  bool force_ = false;

  std::mutex park_mutex_;
  std::condition_variable wake_;
  std::atomic<bool> parked_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> native_id_{0};
  TThreadPriority priority_ = tpNormal;
  std::function<std::uint32_t()> clock_;
  std::thread thread_;
};

}  // namespace vzt
