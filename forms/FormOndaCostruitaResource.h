#pragma once

#include <vector>

#include "platform/Resource.h"

namespace vzt {

class TFormOndaCostruita;

// The wave construction dialog's contents in creation order: three boxes bound to the
// wave's items, the free box of the disconnected time with its caption, the unit labels
// and the two buttons.
std::vector<ComponentRow> FormOndaCostruitaResource(TFormOndaCostruita& dialog);

}  // namespace vzt
