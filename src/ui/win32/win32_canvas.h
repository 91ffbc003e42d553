// A Canvas over a device context.
#pragma once
#include <windows.h>

#include "ui/graphics.h"
#include "ui/win32/gdi.h"

namespace corvane::ui::win32 {

class Win32Backend;

// The memory DCs through which every window the library draws itself paints,
// made once rather than on every paint: an off-screen surface whose bitmap
// grows to the largest client drawn so far, and a source for pictures.
class PaintSurfaces {
 public:
  PaintSurfaces() = default;
  PaintSurfaces(const PaintSurfaces&) = delete;
  PaintSurfaces& operator=(const PaintSurfaces&) = delete;
  ~PaintSurfaces();

  // The off-screen DC for one paint, at least width x height and compatible
  // with `like`; holds no DC while another paint has it (a paint inside a
  // paint) or when it cannot be made.
  class Lease {
   public:
    Lease(PaintSurfaces& s, HDC like, int width, int height)
        : owner_(s), dc_(s.Acquire(like, width, height)) {}
    ~Lease() {
      if (dc_) owner_.busy_ = false;
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    HDC dc() const { return dc_; }

   private:
    PaintSurfaces& owner_;
    HDC dc_;
  };
  // A memory DC to select pictures into and copy from; null if none.
  HDC PictureSource();
  // Gives the off-screen bitmap back while no window shows, unless a paint
  // holds it; the next paint makes it again.
  void Trim();
  bool HoldsBitmap() const { return static_cast<bool>(bitmap_); }

 private:
  HDC Acquire(HDC like, int width, int height);
  BitmapHandle bitmap_;
  MemoryDc back_;
  HGDIOBJ back_original_ = nullptr;
  int width_ = 0, height_ = 0;
  bool busy_ = false;
  MemoryDc source_;
};

class Win32Canvas : public Canvas {
 public:
  Win32Canvas(Win32Backend& backend, HDC dc) : backend_(backend), dc_(dc) {}
  void FillRect(const Rect& r, Color c) override;
  void FrameEdge(const Rect& r, Color top_left, Color bottom_right) override;
  void DrawText(const Rect& r, std::string_view text, const Font& font, unsigned flags) override;
  void DrawPicture(const Picture& p, const Rect& r, bool stretch) override;
  void Enter(const Rect& r) override;
  void Restore() override;
  std::uintptr_t NativeHandle() const override { return reinterpret_cast<std::uintptr_t>(dc_); }

 private:
  Win32Backend& backend_;
  HDC dc_;
};

}  // namespace corvane::ui::win32
