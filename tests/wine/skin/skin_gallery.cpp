// A few skinned windows to look at and to drive with the real mouse: an
// active window with every caption button, an inactive one without a
// maximise box and with a title too long for its bar; with "mdi" after the
// time, an MDI parent with two children instead. Ends when the windows are
// closed, or after the time given as the first argument (seconds).
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "skin/win32/skin_manage.h"
#include "skin_test_window.h"

using namespace corvane::skin;
using namespace corvane::skin::win32;

namespace {
void CALLBACK Quit(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

BOOL CALLBACK CountOurs(HWND h, LPARAM lp) {
  char cls[64] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (lstrcmpA(cls, "CorvaneSkinTest") == 0 || lstrcmpA(cls, "CorvaneMdiTest") == 0)
    ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

void CALLBACK QuitWhenNoneLeft(HWND, UINT, UINT_PTR, DWORD) {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountOurs, reinterpret_cast<LPARAM>(&n));
  if (n == 0) PostQuitMessage(0);
}

void ShowTwoWindows() {
  HWND second = CreateTestWindow(
      "这是一个很长很长的窗口标题，长到标题栏放不下，只好用省略号结束 Corvane",
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 470, 90, 300, 150);
  AddLabel(second, "没有最大化按钮的窗口");
  HWND first = CreateTestWindow("Corvane 1.2 皮肤", WS_OVERLAPPEDWINDOW, 40, 60, 380, 220);
  AddLabel(first, "Corvane 的皮肤：圆角、标题和按钮");
  SetForegroundWindow(first);
}

void ShowMdiWindow() {
  HWND client = nullptr;
  CreateMdiTestWindow("Corvane MDI 皮肤", 40, 40, 560, 380, &client);
  AddLabel(CreateMdiTestChild(client, "子窗口一", 12, 12, 260, 170), "MDI 子窗口");
  AddLabel(CreateMdiTestChild(client, "子窗口二", 200, 120, 280, 180), "活动的子窗口");
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int) {
  TSkinData skin;
  if (!LoadGallerySkin(skin, "skin_gallery")) return 2;
  TSkinManage::Create().SkinLoaded(&skin);

  if (std::strstr(cmd, "mdi")) {
    ShowMdiWindow();
  } else {
    ShowTwoWindows();
  }

  const int seconds = std::atoi(cmd);
  SetTimer(nullptr, 0, static_cast<UINT>((seconds > 0 ? seconds : 120) * 1000), &Quit);
  SetTimer(nullptr, 0, 200, &QuitWhenNoneLeft);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  TSkinManage::Destroy();
  const OwnerCounts left = LiveOwners();
  return left == OwnerCounts{} ? 0 : 3;
}
