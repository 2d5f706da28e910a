#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "datamodule/Host.h"

namespace vzt {

class PanelStatusBar;
class TSerialDataModule;
class TTranslator;

// Stands in for the vehicle configuration window in builds without it: the window's
// caption, its status bar with the connection state, and its popup menu with the owner's
// connect and disconnect actions and the languages, nothing more.
class TFormConfigPlaceholder : public QDialog {
 public:
  explicit TFormConfigPlaceholder(TSerialDataModule& module, QWidget* parent = nullptr);

  void ApplyTexts(TTranslator& translator);
  void LinkState(bool open, const std::u16string& portName);
  void UpdateOptionalFields() {}
  void UpdateChangeoverFields() {}
  void SetLamp(LampGroup, int, int) {}
  void SetDefaultPositionColour(std::uint32_t) {}

  PanelStatusBar* StatusBar() const { return status_bar_; }

 private:
  void CreatePopupMenu();

  TSerialDataModule& module_;
  PanelStatusBar* status_bar_ = nullptr;
};

}  // namespace vzt
