// Owners for the GDI and USER objects the realisation makes.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/win32_handle.h"

namespace corvane::ui::win32 {

template <class T>
struct GdiTraits {
  using Value = T;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value v) { return v != nullptr; }
  static void Close(Value v) { DeleteObject(v); }
};
struct IconTraits : GdiTraits<HICON> {
  static void Close(Value v) { DestroyIcon(v); }
};
struct MenuTraits : GdiTraits<HMENU> {
  static void Close(Value v) { DestroyMenu(v); }
};
struct WindowTraits : GdiTraits<HWND> {
  static void Close(Value v) {
    if (IsWindow(v)) DestroyWindow(v);
  }
};
struct ImageListTraits : GdiTraits<HIMAGELIST> {
  static void Close(Value v) { ImageList_Destroy(v); }
};
struct MemoryDcTraits : GdiTraits<HDC> {
  static void Close(Value v) { DeleteDC(v); }
};

using FontHandle = UniqueHandle<GdiTraits<HFONT>>;
using BrushHandle = UniqueHandle<GdiTraits<HBRUSH>>;
using BitmapHandle = UniqueHandle<GdiTraits<HBITMAP>>;
using IconHandle = UniqueHandle<IconTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;
using OwnedWindow = UniqueHandle<WindowTraits>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using ImageListHandle = UniqueHandle<ImageListTraits>;

// Selects an object into a DC for the life of the scope.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace corvane::ui::win32
