#include "forms/FormOndaCostruita.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "components/comm/Qorconnection.h"
#include "components/controls/ChildLabel.h"
#include "components/controls/NumericEdit.h"
#include "components/controls/ValueEditEx.h"
#include "components/data/SerialData.h"
#include "components/translator/Translator.h"
#include "datamodule/SerialDataModule.h"
#include "forms/DisconnectedTime.h"
#include "forms/FormOndaCostruitaResource.h"
#include "forms/PlainControl.h"
#include "forms/ResourceWidgets.h"
#include "platform/NumberText.h"

namespace vzt {

namespace {

constexpr int kClientWidth = 526;
constexpr int kClientHeight = 245;
constexpr int kFontPixels = 13;
const QColor kDarkBlue(0, 0, 155);

const char* const kBoundBoxes[] = {"QorValEditNVolteAlto", "QorValueEditNVolteBasso", "QorValueEditNumeroOnde"};

struct CaptionText {
  int id;
  const char* control;
};
const CaptionText kCaptionTexts[] = {
    {99, "QorValEditNVolteAlto"},
    {100, "QorValueEditNVolteBasso"},
    {101, "QorValueEditNumeroOnde"},
    {102, "LabelTempoTristate"},
};

// Back to their defaults, in this order, each written at once.
const char* const kStandardWave[] = {"NVolteAlto", "NVolteBasso", "NRipetizioniOnda", "NVolteTri", "NRipetizioniTri"};

const char* const kTimeBox = "NumericEditSondaSconnessa";
const char* const kPeriodsItem = "NRipetizioniTri";
const char* const kTicksItem = "NVolteTri";

}  // namespace

TFormOndaCostruita::TFormOndaCostruita(TSerialDataModule& module, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), Component(nullptr), module_(module) {
  SetName("FormOndaCostruita");
  setObjectName("FormOndaCostruita");
  setWindowTitle(QStringLiteral("Costruzione Onda"));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kFontPixels);
  font.setBold(true);
  setFont(font);
  QPalette colours = palette();
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    colours.setColor(role, kDarkBlue);
  setPalette(colours);
  setFixedSize(kClientWidth, kClientHeight);
  CentreOnScreen();

  resource_errors_ = LoadResource(*this, FormOndaCostruitaResource(*this));
  NameWidgetsAfterComponents(*this);
  OrderTabsByProperty(*this);
  if (TTranslator* translator = module_.Translator()) ApplyTexts(*translator);
  InitialiseBoxes();
  ShowDisconnectedTime();
}

TFormOndaCostruita::~TFormOndaCostruita() { DestroyComponents(); }

void TFormOndaCostruita::CentreOnScreen() {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
}

void TFormOndaCostruita::ApplyTexts(TTranslator& translator) {
  for (const CaptionText& row : kCaptionTexts) {
    const QString text = QString::fromStdU16String(translator.GetString(row.id, 0));
    if (auto* edit = Control<TValueEditEx>(row.control)) {
      if (edit->EditLabel()) edit->EditLabel()->SetCaption(text);
    } else if (auto* label = Control<TPlainLabel>(row.control)) {
      label->SetCaption(text);
    }
  }
}

void TFormOndaCostruita::InitialiseBoxes() {
  for (const char* name : kBoundBoxes)
    if (auto* box = Control<TValueEditEx>(name)) box->InitData();
}

// The whole seconds the controller's two bytes stand for.
void TFormOndaCostruita::ShowDisconnectedTime() {
  TQorNumber* ticks = module_.Number(kTicksItem);
  TQorNumber* periods = module_.Number(kPeriodsItem);
  auto* box = Control<TNumericEdit>(kTimeBox);
  if (!ticks || !periods || !box) return;
  const int v = ticks->GetInt();
  const int r = periods->GetInt();
  box->setText(QString::number(DisconnectedWholeSeconds(r, v)));
}

// Enter confirms the time; the key goes on to the box, which shows the time as it keeps it.
void TFormOndaCostruita::NumericEditSondaSconnessaKeyDown(Component*, int& key, Qt::KeyboardModifiers) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) WriteDisconnectedTime();
}

void TFormOndaCostruita::WriteDisconnectedTime() {
  auto* box = Control<TNumericEdit>(kTimeBox);
  TQorNumber* periods = module_.Number(kPeriodsItem);
  TQorNumber* ticks = module_.Number(kTicksItem);
  if (!box || !periods || !ticks) return;
  const long double seconds = TextToFloat(box->text().toStdString()).value_or(0);
  for (const DisconnectedTimeWrite& write : DisconnectedTimeWrites(seconds))
    (write.byte == DisconnectedTimeWrite::Periods ? periods : ticks)->SetInt(write.value);
}

// Without a cancel button Escape closes nothing; the dialog closes with OK or its close box.
void TFormOndaCostruita::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFormOndaCostruita::ButtonOKClick(Component*) { accept(); }

bool TFormOndaCostruita::LinkIsOpen() const {
  const TQorConnection* connection = module_.QorConnection();
  return connection->Loaded() && connection->Link() && connection->Link()->IsOpen() != 0;
}

void TFormOndaCostruita::ButtonStandardClick(Component*) {
  if (!LinkIsOpen()) return;
  for (const char* name : kStandardWave)
    if (TQorNumber* item = module_.Number(name)) item->ResetDefault(true);
  if (auto* box = Control<TNumericEdit>(kTimeBox)) box->setText(QStringLiteral("0"));
}

}  // namespace vzt
