#include "app/LinkMessageRouter.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <mutex>
#include <type_traits>

#include "app/ConfigWindow.h"
#include "app/FormMain.h"
#include "components/comm/SerialLink.h"
#include "datamodule/SerialDataModule.h"

namespace vzt {

namespace {

struct Routes {
  TSerialDataModule* module = nullptr;
  QPointer<TFormMain> mainWindow;
  ConfigWindow* configWindow = nullptr;
  QPointer<QDialog> configDialog;  // tells whether the configuration window still exists
};

std::mutex& RoutesLock() {
  static std::mutex lock;
  return lock;
}

Routes& CurrentRoutes() {
  static Routes routes;
  return routes;
}

Routes Snapshot() {
  std::lock_guard guard(RoutesLock());
  return CurrentRoutes();
}

bool InGuiThread() { return qApp && QThread::currentThread() == qApp->thread(); }

void RepaintAllWindows() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) w->repaint();
}

void PostLinkState(const Routes& routes, LParam state) {
  if (routes.mainWindow)
    QMetaObject::invokeMethod(
        routes.mainWindow.data(), [w = routes.mainWindow, state] { if (w) w->LinkStateMessage(state); },
        Qt::QueuedConnection);
  if (routes.configDialog && (state == 0 || state == 1))
    QMetaObject::invokeMethod(
        routes.configDialog.data(),
        [state] {
          const Routes now = Snapshot();
          if (!now.configWindow || !now.configDialog) return;
          const int port = now.mainWindow ? now.mainWindow->CurrentPort() : -1;
          now.configWindow->LinkState(state == 1, TFormMain::PortName(port).toStdU16String());
        },
        Qt::QueuedConnection);
}

void SendProgress(const Routes& routes, WParam wparam, LParam lparam) {
  if (!routes.module) return;
  routes.module->LinkMessage(MSG_LINK_PROGRESS, wparam, lparam);
  if (routes.module->CurrentWaitWindow()) RepaintAllWindows();
}

}  // namespace

void LinkMessageRouter::Install(TSerialDataModule* module, TFormMain* mainWindow,
                                ConfigWindow* configWindow) {
  std::lock_guard guard(RoutesLock());
  CurrentRoutes() = {module, mainWindow, configWindow,
                     configWindow ? &configWindow->Dialog() : nullptr};
}

void LinkMessageRouter::Uninstall() {
  std::lock_guard guard(RoutesLock());
  CurrentRoutes() = {};
}

void LinkMessageRouter::Deliver(unsigned msg, WParam wparam, LParam lparam) {
  if (!qApp) return;
  const Routes routes = Snapshot();
  if (msg == MSG_LINK_STATE) {
    PostLinkState(routes, lparam);
  } else if (msg == MSG_LINK_PROGRESS) {
    if (InGuiThread())
      SendProgress(routes, wparam, lparam);
    else  // windows are only touched in their own thread
      QMetaObject::invokeMethod(qApp, [wparam, lparam] { SendProgress(Snapshot(), wparam, lparam); },
                                Qt::QueuedConnection);
  }
}

}  // namespace vzt

extern "C" __attribute__((visibility("default"))) void SerQorHostMessage(unsigned msg, vzt::WParam wparam,
                                                                        vzt::LParam lparam) {
  static_assert(std::is_same_v<decltype(&SerQorHostMessage), vzt::HostMessageHookFn>);
  vzt::LinkMessageRouter::Deliver(msg, wparam, lparam);
}
