// The skin engine when things go wrong, under Wine: painting that fails
// half-way on every path is swallowed, ends the hot element and releases
// its DCs and GDI objects; subclassings made over ours, a subclassing that
// cannot be made and controls destroyed while skinned leave nothing behind.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/win32/skin_control_walk.h"
#include "skin/win32/skin_menu.h"
#include "skin_fixture.h"

namespace corvane::skin::win32 {
namespace {

using detail::FailPaints;
using detail::PaintFailuresLeft;

LPARAM ScreenAt(HWND h, const Rect& r) {
  RECT wr;
  GetWindowRect(h, &wr);
  return MAKELPARAM(wr.left + (r.left + r.right) / 2, wr.top + (r.top + r.bottom) / 2);
}

TWinSysButton* CloseButton(TWinSkinForm& f) {
  for (std::size_t i = 0; i < f.ButtonCount(); ++i)
    if (f.Button(i).visible && f.Button(i).Data().Action == 0) return &f.Button(i);
  return nullptr;
}

HMENU OneMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 101, "&Open");
  AppendMenuA(file, MF_STRING, 102, "E&xit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenuA(bar, MF_STRING, 103, "&Go");
  return bar;
}

bool g_popup_seen = false;
void CALLBACK LookAndEndMenu(HWND, UINT, UINT_PTR, DWORD) {
  g_popup_seen = FindWindowA("#32768", nullptr) != nullptr && IsWindowVisible(FindWindowA("#32768", nullptr));
  EndMenu();
}

class FailedPaints : public SkinnedWindows {
 protected:
  void TearDown() override {
    for (int p = 0; p < detail::kPaintPaths; ++p) FailPaints(static_cast<detail::PaintPath>(p), 0);
    SkinnedWindows::TearDown();
  }
};

TEST_F(FailedPaints, AFrameAndATitleButtonThatFailEndTheHotButtonAndReleaseTheirDcs) {
  HWND h = Open("Paint failures");
  TWinSkinForm& f = *manager->FindForm(h);
  TWinSysButton* close = CloseButton(f);
  ASSERT_NE(close, nullptr);
  const OwnerCounts before = LiveOwners();

  // A hot button, then a frame paint that fails inside the title.
  SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenAt(h, close->rect));
  ASSERT_EQ(f.Hot(), close);
  FailPaints(detail::kPaintFrame, 1);
  SendMessageA(h, kMsgRepaintFrame, 0, 0);
  EXPECT_EQ(PaintFailuresLeft(detail::kPaintFrame), 0) << "the frame paint did not get that far";
  EXPECT_EQ(f.Hot(), nullptr);
  EXPECT_EQ(LiveOwners(), before) << "a DC or GDI object of the failed paint stayed";

  // The button's own redraw fails: it is not left hot.
  FailPaints(detail::kPaintTitleButton, 1);
  SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenAt(h, close->rect));
  EXPECT_EQ(PaintFailuresLeft(detail::kPaintTitleButton), 0);
  EXPECT_EQ(f.Hot(), nullptr);
  EXPECT_EQ(LiveOwners(), before);

  // Both work again.
  SendMessageA(h, kMsgRepaintFrame, 0, 0);
  EXPECT_EQ(f.TitleBar().Height(), f.Metrics().top);
  SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenAt(h, close->rect));
  EXPECT_EQ(f.Hot(), close);
  EXPECT_EQ(SendMessageA(h, kMsgSkinned, 0, 0), 1);
}

TEST_F(FailedPaints, TheMenuBarItsItemsThePopupAndItsEntriesSurviveAFailure) {
  HWND h = Open("Menu failures", OneMenu());
  TWinSkinForm& f = *manager->FindForm(h);
  TWinSkinMenu& bar = *f.MenuBar();
  const OwnerCounts before = LiveOwners();

  FailPaints(detail::kPaintMenuBar, 1);
  SendMessageA(h, kMsgRepaintFrame, 0, 0);
  EXPECT_EQ(PaintFailuresLeft(detail::kPaintMenuBar), 0);
  EXPECT_EQ(LiveOwners(), before);
  SendMessageA(h, kMsgRepaintFrame, 0, 0);
  ASSERT_EQ(bar.Count(), 2u);

  // The hot item's redraw fails: it is not left hot.
  FailPaints(detail::kPaintMenuBarItem, 1);
  SendMessageA(h, WM_NCMOUSEMOVE, HTMENU, ScreenAt(h, bar.Item(1).rect));
  EXPECT_EQ(PaintFailuresLeft(detail::kPaintMenuBarItem), 0);
  EXPECT_EQ(f.Hot(), nullptr);
  EXPECT_EQ(LiveOwners(), before);
  SendMessageA(h, WM_NCMOUSEMOVE, HTMENU, ScreenAt(h, bar.Item(1).rect));
  EXPECT_EQ(f.Hot(), &bar.Item(1));

  // The popup's border and its first entry fail; the menu still opens,
  // is drawn and closes.
  FailPaints(detail::kPaintPopup, 1);
  FailPaints(detail::kPaintMenuItem, 1);
  g_popup_seen = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, &LookAndEndMenu);
  SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU, ScreenAt(h, bar.Item(0).rect));
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_popup_seen);
  EXPECT_EQ(PaintFailuresLeft(detail::kPaintPopup), 0) << "the popup was not painted";
  EXPECT_EQ(PaintFailuresLeft(detail::kPaintMenuItem), 0) << "no entry was drawn";
  PumpFor(50);
  EXPECT_EQ(LiveOwners(), before);
  EXPECT_FALSE(bar.Tracking());
}

TEST_F(FailedPaints, AControlThatFailsToPaintKeepsWorking) {
  HWND h = Open("Control failure");
  HWND b = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 90, 26,
                           h, nullptr, GetModuleHandleA(nullptr), nullptr);
  SkinControls& list = manager->FindForm(h)->Controls();
  ASSERT_NE(list.AttachWindow(SkinObject::kButton, b), nullptr);
  PumpFor(30);
  const OwnerCounts before = LiveOwners();
  const int paints = list.Find(b)->Paints();
  // Hot when it fails: the hot control is cleared, as for the frame's parts.
  SendMessageA(b, kCmMouseEnter, 0, 0);
  ASSERT_EQ(list.HotControl(), list.Find(b));
  FailPaints(detail::kPaintControl, 1);
  RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(PaintFailuresLeft(detail::kPaintControl), 0);
  EXPECT_EQ(list.HotControl(), nullptr);
  EXPECT_FALSE(list.Find(b)->Hot());
  EXPECT_EQ(LiveOwners(), before);
  RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(list.Find(b)->Paints(), paints) << "painted again after the failure";
}

// --- What goes with the window ----------------------------------------------------

using Leftovers = SkinnedWindows;

TEST_F(Leftovers, ASubclassingOverASkinnedWindowOrMdiClientGoesWithTheWindow) {
  HWND h = Open("Subclassed over");
  HWND client = nullptr;
  HWND frame = CreateMdiTestWindow("MDI", 80, 80, 400, 300, &client);
  windows.push_back(frame);
  ASSERT_TRUE(PumpUntil([&] { return Running(frame); }));
  ASSERT_TRUE(manager->FindForm(frame)->MdiClientSubclassed());
  ASSERT_EQ(LiveOwners().subclasses, 3) << "the two forms and the client";
  SubclassOver(h);
  SubclassOver(client);
  DestroyWindow(h);
  DestroyWindow(frame);
  EXPECT_EQ(LiveOwners().subclasses, 0) << "an orphan stayed after its window went";
}

TEST_F(Leftovers, AWindowThatCannotBeSubclassedKeepsItsCaption) {
  // Another process's window: its style can be set, its procedure not.
  const OwnerCounts before = LiveOwners();
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  char cmd[] = "notepad.exe";
  ASSERT_TRUE(CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  WaitForInputIdle(pi.hProcess, 10000);
  HWND other = nullptr;
  PumpUntil([&] { return (other = FindWindowA("Notepad", nullptr)) != nullptr; }, 10000);
  if (other) {
    const LONG_PTR style = GetWindowLongPtrA(other, GWL_STYLE);
    ASSERT_TRUE(style & WS_SYSMENU);
    {
      TWinSkinForm f(nullptr, ProgramSkin(), other);
      f.AttachAsWindow();
      EXPECT_FALSE(f.Attached());
      EXPECT_EQ(GetWindowLongPtrA(other, GWL_STYLE), style) << "the caption bits were not put back";
    }
    EXPECT_EQ(LiveOwners(), before);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  ASSERT_NE(other, nullptr) << "notepad showed no window";
}

TEST_F(Leftovers, AControlDestroyedWhileSkinnedLeavesTheListAtOnce) {
  HWND h = Open("Controls");
  HWND b = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 90, 26,
                           h, nullptr, GetModuleHandleA(nullptr), nullptr);
  SkinControls& list = manager->FindForm(h)->Controls();
  const std::size_t count = list.Count();
  ASSERT_NE(list.AttachWindow(SkinObject::kButton, b), nullptr);
  ASSERT_EQ(list.Count(), count + 1);
  const int subclasses = LiveOwners().subclasses;
  DestroyWindow(b);
  EXPECT_EQ(list.Count(), count);
  EXPECT_EQ(list.Find(b), nullptr);
  EXPECT_EQ(LiveOwners().subclasses, subclasses - 1);
}

// --- One table, one procedure ------------------------------------------------------

HWND g_popup = nullptr;
LONG_PTR g_popup_proc = 0;
void CALLBACK ReadPopupAndEndMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const std::vector<HWND> open = OpenMenus();
  g_popup = open.empty() ? nullptr : open[0];
  if (g_popup) g_popup_proc = GetWindowLongPtrA(g_popup, GWLP_WNDPROC);
  EndMenu();
}

using OneRegistry = SkinnedWindows;

TEST_F(OneRegistry, EveryKindOfSkinnedWindowHasTheOneProcedureAndLeavesTheTableWithItsWindow) {
  HWND h = Open("Registry", OneMenu());
  HWND b = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 90, 26,
                           h, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(manager->FindForm(h)->Controls().AttachWindow(SkinObject::kButton, b), nullptr);
  HWND client = nullptr;
  HWND frame = CreateMdiTestWindow("MDI", 80, 80, 400, 300, &client);
  windows.push_back(frame);
  ASSERT_TRUE(PumpUntil([&] { return Running(frame); }));
  const auto proc = reinterpret_cast<LONG_PTR>(&SkinnedWindow::Proc);
  using Kind = SkinnedWindow::Kind;
  const std::pair<HWND, Kind> expected[] = {
      {h, Kind::kForm}, {b, Kind::kControl}, {frame, Kind::kForm}, {client, Kind::kMdiClient}};
  for (const auto& [window, kind] : expected) {
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), proc);
    ASSERT_NE(SkinRegistry::Find(window), nullptr);
    EXPECT_EQ(SkinRegistry::Find(window)->WindowKind(), kind);
  }
  EXPECT_EQ(SkinRegistry::Count(), 4u);
  // A popup menu window is one of them while it is open.
  g_popup = nullptr;
  g_popup_proc = 0;
  SetTimer(nullptr, 0, 300, &ReadPopupAndEndMenu);
  SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU, ScreenAt(h, manager->FindForm(h)->MenuBar()->Item(0).rect));
  ASSERT_NE(g_popup, nullptr) << "the menu did not open";
  EXPECT_EQ(g_popup_proc, proc);
  PumpFor(50);
  EXPECT_EQ(SkinRegistry::Count(), 4u) << "the popup left the table when it closed";
  DestroyWindow(b);
  EXPECT_EQ(SkinRegistry::Find(b), nullptr);
  DestroyWindow(frame);
  EXPECT_EQ(SkinRegistry::Find(client), nullptr);
  EXPECT_EQ(SkinRegistry::Count(), 1u);
}

}  // namespace
}  // namespace corvane::skin::win32
