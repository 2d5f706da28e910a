#pragma once

#include <QDialog>
#include <QSize>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "datamodule/Host.h"
#include "platform/Component.h"
#include "platform/Resource.h"

class QMenu;

namespace vzt {

class PanelStatusBar;
class TFormOndaCostruita;
class TPageControl;
class TSerialDataModule;
class TTranslator;

struct FormConfigOptions {
  QSize screen;                                 // invalid: the primary screen's size
  std::function<void(std::uint32_t ms)> wait;   // the erase's pause; empty: sleep
  // A language entry of the popup menu was clicked; empty: the owning window's language
  // handler (its slot ToolButtonLingueClick(int)), when it has one.
  std::function<void(int language)> chooseLanguage;
};

// The installer's working screen: three pages of controls bound to the controller's
// parameters, the live engine panel with the band lamps, and the connection state in the
// status bar. It shows the fields that go with the option boxes and the changeover mode,
// the permitted range of the box being edited, erases the controller's configuration memory
// on request and opens the wave construction dialog for the built-wave emulation.
class TFormConfig : public QDialog, public Component {
 public:
  TFormConfig(TSerialDataModule& module, QWidget* parent = nullptr, FormConfigOptions options = {});
  ~TFormConfig() override;

  // The window's texts in the translator's language; the lists are refilled and show their
  // items' values again.
  void ApplyTexts(TTranslator& translator);
  // The link opened or closed; the port's name is shown while it is open.
  void LinkState(bool open, const std::u16string& portName);

  // The data module's hooks.
  void UpdateOptionalFields();
  void UpdateChangeoverFields();
  void SetLamp(LampGroup group, int index, int percent);
  void SetDefaultPositionColour(std::uint32_t rgb);

  // The handlers the resource binds.
  void FormShow();
  void FormKeyDown(int key, Qt::KeyboardModifiers shift);
  void QorValEditNGiriCambioEnter(Component* sender);
  void QorValEditNGiriCambioExit(Component* sender);
  void ButtonResetClick(Component* sender);
  void QorComboTipoEmulChange(Component* sender);
  void QorCheckBoxFuoriGiriClick(Component* sender);

  // A control of the window by its name, as the given class; null when there is none.
  template <class T>
  T* Control(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  TPageControl* PageControl() const { return page_control_; }
  PanelStatusBar* StatusBar() const { return status_bar_; }
  QMenu* PopupMenuConfig() const { return popup_menu_; }
  // The wave construction dialog while it is open, else null.
  TFormOndaCostruita* WaveDialog() const { return wave_dialog_; }
  // What the window's resource could not apply (empty when it loaded as designed).
  const std::vector<ResourceError>& ResourceErrors() const { return resource_errors_; }
  TSerialDataModule& Module() const { return module_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LoadFromResource();
  void NameWidgets();
  void ArrangeAligned();
  void SetTabOrders();
  void CreateStatusPanels();
  void CreatePopupMenu();
  void ScaleToScreen();
  void ScaleCaptionSpacings();
  void PlaceOnScreen();
  void SetSizeConstraints();
  void CreateLanguageEntries();
  void ChooseLanguage(int language);
  bool IsFirstKeyReceiver(const QObject* watched) const;
  void LinkClosed();
  void LinkOpened(const std::u16string& portName);
  bool LinkIsOpen() const;
  void SetShown(const char* name, bool shown);
  void Wait(std::uint32_t ms);

  TSerialDataModule& module_;
  FormConfigOptions options_;
  QSize screen_;
  std::vector<ResourceError> resource_errors_;
  TPageControl* page_control_ = nullptr;
  PanelStatusBar* status_bar_ = nullptr;
  QMenu* popup_menu_ = nullptr;
  TFormOndaCostruita* wave_dialog_ = nullptr;
};

}  // namespace vzt
