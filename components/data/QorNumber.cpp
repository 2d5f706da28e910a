#include <cmath>
#include <mutex>

#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "components/storage/CustomIniFile.h"
#include "platform/NumberText.h"

namespace vzt {


TQorNumber::TQorNumber(Component* owner) : TQorSerialData(owner, 0, sdNumber) { AllocateMemory(); }

TQorNumber::TQorNumber(Component* owner, int serialCode, int row, int col)
    : TQorSerialData(owner, serialCode, sdNumber) {
  if (row >= 0) row_index_ = row;
  if (col >= 0) col_index_ = col;
  AllocateMemory();
}

void TQorNumber::AllocateMemory() {
  raw_ = 0;
  DefaultValue = 0;
}

// ---------------------------------------------------------------- controller access

bool TQorNumber::TransferRead() {
  TSerialLink* link = Connection()->Link();
  const int code = static_cast<int>(RequestCode());
  if (ByAddress) return link->ReadByAddress(code, Address, &raw_);
  if (row_index_ < 0) return link->ReadValue(code, &raw_);
  if (col_index_ < 0) return link->ReadElement(code, &raw_, row_index_);
  return link->ReadMatrixElement(code, &raw_, row_index_, col_index_);
}

bool TQorNumber::TransferWrite(int raw) {
  TSerialLink* link = Connection()->Link();
  const int code = static_cast<int>(RequestCode());
  if (ByAddress) return link->WriteByAddress(code, Address, raw);
  if (row_index_ < 0) return link->WriteValue(code, raw);
  if (col_index_ < 0) return link->WriteElement(code, row_index_, raw);
  return link->WriteMatrixElement(code, row_index_, col_index_, raw);
}

bool TQorNumber::Reload() {
  if (valid_) return true;
  // No library: the value lives only here.
  if (!Connection() || !Connection()->LoadDll()) return true;
  int status = 0;
  DoBeforeGetData();
  if (Connection()->Link()->IsOpen() != 0) {
    std::lock_guard guard(Connection()->Lock());
    valid_ = TransferRead();
    status = Connection()->Link()->GetStatus();
  } else {
    valid_ = true;
  }
  if (valid_)
    DoGetData();
  else
    DoError(false);
  if (status != 0) {
    DoComError(status);
    if ((status & 4) != 0) valid_ = true;  // the controller does not define it: done
  }
  return valid_;
}

bool TQorNumber::SetDataInEcu(int raw) {
  valid_ = false;
  if (!Connection() || !Connection()->LoadDll()) {
    raw_ = raw;
    DoError(true);
    return true;
  }
  DoBeforeSetData();
  {
    std::lock_guard guard(Connection()->Lock());
    valid_ = TransferWrite(raw);
  }
  if (valid_) {
    raw_ = raw;
    DoSetData();
  } else {
    DoError(true);
  }
  return valid_;
}

// ---------------------------------------------------------------- values

bool TQorNumber::GetData(double* out) {
  BackupData();
  const bool ok = Reload();
  if (!ok) RestoreBackup();
  if (out) *out = ConvertValueToUser(raw_);
  return ok;
}

double TQorNumber::GetDouble() {
  double v = 0;
  GetData(&v);
  return v;
}

int TQorNumber::GetInt() { return TruncateToInt(GetDouble() + 0.5); }

bool TQorNumber::SetData(double user) {
  if (ReadOnly) {
    NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
    return false;
  }
  const int raw = ConvertValueToEcu(user, &raw_);
  // A value the conversion cannot express (not in the table, zero denominator) is never
  // sent: its error code would land in the controller as a garbage byte.
  if (raw == kNotInTable || raw == kZeroDenominator) {
    NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
    return false;
  }
  return SetDataInEcu(raw);
}

bool TQorNumber::SetEcuData(int raw) {
  if (ReadOnly) return false;
  if (DataMask() != FullMask()) {
    SetNotifyEnabled(false);
    const bool ok = Load();
    SetNotifyEnabled(true);
    if (!ok) return false;
    raw = (raw_ & ~DataMask()) | (raw & DataMask());
  }
  return SetDataInEcu(raw);
}

void TQorNumber::InitData(const int* raw) {
  if (!raw) return;
  raw_ = *raw;
  valid_ = true;
}

void TQorNumber::UpdateData(const void* buffer) {
  if (!buffer) return;
  DoBeforeGetData();
  raw_ = ReadRaw(static_cast<const unsigned char*>(buffer));
  DoGetData();
}

bool TQorNumber::ResetDefault(bool toEcu) {
  const int raw = ConvertValueToEcu(DefaultValue, &raw_);
  // A default the conversion cannot express (0 RPM as a period) leaves the held value: its
  // error code, cut to a byte, would read back as an unrelated value (900 RPM).
  if (raw != kNotInTable && raw != kZeroDenominator) raw_ = raw;
  bool result = true;
  if (toEcu) result = SetDataInEcu(raw_);
  if (result) NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
  return result;
}

// ---------------------------------------------------------------- indexes

TNumberType TQorNumber::GetNumberType() const {
  if (row_index_ < 0) return ntSingle;
  if (col_index_ < 0) return ntVectorElement;
  return ntMatrixElement;
}

void TQorNumber::SetNumberType(TNumberType type) {
  switch (type) {
    case ntSingle:
      row_index_ = col_index_ = -1;
      break;
    case ntVectorElement:
      col_index_ = -1;
      if (row_index_ < 0) row_index_ = 0;
      break;
    case ntMatrixElement:
      if (row_index_ < 0) row_index_ = 0;
      if (col_index_ < 0) col_index_ = 0;
      break;
  }
}

void TQorNumber::SetIndexRow(int row) {
  if (row >= 0 && row_index_ >= 0) row_index_ = row;
}

void TQorNumber::SetIndexCol(int col) {
  if (col >= 0 && row_index_ >= 0 && col_index_ >= 0) col_index_ = col;
}

// ---------------------------------------------------------------- files

std::string TQorNumber::FileKey() const {
  switch (GetNumberType()) {
    case ntSingle:
      return FileKeyName;
    case ntVectorElement:
      return FileKeyName + std::to_string(row_index_);
    case ntMatrixElement:
      return FileKeyName + std::to_string(row_index_) + "_" + std::to_string(col_index_);
  }
  return FileKeyName;
}

std::optional<bool> TQorNumber::FileNamesVerdict() const {
  if (FileKeyName.empty() && FileSection.empty()) return true;
  if (FileKeyName.empty() || FileSection.empty()) return false;
  return std::nullopt;
}

bool TQorNumber::WriteToFile(TCustomIniFile* ini) {
  if (auto verdict = FileNamesVerdict()) return *verdict;
  if (!ini) return false;
  if (StoreUserValue)
    ini->WriteFloat(FileSection, FileKey(), ConvertValueToUser(raw_));
  else
    ini->WriteInteger(FileSection, FileKey(), raw_);
  return true;
}

bool TQorNumber::ReadUserValueFromFile(TCustomIniFile* ini, const std::string& key) {
  const double a = ini->ReadFloat(FileSection, key, 0.0);
  const double b = ini->ReadFloat(FileSection, key, 1.0);
  if (a != b) return false;  // not a number
  if (OldReadFileMode) {
    raw_ = ConvertValueToEcu(a, &raw_);
    NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
    return true;
  }
  const bool result = SetData(a);
  if (!result) NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
  return result;
}

bool TQorNumber::ReadRawValueFromFile(TCustomIniFile* ini, const std::string& key) {
  const int a = ini->ReadInteger(FileSection, key, 0);
  const int b = ini->ReadInteger(FileSection, key, 1);
  if (a != b) return false;
  if (OldReadFileMode) {
    raw_ = a;
    NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
    return true;
  }
  const bool result = SetEcuData(a);
  if (!result) NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
  return result;
}

bool TQorNumber::ReadFromFile(TCustomIniFile* ini) {
  if (auto verdict = FileNamesVerdict()) return *verdict;
  if (!ini) return false;
  const std::string key = FileKey();
  if (!ini->ValueExists(FileSection, key)) return false;
  return StoreUserValue ? ReadUserValueFromFile(ini, key) : ReadRawValueFromFile(ini, key);
}

// ---------------------------------------------------------------- resource properties

bool TQorNumber::SetProperty(std::string_view name, const PropertyValue& value) {
  using T = TQorNumber;
  static const PropertyTable<T> properties = {
      {"Type", IntProperty(&T::SetNumberType)},
      {"RowIndex", IntProperty(&T::SetIndexRow)},
      {"ColIndex", IntProperty(&T::SetIndexCol)},
      {"ByAddress", [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.ByAddress); }},
      {"Address", [](T& t, const PropertyValue& v) { return PropertyAsInt(v, t.Address); }},
      {"DefaultValue",
       [](T& t, const PropertyValue& v) { return PropertyAsDouble(v, t.DefaultValue); }},
      {"Connection", ReferenceProperty<T, TQorConnection>(&T::SetConnection)},
      {"FileSection", [](T& t, const PropertyValue& v) {
         const auto* s = std::get_if<std::string>(&v);
         if (s) t.FileSection = *s;
         return s != nullptr;
       }},
      {"FileKeyName", [](T& t, const PropertyValue& v) {
         const auto* s = std::get_if<std::string>(&v);
         if (s) t.FileKeyName = *s;
         return s != nullptr;
       }},
      {"StoreUserValue",
       [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.StoreUserValue); }},
      {"ReadOnly", [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.ReadOnly); }},
      {"BeforeSetData", EventProperty(&T::BeforeSetData)},
      {"BeforeGetData", EventProperty(&T::BeforeGetData)},
      {"OnSetData", EventProperty(&T::OnSetData)},
      {"OnGetData", EventProperty(&T::OnGetData)},
      {"OnError", EventProperty(&T::OnError)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  return TQorSerialData::SetProperty(name, value);
}

}  // namespace vzt
