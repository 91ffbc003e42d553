// A maximised MDI child's minimise, restore and close buttons on the
// parent's skinned menu bar, under Wine: found on the screen by their
// pixels in the normal, hot and pressed states, and each one clicked.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "skin/skin_render.h"
#include "skin/win32/skin_menu.h"
#include "skin_fixture.h"

namespace corvane::skin::win32 {
namespace {

class MdiBar : public SkinnedWindows {
 protected:
  void OpenParent() {
    frame = CreateMdiTestWindow("MDI 按钮", 40, 40, 520, 360, &client);
    ASSERT_TRUE(frame && client);
    windows.push_back(frame);
    ASSERT_TRUE(PumpUntil([&] { return Running(frame); }));
    ASSERT_NE(manager->FindForm(frame)->MenuBar(), nullptr);
  }
  HWND MaximisedChild(const char* title) {
    HWND c = CreateMdiTestChild(client, title, 10, 10, 240, 160);
    EXPECT_TRUE(PumpUntil([&] { return Running(c); }));
    SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c), 0);
    EXPECT_TRUE(PumpUntil([&] { return manager->MdiMaximised() && IsZoomed(c); }));
    PumpFor(100);
    return c;
  }
  TWinSysButton* Mdi(int action) {
    TWinSkinForm& f = *manager->FindForm(frame);
    for (std::size_t i = 0; i < f.ButtonCount(); ++i) {
      TWinSysButton& b = f.Button(i);
      if (b.Data().Visibility == 100 && b.Data().Action == action) return &b;
    }
    return nullptr;
  }
  // The button's centre on the screen, with the real pointer moved there:
  // the hover timer ends a hot state the pointer is not over.
  LPARAM At(const TWinSysButton& b) const {
    RECT wr;
    GetWindowRect(frame, &wr);
    const POINT p = {wr.left + (b.rect.left + b.rect.right) / 2, wr.top + (b.rect.top + b.rect.bottom) / 2};
    MoveMouse(p);
    return MAKELPARAM(p.x, p.y);
  }
  // Whether the screen shows state image k of the button at its place:
  // every pixel the image does not leave clear (magenta) is on the screen.
  bool Shows(const TWinSysButton& b, int k) const {
    const TDataSkinSysButton& d = b.Data();
    const int w = b.rect.Width(), h = b.rect.Height();
    if (w <= 0 || h <= 0) return false;
    Bitmap32 want(w, h, 0xFF000000u | kMagentaRgb);
    DrawStateImage(want, {0, 0, w, h}, d.Image, d.FrameCount, k, true);
    RECT wr;
    GetWindowRect(frame, &wr);
    HDC screen = GetDC(nullptr);
    int compared = 0, wrong = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint32_t p = want.At(x, y);
        if (IsMagenta(p)) continue;
        ++compared;
        const COLORREF got = GetPixel(screen, wr.left + b.rect.left + x, wr.top + b.rect.top + y);
        if (got != RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)) ++wrong;
      }
    ReleaseDC(nullptr, screen);
    return compared > w * h / 4 && wrong == 0;
  }

  HWND frame = nullptr, client = nullptr;
};

TEST_F(MdiBar, AMaximisedChildsButtonsStandOnTheBarAndEachOneActs) {
  OpenParent();
  TWinSkinForm& f = *manager->FindForm(frame);
  HWND child = MaximisedChild("子窗口一");
  const int bar_top = f.Metrics().top, bar_bottom = bar_top + f.Metrics().menu_bar;
  for (int action : {7, 8, 9}) {
    TWinSysButton* b = Mdi(action);
    ASSERT_NE(b, nullptr) << "the skin has no MDI button " << action;
    ASSERT_TRUE(b->visible) << action;
    EXPECT_GE(b->rect.top, bar_top) << "on the bar, under the title";
    EXPECT_LE(b->rect.bottom, bar_bottom);
    EXPECT_TRUE(PumpUntil([&] { return Shows(*b, 1); }, 1000)) << "button " << action << " is not drawn";
  }
  // Left to right: minimise, restore, close, at the bar's right end.
  EXPECT_LT(Mdi(7)->rect.right, Mdi(8)->rect.right);
  EXPECT_LT(Mdi(8)->rect.right, Mdi(9)->rect.right);

  // Hot and pressed show their images; the press ends in the action.
  auto click = [&](int action) {
    TWinSysButton& b = *Mdi(action);
    SendMessageA(frame, WM_NCMOUSEMOVE, HTMENU, At(b));
    EXPECT_EQ(f.Hot(), &b);
    EXPECT_TRUE(PumpUntil([&] { return Shows(b, 4); }, 1000)) << "hot image of " << action;
    SendMessageA(frame, WM_NCLBUTTONDOWN, HTMENU, At(b));
    EXPECT_TRUE(PumpUntil([&] { return Shows(b, 2); }, 1000)) << "pressed image of " << action;
    SendMessageA(frame, WM_NCLBUTTONUP, HTMENU, At(b));
    PumpFor(150);
  };
  click(8);
  EXPECT_FALSE(IsZoomed(child)) << "restore";
  EXPECT_TRUE(PumpUntil([&] { return !manager->MdiMaximised(); }));
  EXPECT_FALSE(Mdi(8)->visible) << "no maximised child, no buttons";

  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  ASSERT_TRUE(PumpUntil([&] { return manager->MdiMaximised() && Mdi(7)->visible; }));
  click(7);
  EXPECT_TRUE(IsIconic(child)) << "minimise";

  HWND second = MaximisedChild("子窗口二");
  ASSERT_TRUE(Mdi(9)->visible);
  click(9);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(second); })) << "close";
  EXPECT_TRUE(IsWindow(child));
  // The last child goes as the host library lets it go: the skin's
  // MenuUpdate is back on for the tests that follow.
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  EXPECT_TRUE(PumpUntil([&] { return ProgramSkin().MenuUpdate; }));
  MoveMouse({5, 700});
}

}  // namespace
}  // namespace corvane::skin::win32
