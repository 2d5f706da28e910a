#include "forms/FormOndaCostruitaResource.h"

#include <string>

#include "components/controls/NumericEdit.h"
#include "components/controls/Resizer.h"
#include "components/controls/ValueEditEx.h"
#include "datamodule/SerialDataModule.h"
#include "forms/FormOndaCostruita.h"
#include "forms/PlainControl.h"

namespace vzt {

namespace {

enum Kind { Edit, Numeric, Caption, Unit, Button };

struct Box {
  int left, top, width, height;
};

struct DialogRow {
  const char* control;
  Kind kind;
  const char* item;
  const char* caption;
  int tabOrder;
  Box box;
};

// clang-format off
const DialogRow kWaveDialog[] = {
//  Control                      Kind     Item                Caption (text) in the resource Tab  Left  Top Width Height
  {"QorValEditNVolteAlto",      Edit,    "NVolteAlto",       "Tempo di Alto",               0,  {400,  20,  70, 24}},
  {"LabelMs1",                  Unit,    nullptr,            "s",                          -1,  {476,  23,   0,  0}},
  {"QorValueEditNVolteBasso",   Edit,    "NVolteBasso",      "Tempo di Basso",              1,  {400,  60,  70, 24}},
  {"Label1",                    Unit,    nullptr,            "s",                          -1,  {476,  63,   0,  0}},
  {"NumericEditSondaSconnessa", Numeric, nullptr,            "0",                           2,  {400, 100,  70, 24}},
  {"LabelTempoTristate",        Caption, nullptr,            "Tempo di sonda sconnessa",   -1,  { 20, 103,   0,  0}},
  {"Label3",                    Unit,    nullptr,            "s",                          -1,  {476, 103,   0,  0}},
  {"QorValueEditNumeroOnde",    Edit,    "NRipetizioniOnda", "Numero Onde",                 3,  {400, 140,  70, 24}},
  {"ButtonOK",                  Button,  nullptr,            "&OK",                         4,  {130, 195, 110, 32}},
  {"ButtonStandard",            Button,  nullptr,            "&Standard",                   5,  {290, 195, 110, 32}},
};
// clang-format on

constexpr long long kCaptionSpacing = 380;

class Builder {
 public:
  explicit Builder(TFormOndaCostruita& dialog) : dialog_(dialog) {}

  std::vector<ComponentRow> Build() {
    for (const DialogRow& r : kWaveDialog) {
      switch (r.kind) {
        case Edit: EditBox(r); break;
        case Numeric: NumericBox(r); break;
        case Caption:
        case Unit: Label(r); break;
        case Button: PushButton(r); break;
      }
    }
    return std::move(rows_);
  }

 private:
  template <class T>
  ComponentRow& Add(const DialogRow& r) {
    rows_.push_back({r.control, &Create<T>, {}});
    ComponentRow& row = rows_.back();
    Set(row, "Parent", static_cast<Component*>(&dialog_));
    Set(row, "Left", static_cast<long long>(r.box.left));
    Set(row, "Top", static_cast<long long>(r.box.top));
    if (r.box.width > 0) Set(row, "Width", static_cast<long long>(r.box.width));
    if (r.box.height > 0) Set(row, "Height", static_cast<long long>(r.box.height));
    if (r.tabOrder >= 0) Set(row, "TabOrder", static_cast<long long>(r.tabOrder));
    return row;
  }

  static void Set(ComponentRow& row, const char* property, PropertyValue value) {
    row.properties.push_back({property, std::move(value)});
  }

  PropertyValue Parameter(const char* name) const {
    if (TQorNumber* item = dialog_.Module().Number(name)) return static_cast<Component*>(item);
    return ComponentRef{name};
  }

  // Left-aligned, not auto-sized, caption 380 pixels left of the box; the resizer as on the
  // configuration window.
  void EditBox(const DialogRow& r) {
    ComponentRow& row = Add<TValueEditEx>(r);
    Set(row, "AutoSize", false);
    Set(row, "Alignment", static_cast<long long>(taLeftJustify));
    Set(row, "Value", Parameter(r.item));
    Set(row, "EditLabel.Caption", std::string(r.caption));
    Set(row, "EditLabel.LabelSpacing", kCaptionSpacing);
    Set(row, "Resizer.ResizingBorder", 8LL);
    Set(row, "Resizer.ResizingMode", PropertyList{raHorizontal, raMove});
    Set(row, "Resizer.GridDimension", 10LL);
    Set(row, "Resizer.FixDblClick", true);
  }

  // Whole hundredths up to 600 s; Enter goes on to the number of waves, Up back to the low
  // time, and the dialog's own handler splits the time into the controller's bytes.
  void NumericBox(const DialogRow& r) {
    TFormOndaCostruita& d = dialog_;
    const TKeyEvent keyDown = [&d](Component* s, int& key, Qt::KeyboardModifiers shift) {
      d.NumericEditSondaSconnessaKeyDown(s, key, shift);
    };
    ComponentRow& row = Add<TNumericEdit>(r);
    Set(row, "Text", std::string(r.caption));
    Set(row, "Precision", 0.01);
    Set(row, "MaxValue", 600.0);
    Set(row, "NextControl", ComponentRef{"QorValueEditNumeroOnde"});
    Set(row, "PrevControl", ComponentRef{"QorValueEditNVolteBasso"});
    Set(row, "VisibilityLevel", 90LL);
    Set(row, "OnKeyDown", MethodRef{"NumericEditSondaSconnessaKeyDown", keyDown});
  }

  void Label(const DialogRow& r) {
    ComponentRow& row = Add<TPlainLabel>(r);
    Set(row, "Caption", std::string(r.caption));
  }

  void PushButton(const DialogRow& r) {
    TFormOndaCostruita& d = dialog_;
    const bool ok = std::string_view(r.control) == "ButtonOK";
    const TNotifyEvent click = ok ? TNotifyEvent([&d](Component* s) { d.ButtonOKClick(s); })
                                  : TNotifyEvent([&d](Component* s) { d.ButtonStandardClick(s); });
    ComponentRow& row = Add<TPlainButton>(r);
    Set(row, "Caption", std::string(r.caption));
    Set(row, "OnClick", MethodRef{ok ? "ButtonOKClick" : "ButtonStandardClick", click});
  }

  TFormOndaCostruita& dialog_;
  std::vector<ComponentRow> rows_;
};

}  // namespace

std::vector<ComponentRow> FormOndaCostruitaResource(TFormOndaCostruita& dialog) { return Builder(dialog).Build(); }

}  // namespace vzt
