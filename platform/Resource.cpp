#include "Resource.h"

namespace vzt {

namespace {

bool ResolveReference(const Component& root, PropertyValue& value, std::string& reason) {
  const auto* ref = std::get_if<ComponentRef>(&value);
  if (!ref) return true;
  if (ref->name.empty()) {
    value = static_cast<Component*>(nullptr);
    return true;
  }
  Component* target = root.FindComponent(ref->name);
  if (!target) {
    reason = "no component named " + ref->name;
    return false;
  }
  value = target;
  return true;
}

}  // namespace

std::vector<ResourceError> LoadResource(Component& root, const std::vector<ComponentRow>& rows) {
  std::vector<ResourceError> errors;
  std::vector<Component*> created;
  created.reserve(rows.size());

  root.BeginLoading();
  for (const ComponentRow& row : rows) {
    Component* c = row.create(&root);
    c->SetName(row.name);
    c->BeginLoading();
    created.push_back(c);
  }

  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (const PropertyRow& p : rows[i].properties) {
      PropertyValue value = p.value;
      std::string reason;
      if (!ResolveReference(root, value, reason)) {
        errors.push_back({rows[i].name, p.name, reason});
        continue;
      }
      if (!created[i]->SetProperty(p.name, value))
        errors.push_back({rows[i].name, p.name, "unknown property or wrong value type"});
    }
  }

  for (Component* c : created) c->Loaded();
  root.Loaded();
  return errors;
}

}  // namespace vzt
