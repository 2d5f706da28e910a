#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "datamodule/Host.h"

class QDialog;
class QMenu;

namespace vzt {

class TTranslator;

// What the main window and the Qt host need of the vehicle configuration window.
class ConfigWindow {
 public:
  virtual ~ConfigWindow() = default;

  virtual QDialog& Dialog() = 0;
  // Shows the window modally and returns when it closes.
  virtual int Exec() = 0;
  // Writes the window's texts in the translator's language, refills its lists, redisplays.
  virtual void ApplyTexts(TTranslator& translator) = 0;
  // The link opened (with the port's name) or closed.
  virtual void LinkState(bool open, const std::u16string& portName) = 0;
  // The connection text of its status bar, colour unchanged.
  virtual void SetConnectionText(const QString& text) = 0;
  // Its popup menu (connect, disconnect, the languages), which the main window shares;
  // null when it has none.
  virtual QMenu* PopupMenu() = 0;

  virtual void UpdateOptionalFields() = 0;
  virtual void UpdateChangeoverFields() = 0;
  virtual void SetLamp(LampGroup group, int index, int percent) = 0;
  virtual void SetDefaultPositionColour(std::uint32_t rgb) = 0;
};

}  // namespace vzt
