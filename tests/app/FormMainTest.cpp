// The main menu window: keys, mouse, commands, link state, status bar, language, scaling.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "AppFixture.h"
#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "fixtures/FakeLink.h"
#include "platform/widgets/PanelStatusBar.h"

using namespace vzt;
using vzt::test::AppFixture;

namespace {

const QColor kGreen(0, 128, 0);
const QColor kRed(Qt::red);

QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

class FormMainTest : public AppFixture {
 protected:
  void CreateShown(FormMainOptions options = {}) {
    Create(std::move(options));
    ShowMain();
  }

  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form.get(), key, modifiers);
  }

  void MoveMouseOver(int entry) {
    QLabel* label = form->EntryLabel(entry);
    const QPointF inside(5, 5);
    QMouseEvent move(QEvent::MouseMove, inside, label->mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(label, &move);
  }

  // Exactly the selected entry is marked, and the hidden arrow stands beside it.
  void ExpectMarked(int selected) {
    EXPECT_EQ(form->SelectedIndex(), selected);
    for (int i = 0; i < TFormMain::kMenuCount; ++i) {
      QLabel* label = form->EntryLabel(i);
      EXPECT_EQ(label->font().underline(), i == selected) << "entry " << i;
      EXPECT_EQ(TextColour(label), i == selected ? kRed : QColor(Qt::white)) << "entry " << i;
    }
    EXPECT_EQ(form->Label("LabelFreccia")->y(), form->EntryLabel(selected)->y());
    EXPECT_TRUE(form->Label("LabelFreccia")->isHidden());
  }

  PanelStatusBar& ConfigStatusBar() { return *config->Window().StatusBar(); }

  test::FakeLink link;  // outlives the data module that uses it
};

// ------------------------------------------------------------------ keys

struct ArrowCase {
  const char* what;
  std::vector<Qt::Key> keys;
  int selected;
};

void PrintTo(const ArrowCase& c, std::ostream* os) { *os << c.what; }

class ArrowKeysTest : public FormMainTest, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(ArrowKeysTest, SelectAndMarkTheEntry) {
  CreateShown();
  ExpectMarked(0);
  for (Qt::Key key : GetParam().keys) Press(key);
  ExpectMarked(GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(
    Menu, ArrowKeysTest,
    ::testing::Values(ArrowCase{"DownSelectsTheNext", {Qt::Key_Down}, 1},
                      ArrowCase{"UpFromTheFirstSelectsExit", {Qt::Key_Up}, 3},
                      ArrowCase{"DownFromExitSelectsTheFirst", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}, 0},
                      ArrowCase{"UpWalksBackwards", {Qt::Key_Up, Qt::Key_Up}, 2},
                      ArrowCase{"DownThenUpComesBack", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}, 1}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(FormMainTest, AltQClosesTheProgramAndQAloneDoesNot) {
  CreateShown();
  Press(Qt::Key_Q);
  EXPECT_TRUE(form->isVisible());
  Press(Qt::Key_Q, Qt::AltModifier);
  EXPECT_FALSE(form->isVisible());
}

// ------------------------------------------------------------------ commands

enum class Outcome { ConfigShown, SaveAsked, OpenAsked, Closed, Nothing };

class CommandTest;

struct CommandCase {
  const char* what;
  void (*act)(CommandTest&);
  Outcome outcome;
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.what; }

class CommandTest : public FormMainTest, public ::testing::WithParamInterface<CommandCase> {
 public:
  void Key(Qt::Key key) { Press(key); }
  void EnterOn(int entry) {
    for (int i = 0; i < entry; ++i) Press(Qt::Key_Down);
    Press(Qt::Key_Return);
  }
  void Click(int entry) { QTest::mouseClick(form->EntryLabel(entry), Qt::LeftButton, {}, QPoint(5, 5)); }

  Outcome Observe(bool configShown) const {
    if (configShown) return Outcome::ConfigShown;
    if (!form->isVisible()) return Outcome::Closed;
    if (asked.empty()) return Outcome::Nothing;
    EXPECT_EQ(asked.size(), 1u) << "one dialog per command";
    return asked[0] == FileDialogKind::Save ? Outcome::SaveAsked : Outcome::OpenAsked;
  }
};

TEST_P(CommandTest, RunsTheEntrysCommand) {
  CreateShown();
  bool configShown = false, refresherOnMeanwhile = false;
  QTimer::singleShot(0, [&] {
    if (!config->Dialog().isVisible()) return;
    configShown = true;
    refresherOnMeanwhile = RefresherSettlesAt(true);
    config->Dialog().reject();
  });
  GetParam().act(*this);
  ProcessEvents();
  EXPECT_EQ(Observe(configShown), GetParam().outcome);
  EXPECT_EQ(refresherOnMeanwhile, configShown) << "the refresher runs while the window is open";
  EXPECT_TRUE(RefresherSettlesAt(false));
  EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Menu, CommandTest,
    ::testing::Values(
        CommandCase{"F1", [](CommandTest& t) { t.Key(Qt::Key_F1); }, Outcome::ConfigShown},
        CommandCase{"F2", [](CommandTest& t) { t.Key(Qt::Key_F2); }, Outcome::SaveAsked},
        CommandCase{"F3", [](CommandTest& t) { t.Key(Qt::Key_F3); }, Outcome::OpenAsked},
        CommandCase{"F4DoesNothing", [](CommandTest& t) { t.Key(Qt::Key_F4); }, Outcome::Nothing},
        CommandCase{"F5", [](CommandTest& t) { t.Key(Qt::Key_F5); }, Outcome::Closed},
        CommandCase{"EnterOnEntry0", [](CommandTest& t) { t.EnterOn(0); }, Outcome::ConfigShown},
        CommandCase{"EnterOnEntry1", [](CommandTest& t) { t.EnterOn(1); }, Outcome::SaveAsked},
        CommandCase{"EnterOnEntry2", [](CommandTest& t) { t.EnterOn(2); }, Outcome::OpenAsked},
        CommandCase{"EnterOnEntry3", [](CommandTest& t) { t.EnterOn(3); }, Outcome::Closed},
        CommandCase{"ClickOnEntry0", [](CommandTest& t) { t.Click(0); }, Outcome::ConfigShown},
        CommandCase{"ClickOnEntry2", [](CommandTest& t) { t.Click(2); }, Outcome::OpenAsked},
        CommandCase{"ClickOnEntry3", [](CommandTest& t) { t.Click(3); }, Outcome::Closed}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(FormMainTest, MouseOverAnEntrySelectsItAndLeavesTheSelectedOneAlone) {
  CreateShown();
  MoveMouseOver(2);
  ExpectMarked(2);
  MoveMouseOver(2);
  ExpectMarked(2);
  Press(Qt::Key_Down);
  ExpectMarked(3);
  EXPECT_TRUE(asked.empty()) << "moving does not execute";
}

TEST_F(FormMainTest, CancelledFileDialogLeavesTheRefresherAsItWas) {
  CreateShown();
  module->DataRefresher()->SetEnabled(true);
  ASSERT_TRUE(RefresherSettlesAt(true));
  Press(Qt::Key_F2);
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_TRUE(module->DataRefresher()->GetEnabled());
  EXPECT_TRUE(module->PauseRefresher());
}

// ------------------------------------------------------------------ link state

struct PortCase {
  int port;
  const char* shown;
};

class LinkStateTest : public FormMainTest, public ::testing::WithParamInterface<PortCase> {};

TEST_P(LinkStateTest, OpenLinkShowsConnectedAndThePortInBothWindows) {
  CreateShown();
  module->QorConnection()->AttachLink(&link);
  link.open = true;
  link.port = GetParam().port;
  SerQorHostMessage(MSG_LINK_STATE, 0, 1);
  EXPECT_TRUE(form->Action("ActionConnect")->isEnabled()) << "the message goes through the queue";
  ProcessEvents();

  const QString port = QString("PORT: ") + GetParam().shown;
  for (PanelStatusBar* bar : {form->StatusBar(), &ConfigStatusBar()}) {
    EXPECT_EQ(bar->PanelText(0), "Centralina connessa");
    EXPECT_EQ(bar->PanelFontColor(0), kGreen);
    EXPECT_EQ(bar->PanelText(1), port);
  }
  EXPECT_FALSE(form->Action("ActionConnect")->isEnabled());
  EXPECT_TRUE(form->Action("ActionDisconnect")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Ports, LinkStateTest,
                         ::testing::Values(PortCase{0, "COM1"}, PortCase{1, "COM2"}, PortCase{2, "COM3"},
                                           PortCase{3, "COM4"}, PortCase{4, "USB"}, PortCase{7, "USB"},
                                           PortCase{-1, "USB"}),
                         [](const auto& info) { return "Port" + std::to_string(info.param.port + 1); });

TEST_F(FormMainTest, ClosedLinkShowsNotConnectedAndOtherStatesChangeNothing) {
  CreateShown();
  module->QorConnection()->AttachLink(&link);
  link.open = true;
  SerQorHostMessage(MSG_LINK_STATE, 0, 1);
  ProcessEvents();
  link.open = false;
  SerQorHostMessage(MSG_LINK_STATE, 0, 0);
  ProcessEvents();
  for (PanelStatusBar* bar : {form->StatusBar(), &ConfigStatusBar()}) {
    EXPECT_EQ(bar->PanelText(0), "Centralina non connessa");
    EXPECT_EQ(bar->PanelFontColor(0), kRed);
    EXPECT_EQ(bar->PanelText(1), "");
  }
  EXPECT_TRUE(form->Action("ActionConnect")->isEnabled());
  EXPECT_FALSE(form->Action("ActionDisconnect")->isEnabled());

  SerQorHostMessage(MSG_LINK_STATE, 0, 2);
  ProcessEvents();
  EXPECT_EQ(form->StatusBar()->PanelText(0), "Centralina non connessa");
  EXPECT_TRUE(form->Action("ActionConnect")->isEnabled());
}

TEST_F(FormMainTest, DisconnectClosesAnOpenLinkOnly) {
  CreateShown();
  module->QorConnection()->AttachLink(&link);
  form->ActionDisconnectExecute();
  EXPECT_EQ(std::count(link.calls.begin(), link.calls.end(), "Close"), 0);
  link.open = true;
  form->ActionDisconnectExecute();
  EXPECT_FALSE(link.open);
  EXPECT_TRUE(module->QorConnection()->Loaded()) << "the library stays loaded";
}

TEST_F(FormMainTest, ShowingWithTheLibraryLoadedShowsTheLinksState) {
  Create();
  module->QorConnection()->AttachLink(&link);
  link.open = true;
  ShowMain();
  EXPECT_EQ(form->StatusBar()->PanelText(0), "Centralina connessa");
  EXPECT_EQ(form->StatusBar()->PanelFontColor(0), kRed) << "only a link-state message changes the colour";
}

// ------------------------------------------------------------------ language

TEST_F(FormMainTest, PopupMenuOffersConnectingAndEveryLanguage) {
  CreateShown();
  const QList<QAction*> entries = form->PopupMenu()->actions();
  ASSERT_EQ(entries.size(), 3 + module->Translator()->LanguageCount());
  EXPECT_EQ(entries[0], form->Action("ActionConnect"));
  EXPECT_EQ(entries[1], form->Action("ActionDisconnect"));
  EXPECT_TRUE(entries[2]->isSeparator());
  EXPECT_EQ(entries[3]->objectName(), "MenuLingua0");
  EXPECT_EQ(entries[3]->text(), "Italiano");
  EXPECT_EQ(entries[4]->text(), "English");
}

TEST_F(FormMainTest, LanguageChoiceRewritesBothWindowsAndIsStored) {
  CreateShown();
  EXPECT_EQ(form->EntryLabel(0)->text(), "Configurazione vettura");
  form->PopupMenu()->findChild<QAction*>("MenuLingua1")->trigger();

  EXPECT_EQ(form->windowTitle(), Text(1));
  EXPECT_EQ(form->Label("LabelMenu")->text(), "MAIN MENU");
  EXPECT_EQ(form->EntryLabel(0)->text(), "Vehicle configuration");
  EXPECT_EQ(form->EntryLabel(1)->text(), "Save current configuration");
  EXPECT_EQ(form->findChild<QMenu*>("MenuFile")->title(), "&File");
  EXPECT_EQ(form->Action("ActionConnect")->text(), "Connect");
  EXPECT_EQ(form->Action("ActionAbout")->text(), "About");
  EXPECT_EQ(config->Dialog().windowTitle(), "Vehicle configuration");
  EXPECT_EQ(form->StatusBar()->PanelText(0), "Controller not connected");
  EXPECT_EQ(ConfigStatusBar().PanelText(0), "Controller not connected");
  EXPECT_EQ(module->Texts().TextWrongEcu, u"The connected controller is not of the expected type.");
  EXPECT_EQ(StoredLanguage(), 1);

  Destroy();
  CreateShown();
  EXPECT_EQ(form->EntryLabel(0)->text(), "Vehicle configuration") << "a new start keeps the choice";
}

TEST_F(FormMainTest, LanguageChoiceRewritesTheConnectionTextButNotItsColour) {
  CreateShown();
  module->QorConnection()->AttachLink(&link);
  link.open = true;
  form->PopupMenu()->findChild<QAction*>("MenuLingua1")->trigger();
  for (PanelStatusBar* bar : {form->StatusBar(), &ConfigStatusBar()}) {
    EXPECT_EQ(bar->PanelText(0), "Controller connected");
    EXPECT_EQ(bar->PanelFontColor(0), kRed);
  }
}

TEST_F(FormMainTest, WithoutTheLanguageLibraryEveryCaptionIsEmpty) {
  FormMainOptions options;
  options.languageLibrary = "NoLanguageLibraryHere.dll";
  CreateShown(options);
  EXPECT_EQ(form->windowTitle(), "");
  EXPECT_EQ(form->EntryLabel(0)->text(), "");
  EXPECT_EQ(form->Action("ActionConnect")->text(), "");
  EXPECT_EQ(form->PopupMenu()->actions().size(), 4) << "one language, without a name";
  EXPECT_EQ(form->StatusBar()->PanelText(0), "") << "the items loaded the link library: an empty state";
}

// ------------------------------------------------------------------ layout and scaling

TEST_F(FormMainTest, EntriesFormACentredLeftAlignedColumn) {
  CreateShown();
  int widest = 0;
  for (int i = 0; i < TFormMain::kMenuCount; ++i) widest = std::max(widest, form->EntryLabel(i)->width());
  for (int i = 0; i < TFormMain::kMenuCount; ++i) EXPECT_EQ(form->EntryLabel(i)->x(), (800 - widest) / 2);
  QLabel* heading = form->Label("LabelMenu");
  EXPECT_EQ(heading->x(), (800 - heading->width()) / 2);
  EXPECT_EQ(form->Label("LabelFreccia")->x(), (800 - widest) / 2 - 50);
  for (int i = 1; i < TFormMain::kMenuCount; ++i)
    EXPECT_GT(form->EntryLabel(i)->y(), form->EntryLabel(i - 1)->y()) << "in table order";
}

TEST_F(FormMainTest, WindowIsScaledToTheScreenWidth) {
  struct Case {
    int screenWidth, entryPixels, exitTop, panelWidth, statusPixels;
  };
  for (const Case c : {Case{800, 48, 370, 500, 16}, Case{1024, 61, 474, 640, 20}}) {
    FormMainOptions options;
    options.screen = QSize(c.screenWidth, c.screenWidth * 3 / 4);
    Create(options);
    EXPECT_EQ(form->EntryLabel(0)->font().pixelSize(), c.entryPixels) << c.screenWidth;
    EXPECT_EQ(form->EntryLabel(3)->y(), c.exitTop) << c.screenWidth;
    EXPECT_EQ(form->StatusBar()->PanelWidth(0), c.panelWidth) << c.screenWidth;
    EXPECT_EQ(form->StatusBar()->font().pixelSize(), c.statusPixels) << c.screenWidth;
    Destroy();
  }
}

}  // namespace
