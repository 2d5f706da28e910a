#pragma once

#include <QMainWindow>
#include <QSize>
#include <string>

#include "app/BrandingLibrary.h"
#include "app/ConfigurationFileDialog.h"
#include "components/storage/QorRegistryData.h"
#include "platform/Messages.h"

class QAction;
class QLabel;
class QMenu;

namespace vzt {

class ConfigWindow;
class Host;
class PanelStatusBar;
class TSerialDataModule;

struct FormMainOptions {
  QSize screen;                 // invalid: the primary screen's size
  std::string languageLibrary;  // empty: "Dizionario\Languages.dll" in the program's folder
  std::string brandingLibrary;  // empty: "DevevuRodi.dll" in the program's folder
  FileNameAsker askFileName;    // empty: the file dialogs
};

// The main menu window: four entries in large type picked with the arrow keys and Enter,
// the mouse or the function keys; the communication commands and the about box in the menu
// bar; the connection state and the port in the status bar; connecting and the interface
// language in the popup menu it shares with the configuration window, whose language
// entries call ToolButtonLingueClick. Closing it ends the program.
class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kMenuCount = 4;
  // The port index the connect command hands to the link.
  static constexpr int kConnectPort = 4;

  TFormMain(TSerialDataModule& module, Host& host, FormMainOptions options = {});
  ~TFormMain() override;

  void SetConfigWindow(ConfigWindow* config) { config_ = config; }
  ConfigWindow* Config() const { return config_; }

  // The commands.
  void ActionConfVettExecute();
  void ActionSalvaFileExecute();
  void ActionCaricaFileExecute();
  void ActionEsciExecute();
  void ActionConnectExecute();
  void ActionDisconnectExecute();
  void ActionAboutExecute();

  // Language, texts, status and layout: run at every show and after a language choice.
  void FormShow();
  // The link opened (1) or closed (0).
  void LinkStateMessage(LParam state);

  // "COM1" to "COM4" for ports 0 to 3, "USB" for any other.
  static QString PortName(int port);
  // The port the link reports, or -1 without a library.
  int CurrentPort() const;

  int SelectedIndex() const { return selected_; }
  QAction* Action(const char* name) const;
  QLabel* Label(const char* name) const;
  QLabel* EntryLabel(int index) const;
  PanelStatusBar* StatusBar() const { return status_bar_; }
  // The configuration window's popup menu, which this window shares; null without it.
  QMenu* PopupMenu() const;
  TQorRegistryData& Settings() { return settings_; }
  const BrandingLibrary& Branding() const { return branding_; }

 public slots:
  // The click of a language entry: the entry's index is the language's.
  void ToolButtonLingueClick(int languageIndex);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateActions();
  void CreateMenuBar();
  void CreateMenuArea();
  void CreateStatusBar();
  void PlaceOnScreen();
  void LoadLibraries();
  void FillMenuTable();

  void Mark(int index);
  void Unmark(int index);
  void MoveArrowTo(int index);
  void SelectPrevious();
  void SelectNext();
  void ExecuteEntry(int index);
  bool EntryHidden(int index) const;
  void LayOutEntries();

  bool LibraryLoaded() const;
  bool LinkOpen() const;
  QString ConnectionText(bool open) const;
  void RunFileCommand(FileDialogKind kind);
  void ShowError(const std::u16string& text);

  TSerialDataModule& module_;
  Host& host_;
  FormMainOptions options_;
  QSize screen_;
  ConfigWindow* config_ = nullptr;
  TQorRegistryData settings_;
  BrandingLibrary branding_;
  QWidget* menu_area_ = nullptr;
  PanelStatusBar* status_bar_ = nullptr;
  int selected_ = 0;
};

}  // namespace vzt
