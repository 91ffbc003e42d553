// The items of a popup menu, read by the driver itself where the system lets
// another process read a menu (Windows), and by crvhook.dll inside the menu's
// own thread where it does not (Wine).
#pragma once
#include <windows.h>

namespace crv {

struct MenuItem {
  UINT state;
  UINT id;
  RECT rect;
  wchar_t text[128];
};

struct MenuItems {
  LONG count;  // -1: the menu could not be read
  MenuItem items[48];
};

// What the driver sends the menu window; the hook answers it.
inline const char* kReadMenuMessage = "crvdriver.read-menu";

// The shared block the hook fills: named after the driver's process id.
inline void MenuBlockName(DWORD pid, char (&name)[64]) {
  wsprintfA(name, "crvdriver.menu.%lu", pid);
}

inline void ReadMenu(HMENU menu, MenuItems* out) {
  int n = menu ? GetMenuItemCount(menu) : -1;
  out->count = n < 0 ? -1 : 0;
  for (int i = 0; i < n && out->count < static_cast<LONG>(ARRAYSIZE(out->items)); ++i) {
    MenuItem& item = out->items[out->count++];
    item.text[0] = 0;
    GetMenuStringW(menu, i, item.text, ARRAYSIZE(item.text), MF_BYPOSITION);
    item.state = GetMenuState(menu, i, MF_BYPOSITION);
    item.id = GetMenuItemID(menu, i);
    SetRectEmpty(&item.rect);
    GetMenuItemRect(nullptr, menu, i, &item.rect);
  }
}

}  // namespace crv
