// Tearing a skinned window down while one of its menus is open, under Wine:
// a timer destroys the window or switches the skin off from inside the
// menu loop. The bar and the system menu must outlive TrackPopupMenu, the
// menu loop must end, and nothing the engine made may stay behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "skin/win32/skin_menu.h"
#include "skin_fixture.h"

namespace corvane::skin::win32 {
namespace {

HMENU OpenMenu() {
  std::vector<HWND> open = OpenMenus();
  return open.empty() ? nullptr : reinterpret_cast<HMENU>(SendMessageA(open[0], 0x01E1, 0, 0));
}

// Polls every 40 ms while a modal menu loop holds the thread: waits for
// the menu, tears the window down, waits until that is done, looks, and
// ends the menu should it still be open. Gives up (ending the menu) after
// 4 seconds.
class Teardown {
 public:
  Teardown(std::function<void()> tear, std::function<bool()> torn, std::function<void()> look)
      : tear_(std::move(tear)), torn_(std::move(torn)), look_(std::move(look)) {
    current_ = this;
    id_ = SetTimer(nullptr, 0, 40, &Teardown::Tick);
  }
  ~Teardown() {
    KillTimer(nullptr, id_);
    current_ = nullptr;
  }
  HMENU menu = nullptr;  // the menu that was open when the window went
  bool tore = false;
  bool looked = false;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Teardown* t = current_;
    if (!t || ++t->ticks_ > 100) {
      EndMenu();
      return;
    }
    if (!t->tore) {
      if (!(t->menu = OpenMenu())) return;
      t->tore = true;
      t->tear_();
    }
    // A destroyed window's menu loop ends as soon as this tick returns.
    if (!t->looked && t->torn_()) {
      t->looked = true;
      t->look_();
      EndMenu();
    }
  }
  static inline Teardown* current_ = nullptr;
  std::function<void()> tear_;
  std::function<bool()> torn_;
  std::function<void()> look_;
  int ticks_ = 0;
  UINT_PTR id_ = 0;
};

enum class Menu { kBar, kSystem };
enum class Way { kDestroy, kSkinOff };

class MenuTeardown : public SkinnedWindows,
                     public ::testing::WithParamInterface<std::tuple<Menu, Way>> {};

TEST_P(MenuTeardown, TheOpenMenuOutlivesTheWindowsSkinAndNothingStays) {
  const auto [which, way] = GetParam();
  HMENU bar_menu = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 101, "&Open");
  AppendMenuA(file, MF_STRING, 102, "E&xit");
  AppendMenuA(bar_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  HWND h = Open("Teardown", bar_menu);
  ASSERT_TRUE(Running(h));
  TWinSkinForm& f = *manager->FindForm(h);
  ASSERT_NE(f.MenuBar(), nullptr);
  const std::weak_ptr<TWinSkinMenu> bar = f.MenuBar()->weak_from_this();

  bool alive_after = false, menu_after = false;
  Teardown t(
      [&] {
        if (way == Way::kDestroy) DestroyWindow(h);
        else manager->SetSkinActive(&ProgramSkin(), false);
      },
      [&] { return !IsWindow(h) || manager->FindForm(h) == nullptr; },
      [&] {
        // Torn down, its menu still open: what the menu loop uses is there.
        alive_after = !bar.expired();
        menu_after = IsMenu(t.menu) != FALSE;
      });
  RECT wr;
  GetWindowRect(h, &wr);
  if (which == Menu::kBar) {
    const Rect& r = f.MenuBar()->Item(0).rect;
    SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU,
                 MAKELPARAM(wr.left + (r.left + r.right) / 2, wr.top + (r.top + r.bottom) / 2));
  } else {
    SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION,
                 MAKELPARAM(wr.left + 100, wr.top + f.Metrics().top / 2));
  }
  ASSERT_TRUE(t.tore) << "no menu opened";
  ASSERT_TRUE(t.looked) << "the window was not torn down while its menu was open";
  if (which == Menu::kBar) {
    EXPECT_EQ(t.menu, file);
    EXPECT_TRUE(alive_after) << "the bar went while its menu was open";
  }
  EXPECT_TRUE(menu_after) << "the open menu was destroyed under TrackPopupMenu";
  EXPECT_TRUE(bar.expired()) << "the bar stayed after its menu closed";
  if (which == Menu::kSystem) {
    EXPECT_FALSE(IsMenu(t.menu)) << "the skinned system menu stayed";
  }

  if (way == Way::kSkinOff) {
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(GetMenu(h), bar_menu) << "the window has its menu back";
    EXPECT_FALSE(GetMenuState(file, 0, MF_BYPOSITION) & MF_OWNERDRAW) << "its items are its own again";
    EXPECT_NE(SendMessageA(h, kMsgSkinned, 0, 0), 1);
  }
  PumpFor(400);  // the manager's purge of a destroyed window
  EXPECT_EQ(manager->SkinnedCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(, MenuTeardown,
                         ::testing::Combine(::testing::Values(Menu::kBar, Menu::kSystem),
                                            ::testing::Values(Way::kDestroy, Way::kSkinOff)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) == Menu::kBar ? "Bar" : "System") +
                                  (std::get<1>(info.param) == Way::kDestroy ? "Destroyed" : "SkinOff");
                         });

}  // namespace
}  // namespace corvane::skin::win32
