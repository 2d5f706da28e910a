#include "serlink/HostHookRecorder.h"

#include <algorithm>
#include <mutex>
#include <type_traits>

#include "components/comm/SerialLink.h"

namespace vzt::test {

namespace {

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

std::vector<HostMessage>& Recorded() {
  static std::vector<HostMessage> messages;
  return messages;
}

int Count(unsigned msg, bool any_lparam, LParam lparam) {
  const auto messages = HostMessages();
  return static_cast<int>(std::count_if(messages.begin(), messages.end(), [&](const HostMessage& m) {
    return m.msg == msg && (any_lparam || m.lparam == lparam);
  }));
}

}  // namespace

std::vector<HostMessage> HostMessages() {
  std::lock_guard guard(Lock());
  return Recorded();
}

void ClearHostMessages() {
  std::lock_guard guard(Lock());
  Recorded().clear();
}

int LinkStateMessages(LParam state) { return Count(MSG_LINK_STATE, false, state); }

int ProgressMessages() { return Count(MSG_LINK_PROGRESS, true, 0); }

}  // namespace vzt::test

// The host hook the library looks up in the program; the test program exports it.
extern "C" __attribute__((visibility("default"))) void SerQorHostMessage(unsigned msg,
                                                                         vzt::WParam wparam,
                                                                         vzt::LParam lparam) {
  static_assert(std::is_same_v<decltype(&SerQorHostMessage), vzt::HostMessageHookFn>);
  std::lock_guard guard(vzt::test::Lock());
  vzt::test::Recorded().push_back({msg, wparam, lparam});
}
