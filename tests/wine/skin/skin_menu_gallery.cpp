// A skinned window with a menu bar, to look at and to drive from outside: its
// menus hold a separator, a checked item, a disabled item and a sub-menu, and
// a right-to-left window shows its bar from the right. Ends when the windows
// are closed, or after the time given as the first argument (seconds).
#include <windows.h>

#include <cstdlib>

#include "skin/win32/skin_manage.h"
#include "skin_test_window.h"

using namespace corvane::skin;
using namespace corvane::skin::win32;

namespace {
void CALLBACK Quit(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

BOOL CALLBACK CountOurs(HWND h, LPARAM lp) {
  char cls[64] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (lstrcmpA(cls, "CorvaneSkinTest") == 0) ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

void CALLBACK QuitWhenNoneLeft(HWND, UINT, UINT_PTR, DWORD) {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountOurs, reinterpret_cast<LPARAM>(&n));
  if (n == 0) PostQuitMessage(0);
}

HMENU Popup(std::initializer_list<std::pair<UINT, const char*>> items) {
  HMENU m = CreatePopupMenu();
  for (const auto& [flags, text] : items) {
    if (flags & MF_SEPARATOR) {
      AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
    } else {
      static UINT id = 100;
      AppendMenuA(m, MF_STRING | flags, ++id, text);
    }
  }
  return m;
}

HMENU GalleryMenu() {
  HMENU more = Popup({{0, "第一项(&1)"}, {MF_CHECKED, "第二项(&2)"}});
  HMENU edit = Popup({{MF_GRAYED, "撤销(&U)\tCtrl+Z"},
                      {MF_SEPARATOR, nullptr},
                      {MF_CHECKED, "自动换行(&W)"},
                      {0, "全部选定(&A)\tCtrl+A"},
                      {MF_GRAYED, "只读(&R)"},
                      {MF_SEPARATOR, nullptr}});
  AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "更多(&M)");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP,
              reinterpret_cast<UINT_PTR>(Popup({{0, "新建(&N)\tCtrl+N"},
                                                {0, "打开(&O)...\tCtrl+O"},
                                                {MF_SEPARATOR, nullptr},
                                                {0, "退出(&X)"}})),
              "文件(&F)");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "编辑(&E)");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({{MF_CHECKED, "工具栏(&T)"}})),
              "查看(&V)");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({{0, "关于(&A)"}})), "帮助(&H)");
  return bar;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int) {
  TSkinData skin;
  if (!LoadGallerySkin(skin, "skin_menu_gallery")) return 2;
  TSkinManage::Create().SkinLoaded(&skin);

  HWND rtl = CreateTestWindow("从右到左的菜单", WS_OVERLAPPEDWINDOW, 500, 320, 300, 120, GalleryMenu());
  SetWindowLongPtrA(rtl, GWL_EXSTYLE, GetWindowLongPtrA(rtl, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  SetWindowPos(rtl, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  HMENU main_menu = GalleryMenu();  // the window's own, while the skin shows it
  HWND main = CreateTestWindow("Corvane 菜单", WS_OVERLAPPEDWINDOW, 40, 60, 400, 220, main_menu);
  AddLabel(main, "皮肤的菜单栏和弹出菜单");
  SetForegroundWindow(main);

  const int seconds = std::atoi(cmd);
  SetTimer(nullptr, 0, static_cast<UINT>((seconds > 0 ? seconds : 120) * 1000), &Quit);
  SetTimer(nullptr, 0, 200, &QuitWhenNoneLeft);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    // A chosen entry's command is posted to the window: its title shows it.
    if (m.message == WM_COMMAND && m.hwnd == main && m.lParam == 0) {
      char entry[128] = {};
      GetMenuStringA(main_menu, LOWORD(m.wParam), entry, sizeof entry, MF_BYCOMMAND);
      if (!entry[0]) wsprintfA(entry, "%u", LOWORD(m.wParam));
      char title[200];
      wsprintfA(title, "Corvane 菜单 - %s", entry);
      SetWindowTextA(main, title);
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  TSkinManage::Destroy();
  return LiveOwners() == OwnerCounts{} ? 0 : 3;
}
