#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <Qt>

#include <optional>
#include <string_view>

#include "components/controls/ControlTypes.h"
#include "platform/Property.h"



namespace vzt {

// Text of a property: UTF-16 as the core keeps it, or UTF-8.
bool PropertyAsText(const PropertyValue& value, QString& out);

// A colour of a resource: an integer in the toolkit's form (0x00BBGGRR, or a system colour
// 0xFF0000nn / 0x800000nn that maps to `widget`'s palette) or a colour name such as "navy"
// or "#rrggbb".
bool PropertyAsColor(const PropertyValue& value, const QWidget& widget, QColor& out);

// An element of a list property that must be a whole number in [first, last].
bool WholeNumberIn(double value, int first, int last, int& out);

Qt::Alignment HorizontalAlignment(TAlignment alignment);

// Sets a widget's parent the way the resource means it: a control that was not hidden on
// purpose shows with its new parent.
void AdoptParent(QWidget& widget, QWidget* parent);

// The published properties every control shares: Left, Top, Width, Height, Visible, Enabled,
// Parent, Hint, Tag, TabOrder, TabStop, Color and Font.Name, Font.Size, Font.Height,
// Font.Style, Font.Color. Empty when `name` is none of them, else whether the value was taken.
std::optional<bool> ApplyWidgetProperty(QWidget& widget, std::string_view name,
                                        const PropertyValue& value);

// "Prefix.Rest" goes to the owned sub-component as "Rest". Empty when `name` does not start
// with the prefix and a dot; false when the sub-component is gone.
std::optional<bool> ApplySubProperty(Component* sub, std::string_view prefix,
                                     std::string_view name, const PropertyValue& value);

// A reference to another control of the resource: null, or a component that is a widget.
template <class T>
auto WidgetRefProperty(void (T::*setter)(QWidget*)) {
  return [setter](T& t, const PropertyValue& v) {
    const auto* c = std::get_if<Component*>(&v);
    if (!c) return false;
    QWidget* widget = *c ? dynamic_cast<QWidget*>(*c) : nullptr;
    if (*c && !widget) return false;
    (t.*setter)(widget);
    return true;
  };
}

// An enumeration given by its number; numbers outside [first, last] are refused.
template <class T, class E>
auto EnumProperty(void (T::*setter)(E), E first, E last) {
  return [setter, first, last](T& t, const PropertyValue& v) {
    int n = 0;
    if (!PropertyAsInt(v, n) || n < first || n > last) return false;
    (t.*setter)(static_cast<E>(n));
    return true;
  };
}

}  // namespace vzt
