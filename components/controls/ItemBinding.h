#pragma once

#include "components/data/SerialData.h"

namespace vzt {

// Reads an item afresh: its valid flag is cleared so that the read goes to the controller,
// then it answers as GetData does (on a failed read the value it kept).
bool ReadAfresh(TQorNumber& item, double& value);

// Moves a control from its old item's notification list to the new item's.
template <class Item>
void Rebind(Component& control, Item*& bound, Item* item) {
  if (bound) {
    bound->RemoveNotificationList(&control);
    control.RemoveFreeNotification(bound);
  }
  bound = item;
  if (bound) bound->AddNotificationList(&control);
}

// Leaves the item's notification list for good (the control is going).
template <class Item>
void Unbind(Component& control, Item*& bound) {
  Rebind<Item>(control, bound, nullptr);
}

}  // namespace vzt
