#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Component.h"

using namespace vzt;

namespace {

std::vector<std::string>* journal = nullptr;

// Records its destruction and every removal it is told of; clears its reference like a
// real component would.
class Probe : public Component {
 public:
  Probe(Component* owner, std::string name) : Component(owner) { SetName(std::move(name)); }
  ~Probe() override {
    if (journal) journal->push_back("~" + Name());
  }
  void Notification(Component* c, Operation op) override {
    if (op == Operation::opRemove) {
      if (journal) journal->push_back(Name() + " hears " + c->Name());
      if (c == ref) ref = nullptr;
    }
    Component::Notification(c, op);
  }
  Component* ref = nullptr;
};

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { journal = &log; }
  void TearDown() override { journal = nullptr; }
  std::vector<std::string> log;
};

TEST_F(ComponentTest, OwnerDestroysOwnedInReverseCreationOrder) {
  auto* root = new Probe(nullptr, "root");
  new Probe(root, "a");
  new Probe(root, "b");
  new Probe(root, "c");
  delete root;
  // Each sibling still alive hears of each removal through the owner.
  const std::vector<std::string> expected = {
      "~root", "~c", "b hears c", "a hears c", "~b", "a hears b", "~a"};
  EXPECT_EQ(log, expected);
}

TEST_F(ComponentTest, FindComponentByName) {
  Component root;
  auto* a = new Probe(&root, "a");
  EXPECT_EQ(root.FindComponent("a"), a);
  EXPECT_EQ(root.FindComponent("b"), nullptr);
  EXPECT_EQ(root.FindComponent(""), nullptr);
  EXPECT_EQ(a->Owner(), &root);
  delete a;
  EXPECT_TRUE(root.Components().empty());
}

TEST_F(ComponentTest, FreeNotificationWorksBothWays) {
  for (bool destroyFirst : {true, false}) {
    auto* x = new Probe(nullptr, "x");
    auto* y = new Probe(nullptr, "y");
    x->ref = y;
    y->ref = x;
    x->FreeNotification(y);
    if (destroyFirst) {
      delete x;
      EXPECT_EQ(y->ref, nullptr);
      delete y;
    } else {
      delete y;
      EXPECT_EQ(x->ref, nullptr);
      delete x;
    }
  }
}

TEST_F(ComponentTest, RemovedFreeNotificationStaysSilent) {
  Probe x(nullptr, "x");
  {
    Probe y(nullptr, "y");
    x.FreeNotification(y.Owner() ? nullptr : &y);
    y.FreeNotification(&x);  // asking twice is harmless
    x.RemoveFreeNotification(&y);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"~y"}));
}

TEST_F(ComponentTest, LoadingStateEndsWithLoaded) {
  Component c;
  EXPECT_FALSE(c.IsLoading());
  c.BeginLoading();
  EXPECT_TRUE(c.IsLoading());
  EXPECT_FALSE(c.IsDesigning());
  c.Loaded();
  EXPECT_FALSE(c.IsLoading());
}

}  // namespace
