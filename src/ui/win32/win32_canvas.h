// A Canvas over a device context.
#pragma once
#include <windows.h>

#include "ui/graphics.h"

namespace corvane::ui::win32 {

class Win32Backend;

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
