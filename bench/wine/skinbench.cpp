// The skin engine's cost per paint under Wine: a skinned window and an
// unskinned one of the same size and menu, timed side by side in one run.
//
//   crvskinbench [--n N]
//
// Rows: the frame paint (WM_NCPAINT), a whole redraw (frame, client and
// children, updated now), an open popup menu's redraw and the shape build;
// each a median in ms of N rounds, the two windows in turn, then the ratio
// skinned / unskinned. The unskinned popup is timed before the skin comes
// (afterwards every popup menu of the process is skinned); the unskinned
// shape is the plain rectangle of the same size.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench_clock.h"

#include "skin/skin_shape.h"
#include "skin/win32/skin_manage.h"

namespace {

using namespace corvane::skin;
using namespace corvane::skin::win32;

constexpr int kClientWidth = 530, kClientHeight = 386;  // the main window's client
constexpr char kSkinnedClass[] = "CrvSkinBenchSkinned";
constexpr char kPlainClass[] = "CrvSkinBenchPlain";

using corvane::bench::Median;
using corvane::bench::NowMs;

double Time(const std::function<void()>& f) {
  const double t0 = NowMs();
  f();
  GdiFlush();
  return NowMs() - t0;
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    Sleep(1);
  } while (GetTickCount() - start < ms);
}

HMENU MakeMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  const char* entries[] = {"新建分类(&N)", "删除分类(&D)", "重命名(&R)", "更改图标(&I)", "-",
                           "刷新(&F)",     "属性(&P)",     "退出(&X)"};
  UINT id = 100;
  for (const char* e : entries)
    AppendMenuA(file, std::strcmp(e, "-") == 0 ? MF_SEPARATOR : MF_STRING, id++, e);
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "文件(&F)");
  AppendMenuA(bar, MF_STRING, 200, "帮助(&H)");
  return bar;
}

HWND MakeWindow(const char* cls, int x) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  if (!GetClassInfoA(instance, cls, &wc)) {
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
  }
  const DWORD style = WS_OVERLAPPEDWINDOW;
  RECT r = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, style, TRUE, 0);
  HWND h = CreateWindowExA(0, cls, cls, style, x, 20, r.right - r.left, r.bottom - r.top, nullptr,
                           MakeMenu(), instance, nullptr);
  ShowWindow(h, SW_SHOW);
  SetForegroundWindow(h);
  UpdateWindow(h);
  return h;
}

bool LoadSkin(TSkinData& skin) {
  HRSRC res = FindResourceA(nullptr, "SKINSTREAM", MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = res ? LoadResource(nullptr, res) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  const ByteSpan stream(static_cast<const std::uint8_t*>(data), SizeofResource(nullptr, res));
  return skin.ReadSkinStream(stream) && !skin.NotLoaded();
}

// An open popup menu of `owner`, redrawn `n` times from a timer: the ms of
// each redraw.
struct PopupTiming {
  int n = 0;
  std::vector<double> ms;
};
PopupTiming g_popup;

void CALLBACK RedrawPopup(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND popup = FindWindowA("#32768", nullptr);
  if (popup && IsWindowVisible(popup)) {
    for (int i = 0; i < g_popup.n; ++i)
      g_popup.ms.push_back(Time([&] {
        RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
      }));
  }
  EndMenu();
}

double PopupRedraw(HWND owner, HMENU menu, int n) {
  g_popup = {};
  g_popup.n = n;
  SetTimer(nullptr, 0, 200, &RedrawPopup);
  RECT wr;
  GetWindowRect(owner, &wr);
  // The menu bar's first sub-menu, as a person opens it.
  TrackPopupMenu(menu, TPM_LEFTALIGN, wr.left + 20, wr.top + 60, 0, owner, nullptr);
  return Median(g_popup.ms);
}

double SkinnedPopupRedraw(TWinSkinForm& f, int n) {
  TWinSkinMenu* bar = f.MenuBar();
  if (!bar || bar->Count() == 0) return 0;
  g_popup = {};
  g_popup.n = n;
  SetTimer(nullptr, 0, 200, &RedrawPopup);
  RECT wr;
  GetWindowRect(f.Window(), &wr);
  const corvane::Rect& r = bar->Item(0).rect;
  SendMessageA(f.Window(), WM_NCLBUTTONDOWN, HTMENU,
               MAKELPARAM(wr.left + (r.left + r.right) / 2, wr.top + (r.top + r.bottom) / 2));
  return Median(g_popup.ms);
}

struct Row {
  const char* name;
  double skinned, plain;
};

}  // namespace

int main(int argc, char** argv) {
  int n = 200;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--n") == 0) n = std::max(1, std::atoi(argv[i + 1]));

  // Before the skin: the plain window's popup menu.
  HWND plain = MakeWindow(kPlainClass, 560);
  Pump(200);
  const double plain_popup = PopupRedraw(plain, GetSubMenu(GetMenu(plain), 0), n);

  static TSkinData skin;
  if (!LoadSkin(skin)) {
    std::fprintf(stderr, "crvskinbench: the program carries no skin (scripts/build_skin.sh)\n");
    return 2;
  }
  skin.Active = true;
  TSkinManage& manager = TSkinManage::Create(nullptr);
  // The plain window stays the system's.
  manager.Register(&skin, nullptr, [](const std::string& cls, bool& skin_it) {
    if (cls == kPlainClass) skin_it = false;
  });
  manager.SkinLoaded(&skin);
  HWND skinned = MakeWindow(kSkinnedClass, 10);
  for (int i = 0; i < 300 && !(manager.FindForm(skinned) && manager.FindForm(skinned)->State() == kSkinRunning); ++i)
    Pump(10);
  TWinSkinForm* form = manager.FindForm(skinned);
  if (!form || manager.FindForm(plain)) {
    std::fprintf(stderr, "crvskinbench: the windows were not skinned as asked\n");
    return 1;
  }
  // The same client size for both.
  RECT wr;
  GetWindowRect(skinned, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  Pump(100);

  std::vector<double> nc[2], redraw[2], shape[2];
  for (int i = 0; i < n; ++i) {
    HWND windows[2] = {skinned, plain};
    for (int k = 0; k < 2; ++k) {
      nc[k].push_back(Time([&] { SendMessageA(windows[k], WM_NCPAINT, 1, 0); }));
      redraw[k].push_back(Time([&] {
        RedrawWindow(windows[k], nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      }));
    }
    // The shape: the skin's, from its pieces, against the plain rectangle.
    shape[0].push_back(Time([&] {
      ShapeInput in;
      in.width = w;
      in.height = h;
      in.frame = form->Metrics();
      in.frame_kind = form->FrameKindOf();
      in.title_bar = form->TitleBar().Empty() ? nullptr : &form->TitleBar();
      RegionHandle region = ShapeRegion(skin.Model(), in);
      HRGN r = region.release();
      if (r && !SetWindowRgn(skinned, r, FALSE)) DeleteObject(r);
    }));
    shape[1].push_back(Time([&] {
      HRGN r = CreateRectRgn(0, 0, w, h);
      if (!SetWindowRgn(plain, r, FALSE)) DeleteObject(r);
    }));
  }
  SetWindowRgn(plain, nullptr, TRUE);
  const double skinned_popup = SkinnedPopupRedraw(*form, n);

  const Row rows[] = {
      {"frame paint (WM_NCPAINT)", Median(nc[0]), Median(nc[1])},
      {"whole redraw", Median(redraw[0]), Median(redraw[1])},
      {"popup menu redraw", skinned_popup, plain_popup},
      {"shape build", Median(shape[0]), Median(shape[1])},
  };
  std::printf("skin engine under Wine: %d x %d window with a menu, median of %d, ms\n", w, h, n);
  std::printf("%-26s %10s %10s %8s\n", "", "skinned", "unskinned", "ratio");
  for (const Row& r : rows)
    std::printf("%-26s %10.4f %10.4f %8.2f\n", r.name, r.skinned, r.plain,
                r.plain > 0 ? r.skinned / r.plain : 0.0);
  for (const Row& r : rows)
    std::printf("{\"metric\": \"%s\", \"skinned_ms\": %.4f, \"unskinned_ms\": %.4f}\n", r.name,
                r.skinned, r.plain);
  std::fflush(stdout);
  DestroyWindow(skinned);
  DestroyWindow(plain);
  TSkinManage::Destroy();
  return 0;
}
