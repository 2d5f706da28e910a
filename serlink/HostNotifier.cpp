#include "serlink/HostNotifier.h"

#include <dlfcn.h>

namespace vzt {

MessageSink HostMessageSink() {
  auto hook = reinterpret_cast<HostMessageHookFn>(::dlsym(RTLD_DEFAULT, kHostMessageHookExport));
  if (!hook) return [](unsigned, WParam, LParam) {};
  return [hook](unsigned msg, WParam wparam, LParam lparam) { hook(msg, wparam, lparam); };
}

}  // namespace vzt
