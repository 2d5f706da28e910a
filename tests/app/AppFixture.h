#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ConfigWindowAdapter.h"
#include "app/FormConfigPlaceholder.h"
#include "app/FormMain.h"
#include "app/LinkMessageRouter.h"
#include "app/QtHost.h"
#include "components/comm/DataRefresher.h"
#include "components/storage/QorRegistryData.h"
#include "components/translator/Translator.h"
#include "datamodule/SerialDataModule.h"

namespace vzt::test {

// A message box the windows asked for.
struct RecordedBox {
  MessageOwner owner;
  QWidget* parent;
  QString text;
  QString caption;
  MessageIcon icon;
};

// The program's objects as main() makes them: the Qt host with its message boxes recorded
// instead of shown, the data module, the main window with a stubbed file dialog, the
// stand-in configuration window, and the routing of the library's messages.
class AppFixture : public ::testing::Test {
 protected:
  using Placeholder = ConfigWindowAdapter<TFormConfigPlaceholder>;

  void SetUp() override { StoreLanguage(0); }
  void TearDown() override { Destroy(); }

  void Create(FormMainOptions options = {}, const std::string& dllName = "SerQorDL.dll") {
    host.SetMessageBoxPresenter([this](const QtHost::MessageBoxRequest& r) {
      boxes.push_back({r.owner, r.parent, r.text, r.caption, r.icon});
      return MessageResult::Ok;
    });
    DataModuleOptions moduleOptions;
    moduleOptions.host = &host;
    moduleOptions.dllName = dllName;
    moduleOptions.wait = [](std::uint32_t) {};
    module = std::make_unique<TSerialDataModule>(moduleOptions);
    if (!options.screen.isValid()) options.screen = QSize(800, 600);
    if (options.brandingLibrary.empty()) options.brandingLibrary = "NoBrandingLibraryHere.dll";
    if (!options.askFileName)
      options.askFileName = [this](FileDialogKind kind, QWidget*) {
        asked.push_back(kind);
        return fileName;
      };
    form = std::make_unique<TFormMain>(*module, host, options);
    config = std::make_unique<Placeholder>(*module, form.get());
    host.SetMainWindow(form.get());
    host.SetConfigWindow(config.get());
    form->SetConfigWindow(config.get());
    LinkMessageRouter::Install(module.get(), form.get(), config.get());
  }

  void Destroy() {
    LinkMessageRouter::Uninstall();
    host.SetConfigWindow(nullptr);
    if (form) form->SetConfigWindow(nullptr);
    config.reset();
    form.reset();
    module.reset();
  }

  // Shown and active, so that its shortcuts work.
  void ShowMain() {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  // Runs what the windows' queues hold.
  static void ProcessEvents() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }

  // The refresher's thread follows a switch in its own time: true once it runs (or is
  // parked) as asked.
  bool RefresherSettlesAt(bool running) {
    QElapsedTimer waited;
    waited.start();
    while (module->DataRefresher()->GetEnabled() != running) {
      if (waited.elapsed() > 5000) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
  }

  static void StoreLanguage(int index) {
    TQorRegistryData settings;
    settings.SetKeyName("software\\qor srl\\VZT905");
    settings.SetIntData("Language", index);
    settings.SaveData();
    settings.SetKeyName("");  // written once is enough
  }

  static int StoredLanguage() {
    TQorRegistryData settings;
    settings.SetKeyName("software\\qor srl\\VZT905");
    settings.SetIntData("Language", -1);
    settings.LoadData();
    const int language = settings.GetIntData("Language");
    settings.SetKeyName("");
    return language;
  }

  // Runs `inspect` on the modal dialog that `open` shows, then closes it.
  template <class Dialog>
  bool InspectModal(const std::function<void()>& open, const std::function<void(Dialog&)>& inspect) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      if (auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget())) {
        seen = true;
        inspect(*dialog);
        dialog->reject();
      }
    });
    open();
    return seen;
  }

  QString Text(int id) { return QString::fromStdU16String(module->Translator()->GetString(id, 0)); }

  QtHost host;
  std::unique_ptr<TSerialDataModule> module;
  std::unique_ptr<TFormMain> form;
  std::unique_ptr<Placeholder> config;
  std::vector<RecordedBox> boxes;
  std::vector<FileDialogKind> asked;
  QString fileName;
};

}  // namespace vzt::test
