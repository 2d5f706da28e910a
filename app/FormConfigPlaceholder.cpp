#include "app/FormConfigPlaceholder.h"

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>

#include "components/translator/Translator.h"
#include "datamodule/SerialDataModule.h"
#include "platform/widgets/PanelStatusBar.h"

namespace vzt {

namespace {
constexpr int kTextConfigurationCaption = 3;
const QColor kGreen(0, 128, 0);
}  // namespace

TFormConfigPlaceholder::TFormConfigPlaceholder(TSerialDataModule& module, QWidget* parent)
    : QDialog(parent), module_(module) {
  setObjectName("FormConfig");
  setWindowTitle("Orvane R05U");
  resize(800, 576);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addStretch(1);
  status_bar_ = new PanelStatusBar(this);
  status_bar_->setObjectName("LMDStatusBarMain");
  QFont font("Arial");
  font.setPixelSize(16);
  font.setBold(true);
  status_bar_->setFont(font);
  status_bar_->AddPanel(500, PanelStatusBar::Bevel::Raised, Qt::red, "Centralina non connessa");
  status_bar_->AddPanel(PanelStatusBar::kRestOfBar, PanelStatusBar::Bevel::Lowered, kGreen);
  layout->addWidget(status_bar_);
  module_.ResetAll();
  CreatePopupMenu();
}

// The owner's connect and disconnect actions, a separator, then one entry per language,
// whose click goes to the owner's language handler.
void TFormConfigPlaceholder::CreatePopupMenu() {
  auto* menu = new QMenu(this);
  menu->setObjectName("PopupMenuConfig");
  QWidget* owner = parentWidget();
  if (owner)
    for (const char* name : {"ActionConnect", "ActionDisconnect"})
      if (auto* action = owner->findChild<QAction*>(name, Qt::FindDirectChildrenOnly)) menu->addAction(action);
  menu->addSeparator()->setObjectName("N1");
  TTranslator* translator = module_.Translator();
  for (int i = 0; i < translator->LanguageCount(); ++i) {
    QAction* entry = menu->addAction(QString::fromStdU16String(translator->GetLanguageName(i)));
    entry->setObjectName(QString("MenuLingua%1").arg(i));
    entry->setProperty("Tag", i);
    connect(entry, &QAction::triggered, this, [owner, i] {
      if (owner) QMetaObject::invokeMethod(owner, "ToolButtonLingueClick", Q_ARG(int, i));
    });
  }
}

void TFormConfigPlaceholder::ApplyTexts(TTranslator& translator) {
  setWindowTitle(QString::fromStdU16String(translator.GetString(kTextConfigurationCaption, 0)));
}

void TFormConfigPlaceholder::LinkState(bool open, const std::u16string& portName) {
  const SharedTexts& texts = module_.Texts();
  status_bar_->SetPanelText(0, QString::fromStdU16String(open ? texts.TextConnected : texts.TextNotConnected));
  status_bar_->SetPanelFontColor(0, open ? kGreen : QColor(Qt::red));
  status_bar_->SetPanelText(1, open ? "PORT: " + QString::fromStdU16String(portName) : QString());
}

}  // namespace vzt
