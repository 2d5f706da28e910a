#include "Transformations.h"

namespace vzt {

int TLinearTransformation::Transform(double value, double* result) {
  const double d = value * CoeffC + CoeffD;
  if (d == 0 || !result) return 1;
  *result = (value * CoeffA + CoeffB) / d;
  return 0;
}

int TLinearTransformation::AntiTransform(double value, double* result) {
  const double d = value * CoeffC - CoeffA;
  if (d == 0 || !result) return 1;
  *result = (CoeffB - value * CoeffD) / d;
  return 0;
}

bool TLinearTransformation::SetCoeffs(const PropertyList& coeffs) {
  if (coeffs.size() != 4) return false;
  CoeffA = coeffs[0];
  CoeffB = coeffs[1];
  CoeffC = coeffs[2];
  CoeffD = coeffs[3];
  return true;
}

bool TLinearTransformation::SetProperty(std::string_view name, const PropertyValue& value) {
  if (name == "Coeffs") {
    const auto* list = std::get_if<PropertyList>(&value);
    return list && SetCoeffs(*list);
  }
  return TBaseTransformation::SetProperty(name, value);
}

bool IsQorTransformation(const Component* component) {
  return dynamic_cast<const TBaseTransformation*>(component) != nullptr;
}

}  // namespace vzt
