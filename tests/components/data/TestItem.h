#pragma once

#include "components/data/SerialData.h"
#include "platform/Messages.h"

#include <vector>

namespace vzt::test {

// The smallest concrete item: a raw value and a pretend controller byte that Reload copies.
class TestItem : public TQorSerialData {
 public:
  explicit TestItem(Component* owner = nullptr, SerialDataType kind = sdNumber)
      : TQorSerialData(owner, 0, kind) {}

  void AllocateMemory() override { raw = 0; }
  void DeallocateMemory() override {}
  bool Reload() override {
    ++reloads;
    if (valid_) return true;
    if (!reload_succeeds) return false;
    raw = controller_byte;
    valid_ = true;
    DoGetData();
    return true;
  }
  void BackupData() override {}
  void DiscardBackup() override {}
  void RestoreBackup() override {}
  bool Download() override { return false; }
  bool WriteToFile(TCustomIniFile*) override { return false; }
  bool ReadFromFile(TCustomIniFile*) override { return false; }
  void UpdateData(const void*) override {}
  bool ResetDefault(bool) override {
    ++resets;
    return true;
  }
  double GetDouble() override { return ConvertValueToUser(raw); }

  int raw = 0;
  int controller_byte = 0;
  bool reload_succeeds = true;
  int reloads = 0;
  int resets = 0;
};

struct Received {
  unsigned msg;
  WParam wparam;
  LParam lparam;
  bool operator==(const Received&) const = default;
};

// A control-like listener that records the messages delivered to it.
class RecordingListener : public Component, public MessageTarget {
 public:
  explicit RecordingListener(Component* owner = nullptr) : Component(owner) {}
  LParam Perform(unsigned msg, WParam wparam, LParam lparam) override {
    received.push_back({msg, wparam, lparam});
    if (on_message) on_message();
    return 0;
  }
  std::vector<Received> received;
  std::function<void()> on_message;
};

}  // namespace vzt::test
