#pragma once

namespace vzt {

class ConfigWindow;
class TFormMain;
class TSerialDataModule;

// Writes the texts of the translator's current language into the main window and its
// menus, fills the nine shared texts, lets the configuration window write its own texts and
// refill its lists, and has every item redisplay its value.
void ApplyInterfaceTexts(TSerialDataModule& module, TFormMain& mainWindow, ConfigWindow* configWindow);

}  // namespace vzt
