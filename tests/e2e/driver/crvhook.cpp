// Loaded by the system into the thread that owns an open popup menu, when the
// driver hooks that thread: reads the menu there and hands the items back
// through the driver's shared block.
#include "menu_items.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK CrvReadMenuHook(int code, WPARAM wp, LPARAM lp) {
  static const UINT ask = RegisterWindowMessageA(crv::kReadMenuMessage);
  const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && msg->message == ask) {
    char name[64];
    crv::MenuBlockName(static_cast<DWORD>(msg->wParam), name);
    if (HANDLE map = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name)) {
      if (void* view = MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, sizeof(crv::MenuItems))) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(msg->hwnd, 0x01E1 /* MN_GETHMENU */, 0, 0));
        crv::ReadMenu(menu, static_cast<crv::MenuItems*>(view));
        UnmapViewOfFile(view);
      }
      CloseHandle(map);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
