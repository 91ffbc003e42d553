#include <gtest/gtest.h>

#include <memory>

#include "skin/skin_caption.h"

namespace corvane::skin {
namespace {

// Records which buttons were redrawn with which state image.
class RecordingForm : public NcForm {
 public:
  void PaintSysButton(const TWinSysButton& b, int image) override {
    painted.push_back({b.Data().Action, image});
  }
  std::vector<std::pair<int, int>> painted;
};

struct Caption {
  RecordingForm form;
  std::vector<std::unique_ptr<TWinSysButton>> owned;
  std::vector<TWinSysButton*> buttons;
  TWinSysButton& Add(int action, Rect r, int visibility = 0) {
    TDataSkinSysButton d;
    d.Action = action;
    d.Visibility = visibility;
    owned.push_back(std::make_unique<TWinSysButton>(form, d));
    owned.back()->rect = r;
    buttons.push_back(owned.back().get());
    return *owned.back();
  }
};

TEST(CaptionButtons, HotStateMovesWithoutTouchingOthers) {
  Caption c;
  TWinSysButton& close = c.Add(0, {280, 4, 300, 20});
  TWinSysButton& minimise = c.Add(2, {240, 4, 260, 20});
  TWinSysButton& other = c.Add(5, {200, 4, 220, 20});
  close.MouseMove();
  EXPECT_EQ(c.form.Hot(), &close);
  EXPECT_EQ(close.state, kNcHot);
  close.MouseMove();  // still over it: nothing redrawn again
  minimise.MouseMove();
  EXPECT_EQ(c.form.Hot(), &minimise);
  EXPECT_EQ(close.state, kNcNormal);
  EXPECT_EQ(c.form.painted, (std::vector<std::pair<int, int>>{{0, 3}, {0, 1}, {2, 3}}));
  EXPECT_EQ(other.state, kNcNormal);

  c.form.painted.clear();
  close.MouseDown();
  EXPECT_EQ(c.form.Hot(), &close);
  EXPECT_EQ(close.state, kNcPressed);
  close.MouseUp();
  EXPECT_EQ(close.state, kNcHot);
  EXPECT_EQ(c.form.painted, (std::vector<std::pair<int, int>>{{2, 1}, {0, 2}, {0, 3}}));

  // The hover timer ends the hot state once the cursor has left.
  EXPECT_FALSE(HoverShouldLeave(c.form.Hot(), {285, 10}));
  EXPECT_TRUE(HoverShouldLeave(c.form.Hot(), {150, 10}));
  EXPECT_FALSE(HoverShouldLeave(nullptr, {150, 10}));
  c.form.Hot()->MouseLeave();
  EXPECT_EQ(c.form.Hot(), nullptr);
  EXPECT_EQ(close.state, kNcNormal);

  // A hidden button never becomes hot, but still hands the hot state on.
  minimise.MouseMove();
  other.visible = false;
  other.MouseMove();
  EXPECT_EQ(c.form.Hot(), nullptr);
  EXPECT_EQ(minimise.state, kNcNormal);
  EXPECT_EQ(other.state, kNcNormal);
  // A button going away takes the hot state with it.
  close.MouseMove();
  c.buttons.erase(c.buttons.begin());
  c.owned.erase(c.owned.begin());
  EXPECT_EQ(c.form.Hot(), nullptr);
}

TEST(CaptionButtons, ElementUnderThePointAndHitTest) {
  Caption c;
  TWinSysButton& icon = c.Add(-1, {0, 0, 20, 20});
  TWinSysButton& close = c.Add(0, {280, 4, 300, 20});
  TWinSysButton& hidden = c.Add(1, {260, 4, 280, 20});
  hidden.visible = false;
  TNCObject item(c.form);
  item.rect = {10, 22, 50, 40};
  EXPECT_EQ(ElementAt(c.buttons, {&item}, {5, 5}), nullptr);  // negative action: not hit
  EXPECT_EQ(ElementAt(c.buttons, {&item}, {290, 10}), &close);
  EXPECT_EQ(ElementAt(c.buttons, {&item}, {265, 10}), nullptr);
  EXPECT_EQ(ElementAt(c.buttons, {&item}, {20, 30}), &item);
  (void)icon;

  EXPECT_EQ(CaptionHitTest(hit::kCaption + 10, 50, 20), hit::kCaption + 10);
  EXPECT_EQ(CaptionHitTest(hit::kNowhere, 3, 20), hit::kNowhere);
  EXPECT_EQ(CaptionHitTest(hit::kNowhere, 4, 20), hit::kCaption);
  EXPECT_EQ(CaptionHitTest(hit::kNowhere, 20, 20), hit::kCaption);
  EXPECT_EQ(CaptionHitTest(hit::kNowhere, 21, 20), hit::kMenu);
  const FrameMetrics f{5, 20, 5, 6, 19};
  EXPECT_EQ(ClientToWindowPoint({-5, -39}, f, false), (Point{0, 0}));
  EXPECT_EQ(ClientToWindowPoint({3, 4}, f, true), (Point{3, 4}));
  EXPECT_EQ(ButtonDownHitCode(hit::kCaption, true, true), hit::kMenu);
  EXPECT_EQ(ButtonDownHitCode(hit::kCaption, true, false), hit::kCaption);
  EXPECT_EQ(ButtonDownHitCode(hit::kCaption, false, true), hit::kCaption);
}

TEST(CaptionActions, Table) {
  const std::vector<std::pair<int, CaptionAction>> table = {
      {0, CaptionAction::kClose},           {1, CaptionAction::kMaximiseToggle},
      {22, CaptionAction::kMaximiseToggle}, {2, CaptionAction::kMinimiseToggle},
      {23, CaptionAction::kMinimiseToggle}, {3, CaptionAction::kSystemMenu},
      {11, CaptionAction::kSystemMenu},     {12, CaptionAction::kSystemMenu},
      {7, CaptionAction::kMdiMinimise},     {60, CaptionAction::kMdiMinimise},
      {8, CaptionAction::kMdiRestore},      {61, CaptionAction::kMdiRestore},
      {9, CaptionAction::kMdiClose},        {62, CaptionAction::kMdiClose},
      {4, CaptionAction::kPostAction},      {-1, CaptionAction::kPostAction},
      {63, CaptionAction::kPostAction}};
  for (auto [action, expected] : table) EXPECT_EQ(ActionFor(action), expected) << action;

  EXPECT_EQ(MaximiseToggle(kStateNormal).command, sc::kMaximize);
  EXPECT_EQ(MaximiseToggle(kStateMaximised).command, sc::kRestore);
  EXPECT_EQ(MaximiseToggle(kStateMaximised).new_state, kStateNormal);
  EXPECT_EQ(MinimiseToggle(kStateMaximised).command, sc::kMinimize);
  EXPECT_EQ(MinimiseToggle(kStateMinimised).command, sc::kRestore);
  EXPECT_EQ(TitleDoubleClick(kStateNormal, true).command, sc::kMaximize);
  EXPECT_EQ(TitleDoubleClick(kStateNormal, false).command, 0u);
  EXPECT_EQ(TitleDoubleClick(kStateMaximised, false).command, sc::kRestore);
  EXPECT_EQ(TitleDoubleClick(kStateMinimised, true).new_state, kStateNormal);
  EXPECT_TRUE(IsSystemCommand(sc::kClose));
  EXPECT_FALSE(IsSystemCommand(sc::kKeyMenu));
  EXPECT_FALSE(IsSystemCommand(101));
}

TEST(SystemMenu, ItemsStatesAndDoubleOpening) {
  auto tags = [](unsigned icons) {
    std::vector<int> t;
    for (const SystemMenuItem& i : SystemMenuItems(icons)) t.push_back(i.tag);
    return t;
  };
  EXPECT_EQ(tags(kBiMaximize | kBiMinimize | kBiSystemMenu), (std::vector<int>{0, 1, 2, 100, 3}));
  EXPECT_EQ(tags(kBiSystemMenu), (std::vector<int>{0, 100, 3}));
  EXPECT_EQ(SystemMenuItems(0).back().caption, " Close ");
  EXPECT_EQ(SystemMenuItems(0).back().shortcut, "Shift+F4");
  EXPECT_FALSE(SystemMenuItemEnabled(0, kStateNormal));
  EXPECT_TRUE(SystemMenuItemEnabled(0, kStateMaximised));
  EXPECT_FALSE(SystemMenuItemEnabled(1, kStateMaximised));
  EXPECT_FALSE(SystemMenuItemEnabled(2, kStateMinimised));
  EXPECT_TRUE(SystemMenuItemEnabled(3, kStateMinimised));
  EXPECT_EQ(ChooseSystemMenuItem(3), SystemMenuChoice::kClose);
  EXPECT_EQ(ChooseSystemMenuItem(100), SystemMenuChoice::kNone);

  SystemMenuClock clock;
  EXPECT_TRUE(clock.Open(10, 500));  // the very first opening, early after boot
  EXPECT_FALSE(clock.Open(400, 500));
  EXPECT_TRUE(clock.Open(450, 500));  // after a close the next one opens again
  EXPECT_TRUE(clock.Open(1000, 500));
  EXPECT_FALSE(clock.Open(1500, 500));
  SystemMenuClock wrapping;
  EXPECT_TRUE(wrapping.Open(0xFFFFFF00u, 500));
  EXPECT_FALSE(wrapping.Open(0x10u, 500));  // the tick count wrapped in between
}

TEST(SystemMenu, KeyMenuConsumedForTheSkinnedMenuBar) {
  KeyMenuFacts f;
  f.command = sc::kKeyMenu;
  EXPECT_TRUE(ConsumeKeyMenu(f));  // Alt alone or F10
  f.key = 'F';
  EXPECT_FALSE(ConsumeKeyMenu(f));
  f.key_is_menu_accelerator = true;
  EXPECT_TRUE(ConsumeKeyMenu(f));
  f.key = 32;  // Alt+Space: the system menu
  EXPECT_FALSE(ConsumeKeyMenu(f));
  f.key = 0;
  f.menu_tracking = true;
  EXPECT_FALSE(ConsumeKeyMenu(f));
  f.menu_tracking = false;
  f.mouse_captured = true;
  EXPECT_FALSE(ConsumeKeyMenu(f));
  f.mouse_captured = false;
  f.command = sc::kClose;
  EXPECT_FALSE(ConsumeKeyMenu(f));
}

}  // namespace
}  // namespace corvane::skin
