#include "components/controls/ComponentResizer.h"

namespace vzt {

TComponentResizer::TComponentResizer(Component* owner) : TResizer(owner, nullptr) {
  Component::SetName("");
}

void TComponentResizer::SetOwner(QWidget* control) {
  const bool wasLocked = Locked();
  SetLockControl(true);
  Detach();
  if (!control) return;
  Attach(control);
  SetLockControl(wasLocked);
}

bool TComponentResizer::SetProperty(std::string_view name, const PropertyValue& value) {
  if (name == "Component") {
    const auto* c = std::get_if<Component*>(&value);
    if (!c) return false;
    auto* control = *c ? dynamic_cast<QWidget*>(*c) : nullptr;
    if (*c && !control) return false;
    SetOwner(control);
    return true;
  }
  return TResizer::SetProperty(name, value);
}

}  // namespace vzt
