#pragma once

#include "Property.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vzt {

enum class Operation { opInsert, opRemove };

enum ComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csDesigning = 1u << 1,  // never set at run time; kept so setters can honour it
  csDestroying = 1u << 2,
};

// Our stand-in for the toolkit's component: ownership, a name, free-notification and
// property setting from declarative resource tables. Not a QObject, so GUI controls can
// derive from their Qt widget and from this at once.
class Component {
 public:
  explicit Component(Component* owner = nullptr);
  virtual ~Component();

  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  Component* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  const std::vector<Component*>& Components() const { return owned_; }
  Component* FindComponent(std::string_view name) const;

  // Two-way: whichever of the two is destroyed first tells the other.
  void FreeNotification(Component* other);
  void RemoveFreeNotification(Component* other);

  // Called with opRemove when a component this one asked about (or one of its owned
  // components) is going away; clear every reference to it here.
  virtual void Notification(Component* component, Operation operation);

  unsigned ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDesigning() const { return (state_ & csDesigning) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  void BeginLoading() { state_ |= csLoading; }

  // Runs once the resource loader has set every property; clears csLoading.
  virtual void Loaded();

  // Sets a published property by name; false when the name or the value's type is unknown.
  virtual bool SetProperty(std::string_view name, const PropertyValue& value);

 protected:
  // Destroys owned components, last created first. Derived destructors that need their
  // own state intact while the owned components go call this first.
  void DestroyComponents();

 private:
  void InsertComponent(Component* child);
  void RemoveComponent(Component* child);
  void NotifyFreeNotifiesOfRemoval();

  Component* owner_ = nullptr;
  std::string name_;
  std::vector<Component*> owned_;
  std::vector<Component*> free_notifies_;
  unsigned state_ = 0;
};

}  // namespace vzt
