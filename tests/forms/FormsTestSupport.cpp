#include "FormsTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "components/translator/Translator.h"
#include "platform/MainThread.h"
#include "platform/NumberText.h"

namespace vzt::test {

namespace {

std::mutex& HookLock() {
  static std::mutex lock;
  return lock;
}

std::vector<HookMessage>& HookQueue() {
  static std::vector<HookMessage> queue;
  return queue;
}

}  // namespace

void FormHost::UpdateOptionalFields() {
  RecordingHost::UpdateOptionalFields();
  if (form) form->UpdateOptionalFields();
}

void FormHost::UpdateChangeoverFields() {
  RecordingHost::UpdateChangeoverFields();
  if (form) form->UpdateChangeoverFields();
}

void FormHost::SetLamp(LampGroup group, int index, int percent) {
  RecordingHost::SetLamp(group, index, percent);
  if (form) form->SetLamp(group, index, percent);
}

void FormHost::SetDefaultPositionColour(std::uint32_t rgb) {
  RecordingHost::SetDefaultPositionColour(rgb);
  if (form) form->SetDefaultPositionColour(rgb);
}

std::vector<HookMessage> TakeHookMessages() {
  std::lock_guard guard(HookLock());
  std::vector<HookMessage> taken;
  taken.swap(HookQueue());
  return taken;
}

std::string LanguageLibraryPath() {
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
  return (program.parent_path() / "Dizionario" / "Languages.dll").string();
}

void FormFixture::TearDown() {
  host.form = nullptr;
  form.reset();
  module.reset();
  TakeHookMessages();
  unsetenv("SERQOR_DEVICE");
  SetDecimalSeparator('\0');
}

void FormFixture::CreateWindow(FormConfigOptions options) {
  if (!options.screen.isValid()) options.screen = QSize(800, 600);
  if (!options.wait) options.wait = [](std::uint32_t) {};
  form = std::make_unique<TFormConfig>(*module, nullptr, options);
  host.form = form.get();
}

void FormFixture::CreateOffline(FormConfigOptions options) {
  SetDecimalSeparator('.');
  DataModuleOptions moduleOptions;
  moduleOptions.host = &host;
  moduleOptions.dllName = "NoLibraryHere.dll";
  moduleOptions.wait = [](std::uint32_t) {};
  module = std::make_unique<TSerialDataModule>(moduleOptions);
  CreateWindow(std::move(options));
}

void FormFixture::CreateConnected(std::vector<std::string> simulatorArgs, FormConfigOptions options) {
  SetDecimalSeparator('.');
  simulatorArgs.insert(simulatorArgs.end(), {"--eeprom", simulator.EepromPath()});
  ASSERT_TRUE(simulator.Start(simulatorArgs));
  setenv("SERQOR_DEVICE", simulator.LinkPath().c_str(), 1);
  DataModuleOptions moduleOptions;
  moduleOptions.host = &host;
  moduleOptions.wait = [](std::uint32_t) {};
  module = std::make_unique<TSerialDataModule>(moduleOptions);
  CreateWindow(std::move(options));
  ASSERT_EQ(module->Connect(4, 0), kConnectDone);
  DeliverLinkMessages();
  ASSERT_TRUE(LinkOpen());
}

void FormFixture::ShowWindow() {
  module->DataRefresher()->SetEnabled(true);
  form->show();
  form->activateWindow();
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

void FormFixture::DeliverLinkMessages() {
  for (const HookMessage& m : TakeHookMessages())
    if (m.msg == MSG_LINK_STATE && (m.lparam == 0 || m.lparam == 1)) form->LinkState(m.lparam == 1, u"USB");
}

void FormFixture::Pump(std::chrono::milliseconds duration, const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < until) {
    MainThread::Instance().WaitAndProcess(std::chrono::milliseconds(10));
    QCoreApplication::processEvents();
    if (done && done()) return;
  }
}

EcuMemory::Image FormFixture::Memory() const {
  EcuMemory::Image image{};
  std::ifstream in(simulator.EepromPath(), std::ios::binary);
  in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
  return image;
}

bool FormFixture::LinkOpen() const {
  const TQorConnection* c = module->QorConnection();
  return c->Loaded() && c->Link() && c->Link()->IsOpen() != 0;
}

TQorNumber& FormFixture::Item(const char* name) const {
  TQorNumber* item = module->Number(name);
  if (!item) throw std::runtime_error(std::string("no item ") + name);
  return *item;
}

void FormFixture::Focus(QWidget& control) {
  // A window that a modal dialog has just left may not be active again yet.
  QWidget* window = control.window();
  if (!window->isActiveWindow()) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }
  control.setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  ASSERT_TRUE(control.hasFocus());
}

void FormFixture::ApplyEnglish() {
  TTranslator& translator = *module->Translator();
  translator.SetDllName(LanguageLibraryPath());
  ASSERT_TRUE(translator.LoadLanguageLibrary()) << translator.LibraryProblem();
  translator.SetLanguage(1);
  module->LoadSharedTexts();
  form->ApplyTexts(translator);
}

void FormFixture::TypeAndEnter(QWidget& box, const QString& text) {
  Focus(box);
  if (auto* edit = qobject_cast<QLineEdit*>(&box)) edit->selectAll();
  QTest::keyClicks(&box, text);
  QTest::keyClick(&box, Qt::Key_Return);
}

}  // namespace vzt::test

// The hook the communication library looks up among the program's symbols.
extern "C" __attribute__((visibility("default"))) void SerQorHostMessage(unsigned msg, vzt::WParam wparam,
                                                                        vzt::LParam lparam) {
  std::lock_guard guard(vzt::test::HookLock());
  vzt::test::HookQueue().push_back({msg, wparam, lparam});
}
