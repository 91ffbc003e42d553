// Steady repaints under Wine: painting a skinned frame with its menu bar,
// and an open skinned menu, again and again makes no GDI object (font,
// brush, region, DIB section, memory DC) after the first time, and a frame
// paint keeps to the region the system asks for.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <typeinfo>

#include "skin/win32/skin_control_walk.h"
#include "skin/win32/skin_scroll.h"
#include "skin/win32/skin_menu.h"
#include "skin_fixture.h"

namespace corvane::skin::win32 {
namespace {

HMENU FileMenu(HMENU* file) {
  HMENU bar = CreateMenu();
  *file = CreatePopupMenu();
  AppendMenuA(*file, MF_STRING, 101, "&Open\tCtrl+O");
  AppendMenuA(*file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(*file, MF_STRING | MFS_DEFAULT, 102, "E&xit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(*file), "&File");
  return bar;
}

// WM_DRAWITEM messages sent on this thread while it lives: proof that a
// redraw drew entries at all.
struct DrawItemCount {
  DrawItemCount() {
    count = 0;
    hook = SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
  }
  ~DrawItemCount() { UnhookWindowsHookEx(hook); }
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lp)->message == WM_DRAWITEM) ++count;
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static inline int count = 0;
  HHOOK hook;
};

struct Redraws {
  int made_before = -1, made_after = -1, drawn = 0;
};
Redraws g_redraws;

void CALLBACK RedrawOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND popup = FindWindowA("#32768", nullptr);
  if (popup && IsWindowVisible(popup)) {
    g_redraws.made_before = detail::ObjectsMade();
    DrawItemCount drawn;
    for (int i = 0; i < 100; ++i)
      RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    g_redraws.drawn = DrawItemCount::count;
    g_redraws.made_after = detail::ObjectsMade();
  }
  EndMenu();
}

using SteadyRepaint = SkinnedWindows;

TEST_F(SteadyRepaint, TheFrameAndItsMenuBarMakeNothingWhenPaintedAgain) {
  HMENU file = nullptr;
  HWND h = Open("Repaint", FileMenu(&file));
  TWinSkinForm& f = *manager->FindForm(h);
  ASSERT_NE(f.MenuBar(), nullptr);
  SendMessageA(h, kMsgRepaintFrame, 0, 0);
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const int made = detail::ObjectsMade(), paints = f.FramePaints();
  for (int i = 0; i < 50; ++i) {
    SendMessageA(h, kMsgRepaintFrame, 0, 0);
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  EXPECT_EQ(detail::ObjectsMade(), made) << "GDI objects made per paint";
  EXPECT_GE(f.FramePaints(), paints + 100) << "the frame was not painted each time";
  EXPECT_EQ(f.MenuBar()->BarRect().Height(), f.Metrics().menu_bar) << "the bar was painted";
}

TEST_F(SteadyRepaint, AFramePaintKeepsToTheUpdateRegion) {
  HWND h = Open("Clipped");
  TWinSkinForm& f = *manager->FindForm(h);
  RECT wr;
  GetWindowRect(h, &wr);
  const int w = wr.right - wr.left, y = f.Metrics().top / 2;
  const COLORREF marker = RGB(1, 254, 3);
  auto title_pixel = [&](int x) {
    const WindowDc dc = WindowDc::Whole(h);
    return GetPixel(dc.get(), x, y);
  };
  {
    const WindowDc dc = WindowDc::Whole(h);
    HBRUSH brush = CreateSolidBrush(marker);
    RECT title = {0, 0, w, f.Metrics().top};
    FillRect(dc.get(), &title, brush);
    DeleteObject(brush);
  }
  ASSERT_EQ(title_pixel(w / 2), marker);
  // The left 20 pixels of the title, in screen coordinates as the system
  // gives them.
  HRGN update = CreateRectRgn(wr.left, wr.top, wr.left + 20, wr.top + f.Metrics().top);
  SendMessageA(h, WM_NCPAINT, reinterpret_cast<WPARAM>(update), 0);
  DeleteObject(update);
  EXPECT_NE(title_pixel(10), marker) << "the region asked for was not painted";
  EXPECT_EQ(title_pixel(w / 2), marker) << "painted outside the update region";
  SendMessageA(h, WM_NCPAINT, 1, 0);
  EXPECT_NE(title_pixel(w / 2), marker) << "the whole frame was not painted";
}

TEST_F(SteadyRepaint, AnEditAndASizeBoxAreDrawnWithTheDcsOwnBrushAndPen) {
  HWND h = Open("Controls");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "text", WS_CHILD | WS_VISIBLE, 10, 10, 120, 24, h,
                              nullptr, instance, nullptr);
  HWND grip = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEBOX, 150, 10, 20,
                              20, h, nullptr, instance, nullptr);
  SkinControls& list = manager->FindForm(h)->Controls();
  TSkinControl* e = list.AttachWindow(SkinObject::kEdit, edit);
  TSkinControl* g = list.AttachWindow(SkinObject::kSizer, grip);
  ASSERT_TRUE(e && g);
  PumpFor(30);
  const int made = detail::ObjectsMade(), paints = e->Paints() + g->Paints();
  for (int i = 0; i < 50; ++i)
    for (HWND c : {edit, grip})
      RedrawWindow(c, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_GE(e->Paints() + g->Paints(), paints + 100) << "the controls were not drawn each time";
  EXPECT_EQ(detail::ObjectsMade(), made) << "brushes or pens made per paint";
}

TEST_F(SteadyRepaint, FacesWithTextAreComposedInASurfaceKeptPerControlAndSize) {
  HWND h = Open("Faces");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto child = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int ht) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, ht, h, nullptr,
                           instance, nullptr);
  };
  HWND button = child("BUTTON", "确定", BS_PUSHBUTTON, 10, 10, 80, 24);
  HWND tabs = child(WC_TABCONTROLA, "", 0, 10, 40, 150, 60);
  HWND progress = child(PROGRESS_CLASSA, "", 0, 170, 40, 100, 16);
  HWND arrows = child(UPDOWN_CLASSA, "", 0, 170, 70, 16, 24);
  HWND status = child(STATUSCLASSNAMEA, "就绪", 0, 0, 0, 0, 0);
  HWND view = child(WC_LISTVIEWA, "", LVS_REPORT, 10, 105, 150, 50);
  AddTab(tabs, "常规");
  AddColumn(view, "名称", 100);
  SendMessageA(progress, PBM_SETPOS, 40, 0);
  SkinControls& list = manager->FindForm(h)->Controls();
  auto* lv = dynamic_cast<TSkinListView*>(list.AttachWindow(SkinObject::kListView, view));
  ASSERT_TRUE(lv && lv->Header());
  const std::vector<std::pair<HWND, TSkinControl*>> drawn = {
      {button, list.AttachWindow(SkinObject::kButton, button)},
      {tabs, list.AttachWindow(SkinObject::kTab, tabs)},
      {progress, list.AttachWindow(SkinObject::kProgress, progress)},
      {arrows, list.AttachWindow(SkinObject::kUpDown, arrows)},
      {status, list.AttachWindow(SkinObject::kStatusBar, status)},
      {lv->Header()->Window(), lv->Header()},
  };
  for (const auto& [window, object] : drawn) ASSERT_NE(object, nullptr);
  auto paints = [&] {
    int n = 0;
    for (const auto& [window, object] : drawn) n += object->Paints();
    return n;
  };
  auto redraw_all = [&] {
    for (const auto& [window, object] : drawn)
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  };
  redraw_all();
  const int made = detail::ObjectsMade(), before = paints();
  for (int i = 0; i < 100; ++i) redraw_all();
  for (const auto& [window, object] : drawn)
    EXPECT_GE(object->Paints(), 100) << typeid(*object).name() << " was not drawn each time";
  EXPECT_GE(paints(), before + 100 * static_cast<int>(drawn.size()));
  EXPECT_EQ(detail::ObjectsMade(), made) << "GDI objects made per paint of the controls";

  // A new size: the surface is made again once, then kept.
  SetWindowPos(button, nullptr, 0, 0, 96, 28, SWP_NOMOVE | SWP_NOZORDER);
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const int resized = detail::ObjectsMade();
  EXPECT_EQ(resized, made + 2) << "one memory DC and one DIB section for the new size";
  for (int i = 0; i < 10; ++i) redraw_all();
  EXPECT_EQ(detail::ObjectsMade(), resized);
  // Detached: what it kept goes with it.
  const int live = LiveOwners().gdi;
  drawn[0].second->Detach();
  EXPECT_EQ(LiveOwners().gdi, live - 2) << "the button's surface outlived its detach";
}

TEST_F(SteadyRepaint, TheShapeIsSetOncePerSizeAndNeverByARepaint) {
  HWND h = Open("Shape");
  ASSERT_EQ(LiveOwners().shapes, 1);
  const int set = detail::RegionsSet();
  for (int i = 0; i < 20; ++i) {
    SendMessageA(h, kMsgRepaintFrame, 0, 0);
    SendMessageA(h, WM_NCACTIVATE, i % 2, 0);
    SetWindowTextA(h, i % 2 ? "Shape" : "Shape, retitled");
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  EXPECT_EQ(detail::RegionsSet(), set) << "the shape was set again without a new size";
  RECT wr;
  GetWindowRect(h, &wr);
  SetWindowPos(h, nullptr, 0, 0, wr.right - wr.left + 40, wr.bottom - wr.top + 30,
               SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(100);
  EXPECT_EQ(detail::RegionsSet(), set + 1) << "one SetWindowRgn for the new size";
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(h, rgn), COMPLEXREGION);
  RECT box;
  GetRgnBox(rgn, &box);
  DeleteObject(rgn);
  EXPECT_EQ(box.right, wr.right - wr.left + 40) << "the shape of the new size";
  EXPECT_EQ(LiveOwners().shapes, 1);
}

TEST_F(SteadyRepaint, AnOpenMenuIsDrawnAgainWithTheFontsMadeWhenItOpened) {
  HMENU file = nullptr;
  HWND h = Open("Repaint", FileMenu(&file));
  TWinSkinMenu& bar = *manager->FindForm(h)->MenuBar();
  g_redraws = {};
  SetTimer(nullptr, 0, 300, &RedrawOpenMenu);
  RECT wr;
  GetWindowRect(h, &wr);
  const Rect& r = bar.Item(0).rect;
  SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU,
               MAKELPARAM(wr.left + (r.left + r.right) / 2, wr.top + (r.top + r.bottom) / 2));
  ASSERT_GE(g_redraws.made_before, 0) << "the menu did not open";
  EXPECT_GE(g_redraws.drawn, 20) << "the redraws drew no entries";
  EXPECT_EQ(g_redraws.made_after, g_redraws.made_before) << "fonts made per entry";
}

}  // namespace
}  // namespace corvane::skin::win32
