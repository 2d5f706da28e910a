#include "Component.h"

#include <algorithm>

namespace vzt {

namespace {
void EraseOne(std::vector<Component*>& list, Component* c) {
  auto it = std::find(list.begin(), list.end(), c);
  if (it != list.end()) list.erase(it);
}
}  // namespace

Component::Component(Component* owner) {
  if (owner) owner->InsertComponent(this);
}

Component::~Component() {
  state_ |= csDestroying;
  NotifyFreeNotifiesOfRemoval();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

Component* Component::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (Component* c : owned_)
    if (c->name_ == name) return c;
  return nullptr;
}

void Component::FreeNotification(Component* other) {
  if (!other || other == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), other) == free_notifies_.end())
    free_notifies_.push_back(other);
  if (std::find(other->free_notifies_.begin(), other->free_notifies_.end(), this) ==
      other->free_notifies_.end())
    other->free_notifies_.push_back(this);
}

void Component::RemoveFreeNotification(Component* other) {
  if (!other) return;
  EraseOne(free_notifies_, other);
  EraseOne(other->free_notifies_, this);
}

void Component::Notification(Component* component, Operation operation) {
  if (operation != Operation::opRemove || !component) return;
  RemoveFreeNotification(component);
  // As the toolkit does: an owner passes the news to everything it owns.
  for (std::size_t i = owned_.size(); i-- > 0;) {
    if (i < owned_.size() && owned_[i] != component) owned_[i]->Notification(component, operation);
  }
}

void Component::Loaded() { state_ &= ~csLoading; }

bool Component::SetProperty(std::string_view name, const PropertyValue& value) {
  if (name == "Name") {
    if (const auto* s = std::get_if<std::string>(&value)) {
      name_ = *s;
      return true;
    }
  }
  return false;
}

void Component::DestroyComponents() {
  while (!owned_.empty()) {
    Component* last = owned_.back();
    delete last;  // its destructor removes it from owned_
  }
}

void Component::InsertComponent(Component* child) {
  owned_.push_back(child);
  child->owner_ = this;
}

void Component::RemoveComponent(Component* child) {
  Notification(child, Operation::opRemove);
  EraseOne(owned_, child);
  child->owner_ = nullptr;
}

void Component::NotifyFreeNotifiesOfRemoval() {
  while (!free_notifies_.empty()) {
    Component* other = free_notifies_.back();
    free_notifies_.pop_back();
    EraseOne(other->free_notifies_, this);
    other->Notification(this, Operation::opRemove);
  }
}

}  // namespace vzt
