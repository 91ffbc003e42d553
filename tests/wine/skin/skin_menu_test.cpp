// Skinned menus on real windows, under Wine: a window's menu moves into the
// skinned bar and comes back at detach, the bar's items lie where the layout
// puts them, popup menus are skinned while they are open and leave nothing
// behind, owner-drawn items keep the texts a reader of the menu finds, and
// the keyboard and the mouse move between the bar's menus.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "../../e2e/driver/menu_items.h"
#include "skin/win32/skin_manage.h"
#include "skin/win32/skin_menu.h"
#include "skin_test_window.h"
#include "ui/components.h"
#include "ui/win32/win32_menu_skin.h"

namespace corvane::skin::win32 {
namespace {

TSkinData& Skin() {
  static TSkinData skin;
  static bool loaded = LoadSkinResource(skin);
  (void)loaded;
  return skin;
}

enum : UINT { kOpen = 101, kExit = 102, kBold = 201, kGrey = 202, kDeep = 203, kAbout = 301 };

// &File: Open, -, Exit; &Edit: Bold (checked), Grey (disabled), More >
// Deep; &Help: About.
HMENU TestMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kOpen, "&Open\tCtrl+O");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, kExit, "E&xit");
  HMENU edit = CreatePopupMenu();
  AppendMenuA(edit, MF_STRING | MF_CHECKED, kBold, "&Bold");
  AppendMenuA(edit, MF_STRING | MF_GRAYED, kGrey, "&Grey");
  HMENU more = CreatePopupMenu();
  AppendMenuA(more, MF_STRING, kDeep, "&Deep");
  AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, kAbout, "&About");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
  return bar;
}

// Runs one step every interval while a modal menu loop holds the thread.
class Script {
 public:
  explicit Script(std::vector<std::function<void()>> steps, UINT interval = 150)
      : steps_(std::move(steps)) {
    current_ = this;
    id_ = SetTimer(nullptr, 0, interval, &Script::Tick);
  }
  ~Script() {
    KillTimer(nullptr, id_);
    current_ = nullptr;
  }
  bool Done() const { return next_ >= steps_.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* s = current_;
    if (!s || s->Done()) {
      EndMenu();  // whatever happens, the loop ends
      return;
    }
    s->steps_[s->next_++]();
  }
  static inline Script* current_ = nullptr;
  std::vector<std::function<void()>> steps_;
  std::size_t next_ = 0;
  UINT_PTR id_ = 0;
};

HMENU MenuOf(HWND popup) { return reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1, 0, 0)); }

int Hilited(HMENU menu) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
  return -1;
}

void Key(HWND h, UINT vk) { PostMessageA(h, WM_KEYDOWN, vk, 0); }

class SkinnedMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Skin().NotLoaded()) GTEST_SKIP() << "the test program carries no skin (scripts/build_skin.sh)";
    ASSERT_EQ(LiveOwners(), OwnerCounts{});
    Skin().Active = true;
    manager = &TSkinManage::Create();
    manager->SkinLoaded(&Skin());
  }
  void TearDown() override {
    for (HWND h : windows)
      if (IsWindow(h)) DestroyWindow(h);
    TSkinManage::Destroy();
    PumpFor(50);
    EXPECT_EQ(LiveOwners(), OwnerCounts{}) << "the engine left something behind";
  }
  HWND OpenWithMenu(HMENU menu) {
    HWND h = CreateTestWindow("Menus", WS_OVERLAPPEDWINDOW, 60, 60, 300, 200, menu);
    windows.push_back(h);
    EXPECT_TRUE(PumpUntil([&] {
      TWinSkinForm* f = manager->FindForm(h);
      return f && f->State() == kSkinRunning;
    })) << "the window was not attached";
    PumpFor(50);
    return h;
  }
  TWinSkinMenu& Bar(HWND h) { return *manager->FindForm(h)->MenuBar(); }

  TSkinManage* manager = nullptr;
  std::vector<HWND> windows;
};

TEST_F(SkinnedMenus, TheWindowsMenuMovesIntoTheSkinnedBarAndComesBack) {
  HMENU menu = TestMenu();
  HWND h = OpenWithMenu(menu);
  TWinSkinForm& f = *manager->FindForm(h);
  ASSERT_NE(f.MenuBar(), nullptr);
  EXPECT_EQ(GetMenu(h), nullptr) << "the system draws no bar";
  EXPECT_EQ(f.MenuBar()->Menu(), menu);
  EXPECT_EQ(f.Metrics().menu_bar, GetSystemMetrics(SM_CYMENU));
  RECT wr, cr;
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 300);
  EXPECT_EQ(cr.bottom, 200) << "the client area keeps its size";
  EXPECT_EQ(wr.bottom - wr.top, 200 + f.Metrics().top + f.Metrics().menu_bar + f.Metrics().bottom);

  // The items follow each other from the first text position, under the
  // title and one pixel short of the bar's height.
  TWinSkinMenu& bar = f.MenuBar() ? *f.MenuBar() : Bar(h);
  ASSERT_EQ(bar.Count(), 3u);
  const Rect b = bar.BarRect();
  EXPECT_EQ(b, (Rect{f.Metrics().left, f.Metrics().top, (wr.right - wr.left) - f.Metrics().right,
                     f.Metrics().top + f.Metrics().menu_bar}));
  const TDataSkinObject* piece = Skin().Model().MenuBar ? &*Skin().Model().MenuBar : nullptr;
  EXPECT_EQ(bar.Item(0).rect.left, b.left + FirstTextPosition(b.Width(), piece, false));
  for (std::size_t i = 0; i < 3; ++i) {
    const Rect& r = bar.Item(i).rect;
    EXPECT_EQ(r.top, b.top);
    EXPECT_EQ(r.Height(), b.Height() - 1);
    EXPECT_GT(r.Width(), 10);
    if (i) {
      EXPECT_EQ(r.left, bar.Item(i - 1).rect.right);
    }
  }
  const Rect& edit = bar.Item(1).rect;
  EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0,
                         MAKELPARAM(wr.left + (edit.left + edit.right) / 2, wr.top + edit.top + 3)),
            HTMENU);

  // Hovering marks an item hot, like a title-bar button.
  const LPARAM over = MAKELPARAM(wr.left + edit.left + 3, wr.top + edit.top + 3);
  SetCursorPos(5, 700);
  SendMessageA(h, WM_NCMOUSEMOVE, HTMENU, over);
  EXPECT_EQ(f.Hot(), &bar.Item(1));
  EXPECT_EQ(bar.Item(1).state, kNcHot);

  // What the window does to its menu shows in the bar.
  EnableMenuItem(menu, 1, MF_BYPOSITION | MF_GRAYED);
  DrawMenuBar(h);
  EXPECT_TRUE(PumpUntil([&] { return !bar.Item(1).enabled; }, 1000));
  HMENU other = CreateMenu();
  AppendMenuA(other, MF_STRING, 9, "&Only");
  SetMenu(h, other);
  EXPECT_TRUE(PumpUntil([&] { return bar.Menu() == other; }, 1000));
  EXPECT_EQ(GetMenu(h), nullptr);
  EXPECT_EQ(bar.Count(), 1u);
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.bottom, 200);
  SetMenu(h, menu);
  EXPECT_TRUE(PumpUntil([&] { return bar.Menu() == menu && bar.Count() == 3; }, 1000));
  DestroyMenu(other);

  // Switching the skin off gives the window its menu and size back.
  manager->SetSkinActive(&Skin(), false);
  EXPECT_TRUE(PumpUntil([&] { return manager->SkinnedCount() == 0; }, 1500));
  EXPECT_EQ(GetMenu(h), menu);
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.bottom, 200);
  RECT plain = {0, 0, 300, 200};
  AdjustWindowRectEx(&plain, WS_OVERLAPPEDWINDOW, TRUE, 0);
  GetWindowRect(h, &wr);
  EXPECT_EQ(wr.bottom - wr.top, plain.bottom - plain.top);
}

TEST_F(SkinnedMenus, OwnerDrawnItemsKeepTheirTextsAndGetTheirTypeBack) {
  HMENU menu = TestMenu();
  HMENU file = GetSubMenu(menu, 0);
  {
    OwnerDrawnMenu drawn(menu, Skin(), MenuKind::kHost, true);
    EXPECT_EQ(drawn.Count(), 3u + 3u + 3u + 1u + 1u);
    // What the end-to-end driver's hook reads in the program's thread.
    crv::MenuItems read;
    crv::ReadMenu(file, &read);
    ASSERT_EQ(read.count, 3);
    EXPECT_STREQ(read.items[0].text, L"&Open\tCtrl+O");
    EXPECT_TRUE(read.items[1].state & MF_SEPARATOR);
    EXPECT_STREQ(read.items[2].text, L"E&xit");
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_OWNERDRAW);
    EXPECT_TRUE(GetMenuState(GetSubMenu(GetSubMenu(menu, 1), 2), 0, MF_BYPOSITION) & MF_OWNERDRAW)
        << "sub-menus at any depth";

    // Measuring: a separator is 8 high, a captioned item wider than its text.
    HWND h = OpenWithMenu(CreateMenu());
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_DATA;
    GetMenuItemInfoA(file, 1, TRUE, &mii);
    MEASUREITEMSTRUCT mi = {};
    mi.CtlType = ODT_MENU;
    mi.itemData = mii.dwItemData;
    EXPECT_EQ(SendMessageA(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)), TRUE);
    EXPECT_EQ(mi.itemHeight, 8u);
    GetMenuItemInfoA(file, 0, TRUE, &mii);
    mi.itemData = mii.dwItemData;
    SendMessageA(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
    EXPECT_GE(mi.itemHeight, 18u);
    EXPECT_GT(mi.itemWidth, 60u);
    // An item that is not ours goes to the window's own handling.
    mi.itemData = 12345;
    mi.itemWidth = 7;
    SendMessageA(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
    EXPECT_EQ(mi.itemWidth, 7u);
  }
  EXPECT_FALSE(GetMenuState(file, 0, MF_BYPOSITION) & MF_OWNERDRAW);
  MENUITEMINFOA mii = {};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_DATA | MIIM_FTYPE;
  GetMenuItemInfoA(file, 1, TRUE, &mii);
  EXPECT_EQ(mii.dwItemData, 0u);
  EXPECT_EQ(mii.fType, static_cast<UINT>(MFT_SEPARATOR));

  // An owner that inserts an entry while the menu is open (as it may in
  // WM_INITMENUPOPUP) still gets every item back as it was.
  {
    OwnerDrawnMenu drawn(file, Skin(), MenuKind::kHost, false);
    InsertMenuA(file, 0, MF_BYPOSITION | MF_STRING, 100, "&New");
  }
  for (UINT i = 0; i < 4; ++i)
    EXPECT_FALSE(GetMenuState(file, i, MF_BYPOSITION) & MF_OWNERDRAW) << "item " << i;
  char text[32] = {};
  GetMenuStringA(file, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Open\tCtrl+O");
  DestroyMenu(menu);
}

TEST_F(SkinnedMenus, APopupMenuIsSkinnedWhileItIsOpenAndLeavesNothingBehind) {
  HWND h = OpenWithMenu(nullptr);
  const OwnerCounts idle = LiveOwners();
  HMENU menu = TestMenu();
  HMENU file = GetSubMenu(menu, 0);
  std::size_t skins_seen = 0;
  LRESULT answered = 0;
  COLORREF corner = CLR_INVALID, expected = CLR_INVALID;
  COLORREF printed_border = CLR_INVALID, printed_inside = CLR_INVALID;
  {
    Script script({[&] {
      skins_seen = manager->Popups().Count();
      std::vector<HWND> open = OpenMenus();
      if (open.empty()) return;
      answered = SendMessageA(open[0], kMsgSkinned, 0, 0);
      // The border is the MenuBackground piece's ring.
      const Bitmap32& bg = manager->Popups().Find(open[0])->Background();
      if (!bg.Empty()) {
        const std::uint32_t p = bg.At(0, bg.Height() / 2);
        expected = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        RECT wr;
        GetWindowRect(open[0], &wr);
        HDC screen = GetDC(nullptr);
        corner = GetPixel(screen, wr.left, (wr.top + wr.bottom) / 2);
        // WM_PRINTCLIENT paints the same popup into any DC.
        const int w = wr.right - wr.left, ht = wr.bottom - wr.top;
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bits = CreateCompatibleBitmap(screen, w, ht);
        HGDIOBJ old = SelectObject(mem, bits);
        RECT all = {0, 0, w, ht};
        FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        POINT origin = {0, 0};
        ClientToScreen(open[0], &origin);
        SendMessageA(open[0], WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
        printed_border = GetPixel(mem, wr.left - origin.x, ht / 2);
        printed_inside = GetPixel(mem, w / 2, ht / 2);
        SelectObject(mem, old);
        DeleteObject(bits);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
      }
    }});
    OwnerDrawnMenu drawn(file, Skin(), MenuKind::kHost, false);
    TrackPopupMenu(file, TPM_RIGHTBUTTON, 120, 120, 0, h, nullptr);
  }
  EXPECT_EQ(skins_seen, 1u);
  EXPECT_EQ(answered, 1);
  ASSERT_NE(expected, CLR_INVALID) << "the popup had no background piece to compare with";
  EXPECT_EQ(corner, expected) << "the popup's border comes from the skin";
  EXPECT_EQ(printed_border, expected) << "WM_PRINTCLIENT paints the border too";
  EXPECT_NE(printed_inside, RGB(0, 0, 0)) << "and the items over the background";
  PumpFor(50);
  EXPECT_EQ(manager->Popups().Count(), 0u);
  EXPECT_FALSE(manager->Popups().tracking);
  EXPECT_EQ(LiveOwners(), idle);
  DestroyMenu(menu);
}

TEST_F(SkinnedMenus, AltAndAnAcceleratorOpenThatMenuAndTheArrowsMoveAlongTheBar) {
  HWND h = OpenWithMenu(TestMenu());
  TWinSkinMenu& bar = Bar(h);
  const HMENU file = GetSubMenu(bar.Menu(), 0), edit = GetSubMenu(bar.Menu(), 1),
              help = GetSubMenu(bar.Menu(), 2);
  EXPECT_EQ(bar.AcceleratorItem('e'), 1);
  EXPECT_EQ(bar.AcceleratorItem('q'), -1);
  // Keys that are no accelerator are the system's.
  EXPECT_EQ(SendMessageA(h, WM_SYSCOMMAND, SC_KEYMENU, ' '), 0);

  struct Seen {
    int open = -2;
    HMENU menu = nullptr;
    int hilited = -2;
    std::size_t popups = 0;
    bool from_bar = false;
  };
  std::vector<Seen> seen;
  auto look = [&] {
    Seen s;
    s.open = bar.OpenIndex();
    std::vector<HWND> open = OpenMenus();
    s.popups = open.size();
    if (!open.empty()) {
      s.menu = MenuOf(open[0]);
      s.hilited = Hilited(s.menu);
      if (TWinSkinPopMenu* p = manager->Popups().Find(open[0])) s.from_bar = p->FromBar();
    }
    seen.push_back(s);
  };
  {
    Script script({look,
                   [&] { Key(h, VK_LEFT); }, look,    // Edit -> File
                   [&] { Key(h, VK_LEFT); }, look,    // File -> Help (wraps)
                   [&] { Key(h, VK_RIGHT); }, look,   // Help -> File (wraps)
                   [&] { Key(h, VK_RIGHT); }, look,   // File -> Edit
                   [&] { Key(h, VK_UP); }, look,      // Edit's last entry: More, a sub-menu
                   [&] { Key(h, VK_RIGHT); }, look,   // opens More, stays on Edit
                   [&] { Key(h, VK_ESCAPE); }, look,  // closes More only
                   [&] { Key(h, VK_ESCAPE); }});
    EXPECT_EQ(SendMessageA(h, WM_SYSCOMMAND, SC_KEYMENU, 'e'), 1);
    EXPECT_TRUE(PumpUntil([&] { return script.Done(); }, 4000));
  }
  PumpFor(100);
  ASSERT_EQ(seen.size(), 8u);
  EXPECT_EQ(seen[0].open, 1);
  EXPECT_EQ(seen[0].menu, edit);
  EXPECT_EQ(seen[0].hilited, 0) << "opened from the keyboard: its first entry is chosen";
  EXPECT_TRUE(seen[0].from_bar);
  EXPECT_EQ(seen[1].open, 0);
  EXPECT_EQ(seen[1].menu, file);
  EXPECT_EQ(seen[2].open, 2) << "left on the first entry opens the last";
  EXPECT_EQ(seen[2].menu, help);
  EXPECT_EQ(seen[3].open, 0) << "right on the last entry opens the first";
  EXPECT_EQ(seen[4].open, 1);
  EXPECT_EQ(seen[5].hilited, 2);
  EXPECT_EQ(seen[6].open, 1) << "right on an entry with a sub-menu opens the sub-menu";
  EXPECT_EQ(seen[6].popups, 2u);
  EXPECT_EQ(seen[7].popups, 1u);
  EXPECT_FALSE(bar.Tracking());
  EXPECT_EQ(bar.OpenIndex(), -1);
  EXPECT_EQ(manager->Popups().Count(), 0u);
}

TEST_F(SkinnedMenus, ARightToLeftBarStartsAtTheRightAndSwapsTheArrows) {
  HWND h = OpenWithMenu(TestMenu());
  SetWindowLongPtrA(h, GWL_EXSTYLE, GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  SendMessageA(h, kMsgRepaintFrame, 0, 0);
  TWinSkinMenu& bar = Bar(h);
  const Rect b = bar.BarRect();
  const TDataSkinObject* piece = Skin().Model().MenuBar ? &*Skin().Model().MenuBar : nullptr;
  EXPECT_EQ(bar.Item(0).rect.right, b.right - FirstTextPosition(b.Width(), piece, true));
  EXPECT_EQ(bar.Item(1).rect.right, bar.Item(0).rect.left);
  EXPECT_EQ(bar.Item(2).rect.right, bar.Item(1).rect.left);

  std::vector<int> open;
  {
    Script script({[&] { open.push_back(bar.OpenIndex()); }, [&] { Key(h, VK_LEFT); },
                   [&] { open.push_back(bar.OpenIndex()); }, [&] { Key(h, VK_RIGHT); },
                   [&] { open.push_back(bar.OpenIndex()); }, [&] { Key(h, VK_ESCAPE); }});
    SendMessageA(h, WM_SYSCOMMAND, SC_KEYMENU, 'e');
    EXPECT_TRUE(PumpUntil([&] { return script.Done(); }, 3000));
  }
  // Left moves on to the item that stands left of Edit: Help.
  EXPECT_EQ(open, (std::vector<int>{1, 2, 1}));
}

TEST_F(SkinnedMenus, TheProgramsPopupMenusAreOwnerDrawnOnlyWhileTheSkinAsksForIt) {
  ui::win32::PopupMenuSkin* skin = ui::win32::CurrentPopupMenuSkin();
  ASSERT_NE(skin, nullptr) << "the manager offers itself to the control library";
  ui::PopupMenu component(nullptr);
  HMENU built = CreatePopupMenu();
  AppendMenuA(built, MF_STRING, 1, "退出程序(&X)");
  AppendMenuA(built, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(built, MF_STRING, 2, "关于(&A)");
  auto owner_drawn = [&] { return (GetMenuState(built, 0, MF_BYPOSITION) & MF_OWNERDRAW) != 0; };
  {
    std::shared_ptr<void> scope = skin->Begin(component, built);
    ASSERT_NE(scope, nullptr);
    EXPECT_TRUE(owner_drawn());
    crv::MenuItems read;
    crv::ReadMenu(built, &read);
    ASSERT_EQ(read.count, 3);
    char text[64] = {};
    WideCharToMultiByte(CP_ACP, 0, read.items[0].text, -1, text, sizeof text, nullptr, nullptr);
    EXPECT_STREQ(text, "退出程序(&X)") << "the texts a reader of the menu finds";
  }
  EXPECT_FALSE(owner_drawn());

  component.SetTag(199);  // Tag mod 100 is the skin's DisableTag
  EXPECT_EQ(skin->Begin(component, built), nullptr);
  component.SetTag(0);
  Skin().SkinControls &= ~SkinControlBit(xcPopupMenu);
  EXPECT_EQ(skin->Begin(component, built), nullptr);
  Skin().SkinControls |= SkinControlBit(xcPopupMenu);

  manager->SetSkinActive(&Skin(), false);
  EXPECT_EQ(skin->Begin(component, built), nullptr) << "switched off: ordinary menus";
  TSkinManage::Destroy();
  EXPECT_EQ(ui::win32::CurrentPopupMenuSkin(), nullptr);
  manager = &TSkinManage::Create();
  DestroyMenu(built);
}

TEST_F(SkinnedMenus, AClickOpensAMenuAndTheMouseSwitchesToAnotherItem) {
  HWND h = OpenWithMenu(TestMenu());
  TWinSkinMenu& bar = Bar(h);
  RECT wr;
  GetWindowRect(h, &wr);
  auto centre = [&](int i) {
    const Rect& r = bar.Item(static_cast<std::size_t>(i)).rect;
    return POINT{wr.left + (r.left + r.right) / 2, wr.top + (r.top + r.bottom) / 2};
  };
  std::vector<int> open;
  std::vector<int> hilited;
  {
    Script script({[&] {
                     open.push_back(bar.OpenIndex());
                     std::vector<HWND> m = OpenMenus();
                     hilited.push_back(m.empty() ? -2 : Hilited(MenuOf(m[0])));
                     MoveMouse(centre(2));
                   },
                   [&] { open.push_back(bar.OpenIndex()); }, [&] { open.push_back(bar.OpenIndex()); },
                   [&] { EndMenu(); }},
                  200);
    MoveMouse(centre(0));
    PumpFor(100);
    const POINT at = centre(0);
    SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(PumpUntil([&] { return script.Done(); }, 3000));
  }
  ASSERT_GE(open.size(), 3u);
  EXPECT_EQ(open[0], 0);
  EXPECT_EQ(hilited[0], -1) << "a click opens the menu with nothing chosen";
  EXPECT_EQ(open.back(), 2) << "the mouse over another item switches to its menu";
  EXPECT_FALSE(bar.Tracking());
  MoveMouse({5, 700});
}

TEST_F(SkinnedMenus, ACommandItemOnTheBarActsAndADisabledOneDoesNot) {
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_STRING, 501, "&Go");
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 502, "&Stop");
  HWND h = OpenWithMenu(menu);
  TWinSkinMenu& bar = Bar(h);
  MSG m;
  while (PeekMessageA(&m, h, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
  }
  bar.Open(bar.Item(1));
  EXPECT_FALSE(PeekMessageA(&m, h, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(SendMessageA(h, WM_SYSCOMMAND, SC_KEYMENU, 'g'), 1);
  ASSERT_TRUE(PeekMessageA(&m, h, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(LOWORD(m.wParam), 501);
  EXPECT_FALSE(bar.Tracking());
}

}  // namespace
}  // namespace corvane::skin::win32
