// vzt905: the service tool's windows.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <exception>
#include <memory>

#include "app/ConfigWindowAdapter.h"
#include "app/FormMain.h"
#include "app/LinkMessageRouter.h"
#include "app/MainThreadWake.h"
#include "app/ProgramIcon.h"
#include "app/QtHost.h"
#include "datamodule/SerialDataModule.h"

#if defined(VZT_HAVE_FORMS) && __has_include("forms/FormConfig.h")
#include "forms/FormConfig.h"
using ConfigForm = vzt::TFormConfig;
#else
#include "app/FormConfigPlaceholder.h"
using ConfigForm = vzt::TFormConfigPlaceholder;
#endif

namespace {

// "--connect": connect as soon as the main window shows, as the connect command does.
bool ConnectAtStart(const QStringList& arguments) { return arguments.contains("--connect"); }

void RunProgram(QApplication& application) {
  vzt::QtHost host;
  vzt::DataModuleOptions moduleOptions;
  moduleOptions.host = &host;
  vzt::TSerialDataModule module(moduleOptions);
  vzt::TFormMain formMain(module, host);
  host.SetMainWindow(&formMain);
  auto config = std::make_unique<vzt::ConfigWindowAdapter<ConfigForm>>(module, &formMain);
  host.SetConfigWindow(config.get());
  formMain.SetConfigWindow(config.get());
  vzt::LinkMessageRouter::Install(&module, &formMain, config.get());

  formMain.show();
  if (ConnectAtStart(QApplication::arguments()))
    QTimer::singleShot(0, &formMain, &vzt::TFormMain::ActionConnectExecute);
  application.exec();

  // The data module disconnects as it goes: nothing may reach the windows from then on.
  vzt::LinkMessageRouter::Uninstall();
  host.SetConfigWindow(nullptr);
  formMain.SetConfigWindow(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("vzt905");
  QApplication::setWindowIcon(vzt::ProgramIcon());
  // The refresh thread posts its passes to the main thread; they run in the event loop.
  vzt::RunMainThreadCallsInEventLoop();
  try {
    RunProgram(application);
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromLocal8Bit(e.what()));
  } catch (...) {
    QMessageBox::critical(nullptr, QApplication::applicationName(), QString());
  }
  vzt::StopMainThreadWake();
  return 0;
}
