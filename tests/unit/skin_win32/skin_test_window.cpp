#include "skin_test_window.h"

namespace corvane::skin::win32 {

namespace {
int g_closes = 0;

LRESULT CALLBACK TestWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) ++g_closes;
  return DefWindowProcA(window, msg, wp, lp);
}
}  // namespace

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

}  // namespace corvane::skin::win32
