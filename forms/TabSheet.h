#pragma once

#include <QString>
#include <QWidget>

#include "platform/Component.h"

namespace vzt {

class TPageControl;

// One page of a page control: a plain area for controls, with the caption of its tab.
class TTabSheet : public QWidget, public Component {
 public:
  explicit TTabSheet(Component* owner = nullptr);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return page_control_; }
  // Appends the page to a page control as its last tab.
  void SetPageControl(TPageControl* pageControl);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  // The index of the page in its page control, or -1.
  int PageIndex() const;

  void Notification(Component* component, Operation operation) override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 private:
  TPageControl* page_control_ = nullptr;
  QString caption_;
};

}  // namespace vzt
