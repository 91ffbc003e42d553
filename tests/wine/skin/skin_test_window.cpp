#include "skin_test_window.h"

#include <commctrl.h>

namespace corvane::skin::win32 {

namespace {
int g_closes = 0;

LRESULT CALLBACK TestWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) ++g_closes;
  return DefWindowProcA(window, msg, wp, lp);
}

HWND ClientOf(HWND frame) { return FindWindowExA(frame, nullptr, "MDIClient", nullptr); }

LRESULT CALLBACK MdiFrameProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) ++g_closes;
  return DefFrameProcA(window, ClientOf(window), msg, wp, lp);
}

LRESULT CALLBACK MdiChildProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) ++g_closes;
  return DefMDIChildProcA(window, msg, wp, lp);
}

void RegisterOnce(const char* name, WNDPROC proc, int background) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  if (GetClassInfoA(instance, name, &wc)) return;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}
}  // namespace

HWND CreateMdiTestWindow(const std::string& title, int x, int y, int cw, int ch, HWND* client) {
  RegisterOnce("CorvaneMdiTest", &MdiFrameProc, COLOR_APPWORKSPACE);
  HMENU menu = CreateMenu();
  HMENU window_menu = CreatePopupMenu();
  AppendMenuA(window_menu, MF_STRING, 1, "层叠(&C)");
  AppendMenuA(window_menu, MF_STRING, 2, "平铺(&T)");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(window_menu), "窗口(&W)");
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT r = {0, 0, cw, ch};
  AdjustWindowRectEx(&r, style, TRUE, 0);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND frame = CreateWindowExA(0, "CorvaneMdiTest", title.c_str(), style, x, y, r.right - r.left,
                               r.bottom - r.top, nullptr, menu, instance, nullptr);
  if (!frame) return nullptr;
  CLIENTCREATESTRUCT ccs = {window_menu, 100};
  RECT cr;
  GetClientRect(frame, &cr);
  HWND mdi = CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr,
                             WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0,
                             0, cr.right, cr.bottom, frame, nullptr, instance, &ccs);
  if (client) *client = mdi;
  ShowWindow(frame, SW_SHOW);
  SetForegroundWindow(frame);
  UpdateWindow(frame);
  return frame;
}

HWND CreateMdiTestChild(HWND client, const std::string& title, int x, int y, int w, int h) {
  RegisterOnce("CorvaneMdiChild", &MdiChildProc, COLOR_BTNFACE);
  MDICREATESTRUCTA mcs = {};
  mcs.szClass = "CorvaneMdiChild";
  mcs.szTitle = title.c_str();
  mcs.hOwner = GetModuleHandleA(nullptr);
  mcs.x = x;
  mcs.y = y;
  mcs.cx = w;
  mcs.cy = h;
  mcs.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  auto child = reinterpret_cast<HWND>(
      SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (child) SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
  return child;
}

bool LoadSkinResource(TSkinData& skin) {
  HRSRC res = FindResourceA(nullptr, "SKINSTREAM", MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!res) return false;
  HGLOBAL loaded = LoadResource(nullptr, res);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  const ByteSpan stream(static_cast<const std::uint8_t*>(data), SizeofResource(nullptr, res));
  return skin.ReadSkinStream(stream) && !skin.NotLoaded();
}

HWND CreateTestWindow(const std::string& title, DWORD style, int x, int y, int cw, int ch,
                      HMENU menu) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  if (!GetClassInfoA(instance, "CorvaneSkinTest", &wc)) {
    wc.lpfnWndProc = &TestWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "CorvaneSkinTest";
    RegisterClassA(&wc);
  }
  RECT r = {0, 0, cw, ch};
  AdjustWindowRectEx(&r, style, menu != nullptr, 0);
  HWND h = CreateWindowExA(0, "CorvaneSkinTest", title.c_str(), style, x, y, r.right - r.left,
                           r.bottom - r.top, nullptr, menu, instance, nullptr);
  if (!h) return nullptr;
  ShowWindow(h, SW_SHOW);
  SetForegroundWindow(h);
  UpdateWindow(h);
  return h;
}

int ClosesSeen() { return g_closes; }

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (done()) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

void MoveMouse(POINT p) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

bool LoadGallerySkin(TSkinData& skin, const char* program) {
  if (!LoadSkinResource(skin)) {
    MessageBoxA(nullptr, "no skin", program, MB_OK);
    return false;
  }
  skin.Active = true;
  return true;
}

void AddLabel(HWND parent, const char* text) {
  CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE, 16, 16, 320, 40, parent, nullptr,
                  GetModuleHandleA(nullptr), nullptr);
}

namespace {
BOOL CALLBACK CollectMenus(HWND h, LPARAM lp) {
  char cls[16] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(h))
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}
}  // namespace

std::vector<HWND> OpenMenus() {
  std::vector<HWND> out;
  EnumThreadWindows(GetCurrentThreadId(), &CollectMenus, reinterpret_cast<LPARAM>(&out));
  return out;
}

void AddTab(HWND tabs, const char* text) {
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(text);
  const auto end = SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0);
  SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(end), reinterpret_cast<LPARAM>(&item));
}

void AddColumn(HWND view, const char* text, int width) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
  const auto end = header ? SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
  LVCOLUMNA col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.cx = width;
  col.pszText = const_cast<char*>(text);
  SendMessageA(view, LVM_INSERTCOLUMNA, static_cast<WPARAM>(end), reinterpret_cast<LPARAM>(&col));
}

}  // namespace corvane::skin::win32
