#pragma once

#include "components/controls/Resizer.h"

namespace vzt {

// The resizer as a free-standing component, attached to any control through its Component
// property.
class TComponentResizer : public TResizer {
 public:
  explicit TComponentResizer(Component* owner = nullptr);

  QWidget* GetComponent() const { return Control(); }
  // Attaches to `control` (or to nothing); the lock state carries over to the new control.
  void SetOwner(QWidget* control);

  bool SetProperty(std::string_view name, const PropertyValue& value) override;
};

}  // namespace vzt
