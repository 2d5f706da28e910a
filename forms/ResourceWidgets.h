#pragma once

class QWidget;

namespace vzt {

class Component;

// Gives every widget among the root's components the component's name as its object name,
// so that the windows' controls can be found by the names their resources give them.
void NameWidgetsAfterComponents(Component& root);

// Orders the tab stops among the direct children of a container by their TabOrder property,
// as the resource numbered them; children without one keep their place after them.
void OrderTabsByProperty(QWidget& container);

}  // namespace vzt
