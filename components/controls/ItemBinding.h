#pragma once

#include "components/data/SerialData.h"
#include "platform/Messages.h"

namespace vzt {

// Reads an item afresh: its valid flag is cleared so that the read goes to the controller,
// then it answers as GetData does (on a failed read the value it kept).
bool ReadAfresh(TQorNumber& item, double& value);

// Reads the item afresh and hands its value to `show`; true at once without an item.
template <class Show>
bool InitFromItem(TQorNumber* item, Show show) {
  if (!item) return true;
  double value = 0;
  const bool ok = ReadAfresh(*item, value);
  show(value);
  return ok;
}

// Hands the value the item holds to `show`; nothing without an item.
template <class Show>
void ShowItemData(TQorNumber* item, Show show) {
  if (!item) return;
  double value = 0;
  item->GetData(&value);
  show(value);
}

// Passes a packet's data into the item. True for the messages after which a control shows
// the item's value afresh (a packet arrived, or the item's data changed).
bool TakeDataMessage(TQorNumber* item, unsigned msg, WParam wparam);

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
