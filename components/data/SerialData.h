#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Component.h"
#include "platform/Messages.h"

namespace vzt {

class TQorConnection;
class TDataRefresher;
class TBaseTransformation;
class TCustomIniFile;

enum SerialDataType : int { sdNumber = 0, sdVector = 1, sdMatrix = 2, sdPacket = 3 };

enum TransformationType : int {
  ttNone = 0,
  ttFormula = 1,
  ttTabled = 2,
  ttNonLinearTabled = 3,
  ttCustom = 4,
};

// RequestCode bits.
inline constexpr unsigned RC_VECTOR = 0x100;
inline constexpr unsigned RC_TWO_BYTES = 0x200;
inline constexpr unsigned RC_SIGNED = 0x400;
inline constexpr unsigned RC_PACKET = 0x800;

// Conversion error results, returned unrounded, unlimited and unmasked.
inline constexpr int kNotInTable = -10000001;
inline constexpr int kZeroDenominator = -10000002;

using TNotifyEvent = std::function<void(Component* sender)>;
using TErrorEvent = std::function<void(Component* sender, int errorCode, bool writing)>;
using TConvertToEcuEvent = std::function<void(Component* sender, double userValue, int& converted)>;
using TConvertToUserEvent =
    std::function<void(Component* sender, int ecuValue, double& converted)>;

// The base of every controller value: a raw value as the controller stores it, the bits of
// it that belong to the item, conversion between raw and user units, events around every
// read and write, and notification of the controls and items that listen to it.
class TQorSerialData : public Component {
 public:
  TQorSerialData(Component* owner, int serialCode, SerialDataType kind);
  ~TQorSerialData() override;

  // --- the operations subclasses provide or refine ---
  virtual void AllocateMemory() = 0;
  virtual void DeallocateMemory() = 0;
  // Reads the raw value from the controller unless it is current.
  virtual bool Reload() = 0;
  virtual void DoError(bool writing);
  virtual void DoGetData();
  virtual void DoSetData();
  virtual void DoBeforeGetData();
  virtual void DoBeforeSetData();
  virtual void DoComError(int status);
  virtual int DoConvertValueToEcu(double userValue);
  virtual double DoConvertValueToUser(int ecuValue);
  virtual void BackupData() = 0;
  virtual void DiscardBackup() = 0;
  virtual void RestoreBackup() = 0;
  // A forced read: forgets that the value is current, then reloads it.
  virtual bool Load();
  virtual bool Download() = 0;
  virtual bool WriteToFile(TCustomIniFile* ini) = 0;
  virtual bool ReadFromFile(TCustomIniFile* ini) = 0;
  virtual void UpdateData(const void* buffer) = 0;
  virtual bool ResetDefault(bool toEcu) = 0;
  // The user value the item holds (read from the controller first where the item does so).
  virtual double GetDouble() = 0;

  void Loaded() override;
  void Notification(Component* component, Operation operation) override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

  // --- conversion ---
  double ConvertValueToUser(int raw);
  // `current` points to the item's raw value (or is null); only its bits outside DataMask
  // are used, after a forced re-read, when the mask is partial.
  int ConvertValueToEcu(double user, int* current);
  void GetFormulaCoefficients(double* a, double* b, double* c, double* d);
  double GetUserValueFromPacket(const unsigned char* p);

  // --- listeners ---
  void AddNotificationList(Component* listener);
  void RemoveNotificationList(Component* listener);
  const std::vector<Component*>& NotificationList() const { return listeners_; }
  void NotifyData(unsigned msg, WParam wparam, LParam lparam);
  bool NotifyEnabled() const { return notify_enabled_; }

  // --- conversion table ---
  void SetConversionTable(const double* ecu, const double* user, int count);
  void DeleteConversionTable();
  bool HasConversionTable() const { return table_.has_value(); }
  int ConversionTableLength() const;
  double GetEcuTableValue(int i) const;
  void SetEcuTableValue(int i, double v);
  double GetUserTableValue(int i) const;
  void SetUserTableValue(int i, double v);

  // The two list properties, as a resource spells them.
  bool SetCoeffsList(const PropertyList& list);
  PropertyList CoeffsList() const { return {CoeffA, CoeffB, CoeffC, CoeffD}; }
  bool SetConversionTableList(const PropertyList& list);
  PropertyList ConversionTableList() const;

  // --- properties ---
  int DataLength() const { return data_length_; }
  void SetDataLength(int length);
  int DataMask() const { return data_mask_; }
  void SetDataMask(int mask);
  int FullMask() const { return data_length_ == 2 ? 0xFFFF : 0xFF; }
  int SerialCode() const { return serial_code_; }
  virtual void SetSerialCode(int code);
  bool Signed() const { return signed_; }
  void SetDataSigned(bool value);
  unsigned RequestCode() const { return request_code_; }
  SerialDataType Kind() const { return kind_; }
  bool IsValid() const { return valid_; }
  int ColCount() const { return col_count_; }
  int RowCount() const { return row_count_; }
  int ColIndex() const { return col_index_; }
  int RowIndex() const { return row_index_; }

  TransformationType Transformation() const { return transformation_; }
  void SetTransformationType(TransformationType t) { transformation_ = t; }
  double Precision() const { return precision_; }
  void SetPrecision(double p);
  double ValueMin() const { return value_min_; }
  void SetMinValue(double v);
  double ValueMax() const { return value_max_; }
  void SetMaxValue(double v);

  TQorConnection* Connection() const { return connection_; }
  void SetConnection(TQorConnection* connection);

  TBaseTransformation* GetTransformation(int index) const;
  void SetTransformation(int index, TBaseTransformation* t);
  TQorSerialData* GetExtCoeff(int index) const;
  void SetExtCoeff(int index, TQorSerialData* item);

  // Plain published fields: the item itself never interprets MeasureUnit or DataGroup.
  std::string MeasureUnit;
  double CoeffA = 1, CoeffB = 0, CoeffC = 0, CoeffD = 1;
  bool ReadOnly = false;
  bool StoreUserValue = true;
  bool DisableLimits = false;
  std::string FileSection, FileKeyName;
  int DataGroup = 0;
  bool OldReadFileMode = false;

  TNotifyEvent OnSetData, OnGetData, BeforeSetData, BeforeGetData;
  TErrorEvent OnError;
  TConvertToEcuEvent OnConvertToEcu;
  TConvertToUserEvent OnConvertToUser;

 protected:
  // Raw value at p: one byte, or two least significant first, sign-extended when Signed.
  int ReadRaw(const unsigned char* p) const;
  void SetNotifyEnabled(bool on) { notify_enabled_ = on; }
  void SetRequestCodeBits(unsigned bits) { request_code_ |= bits; }

  int col_count_ = 1, row_count_ = 1;
  int col_index_ = -1, row_index_ = -1;
  bool valid_ = false;

 private:
  struct ConversionTable {
    std::vector<double> ecu, user;
  };
  struct Delivery {
    unsigned msg;
    WParam wparam;
    LParam lparam;
    bool operator==(const Delivery&) const = default;
  };

  bool NeedsCoefficients() const;
  double RoundToPrecision(double u) const;
  double ApplyLimits(double user) const;
  double RawToUser(int raw, double a, double b, double c, double d);
  int UserToRaw(double user, double a, double b, double c, double d, bool& error);
  int MergeIntoCurrentByte(int raw, int* current);
  bool StillReferences(const Component* c) const;
  void Unreference(Component* old);

  int data_mask_ = 255;
  int data_length_ = 1;
  SerialDataType kind_;
  int serial_code_;
  bool signed_ = false;
  unsigned request_code_;
  TransformationType transformation_ = ttNone;
  double precision_ = 0;
  double value_min_ = 0, value_max_ = 0;
  TQorConnection* connection_ = nullptr;
  std::optional<ConversionTable> table_;
  std::vector<Component*> listeners_;
  bool notify_enabled_ = true;
  TBaseTransformation* transformations_[4] = {};
  TQorSerialData* ext_coeffs_[4] = {};
  std::vector<Delivery> deliveries_in_progress_;
};

bool IsQorSerialData(const Component* component);

enum TNumberType : int { ntSingle = 0, ntVectorElement = 1, ntMatrixElement = 2 };

// One configuration value of the controller, read and written by address (or by request
// code and index), kept locally while no library is there, persisted as one INI key.
class TQorNumber : public TQorSerialData {
 public:
  explicit TQorNumber(Component* owner = nullptr);
  TQorNumber(Component* owner, int serialCode, int row, int col);

  void AllocateMemory() override;
  void DeallocateMemory() override {}
  bool Reload() override;
  void BackupData() override { backup_ = raw_; }
  void DiscardBackup() override {}
  void RestoreBackup() override { raw_ = backup_; }
  bool Download() override { return SetDataInEcu(raw_); }
  bool WriteToFile(TCustomIniFile* ini) override;
  bool ReadFromFile(TCustomIniFile* ini) override;
  void UpdateData(const void* buffer) override;
  bool ResetDefault(bool toEcu) override;
  double GetDouble() override;

  bool GetData(double* out);
  int GetInt();
  bool SetData(double user);
  bool SetDouble(double user) { return SetData(user); }
  bool SetInt(int user) { return SetData(user); }
  bool SetEcuData(int raw);
  bool SetDataInEcu(int raw);
  // Takes a raw value as current without any controller access, event or notification.
  void InitData(const int* raw);

  int RawValue() const { return raw_; }
  TNumberType GetNumberType() const;
  void SetNumberType(TNumberType type);
  void SetIndexRow(int row);
  void SetIndexCol(int col);
  // The INI key: the file key name, with the row (and "_" and the column) of an element.
  std::string FileKey() const;

  bool ByAddress = false;
  int Address = 0;
  double DefaultValue = 0;

  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 private:
  // Both empty: not persisted (true); one empty: misconfigured (false); else nullopt.
  std::optional<bool> FileNamesVerdict() const;
  bool ReadUserValueFromFile(TCustomIniFile* ini, const std::string& key);
  bool ReadRawValueFromFile(TCustomIniFile* ini, const std::string& key);
  bool TransferRead();
  bool TransferWrite(int raw);

  int raw_ = 0;
  int backup_ = 0;
};

// One live value inside the controller's live-data packet, fed by the refresher.
class TQorPacketData : public TQorSerialData {
 public:
  explicit TQorPacketData(Component* owner = nullptr, int serialCode = 0);
  ~TQorPacketData() override;

  void AllocateMemory() override { raw_ = 0; }
  void DeallocateMemory() override {}
  bool Reload() override { return false; }
  void BackupData() override {}
  void DiscardBackup() override {}
  void RestoreBackup() override {}
  bool Download() override { return false; }
  bool WriteToFile(TCustomIniFile*) override { return false; }
  bool ReadFromFile(TCustomIniFile*) override { return false; }
  // Takes the value at buffer + 4 + Offset (the first word is the packet's size).
  void UpdateData(const void* buffer) override;
  bool ResetDefault(bool) override { return false; }
  double GetDouble() override { return ConvertValueToUser(raw_); }

  int GetInt();
  // Shows a user value without a controller (zeros while disconnected).
  void InitData(double user);
  int RawValue() const { return raw_; }

  bool Active() const { return active_; }
  void SetActive(bool active);
  int Offset() const { return offset_; }
  void SetOffset(int offset);
  int TimeInterval() const { return time_interval_; }
  void SetTimeInterval(int ms);
  TDataRefresher* DataRefresher() const { return refresher_; }
  void SetDataRefresher(TDataRefresher* refresher);
  bool Registered() const { return registered_; }
  void SetSerialCode(int code) override;

  void Notification(Component* component, Operation operation) override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 private:
  int raw_ = 0;
  bool active_ = false;
  int offset_ = 0;
  bool registered_ = false;
  int time_interval_ = 1000;
  TDataRefresher* refresher_ = nullptr;
};

// Room for packet data after the size word.
inline constexpr int kPacketDataRoom = 252;

}  // namespace vzt
