#include "components/storage/QorRegistryData.h"

#include "components/storage/IniText.h"

namespace vzt {

namespace {

// The names as they stand before a pass, so that a setting whose line a pass removes
// (an empty text) does not make the pass skip the next one.
std::vector<std::string> NamesOf(const NameValueList& list) {
  std::vector<std::string> names;
  for (const std::string& line : list.Lines()) names.push_back(NameValueList::NameOf(line));
  return names;
}

int IntegerOr(const std::string& text, int fallback) {
  int value = fallback;
  return TextToInt(text, value) ? value : fallback;
}

void KeepOnlySettingLines(TStrings& list) {
  for (std::size_t i = list.size(); i-- > 0;) {
    if (list[i].find('=') == std::string::npos)
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    else
      list[i] = std::string(TrimBlanks(list[i]));
  }
}

}  // namespace

TQorRegistryData::TQorRegistryData(Component* owner) : Component(owner) {}

TQorRegistryData::~TQorRegistryData() {
  if (!IsDesigning()) SaveData();
}

bool TQorRegistryData::OpenKey(bool canCreate) {
  if (key_name_.empty()) return false;
  registry_.SetRootKey(root_key_);
  return registry_.OpenKey(key_name_, canCreate);
}

bool TQorRegistryData::LoadData() {
  if (!OpenKey(true)) return false;
  bool complete = true;
  LoadStrings(complete);
  LoadIntegers(complete);
  registry_.CloseKey();
  return complete;
}

// A value of the other type than the list expects, as from a damaged or foreign key,
// counts as missing: the setting keeps its default.
void TQorRegistryData::LoadStrings(bool& complete) {
  for (const std::string& name : NamesOf(string_data_)) {
    std::string text;
    if (registry_.ReadString(name, text)) {
      string_data_.SetValue(name, text);
    } else {
      string_data_.SetValue(name, DoMissingStringValue(name));
      complete = false;
    }
  }
}

void TQorRegistryData::LoadIntegers(bool& complete) {
  for (const std::string& name : NamesOf(integer_data_)) {
    std::int32_t number = 0;
    if (registry_.ReadInteger(name, number)) {
      integer_data_.SetValue(name, std::to_string(number));
    } else {
      integer_data_.SetValue(name, std::to_string(DoMissingIntegerValue(name)));
      complete = false;
    }
  }
}

bool TQorRegistryData::SaveData() {
  if (!OpenKey(true)) return false;
  bool complete = true;
  for (const std::string& line : string_data_.Lines())
    complete = registry_.WriteString(NameValueList::NameOf(line), NameValueList::ValueOf(line)) &&
               complete;
  for (const std::string& line : integer_data_.Lines()) {
    int number = 0;
    complete = TextToInt(NameValueList::ValueOf(line), number) &&
               registry_.WriteInteger(NameValueList::NameOf(line), number) && complete;
  }
  registry_.CloseKey();
  return complete;
}

int TQorRegistryData::GetIntData(const std::string& name) const {
  return IntegerOr(integer_data_.Value(name), 0);
}

void TQorRegistryData::SetIntData(const std::string& name, int value) {
  if (integer_data_.IndexOfName(name) == NameValueList::npos)
    integer_data_.Append(name + "=" + std::to_string(value));
  else
    integer_data_.SetValue(name, std::to_string(value));
}

std::string TQorRegistryData::GetStringData(const std::string& name) const {
  return string_data_.Value(name);
}

void TQorRegistryData::SetStringData(const std::string& name, const std::string& text) {
  if (string_data_.IndexOfName(name) == NameValueList::npos)
    string_data_.Append(name + "=" + text);
  else
    string_data_.SetValue(name, text);
}

int TQorRegistryData::GetCount(int kind) const {
  if (kind == StringList) return static_cast<int>(string_data_.Count());
  if (kind == IntegerList) return static_cast<int>(integer_data_.Count());
  return 0;
}

void TQorRegistryData::DeleteStringValue(const std::string& name, bool alsoRegistry) {
  string_data_.Delete(string_data_.IndexOfName(name));
  if (alsoRegistry) DeleteFromRegistry(name);
}

void TQorRegistryData::DeleteIntegerValue(const std::string& name, bool alsoRegistry) {
  integer_data_.Delete(integer_data_.IndexOfName(name));
  if (alsoRegistry) DeleteFromRegistry(name);
}

void TQorRegistryData::DeleteFromRegistry(const std::string& name) {
  if (!OpenKey(false)) return;
  registry_.DeleteValue(name);
  registry_.CloseKey();
}

void TQorRegistryData::SetStringList(int kind, TStrings& list) {
  KeepOnlySettingLines(list);
  if (kind == StringList) {
    string_data_ = NameValueList(list);
  } else if (kind == IntegerList) {
    TStrings lines = list;
    for (std::string& line : lines)
      if (int number = 0; !TextToInt(NameValueList::ValueOf(line), number))
        line = NameValueList::NameOf(line) + "=0";
    integer_data_ = NameValueList(std::move(lines));
  }
}

int TQorRegistryData::DoMissingIntegerValue(const std::string& name) {
  int value = GetIntData(name);
  if (OnMissingIntegerValue) OnMissingIntegerValue(this, name, value);
  return value;
}

std::string TQorRegistryData::DoMissingStringValue(const std::string& name) {
  std::string value = GetStringData(name);
  if (OnMissingStringValue) OnMissingStringValue(this, name, value);
  return value;
}

bool TQorRegistryData::SetProperty(std::string_view name, const PropertyValue& value) {
  using T = TQorRegistryData;
  auto listProperty = [](int kind) {
    return [kind](T& t, const PropertyValue& v) {
      const auto* text = std::get_if<std::string>(&v);
      if (!text) return false;
      TStrings lines = SplitLines(*text);
      t.SetStringList(kind, lines);
      return true;
    };
  };
  static const PropertyTable<T> properties = {
      {"KeyName", StringProperty(&T::SetKeyName)},
      {"StringDataList", listProperty(StringList)},
      {"IntegerDataList", listProperty(IntegerList)},
      {"OnMissingIntegerValue", EventProperty(&T::OnMissingIntegerValue)},
      {"OnMissingStringValue", EventProperty(&T::OnMissingStringValue)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
