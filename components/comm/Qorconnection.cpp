#include "Qorconnection.h"

#include <mutex>

namespace vzt {

namespace {

constexpr std::uint32_t kMinMajor = 4, kMinMinor = 9, kMinRelease = 3;

bool VersionAccepted(const FILE_VERSION_DATA& v) {
  if (v.major != kMinMajor) return v.major > kMinMajor;
  if (v.minor != kMinMinor) return v.minor > kMinMinor;
  return v.release >= kMinRelease;
}

}  // namespace

TQorConnection::TQorConnection(Component* owner) : Component(owner) {}

TQorConnection::~TQorConnection() { UnloadDll(); }

void TQorConnection::SetDllName(const std::string& name) {
  if (!loaded_) dll_name_ = name;
}

bool TQorConnection::LoadDll() {
  if (loaded_) return true;
  if (library_.Load(dll_name_)) {
    create_ = library_.Function<CreateClassInstanceFn>(kCreateClassInstanceExport);
    destroy_ = library_.Function<DestroyClassInstanceFn>(kDestroyClassInstanceExport);
    get_version_ = library_.Function<GetDLLVersionFn>(kGetDLLVersionExport);
    if (create_ && destroy_ && get_version_ && ControllaVersioneDll()) {
      link_ = create_();
      if (link_) {
        loaded_ = true;
        return true;
      }
    }
    ForgetEntryPoints();
    library_.Free();
  }
  link_ = nullptr;
  return false;
}

void TQorConnection::AttachLink(TSerialLink* link) {
  UnloadDll();
  if (!link) return;
  link_ = link;
  loaded_ = true;
}

void TQorConnection::UnloadDll() {
  if (!loaded_) return;
  std::lock_guard guard(lock_);
  if (link_->IsOpen() != 0)
    link_->Close();
  else
    link_->ReleaseLink();
  if (destroy_) destroy_(link_);
  link_ = nullptr;
  ForgetEntryPoints();
  library_.Free();
  loaded_ = false;
}

bool TQorConnection::GetDllVersion(FILE_VERSION_DATA* version) {
  if (!loaded_ || !version || !get_version_) return false;
  return get_version_(version);
}

bool TQorConnection::ControllaVersioneDll() {
  if (!get_version_) return false;
  FILE_VERSION_DATA v{};
  if (!get_version_(&v)) return false;
  return VersionAccepted(v);
}

void TQorConnection::ForgetEntryPoints() {
  create_ = nullptr;
  destroy_ = nullptr;
  get_version_ = nullptr;
}

bool TQorConnection::SetProperty(std::string_view name, const PropertyValue& value) {
  static const PropertyTable<TQorConnection> properties = {
      {"AutoLoadLibrary", BoolProperty(&TQorConnection::SetAutoLoadLibrary)},
      {"DllName", StringProperty(&TQorConnection::SetDllName)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
