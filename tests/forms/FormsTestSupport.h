#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "datamodule/SerialDataModule.h"
#include "ecusim/EcuMemory.h"
#include "ecusim/SimulatorProcess.h"
#include "fixtures/RecordingHost.h"
#include "forms/FormConfig.h"

namespace vzt::test {

// The recording host that also hands the data module's hooks to the configuration window,
// as the program's host does.
class FormHost : public RecordingHost {
 public:
  TFormConfig* form = nullptr;

  void UpdateOptionalFields() override;
  void UpdateChangeoverFields() override;
  void SetLamp(LampGroup group, int index, int percent) override;
  void SetDefaultPositionColour(std::uint32_t rgb) override;
};

// What the communication library told the program through its exported hook.
struct HookMessage {
  unsigned msg;
  WParam wparam;
  LParam lparam;
};
std::vector<HookMessage> TakeHookMessages();

// The language library built beside the tests.
std::string LanguageLibraryPath();

// The data module and the configuration window, offline or connected to the simulator.
class FormFixture : public ::testing::Test {
 protected:
  void TearDown() override;

  // A data module that finds no communication library.
  void CreateOffline(FormConfigOptions options = {});
  // The simulator (its memory in a file), the real library, a connected data module, and
  // the window told that the link opened.
  void CreateConnected(std::vector<std::string> simulatorArgs = {}, FormConfigOptions options = {});
  void CreateWindow(FormConfigOptions options);

  // English texts from the language library, as the main window writes them.
  void ApplyEnglish();
  // Shown and active, as the main window shows it: the refresher runs meanwhile.
  void ShowWindow();
  // Passes the library's link-state messages to the window, as the program's queue would.
  void DeliverLinkMessages();
  // Runs the refresher's passes and the window's events for a while, or until `done`.
  void Pump(std::chrono::milliseconds duration, const std::function<bool()>& done = {});

  EcuMemory::Image Memory() const;
  bool LinkOpen() const;
  TQorNumber& Item(const char* name) const;
  template <class T>
  T& Control(const char* name) const {
    T* control = form->Control<T>(name);
    if (!control) throw std::runtime_error(std::string("no control ") + name);
    return *control;
  }
  // Focuses a control of the shown window.
  void Focus(QWidget& control);
  // Types text into the focused box and presses Enter.
  void TypeAndEnter(QWidget& box, const QString& text);

  SimulatorProcess simulator;  // first in, last out
  FormHost host;
  std::unique_ptr<TSerialDataModule> module;
  std::unique_ptr<TFormConfig> form;
};

}  // namespace vzt::test
