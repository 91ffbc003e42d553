// Owners for what the skin engine makes on real windows: the CBT hook, the
// window subclassing, the window timers and the shape regions. Each is
// released by its owner's destructor, on detach and at shut-down alike.
#pragma once
#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "skin/skin_shape.h"
#include "ui/win32/gdi.h"

namespace corvane::skin::win32 {

// What the engine's owners hold right now, counted by the owners themselves
// (Wine's GetGuiResources answers 0, so this is how a test sees a leak).
struct OwnerCounts {
  int hooks = 0;       // CBT hooks
  int subclasses = 0;  // replaced window procedures, orphans included
  int timers = 0;      // running window timers
  int shapes = 0;      // window regions handed to the system
  int gdi = 0;         // fonts, bitmaps, DCs and regions the engine made
  bool operator==(const OwnerCounts& o) const {
    return hooks == o.hooks && subclasses == o.subclasses && timers == o.timers &&
           shapes == o.shapes && gdi == o.gdi;
  }
};
OwnerCounts LiveOwners();

namespace detail {
enum Counter { kHooks, kSubclasses, kTimers, kShapes, kGdi };
void Count(Counter c, int delta);
// The painting paths, for the tests' failures.
enum PaintPath { kPaintFrame, kPaintTitleButton, kPaintMenuBar, kPaintMenuBarItem, kPaintMenuItem,
                 kPaintPopup, kPaintControl, kPaintPaths };
// GDI objects made so far, not only the live ones (fonts, brushes, pens,
// regions, DIB sections and memory DCs): what a steady repaint must not add
// to.
int ObjectsMade();
void CountMade();
// SetWindowRgn calls made so far: one per change of a shape.
int RegionsSet();
// For the tests: the next `count` paints of that path fail half-way, with
// their DCs and GDI objects made; PaintFailuresLeft tells whether they
// were reached.
void FailPaints(PaintPath path, int count);
int PaintFailuresLeft(PaintPath path);
// Where a paint of the path holds the most: throws while failures are
// asked for.
void PaintCheckpoint(PaintPath path);
}  // namespace detail

// Painting that may fail (a damaged piece, no memory) must not take the
// window's message handling with it: the error is swallowed and false
// returned; the owners in the scope release what it made.
template <class F>
bool GuardedPaint(F&& paint) noexcept {
  try {
    paint();
    return true;
  } catch (...) {
    return false;
  }
}

// SaveDC and RestoreDC as one scope; made after the objects it selects, so
// that they are deselected before they go.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~SavedDc() {
    if (id_) RestoreDC(dc_, id_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int id_;
};

struct HookTraits {
  using Value = HHOOK;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value v) { return v != nullptr; }
  static void Close(Value v) {
    UnhookWindowsHookEx(v);
    detail::Count(detail::kHooks, -1);
  }
};
using HookHandle = UniqueHandle<HookTraits>;

// A GDI object the engine made; counted from Adopt to its deletion.
template <class T>
struct CountedGdiTraits : ui::win32::GdiTraits<T> {
  static void Close(T v) {
    DeleteObject(v);
    detail::Count(detail::kGdi, -1);
  }
};
template <class T>
using GdiHandle = UniqueHandle<CountedGdiTraits<T>>;
template <class T>
GdiHandle<T> Adopt(T object) {
  if (object) {
    detail::Count(detail::kGdi, 1);
    detail::CountMade();
  }
  return GdiHandle<T>(object);
}
using RegionHandle = GdiHandle<HRGN>;
using FontHandle = GdiHandle<HFONT>;

// A WH_CBT hook for the calling thread only.
HookHandle InstallThreadCbtHook(HOOKPROC proc);

// Replaces a window's procedure and puts the previous one back when it goes,
// unless someone else has subclassed the window since (their procedure
// chains to ours, so ours must stay and pass everything on).
class WindowSubclass {
 public:
  WindowSubclass() = default;
  WindowSubclass(HWND window, WNDPROC replacement);
  // A subclassing that cannot be undone is kept as an orphan: the
  // replacement goes on passing the window's messages to CallOrphan.
  ~WindowSubclass();
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;

  bool Installed() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  WNDPROC Own() const { return own_; }
  // The procedure to call on for messages the replacement does not consume.
  LRESULT CallOwn(UINT msg, WPARAM wp, LPARAM lp) const;
  // true when the previous procedure is back in place.
  bool Restore();
  // The window has had WM_NCDESTROY: no message follows, so there is
  // nothing to put back and no orphan to keep.
  void Drop();

  // For a window whose owner has gone but whose subclassing stayed: calls
  // the procedure it had before; false when the window is no orphan. The
  // record goes with WM_NCDESTROY.
  static bool CallOrphan(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

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

// A region set as a window's shape. The system owns the region once
// SetWindowRgn took it; this owner takes the shape off again.
class WindowShape {
 public:
  WindowShape() = default;
  ~WindowShape() { Clear(true); }
  WindowShape(const WindowShape&) = delete;
  WindowShape& operator=(const WindowShape&) = delete;
  // A null region makes the window whole again.
  void Set(HWND window, RegionHandle region, bool redraw);
  void Clear(bool redraw);
  bool Shaped() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
};

// A DC of a window (or of the screen, for no window), released with its
// owner on every path out, an exception's included. Counted as the engine's.
class WindowDc {
 public:
  // GetDC: the client area.
  static WindowDc Client(HWND window) { return WindowDc(window, GetDC(window)); }
  // GetWindowDC: the whole window, frame included.
  static WindowDc Whole(HWND window) { return WindowDc(window, GetWindowDC(window)); }
  WindowDc(WindowDc&& o) noexcept : window_(o.window_), dc_(std::exchange(o.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;
  WindowDc(const WindowDc&) = delete;
  ~WindowDc() {
    if (!dc_) return;
    ReleaseDC(window_, dc_);
    detail::Count(detail::kGdi, -1);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {
    if (dc_) detail::Count(detail::kGdi, 1);
  }
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint as one scope.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  ~PaintDc() { EndPaint(window_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& Info() const { return ps_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_ = {};
  HDC dc_;
};

// The header of a 32-bit top-down bitmap: rows in the order and pixels in
// the layout of Bitmap32.
BITMAPINFO TopDown32(int width, int height);

// A memory DC with a 32-bit top-down DIB section selected: the pixels have
// the layout of Bitmap32, so the portable renderer's results go in and out
// by copying rows.
class DibSurface {
 public:
  DibSurface(HDC reference, int width, int height);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;
  bool Valid() const { return bits_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HDC Dc() const { return dc_; }
  void Load(const Bitmap32& from);  // sizes must match
  void Store(Bitmap32& to) const;

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// A DibSurface kept between paints by the one who paints into it, made
// again only when the size changes: a steady repaint makes no DC or DIB.
class KeptSurface {
 public:
  // The surface of that size; null when it cannot be made.
  DibSurface* For(HDC reference, int width, int height);
  bool Fits(int width, int height) const {
    return surface_ && surface_->Valid() && surface_->Width() == width && surface_->Height() == height;
  }
  void Release() { surface_.reset(); }

 private:
  std::unique_ptr<DibSurface> surface_;
};

}  // namespace corvane::skin::win32
