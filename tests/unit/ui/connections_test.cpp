#include "ui/connections.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace corvane::ui {
namespace {

struct Button : Component {
  explicit Button(Component* owner) : Component(owner) {}
  std::function<void(int)> OnPress;
};

TEST(Connections, AnEventIsSetUntilTheConnectionsGoAndTheOtherWiringsAreUndoneLastFirst) {
  Component owner(nullptr);
  Button* a = owner.Create<Button>("A");
  Button* b = owner.Create<Button>("B");
  int pressed = 0;
  std::vector<std::string> undone;
  {
    Connections wiring;
    wiring.Connect(*a, a->OnPress, [&pressed](int n) { pressed += n; });
    wiring.Add(*a, [&undone] { undone.push_back("first"); });
    wiring.Add(*b, [&undone] { undone.push_back("second"); });
    ASSERT_TRUE(a->OnPress);
    a->OnPress(2);
    EXPECT_EQ(pressed, 2);
    EXPECT_EQ(wiring.Size(), 3u);
  }
  EXPECT_FALSE(a->OnPress) << "nothing of a part that went may be called";
  EXPECT_EQ(undone, (std::vector<std::string>{"second", "first"}));
}

TEST(Connections, AComponentThatGoesFirstIsLeftAloneAndOnlyTheOthersAreUndone) {
  auto owner = std::make_unique<Component>(nullptr);
  Button* a = owner->Create<Button>("A");
  Button* b = owner->Create<Button>("B");
  int a_undone = 0;
  Connections wiring;
  wiring.Connect(*b, b->OnPress, [](int) {});
  wiring.Add(*a, [&a_undone] { ++a_undone; });
  delete a;  // its watch ends with it: the sanitizers see any later touch
  wiring.Clear();
  EXPECT_EQ(a_undone, 0);
  EXPECT_FALSE(b->OnPress);
  EXPECT_EQ(wiring.Size(), 0u);

  // Wired again after a clear, and the owner with all its parts goes first.
  wiring.Connect(*b, b->OnPress, [](int) {});
  owner.reset();
  wiring.Clear();
  EXPECT_EQ(wiring.Size(), 0u);
}

}  // namespace
}  // namespace corvane::ui
