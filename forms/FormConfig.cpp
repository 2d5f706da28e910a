#include "forms/FormConfig.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaObject>
#include <QVBoxLayout>

#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/controls/ChildLabel.h"
#include "components/controls/QorComboBox.h"
#include "components/controls/QorLabel.h"
#include "components/controls/ValueEditEx.h"
#include "components/data/SerialData.h"
#include "components/translator/Translator.h"
#include "datamodule/SerialDataModule.h"
#include "forms/FormConfigResource.h"
#include "forms/FormConfigTexts.h"
#include "forms/FormOndaCostruita.h"
#include "forms/PageControl.h"
#include "forms/PlainControl.h"
#include "forms/ResourceWidgets.h"
#include "forms/TabSheet.h"
#include "platform/NumberText.h"
#include "platform/Timing.h"
#include "platform/widgets/PanelStatusBar.h"
#include "platform/widgets/WidgetScaler.h"

namespace vzt {

namespace {

constexpr int kDesignWidth = 800;
constexpr int kDesignHeight = 576;
constexpr int kFontPixels = 16;
constexpr int kEraseCommand = 8;
constexpr std::uint32_t kEraseSettleMs = 1000;
constexpr int kHintGap = 15;
constexpr int kPrimingShotMode = 2;
constexpr int kBuiltWaveEntry = 2;

const QColor kConnectedColour(0, 128, 0);
const QColor kNotConnectedColour(255, 0, 0);

struct PanelRow {
  int width;
  PanelStatusBar::Bevel bevel;
  QColor fontColor;
  const char* text;
};

// Panel 0 the connection state, panel 1 the port while connected.
const PanelRow kStatusPanels[] = {
    {500, PanelStatusBar::Bevel::Raised, kNotConnectedColour, "Centralina non connessa"},
    {PanelStatusBar::kRestOfBar, PanelStatusBar::Bevel::Lowered, kConnectedColour, ""},
};

// Top to bottom: the pages fill what the panel and the status bar leave.
const char* const kAlignedTopToBottom[] = {"PageControl", "Bevel_2", "PanelRealTime", "LMDStatusBarMain"};

struct OptionRule {
  const char* checkBox;
  std::vector<const char*> shownWhileChecked;
};

const OptionRule kOptionalFields[] = {
    {"QorCheckBoxAff",
     {"QorValEditPosAff", "QorValEditTPSAff", "ValueEditTempoAffondata", "LabelUnitTempoAffondata", "LabelTPSAff"}},
    {"QorCheckBoxCutOff", {"QorValEditGiriCutOff", "QorValEditPosCutOff", "LabelGiriCutOff"}},
    {"QorCheckBoxDef", {"QorValEditPosDef"}},
};

const char* const kLambdaLamps[] = {"LMDProgressFillLambda0", "LMDProgressFillLambda1", "LMDProgressFillLambda2"};
const char* const kThrottleLamps[] = {"LMDProgressFillTPS0", "LMDProgressFillTPS1", "LMDProgressFillTPS2",
                                      "LMDProgressFillTPS3"};

// Read again when the link opens: they convert with the engine-speed constant of the
// ignition type read meanwhile.
const char* const kEngineSpeedThresholds[] = {"GiriPerCambio", "GiriCutOff", "GiriFuoriGiri"};

QString Wide(const std::u16string& text) { return QString::fromStdU16String(text); }

// The permitted range of an item as the hint shows it: "(0;3000 RPM)".
QString RangeText(const TQorNumber& item) {
  return QString::fromStdString("(" + FloatToText(item.ValueMin()) + ";" + FloatToText(item.ValueMax()) + " " +
                                item.MeasureUnit + ")");
}

}  // namespace

TFormConfig::TFormConfig(TSerialDataModule& module, QWidget* parent, FormConfigOptions options)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      Component(nullptr),
      module_(module),
      options_(std::move(options)),
      screen_(options_.screen.isValid() ? options_.screen : PrimaryScreenSize()) {
  SetName("FormConfig");
  setObjectName("FormConfig");
  setWindowTitle(QStringLiteral("Orvane R05U"));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kFontPixels);
  setFont(font);
  resize(kDesignWidth, kDesignHeight);
  LoadFromResource();
  ScaleToScreen();
  PlaceOnScreen();
  SetSizeConstraints();
  module_.ResetAll();
  CreateLanguageEntries();
  // The window sees every key before the control that has the focus.
  qApp->installEventFilter(this);
}

TFormConfig::~TFormConfig() {
  if (qApp) qApp->removeEventFilter(this);
  // The controls go while the window is whole; they leave their items' lists as they go.
  DestroyComponents();
}

// ---------------------------------------------------------------- construction

void TFormConfig::LoadFromResource() {
  resource_errors_ = LoadResource(*this, FormConfigResource(*this));
  NameWidgetsAfterComponents(*this);
  page_control_ = Control<TPageControl>("PageControl");
  status_bar_ = Control<PanelStatusBar>("LMDStatusBarMain");
  ArrangeAligned();
  SetTabOrders();
  CreateStatusPanels();
  CreatePopupMenu();
}

void TFormConfig::ArrangeAligned() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (const char* name : kAlignedTopToBottom) {
    auto* widget = Control<QWidget>(name);
    if (!widget) continue;
    const bool fills = widget == page_control_;
    if (!fills) widget->setFixedHeight(widget->height());
    layout->addWidget(widget, fills ? 1 : 0);
  }
}

void TFormConfig::SetTabOrders() {
  if (!page_control_) return;
  for (int i = 0; i < page_control_->PageCount(); ++i)
    if (TTabSheet* page = page_control_->Page(i)) OrderTabsByProperty(*page);
}

void TFormConfig::CreateStatusPanels() {
  if (!status_bar_) return;
  for (const PanelRow& row : kStatusPanels)
    status_bar_->AddPanel(row.width, row.bevel, row.fontColor, QString::fromUtf8(row.text));
}

// The main window's connect and disconnect actions, a separator, then the languages.
void TFormConfig::CreatePopupMenu() {
  popup_menu_ = new QMenu(this);
  popup_menu_->setObjectName("PopupMenuConfig");
  if (QWidget* owner = parentWidget()) {
    for (const char* action : {"ActionConnect", "ActionDisconnect"})
      if (auto* found = owner->findChild<QAction*>(action, Qt::FindDirectChildrenOnly)) popup_menu_->addAction(found);
  }
  popup_menu_->addSeparator()->setObjectName("N1");
  if (page_control_) {
    page_control_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(page_control_, &QWidget::customContextMenuRequested,
            [this](const QPoint& at) { popup_menu_->popup(page_control_->mapToGlobal(at)); });
  }
}

void TFormConfig::ScaleToScreen() {
  if (!ScaleForScreen(this, screen_.width())) return;
  // The layout keeps the status bar at the very bottom; only the caption labels' distances
  // from their controls are left to follow the screen.
  ScaleCaptionSpacings();
}

void TFormConfig::ScaleCaptionSpacings() {
  const int width = screen_.width();
  for (Component* c : Components()) {
    TChildLabel* label = nullptr;
    if (auto* edit = dynamic_cast<TValueEditEx*>(c))
      label = edit->EditLabel();
    else if (auto* combo = dynamic_cast<TQorComboBox*>(c))
      label = combo->ComboLabel();
    else if (auto* live = dynamic_cast<TQorLabel*>(c))
      label = live->ChildLabel();
    if (label) label->SetLabelSpacing(label->LabelSpacing() * width / kDesignScreenWidth);
  }
}

void TFormConfig::PlaceOnScreen() {
  setGeometry(QRect(QPoint(0, 0), screen_));
  setWindowState(Qt::WindowMaximized);
}

// Height from 580/800 of the screen width up to the screen height; width exactly 808/800 of
// the screen width. A maximum below its minimum is raised to it.
void TFormConfig::SetSizeConstraints() {
  const int width = screen_.width();
  setMaximumHeight(screen_.height());
  setMaximumWidth(width);
  setMinimumHeight(width * 580 / kDesignScreenWidth);
  setMinimumWidth(width * 808 / kDesignScreenWidth);
  if (maximumHeight() < minimumHeight()) setMaximumHeight(minimumHeight());
  if (maximumWidth() < minimumWidth()) setMaximumWidth(minimumWidth());
}

void TFormConfig::CreateLanguageEntries() {
  TTranslator* translator = module_.Translator();
  if (!translator) return;
  for (int i = 0; i < translator->LanguageCount(); ++i) {
    QAction* entry = popup_menu_->addAction(Wide(translator->GetLanguageName(i)));
    entry->setObjectName(QString("MenuLingua%1").arg(i));
    entry->setProperty("Tag", i);
    connect(entry, &QAction::triggered, [this, i] { ChooseLanguage(i); });
  }
}

void TFormConfig::ChooseLanguage(int language) {
  if (options_.chooseLanguage) {
    options_.chooseLanguage(language);
    return;
  }
  QWidget* owner = parentWidget();
  if (owner && owner->metaObject()->indexOfMethod("ToolButtonLingueClick(int)") >= 0)
    QMetaObject::invokeMethod(owner, "ToolButtonLingueClick", Q_ARG(int, language));
}

// ---------------------------------------------------------------- texts

void TFormConfig::ApplyTexts(TTranslator& translator) {
  ApplyFormConfigTexts(*this, translator);
  for (Component* c : Components())
    if (auto* combo = dynamic_cast<TQorComboBox*>(c)) combo->Perform(MSG_DATA_CHANGED, 0, 0);
  if (wave_dialog_) wave_dialog_->ApplyTexts(translator);
}

// ---------------------------------------------------------------- showing and keys

void TFormConfig::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFormConfig::FormShow() {
  if (page_control_) page_control_->SetActivePageIndex(0);
  UpdateOptionalFields();
  if (!module_.QorConnection()->Loaded()) return;
  if (LinkIsOpen())
    UpdateChangeoverFields();
  else
    module_.ClearLiveValues();
}

// Escape reaches the window when no control wants it; the window has no cancel button to
// close it with, so it stays open.
void TFormConfig::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TFormConfig::IsFirstKeyReceiver(const QObject* watched) const {
  QWidget* focus = QApplication::focusWidget();
  const bool focusHere = focus && (focus == this || isAncestorOf(focus));
  return watched == (focusHere ? static_cast<const QObject*>(focus) : this);
}

bool TFormConfig::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsFirstKeyReceiver(watched)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    FormKeyDown(key->key(), key->modifiers());
  }
  return QDialog::eventFilter(watched, event);
}

void TFormConfig::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  if (key == Qt::Key_Q && shift.testFlag(Qt::AltModifier)) close();
  if (!page_control_) return;
  if (key == Qt::Key_PageDown) page_control_->SelectNextPage(true);
  if (key == Qt::Key_PageUp) page_control_->SelectNextPage(false);
}

// ---------------------------------------------------------------- link state

bool TFormConfig::LinkIsOpen() const {
  const TQorConnection* connection = module_.QorConnection();
  return connection->Loaded() && connection->Link() && connection->Link()->IsOpen() != 0;
}

void TFormConfig::LinkState(bool open, const std::u16string& portName) {
  if (open)
    LinkOpened(portName);
  else
    LinkClosed();
  if (status_bar_) status_bar_->repaint();
  repaint();
}

void TFormConfig::LinkClosed() {
  module_.DataRefresher()->SetEnabled(false);
  if (status_bar_) {
    status_bar_->SetPanelText(0, Wide(module_.Texts().TextNotConnected));
    status_bar_->SetPanelFontColor(0, kNotConnectedColour);
    status_bar_->SetPanelText(1, QString());
  }
  if (auto* reset = Control<QWidget>("ButtonReset")) reset->setEnabled(false);
  module_.ClearLiveValues();
}

void TFormConfig::LinkOpened(const std::u16string& portName) {
  if (isVisible()) module_.DataRefresher()->SetEnabled(true);
  if (status_bar_) {
    status_bar_->SetPanelText(0, Wide(module_.Texts().TextConnected));
    status_bar_->SetPanelFontColor(0, kConnectedColour);
    status_bar_->SetPanelText(1, QStringLiteral("PORT: ") + Wide(portName));
  }
  UpdateOptionalFields();
  UpdateChangeoverFields();
  TQorNumber* defaultPosition = module_.Number("PosizioneDefault");
  TQorNumber* maxPosition = module_.Number("MaxAperturaAttuatore");
  TQorNumber* minPosition = module_.Number("MinAperturaAttuatore");
  if (defaultPosition && maxPosition && minPosition) {
    defaultPosition->SetMaxValue(maxPosition->GetInt());
    defaultPosition->SetMinValue(minPosition->GetInt());
  }
  for (const char* name : kEngineSpeedThresholds)
    if (TQorNumber* item = module_.Number(name)) item->Load();
  if (auto* reset = Control<QWidget>("ButtonReset")) reset->setEnabled(true);
}

// ---------------------------------------------------------------- limit hint

void TFormConfig::QorValEditNGiriCambioEnter(Component* sender) {
  auto* edit = dynamic_cast<TValueEditEx*>(sender);
  auto* hint = Control<TPlainLabel>("LabelLimite");
  if (!edit || !edit->Value() || !hint) return;
  hint->setParent(edit->parentWidget());
  hint->move(edit->x() + edit->width() + kHintGap, edit->y() + (edit->height() - hint->height()) / 2);
  hint->SetCaption(RangeText(*edit->Value()));
  hint->raise();
  hint->show();
}

void TFormConfig::QorValEditNGiriCambioExit(Component*) {
  if (auto* hint = Control<QWidget>("LabelLimite")) hint->hide();
}

// ---------------------------------------------------------------- memory erase

void TFormConfig::ButtonResetClick(Component*) {
  Host* host = module_.GetHost();
  if (!host) return;
  const MessageResult answer =
      host->ShowMessageBox(MessageOwner::ConfigWindow, module_.Texts().TextEraseConfirm,
                           windowTitle().toStdU16String(), MessageIcon::Question, MessageButtons::YesNo);
  if (answer != MessageResult::Yes) return;
  host->SetBusyCursor(true);
  if (!module_.PauseRefresher()) {
    host->SetBusyCursor(false);
    return;
  }
  if (TQorNumber* checkup = module_.Number("Checkup")) checkup->SetInt(kEraseCommand);
  Wait(kEraseSettleMs);
  module_.ReadAll();
  UpdateOptionalFields();
  UpdateChangeoverFields();
  module_.DataRefresher()->SetEnabled(true);
  host->SetBusyCursor(false);
}

void TFormConfig::Wait(std::uint32_t ms) {
  if (options_.wait)
    options_.wait(ms);
  else
    SleepMs(ms);
}

// ---------------------------------------------------------------- emulation type

void TFormConfig::QorComboTipoEmulChange(Component* sender) {
  auto* combo = dynamic_cast<TQorComboBox*>(sender);
  if (!combo || combo->currentIndex() != kBuiltWaveEntry) return;
  TFormOndaCostruita dialog(module_, this);
  wave_dialog_ = &dialog;
  dialog.exec();
  wave_dialog_ = nullptr;
}

// The over-speed box is never shown; its click changes nothing beyond its own write.
void TFormConfig::QorCheckBoxFuoriGiriClick(Component*) {}

// ---------------------------------------------------------------- dependent fields

void TFormConfig::SetShown(const char* name, bool shown) {
  if (auto* widget = Control<QWidget>(name)) widget->setVisible(shown);
}

void TFormConfig::UpdateOptionalFields() {
  for (const OptionRule& rule : kOptionalFields) {
    const auto* box = Control<QAbstractButton>(rule.checkBox);
    const bool checked = box && box->isChecked();
    for (const char* field : rule.shownWhileChecked) SetShown(field, checked);
  }
}

// Byte 223 holds the priming-shot time in start-on-gas mode and the changeover engine speed
// otherwise; the page shows the one that applies.
void TFormConfig::UpdateChangeoverFields() {
  TQorNumber* mode = module_.Number("TipoCambio");
  const bool priming = mode && mode->GetInt() == kPrimingShotMode;
  SetShown("QORValueEditTempoDiCicchetto", priming);
  SetShown("LabelSecCicchetto", priming);
  SetShown("LabelGiriCambio", !priming);
  SetShown("QorValEditNGiriCambio", !priming);
}

// ---------------------------------------------------------------- live panel

void TFormConfig::SetLamp(LampGroup group, int index, int percent) {
  const bool lambda = group == LampGroup::Lambda;
  const int count = lambda ? static_cast<int>(std::size(kLambdaLamps)) : static_cast<int>(std::size(kThrottleLamps));
  if (index < 0 || index >= count) return;
  const auto at = static_cast<std::size_t>(index);
  if (auto* lamp = Control<ProgressFill>(lambda ? kLambdaLamps[at] : kThrottleLamps[at])) lamp->SetPosition(percent);
}

void TFormConfig::SetDefaultPositionColour(std::uint32_t rgb) {
  auto* label = Control<TQorLabel>("QorLabelDefault");
  if (!label) return;
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(static_cast<int>((rgb >> 16) & 0xFF),
                                                 static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF)));
  label->setPalette(palette);
}

}  // namespace vzt
