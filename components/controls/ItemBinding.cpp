#include "components/controls/ItemBinding.h"

namespace vzt {

bool ReadAfresh(TQorNumber& item, double& value) {
  item.BackupData();
  const bool ok = item.Load();
  if (!ok) item.RestoreBackup();
  value = item.ConvertValueToUser(item.RawValue());
  return ok;
}

}  // namespace vzt
