#include "skin/win32/skin_owners.h"

#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace corvane::skin::win32 {

namespace {
// UI thread only, like everything the engine does.
OwnerCounts g_counts;

// Windows whose subclassing outlived its owner: the procedure each had
// and ours, which stays in the chain.
struct Orphan {
  HWND window;
  WNDPROC own;
  WNDPROC replacement;
};
std::vector<Orphan>& Orphans() {
  static std::vector<Orphan> orphans;
  return orphans;
}
}  // namespace

namespace detail {
void Count(Counter c, int delta) {
  switch (c) {
    case kHooks: g_counts.hooks += delta; break;
    case kSubclasses: g_counts.subclasses += delta; break;
    case kTimers: g_counts.timers += delta; break;
    case kShapes: g_counts.shapes += delta; break;
    case kGdi: g_counts.gdi += delta; break;
  }
}

namespace {
int g_paint_failures[kPaintPaths] = {};
int g_made = 0;
}  // namespace

int ObjectsMade() { return g_made; }
void CountMade() { ++g_made; }

void FailPaints(PaintPath path, int count) { g_paint_failures[path] = count; }
int PaintFailuresLeft(PaintPath path) { return g_paint_failures[path]; }

void PaintCheckpoint(PaintPath path) {
  if (g_paint_failures[path] <= 0) return;
  --g_paint_failures[path];
  throw std::runtime_error("paint failure asked for by a test");
}
}  // namespace detail

OwnerCounts LiveOwners() { return g_counts; }

HookHandle InstallThreadCbtHook(HOOKPROC proc) {
  HHOOK hook = SetWindowsHookExA(WH_CBT, proc, nullptr, GetCurrentThreadId());
  if (hook) detail::Count(detail::kHooks, 1);
  return HookHandle(hook);
}

WindowSubclass::WindowSubclass(HWND window, WNDPROC replacement) : replacement_(replacement) {
  // A layer of ours that stayed under a later subclassing takes the new
  // owner: a second layer would hand every message to the new owner twice,
  // round and round.
  auto& orphans = Orphans();
  for (auto it = orphans.begin(); it != orphans.end(); ++it) {
    if (it->window != window || it->replacement != replacement) continue;
    window_ = window;
    own_ = it->own;
    orphans.erase(it);  // counted still, now as this owner's
    return;
  }
  SetLastError(0);
  LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement));
  if (previous == 0 && GetLastError() != 0) return;
  window_ = window;
  own_ = reinterpret_cast<WNDPROC>(previous);
  detail::Count(detail::kSubclasses, 1);
}

WindowSubclass::~WindowSubclass() {
  if (!Restore()) {
    Orphans().push_back({window_, own_, replacement_});  // still counted until the window goes
    window_ = nullptr;
  }
}

bool WindowSubclass::CallOrphan(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  auto& orphans = Orphans();
  for (std::size_t i = 0; i < orphans.size(); ++i) {
    if (orphans[i].window != window) continue;
    WNDPROC own = orphans[i].own;
    if (msg == WM_NCDESTROY) {
      orphans.erase(orphans.begin() + static_cast<std::ptrdiff_t>(i));
      detail::Count(detail::kSubclasses, -1);
    }
    *result = own ? CallWindowProcA(own, window, msg, wp, lp) : DefWindowProcA(window, msg, wp, lp);
    return true;
  }
  return false;
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
  detail::Count(detail::kSubclasses, -1);
  return true;
}

void WindowSubclass::Drop() {
  if (!window_) return;
  window_ = nullptr;
  own_ = nullptr;
  detail::Count(detail::kSubclasses, -1);
}

void WindowTimer::Start(UINT interval_ms) {
  const bool was = running_;
  running_ = SetTimer(window_, id_, interval_ms, nullptr) != 0;
  if (running_ != was) detail::Count(detail::kTimers, running_ ? 1 : -1);
}

void WindowTimer::Stop() {
  if (!running_) return;
  if (IsWindow(window_)) KillTimer(window_, id_);
  running_ = false;
  detail::Count(detail::kTimers, -1);
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
  return Adopt(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), data));
}

}  // namespace

RegionHandle ShapeRegion(const SkinModel& m, const ShapeInput& in) {
  RegionHandle result = Adopt(CreateRectRgn(0, 0, 0, 0));
  if (!result) return {};
  const bool whole = BuildWindowShape(m, in, [&](const Rect* rects, std::size_t n) {
    RegionHandle part = BatchRegion(rects, n);
    if (part) CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
  });
  if (whole) return {};
  return result;
}

namespace {
int g_regions_set = 0;
int SetRegion(HWND window, HRGN region, bool redraw) {
  ++g_regions_set;
  return SetWindowRgn(window, region, redraw);
}
}  // namespace

int detail::RegionsSet() { return g_regions_set; }

void WindowShape::Set(HWND window, RegionHandle region, bool redraw) {
  if (window_ && window_ != window) Clear(false);
  if (!region) {
    // Whole again: one call, whether a shape was set or not.
    SetRegion(window, nullptr, redraw);
    if (window_) detail::Count(detail::kShapes, -1);
    window_ = nullptr;
    return;
  }
  // The new region replaces the old one in one call; on failure the old
  // shape stays.
  if (!SetRegion(window, region.get(), redraw)) return;  // the handle deletes it
  region.release();
  detail::Count(detail::kGdi, -1);  // the system's now
  // Setting a region sizes the window, and a nested Set from its WM_SIZE
  // may already have counted the shape.
  if (!window_) detail::Count(detail::kShapes, 1);
  window_ = window;
}

void WindowShape::Clear(bool redraw) {
  if (!window_) return;
  if (IsWindow(window_)) SetRegion(window_, nullptr, redraw);
  window_ = nullptr;
  detail::Count(detail::kShapes, -1);
}

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down, like Bitmap32
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

DibSurface::DibSurface(HDC reference, int width, int height) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bi = TopDown32(width, height);
  dc_ = CreateCompatibleDC(reference);
  if (!dc_) return;
  detail::Count(detail::kGdi, 1);
  detail::CountMade();
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  detail::Count(detail::kGdi, 1);
  detail::CountMade();
  old_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<std::uint32_t*>(bits);
}

DibSurface::~DibSurface() {
  if (dc_ && old_) SelectObject(dc_, old_);
  if (bitmap_) {
    DeleteObject(bitmap_);
    detail::Count(detail::kGdi, -1);
  }
  if (dc_) {
    DeleteDC(dc_);
    detail::Count(detail::kGdi, -1);
  }
}

void DibSurface::Load(const Bitmap32& from) {
  if (!bits_ || from.Width() != width_ || from.Height() != height_) return;
  GdiFlush();
  std::memcpy(bits_, from.Pixels().data(), from.Pixels().size() * sizeof(std::uint32_t));
}

void DibSurface::Store(Bitmap32& to) const {
  if (!bits_) return;
  GdiFlush();
  if (to.Width() != width_ || to.Height() != height_) to = Bitmap32(width_, height_);
  for (int y = 0; y < height_; ++y)
    std::memcpy(to.MutableRow(y), bits_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_),
                static_cast<std::size_t>(width_) * sizeof(std::uint32_t));
}

DibSurface* KeptSurface::For(HDC reference, int width, int height) {
  if (!Fits(width, height)) surface_ = std::make_unique<DibSurface>(reference, width, height);
  return surface_->Valid() ? surface_.get() : nullptr;
}

}  // namespace corvane::skin::win32
