// The library's three exports. Everything else in the library stays hidden.

#include <new>

#include "components/comm/SerialLink.h"
#include "serlink/QorSerialLink.h"

#define SERQOR_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
constexpr vzt::FILE_VERSION_DATA kVersion{4, 10, 0, 1};
}

SERQOR_EXPORT vzt::TSerialLink* _CreateClassInstance() {
  return new (std::nothrow) vzt::QorSerialLink(vzt::SystemLinkServices());
}

SERQOR_EXPORT void _DestroyClassInstance(vzt::TSerialLink* link) {
  delete static_cast<vzt::QorSerialLink*>(link);
}

SERQOR_EXPORT bool _GetDLLVersion(vzt::FILE_VERSION_DATA* version) {
  if (!version) return false;
  *version = kVersion;
  return true;
}
