#include "ui/win32/win32_canvas.h"

#include <algorithm>
#include <string>
#include <utility>

#include "ui/win32/gdi.h"
#include "ui/win32/win32_backend.h"

namespace corvane::ui::win32 {
namespace {
RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
}  // namespace

PaintSurfaces::~PaintSurfaces() {
  // The first bitmap goes back in, so the DC is deleted before the bitmap.
  if (back_ && back_original_) SelectObject(back_.get(), back_original_);
}

HDC PaintSurfaces::Acquire(HDC like, int width, int height) {
  if (busy_ || width <= 0 || height <= 0) return nullptr;
  if (!back_) back_.reset(CreateCompatibleDC(like));
  if (!back_) return nullptr;
  if (width > width_ || height > height_) {
    int w = std::max(width, width_), h = std::max(height, height_);
    BitmapHandle grown(CreateCompatibleBitmap(like, w, h));
    if (!grown) return nullptr;
    HGDIOBJ old = SelectObject(back_.get(), grown.get());
    if (!back_original_) back_original_ = old;
    bitmap_ = std::move(grown);
    width_ = w;
    height_ = h;
  }
  busy_ = true;
  return back_.get();
}

void PaintSurfaces::Trim() {
  if (busy_ || !bitmap_) return;
  SelectObject(back_.get(), back_original_);
  bitmap_.reset();
  width_ = height_ = 0;
}

HDC PaintSurfaces::PictureSource() {
  if (!source_) source_.reset(CreateCompatibleDC(nullptr));
  return source_.get();
}

void Win32Canvas::FillRect(const Rect& r, Color c) {
  RECT rc = ToRect(r);
  ::FillRect(dc_, &rc, backend_.BrushFor(c));
}

void Win32Canvas::FrameEdge(const Rect& r, Color top_left, Color bottom_right) {
  if (r.Empty()) return;
  FillRect({r.left, r.top, r.right - 1, r.top + 1}, top_left);
  FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, top_left);
  FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
  FillRect({r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

void Win32Canvas::DrawText(const Rect& r, std::string_view text, const Font& font, unsigned flags) {
  Selection font_in(dc_, backend_.FontFor(font));
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, ToColorRef(font.color));
  RECT rc = ToRect(r);
  std::string s(text);
  ::DrawTextA(dc_, s.c_str(), static_cast<int>(s.size()), &rc, flags);
}

void Win32Canvas::DrawPicture(const Picture& p, const Rect& r, bool stretch) {
  bool is_icon = false;
  HANDLE h = backend_.PictureFor(p, &is_icon);
  if (!h) return;
  if (is_icon) {
    HICON icon = static_cast<HICON>(h);
    DrawIconEx(dc_, r.left, r.top, icon, stretch ? r.Width() : 0, stretch ? r.Height() : 0, 0,
               nullptr, DI_NORMAL);
    return;
  }
  HBITMAP bmp = static_cast<HBITMAP>(h);
  BITMAP info{};
  if (!GetObjectA(bmp, sizeof info, &info)) return;
  HDC src = backend_.Surfaces().PictureSource();
  if (!src) return;
  Selection in(src, bmp);
  if (stretch) {
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, r.left, r.top, r.Width(), r.Height(), src, 0, 0, info.bmWidth,
               info.bmHeight, SRCCOPY);
  } else {
    BitBlt(dc_, r.left, r.top, std::min<int>(info.bmWidth, r.Width()),
           std::min<int>(info.bmHeight, r.Height()), src, 0, 0, SRCCOPY);
  }
}

void Win32Canvas::Enter(const Rect& r) {
  SaveDC(dc_);
  IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom);
  OffsetViewportOrgEx(dc_, r.left, r.top, nullptr);
}

void Win32Canvas::Restore() { RestoreDC(dc_, -1); }

}  // namespace corvane::ui::win32
