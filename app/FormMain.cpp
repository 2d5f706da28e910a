#include "app/FormMain.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "app/AboutBox.h"
#include "app/ApplyInterfaceTexts.h"
#include "app/ConfigWindow.h"
#include "app/VersionInfo.h"
#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/translator/Translator.h"
#include "datamodule/SerialDataModule.h"
#include "platform/Library.h"
#include "platform/widgets/PanelStatusBar.h"
#include "platform/widgets/WidgetScaler.h"

namespace vzt {

namespace {

// ------------------------------------------------------------------ the window's tables

// The menu: entry i is this label, and picking it executes this action.
struct MenuEntry {
  const char* label;
  const char* action;
};
constexpr MenuEntry kMenuTable[TFormMain::kMenuCount] = {
    {"LabelConfVettura", "ActionConfVett"},    // F1
    {"LabelDownLoadFile", "ActionSalvaFile"},  // F2
    {"LabelLoadFile", "ActionCaricaFile"},     // F3
    {"LabelUscita", "ActionEsci"},             // F5
};

struct ActionRow {
  const char* name;
  const char* caption;
  QKeyCombination shortcut;
  void (TFormMain::*execute)();
  bool enabled;
};
const ActionRow kActions[] = {
    {"ActionConfVett", "Configurazione vettura", Qt::Key_F1, &TFormMain::ActionConfVettExecute, true},
    {"ActionSalvaFile", "Salva configurazione attuale", Qt::Key_F2, &TFormMain::ActionSalvaFileExecute, true},
    {"ActionCaricaFile", "Carica nuova configurazione", Qt::Key_F3, &TFormMain::ActionCaricaFileExecute, true},
    {"ActionEsci", "Esci", Qt::Key_F5, &TFormMain::ActionEsciExecute, true},
    {"ActionConnect", "Connetti", Qt::CTRL | Qt::Key_C, &TFormMain::ActionConnectExecute, true},
    {"ActionDisconnect", "Disconnetti", Qt::CTRL | Qt::Key_D, &TFormMain::ActionDisconnectExecute, false},
    {"ActionAbout", "About", QKeyCombination(), &TFormMain::ActionAboutExecute, true},
    {"ActionProgramma", "Programmazione centralina", Qt::Key_F4, nullptr, true},
};

// The menu bar: each item shows its action's caption.
struct MenuItemRow {
  const char* name;
  const char* action;
};
struct MenuRow {
  const char* name;
  const char* caption;
  std::vector<MenuItemRow> items;
};
const MenuRow kMenuBar[] = {
    {"MenuFile", "", {{"MenuFileEsci", "ActionEsci"}}},
    {"MenuComunicazione", "Comunicazione",
     {{"MenuComunicazioneConnetti", "ActionConnect"}, {"MenuComunicazioneDisconnetti", "ActionDisconnect"}}},
    {"MenuAiuto", "&Aiuto", {{"MenuAiutoAbout", "ActionAbout"}}},
};

// The labels of the menu area, at their designed tops (800-pixel screen). Lefts are
// worked out at every show.
enum class LabelKind { Heading, Entry, Hidden };
struct LabelRow {
  const char* name;
  const char* caption;
  int top;
  LabelKind kind;
};
const LabelRow kLabels[] = {
    {"LabelMenu", "MENU' PRINCIPALE", 24, LabelKind::Heading},
    {"LabelConfVettura", "Configurazione vettura", 130, LabelKind::Entry},
    {"LabelDownLoadFile", "Salva configurazione attuale", 210, LabelKind::Entry},
    {"LabelLoadFile", "Carica nuova configurazione", 290, LabelKind::Entry},
    {"LabelUscita", "Esci", 370, LabelKind::Entry},
    {"LabelRiprogramma", "Programmazione centralina", 450, LabelKind::Hidden},
    {"LabelSoftware", "Software", 450, LabelKind::Hidden},
    {"LabelFreccia", "\u2794", 130, LabelKind::Hidden},
};

// The status bar: the connection state, then the port.
struct PanelRow {
  int width;
  PanelStatusBar::Bevel bevel;
  QRgb fontColor;
  const char* text;
};
const PanelRow kPanels[] = {
    {500, PanelStatusBar::Bevel::Raised, qRgb(255, 0, 0), "Centralina non connessa"},
    {PanelStatusBar::kRestOfBar, PanelStatusBar::Bevel::Lowered, qRgb(0, 128, 0), ""},
};

const char* const kPortNames[] = {"COM1", "COM2", "COM3", "COM4"};

constexpr char kSettingsKey[] = "software\\qor srl\\VZT905";
constexpr char kLanguageSetting[] = "Language";
constexpr char kLanguageLibrary[] = "Dizionario\\Languages.dll";
constexpr char kBrandingLibrary[] = "DevevuRodi.dll";
constexpr char kTagProperty[] = "Tag";
constexpr char16_t kConnectFailedCode[] = u"\n(ERR.CODE: C01)";
constexpr int kTextVersionWord = 150;
constexpr int kArrowGap = 50;
constexpr int kEntryFontPixels = 48;
constexpr int kStatusFontPixels = 16;

const QColor kNavy(0, 0, 128);
const QColor kEntryColour(Qt::white);
const QColor kMarkedColour(Qt::red);
const QColor kHeadingColour(Qt::yellow);
const QColor kConnectedColour(0, 128, 0);
const QColor kNotConnectedColour(Qt::red);

QFont ArialBold(int pixels) {
  QFont font("Arial");
  font.setPixelSize(pixels);
  font.setBold(true);
  return font;
}

void SetTextColour(QWidget* w, const QColor& colour) {
  QPalette palette = w->palette();
  palette.setColor(QPalette::WindowText, colour);
  w->setPalette(palette);
}

std::string InProgramFolder(const std::string& name) { return ProgramFolder() + "/" + name; }

}  // namespace

// ------------------------------------------------------------------ creation

TFormMain::TFormMain(TSerialDataModule& module, Host& host, FormMainOptions options)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      module_(module),
      host_(host),
      options_(std::move(options)),
      screen_(options_.screen.isValid() ? options_.screen : PrimaryScreenSize()) {
  setObjectName("FormMain");
  setWindowTitle("FormMain");
  if (!options_.askFileName) options_.askFileName = &AskConfigurationFileName;
  CreateActions();
  CreateMenuBar();
  CreateMenuArea();
  CreateStatusBar();
  ScaleForScreen(this, screen_.width());
  PlaceOnScreen();
  settings_.SetKeyName(kSettingsKey);
  settings_.SetIntData(kLanguageSetting, 0);
  settings_.LoadData();
  LoadLibraries();
  FillMenuTable();
  selected_ = 0;
  Mark(0);
}

TFormMain::~TFormMain() = default;

void TFormMain::CreateActions() {
  for (const ActionRow& row : kActions) {
    auto* action = new QAction(row.caption, this);
    action->setObjectName(row.name);
    action->setShortcut(QKeySequence(row.shortcut));
    action->setEnabled(row.enabled);
    if (row.execute) connect(action, &QAction::triggered, this, row.execute);
    addAction(action);  // its shortcut works anywhere in the window
  }
}

void TFormMain::CreateMenuBar() {
  for (const MenuRow& row : kMenuBar) {
    QMenu* menu = menuBar()->addMenu(row.caption);
    menu->setObjectName(row.name);
    for (const MenuItemRow& item : row.items) menu->addAction(Action(item.action));
  }
}

void TFormMain::CreateMenuArea() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menu_area_ = new QWidget(central);
  menu_area_->setObjectName("MenuArea");
  menu_area_->setAutoFillBackground(true);
  QPalette palette = menu_area_->palette();
  palette.setColor(QPalette::Window, kNavy);
  menu_area_->setPalette(palette);
  layout->addWidget(menu_area_, 1);
  setCentralWidget(central);

  for (const LabelRow& row : kLabels) {
    auto* label = new QLabel(row.caption, menu_area_);
    label->setObjectName(row.name);
    label->setFont(ArialBold(kEntryFontPixels));
    SetTextColour(label, row.kind == LabelKind::Heading ? kHeadingColour : kEntryColour);
    label->adjustSize();
    label->move(0, row.top);
    label->setVisible(row.kind != LabelKind::Hidden);
  }
}

void TFormMain::CreateStatusBar() {
  status_bar_ = new PanelStatusBar(centralWidget());
  status_bar_->setObjectName("LMDStatusBarMain");
  status_bar_->setFont(ArialBold(kStatusFontPixels));
  for (const PanelRow& row : kPanels)
    status_bar_->AddPanel(row.width, row.bevel, QColor(row.fontColor), row.text);
  centralWidget()->layout()->addWidget(status_bar_);
}

void TFormMain::PlaceOnScreen() {
  setGeometry(QRect(QPoint(0, 0), screen_));
  setWindowState(Qt::WindowMaximized);
}

void TFormMain::LoadLibraries() {
  TTranslator* translator = module_.Translator();
  translator->SetDllName(options_.languageLibrary.empty() ? InProgramFolder(kLanguageLibrary)
                                                          : options_.languageLibrary);
  translator->LoadLanguageLibrary();
  if (branding_.Load(options_.brandingLibrary.empty() ? InProgramFolder(kBrandingLibrary)
                                                      : options_.brandingLibrary)) {
    const QIcon icon = branding_.Icon();
    if (!icon.isNull()) QApplication::setWindowIcon(icon);
  }
}

void TFormMain::FillMenuTable() {
  for (int i = 0; i < kMenuCount; ++i) {
    QLabel* label = EntryLabel(i);
    label->setProperty(kTagProperty, i);
    SetTextColour(label, kEntryColour);
    label->setMouseTracking(true);
    label->installEventFilter(this);
  }
}

// ------------------------------------------------------------------ lookups

QAction* TFormMain::Action(const char* name) const { return findChild<QAction*>(name); }

QLabel* TFormMain::Label(const char* name) const { return findChild<QLabel*>(name); }

QLabel* TFormMain::EntryLabel(int index) const {
  return index >= 0 && index < kMenuCount ? Label(kMenuTable[index].label) : nullptr;
}

bool TFormMain::LibraryLoaded() const { return module_.QorConnection()->Loaded(); }

bool TFormMain::LinkOpen() const {
  TQorConnection* connection = module_.QorConnection();
  return connection->Loaded() && connection->Link()->IsOpen() != 0;
}

int TFormMain::CurrentPort() const {
  TQorConnection* connection = module_.QorConnection();
  return connection->Loaded() ? connection->Link()->GetPort() : -1;
}

QString TFormMain::PortName(int port) {
  return port >= 0 && port < static_cast<int>(std::size(kPortNames)) ? kPortNames[port] : "USB";
}

QString TFormMain::ConnectionText(bool open) const {
  const SharedTexts& texts = module_.Texts();
  return QString::fromStdU16String(open ? texts.TextConnected : texts.TextNotConnected);
}

// ------------------------------------------------------------------ showing

void TFormMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFormMain::FormShow() {
  module_.Translator()->SetLanguage(settings_.GetIntData(kLanguageSetting));
  ApplyInterfaceTexts(module_, *this, config_);
  if (LibraryLoaded()) status_bar_->SetPanelText(0, ConnectionText(LinkOpen()));
  LayOutEntries();
}

void TFormMain::LayOutEntries() {
  const int screenWidth = screen_.width();
  QLabel* heading = Label("LabelMenu");
  heading->adjustSize();
  heading->move((screenWidth - heading->width()) / 2, heading->y());
  int widest = 0;
  for (int i = 0; i < kMenuCount; ++i) {
    EntryLabel(i)->adjustSize();
    widest = std::max(widest, EntryLabel(i)->width());
  }
  const int left = (screenWidth - widest) / 2;
  for (int i = 0; i < kMenuCount; ++i) EntryLabel(i)->move(left, EntryLabel(i)->y());
  QLabel* arrow = Label("LabelFreccia");
  arrow->move(left - kArrowGap, arrow->y());
}

// ------------------------------------------------------------------ the menu

void TFormMain::Mark(int index) {
  QLabel* label = EntryLabel(index);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  SetTextColour(label, kMarkedColour);
}

void TFormMain::Unmark(int index) {
  QLabel* label = EntryLabel(index);
  QFont font = label->font();
  font.setUnderline(false);
  label->setFont(font);
  SetTextColour(label, kEntryColour);
}

void TFormMain::MoveArrowTo(int index) {
  QLabel* arrow = Label("LabelFreccia");
  arrow->move(arrow->x(), EntryLabel(index)->y());
}

bool TFormMain::EntryHidden(int index) const { return EntryLabel(index)->isHidden(); }

void TFormMain::SelectPrevious() {
  Unmark(selected_);
  int index = (selected_ == 0 ? kMenuCount : selected_) - 1;
  while (index > 0 && EntryHidden(index)) --index;
  selected_ = index;
  Mark(selected_);
  MoveArrowTo(selected_);
}

void TFormMain::SelectNext() {
  int index = selected_ + 1;
  while (index < kMenuCount && EntryHidden(index)) ++index;
  Unmark(selected_);
  selected_ = index < kMenuCount ? index : 0;
  Mark(selected_);
  MoveArrowTo(selected_);
}

void TFormMain::ExecuteEntry(int index) {
  if (index < 0 || index >= kMenuCount) return;
  Action(kMenuTable[index].action)->trigger();
}

void TFormMain::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      ExecuteEntry(selected_);
      break;  // and the key goes on
    case Qt::Key_Up:
      SelectPrevious();
      return;
    case Qt::Key_Down:
      SelectNext();
      return;
    case Qt::Key_Q:
      if (event->modifiers() & Qt::AltModifier) {
        close();
        return;
      }
      break;
    default:
      break;
  }
  QMainWindow::keyPressEvent(event);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  auto* label = qobject_cast<QLabel*>(watched);
  if (!label || !label->property(kTagProperty).isValid()) return QMainWindow::eventFilter(watched, event);
  const int tag = label->property(kTagProperty).toInt();
  if (event->type() == QEvent::MouseMove && tag != selected_) {
    Unmark(selected_);
    MoveArrowTo(tag);
    selected_ = tag;
    Mark(selected_);
  } else if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint()))
      ExecuteEntry(tag);
  }
  return QMainWindow::eventFilter(watched, event);
}

QMenu* TFormMain::PopupMenu() const { return config_ ? config_->PopupMenu() : nullptr; }

void TFormMain::contextMenuEvent(QContextMenuEvent* event) {
  if (QMenu* menu = PopupMenu()) menu->popup(event->globalPos());
}

// ------------------------------------------------------------------ link state and language

void TFormMain::LinkStateMessage(LParam state) {
  if (state == 0 || state == 1) {
    const bool open = state == 1;
    Action("ActionConnect")->setEnabled(!open);
    Action("ActionDisconnect")->setEnabled(open);
    status_bar_->SetPanelText(0, ConnectionText(open));
    status_bar_->SetPanelFontColor(0, open ? kConnectedColour : kNotConnectedColour);
    status_bar_->SetPanelText(1, open ? "PORT: " + PortName(CurrentPort()) : QString());
    status_bar_->repaint();
  }
  repaint();
}

void TFormMain::ToolButtonLingueClick(int languageIndex) {
  settings_.SetIntData(kLanguageSetting, languageIndex);
  settings_.SaveData();
  FormShow();
  const QString text = ConnectionText(LinkOpen());
  if (config_) config_->SetConnectionText(text);
  status_bar_->SetPanelText(0, text);
}

// ------------------------------------------------------------------ commands

void TFormMain::ActionConfVettExecute() {
  if (!config_) return;
  TDataRefresher* refresher = module_.DataRefresher();
  refresher->SetEnabled(true);
  config_->Exec();
  refresher->SetEnabled(false);
}

void TFormMain::ActionSalvaFileExecute() { RunFileCommand(FileDialogKind::Save); }

void TFormMain::ActionCaricaFileExecute() { RunFileCommand(FileDialogKind::Open); }

void TFormMain::RunFileCommand(FileDialogKind kind) {
  const QString name = options_.askFileName(kind, this);
  if (name.isEmpty()) return;
  TDataRefresher* refresher = module_.DataRefresher();
  const bool wasEnabled = refresher->GetEnabled();
  if (!module_.PauseRefresher()) return;  // the refresher stays stopped
  const std::string file = QFile::encodeName(name).toStdString();
  if (kind == FileDialogKind::Save)
    module_.Save(file);
  else
    module_.Load(file);
  refresher->SetEnabled(wasEnabled);
}

void TFormMain::ActionEsciExecute() { close(); }

void TFormMain::ActionConnectExecute() {
  const int result = module_.Connect(kConnectPort, 0);
  const SharedTexts& texts = module_.Texts();
  if (result == kConnectWrongKind)
    ShowError(texts.TextWrongEcu);
  else if (result == kConnectNoAnswer)
    ShowError(texts.TextConnectFailed1 + u"\n" + texts.TextConnectFailed2 + kConnectFailedCode);
}

void TFormMain::ActionDisconnectExecute() {
  if (LinkOpen()) module_.QorConnection()->Link()->Close();
}

void TFormMain::ActionAboutExecute() {
  TAboutBox box(this, branding_.Picture(), screen_.width());
  box.SetProductName(windowTitle());
  box.SetVersionLine(QString::fromStdU16String(module_.Translator()->GetString(kTextVersionWord, 0)),
                     QString::fromStdString(VersionInfo::ProgramFileVersion()));
  box.exec();
}

void TFormMain::ShowError(const std::u16string& text) {
  host_.ShowMessageBox(MessageOwner::MainWindow, text, windowTitle().toStdU16String(), MessageIcon::Error);
}

void TFormMain::closeEvent(QCloseEvent* event) {
  branding_.Free();
  QMainWindow::closeEvent(event);
}

}  // namespace vzt
