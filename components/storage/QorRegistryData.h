#pragma once

#include <functional>
#include <string>

#include "components/storage/CustomIniFile.h"
#include "components/storage/NameValueList.h"
#include "platform/Component.h"
#include "platform/Registry.h"

namespace vzt {

using TMissingIntegerValueEvent =
    std::function<void(Component* sender, const std::string& valueName, int& defaultValue)>;
using TMissingStringValueEvent = std::function<void(
    Component* sender, const std::string& valueName, std::string& defaultValue)>;

// A few named settings, texts and integers, kept in memory as name=value lines and mirrored
// to one registry key of the current user. The owner declares the settings and their
// defaults in the lists; LoadData takes what the registry has, SaveData writes all back.
// Nothing here is shown to the user: every failure is a false result.
class TQorRegistryData : public Component {
 public:
  enum ListKind { StringList = 1, IntegerList = 2 };

  explicit TQorRegistryData(Component* owner = nullptr);
  // Saves the settings (outside design mode); a failure is not reported.
  ~TQorRegistryData() override;

  // True when the registry held every setting; missing ones keep their defaults.
  bool LoadData();
  // True when every setting was written; a failed one does not stop the others.
  bool SaveData();

  // 0 when the name is absent or its value is not an integer.
  int GetIntData(const std::string& name) const;
  // Memory only; the registry follows at the next SaveData.
  void SetIntData(const std::string& name, int value);
  std::string GetStringData(const std::string& name) const;
  // Memory only; the empty text removes a present name.
  void SetStringData(const std::string& name, const std::string& text);
  // Lines of the StringList or IntegerList; 0 for any other kind.
  int GetCount(int kind) const;
  void DeleteStringValue(const std::string& name, bool alsoRegistry);
  void DeleteIntegerValue(const std::string& name, bool alsoRegistry);
  // Cleans list in place (blanks trimmed, lines without "=" dropped), then takes it as
  // the list of that kind; integer settings whose value is not a number become 0.
  void SetStringList(int kind, TStrings& list);

  int DoMissingIntegerValue(const std::string& name);
  std::string DoMissingStringValue(const std::string& name);

  const std::string& KeyName() const { return key_name_; }
  void SetKeyName(const std::string& keyName) { key_name_ = keyName; }
  const TStrings& StringDataList() const { return string_data_.Lines(); }
  const TStrings& IntegerDataList() const { return integer_data_.Lines(); }

  // The lists take their lines as one text, a line per setting.
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

  TMissingIntegerValueEvent OnMissingIntegerValue;
  TMissingStringValueEvent OnMissingStringValue;

 private:
  bool OpenKey(bool canCreate);
  void LoadStrings(bool& complete);
  void LoadIntegers(bool& complete);
  void DeleteFromRegistry(const std::string& name);

  Registry registry_;
  const RegistryRoot root_key_ = RegistryRoot::CurrentUser;
  std::string key_name_;
  NameValueList string_data_;
  NameValueList integer_data_;
};

}  // namespace vzt
