#include "RefreshThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "platform/MainThread.h"
#include "platform/Messages.h"
#include "platform/Timing.h"

namespace vzt {

namespace {

constexpr int kMinSleepTime = 20;
constexpr std::size_t kLargeBufferWords = 64;
constexpr std::uint32_t kPacketSizeWords = 64;

std::size_t BufferWords(int code) {
  const auto c = static_cast<unsigned>(code);
  return (c & (RC_VECTOR | RC_PACKET)) != 0 ? kLargeBufferWords : 1;
}

// Nice values for the priorities; raising above normal needs privileges and may fail,
// which leaves the thread at normal priority.
int NiceFor(TThreadPriority p) {
  static constexpr int nice[] = {19, 10, 5, 0, -5, -10, -15};
  return nice[std::clamp(static_cast<int>(p), 0, 6)];
}

}  // namespace

TRefreshThread::TRefreshThread(int sleepTime)
    : sleep_time_(std::max(kMinSleepTime, sleepTime)), clock_(&GetTickCount) {
  MainThread::Instance();  // the dispatcher must know the main thread before ours starts
  thread_ = std::thread([this] { Execute(); });
}

TRefreshThread::~TRefreshThread() {
  Terminate();
  std::lock_guard guard(lock_);
  elements_.clear();
}

void TRefreshThread::Terminate() {
  {
    std::lock_guard park(park_mutex_);
    terminated_ = true;
  }
  wake_.notify_all();
  // The thread may be waiting for the main thread to run a pass: keep running them.
  auto& main = MainThread::Instance();
  if (main.IsMainThread()) {
    while (!finished_.load()) main.WaitAndProcess(std::chrono::milliseconds(5));
  }
  if (thread_.joinable()) thread_.join();
}

void TRefreshThread::Execute() {
  native_id_ = static_cast<int>(syscall(SYS_gettid));
  ApplyPriority();
  while (!terminated_.load()) {
    if (!enabled_.load() && !parked_.load()) ParkUntilEnabled();
    if (terminated_.load()) break;
    SleepOrStop();
    if (terminated_.load()) break;
    MainThread::Instance().RunAndWait([this] { RefreshPass(); });
  }
  finished_ = true;
}

// The waker clears the parked flag itself, so GetEnabled is true as soon as SetEnabled(true)
// returns, not only once the scheduler has let this thread run again.
void TRefreshThread::ParkUntilEnabled() {
  std::unique_lock park(park_mutex_);
  if (enabled_.load()) return;
  parked_ = true;
  wake_.wait(park, [&] { return !parked_.load() || terminated_.load(); });
  parked_ = false;
}

void TRefreshThread::SleepOrStop() {
  const auto pause = std::chrono::milliseconds(SleepTime());  // before the park mutex: lock order
  std::unique_lock park(park_mutex_);
  wake_.wait_for(park, pause, [&] { return terminated_.load(); });
}

void TRefreshThread::SetConnection(TQorConnection* connection) {
  std::lock_guard guard(lock_);
  connection_ = connection;
}

REFRESH_ELEMENT* TRefreshThread::FindElement(int code, int index) {
  for (auto& e : elements_)
    if (e->code == code && e->index == index) return e.get();
  return nullptr;
}

REFRESH_CLIENT* TRefreshThread::FindClient(int code, int index, Component* client) {
  REFRESH_ELEMENT* e = FindElement(code, index);
  if (!e) return nullptr;
  for (REFRESH_CLIENT& c : e->clients)
    if (c.client == client) return &c;
  return nullptr;
}

bool TRefreshThread::AddRefresh(Component* client, int interval, int code, int index) {
  std::lock_guard guard(lock_);
  if (interval <= 0) return false;
  if (REFRESH_CLIENT* existing = FindClient(code, index, client)) {
    existing->interval = interval;
    existing->last_time = 0;
    return true;
  }
  REFRESH_ELEMENT* e = FindElement(code, index);
  if (!e) {
    auto fresh = std::make_unique<REFRESH_ELEMENT>();
    fresh->code = code;
    fresh->index = index;
    fresh->buffer.assign(BufferWords(code), 0);
    e = fresh.get();
    elements_.push_back(std::move(fresh));
  }
  e->clients.push_back({true, 0, interval, client});
  return true;
}

void TRefreshThread::RemoveRefresh(Component* client, int code, int index) {
  std::lock_guard guard(lock_);
  REFRESH_ELEMENT* e = FindElement(code, index);
  if (!e) return;
  auto& cs = e->clients;
  cs.erase(std::remove_if(cs.begin(), cs.end(), [&](const auto& c) { return c.client == client; }),
           cs.end());
  if (cs.empty())
    elements_.erase(std::find_if(elements_.begin(), elements_.end(),
                                 [&](const auto& p) { return p.get() == e; }));
}

void TRefreshThread::SuspendRefresh(Component* client, int code, int index) {
  std::lock_guard guard(lock_);
  if (REFRESH_CLIENT* c = FindClient(code, index, client)) c->active = false;
}

void TRefreshThread::ResumeRefresh(Component* client, int code, int index) {
  std::lock_guard guard(lock_);
  if (REFRESH_CLIENT* c = FindClient(code, index, client)) c->active = true;
}

void TRefreshThread::RemoveAll() {
  std::lock_guard guard(lock_);
  elements_.clear();
}

void TRefreshThread::SetEnabled(bool enabled) {
  std::lock_guard guard(lock_);
  enabled_ = enabled;
  if (enabled) {
    std::lock_guard park(park_mutex_);
    parked_ = false;
    wake_.notify_all();
  }
}

bool TRefreshThread::IsEnabled() {
  std::lock_guard guard(lock_);
  return enabled_.load();
}

void TRefreshThread::SetSleepTime(int ms) {
  std::lock_guard guard(lock_);
  sleep_time_ = ms;
}

int TRefreshThread::SleepTime() {
  std::lock_guard guard(lock_);
  return sleep_time_;
}

void TRefreshThread::SetPriority(TThreadPriority priority) {
  priority_ = priority;
  ApplyPriority();
}

void TRefreshThread::ApplyPriority() {
  const int tid = native_id_.load();
  if (tid != 0) setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceFor(priority_));
}

void TRefreshThread::ReloadAll() {
  // The lock is taken in the main thread, where the pass runs, never held across the wait.
  MainThread::Instance().RunAndWait([this] {
    std::lock_guard guard(lock_);
    force_ = true;
    RefreshPass();
    force_ = false;
  });
}

bool TRefreshThread::IsDue(const REFRESH_CLIENT& client, std::uint32_t now) const {
  if (force_ || client.last_time == 0) return true;
  // Elapsed time, not "last + interval": the tick counter wraps every 49.7 days.
  return TicksSince(client.last_time, now) > static_cast<std::uint32_t>(client.interval);
}

bool TRefreshThread::Fetch(REFRESH_ELEMENT& element) {
  TSerialLink* link = connection_->Link();
  std::lock_guard guard(connection_->Lock());
  const auto code = static_cast<unsigned>(element.code);
  int* words = reinterpret_cast<int*>(element.buffer.data());
  if ((code & RC_PACKET) != 0) {
    element.buffer[0] = kPacketSizeWords;
    return link->ReadPacket(element.code, element.buffer.data() + 1, words);
  }
  if (element.index >= 0) return link->ReadElement(element.code, words, element.index);
  return link->ReadValue(element.code, words);
}

void TRefreshThread::Deliver(REFRESH_ELEMENT& element, Component* client) {
  if (auto* target = dynamic_cast<MessageTarget*>(client))
    target->Perform(MSG_PACKET_ARRIVED, AsWParam(element.buffer.data()), 0);
  else if (auto* item = dynamic_cast<TQorSerialData*>(client))
    item->UpdateData(element.buffer.data());
}

void TRefreshThread::RefreshPass() {
  std::lock_guard guard(lock_);
  if (!enabled_.load() || !connection_ || !connection_->Loaded() ||
      connection_->Link()->IsOpen() == 0)
    return;
  const std::uint32_t now = clock_();
  for (auto& element : elements_) {
    bool fetched = false;
    for (REFRESH_CLIENT& c : element->clients) {
      if (!c.active && !force_) continue;
      if (!IsDue(c, now)) continue;
      if (!fetched) fetched = Fetch(*element);
      if (!fetched) continue;
      Deliver(*element, c.client);
      c.last_time = now;
    }
  }
}

void TRefreshThread::SetClock(std::function<std::uint32_t()> clock) {
  std::lock_guard guard(lock_);
  clock_ = std::move(clock);
}

std::vector<REFRESH_ELEMENT> TRefreshThread::Elements() {
  std::lock_guard guard(lock_);
  std::vector<REFRESH_ELEMENT> copy;
  for (const auto& e : elements_) copy.push_back(*e);
  return copy;
}

}  // namespace vzt
