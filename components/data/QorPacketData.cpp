#include <cmath>

#include "components/comm/DataRefresher.h"
#include "components/data/SerialData.h"
#include "platform/NumberText.h"

namespace vzt {

TQorPacketData::TQorPacketData(Component* owner, int serialCode)
    : TQorSerialData(owner, serialCode, sdPacket) {
  SetRequestCodeBits(RC_PACKET);
  ReadOnly = true;
  AllocateMemory();
}

TQorPacketData::~TQorPacketData() {
  if (registered_ && refresher_) refresher_->RemoveRefresh(this, static_cast<int>(RequestCode()), -1);
}

void TQorPacketData::UpdateData(const void* buffer) {
  if (!buffer) return;
  DoBeforeGetData();
  // Never read past the packet room, whatever Offset and DataLength say.
  if (offset_ >= 0 && offset_ + DataLength() <= kPacketDataRoom)
    raw_ = ReadRaw(static_cast<const unsigned char*>(buffer) + 4 + offset_);
  DoGetData();
}

int TQorPacketData::GetInt() { return TruncateToInt(GetDouble() + 0.5); }

void TQorPacketData::InitData(double user) {
  raw_ = ConvertValueToEcu(user, &raw_);
  NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
}

void TQorPacketData::SetActive(bool active) {
  active_ = active;
  if (IsDesigning() || !refresher_) return;
  const int code = static_cast<int>(RequestCode());
  if (!registered_) {
    refresher_->AddRefresh(this, time_interval_, code, -1);
    registered_ = true;
  }
  if (active_)
    refresher_->ResumeRefresh(this, code, -1);
  else
    refresher_->SuspendRefresh(this, code, -1);
}

void TQorPacketData::SetOffset(int offset) {
  if (offset >= 0 && offset + DataLength() <= kPacketDataRoom) offset_ = offset;
}

void TQorPacketData::SetDataRefresher(TDataRefresher* refresher) {
  if (refresher_) {
    TDataRefresher* old = refresher_;
    if (old != refresher) RemoveFreeNotification(old);
    if (registered_) old->RemoveRefresh(this, static_cast<int>(RequestCode()), -1);
  }
  if (refresher) FreeNotification(refresher);
  refresher_ = refresher;
  registered_ = false;
  SetActive(active_);
}

void TQorPacketData::SetTimeInterval(int ms) {
  if (ms < 20) return;
  time_interval_ = ms;
  if (!IsDesigning() && registered_ && refresher_)
    refresher_->AddRefresh(this, ms, static_cast<int>(RequestCode()), -1);
}

void TQorPacketData::SetSerialCode(int code) {
  if (code < 0) return;
  const int previous = static_cast<int>(RequestCode());
  TQorSerialData::SetSerialCode(code);
  if (IsDesigning() || !registered_ || !refresher_) return;
  const int now = static_cast<int>(RequestCode());
  refresher_->RemoveRefresh(this, previous, -1);
  refresher_->AddRefresh(this, time_interval_, now, -1);
  if (!active_) refresher_->SuspendRefresh(this, now, -1);
}

void TQorPacketData::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove && component && component == refresher_) {
    refresher_ = nullptr;
    active_ = false;
    registered_ = false;
  }
  TQorSerialData::Notification(component, operation);
}

bool TQorPacketData::SetProperty(std::string_view name, const PropertyValue& value) {
  using T = TQorPacketData;
  static const PropertyTable<T> properties = {
      {"TimeInterval", IntProperty(&T::SetTimeInterval)},
      {"Offset", IntProperty(&T::SetOffset)},
      {"Active", BoolProperty(&T::SetActive)},
      {"DataRefresher", ReferenceProperty(&T::SetDataRefresher)},
      {"BeforeGetData", EventProperty(&T::BeforeGetData)},
      {"OnGetData", EventProperty(&T::OnGetData)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  return TQorSerialData::SetProperty(name, value);
}

}  // namespace vzt
