#pragma once

#include <any>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vzt {

class Component;

// A method reference from a resource table: the handler's published name and the bound call.
struct MethodRef {
  std::string name;
  std::any handler;  // holds the std::function type the event expects
};

// A reference to another component of the same resource, by name; the loader resolves it.
struct ComponentRef {
  std::string name;
};

using PropertyList = std::vector<double>;

using PropertyValue = std::variant<bool, long long, double, std::string, std::u16string,
                                   PropertyList, ComponentRef, Component*, MethodRef>;

// Lossless reads of a property value; false when the value has another type.
bool PropertyAsBool(const PropertyValue& v, bool& out);
bool PropertyAsInt(const PropertyValue& v, int& out);
bool PropertyAsDouble(const PropertyValue& v, double& out);

// A class's published properties as data: one row per property, name and setter.
template <class T>
class PropertyTable {
 public:
  using Setter = std::function<bool(T&, const PropertyValue&)>;
  struct Row {
    std::string_view name;
    Setter set;
  };

  PropertyTable(std::initializer_list<Row> rows) : rows_(rows) {}

  // Empty when the table has no such property, else whether the value was taken.
  std::optional<bool> Apply(T& target, std::string_view name, const PropertyValue& v) const {
    for (const Row& r : rows_)
      if (r.name == name) return r.set(target, v);
    return std::nullopt;
  }

 private:
  std::vector<Row> rows_;
};

template <class T, class Arg>
auto IntProperty(void (T::*setter)(Arg)) {
  return [setter](T& t, const PropertyValue& v) {
    int i = 0;
    if (!PropertyAsInt(v, i)) return false;
    (t.*setter)(static_cast<Arg>(i));
    return true;
  };
}

template <class T>
auto BoolProperty(void (T::*setter)(bool)) {
  return [setter](T& t, const PropertyValue& v) {
    bool b = false;
    if (!PropertyAsBool(v, b)) return false;
    (t.*setter)(b);
    return true;
  };
}

template <class T>
auto DoubleProperty(void (T::*setter)(double)) {
  return [setter](T& t, const PropertyValue& v) {
    double d = 0;
    if (!PropertyAsDouble(v, d)) return false;
    (t.*setter)(d);
    return true;
  };
}

template <class T, class Str>
auto StringProperty(void (T::*setter)(Str)) {
  return [setter](T& t, const PropertyValue& v) {
    const auto* s = std::get_if<std::string>(&v);
    if (!s) return false;
    (t.*setter)(*s);
    return true;
  };
}

// A reference property: null or a component of type Ref.
template <class T, class Ref>
auto ReferenceProperty(void (T::*setter)(Ref*)) {
  return [setter](T& t, const PropertyValue& v) {
    const auto* c = std::get_if<Component*>(&v);
    if (!c) return false;
    if (!*c) {
      (t.*setter)(nullptr);
      return true;
    }
    auto* r = dynamic_cast<Ref*>(*c);
    if (!r) return false;
    (t.*setter)(r);
    return true;
  };
}

// An event property: the MethodRef must hold exactly the event's function type.
template <class T, class Event>
auto EventProperty(Event T::*field) {
  return [field](T& t, const PropertyValue& v) {
    const auto* m = std::get_if<MethodRef>(&v);
    if (!m) return false;
    const auto* h = std::any_cast<Event>(&m->handler);
    if (!h) return false;
    t.*field = *h;
    return true;
  };
}

}  // namespace vzt
