#include "app/MainThreadWake.h"

#include <QCoreApplication>

#include "platform/MainThread.h"

namespace vzt {

void RunMainThreadCallsInEventLoop() {
  MainThread& mainThread = MainThread::Instance();
  mainThread.BindToCurrentThread();
  mainThread.SetWakeHandler([] {
    if (QCoreApplication* application = QCoreApplication::instance())
      QMetaObject::invokeMethod(application, [] { MainThread::Instance().ProcessPending(); },
                                Qt::QueuedConnection);
  });
}

void StopMainThreadWake() { MainThread::Instance().SetWakeHandler(nullptr); }

}  // namespace vzt
