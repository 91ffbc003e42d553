#include "app/win32/bare_main_window.h"

namespace corvane {
namespace {
constexpr char kClassName[] = "TFrmMain";
constexpr char kCaption[] = "Corvane V1.2";
constexpr int kClientWidth = 530, kClientHeight = 386;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
}  // namespace

void BareMainWindow::Create(HINSTANCE instance, const std::string&) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &BareMainWindow::Proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "MAINICON");
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  RECT r{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, kStyle, FALSE, 0);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  hwnd_ = CreateWindowExA(0, kClassName, kCaption, kStyle, x, y, w, h, nullptr, nullptr, instance,
                          this);
}

void BareMainWindow::Show() {
  if (hwnd_) {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
  }
}

void BareMainWindow::Destroy() {
  if (hwnd_) {
    HWND h = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(h);
  }
}

LRESULT CALLBACK BareMainWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<BareMainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
      if (self) self->hwnd_ = nullptr;
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace corvane
