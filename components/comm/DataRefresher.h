#pragma once

#include <memory>

#include "components/comm/RefreshThread.h"
#include "platform/Component.h"

namespace vzt {

class TQorConnection;

// Keeps live values current: its thread asks the main thread for a pass every SleepTime
// milliseconds while enabled; each pass fetches every element with a due client once.
class TDataRefresher : public Component {
 public:
  explicit TDataRefresher(Component* owner = nullptr);
  ~TDataRefresher() override;

  bool AddRefresh(Component* client, int interval, int code, int index);
  void RemoveRefresh(Component* client, int code, int index);
  void SuspendRefresh(Component* client, int code, int index);
  void ResumeRefresh(Component* client, int code, int index);
  void RemoveAll();
  void ReloadAll();

  void SetEnabled(bool enabled);
  // Lets the main thread run what is pending first, then answers whether the thread runs.
  bool GetEnabled();

  int SleepTime() const { return sleep_time_; }
  void SetSleepTime(int ms);
  TThreadPriority Priority() const { return priority_; }
  void SetPriority(TThreadPriority priority);
  TQorConnection* Connection() const { return connection_; }
  void SetConnection(TQorConnection* connection);

  TRefreshThread* Thread() const { return thread_.get(); }

  void Notification(Component* component, Operation operation) override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 private:
  std::unique_ptr<TRefreshThread> thread_;
  int sleep_time_ = 20;
  TThreadPriority priority_ = tpNormal;
  TQorConnection* connection_ = nullptr;
};

}  // namespace vzt
