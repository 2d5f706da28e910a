// The vehicle configuration window on the simulated controller, through the real
// communication library: live data, every visible parameter, dependent fields, the memory
// erase, the link going away, the built-wave dialog, and a configuration saved and loaded.

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <set>

#include "FormsTestSupport.h"
#include "components/comm/DataRefresher.h"
#include "components/controls/QorCheckBox.h"
#include "components/controls/QorComboBox.h"
#include "components/controls/QorLabel.h"
#include "components/controls/ValueEditEx.h"
#include "forms/FormOndaCostruita.h"
#include "forms/PageControl.h"
#include "forms/PlainControl.h"
#include "platform/widgets/PanelStatusBar.h"

using namespace vzt;
using namespace std::chrono_literals;
using vzt::test::FormFixture;

namespace {

const char* const kLambdaLamps[] = {"LMDProgressFillLambda0", "LMDProgressFillLambda1", "LMDProgressFillLambda2"};
const char* const kThrottleLamps[] = {"LMDProgressFillTPS0", "LMDProgressFillTPS1", "LMDProgressFillTPS2",
                                      "LMDProgressFillTPS3"};

class FormConfigEndToEndTest : public FormFixture {
 protected:
  void ShowPageOf(const QWidget& control) {
    TPageControl* pages = form->PageControl();
    for (int i = 0; i < pages->PageCount(); ++i)
      if (pages->widget(i)->isAncestorOf(&control)) pages->SetActivePageIndex(i);
    QCoreApplication::processEvents();
  }

  // On the box or the button's left end, where a check box takes clicks.
  void Click(QAbstractButton& button) {
    ShowPageOf(button);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button.height() / 2));
  }

  // A choice in a list with its list closed, by a key: written at once.
  void Choose(TQorComboBox& combo, Qt::Key key) {
    ShowPageOf(combo);
    Focus(combo);
    QTest::keyClick(&combo, key);
  }

  int Lit(const char* const* lamps, int count) const {
    int lit = -1;
    for (int i = 0; i < count; ++i)
      if (Control<ProgressFill>(lamps[i]).Position() == 100) lit = lit == -1 ? i : -2;
    return lit;
  }

  bool Shown(const char* name) const { return Control<QWidget>(name).isVisible(); }
};

TEST_F(FormConfigEndToEndTest, LivePanelFollowsTheEngine) {
  CreateConnected();
  ShowWindow();
  auto& speed = Control<TQorLabel>("QorLabelGiri");
  auto& position = Control<TQorLabel>("QorLabelDefault");
  const QColor yellow(255, 255, 0);
  Pump(15s, [&] {
    return speed.ShownValue() > 0 && position.palette().color(QPalette::WindowText) == yellow &&
           Lit(kLambdaLamps, 3) >= 0 && Lit(kThrottleLamps, 4) >= 0;
  });
  EXPECT_GT(speed.ShownValue(), 0);
  EXPECT_TRUE(speed.text().endsWith(" RPM")) << speed.text().toStdString();
  EXPECT_EQ(speed.ShownValue(), module->Packet("ValoreGiri")->GetDouble());
  EXPECT_EQ(Control<TQorLabel>("QorLabelMotore").ShownValue(), module->Packet("ValorePosizioneAttuatore")->GetDouble());
  EXPECT_TRUE(Control<TQorLabel>("QorLabelTemperatura").text().endsWith(" °C"));
  // The controller has learnt its default position since the engine started.
  EXPECT_EQ(position.palette().color(QPalette::WindowText), yellow);
  // Exactly the lamp of each band is lit.
  EXPECT_EQ(Lit(kLambdaLamps, 3), module->Packet("FasciaLambda")->RawValue());
  EXPECT_EQ(Lit(kThrottleLamps, 4), module->Packet("FasciaTPS")->RawValue());

  // The engine revs up and down: the speed shown moves.
  std::set<double> speeds;
  Pump(10s, [&] {
    speeds.insert(speed.ShownValue());
    return speeds.size() >= 3;
  });
  EXPECT_GE(speeds.size(), 3u);
}

struct EditCase {
  const char* box;
  const char* typed;
  int address;
  int byte;           // what the controller holds afterwards
  const char* shown;  // what the box shows afterwards
};

TEST_F(FormConfigEndToEndTest, EveryVisibleParameterReachesTheController) {
  CreateConnected();
  ShowWindow();
  ApplyEnglish();
  // The option boxes first, so that their fields show.
  for (const char* option : {"QorCheckBoxDef", "QorCheckBoxAff", "QorCheckBoxCutOff", "QorCheckBoxGuidaEco"})
    Click(Control<QAbstractButton>(option));
  EXPECT_EQ(Memory()[162] & 0x0D, 0x0D);
  EXPECT_EQ(Memory()[164] & 0x08, 0x08);

  const EditCase edits[] = {
      {"QorValEditNGiriCambio", "2500", 223, 47, "2500"},  // 117000 / 2500 = 46.8
      {"QorValEditTempSovr", "0.6", 216, 151, "0.6"},
      {"QorValEditRitardoSonda", "20", 205, 4, "20"},
      {"QorValEditMaxPos", "200", 207, 200, "200"},
      {"QorValEditMinPos", "30", 208, 30, "30"},
      {"QorValEditPosDef", "250", 168, 200, "200"},        // bounded by the maximum opening now
      {"QorValEditPosAff", "120", 167, 120, "120"},
      {"QorValEditTPSAff", "3", 166, 153, "3"},
      {"QorValEditGiriCutOff", "2000", 204, 59, "2000"},   // 58.5 rounds to 59; 1983 shows as 2000
      {"QorValEditPosCutOff", "90", 206, 90, "90"},
      {"QorValEditIstMinTPS", "0.2", 194, 10, "0.2"},
      {"QorValEditTempCambio", "100", 224, -1, "40"},      // held at the upper limit
  };
  for (const EditCase& c : edits) {
    SCOPED_TRACE(c.box);
    auto& box = Control<TValueEditEx>(c.box);
    ShowPageOf(box);
    ASSERT_TRUE(box.isVisible());
    TypeAndEnter(box, c.typed);
    EXPECT_EQ(box.text(), c.shown);
    const int expected = c.byte >= 0 ? c.byte : box.Value()->RawValue();
    EXPECT_EQ(Memory()[static_cast<std::size_t>(c.address)], expected);
  }

  struct ListCase {
    const char* combo;
    Qt::Key key;
    int address, mask, bits;
  };
  const ListCase lists[] = {
      {"QorComboTipoAcc", Qt::Key_End, 163, 0x07, 5},
      {"QorComboTipoSegnaleGiri", Qt::Key_End, 164, 0x10, 0x10},
      {"QorComboTipoSensore", Qt::Key_End, 164, 0x07, 4},  // the third entry, table value 4
      {"QorComboTipoTPS", Qt::Key_End, 164, 0xE0, 5 << 5},
      {"QorComboTipoSonda", Qt::Key_End, 165, 0xE0, 5 << 5},
      {"QorComboTipoEmul", Qt::Key_Home, 163, 0x60, 0},
  };
  for (const ListCase& c : lists) {
    SCOPED_TRACE(c.combo);
    Choose(Control<TQorComboBox>(c.combo), c.key);
    EXPECT_EQ(Memory()[static_cast<std::size_t>(c.address)] & c.mask, c.bits);
  }
}

TEST_F(FormConfigEndToEndTest, ChangeoverModeTwoShowsThePrimingTimeInstead) {
  CreateConnected();
  ShowWindow();
  EXPECT_TRUE(Shown("QorValEditNGiriCambio"));
  EXPECT_TRUE(Shown("LabelGiriCambio"));
  EXPECT_FALSE(Shown("QORValueEditTempoDiCicchetto"));
  auto& mode = Control<TQorComboBox>("QorComboTipoCambio");
  Choose(mode, Qt::Key_End);
  EXPECT_EQ(Memory()[163] & 0x18, 0x10);
  EXPECT_EQ(Memory()[223], 40);  // 0.8 s of priming
  EXPECT_FALSE(Shown("QorValEditNGiriCambio"));
  EXPECT_FALSE(Shown("LabelGiriCambio"));
  EXPECT_TRUE(Shown("QORValueEditTempoDiCicchetto"));
  EXPECT_TRUE(Shown("LabelSecCicchetto"));
  EXPECT_EQ(Control<TValueEditEx>("QORValueEditTempoDiCicchetto").text(), "0.8");

  TypeAndEnter(Control<TValueEditEx>("QORValueEditTempoDiCicchetto"), "1.2");
  EXPECT_EQ(Memory()[223], 60);

  Choose(mode, Qt::Key_Home);
  EXPECT_EQ(Memory()[163] & 0x18, 0);
  EXPECT_EQ(Memory()[223], 59);  // 2000 RPM again
  EXPECT_TRUE(Shown("QorValEditNGiriCambio"));
  EXPECT_FALSE(Shown("QORValueEditTempoDiCicchetto"));
  EXPECT_FALSE(Shown("LabelSecCicchetto"));
}

struct OptionCase {
  const char* box;
  int bit;
  std::vector<const char*> fields;
};

TEST_F(FormConfigEndToEndTest, OptionBoxesShowTheirFields) {
  CreateConnected();
  ShowWindow();
  const OptionCase options[] = {
      {"QorCheckBoxAff",
       0x01,
       {"QorValEditPosAff", "QorValEditTPSAff", "ValueEditTempoAffondata", "LabelUnitTempoAffondata", "LabelTPSAff"}},
      {"QorCheckBoxCutOff", 0x04, {"QorValEditGiriCutOff", "QorValEditPosCutOff", "LabelGiriCutOff"}},
      {"QorCheckBoxDef", 0x08, {"QorValEditPosDef"}},
  };
  for (const OptionCase& c : options) {
    SCOPED_TRACE(c.box);
    auto& box = Control<QAbstractButton>(c.box);
    const bool before = box.isChecked();
    for (bool checked : {!before, before}) {
      Click(box);
      EXPECT_EQ(box.isChecked(), checked);
      EXPECT_EQ((Memory()[162] & c.bit) != 0, checked);
      for (const char* field : c.fields) EXPECT_EQ(Shown(field), checked) << field;
    }
  }
}

TEST_F(FormConfigEndToEndTest, EraseAsksAndRestoresTheFactoryConfiguration) {
  CreateConnected();
  ShowWindow();
  ApplyEnglish();
  auto& cutOff = Control<TValueEditEx>("QorValEditGiriCutOff");
  Click(Control<QAbstractButton>("QorCheckBoxCutOff"));
  TypeAndEnter(cutOff, "2000");
  EXPECT_EQ(Memory()[204], 59);
  EXPECT_TRUE(Shown("QorValEditGiriCutOff"));
  auto& reset = Control<QAbstractButton>("ButtonReset");
  host.messages.clear();
  host.cursor.clear();

  host.answer = MessageResult::No;
  Click(reset);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, module->Texts().TextEraseConfirm);
  EXPECT_EQ(host.messages[0].caption, form->windowTitle().toStdU16String());
  EXPECT_EQ(host.messages[0].owner, MessageOwner::ConfigWindow);
  EXPECT_EQ(Memory()[204], 59);
  EXPECT_TRUE(host.cursor.empty());

  host.answer = MessageResult::Yes;
  Click(reset);
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.cursor, (std::vector<bool>{true, false}));
  EXPECT_EQ(Memory()[204], 78);  // 1500 RPM, as it left the factory
  EXPECT_EQ(Memory()[162], 32);
  EXPECT_EQ(cutOff.text(), "1500");
  EXPECT_FALSE(Shown("QorValEditGiriCutOff"));
  EXPECT_TRUE(module->DataRefresher()->GetEnabled());
}

TEST_F(FormConfigEndToEndTest, LinkGoingAwayStopsTheLiveData) {
  CreateConnected({"--unplug-after-ms", "4000"});
  ShowWindow();
  module->Texts().TextNotConnected = u"Not connected";
  auto& speed = Control<TQorLabel>("QorLabelGiri");
  Pump(15s, [&] {
    DeliverLinkMessages();
    return !LinkOpen();
  });
  ASSERT_FALSE(LinkOpen());
  // The refresh thread parks itself at the end of its sleep.
  Pump(2s, [this] { return !module->DataRefresher()->GetEnabled(); });
  EXPECT_FALSE(module->DataRefresher()->GetEnabled());
  EXPECT_EQ(speed.ShownValue(), 0);
  EXPECT_EQ(speed.text(), "0 RPM");
  EXPECT_EQ(Control<TQorLabel>("QorLabelLambda").text(), "0.00 V");
  EXPECT_FALSE(Control<QWidget>("ButtonReset").isEnabled());
  EXPECT_EQ(form->StatusBar()->PanelText(0), "Not connected");
  EXPECT_EQ(form->StatusBar()->PanelText(1), "");
}

TEST_F(FormConfigEndToEndTest, BuiltWaveEntryOpensTheWaveDialog) {
  CreateConnected();
  ShowWindow();
  ApplyEnglish();
  auto& emulation = Control<TQorComboBox>("QorComboTipoEmul");
  // Every letter starts a new search for an entry once a moment has passed.
  QApplication::setKeyboardInputInterval(0);
  int opened = 0;
  int typeWhileOpen = -1;
  const auto choose = [&](Qt::Key key) {
    Focus(emulation);
    QTest::qWait(5);
    QTimer::singleShot(0, [&] {
      if (auto* dialog = dynamic_cast<TFormOndaCostruita*>(QApplication::activeModalWidget())) {
        ++opened;
        EXPECT_EQ(form->WaveDialog(), dialog);
        typeWhileOpen = Memory()[163] & 0x60;
        dialog->reject();
      }
    });
    QTest::keyClick(&emulation, key);
    QCoreApplication::processEvents();
  };
  choose(Qt::Key_B);  // "Built wave"
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(typeWhileOpen, 32);               // the dialog opens before the choice is written
  EXPECT_EQ(Memory()[163] & 0x60, 64);
  EXPECT_EQ(form->WaveDialog(), nullptr);
  choose(Qt::Key_S);  // "Standard wave"
  choose(Qt::Key_P);  // "Probe disconnected"
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(Memory()[163] & 0x60, 0);
  choose(Qt::Key_B);
  EXPECT_EQ(opened, 2);
}

TEST_F(FormConfigEndToEndTest, ConfigurationSavedAndLoadedBack) {
  CreateConnected();
  ShowWindow();
  auto& overlap = Control<TValueEditEx>("QorValEditTempSovr");
  TypeAndEnter(overlap, "0.6");
  const std::string file = simulator.PathOf("vehicle.qcf");
  ASSERT_TRUE(module->PauseRefresher());
  ASSERT_TRUE(module->Save(file));
  TypeAndEnter(overlap, "0.2");
  EXPECT_EQ(Memory()[216], 51);
  ASSERT_TRUE(module->Load(file));
  EXPECT_EQ(Memory()[216], 151);
  EXPECT_EQ(overlap.text(), "0.6");
}

}  // namespace
