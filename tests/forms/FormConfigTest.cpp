// The vehicle configuration window without a controller: its resource, its size on
// different screens, keys, focus chain, limit hint, texts, popup menu and panel hooks.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include "FormsTestSupport.h"
#include "app/ConfigWindowAdapter.h"
#include "components/controls/ChildLabel.h"
#include "components/controls/QorCheckBox.h"
#include "components/controls/QorComboBox.h"
#include "components/controls/QorLabel.h"
#include "components/controls/ValueEditEx.h"
#include "components/translator/Translator.h"
#include "forms/PageControl.h"
#include "forms/PlainControl.h"
#include "forms/TabSheet.h"
#include "platform/NumberText.h"
#include "platform/widgets/PanelStatusBar.h"

using namespace vzt;
using vzt::test::FormFixture;

namespace {

class FormConfigTest : public FormFixture {
 protected:
  TPlainLabel& Hint() const { return Control<TPlainLabel>("LabelLimite"); }
  QString FocusedName() const {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
  }
};

TEST_F(FormConfigTest, ResourceLoadsWithThePagesInOrder) {
  CreateOffline();
  for (const ResourceError& e : form->ResourceErrors())
    ADD_FAILURE() << e.component << "." << e.property << ": " << e.reason;
  TPageControl* pages = form->PageControl();
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->PageCount(), 3);
  const char* names[] = {"TabSheet1", "TabSheet3", "TabSheet2"};
  const char* captions[] = {"Configurazione Vettura", "Attuatore", "Configurazioni Opzionali"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(pages->Page(i)->Name(), names[i]);
    EXPECT_EQ(pages->tabText(i), QString::fromUtf8(captions[i]));
  }
  EXPECT_EQ(form->windowTitle(), "Orvane R05U");
  EXPECT_EQ(form->StatusBar()->PanelText(0), "Centralina non connessa");
  EXPECT_FALSE(Control<QWidget>("ButtonReset").isEnabled());
}

struct ScreenCase {
  int width, height;
  int minHeight, maxHeight, width808;
  int editSpacing, comboSpacing, liveSpacing;
};

class ScreenTest : public FormConfigTest, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(ScreenTest, ConstraintsAndCaptionSpacingsFollowTheScreen) {
  const ScreenCase& c = GetParam();
  FormConfigOptions options;
  options.screen = QSize(c.width, c.height);
  CreateOffline(options);
  EXPECT_EQ(form->minimumHeight(), c.minHeight);
  EXPECT_EQ(form->maximumHeight(), c.maxHeight);
  EXPECT_EQ(form->minimumWidth(), c.width808);
  EXPECT_EQ(form->maximumWidth(), c.width808);
  EXPECT_EQ(Control<TValueEditEx>("QorValEditTempCambio").EditLabel()->LabelSpacing(), c.editSpacing);
  EXPECT_EQ(Control<TQorComboBox>("QorComboTipoAcc").ComboLabel()->LabelSpacing(), c.comboSpacing);
  EXPECT_EQ(Control<TQorLabel>("QorLabelGiri").ChildLabel()->LabelSpacing(), c.liveSpacing);
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenTest,
                         ::testing::Values(ScreenCase{800, 600, 580, 600, 808, 530, 550, 122},
                                           // 530 x 1024 / 800 = 678.4, truncated
                                           ScreenCase{1024, 768, 742, 768, 1034, 678, 704, 156},
                                           // a minimum above the screen's height raises the maximum
                                           ScreenCase{1280, 720, 928, 928, 1292, 848, 880, 195}));

TEST_F(FormConfigTest, PageKeysWrapAndAltQCloses) {
  CreateOffline();
  ShowWindow();
  auto& first = Control<TQorComboBox>("QorComboTipoAcc");
  Focus(first);
  TPageControl* pages = form->PageControl();
  const auto press = [this](int key, Qt::KeyboardModifiers shift = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : form.get(), static_cast<Qt::Key>(key), shift);
  };
  press(Qt::Key_PageUp);
  EXPECT_EQ(pages->currentIndex(), 2);
  press(Qt::Key_PageDown);
  EXPECT_EQ(pages->currentIndex(), 0);
  press(Qt::Key_PageDown);
  press(Qt::Key_PageDown);
  EXPECT_EQ(pages->currentIndex(), 2);
  press(Qt::Key_PageDown);
  EXPECT_EQ(pages->currentIndex(), 0);
  press(Qt::Key_Escape);
  EXPECT_TRUE(form->isVisible());
  press(Qt::Key_Q);
  EXPECT_TRUE(form->isVisible());
  press(Qt::Key_PageUp);
  press(Qt::Key_Q, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_FALSE(form->isVisible());
  // Shown again, it opens on the first page.
  ShowWindow();
  EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_F(FormConfigTest, ArrowsFollowTheChainAndSkipTheHiddenSelector) {
  CreateOffline();
  ShowWindow();
  Focus(Control<QWidget>("QorComboTipoAcc"));
  const QStringList down = {"QorComboTipoSegnaleGiri", "QorComboTipoCambio", "QorValEditTempCambio",
                            "QorValEditNGiriCambio",   "QorValEditTempSovr", "QorComboTipoSensore",
                            "QorComboTipoTPS",         "QorComboTipoSonda",  "QorValEditRitardoSonda",
                            "QorComboTipoEmul",        "QorComboTipoAcc"};
  for (const QString& next : down) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(FocusedName(), next);
  }
  // Up from the overlap time: the selector it names is never shown, so the tab order decides.
  Focus(Control<QWidget>("QorComboTipoSensore"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
  EXPECT_EQ(FocusedName(), "QorValEditTempSovr");
}

struct HintCase {
  const char* box;
  int page;
  char separator;
  const char* text;
  const char* leaveTo;
};

void PrintTo(const HintCase& c, std::ostream* os) { *os << c.box; }

class HintTest : public FormConfigTest, public ::testing::WithParamInterface<HintCase> {};

TEST_P(HintTest, EnteringABoxShowsItsRangeBesideIt) {
  const HintCase& c = GetParam();
  CreateOffline();
  SetDecimalSeparator(c.separator);
  ShowWindow();
  form->PageControl()->SetActivePageIndex(c.page);
  auto& box = Control<TValueEditEx>(c.box);
  Focus(box);
  TPlainLabel& hint = Hint();
  EXPECT_TRUE(hint.isVisible());
  EXPECT_EQ(hint.text(), QString::fromUtf8(c.text));
  EXPECT_EQ(hint.parentWidget(), box.parentWidget());
  EXPECT_EQ(hint.x(), box.x() + box.width() + 15);
  EXPECT_EQ(hint.y(), box.y() + (box.height() - hint.height()) / 2);
  Focus(Control<QWidget>(c.leaveTo));
  EXPECT_FALSE(hint.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Boxes, HintTest,
                         ::testing::Values(HintCase{"QorValEditNGiriCambio", 0, '.', "(0;3000 RPM)", "QorComboTipoAcc"},
                                           HintCase{"QorValEditTempCambio", 0, '.', "(0;40 °C)", "QorComboTipoAcc"},
                                           HintCase{"QorValEditTempSovr", 0, ',', "(0;1 s)", "QorComboTipoAcc"},
                                           HintCase{"QorValEditMinPos", 1, '.', "(20;240 )", "QorCheckBoxAff"},
                                           HintCase{"QorValEditIstMinTPS", 2, ',', "(0;0,5 V)", "QorCheckBoxGuidaEco"}),
                         [](const auto& info) { return std::string(info.param.box); });

TEST_F(FormConfigTest, ABoxWithoutAnItemLeavesTheHintAsItWas) {
  CreateOffline();
  ShowWindow();
  form->PageControl()->SetActivePageIndex(1);
  auto& maxPosition = Control<TValueEditEx>("QorValEditMaxPos");
  Focus(maxPosition);
  form->QorValEditNGiriCambioEnter(&Control<TValueEditEx>("ValueEditTempoAffondata"));
  EXPECT_TRUE(Hint().isVisible());
  EXPECT_EQ(Hint().text(), "(0;240 )");
  EXPECT_EQ(Hint().x(), maxPosition.x() + maxPosition.width() + 15);
}

TEST_F(FormConfigTest, TextsOfTheLanguageLibrary) {
  CreateOffline();
  TTranslator& translator = *module->Translator();
  translator.SetDllName(test::LanguageLibraryPath());
  ASSERT_TRUE(translator.LoadLanguageLibrary()) << translator.LibraryProblem();
  translator.SetLanguage(1);
  Item("TipoCambio").SetInt(2);
  form->ApplyTexts(translator);

  EXPECT_EQ(form->windowTitle(), QString::fromStdU16String(translator.GetString(3, 0)));
  EXPECT_EQ(form->PageControl()->tabText(2), "Optional Settings");
  EXPECT_EQ(Control<TValueEditEx>("QorValEditNGiriCambio").EditLabel()->text(), "Changeover RPM");
  EXPECT_EQ(Control<TQorLabel>("QorLabelLambda").ChildLabel()->text(), "Lambda");
  EXPECT_EQ(Control<QAbstractButton>("ButtonReset").text(), "Erase EEPROM");
  EXPECT_EQ(Control<TPlainLabel>("LabelGiriCutOff").text(), "RPM");
  auto& mode = Control<TQorComboBox>("QorComboTipoCambio");
  EXPECT_EQ(mode.ComboLabel()->text(), "Changeover Type");
  EXPECT_EQ(mode.count(), 3);
  EXPECT_EQ(mode.currentText(), "Start on Gas");  // the item's value shown again
  EXPECT_EQ(Control<TQorComboBox>("QorComboTipoSensore").count(), 3);
  EXPECT_EQ(Control<TQorComboBox>("QorComboTipoEmul").itemText(2), "Built wave");
}

TEST_F(FormConfigTest, WithoutALanguageLibraryTheTextsAreEmpty) {
  CreateOffline();
  form->ApplyTexts(*module->Translator());
  EXPECT_EQ(form->windowTitle(), "");
  EXPECT_EQ(Control<TValueEditEx>("QorValEditTempSovr").EditLabel()->text(), "");
  EXPECT_EQ(Control<TQorCheckBox>("QorCheckBoxAff").text(), "");
  auto& throttle = Control<TQorComboBox>("QorComboTipoTPS");
  EXPECT_EQ(throttle.count(), 6);
  EXPECT_EQ(throttle.itemText(5), "");
  EXPECT_EQ(Control<TQorComboBox>("QorComboTipoSensore").count(), 3);
}

TEST_F(FormConfigTest, PopupMenuOffersEveryLanguage) {
  SetDecimalSeparator('.');
  DataModuleOptions moduleOptions;
  moduleOptions.host = &host;
  moduleOptions.dllName = "NoLibraryHere.dll";
  module = std::make_unique<TSerialDataModule>(moduleOptions);
  module->Translator()->SetDllName(test::LanguageLibraryPath());
  ASSERT_TRUE(module->Translator()->LoadLanguageLibrary());
  std::vector<int> chosen;
  FormConfigOptions options;
  options.chooseLanguage = [&chosen](int language) { chosen.push_back(language); };
  CreateWindow(options);

  const QList<QAction*> actions = form->PopupMenuConfig()->actions();
  const int languages = module->Translator()->LanguageCount();
  ASSERT_GE(languages, 2);
  ASSERT_EQ(actions.size(), 1 + languages);  // the separator, then the languages
  EXPECT_TRUE(actions[0]->isSeparator());
  for (int i = 0; i < languages; ++i) {
    QAction* entry = actions[1 + i];
    EXPECT_EQ(entry->objectName(), QString("MenuLingua%1").arg(i));
    EXPECT_EQ(entry->text(), QString::fromStdU16String(module->Translator()->GetLanguageName(i)));
  }
  actions[2]->trigger();
  EXPECT_EQ(chosen, std::vector<int>{1});
}

// Stands for the main window: its connect actions and its language handler.
class OwnerWindow : public QWidget {
  Q_OBJECT

 public:
  OwnerWindow() {
    for (const char* name : {"ActionConnect", "ActionDisconnect"}) {
      auto* action = new QAction(QString(name), this);
      action->setObjectName(name);
    }
  }
  std::vector<int> chosen;

 public slots:
  void ToolButtonLingueClick(int language) { chosen.push_back(language); }
};

TEST_F(FormConfigTest, PopupMenuSharesTheOwnersActionsAndLanguageHandler) {
  SetDecimalSeparator('.');
  DataModuleOptions moduleOptions;
  moduleOptions.host = &host;
  moduleOptions.dllName = "NoLibraryHere.dll";
  module = std::make_unique<TSerialDataModule>(moduleOptions);
  OwnerWindow owner;
  form = std::make_unique<TFormConfig>(*module, &owner, FormConfigOptions{QSize(800, 600), {}, {}});
  const QList<QAction*> actions = form->PopupMenuConfig()->actions();
  ASSERT_EQ(actions.size(), 4);
  EXPECT_EQ(actions[0], owner.findChild<QAction*>("ActionConnect"));
  EXPECT_EQ(actions[1], owner.findChild<QAction*>("ActionDisconnect"));
  EXPECT_TRUE(actions[2]->isSeparator());
  actions[3]->trigger();
  EXPECT_EQ(owner.chosen, std::vector<int>{0});
  form.reset();
}

TEST_F(FormConfigTest, WithoutALanguageLibraryThereIsOneNamelessLanguage) {
  CreateOffline();
  const QList<QAction*> actions = form->PopupMenuConfig()->actions();
  ASSERT_EQ(actions.size(), 2);
  EXPECT_EQ(actions[1]->objectName(), "MenuLingua0");
  EXPECT_EQ(actions[1]->text(), "");
}

struct LampCase {
  LampGroup group;
  int index;
  const char* lamp;  // null: no lamp answers to it
};

TEST_F(FormConfigTest, LampsAndTheDefaultPositionColour) {
  CreateOffline();
  const LampCase cases[] = {
      {LampGroup::Lambda, 0, "LMDProgressFillLambda0"}, {LampGroup::Lambda, 2, "LMDProgressFillLambda2"},
      {LampGroup::Throttle, 0, "LMDProgressFillTPS0"},  {LampGroup::Throttle, 3, "LMDProgressFillTPS3"},
      {LampGroup::Lambda, 3, nullptr},                  {LampGroup::Throttle, -1, nullptr},
      {LampGroup::Throttle, 4, nullptr},
  };
  const char* lamps[] = {"LMDProgressFillLambda0", "LMDProgressFillLambda1", "LMDProgressFillLambda2",
                         "LMDProgressFillTPS0",    "LMDProgressFillTPS1",    "LMDProgressFillTPS2",
                         "LMDProgressFillTPS3"};
  for (const LampCase& c : cases) {
    for (const char* lamp : lamps) Control<ProgressFill>(lamp).SetPosition(0);
    form->SetLamp(c.group, c.index, 100);
    for (const char* lamp : lamps)
      EXPECT_EQ(Control<ProgressFill>(lamp).Position(), c.lamp && std::string_view(c.lamp) == lamp ? 100 : 0)
          << lamp << " after lamp " << c.index;
  }
  EXPECT_EQ(Control<ProgressFill>("LMDProgressFillTPS3").FillColorAt(0), QColor(Qt::red));

  auto& label = Control<TQorLabel>("QorLabelDefault");
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 255, 255));
  form->SetDefaultPositionColour(0xFFFF00);
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(255, 255, 0));
}

// The program reaches the window through its adapter, which finds the status bar by name.
TEST_F(FormConfigTest, TheProgramsAdapterDrivesTheWindow) {
  CreateOffline();
  ConfigWindowAdapter<TFormConfig> adapter(*module, nullptr);
  adapter.SetConnectionText("Connected elsewhere");
  EXPECT_EQ(adapter.Window().StatusBar()->PanelText(0), "Connected elsewhere");
  adapter.SetLamp(LampGroup::Lambda, 1, 100);
  EXPECT_EQ(adapter.Window().Control<ProgressFill>("LMDProgressFillLambda1")->Position(), 100);
  EXPECT_EQ(&adapter.Dialog(), &adapter.Window());
}

TEST_F(FormConfigTest, LinkStateInTheStatusBar) {
  CreateOffline();
  module->Texts().TextConnected = u"Connected";
  module->Texts().TextNotConnected = u"Not connected";
  PanelStatusBar& bar = *form->StatusBar();
  form->LinkState(true, u"COM2");
  EXPECT_EQ(bar.PanelText(0), "Connected");
  EXPECT_EQ(bar.PanelFontColor(0), QColor(0, 128, 0));
  EXPECT_EQ(bar.PanelText(1), "PORT: COM2");
  EXPECT_TRUE(Control<QWidget>("ButtonReset").isEnabled());
  form->LinkState(false, u"COM2");
  EXPECT_EQ(bar.PanelText(0), "Not connected");
  EXPECT_EQ(bar.PanelFontColor(0), QColor(255, 0, 0));
  EXPECT_EQ(bar.PanelText(1), "");
  EXPECT_FALSE(Control<QWidget>("ButtonReset").isEnabled());
}

}  // namespace

#include "FormConfigTest.moc"
