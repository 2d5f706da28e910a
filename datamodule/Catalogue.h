#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Resource.h"

namespace vzt {

// What the catalogue needs from its data module: the library name to put in the connection
// and the module's handlers, looked up by their published names.
struct CatalogueBindings {
  std::string dllName;
  std::function<MethodRef(const std::string& name)> method;
};

inline constexpr int kComponentCount = 77;

// The data module's resource: its 77 components in component order, each with every
// property value it sets.
std::vector<ComponentRow> SerialDataModuleResource(const CatalogueBindings& bindings);

// The 48-point table of the coolant temperature sensor: ratio q falling with the temperature.
const std::vector<double>& NtcRatios();
const std::vector<double>& NtcDegrees();

}  // namespace vzt
