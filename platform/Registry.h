#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vzt {

enum class RegistryRoot { CurrentUser };

enum class RegistryDataType { None, String, Integer };  // absent, REG_SZ, REG_DWORD

// The current user's registry: keys named by backslash-separated paths, each holding named
// values that are texts or 32-bit integers. Key paths and value names ignore letter case.
// One key is open at a time; reads and writes need an open key and fail without one.
// Nothing throws: every failure is a false result, with the reason in LastError().
//
// On POSIX each key is one file, <config>/vzt-registry/<path in lower case>.reg, where
// <config> is $XDG_CONFIG_HOME (when absolute) or ~/.config. Every write replaces the file
// atomically. A file with damaged lines still opens: the damaged lines read as missing
// values and the next write drops them, keeping every value that could be read.
class Registry {
 public:
  explicit Registry(RegistryRoot root = RegistryRoot::CurrentUser);
  ~Registry();

  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  RegistryRoot RootKey() const { return root_; }
  // Closes the open key.
  void SetRootKey(RegistryRoot root);

  // Opens keyPath below the root; with canCreate a missing key is created first.
  bool OpenKey(std::string_view keyPath, bool canCreate);
  void CloseKey();
  bool IsOpen() const { return open_; }

  bool ValueExists(std::string_view name) const;
  RegistryDataType GetDataType(std::string_view name) const;
  // Fail when the value is missing or has the other type.
  bool ReadString(std::string_view name, std::string& value) const;
  bool ReadInteger(std::string_view name, std::int32_t& value) const;
  bool WriteString(std::string_view name, std::string_view value);
  bool WriteInteger(std::string_view name, std::int32_t value);
  bool DeleteValue(std::string_view name);

  const std::string& LastError() const { return error_; }

  // The file that holds keyPath; empty when the path is not valid or there is no
  // configuration folder.
  static std::string KeyFileName(std::string_view keyPath);

  struct Value {
    std::string name;
    RegistryDataType type = RegistryDataType::None;
    std::string text;
    std::int32_t number = 0;
  };

 private:
  const Value* Find(std::string_view name) const;
  bool Fail(std::string error) const;
  // Replaces or adds the value of that name and writes the key.
  bool Put(Value value);
  bool Commit(std::vector<Value> values);

  RegistryRoot root_;
  bool open_ = false;
  std::string key_path_;
  std::string file_name_;
  std::vector<Value> values_;
  mutable std::string error_;
};

}  // namespace vzt
