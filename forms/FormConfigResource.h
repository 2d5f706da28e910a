#pragma once

#include <vector>

#include "platform/Resource.h"

namespace vzt {

class TFormConfig;

// The vehicle configuration window's contents, one row per component in creation order:
// page control and pages, the controls of each page bound to the data module's items, the
// live panel with its labels, bevels and band lamps, and the status bar. Handlers are the
// window's own.
std::vector<ComponentRow> FormConfigResource(TFormConfig& form);

}  // namespace vzt
