#include "forms/PageControl.h"

#include <QTabBar>

#include "components/controls/WidgetProperties.h"
#include "forms/TabSheet.h"

namespace vzt {

TPageControl::TPageControl(Component* owner) : QTabWidget(nullptr), Component(owner) {
  // Tabs drawn as buttons that light up under the mouse, in as many rows as they need.
  setDocumentMode(false);
  tabBar()->setExpanding(false);
  tabBar()->setAttribute(Qt::WA_Hover, true);
  setUsesScrollButtons(false);
}

TPageControl::~TPageControl() { DestroyComponents(); }

TTabSheet* TPageControl::Page(int index) const { return dynamic_cast<TTabSheet*>(widget(index)); }

TTabSheet* TPageControl::ActivePage() const { return dynamic_cast<TTabSheet*>(currentWidget()); }

void TPageControl::SetActivePageIndex(int index) {
  if (index >= 0 && index < count()) setCurrentIndex(index);
}

void TPageControl::SelectNextPage(bool forward) {
  const int pages = count();
  if (pages == 0) return;
  const int step = forward ? 1 : pages - 1;
  setCurrentIndex((currentIndex() + step) % pages);
}

bool TPageControl::SetProperty(std::string_view name, const PropertyValue& value) {
  if (auto taken = ApplyWidgetProperty(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
