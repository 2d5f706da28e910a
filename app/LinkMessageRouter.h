#pragma once

#include "platform/Messages.h"

namespace vzt {

class ConfigWindow;
class TFormMain;
class TSerialDataModule;

// Takes the messages the communication library sends through the program's exported hook
// (SerQorHostMessage) to the windows: the link state is posted to the main and the
// configuration windows' queues, the progress goes at once to the current wait window,
// after which every window is repainted.
class LinkMessageRouter {
 public:
  // Where the messages go from now on; any of them may be null.
  static void Install(TSerialDataModule* module, TFormMain* mainWindow, ConfigWindow* configWindow);
  // Messages are dropped from now on.
  static void Uninstall();

  static void Deliver(unsigned msg, WParam wparam, LParam lparam);
};

}  // namespace vzt

// The hook the communication library looks up among the program's symbols.
extern "C" void SerQorHostMessage(unsigned msg, vzt::WParam wparam, vzt::LParam lparam);
