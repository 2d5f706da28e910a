#pragma once

#include <functional>

#include "components/comm/SerialLink.h"

namespace vzt {

// Where the link's window messages go.
using MessageSink = std::function<void(unsigned msg, WParam wparam, LParam lparam)>;

// The host program's hook, looked up among the symbols the program exports; a sink that
// drops every message when the program has none.
MessageSink HostMessageSink();

}  // namespace vzt
