#include "Property.h"

#include <cmath>
#include <limits>

namespace vzt {

bool PropertyAsBool(const PropertyValue& v, bool& out) {
  if (const auto* b = std::get_if<bool>(&v)) {
    out = *b;
    return true;
  }
  return false;
}

bool PropertyAsInt(const PropertyValue& v, int& out) {
  const auto* i = std::get_if<long long>(&v);
  if (!i || *i < std::numeric_limits<int>::min() || *i > std::numeric_limits<int>::max())
    return false;
  out = static_cast<int>(*i);
  return true;
}

bool PropertyAsDouble(const PropertyValue& v, double& out) {
  if (const auto* d = std::get_if<double>(&v)) {
    out = *d;
    return true;
  }
  if (const auto* i = std::get_if<long long>(&v)) {
    out = static_cast<double>(*i);
    return true;
  }
  return false;
}

}  // namespace vzt
