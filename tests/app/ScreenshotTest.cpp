// Renders every window of the program into PNG files in the build folder, for a reviewer
// to look at: the main window connected to the simulated controller, the about box, the
// wait window and the stand-in configuration window.

#include <QAction>
#include <QDir>
#include <QMenu>

#include "AppFixture.h"
#include "app/AboutBox.h"
#include "app/FormAttesa.h"
#include "components/comm/Qorconnection.h"
#include "ecusim/SimulatorProcess.h"

using namespace vzt;
using vzt::test::AppFixture;

namespace {

class ScreenshotTest : public AppFixture {
 protected:
  void TearDown() override {
    AppFixture::TearDown();
    unsetenv("SERQOR_DEVICE");
  }

  static bool Save(QWidget& window, const char* name) {
    QDir().mkpath(VZT_SCREENSHOT_DIR);
    const QString path = QString(VZT_SCREENSHOT_DIR) + "/" + name;
    const QImage image = window.grab().toImage();
    return !image.isNull() && image.save(path) && QFileInfo(path).size() > 0;
  }

  SimulatorProcess simulator;
};

TEST_F(ScreenshotTest, RendersEveryWindow) {
  StoreLanguage(1);  // English, the language of the documentation
  ASSERT_TRUE(simulator.Start({"--eeprom", simulator.EepromPath()}));
  setenv("SERQOR_DEVICE", simulator.LinkPath().c_str(), 1);
  Create();
  ShowMain();
  QTest::keyClick(form.get(), Qt::Key_C, Qt::ControlModifier);
  ProcessEvents();
  ASSERT_TRUE(module->QorConnection()->Link() && module->QorConnection()->Link()->IsOpen());
  QTest::keyClick(form.get(), Qt::Key_Down);
  EXPECT_TRUE(Save(*form, "main.png"));

  EXPECT_TRUE(InspectModal<TAboutBox>([this] { form->Action("ActionAbout")->trigger(); },
                                      [](TAboutBox& box) { EXPECT_TRUE(Save(box, "about.png")); }));

  TFormAttesa wait(800);
  wait.SetCompletedText(module->Texts().TextCompleted);
  wait.SetCaption(module->Texts().TextWaitCaption);
  wait.SetMessage(module->Texts().TextWaitLabel);
  wait.StartAnimation();
  wait.Show();
  wait.SetProgress(40, true);
  EXPECT_TRUE(Save(wait, "wait.png"));

  config->Dialog().show();
  EXPECT_TRUE(Save(config->Dialog(), "config.png"));
  config->Dialog().hide();
}

}  // namespace
