#pragma once

#include "Component.h"
#include "Property.h"

#include <functional>
#include <string>
#include <vector>

namespace vzt {

struct PropertyRow {
  std::string name;
  PropertyValue value;
};

// One row per component, in creation order, with its properties in the order they are set.
struct ComponentRow {
  std::string name;
  std::function<Component*(Component* owner)> create;
  std::vector<PropertyRow> properties;
};

template <class T>
Component* Create(Component* owner) {
  return new T(owner);
}

struct ResourceError {
  std::string component;
  std::string property;
  std::string reason;
};

// Applies a resource to its root: creates every component (owned by the root), then sets
// every property in table order with references resolved by name among the root's
// components, then runs Loaded on each in table order. Returns what could not be applied.
std::vector<ResourceError> LoadResource(Component& root, const std::vector<ComponentRow>& rows);

}  // namespace vzt
