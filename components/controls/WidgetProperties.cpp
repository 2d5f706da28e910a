#include "components/controls/WidgetProperties.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>

namespace vzt {

namespace {

enum FontStyle : int { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };

// The toolkit's system colour indexes that the windows use, with their palette roles.
std::optional<QPalette::ColorRole> SystemColorRole(int index) {
  switch (index) {
    case 5: return QPalette::Base;             // window background
    case 8: return QPalette::WindowText;       // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;          // button face
    case 18: return QPalette::ButtonText;
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return std::nullopt;
  }
}

bool ColorFromNumber(long long number, const QWidget& widget, QColor& out) {
  if (number < -0x80000000LL || number > 0xFFFFFFFFLL) return false;
  const auto bits = static_cast<unsigned long long>(number) & 0xFFFFFFFFull;
  const unsigned long long high = bits >> 24;
  if (high == 0xFF || high == 0x80) {
    const auto role = SystemColorRole(static_cast<int>(bits & 0xFF));
    if (!role) return false;
    out = widget.palette().color(*role);
    return true;
  }
  if (high != 0 || number < 0) return false;
  out = QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
               static_cast<int>((bits >> 16) & 0xFF));
  return true;
}

bool SetFontStyle(QWidget& widget, const PropertyValue& value) {
  const auto* list = std::get_if<PropertyList>(&value);
  if (!list) return false;
  std::array<bool, 4> on{};
  for (double style : *list) {
    int n = 0;
    if (!WholeNumberIn(style, fsBold, fsStrikeOut, n)) return false;
    on[static_cast<std::size_t>(n)] = true;
  }
  QFont font = widget.font();
  font.setBold(on[fsBold]);
  font.setItalic(on[fsItalic]);
  font.setUnderline(on[fsUnderline]);
  font.setStrikeOut(on[fsStrikeOut]);
  widget.setFont(font);
  return true;
}

std::optional<bool> ApplyFontProperty(QWidget& widget, std::string_view name,
                                      const PropertyValue& value) {
  QFont font = widget.font();
  int number = 0;
  QString text;
  QColor color;
  if (name == "Font.Name") {
    if (!PropertyAsText(value, text) || text.isEmpty()) return false;
    font.setFamily(text);
  } else if (name == "Font.Size") {
    if (!PropertyAsInt(value, number) || number <= 0) return false;
    font.setPointSize(number);
  } else if (name == "Font.Height") {
    // The toolkit's negative heights are pixel sizes; positive ones include the leading.
    if (!PropertyAsInt(value, number) || number == 0) return false;
    font.setPixelSize(number < 0 ? -number : number);
  } else if (name == "Font.Style") {
    return SetFontStyle(widget, value);
  } else if (name == "Font.Color") {
    if (!PropertyAsColor(value, widget, color)) return false;
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget.setPalette(palette);
    return true;
  } else {
    return std::nullopt;
  }
  widget.setFont(font);
  return true;
}

bool SetBackground(QWidget& widget, const PropertyValue& value) {
  QColor color;
  if (!PropertyAsColor(value, widget, color)) return false;
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, color);
  palette.setColor(QPalette::Base, color);
  palette.setColor(QPalette::Button, color);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
  return true;
}

bool SetParentProperty(QWidget& widget, const PropertyValue& value) {
  const auto* c = std::get_if<Component*>(&value);
  if (!c) return false;
  QWidget* parent = *c ? dynamic_cast<QWidget*>(*c) : nullptr;
  if (*c && !parent) return false;
  AdoptParent(widget, parent);
  return true;
}

template <class Apply>
bool WithInt(const PropertyValue& value, Apply apply) {
  int number = 0;
  if (!PropertyAsInt(value, number)) return false;
  apply(number);
  return true;
}

template <class Apply>
bool WithBool(const PropertyValue& value, Apply apply) {
  bool flag = false;
  if (!PropertyAsBool(value, flag)) return false;
  apply(flag);
  return true;
}

}  // namespace

bool PropertyAsText(const PropertyValue& value, QString& out) {
  if (const auto* wide = std::get_if<std::u16string>(&value)) {
    out = QString::fromStdU16String(*wide);
    return true;
  }
  if (const auto* narrow = std::get_if<std::string>(&value)) {
    out = QString::fromUtf8(narrow->data(), static_cast<qsizetype>(narrow->size()));
    return true;
  }
  return false;
}

bool PropertyAsColor(const PropertyValue& value, const QWidget& widget, QColor& out) {
  if (const auto* number = std::get_if<long long>(&value))
    return ColorFromNumber(*number, widget, out);
  QString name;
  if (!PropertyAsText(value, name)) return false;
  const QColor named = QColor::fromString(name);
  if (!named.isValid()) return false;
  out = named;
  return true;
}

bool WholeNumberIn(double value, int first, int last, int& out) {
  if (!(value >= first && value <= last) || value != std::floor(value)) return false;
  out = static_cast<int>(value);
  return true;
}

Qt::Alignment HorizontalAlignment(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    case taLeftJustify: break;
  }
  return Qt::AlignLeft;
}

void AdoptParent(QWidget& widget, QWidget* parent) {
  const bool hiddenOnPurpose =
      widget.isHidden() && widget.testAttribute(Qt::WA_WState_ExplicitShowHide);
  widget.setParent(parent);
  if (parent && !hiddenOnPurpose) widget.setVisible(true);
}

std::optional<bool> ApplyWidgetProperty(QWidget& widget, std::string_view name,
                                        const PropertyValue& value) {
  QWidget& w = widget;
  if (name == "Left") return WithInt(value, [&w](int x) { w.move(x, w.y()); });
  if (name == "Top") return WithInt(value, [&w](int y) { w.move(w.x(), y); });
  if (name == "Width") return WithInt(value, [&w](int x) { w.resize(std::max(0, x), w.height()); });
  if (name == "Height") return WithInt(value, [&w](int y) { w.resize(w.width(), std::max(0, y)); });
  if (name == "Visible") return WithBool(value, [&w](bool on) { w.setVisible(on); });
  if (name == "Enabled") return WithBool(value, [&w](bool on) { w.setEnabled(on); });
  if (name == "TabStop")
    return WithBool(value, [&w](bool on) { w.setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus); });
  if (name == "TabOrder") return WithInt(value, [&w](int n) { w.setProperty("TabOrder", n); });
  if (name == "Tag") return WithInt(value, [&w](int n) { w.setProperty("Tag", n); });
  if (name == "Parent") return SetParentProperty(widget, value);
  if (name == "Color") return SetBackground(widget, value);
  if (name == "Hint") {
    QString text;
    if (!PropertyAsText(value, text)) return false;
    widget.setToolTip(text);
    return true;
  }
  return ApplyFontProperty(widget, name, value);
}

std::optional<bool> ApplySubProperty(Component* sub, std::string_view prefix,
                                     std::string_view name, const PropertyValue& value) {
  if (name.size() <= prefix.size() + 1 || name.substr(0, prefix.size()) != prefix ||
      name[prefix.size()] != '.')
    return std::nullopt;
  if (!sub) return false;
  return sub->SetProperty(name.substr(prefix.size() + 1), value);
}

}  // namespace vzt
