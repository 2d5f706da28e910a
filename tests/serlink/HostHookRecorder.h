#pragma once

#include <vector>

#include "platform/Messages.h"

namespace vzt::test {

// What the library sent through the host hook that this test program exports.
struct HostMessage {
  unsigned msg;
  WParam wparam;
  LParam lparam;
};

std::vector<HostMessage> HostMessages();
void ClearHostMessages();
int LinkStateMessages(LParam state);
int ProgressMessages();

}  // namespace vzt::test
