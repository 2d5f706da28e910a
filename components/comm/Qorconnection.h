#pragma once

#include <string>

#include "components/comm/SerialLink.h"
#include "platform/Component.h"
#include "platform/CriticalSection.h"
#include "platform/Library.h"

namespace vzt {

// Owns the serial communication library: loads it on first use, checks its version,
// creates and destroys the link object, and owns the lock that serialises transfers.
// It never opens the controller link itself.
class TQorConnection : public Component {
 public:
  explicit TQorConnection(Component* owner = nullptr);
  ~TQorConnection() override;

  bool LoadDll();
  void UnloadDll();
  bool GetDllVersion(FILE_VERSION_DATA* version);
  bool ControllaVersioneDll();

  // Puts a link object of the caller's in place of a library (tests and in-process links).
  // The connection counts as loaded; unloading closes or releases the link, never frees it.
  void AttachLink(TSerialLink* link);

  bool Loaded() const { return loaded_; }
  // Null unless the library is loaded.
  TSerialLink* Link() const { return link_; }
  CriticalSection& Lock() { return lock_; }

  bool AutoLoadLibrary() const { return auto_load_library_; }
  void SetAutoLoadLibrary(bool value) { auto_load_library_ = value; }
  const std::string& DllName() const { return dll_name_; }
  // Ignored while the library is loaded.
  void SetDllName(const std::string& name);

  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 private:
  void ForgetEntryPoints();

  TSerialLink* link_ = nullptr;
  bool auto_load_library_ = true;
  std::string dll_name_ = "SerQorDL.dll";
  bool loaded_ = false;
  CreateClassInstanceFn create_ = nullptr;
  DestroyClassInstanceFn destroy_ = nullptr;
  GetDLLVersionFn get_version_ = nullptr;
  Library library_;
  CriticalSection lock_;
};

}  // namespace vzt
