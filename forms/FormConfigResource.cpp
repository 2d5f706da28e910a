#include "forms/FormConfigResource.h"

#include <string>
#include <string_view>

#include "components/controls/QorCheckBox.h"
#include "components/controls/QorComboBox.h"
#include "components/controls/QorLabel.h"
#include "components/controls/Resizer.h"
#include "components/controls/ValueEditEx.h"
#include "datamodule/SerialDataModule.h"
#include "forms/FormConfig.h"
#include "forms/PageControl.h"
#include "forms/PlainControl.h"
#include "forms/TabSheet.h"
#include "platform/widgets/PanelStatusBar.h"

namespace vzt {

namespace {

// The toolkit's colour numbers the window uses where a named colour will not do.
constexpr long long kWindowBackground = 0xFF000005;
constexpr long long kWindowText = 0xFF000008;
constexpr long long kDarkBlue = 10158080;
constexpr double kBold = 0;

using TStatusBar = TPlainControl<PanelStatusBar>;

// ---------------------------------------------------------------- the rows' vocabulary

enum Kind { Edit, Combo, Check, Hint, Button };

struct Box {
  int left, top, width, height;
};

struct Chain {
  const char* next = nullptr;
  const char* prev = nullptr;
};

struct Unit {
  const char* name = nullptr;
  const char* caption = nullptr;
};

struct CheckBinding {
  TCheckCondition condition = ccNotEqualTo;
  double conditionValue = 0, checkedValue = 1, uncheckedValue = 0;
};

struct Settings {
  const char* entries = nullptr;  // a list's entries, one a line
  Unit unit = {};                 // unit label right of the box
  bool hidden = false;            // hidden in the resource, with the unit label
  bool disabled = false;
  CheckBinding check = {};
  const char* onChange = nullptr;
  const char* onClick = nullptr;
  bool limitHint = true;          // edit boxes: the hint of the permitted range
  bool captionBeforeBox = false;  // the caption ends just before the box
};

struct PageRow {
  const char* control;
  Kind kind;
  const char* item;
  const char* caption;
  int spacing;
  int tabOrder;
  Box box;
  Chain chain;
  Settings settings;
};

struct LiveRow {
  const char* control;
  const char* item;
  const char* caption;
  const char* format;
  Box box;
  int spacing;
  const char* ownFontColor;  // null: the panel's
};

struct LampRow {
  const char* lamp;
  const char* fill;
  int left, top;
};

// ---------------------------------------------------------------- the window's contents

// clang-format off

// Page 0, "Configurazione Vettura".
const PageRow kVehiclePage[] = {
//  Control                         Kind   Item                    Caption in the resource                     Spacing Tab  Left  Top Width Height  Next / Prev                                           Settings
  {"QorComboTipoAcc",              Combo, "TipoAccensione",       "Tipo Accensione",                          550,  0,  {580,   8, 200, 26}, {"QorComboTipoSegnaleGiri", "QorComboTipoEmul"},      {}},
  {"QorComboTipoSegnaleGiri",      Combo, "TipoSegnaleGiri",      "Segnale Giri",                             550,  1,  {580,  39, 200, 26}, {"QorComboTipoCambio", "QorComboTipoAcc"},            {.entries = "Standard\nDebole"}},
  {"QorComboTipoCambio",           Combo, "TipoCambio",           "Tipo Cambio",                              550,  2,  {580,  70, 200, 26}, {"QorValEditTempCambio", "QorComboTipoSegnaleGiri"}, {.entries = "Decelerazione\nAccelerazione\nPartenza a Gas"}},
  {"QorValEditTempCambio",         Edit,  "TemperaturaPerCambio", "Temperatura per Cambio",                   530,  3,  {560, 101,  96, 26}, {"QorValEditNGiriCambio", "QorComboTipoCambio"},      {.unit = {"LabelGradi", "°C"}}},
  {"QorValEditNGiriCambio",        Edit,  "GiriPerCambio",        "Numero Giri per Cambio",                   530,  4,  {560, 132,  96, 26}, {"QorValEditTempSovr", "QorValEditTempCambio"},       {.unit = {"LabelGiriCambio", "RPM"}}},
  {"QORValueEditTempoDiCicchetto", Edit,  "TempoDiCicchetto",     "Tempo di cicchetto",                       530, 15,  {560, 132,  96, 26}, {"QorComboCommutatore", "QorValEditNGiriCambio"},     {.unit = {"LabelSecCicchetto", "s"}, .hidden = true}},
  {"QorValEditTempSovr",           Edit,  "TempoSovrapposizione", "Tempo sovrapposizione",                    530,  5,  {560, 163,  96, 26}, {"QorComboCommutatore", "QorValEditNGiriCambio"},     {.unit = {"LabelTempoSovr", "s"}}},
  {"QorComboTipoSensore",          Combo, "TipoSensore",          "Tipo Sensore",                             550,  6,  {580, 194, 200, 26}, {"QorComboTipoTPS", "QorComboCommutatore"},          {.entries = "Landi Renzo\nQ.O.R.\n0 - 90 OHM\nSolo Riserva"}},
  {"QorComboTipoTPS",              Combo, "TipoTPS",              "Tipo TPS",                                 550,  7,  {580, 225, 200, 26}, {"QorComboTipoSonda", "QorComboTipoSensore"},        {.entries = "Lineare 0÷5 Volt\nLineare 5÷0 Volt\nSwitch 0÷12 Volt\nSwitch 12÷0 Volt\nMonobosch\nSenza TPS"}},
  {"QorComboTipoSonda",            Combo, "TipoSondaLambda",      "Tipo Sonda Lambda",                        550,  8,  {580, 256, 200, 26}, {"QorValEditRitardoSonda", "QorComboTipoTPS"},       {.entries = "0÷1 Volt\n0÷5 Volt tipo A\n0÷5 Volt tipo B\n5÷0 Volt tipo A\n5÷0 Volt tipo B\n0,8÷1,6 Volt"}},
  {"QorValEditRitardoSonda",       Edit,  "RitardoLetturaSonda",  "Ritardo Lettura Sonda",                    530,  9,  {560, 287,  96, 26}, {"QorComboTipoEmul", "QorComboTipoSonda"},           {.unit = {"LabelRitardoLetturaSonda", "s"}}},
  {"QorComboTipoEmul",             Combo, "TipoEmulazione",       "Tipo Emulazione",                          530, 10,  {560, 318, 220, 26}, {"QorComboTipoAcc", "QorValEditRitardoSonda"},       {.onChange = "QorComboTipoEmulChange"}},
  {"LabelLimite",                  Hint,  nullptr,                "0-5000",                                     0, 11,  {671,   8,   0,  0}, {},                                                   {.hidden = true}},
  {"QorComboCommutatore",          Combo, "TipoCommutatore",      "Tipo commutatore",                         550, 12,  {580, 349, 200, 26}, {"QorComboTipoSensore", "QorValEditTempSovr"},       {.entries = "Solo Pulsante\nCon Indicatore", .hidden = true}},
  {"ButtonReset",                  Button, nullptr,               "Cancella EPPROM",                            0, 13,  {300, 348, 190, 32}, {},                                                   {.disabled = true, .onClick = "ButtonResetClick"}},
  {"ValueEditEx1",                 Edit,  "Riprogrammazione",     "Riprogramma Centralina (valore != a 240)",   5, 14,  {560, 349,  96, 26}, {},                                                   {.hidden = true, .limitHint = false, .captionBeforeBox = true}},
};

// Page 1, "Attuatore".
const PageRow kActuatorPage[] = {
//  Control                    Kind   Item                    Caption in the resource       Spacing Tab  Left  Top Width Height  Next / Prev                                  Settings
  {"QorCheckBoxDef",          Check, "FlagConfigurazione",   "Imposta Default Fisso",          0,  0,  { 30,  10, 320, 26}, {},                                          {.check = {ccMaskedBit, 8, 8}}},
  {"QorValEditPosDef",        Edit,  "PosizioneDefault",     "Posizione Default Fisso",      500,  1,  {530,  42,  96, 26}, {nullptr, "QorCheckBoxDef"},               {.hidden = true}},
  {"QorValEditMaxPos",        Edit,  "MaxAperturaAttuatore", "Massima Apertura Attuatore",   500,  2,  {530,  90,  96, 26}, {"QorValEditMinPos", nullptr},             {}},
  {"QorValEditMinPos",        Edit,  "MinAperturaAttuatore", "Minima Apertura Attuatore",    500,  3,  {530, 122,  96, 26}, {nullptr, "QorValEditMaxPos"},             {}},
  {"QorCheckBoxAff",          Check, "FlagConfigurazione",   "Abilita Affondata",              0,  4,  { 30, 170, 320, 26}, {},                                          {.check = {ccMaskedBit, 1, 1}}},
  {"QorValEditPosAff",        Edit,  "PosizioneInAffondata", "Posizione in Affondata",       500,  5,  {530, 202,  96, 26}, {"QorValEditTPSAff", "QorCheckBoxAff"},    {.hidden = true}},
  {"QorValEditTPSAff",        Edit,  "TPSPerAffondata",      "TPS per affondata",            500,  6,  {530, 234,  96, 26}, {"ValueEditTempoAffondata", "QorValEditPosAff"}, {.unit = {"LabelTPSAff", "V"}, .hidden = true}},
  {"ValueEditTempoAffondata", Edit,  nullptr,                "Tempo Affondata",              500,  7,  {530, 266,  96, 26}, {"QorCheckBoxDef", "QorValEditTPSAff"},    {.unit = {"LabelUnitTempoAffondata", "s"}}},
};

// Page 2, "Configurazioni Opzionali".
const PageRow kOptionsPage[] = {
//  Control                    Kind   Item                   Caption in the resource       Spacing Tab  Left  Top Width Height  Next / Prev                                 Settings
  {"QorCheckBoxCutOff",       Check, "FlagConfigurazione",  "CutOff",                         0,  0,  { 30,  10, 320, 26}, {},                                         {.check = {ccMaskedBit, 4, 4}}},
  {"QorValEditGiriCutOff",    Edit,  "GiriCutOff",          "Giri per CutOff",              500,  1,  {530,  42,  96, 26}, {"QorValEditPosCutOff", "QorCheckBoxCutOff"}, {.unit = {"LabelGiriCutOff", "RPM"}, .hidden = true}},
  {"QorValEditPosCutOff",     Edit,  "PosizioneInCutoff",   "Posizione Motore in Cutoff",   500,  2,  {530,  74,  96, 26}, {nullptr, "QorValEditGiriCutOff"},        {.hidden = true}},
  {"QorCheckBoxGuidaEco",     Check, "FlagConfigurazione2", "Guida Economica",                0,  3,  { 30, 122, 320, 26}, {},                                         {.check = {ccMaskedBit, 8, 8}}},
  {"QorValEditIstMinTPS",     Edit,  "IsteresiMinTPS",      "Isteresi sul Minimo TPS",      500,  4,  {530, 154,  96, 26}, {"QorCheckBoxCutOff", "QorCheckBoxGuidaEco"}, {}},
  {"QORValueEditExFuoriGiri", Edit,  "GiriFuoriGiri",       "Soglia Giri per Fuori Giri",   500,  5,  {530, 202,  96, 26}, {nullptr, "QorCheckBoxFuoriGiri"},        {.hidden = true}},
  {"QorCheckBoxFuoriGiri",    Check, "GiriFuoriGiri",       "Abilita Fuori Giri",             0,  6,  { 30, 234, 320, 26}, {},                                         {.hidden = true, .check = {ccMinorOf, 9000, 6000, 12000}, .onClick = "QorCheckBoxFuoriGiriClick"}},
};

// The live panel: three columns, the band lamps right of the lambda and throttle values.
const LiveRow kLiveLabels[] = {
//  Control                Item                        Child label caption    Display format  Left Top Width Height  Spacing  Own font colour
  {"QorLabelGiri",        "ValoreGiri",               "Giri",                "###0 RPM",     {130, 14, 100, 24},  122,     nullptr},  // left, top
  {"QorLabelTemperatura", "ValoreTemperatura",        "Temperatura",         "##0 °C",       {130, 54, 100, 24},  122,     nullptr},  // left, middle
  {"QorLabelMinTPS",      "ValoreMinTPS",             "Minimo TPS",          "0.00 V",       {130, 94, 100, 24},  122,     nullptr},  // left, bottom
  {"QorLabelMotore",      "ValorePosizioneAttuatore", "Posizione Attuatore", "",             {400, 22,  70, 24},  152,     nullptr},  // middle, top
  {"QorLabelDefault",     "ValorePosizioneDefault",   "Posizione Default",   "",             {400, 84,  70, 24},  152,     "aqua"},   // middle, bottom
  {"QorLabelLambda",      "ValoreLambda",             "Lambda",              "0.00 V",       {560, 22,  62, 24},   72,     nullptr},  // right, top
  {"QorLabelTPS",         "ValoreTPS",                "TPS",                 "0.00 V",       {560, 84,  62, 24},   72,     nullptr},  // right, bottom
};

const LampRow kBandLamps[] = {
//  Lamp                      Fill colour  Left  Top     Band value that lights it
  {"LMDProgressFillLambda0", "green",     630,  13},  // FasciaLambda = 0
  {"LMDProgressFillLambda1", "yellow",    673,  13},  // FasciaLambda = 1
  {"LMDProgressFillLambda2", "red",       716,  13},  // FasciaLambda = 2
  {"LMDProgressFillTPS0",    "#a6caf0",   630,  75},  // FasciaTPS = 0 (sky blue)
  {"LMDProgressFillTPS1",    "lime",      673,  75},  // FasciaTPS = 1
  {"LMDProgressFillTPS2",    "green",     716,  75},  // FasciaTPS = 2
  {"LMDProgressFillTPS3",    "red",       759,  75},  // FasciaTPS = 3
};

// clang-format on

constexpr int kLampSize = 40;
constexpr int kUnitGap = 6;

// ---------------------------------------------------------------- building the rows

class Builder {
 public:
  explicit Builder(TFormConfig& form) : form_(form), module_(form.Module()) {}

  std::vector<ComponentRow> Build() {
    Frames();
    Page("TabSheet1", kVehiclePage);
    Page("TabSheet3", kActuatorPage);
    Page("TabSheet2", kOptionsPage);
    LivePanel();
    return std::move(rows_);
  }

 private:
  template <class T>
  ComponentRow& Add(const char* name) {
    rows_.push_back({name, &Create<T>, {}});
    return rows_.back();
  }

  static void Set(ComponentRow& row, const char* property, PropertyValue value) {
    row.properties.push_back({property, std::move(value)});
  }

  static void Place(ComponentRow& row, const Box& box) {
    Set(row, "Left", static_cast<long long>(box.left));
    Set(row, "Top", static_cast<long long>(box.top));
    if (box.width > 0) Set(row, "Width", static_cast<long long>(box.width));
    if (box.height > 0) Set(row, "Height", static_cast<long long>(box.height));
  }

  static void Font(ComponentRow& row, int pixels, PropertyValue color) {
    Set(row, "Font.Name", std::string("Arial"));
    Set(row, "Font.Height", static_cast<long long>(-pixels));
    Set(row, "Font.Style", PropertyList{kBold});
    Set(row, "Font.Color", std::move(color));
  }

  // Border 8, moving and horizontal resizing, grid 10, fixed double click.
  static void Resizer(ComponentRow& row) {
    Set(row, "Resizer.ResizingBorder", 8LL);
    Set(row, "Resizer.ResizingMode", PropertyList{raHorizontal, raMove});
    Set(row, "Resizer.GridDimension", 10LL);
    Set(row, "Resizer.FixDblClick", true);
  }

  // An item of the data module; a name it does not know stays a reference the loader
  // reports.
  PropertyValue Parameter(const char* name) const {
    if (TQorNumber* item = module_.Number(name)) return static_cast<Component*>(item);
    return ComponentRef{name};
  }

  PropertyValue LiveItem(const char* name) const {
    if (TQorPacketData* item = module_.Packet(name)) return static_cast<Component*>(item);
    return ComponentRef{name};
  }

  MethodRef Handler(const char* name) const {
    TFormConfig& f = form_;
    const std::string_view n = name;
    TNotifyEvent handler;
    if (n == "QorValEditNGiriCambioEnter") handler = [&f](Component* s) { f.QorValEditNGiriCambioEnter(s); };
    if (n == "QorValEditNGiriCambioExit") handler = [&f](Component* s) { f.QorValEditNGiriCambioExit(s); };
    if (n == "ButtonResetClick") handler = [&f](Component* s) { f.ButtonResetClick(s); };
    if (n == "QorComboTipoEmulChange") handler = [&f](Component* s) { f.QorComboTipoEmulChange(s); };
    if (n == "QorCheckBoxFuoriGiriClick") handler = [&f](Component* s) { f.QorCheckBoxFuoriGiriClick(s); };
    // An unknown name holds no handler, which the loader reports.
    return handler ? MethodRef{name, handler} : MethodRef{name, {}};
  }

  void Frames() {
    ComponentRow& pages = Add<TPageControl>("PageControl");
    Set(pages, "Parent", static_cast<Component*>(&form_));
    const char* captions[][2] = {{"TabSheet1", "Configurazione Vettura"},
                                 {"TabSheet3", "Attuatore"},
                                 {"TabSheet2", "Configurazioni Opzionali"}};
    for (const auto& [name, caption] : captions) {
      ComponentRow& page = Add<TTabSheet>(name);
      Set(page, "PageControl", ComponentRef{"PageControl"});
      Set(page, "Caption", std::string(caption));
    }
    ComponentRow& bevel = Add<TPlainFrame>("Bevel_2");
    Set(bevel, "Parent", static_cast<Component*>(&form_));
    Set(bevel, "Frame", static_cast<long long>(fkHorizontalLine));
    Set(bevel, "Height", 4LL);

    ComponentRow& panel = Add<TPlainFrame>("PanelRealTime");
    Set(panel, "Parent", static_cast<Component*>(&form_));
    Set(panel, "Height", 134LL);
    Set(panel, "Frame", static_cast<long long>(fkLowered));
    Set(panel, "Color", std::string("navy"));
    Font(panel, 16, std::string("yellow"));
    for (const auto& [name, left] : {std::pair{"Bevel3", 240}, std::pair{"Bevel4", 480}}) {
      ComponentRow& divider = Add<TPlainFrame>(name);
      Set(divider, "Parent", ComponentRef{"PanelRealTime"});
      Set(divider, "Frame", static_cast<long long>(fkVerticalLine));
      Place(divider, {left, 4, 4, 126});
    }

    ComponentRow& bar = Add<TStatusBar>("LMDStatusBarMain");
    Set(bar, "Parent", static_cast<Component*>(&form_));
    Set(bar, "Height", 22LL);
    Font(bar, 16, kWindowText);
  }

  template <std::size_t N>
  void Page(const char* page, const PageRow (&controls)[N]) {
    for (const PageRow& c : controls) {
      switch (c.kind) {
        case Edit: EditBox(page, c); break;
        case Combo: ComboBox(page, c); break;
        case Check: CheckBox(page, c); break;
        case Hint: LimitHint(page, c); break;
        case Button: PushButton(page, c); break;
      }
      if (c.settings.unit.name) UnitLabel(page, c);
    }
  }

  void Common(ComponentRow& row, const char* page, const PageRow& c) {
    Set(row, "Parent", ComponentRef{page});
    if (c.settings.hidden) Set(row, "Visible", false);
    if (c.settings.disabled) Set(row, "Enabled", false);
    Place(row, c.box);
    Set(row, "TabOrder", static_cast<long long>(c.tabOrder));
  }

  void Chained(ComponentRow& row, const Chain& chain) {
    if (chain.next) Set(row, "NextControl", ComponentRef{chain.next});
    if (chain.prev) Set(row, "PrevControl", ComponentRef{chain.prev});
  }

  void EditBox(const char* page, const PageRow& c) {
    ComponentRow& row = Add<TValueEditEx>(c.control);
    Common(row, page, c);
    Set(row, "AutoSize", false);
    if (c.item) Set(row, "Value", Parameter(c.item));
    Set(row, "EditLabel.Caption", std::string(c.caption));
    if (c.settings.captionBeforeBox) Set(row, "EditLabel.Alignment", static_cast<long long>(taRightJustify));
    Set(row, "EditLabel.LabelSpacing", static_cast<long long>(c.spacing));
    Chained(row, c.chain);
    if (c.settings.limitHint) {
      Set(row, "OnEnter", Handler("QorValEditNGiriCambioEnter"));
      Set(row, "OnExit", Handler("QorValEditNGiriCambioExit"));
    }
    Resizer(row);
  }

  void ComboBox(const char* page, const PageRow& c) {
    ComponentRow& row = Add<TQorComboBox>(c.control);
    Common(row, page, c);
    Set(row, "Style", static_cast<long long>(csDropDownList));
    if (c.settings.entries) Set(row, "Items", std::string(c.settings.entries));
    Set(row, "Value", Parameter(c.item));
    Set(row, "ComboLabel.Caption", std::string(c.caption));
    Set(row, "ComboLabel.LabelSpacing", static_cast<long long>(c.spacing));
    Chained(row, c.chain);
    if (c.settings.onChange) Set(row, "OnChange", Handler(c.settings.onChange));
    Resizer(row);
  }

  void CheckBox(const char* page, const PageRow& c) {
    ComponentRow& row = Add<TQorCheckBox>(c.control);
    Common(row, page, c);
    Set(row, "Caption", std::string(c.caption));
    Set(row, "Value", Parameter(c.item));
    Set(row, "Condition", static_cast<long long>(c.settings.check.condition));
    Set(row, "ConditionValue", c.settings.check.conditionValue);
    Set(row, "UncheckedValue", c.settings.check.uncheckedValue);
    if (c.settings.onClick) Set(row, "OnClick", Handler(c.settings.onClick));
    Resizer(row);
    Set(row, "CheckedValue", c.settings.check.checkedValue);
  }

  // Single border, soft bevel, white bold text on dark blue.
  void LimitHint(const char* page, const PageRow& c) {
    ComponentRow& row = Add<TPlainLabel>(c.control);
    Common(row, page, c);
    Set(row, "Frame", static_cast<long long>(fkBox));
    // The text colour first: it is the window background's before the box gets its own.
    Font(row, 13, kWindowBackground);
    Set(row, "Color", kDarkBlue);
    Set(row, "Caption", std::string(c.caption));
  }

  void PushButton(const char* page, const PageRow& c) {
    ComponentRow& row = Add<TPlainButton>(c.control);
    Common(row, page, c);
    Set(row, "Caption", std::string(c.caption));
    if (c.settings.onClick) Set(row, "OnClick", Handler(c.settings.onClick));
  }

  void UnitLabel(const char* page, const PageRow& c) {
    ComponentRow& row = Add<TPlainLabel>(c.settings.unit.name);
    Set(row, "Parent", ComponentRef{page});
    if (c.settings.hidden) Set(row, "Visible", false);
    Set(row, "Caption", std::string(c.settings.unit.caption));
    Place(row, {c.box.left + c.box.width + kUnitGap, c.box.top + 3, 0, 0});
  }

  void LivePanel() {
    for (const LiveRow& l : kLiveLabels) {
      ComponentRow& row = Add<TQorLabel>(l.control);
      Set(row, "Parent", ComponentRef{"PanelRealTime"});
      Set(row, "AutoSize", false);
      Place(row, l.box);
      Set(row, "Value", LiveItem(l.item));
      Set(row, "Style", static_cast<long long>(lsLabeledValue));
      Set(row, "OnText", std::string("ON"));
      Set(row, "OffText", std::string("OFF"));
      Set(row, "OnColor", kWindowText);
      Set(row, "OffColor", kWindowText);
      Set(row, "Alignment", static_cast<long long>(taRightJustify));
      Set(row, "DataFormat", std::string(l.format));
      if (l.ownFontColor) Font(row, 16, std::string(l.ownFontColor));
      Set(row, "ChildLabel.Caption", std::string(l.caption));
      Set(row, "ChildLabel.LabelSpacing", static_cast<long long>(l.spacing));
      Resizer(row);
    }
    for (const LampRow& l : kBandLamps) {
      ComponentRow& row = Add<TLamp>(l.lamp);
      Set(row, "Parent", ComponentRef{"PanelRealTime"});
      Place(row, {l.left, l.top, kLampSize, kLampSize});
      Set(row, "FillColor", std::string(l.fill));
      Set(row, "Position", 0LL);
    }
  }

  TFormConfig& form_;
  TSerialDataModule& module_;
  std::vector<ComponentRow> rows_;
};

}  // namespace

std::vector<ComponentRow> FormConfigResource(TFormConfig& form) { return Builder(form).Build(); }

}  // namespace vzt
