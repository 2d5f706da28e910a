#include "DataRefresher.h"

#include "components/comm/Qorconnection.h"
#include "platform/MainThread.h"

namespace vzt {

TDataRefresher::TDataRefresher(Component* owner) : Component(owner) {
  if (!IsDesigning()) thread_ = std::make_unique<TRefreshThread>(sleep_time_);
}

TDataRefresher::~TDataRefresher() {
  if (thread_) {
    thread_->RemoveAll();
    thread_.reset();  // wakes, terminates and joins, running posted passes meanwhile
  }
  if (connection_) RemoveFreeNotification(connection_);
}

bool TDataRefresher::AddRefresh(Component* client, int interval, int code, int index) {
  return thread_ ? thread_->AddRefresh(client, interval, code, index) : true;
}

void TDataRefresher::RemoveRefresh(Component* client, int code, int index) {
  if (thread_) thread_->RemoveRefresh(client, code, index);
}

void TDataRefresher::SuspendRefresh(Component* client, int code, int index) {
  if (thread_) thread_->SuspendRefresh(client, code, index);
}

void TDataRefresher::ResumeRefresh(Component* client, int code, int index) {
  if (thread_) thread_->ResumeRefresh(client, code, index);
}

void TDataRefresher::RemoveAll() {
  if (thread_) thread_->RemoveAll();
}

void TDataRefresher::ReloadAll() {
  if (thread_) thread_->ReloadAll();
}

void TDataRefresher::SetEnabled(bool enabled) {
  if (thread_) thread_->SetEnabled(enabled);
}

bool TDataRefresher::GetEnabled() {
  if (!thread_) return false;
  MainThread::Instance().ProcessPending();
  return !thread_->IsParked();
}

void TDataRefresher::SetSleepTime(int ms) {
  if (ms <= 0) return;
  sleep_time_ = ms;
  if (thread_) thread_->SetSleepTime(ms);
}

void TDataRefresher::SetPriority(TThreadPriority priority) {
  priority_ = priority;
  if (thread_) thread_->SetPriority(priority);
}

void TDataRefresher::SetConnection(TQorConnection* connection) {
  if (connection_ && connection_ != connection) RemoveFreeNotification(connection_);
  if (connection) FreeNotification(connection);
  connection_ = connection;
  if (thread_) thread_->SetConnection(connection);
}

void TDataRefresher::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove && component && component == connection_) {
    connection_ = nullptr;
    if (thread_) thread_->SetConnection(nullptr);
  }
  Component::Notification(component, operation);
}

bool TDataRefresher::SetProperty(std::string_view name, const PropertyValue& value) {
  using T = TDataRefresher;
  static const PropertyTable<T> properties = {
      {"SleepTime", IntProperty(&T::SetSleepTime)},
      {"Priority", IntProperty(&T::SetPriority)},
      {"Connection", ReferenceProperty(&T::SetConnection)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
