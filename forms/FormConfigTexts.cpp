#include "forms/FormConfigTexts.h"

#include <QString>

#include "components/controls/ChildLabel.h"
#include "components/controls/QorCheckBox.h"
#include "components/controls/QorComboBox.h"
#include "components/controls/QorLabel.h"
#include "components/controls/ValueEditEx.h"
#include "components/translator/Translator.h"
#include "forms/FormConfig.h"
#include "forms/PlainControl.h"
#include "forms/TabSheet.h"

namespace vzt {

namespace {

struct Entries {
  int first = 0;
  int count = 0;
};

// Which text goes where, in the order the texts are written. A list's row names its caption
// label's text and the ids of its entries.
struct TextRow {
  int id;
  const char* target;
  Entries entries = {};
};

// clang-format off
const TextRow kTexts[] = {
  {22, "ButtonReset"},
  {3,  "FormConfig"},  // the window's caption
  {23, "TabSheet1"},
  {24, "TabSheet2"},
  {25, "TabSheet3"},
  {70, "QorLabelGiri"},
  {71, "QorLabelTemperatura"},
  {72, "QorLabelMinTPS"},
  {73, "QorLabelMotore"},
  {74, "QorLabelDefault"},
  {75, "QorLabelLambda"},
  {76, "QorLabelTPS"},
  {26, "QorComboTipoAcc",              {27, 6}},
  {33, "QorComboTipoSegnaleGiri",      {34, 2}},
  {36, "QorComboTipoCambio",           {37, 3}},
  {40, "QorValEditTempCambio"},
  {41, "QorValEditNGiriCambio"},
  {42, "QORValueEditTempoDiCicchetto"},
  {43, "QorValEditTempSovr"},
  {45, "QorComboCommutatore",          {46, 2}},
  {48, "QorComboTipoSensore",          {49, 3}},
  {52, "QorComboTipoTPS",              {53, 6}},
  {59, "QorComboTipoSonda",            {60, 6}},
  {44, "QorValEditRitardoSonda"},
  {66, "QorComboTipoEmul",             {67, 3}},
  {77, "QorCheckBoxAff"},
  {78, "QorValEditPosAff"},
  {79, "QorValEditTPSAff"},
  {80, "ValueEditTempoAffondata"},
  {81, "QorCheckBoxCutOff"},
  {82, "QorValEditGiriCutOff"},
  {83, "QorValEditPosCutOff"},
  {84, "QorCheckBoxDef"},
  {85, "QorValEditPosDef"},
  {86, "QorValEditMaxPos"},
  {87, "QorValEditMinPos"},
  {88, "QorCheckBoxFuoriGiri"},
  {89, "QORValueEditExFuoriGiri"},
  {90, "QorCheckBoxGuidaEco"},
  {91, "QorValEditIstMinTPS"},
  {107, "LabelTPSAff"},
  {105, "LabelGradi"},
  {106, "LabelGiriCambio"},
  {106, "LabelGiriCutOff"},
  {108, "LabelUnitTempoAffondata"},
  {108, "LabelTempoSovr"},
  {108, "LabelRitardoLetturaSonda"},
};
// clang-format on

QString Text(TTranslator& translator, int id) { return QString::fromStdU16String(translator.GetString(id, 0)); }

// The caption label of a bound control, or the control's own caption.
void SetCaption(Component* target, const QString& text) {
  if (auto* edit = dynamic_cast<TValueEditEx*>(target)) {
    if (edit->EditLabel()) edit->EditLabel()->SetCaption(text);
  } else if (auto* combo = dynamic_cast<TQorComboBox*>(target)) {
    if (combo->ComboLabel()) combo->ComboLabel()->SetCaption(text);
  } else if (auto* live = dynamic_cast<TQorLabel*>(target)) {
    if (live->ChildLabel()) live->ChildLabel()->SetCaption(text);
  } else if (auto* page = dynamic_cast<TTabSheet*>(target)) {
    page->SetCaption(text);
  } else if (auto* check = dynamic_cast<TQorCheckBox*>(target)) {
    check->setText(text);
  } else if (auto* label = dynamic_cast<TPlainLabel*>(target)) {
    label->SetCaption(text);
  } else if (auto* button = dynamic_cast<TPlainButton*>(target)) {
    button->SetCaption(text);
  }
}

void RefillEntries(Component* target, TTranslator& translator, const Entries& entries) {
  auto* combo = dynamic_cast<TQorComboBox*>(target);
  if (!combo) return;
  combo->clear();
  for (int id = entries.first; id < entries.first + entries.count; ++id) combo->addItem(Text(translator, id));
}

}  // namespace

void ApplyFormConfigTexts(TFormConfig& form, TTranslator& translator) {
  for (const TextRow& row : kTexts) {
    const QString text = Text(translator, row.id);
    if (form.Name() == row.target) {
      form.setWindowTitle(text);
      continue;
    }
    Component* target = form.FindComponent(row.target);
    SetCaption(target, text);
    if (row.entries.count > 0) RefillEntries(target, translator, row.entries);
  }
}

}  // namespace vzt
