#include "components/controls/ItemBinding.h"

#include <cmath>
#include <limits>

namespace vzt {

bool ReadAfresh(TQorNumber& item, double& value) {
  item.BackupData();
  const bool ok = item.Load();
  if (!ok) item.RestoreBackup();
  value = item.ConvertValueToUser(item.RawValue());
  return ok;
}

int TruncateSaturating(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (value <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

}  // namespace vzt
