// Owners for what the skin engine makes on real windows: the CBT hook, the
// window subclassing, the window timers and the shape regions. Each is
// released by its owner's destructor, on detach and at shut-down alike.
#pragma once
#include <windows.h>

#include "skin/skin_shape.h"
#include "ui/win32/gdi.h"

namespace corvane::skin::win32 {

struct HookTraits {
  using Value = HHOOK;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value v) { return v != nullptr; }
  static void Close(Value v) { UnhookWindowsHookEx(v); }
};
using HookHandle = UniqueHandle<HookTraits>;
using RegionHandle = UniqueHandle<ui::win32::GdiTraits<HRGN>>;

// A WH_CBT hook for the calling thread only.
HookHandle InstallThreadCbtHook(HOOKPROC proc);

// Replaces a window's procedure and puts the previous one back when it goes,
// unless someone else has subclassed the window since (their procedure
// chains to ours, so ours must stay and pass everything on).
class WindowSubclass {
 public:
  WindowSubclass() = default;
  WindowSubclass(HWND window, WNDPROC replacement);
  ~WindowSubclass() { Restore(); }
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;

  bool Installed() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  // The procedure to call on for messages the replacement does not consume.
  LRESULT CallOwn(UINT msg, WPARAM wp, LPARAM lp) const;
  // true when the previous procedure is back in place.
  bool Restore();

 private:
  HWND window_ = nullptr;
  WNDPROC own_ = nullptr;
  WNDPROC replacement_ = nullptr;
};

// A window timer that is killed with its owner.
class WindowTimer {
 public:
  WindowTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  ~WindowTimer() { Stop(); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;
  void Start(UINT interval_ms);
  void Stop();
  bool Running() const { return running_; }

 private:
  HWND window_;
  UINT_PTR id_;
  bool running_ = false;
};

// The window shape as a region: one region per batch of rectangles, united
// into the result. Null when the shape is the whole window.
RegionHandle ShapeRegion(const SkinModel& m, const ShapeInput& in);

}  // namespace corvane::skin::win32
