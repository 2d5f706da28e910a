#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Resource.h"

using namespace vzt;

namespace {

std::vector<std::string> events;

// Records the order of property setting and Loaded, and resolves one reference.
class Widget : public Component {
 public:
  explicit Widget(Component* owner) : Component(owner) { events.push_back("create"); }
  void Loaded() override {
    events.push_back("loaded " + Name() + (IsLoading() ? " (loading)" : ""));
    Component::Loaded();
  }
  void SetSize(int v) {
    events.push_back("size " + std::to_string(v));
    size = v;
  }
  void SetPeer(Widget* w) { peer = w; }
  bool SetProperty(std::string_view name, const PropertyValue& value) override {
    static const PropertyTable<Widget> properties = {
        {"Size", IntProperty(&Widget::SetSize)},
        {"Peer", ReferenceProperty(&Widget::SetPeer)},
    };
    if (auto taken = properties.Apply(*this, name, value)) return *taken;
    return Component::SetProperty(name, value);
  }
  int size = 0;
  Widget* peer = nullptr;
};

TEST(Resource, CreatesAllThenSetsPropertiesInOrderThenLoads) {
  events.clear();
  Component root;
  auto errors = LoadResource(root, {{"a", Create<Widget>, {{"Size", 2LL}, {"Peer", ComponentRef{"b"}}}},
                                    {"b", Create<Widget>, {{"Size", 3LL}, {"Peer", ComponentRef{""}}}}});
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(events, (std::vector<std::string>{"create", "create", "size 2", "size 3",
                                              "loaded a (loading)", "loaded b (loading)"}));
  auto* a = dynamic_cast<Widget*>(root.FindComponent("a"));
  auto* b = dynamic_cast<Widget*>(root.FindComponent("b"));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->peer, b);
  EXPECT_EQ(b->peer, nullptr);
  EXPECT_FALSE(root.IsLoading());
}

TEST(Resource, ReportsWhatItCannotApply) {
  events.clear();
  Component root;
  auto errors = LoadResource(root, {{"a",
                                     Create<Widget>,
                                     {{"Size", 1e3},
                                      {"Size", 1LL << 40},
                                      {"Peer", ComponentRef{"nobody"}},
                                      {"Peer", ComponentRef{"c"}},
                                      {"Colour", 1LL}}},
                                    {"c", Create<Component>, {}}});
  ASSERT_EQ(errors.size(), 5u);
  EXPECT_EQ(errors[0].component, "a");
  EXPECT_EQ(errors[0].property, "Size");
  EXPECT_EQ(errors[2].reason, "no component named nobody");
  EXPECT_EQ(errors[4].property, "Colour");
}

}  // namespace
