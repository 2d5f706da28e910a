#pragma once

#include <QWidget>

#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "fixtures/FakeLink.h"

namespace vzt::test {

// Forces the regional decimal separator for one test.
class SeparatorGuard {
 public:
  explicit SeparatorGuard(char separator);
  ~SeparatorGuard();
  SeparatorGuard(const SeparatorGuard&) = delete;
  SeparatorGuard& operator=(const SeparatorGuard&) = delete;
};

// A parameter at an address of a fake controller whose link is open; the byte lives in the
// fake's memory.
struct OnlineParameter {
  explicit OnlineParameter(int address = 100);
  unsigned char& Byte() { return link.memory[static_cast<std::size_t>(address)]; }
  int Writes() const { return link.Count("WriteByAddress"); }
  int Reads() const { return link.Count("ReadByAddress"); }
  // Scales the user value: user = raw * scale.
  void Scale(double scale);
  // Puts a value into the controller and lets the item read it (its listeners are told).
  void Arrive(int raw);

  int address;
  FakeLink link;
  TQorConnection connection;
  TQorNumber item;
};

// A shown, active top-level window, so that focus and key events behave as on a desktop.
class TestWindow : public QWidget {
 public:
  TestWindow();
  // Shows the window and waits until it is the active one.
  void ShowActive();
};

}  // namespace vzt::test
