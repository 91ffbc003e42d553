// The skin engine on real windows, under Wine: the manager attaches to a
// window when it is activated, the frame takes the skin's size and shape,
// the caption answers the mouse as a caption should, switching the skin off
// gives every window its own look back, and nothing the engine made stays
// behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "../../unit/skin/skin_test_support.h"
#include "skin/skin_reader.h"
#include "skin/skin_render.h"
#include "skin/win32/skin_manage.h"
#include "skin_fixture.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/win32/win32_backend.h"

namespace corvane::skin::win32 {
namespace {

TSkinData& Skin() { return ProgramSkin(); }

LPARAM ScreenPoint(HWND h, Point window_point) {
  RECT wr;
  GetWindowRect(h, &wr);
  return MAKELPARAM(wr.left + window_point.x, wr.top + window_point.y);
}

void CALLBACK EndMenuLater(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class SkinEngine : public SkinnedWindows {
 protected:
  HWND Open(DWORD style = WS_OVERLAPPEDWINDOW, const char* title = "Skinned") {
    return SkinnedWindows::Open(title, nullptr, style);
  }
  TWinSkinForm& Form(HWND h) { return *manager->FindForm(h); }
  // The title-bar button with this action that is visible now.
  TWinSysButton* ButtonWith(TWinSkinForm& f, int action) {
    for (std::size_t i = 0; i < f.ButtonCount(); ++i)
      if (f.Button(i).visible && f.Button(i).Data().Action == action) return &f.Button(i);
    return nullptr;
  }
};

TEST_F(SkinEngine, AnActivatedWindowGetsTheSkinsFrameAroundTheSameClientArea) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  const FrameMetrics want = ComputeFrameMetrics(Skin().Model(), kFrameSizeable, 0);
  EXPECT_EQ(f.Metrics().left, want.left);
  EXPECT_EQ(f.Metrics().top, want.top);
  EXPECT_GT(want.top, 0);

  RECT wr, cr;
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 300);
  EXPECT_EQ(cr.bottom, 200);
  EXPECT_EQ(wr.right - wr.left, 300 + want.left + want.right);
  EXPECT_EQ(wr.bottom - wr.top, 200 + want.top + want.bottom);
  // It was placed with the system's frame around that client; the skin's
  // frame grows about the same centre, so a centred window stays centred.
  RECT plain = {0, 0, 300, 200};
  AdjustWindowRectEx(&plain, WS_OVERLAPPEDWINDOW, FALSE, 0);
  EXPECT_LE(std::abs((wr.left + wr.right) - (120 + plain.right - plain.left)), 1);
  EXPECT_LE(std::abs((wr.top + wr.bottom) - (120 + plain.bottom - plain.top)), 1);

  EXPECT_EQ(SendMessageA(h, kMsgSkinned, 0, 0), 1);
  EXPECT_FALSE(GetWindowLongPtrA(h, GWL_STYLE) & WS_SYSMENU) << "the system's caption buttons are off";
  EXPECT_EQ(manager->ActivationCount(), 1);
  EXPECT_TRUE(f.HoverRunning());
}

TEST_F(SkinEngine, TheShapeCutsTheRoundedCornersAndKeepsTheRest) {
  HWND h = Open();
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(h, rgn), COMPLEXREGION);
  RECT wr;
  GetWindowRect(h, &wr);
  const int w = wr.right - wr.left, hgt = wr.bottom - wr.top;
  EXPECT_FALSE(PtInRegion(rgn, 0, 0)) << "top-left corner";
  EXPECT_FALSE(PtInRegion(rgn, w - 1, 0)) << "top-right corner";
  EXPECT_TRUE(PtInRegion(rgn, w / 2, 2)) << "the title's top edge";
  EXPECT_TRUE(PtInRegion(rgn, w / 2, hgt / 2));
  EXPECT_TRUE(PtInRegion(rgn, 0, hgt / 2)) << "the left edge";
  DeleteObject(rgn);
}

// The title's corners on the screen are the top rows of the side pieces as
// painted at the window's full height: Left at (0, 0), Right at W - right
// (with whole, every row of the pieces is compared). Magenta (cut away by
// the shape) is left out; the count of compared pixels comes back so that
// a test can tell a comparison from an empty one.
int ExpectTitleCornersArePieces(HWND h, const TWinSkinForm& f, bool whole = false) {
  RECT wr;
  GetWindowRect(h, &wr);
  const int w = wr.right - wr.left, ht = wr.bottom - wr.top;
  const FrameMetrics& m = f.Metrics();
  const SkinModel& model = f.Skin().Model();
  HDC screen = GetDC(nullptr);
  int compared = 0, wrong = 0;
  std::string first;
  auto check = [&](FramePiece piece, int x0) {
    const Bitmap32 want = RenderFramePiece(model, piece, w, ht, m, f.ActiveFlag());
    for (int y = 0; y < (whole ? want.Height() : m.top) && y < want.Height(); ++y) {
      for (int x = 0; x < want.Width(); ++x) {
        const std::uint32_t p = want.At(x, y);
        if (IsMagenta(p)) continue;
        ++compared;
        const COLORREF got = GetPixel(screen, wr.left + x0 + x, wr.top + y);
        const COLORREF expect = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        if (got != expect && wrong++ == 0)
          first = std::string(kFramePieceNames[piece]) + " (" + std::to_string(x) + ", " +
                  std::to_string(y) + ")";
      }
    }
  };
  check(kFrameLeft, 0);
  check(kFrameRight, w - m.right);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(wrong, 0) << "title corner pixels unlike the piece, first at " << first;
  return compared;
}

TEST_F(SkinEngine, TheTitleCornersAreTheSidePiecesAtFullHeight) {
  const TDataSkinBorder& left = Skin().Model().Frames[kFrameLeft];
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  ASSERT_GT(left.TopHeight + left.BottomHeight, f.Metrics().top) << "the case this guards";
  PumpFor(100);
  EXPECT_GE(ExpectTitleCornersArePieces(h, f), f.Metrics().top * (f.Metrics().left + f.Metrics().right) / 2);

  // Painted again, whole, for another size and when inactive (the skin's
  // second state image).
  RECT wr;
  GetWindowRect(h, &wr);
  SetWindowPos(h, nullptr, 0, 0, wr.right - wr.left + 40, wr.bottom - wr.top + 30,
               SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(150);
  EXPECT_GT(ExpectTitleCornersArePieces(h, f, true), wr.bottom - wr.top) << "resized";
  HWND other = CreateTestWindow("Other", WS_OVERLAPPEDWINDOW, 500, 400, 100, 80);
  windows.push_back(other);
  ASSERT_TRUE(PumpUntil([&] { return !f.ActiveFlag(); }));
  PumpFor(150);
  EXPECT_GT(ExpectTitleCornersArePieces(h, f, true), wr.bottom - wr.top) << "inactive";
}

// A skin made here: side pieces whose corners (24 + 16 rows) are taller
// than its 20-row title, every row of them a different green.
TSkinData& TallCornerSkin() {
  static TSkinData skin;
  static const bool made = [] {
    const std::string ini =
        "[TitlebarSkin]\nSkinName=Tall corners\n[Personality]\n"
        "Left=left.bmp\nLeftTopHeight=24\nLeftBotHeight=16\n"
        "Right=right.bmp\nRightTopHeight=24\nRightBotHeight=16\n"
        "Top=top.bmp\nBottom=bottom.bmp\n";
    const testing::Entries entries = {{"tall.ini", Bytes(ini.begin(), ini.end())},
                                      {"left.bmp", testing::MakeBmp(6, 40, 0, true)},
                                      {"right.bmp", testing::MakeBmp(5, 40, 0, true)},
                                      {"top.bmp", testing::MakeBmp(40, 20, 0x3366CC)},
                                      {"bottom.bmp", testing::MakeBmp(40, 4, 0x224488)}};
    TSkinReader reader;
    return reader.ReadUnpacked(testing::Unpacked(entries)) && skin.ReadSkinDescription(ini, reader);
  }();
  (void)made;
  return skin;
}

class TallCorners : public SkinEngine {
 protected:
  void SetUp() override {
    ASSERT_FALSE(TallCornerSkin().NotLoaded()) << TallCornerSkin().LastError();
    SkinEngine::SetUp();
  }
  TSkinData& Used() override { return TallCornerSkin(); }
};

TEST_F(TallCorners, TheTitleCornersAreTheSidePiecesAtFullHeight) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  ASSERT_EQ(f.Metrics().top, 20);
  ASSERT_EQ(f.Metrics().left, 6);
  PumpFor(100);
  EXPECT_EQ(ExpectTitleCornersArePieces(h, f), 20 * (6 + 5));
  // Row 19 of the title is row 19 of the piece, not a row further down.
  RECT wr;
  GetWindowRect(h, &wr);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetGValue(GetPixel(screen, wr.left + 2, wr.top + 19)), 19);
  ReleaseDC(nullptr, screen);

  // The pieces painted again for another size and when inactive.
  SetWindowPos(h, nullptr, 0, 0, wr.right - wr.left + 40, wr.bottom - wr.top + 30,
               SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(100);
  EXPECT_GT(ExpectTitleCornersArePieces(h, f, true), 20 * (6 + 5)) << "resized";
  HWND other = CreateTestWindow("Other", WS_OVERLAPPEDWINDOW, 500, 400, 100, 80);
  windows.push_back(other);
  ASSERT_TRUE(PumpUntil([&] { return !f.ActiveFlag(); }));
  PumpFor(100);
  EXPECT_GT(ExpectTitleCornersArePieces(h, f, true), 20 * (6 + 5)) << "inactive";
}

TEST_F(SkinEngine, TheTitleIsACaptionAndTheButtonsSitInIt) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  TWinSysButton* close = ButtonWith(f, 0);
  TWinSysButton* minimise = ButtonWith(f, 2);
  TWinSysButton* maximise = ButtonWith(f, 1);
  ASSERT_TRUE(close && minimise && maximise);
  RECT wr;
  GetWindowRect(h, &wr);
  const int w = wr.right - wr.left;
  // Right-aligned, in the title bar, close rightmost, none overlapping.
  EXPECT_LT(close->rect.right, w);
  EXPECT_LE(close->rect.bottom, f.Metrics().top);
  EXPECT_LT(maximise->rect.right, close->rect.right);
  EXPECT_LE(minimise->rect.right, maximise->rect.left);
  EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, ScreenPoint(h, {w / 2, f.Metrics().top / 2})), HTCAPTION);
  EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, ScreenPoint(h, {w / 2, f.Metrics().top + 50})), HTCLIENT);
  // The window's icon stands where the skin's Action 3 button is.
  TWinSysButton* icon = ButtonWith(f, 3);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Data().FrameCount, 1);
  EXPECT_EQ(icon->rect.Width(), GetSystemMetrics(SM_CXSMICON));
}

TEST_F(SkinEngine, TheHotStateFollowsTheMouseAndLeavesWithIt) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  TWinSysButton* close = ButtonWith(f, 0);
  TWinSysButton* minimise = ButtonWith(f, 2);
  ASSERT_TRUE(close && minimise);
  SetCursorPos(5, 700);  // far from the window, for the hover timer
  SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(h, Centre(close->rect)));
  EXPECT_EQ(f.Hot(), close);
  EXPECT_EQ(close->state, kNcHot);
  SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(h, Centre(minimise->rect)));
  EXPECT_EQ(f.Hot(), minimise);
  EXPECT_EQ(close->state, kNcNormal);
  EXPECT_EQ(minimise->state, kNcHot);
  // The cursor is elsewhere: the hover timer ends the hot state.
  EXPECT_TRUE(PumpUntil([&] { return f.Hot() == nullptr; }, 1000));
  EXPECT_EQ(minimise->state, kNcNormal);
}

TEST_F(SkinEngine, PressingAndReleasingTheCloseButtonClosesTheWindow) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  TWinSysButton* close = ButtonWith(f, 0);
  ASSERT_NE(close, nullptr);
  const LPARAM at = ScreenPoint(h, Centre(close->rect));
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, at);
  EXPECT_EQ(close->state, kNcPressed);
  EXPECT_TRUE(IsWindow(h)) << "pressing alone does nothing";
  const int closes = ClosesSeen();
  SendMessageA(h, WM_NCLBUTTONUP, HTCAPTION, at);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(h); }));
  EXPECT_EQ(ClosesSeen(), closes + 1);
  // The purge command frees the window's skin object.
  EXPECT_TRUE(PumpUntil([&] { return manager->SkinnedCount() == 0; }, 1500));
}

TEST_F(SkinEngine, DoubleClickOnTheTitleMaximisesAndRestores) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  RECT wr;
  GetWindowRect(h, &wr);
  const LPARAM title = ScreenPoint(h, {(wr.right - wr.left) / 2, f.Metrics().top / 2});
  SendMessageA(h, WM_NCLBUTTONDBLCLK, HTCAPTION, title);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(h) != FALSE; }));
  EXPECT_EQ(f.WindowStateOf(), kStateMaximised);
  PumpFor(50);
  // Maximised: the restore button shows instead of the maximise button.
  TWinSysButton* restore = ButtonWith(f, 1);
  ASSERT_NE(restore, nullptr);
  EXPECT_EQ(restore->Data().Visibility1, 1);
  // A maximised window is not dragged by its title.
  GetWindowRect(h, &wr);
  SendMessageA(h, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(h, {(wr.right - wr.left) / 2, 5}));
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(h); }));
  EXPECT_EQ(f.WindowStateOf(), kStateNormal);
  RECT cr;
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 300);
  EXPECT_EQ(cr.bottom, 200);
}

TEST_F(SkinEngine, WithoutAMaximiseBoxThereIsNoMaximiseButtonAndDoubleClickDoesNothing) {
  HWND h = Open(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  TWinSkinForm& f = Form(h);
  EXPECT_EQ(ButtonWith(f, 1), nullptr);
  EXPECT_NE(ButtonWith(f, 0), nullptr);
  SendMessageA(h, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(h, {100, f.Metrics().top / 2}));
  PumpFor(100);
  EXPECT_FALSE(IsZoomed(h));
}

TEST_F(SkinEngine, TheMinimiseButtonMinimises) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  TWinSysButton* minimise = ButtonWith(f, 2);
  ASSERT_NE(minimise, nullptr);
  const LPARAM at = ScreenPoint(h, Centre(minimise->rect));
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, at);
  SendMessageA(h, WM_NCLBUTTONUP, HTCAPTION, at);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(h) != FALSE; }));
  EXPECT_EQ(f.WindowStateOf(), kStateMinimised);
  ShowWindow(h, SW_RESTORE);
  PumpFor(50);
  EXPECT_EQ(f.WindowStateOf(), kStateNormal);
}

TEST_F(SkinEngine, DeactivationPaintsTheInactiveTitleAndStopsTheHoverTimer) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  SendMessageA(h, kMsgRepaintFrame, 0, 0);
  const Bitmap32 active_title = f.TitleBar();
  ASSERT_FALSE(active_title.Empty());
  EXPECT_EQ(SendMessageA(h, WM_NCACTIVATE, FALSE, 0), TRUE);
  EXPECT_FALSE(f.ActiveFlag());
  EXPECT_FALSE(f.HoverRunning());
  EXPECT_FALSE(f.TitleBar() == active_title) << "the inactive title looks different";
  SendMessageA(h, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(f.ActiveFlag());
  EXPECT_TRUE(f.HoverRunning());
  EXPECT_TRUE(f.TitleBar() == active_title);
}

TEST_F(SkinEngine, TwoOpeningsOfTheSystemMenuWithinTheDoubleClickTimeCloseTheWindow) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  // The menu is modal; a timer ends it.
  SetTimer(nullptr, 0, 200, &EndMenuLater);
  const LPARAM title = ScreenPoint(h, {120, f.Metrics().top / 2});
  SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, title);
  EXPECT_TRUE(IsWindow(h)) << "one opening only shows the menu";
  SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, title);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(h); }));
}

TEST_F(SkinEngine, SwitchingTheSkinOffRestoresEveryWindowAndOnSkinsThemAgain) {
  HWND a = Open(WS_OVERLAPPEDWINDOW, "first");
  HWND b = Open(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, "second");
  ASSERT_EQ(manager->SkinnedCount(), 2u);
  RECT plain = {0, 0, 300, 200};
  AdjustWindowRectEx(&plain, WS_OVERLAPPEDWINDOW, FALSE, 0);

  manager->SetSkinActive(&Skin(), false);
  EXPECT_TRUE(manager->TimerRunning()) << "after the first activation, commands wait for the timer";
  EXPECT_TRUE(PumpUntil([&] { return manager->SkinnedCount() == 0; }, 1500));
  for (HWND h : {a, b}) {
    EXPECT_EQ(SendMessageA(h, kMsgSkinned, 0, 0), 0);
    EXPECT_TRUE(GetWindowLongPtrA(h, GWL_STYLE) & WS_SYSMENU);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, rgn), ERROR) << "no shape left";
    DeleteObject(rgn);
    RECT cr;
    GetClientRect(h, &cr);
    EXPECT_EQ(cr.right, 300);
    EXPECT_EQ(cr.bottom, 200);
  }
  RECT wr;
  GetWindowRect(a, &wr);
  EXPECT_EQ(wr.right - wr.left, plain.right - plain.left);
  EXPECT_EQ(wr.bottom - wr.top, plain.bottom - plain.top);
  EXPECT_EQ(LiveOwners().subclasses, 0);
  EXPECT_EQ(LiveOwners().shapes, 0);

  manager->SetSkinActive(&Skin(), true);
  EXPECT_TRUE(PumpUntil([&] {
    return manager->SkinnedCount() == 2 && Form(a).State() == kSkinRunning &&
           Form(b).State() == kSkinRunning;
  }, 1500));
  EXPECT_EQ(SendMessageA(a, kMsgSkinned, 0, 0), 1);
  RECT cr;
  GetClientRect(a, &cr);
  EXPECT_EQ(cr.right, 300);
  EXPECT_EQ(cr.bottom, 200);
}

TEST_F(SkinEngine, ASizeGripOnASkinnedWindowIsRefused) {
  HWND h = Open();
  HWND grip = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | SBS_SIZEGRIP, 0, 0, 16, 16, h, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(grip, nullptr);
  HWND bar = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | SBS_HORZ, 0, 0, 100, 16, h, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  EXPECT_NE(bar, nullptr);
}

TEST_F(SkinEngine, TheClassFilterAndAWindowOfNoSizeKeepTheirOwnFrame) {
  TSkinManage::Destroy();
  manager = &TSkinManage::Create();
  manager->Register(&Skin(), nullptr, [](const std::string& cls, bool& do_skin) {
    do_skin = cls != "CorvaneSkinTest";
  });
  manager->SkinLoaded(&Skin());
  HWND h = CreateTestWindow("refused", WS_OVERLAPPEDWINDOW, 60, 60, 300, 200);
  windows.push_back(h);
  PumpFor(100);
  EXPECT_EQ(manager->FindForm(h), nullptr);
  EXPECT_EQ(SendMessageA(h, kMsgSkinned, 0, 0), 0);

  // A class the filter lets through, refused for its size alone: the same
  // window with a size is taken.
  TSkinManage::Destroy();
  manager = &TSkinManage::Create();
  manager->SkinLoaded(&Skin());
  HWND none = CreateTestWindow("no size", WS_POPUP | WS_VISIBLE, 60, 60, 0, 0);
  windows.push_back(none);
  RECT r;
  GetWindowRect(none, &r);
  ASSERT_EQ(r.right - r.left, 0);
  ASSERT_EQ(r.bottom - r.top, 0);
  PumpFor(100);
  EXPECT_EQ(manager->FindForm(none), nullptr);
  EXPECT_EQ(SendMessageA(none, kMsgSkinned, 0, 0), 0);
  HWND sized = Open(WS_POPUP | WS_VISIBLE, "sized");
  EXPECT_NE(manager->FindForm(sized), nullptr);
}

TEST_F(SkinEngine, ShutDownGivesTheWindowsTheirOwnProcedureAndFrameBack) {
  HWND h = Open();
  WNDCLASSA wc = {};
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CorvaneSkinTest", &wc));
  const auto own = reinterpret_cast<LONG_PTR>(wc.lpfnWndProc);
  EXPECT_NE(GetWindowLongPtrA(h, GWLP_WNDPROC), own);
  TSkinManage::Destroy();
  manager = nullptr;
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), own);
  EXPECT_TRUE(GetWindowLongPtrA(h, GWL_STYLE) & WS_SYSMENU);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(h, rgn), ERROR);
  DeleteObject(rgn);
  EXPECT_EQ(LiveOwners(), OwnerCounts{});
}

TEST_F(SkinEngine, ASubclassingMadeAfterOursKeepsWorkingWhenTheSkinGoesAndComesBack) {
  HWND h = Open();
  SubclassOver(h);
  manager->SetSkinActive(&Skin(), false);
  EXPECT_TRUE(PumpUntil([&] { return manager->SkinnedCount() == 0; }, 1500));
  // Ours stays in the chain, passing everything on: the window still works.
  EXPECT_EQ(LiveOwners().subclasses, 1);
  EXPECT_EQ(SendMessageA(h, kMsgSkinned, 0, 0), 0);
  SetWindowTextA(h, "still answering");
  char buf[32] = {};
  GetWindowTextA(h, buf, sizeof buf);
  EXPECT_STREQ(buf, "still answering");

  // Skinned again: the layer of ours that stayed takes the new owner, the
  // later one still above it.
  manager->SetSkinActive(&Skin(), true);
  ShowWindow(h, SW_HIDE);
  ShowWindow(h, SW_SHOW);
  SetForegroundWindow(h);
  ASSERT_TRUE(PumpUntil([&] { return Running(h); }, 3000));
  EXPECT_EQ(LiveOwners().subclasses, 1);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&SubclassedOver));
  EXPECT_EQ(SendMessageA(h, kMsgSkinned, 0, 0), 1);
  SetWindowTextA(h, "answers");
  GetWindowTextA(h, buf, sizeof buf);
  EXPECT_STREQ(buf, "answers");
  DestroyWindow(h);
  EXPECT_EQ(LiveOwners().subclasses, 0);
}

TEST_F(SkinEngine, OpeningAndClosingASkinnedWindow200TimesLeavesNothingBehind) {
  const OwnerCounts idle = LiveOwners();
  EXPECT_EQ(idle.hooks, 1);
  for (int i = 0; i < 200; ++i) {
    HWND h = CreateTestWindow("again", WS_OVERLAPPEDWINDOW, 60, 60, 300, 200);
    ASSERT_TRUE(PumpUntil([&] {
      TWinSkinForm* f = manager->FindForm(h);
      return f && f->State() == kSkinRunning;
    })) << "round " << i;
    if (i % 2) {
      PostMessageA(h, WM_CLOSE, 0, 0);
      ASSERT_TRUE(PumpUntil([&] { return !IsWindow(h); })) << "round " << i;
    } else {
      DestroyWindow(h);
    }
  }
  EXPECT_TRUE(PumpUntil([&] { return manager->SkinnedCount() == 0; }, 1500));
  EXPECT_EQ(LiveOwners(), idle);
}

}  // namespace
}  // namespace corvane::skin::win32

namespace corvane::skin::win32 {
namespace {

TEST_F(SkinEngine, TheRealMouseMovesTheHotState) {
  HWND h = Open();
  TWinSkinForm& f = Form(h);
  TWinSysButton* close = ButtonWith(f, 0);
  ASSERT_NE(close, nullptr);
  RECT wr;
  GetWindowRect(h, &wr);
  const Point c = Centre(close->rect);
  MoveMouse({wr.left + c.x - 30, wr.top + c.y});
  PumpFor(100);
  HDC screen = GetDC(nullptr);
  const COLORREF normal = GetPixel(screen, wr.left + close->rect.left + 3, wr.top + c.y);
  MoveMouse({wr.left + c.x, wr.top + c.y});
  EXPECT_TRUE(PumpUntil([&] { return f.Hot() == close; }, 1000))
      << "active " << f.ActiveFlag() << " foreground " << (GetForegroundWindow() == h);
  // Wine shows what was drawn when it next flushes the window.
  EXPECT_TRUE(PumpUntil([&] {
    return GetPixel(screen, wr.left + close->rect.left + 3, wr.top + c.y) != normal;
  }, 1000)) << "the hot image is on the screen";
  ReleaseDC(nullptr, screen);
  MoveMouse({5, 700});
  EXPECT_TRUE(PumpUntil([&] { return f.Hot() == nullptr; }, 1000));
}

}  // namespace
}  // namespace corvane::skin::win32

namespace corvane::skin::win32 {
namespace {

LONG_PTR StyleOf(HWND h) { return GetWindowLongPtrA(h, GWL_STYLE); }

bool HasShape(HWND h) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(h, rgn);
  DeleteObject(rgn);
  return kind != ERROR;
}

TEST_F(SkinEngine, AnMdiParentSkinsItsChildrenAndAMaximisedChildShowsTheSystemsCaption) {
  HWND client = nullptr;
  HWND frame = CreateMdiTestWindow("MDI 父窗口", 40, 40, 520, 360, &client);
  ASSERT_TRUE(frame && client);
  windows.push_back(frame);
  ASSERT_TRUE(PumpUntil([&] { return Running(frame); }));
  EXPECT_TRUE(Form(frame).MdiParent());
  EXPECT_TRUE(Form(frame).MdiClientSubclassed());

  HWND first = CreateMdiTestChild(client, "子窗口一", 10, 10, 240, 160);
  HWND second = CreateMdiTestChild(client, "子窗口二", 60, 50, 240, 160);
  ASSERT_TRUE(PumpUntil([&] { return Running(first) && Running(second); }))
      << "the parent attaches its children";
  EXPECT_EQ(manager->SkinnedMdiChildren(), 2u);
  for (HWND child : {first, second}) {
    TWinSkinForm& f = Form(child);
    EXPECT_TRUE(f.MdiChild());
    EXPECT_FALSE(StyleOf(child) & (WS_SYSMENU | WS_MAXIMIZEBOX)) << "the skin's caption";
    RECT wr, cr;
    GetWindowRect(child, &wr);
    GetClientRect(child, &cr);
    EXPECT_EQ(wr.right - wr.left - cr.right, f.Metrics().left + f.Metrics().right);
    EXPECT_EQ(wr.bottom - wr.top - cr.bottom, f.Metrics().top + f.Metrics().bottom);
  }
  EXPECT_FALSE(StyleOf(client) & (WS_HSCROLL | WS_VSCROLL)) << "no scroll bars in the client";

  // Maximised, a child's caption is the parent's: every child gets the
  // system's caption back and loses its shape.
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
  ASSERT_TRUE(PumpUntil([&] { return manager->MdiMaximised(); }));
  EXPECT_EQ(Form(second).WindowStateOf(), kStateMaximised);
  for (HWND child : {first, second}) {
    EXPECT_TRUE(StyleOf(child) & WS_SYSMENU);
    EXPECT_TRUE(StyleOf(child) & WS_MAXIMIZEBOX);
  }
  EXPECT_FALSE(HasShape(second));
  PumpFor(200);
  EXPECT_TRUE(manager->MdiMaximised()) << "the flag stays while the child is maximised";

  // Restored, both have the skin's caption and shape again.
  SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(second), 0);
  ASSERT_TRUE(PumpUntil([&] { return !manager->MdiMaximised(); }));
  PumpFor(100);
  for (HWND child : {first, second}) {
    EXPECT_FALSE(StyleOf(child) & (WS_SYSMENU | WS_MAXIMIZEBOX));
    EXPECT_EQ(Form(child).WindowStateOf(), kStateNormal);
  }
  EXPECT_TRUE(HasShape(second));

  // Cascading restores every child, and the flag goes with it.
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
  ASSERT_TRUE(PumpUntil([&] { return manager->MdiMaximised(); }));
  SendMessageA(client, WM_MDICASCADE, 0, 0);
  EXPECT_FALSE(manager->MdiMaximised());
  PumpFor(100);
  EXPECT_FALSE(StyleOf(first) & WS_SYSMENU);

  // A child made while another is maximised: Windows maximises the new one,
  // Wine restores the old one; either way its caption follows the flag.
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
  ASSERT_TRUE(PumpUntil([&] { return manager->MdiMaximised(); }));
  HWND third = CreateMdiTestChild(client, "子窗口三", 20, 20, 200, 120);
  ASSERT_TRUE(PumpUntil([&] { return Running(third); }));
  PumpFor(100);
  EXPECT_EQ(manager->MdiMaximised(), IsZoomed(third) != FALSE);
  EXPECT_EQ((StyleOf(third) & WS_SYSMENU) != 0, manager->MdiMaximised());

  // Destroying children: the menu bar follows the frame's menu again once
  // none is left.
  EXPECT_FALSE(Skin().MenuUpdate) << "children change the frame's menu";
  for (HWND child : {third, second, first}) SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  PumpFor(400);
  EXPECT_EQ(manager->SkinnedMdiChildren(), 0u);
  EXPECT_TRUE(Skin().MenuUpdate);
  EXPECT_FALSE(manager->MdiMaximised());
}

TEST_F(SkinEngine, SwitchingTheSkinOffLetsGoOfTheMdiClientAndTheChildren) {
  HWND client = nullptr;
  HWND frame = CreateMdiTestWindow("MDI", 40, 40, 400, 300, &client);
  windows.push_back(frame);
  ASSERT_TRUE(PumpUntil([&] { return Running(frame); }));
  HWND child = CreateMdiTestChild(client, "子窗口", 10, 10, 200, 150);
  ASSERT_TRUE(PumpUntil([&] { return Running(child); }));
  RECT cr_before;
  GetClientRect(child, &cr_before);
  manager->SetSkinActive(&Skin(), false);
  ASSERT_TRUE(PumpUntil([&] { return manager->SkinnedCount() == 0; }));
  EXPECT_EQ(LiveOwners().subclasses, 0) << "the client and every window have their own procedure";
  EXPECT_TRUE(StyleOf(child) & WS_SYSMENU);
  RECT cr;
  GetClientRect(child, &cr);
  EXPECT_EQ(cr.right, cr_before.right);
  EXPECT_EQ(cr.bottom, cr_before.bottom);
  Skin().Active = false;
  manager->SetSkinActive(&Skin(), true);
  ASSERT_TRUE(PumpUntil([&] { return Running(frame) && Running(child); }))
      << "activating attaches the parent and its children";
}

class SilentUser : public UserInteraction {
 public:
  int ShowMessageBox(const std::string&, const std::string&, unsigned) override { return mb::kIdOk; }
};

// Forms of the control library, attached as forms.
class SkinForms : public SkinEngine {
 protected:
  void SetUp() override {
    backend = std::make_unique<ui::win32::Win32Backend>(GetModuleHandleA(nullptr));
    app = std::make_unique<ui::Application>(*backend, user);
    backend->Attach(app.get());
    SkinEngine::SetUp();
  }
  void TearDown() override {
    SkinEngine::TearDown();
    app.reset();
    backend.reset();
  }
  ui::Application* App() override { return app.get(); }
  std::unique_ptr<ui::Form> MakeForm(long tag) {
    auto f = std::make_unique<ui::Form>(nullptr);
    f->SetCaption("皮肤窗体");
    f->SetBorderStyle(ui::FormBorderStyle::kSingle);
    f->SetClientSize(320, 200);
    f->SetTag(tag);
    f->SetColor(kOwnColour);
    return f;
  }

  static constexpr ui::Color kOwnColour = ui::Rgb(10, 120, 30);
  SilentUser user;
  std::unique_ptr<ui::win32::Win32Backend> backend;
  std::unique_ptr<ui::Application> app;
};

TEST_F(SkinForms, AFormIsSkinnedThroughItsMessageMethodAndGetsItsColourBack) {
  auto form = MakeForm(0);
  form->Show();
  HWND h = reinterpret_cast<HWND>(form->Handle());
  ASSERT_TRUE(PumpUntil([&] { return Running(h); }));
  EXPECT_EQ(Form(h).HostForm(), form.get());
  EXPECT_EQ(form->GetColor(), Skin().Model().Colours.ButtonFace);
  RECT cr;
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 320);
  EXPECT_EQ(cr.bottom, 200);
  EXPECT_EQ(form->ClientWidth(), 320);
  // The form's message method re-reads the skin on 0x3401.
  form->SetColor(ui::Rgb(1, 2, 3));
  SendMessageA(h, kMsgReReadSkin, 0, 0);
  EXPECT_EQ(form->GetColor(), Skin().Model().Colours.ButtonFace);
  // A new size through the form keeps the client the form asks for.
  form->SetClientSize(300, 180);
  PumpFor(50);
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 300);
  EXPECT_EQ(cr.bottom, 180);

  manager->SetSkinActive(&Skin(), false);
  ASSERT_TRUE(PumpUntil([&] { return manager->SkinnedCount() == 0; }));
  EXPECT_EQ(form->GetColor(), kOwnColour) << "the colour it had when the skin came";
  form->SetColor(ui::Rgb(1, 2, 3));
  SendMessageA(h, kMsgReReadSkin, 0, 0);
  EXPECT_EQ(form->GetColor(), ui::Rgb(1, 2, 3)) << "the message method is the form's own again";
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 300);
  EXPECT_EQ(cr.bottom, 180);
}

TEST_F(SkinForms, ANewCaptionPaintsTheFrameOnceWithTheNewTitle) {
  auto form = MakeForm(0);
  form->Show();
  HWND h = reinterpret_cast<HWND>(form->Handle());
  ASSERT_TRUE(PumpUntil([&] { return Running(h); }));
  PumpFor(100);
  TWinSkinForm& f = Form(h);
  const Rect box = f.TitleTextBox();
  const int paints = f.FramePaints();
  form->SetCaption("一个更长的新标题，占满标题栏");
  EXPECT_EQ(f.FramePaints(), paints + 1);
  EXPECT_GT(f.TitleTextBox().Width(), box.Width()) << "painted with the new text";
  // A plain window's new text paints the frame once too.
  HWND plain = Open();
  const int plain_paints = Form(plain).FramePaints();
  SetWindowTextA(plain, "新的标题");
  EXPECT_EQ(Form(plain).FramePaints(), plain_paints + 1);
}

TEST_F(SkinForms, AFormTagged99IsNeverSkinnedAndOneTagged199Is) {
  auto never = MakeForm(99);
  never->Show();
  auto skinned = MakeForm(199);
  skinned->Show();
  HWND h99 = reinterpret_cast<HWND>(never->Handle());
  HWND h199 = reinterpret_cast<HWND>(skinned->Handle());
  ASSERT_TRUE(PumpUntil([&] { return Running(h199); }));
  SetForegroundWindow(h99);
  PumpFor(300);
  EXPECT_EQ(manager->FindForm(h99), nullptr);
  EXPECT_NE(SendMessageA(h99, kMsgSkinned, 0, 0), 1);
  EXPECT_EQ(never->GetColor(), kOwnColour);
  EXPECT_TRUE(StyleOf(h99) & WS_SYSMENU);
}

}  // namespace
}  // namespace corvane::skin::win32
