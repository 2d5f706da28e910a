// Renders the configuration window's three pages and the wave construction dialog into PNG
// files in the build folder, connected to the simulated controller with English texts, for
// a reviewer to look at.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include "FormsTestSupport.h"
#include "components/controls/QorComboBox.h"
#include "components/controls/QorLabel.h"
#include "components/controls/ValueEditEx.h"
#include "forms/FormOndaCostruita.h"
#include "forms/PageControl.h"

using namespace vzt;
using namespace std::chrono_literals;

namespace {

class FormsScreenshotTest : public test::FormFixture {
 protected:
  static bool Save(QWidget& window, const QString& name) {
    QDir().mkpath(VZT_SCREENSHOT_DIR);
    const QString path = QString(VZT_SCREENSHOT_DIR) + "/" + name;
    const QImage image = window.grab().toImage();
    return !image.isNull() && image.save(path) && QFileInfo(path).size() > 0;
  }
};

TEST_F(FormsScreenshotTest, RendersThePagesAndTheWaveDialog) {
  CreateConnected();
  ApplyEnglish();
  form->LinkState(true, u"USB");
  ShowWindow();
  form->resize(form->minimumSize());
  // The engine running, the default position learnt, the options with their fields shown.
  Pump(15s, [this] {
    return Control<TQorLabel>("QorLabelGiri").ShownValue() > 1000 &&
           Control<TQorLabel>("QorLabelDefault").palette().color(QPalette::WindowText) == QColor(255, 255, 0);
  });
  for (const char* option : {"QorCheckBoxAff", "QorCheckBoxCutOff"}) Control<QAbstractButton>(option).click();
  Focus(Control<TValueEditEx>("QorValEditNGiriCambio"));

  for (int page = 0; page < 3; ++page) {
    form->PageControl()->SetActivePageIndex(page);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Save(*form, QString("config-%1.png").arg(page + 1)));
  }

  form->PageControl()->SetActivePageIndex(0);
  QApplication::setKeyboardInputInterval(0);
  auto& emulation = Control<TQorComboBox>("QorComboTipoEmul");
  Focus(emulation);
  bool saved = false;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = dynamic_cast<TFormOndaCostruita*>(QApplication::activeModalWidget())) {
      saved = Save(*dialog, "wave.png");
      dialog->reject();
    }
  });
  QTest::keyClick(&emulation, Qt::Key_B);
  EXPECT_TRUE(saved);
}

}  // namespace
