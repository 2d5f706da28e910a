#pragma once

#include "platform/Component.h"

namespace vzt {

// A coefficient transformation applied to an external coefficient of an item.
// Both operations return 0 and write Result on success, nonzero and leave it on failure.
class TBaseTransformation : public Component {
 public:
  explicit TBaseTransformation(Component* owner = nullptr) : Component(owner) {}

  virtual int Transform(double value, double* result) = 0;
  virtual int AntiTransform(double value, double* result) = 0;
};

// (A*x + B) / (C*x + D) and its inverse.
class TLinearTransformation : public TBaseTransformation {
 public:
  explicit TLinearTransformation(Component* owner = nullptr) : TBaseTransformation(owner) {}

  int Transform(double value, double* result) override;
  int AntiTransform(double value, double* result) override;

  double CoeffA = 1, CoeffB = 0, CoeffC = 0, CoeffD = 1;

  bool SetCoeffs(const PropertyList& coeffs);
  PropertyList Coeffs() const { return {CoeffA, CoeffB, CoeffC, CoeffD}; }

  bool SetProperty(std::string_view name, const PropertyValue& value) override;
};

bool IsQorTransformation(const Component* component);

}  // namespace vzt
