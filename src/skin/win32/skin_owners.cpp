#include "skin/win32/skin_owners.h"

#include <vector>

namespace corvane::skin::win32 {

HookHandle InstallThreadCbtHook(HOOKPROC proc) {
  return HookHandle(SetWindowsHookExA(WH_CBT, proc, nullptr, GetCurrentThreadId()));
}

WindowSubclass::WindowSubclass(HWND window, WNDPROC replacement) : replacement_(replacement) {
  SetLastError(0);
  LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement));
  if (previous == 0 && GetLastError() != 0) return;
  window_ = window;
  own_ = reinterpret_cast<WNDPROC>(previous);
}

LRESULT WindowSubclass::CallOwn(UINT msg, WPARAM wp, LPARAM lp) const {
  if (!own_) return DefWindowProcA(window_, msg, wp, lp);
  return CallWindowProcA(own_, window_, msg, wp, lp);
}

bool WindowSubclass::Restore() {
  if (!window_) return true;
  if (IsWindow(window_)) {
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window_, GWLP_WNDPROC));
    if (current != replacement_) return false;
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own_));
  }
  window_ = nullptr;
  own_ = nullptr;
  return true;
}

void WindowTimer::Start(UINT interval_ms) {
  running_ = SetTimer(window_, id_, interval_ms, nullptr) != 0;
}

void WindowTimer::Stop() {
  if (running_ && IsWindow(window_)) KillTimer(window_, id_);
  running_ = false;
}

namespace {

// A region from one batch of rectangles (RGNDATA header, then the rects).
RegionHandle BatchRegion(const Rect* rects, std::size_t count) {
  const std::size_t bytes = sizeof(RGNDATAHEADER) + count * sizeof(RECT);
  std::vector<unsigned char> buffer(bytes);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(count);
  data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
  RECT bound = {0, 0, 0, 0};
  auto* out = reinterpret_cast<RECT*>(data->Buffer);
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = {rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
    UnionRect(&bound, &bound, &out[i]);
  }
  data->rdh.rcBound = bound;
  return RegionHandle(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), data));
}

}  // namespace

RegionHandle ShapeRegion(const SkinModel& m, const ShapeInput& in) {
  RegionHandle result(CreateRectRgn(0, 0, 0, 0));
  if (!result) return {};
  const bool whole = BuildWindowShape(m, in, [&](const Rect* rects, std::size_t n) {
    RegionHandle part = BatchRegion(rects, n);
    if (part) CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
  });
  if (whole) return {};
  return result;
}

}  // namespace corvane::skin::win32
