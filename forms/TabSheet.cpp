#include "forms/TabSheet.h"

#include "components/controls/WidgetProperties.h"
#include "forms/PageControl.h"

namespace vzt {

TTabSheet::TTabSheet(Component* owner) : QWidget(nullptr), Component(owner) {}

TTabSheet::~TTabSheet() {
  SetPageControl(nullptr);
  DestroyComponents();
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl == page_control_) return;
  if (page_control_) {
    page_control_->removeTab(PageIndex());
    RemoveFreeNotification(page_control_);
    setParent(nullptr);
  }
  page_control_ = pageControl;
  if (page_control_) {
    FreeNotification(page_control_);
    page_control_->addTab(this, caption_);
  }
}

void TTabSheet::SetCaption(const QString& caption) {
  caption_ = caption;
  if (page_control_) page_control_->setTabText(PageIndex(), caption);
}

int TTabSheet::PageIndex() const { return page_control_ ? page_control_->indexOf(this) : -1; }

void TTabSheet::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove && component == page_control_) page_control_ = nullptr;
  Component::Notification(component, operation);
}

bool TTabSheet::SetProperty(std::string_view name, const PropertyValue& value) {
  if (name == "PageControl") return ReferenceProperty(&TTabSheet::SetPageControl)(*this, value);
  if (name == "Caption") {
    QString text;
    if (!PropertyAsText(value, text)) return false;
    SetCaption(text);
    return true;
  }
  if (auto taken = ApplyWidgetProperty(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
