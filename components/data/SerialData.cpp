#include "SerialData.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

#include "components/comm/Qorconnection.h"
#include "components/data/Transformations.h"
#include "platform/NumberText.h"

namespace vzt {

namespace {

// Half away from zero, then truncation.
int RoundToInt(double x) { return TruncateToInt(x >= 0 ? x + 0.5 : x - 0.5); }

// The segment k (1..n-1) of column x that holds v; values beyond either end use the end
// segments. Needs n >= 2.
std::size_t FindSegment(const std::vector<double>& x, double v) {
  const std::size_t n = x.size();
  const bool ascending = x[n - 1] > x[0];
  for (std::size_t k = 1; k < n; ++k)
    if (ascending ? x[k] >= v : x[k] <= v) return k;
  return n - 1;
}

// Linear interpolation of `to` along the segment of `from` that holds v; nullopt when the
// table cannot interpolate (fewer than two entries, or a segment with equal ends).
std::optional<double> Interpolate(const std::vector<double>& from, const std::vector<double>& to,
                                  double v) {
  if (from.size() < 2) return std::nullopt;
  const std::size_t k = FindSegment(from, v);
  const double span = from[k] - from[k - 1];
  if (span == 0) return std::nullopt;
  return to[k] - (to[k] - to[k - 1]) * (from[k] - v) / span;
}

int SignExtend(int raw, int bits) {
  const int sign = 1 << (bits - 1);
  const int mask = (1 << bits) - 1;
  raw &= mask;
  return (raw ^ sign) - sign;
}

}  // namespace

TQorSerialData::TQorSerialData(Component* owner, int serialCode, SerialDataType kind)
    : Component(owner),
      kind_(kind),
      serial_code_(serialCode & 0xFF),
      request_code_(static_cast<unsigned>(serialCode) & 0xFFu) {}

TQorSerialData::~TQorSerialData() {
  if (connection_) RemoveFreeNotification(connection_);
  for (TBaseTransformation* t : transformations_)
    if (t) RemoveFreeNotification(t);
  for (TQorSerialData*& item : ext_coeffs_) {
    if (item) item->RemoveNotificationList(this);
    item = nullptr;
  }
}

// ---------------------------------------------------------------- dispatchers

void TQorSerialData::DoError(bool writing) {
  if (!OnError) return;
  int errorCode = -1;
  if (connection_ && connection_->LoadDll()) {
    std::lock_guard guard(connection_->Lock());
    errorCode = connection_->Link()->GetStatus();
  }
  OnError(this, errorCode, writing);
}

void TQorSerialData::DoGetData() {
  if (OnGetData) OnGetData(this);
  NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
}

void TQorSerialData::DoSetData() {
  if (OnSetData) OnSetData(this);
  NotifyData(MSG_DATA_CHANGED, AsWParam(this), 0);
}

void TQorSerialData::DoBeforeGetData() {
  if (BeforeGetData) BeforeGetData(this);
}

void TQorSerialData::DoBeforeSetData() {
  if (BeforeSetData) BeforeSetData(this);
}

void TQorSerialData::DoComError(int status) { NotifyData(MSG_COM_ERROR, AsWParam(this), status); }

int TQorSerialData::DoConvertValueToEcu(double userValue) {
  int result = 0;
  if (OnConvertToEcu) OnConvertToEcu(this, userValue, result);
  return result;
}

double TQorSerialData::DoConvertValueToUser(int ecuValue) {
  double result = 0.0;
  if (OnConvertToUser) OnConvertToUser(this, ecuValue, result);
  return result;
}

bool TQorSerialData::Load() {
  valid_ = false;
  return Reload();
}

void TQorSerialData::Loaded() {
  Component::Loaded();
  ResetDefault(false);
}

void TQorSerialData::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove && component) {
    if (connection_ == component) connection_ = nullptr;
    for (TBaseTransformation*& t : transformations_)
      if (t == component) t = nullptr;
    for (TQorSerialData*& item : ext_coeffs_)
      if (item == component) item = nullptr;
    // A listener should leave before it goes; if it did not, forget it rather than call it.
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), component),
                     listeners_.end());
  }
  Component::Notification(component, operation);
}

// ---------------------------------------------------------------- listeners

void TQorSerialData::AddNotificationList(Component* listener) {
  if (!listener) return;
  FreeNotification(listener);
  if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void TQorSerialData::RemoveNotificationList(Component* listener) {
  auto it = std::find(listeners_.begin(), listeners_.end(), listener);
  if (it != listeners_.end()) listeners_.erase(it);
}

void TQorSerialData::NotifyData(unsigned msg, WParam wparam, LParam lparam) {
  if (!notify_enabled_) return;
  // Items linked in a cycle would forward the same message round forever; the second
  // arrival of a message this item is already delivering stops here.
  const Delivery delivery{msg, wparam, lparam};
  if (std::find(deliveries_in_progress_.begin(), deliveries_in_progress_.end(), delivery) !=
      deliveries_in_progress_.end())
    return;
  deliveries_in_progress_.push_back(delivery);
  // By index: a handler may (against the rules) change the list; never walk a stale iterator.
  for (std::size_t i = 0; i < listeners_.size(); ++i) {
    Component* listener = listeners_[i];
    if (auto* target = dynamic_cast<MessageTarget*>(listener))
      target->Perform(msg, wparam, lparam);
    else if (auto* item = dynamic_cast<TQorSerialData*>(listener))
      item->NotifyData(msg, wparam, lparam);
  }
  deliveries_in_progress_.pop_back();
}

// ---------------------------------------------------------------- conversion

bool TQorSerialData::NeedsCoefficients() const {
  return transformation_ == ttFormula || transformation_ == ttNonLinearTabled;
}

void TQorSerialData::GetFormulaCoefficients(double* a, double* b, double* c, double* d) {
  double* out[4] = {a, b, c, d};
  const double own[4] = {CoeffA, CoeffB, CoeffC, CoeffD};
  for (int i = 0; i < 4; ++i) {
    double x = own[i];
    if (ext_coeffs_[i]) {
      x = ext_coeffs_[i]->GetDouble();
      double t = 0;
      if (transformations_[i] && transformations_[i]->Transform(x, &t) == 0) x = t;
    }
    if (out[i]) *out[i] = x;
  }
}

double TQorSerialData::RoundToPrecision(double u) const {
  if (precision_ == 0) return u;
  const double q = u / precision_;
  const double hi = std::ceil(q) * precision_;
  const double lo = std::floor(q) * precision_;
  return (u - lo) < (hi - u) ? lo : hi;
}

double TQorSerialData::RawToUser(int raw, double a, double b, double c, double d) {
  switch (transformation_) {
    case ttNone:
      return RoundToPrecision(raw);
    case ttFormula: {
      const double den = c * raw + d;
      if (den == 0) return kZeroDenominator;
      return RoundToPrecision((a * raw + b) / den);
    }
    case ttTabled: {
      if (!table_) return kNotInTable;
      std::optional<double> u;
      for (std::size_t i = 0; i < table_->ecu.size(); ++i)
        if (table_->ecu[i] == raw) u = table_->user[i];  // the last match wins
      return u ? RoundToPrecision(*u) : kNotInTable;
    }
    case ttNonLinearTabled: {
      if (!table_) return kNotInTable;
      const double den = c * raw + d;
      if (den == 0) return kZeroDenominator;
      const double t = (a * raw + b) / den;
      auto u = Interpolate(table_->ecu, table_->user, t);
      return u ? RoundToPrecision(*u) : kNotInTable;
    }
    case ttCustom:
      return RoundToPrecision(DoConvertValueToUser(raw));
  }
  return RoundToPrecision(0.0);
}

double TQorSerialData::ConvertValueToUser(int raw) {
  double a = CoeffA, b = CoeffB, c = CoeffC, d = CoeffD;
  if (NeedsCoefficients()) GetFormulaCoefficients(&a, &b, &c, &d);
  raw &= data_mask_;
  if (signed_) raw = SignExtend(raw, data_length_ == 2 ? 16 : 8);
  return RawToUser(raw, a, b, c, d);
}

double TQorSerialData::ApplyLimits(double user) const {
  if (DisableLimits || (value_min_ == 0 && value_max_ == 0)) return user;
  if (user > value_max_) return value_max_;
  if (user < value_min_) return value_min_;
  return user;
}

int TQorSerialData::UserToRaw(double user, double a, double b, double c, double d, bool& error) {
  error = false;
  switch (transformation_) {
    case ttNone:
      return TruncateToInt(user);
    case ttFormula: {
      const double den = user * c - a;
      if (den == 0) return error = true, kZeroDenominator;
      return RoundToInt((b - user * d) / den);
    }
    case ttTabled: {
      if (table_) {
        for (std::size_t i = 0; i < table_->user.size(); ++i)
          if (table_->user[i] == user) return RoundToInt(table_->ecu[i]);  // the first match
      }
      return error = true, kNotInTable;
    }
    case ttNonLinearTabled: {
      if (!table_) return error = true, kNotInTable;
      auto t = Interpolate(table_->user, table_->ecu, user);
      if (!t) return error = true, kNotInTable;
      const double den = *t * c - a;
      if (den == 0) return error = true, kZeroDenominator;
      return RoundToInt((b - *t * d) / den);
    }
    case ttCustom:
      return DoConvertValueToEcu(user);
  }
  return 0;
}

int TQorSerialData::MergeIntoCurrentByte(int raw, int* current) {
  SetNotifyEnabled(false);
  const bool ok = Load();
  SetNotifyEnabled(true);
  if (ok) return (*current & ~data_mask_) | (raw & data_mask_);
  return raw & data_mask_;
}

int TQorSerialData::ConvertValueToEcu(double user, int* current) {
  double a = CoeffA, b = CoeffB, c = CoeffC, d = CoeffD;
  if (NeedsCoefficients()) GetFormulaCoefficients(&a, &b, &c, &d);
  bool error = false;
  const int raw = UserToRaw(ApplyLimits(user), a, b, c, d, error);
  if (error) return raw;
  if (current && data_mask_ != FullMask()) return MergeIntoCurrentByte(raw, current);
  return raw;
}

int TQorSerialData::ReadRaw(const unsigned char* p) const {
  int raw = data_length_ == 2 ? (p[0] | (p[1] << 8)) : p[0];
  if (signed_) raw = SignExtend(raw, data_length_ == 2 ? 16 : 8);
  return raw;
}

double TQorSerialData::GetUserValueFromPacket(const unsigned char* p) {
  return ConvertValueToUser(ReadRaw(p));
}

// ---------------------------------------------------------------- conversion table

void TQorSerialData::SetConversionTable(const double* ecu, const double* user, int count) {
  table_.reset();
  if (count < 0 || (count > 0 && (!ecu || !user))) return;
  table_.emplace();
  table_->ecu.assign(ecu, ecu + count);
  table_->user.assign(user, user + count);
}

void TQorSerialData::DeleteConversionTable() { table_.reset(); }

int TQorSerialData::ConversionTableLength() const {
  return table_ ? static_cast<int>(table_->ecu.size()) : 0;
}

double TQorSerialData::GetEcuTableValue(int i) const {
  return i >= 0 && i < ConversionTableLength() ? table_->ecu[static_cast<std::size_t>(i)] : 0.0;
}

void TQorSerialData::SetEcuTableValue(int i, double v) {
  if (i >= 0 && i < ConversionTableLength()) table_->ecu[static_cast<std::size_t>(i)] = v;
}

double TQorSerialData::GetUserTableValue(int i) const {
  return i >= 0 && i < ConversionTableLength() ? table_->user[static_cast<std::size_t>(i)] : 0.0;
}

void TQorSerialData::SetUserTableValue(int i, double v) {
  if (i >= 0 && i < ConversionTableLength()) table_->user[static_cast<std::size_t>(i)] = v;
}

bool TQorSerialData::SetCoeffsList(const PropertyList& list) {
  if (list.size() != 4) return false;
  CoeffA = list[0];
  CoeffB = list[1];
  CoeffC = list[2];
  CoeffD = list[3];
  return true;
}

bool TQorSerialData::SetConversionTableList(const PropertyList& list) {
  table_.reset();
  if (list.empty()) return false;
  const double n = list[0];
  if (n != std::floor(n) || n > static_cast<double>(list.size())) return false;
  if (n <= 0) return n == 0 || list.size() == 1;
  const auto count = static_cast<std::size_t>(n);
  if (list.size() != 1 + 2 * count) return false;
  SetConversionTable(list.data() + 1, list.data() + 1 + count, static_cast<int>(count));
  return true;
}

PropertyList TQorSerialData::ConversionTableList() const {
  PropertyList out{static_cast<double>(ConversionTableLength())};
  if (table_) {
    out.insert(out.end(), table_->ecu.begin(), table_->ecu.end());
    out.insert(out.end(), table_->user.begin(), table_->user.end());
  }
  return out;
}

// ---------------------------------------------------------------- setters

void TQorSerialData::SetDataLength(int length) {
  if ((length != 1 && length != 2) || length == data_length_) return;
  AllocateMemory();
  data_length_ = length;
  data_mask_ = FullMask();
  if (length == 2)
    request_code_ |= RC_TWO_BYTES;
  else
    request_code_ &= ~RC_TWO_BYTES;
  valid_ = false;
}

void TQorSerialData::SetDataMask(int mask) {
  mask &= FullMask();
  if (mask == data_mask_) return;
  if (mask != 0) {
    // The set bits must form one run: after the run has ended no further 1 may follow.
    unsigned bits = static_cast<unsigned>(mask);
    while ((bits & 1u) == 0) bits >>= 1;
    while ((bits & 1u) != 0) bits >>= 1;
    if (bits != 0) return;
  }
  AllocateMemory();
  data_mask_ = mask;
  valid_ = false;
}

void TQorSerialData::SetSerialCode(int code) {
  if (code < 0) return;
  serial_code_ = code & 0xFF;
  request_code_ = (request_code_ & ~0xFFu) | static_cast<unsigned>(serial_code_);
}

void TQorSerialData::SetDataSigned(bool value) {
  signed_ = value;
  if (value)
    request_code_ |= RC_SIGNED;
  else
    request_code_ &= ~RC_SIGNED;
}

void TQorSerialData::SetPrecision(double p) {
  if (p >= 0) precision_ = p;
}

void TQorSerialData::SetMinValue(double v) {
  if (IsLoading() || v <= value_max_) value_min_ = v;
}

void TQorSerialData::SetMaxValue(double v) {
  if (IsLoading() || v >= value_min_) value_max_ = v;
}

bool TQorSerialData::StillReferences(const Component* c) const {
  if (connection_ == c) return true;
  for (const TBaseTransformation* t : transformations_)
    if (t == c) return true;
  for (const TQorSerialData* item : ext_coeffs_)
    if (item == c) return true;
  return std::find(listeners_.begin(), listeners_.end(), c) != listeners_.end();
}

void TQorSerialData::Unreference(Component* old) {
  if (old && !StillReferences(old)) RemoveFreeNotification(old);
}

void TQorSerialData::SetConnection(TQorConnection* connection) {
  TQorConnection* old = connection_;
  connection_ = connection;
  Unreference(old);
  if (connection) FreeNotification(connection);
}

TBaseTransformation* TQorSerialData::GetTransformation(int index) const {
  return index >= 1 && index <= 4 ? transformations_[index - 1] : nullptr;
}

void TQorSerialData::SetTransformation(int index, TBaseTransformation* t) {
  if (index < 1 || index > 4) return;
  TBaseTransformation* old = transformations_[index - 1];
  transformations_[index - 1] = t;
  Unreference(old);
  if (t) {
    FreeNotification(t);
    Load();
  }
}

TQorSerialData* TQorSerialData::GetExtCoeff(int index) const {
  return index >= 1 && index <= 4 ? ext_coeffs_[index - 1] : nullptr;
}

void TQorSerialData::SetExtCoeff(int index, TQorSerialData* item) {
  if (item && (item == this || item->Kind() != sdNumber)) return;
  if (index < 1 || index > 4) return;
  TQorSerialData* old = ext_coeffs_[index - 1];
  if (old) old->RemoveNotificationList(this);
  ext_coeffs_[index - 1] = item;
  if (item) item->AddNotificationList(this);
}

// ---------------------------------------------------------------- resource properties

bool TQorSerialData::SetProperty(std::string_view name, const PropertyValue& value) {
  using T = TQorSerialData;
  static const PropertyTable<T> properties = {
      {"DataLength", IntProperty(&T::SetDataLength)},
      {"DataMask", IntProperty(&T::SetDataMask)},
      {"SerialCode", IntProperty(&T::SetSerialCode)},
      {"Signed", BoolProperty(&T::SetDataSigned)},
      {"Transformation", IntProperty(&T::SetTransformationType)},
      {"MeasureUnit", [](T& t, const PropertyValue& v) {
         const auto* s = std::get_if<std::string>(&v);
         if (s) t.MeasureUnit = *s;
         return s != nullptr;
       }},
      {"Precision", DoubleProperty(&T::SetPrecision)},
      {"ValueMin", DoubleProperty(&T::SetMinValue)},
      {"ValueMax", DoubleProperty(&T::SetMaxValue)},
      {"DisableLimits", [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.DisableLimits); }},
      {"DataGroup", [](T& t, const PropertyValue& v) { return PropertyAsInt(v, t.DataGroup); }},
      {"OldReadFileMode", [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.OldReadFileMode); }},
      {"OnConvertToEcu", EventProperty(&T::OnConvertToEcu)},
      {"OnConvertToUser", EventProperty(&T::OnConvertToUser)},
      {"Coeffs", [](T& t, const PropertyValue& v) {
         const auto* list = std::get_if<PropertyList>(&v);
         return list && t.SetCoeffsList(*list);
       }},
      {"ConversionTable", [](T& t, const PropertyValue& v) {
         const auto* list = std::get_if<PropertyList>(&v);
         return list && t.SetConversionTableList(*list);
       }},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;

  // ExtCoeffA..D and TransformationA..D.
  static constexpr std::string_view kExt = "ExtCoeff", kTrans = "Transformation";
  const auto* ref = std::get_if<Component*>(&value);
  if (ref && name.size() == kExt.size() + 1 && name.substr(0, kExt.size()) == kExt) {
    const int index = name.back() - 'A' + 1;
    auto* item = dynamic_cast<TQorSerialData*>(*ref);
    if (index < 1 || index > 4 || (*ref && !item)) return false;
    SetExtCoeff(index, item);
    return true;
  }
  if (ref && name.size() == kTrans.size() + 1 && name.substr(0, kTrans.size()) == kTrans) {
    const int index = name.back() - 'A' + 1;
    auto* t = dynamic_cast<TBaseTransformation*>(*ref);
    if (index < 1 || index > 4 || (*ref && !t)) return false;
    SetTransformation(index, t);
    return true;
  }
  return Component::SetProperty(name, value);
}

bool IsQorSerialData(const Component* component) {
  return dynamic_cast<const TQorSerialData*>(component) != nullptr;
}

}  // namespace vzt
