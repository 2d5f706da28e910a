#pragma once

#include <QTabWidget>

#include "platform/Component.h"

namespace vzt {

class TTabSheet;

// The pages of a window, one tab each. Pages join it through their PageControl property, in
// the order they are set up.
class TPageControl : public QTabWidget, public Component {
 public:
  explicit TPageControl(Component* owner = nullptr);
  ~TPageControl() override;

  int PageCount() const { return count(); }
  TTabSheet* Page(int index) const;
  TTabSheet* ActivePage() const;
  void SetActivePageIndex(int index);
  // The next (or previous) page, from the last back to the first and the other way round.
  void SelectNextPage(bool forward);

  bool SetProperty(std::string_view name, const PropertyValue& value) override;
};

}  // namespace vzt
