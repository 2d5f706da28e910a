#include "forms/ResourceWidgets.h"

#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/Component.h"

namespace vzt {

void NameWidgetsAfterComponents(Component& root) {
  for (Component* c : root.Components())
    if (auto* object = dynamic_cast<QObject*>(c)) object->setObjectName(QString::fromStdString(c->Name()));
}

void OrderTabsByProperty(QWidget& container) {
  struct Stop {
    int order;
    QWidget* widget;
  };
  std::vector<Stop> stops;
  for (QWidget* child : container.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QVariant order = child->property("TabOrder");
    if (order.isValid()) stops.push_back({order.toInt(), child});
  }
  std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.order < b.order; });
  for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1].widget, stops[i].widget);
}

}  // namespace vzt
