#include "components/controls/ItemBinding.h"

namespace vzt {

bool ReadAfresh(TQorNumber& item, double& value) {
  item.BackupData();
  const bool ok = item.Load();
  if (!ok) item.RestoreBackup();
  value = item.ConvertValueToUser(item.RawValue());
  return ok;
}

bool TakeDataMessage(TQorNumber* item, unsigned msg, WParam wparam) {
  if (msg == MSG_PACKET_ARRIVED && item) item->InitData(reinterpret_cast<const int*>(wparam));
  return msg == MSG_DATA_CHANGED || msg == MSG_PACKET_ARRIVED;
}

}  // namespace vzt
