// The skin engine's Wine tests that need a manager: Corvane's skin, a
// manager made for each test, and at the end every window gone and nothing
// the engine made left behind.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/win32/skin_manage.h"
#include "skin_test_window.h"

namespace corvane::ui {
class Application;
}

namespace corvane::skin::win32 {

// Corvane's skin from the test program's resources, loaded once.
inline TSkinData& ProgramSkin() {
  static TSkinData skin;
  static bool loaded = LoadSkinResource(skin);
  (void)loaded;
  return skin;
}

// Someone else's subclassing made over ours: it passes everything on.
inline LRESULT CALLBACK SubclassedOver(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto own = reinterpret_cast<WNDPROC>(GetPropA(h, "OverOwn"));
  if (msg == WM_NCDESTROY) RemovePropA(h, "OverOwn");
  return CallWindowProcA(own, h, msg, wp, lp);
}
inline void SubclassOver(HWND h) {
  SetPropA(h, "OverOwn", reinterpret_cast<HANDLE>(GetWindowLongPtrA(h, GWLP_WNDPROC)));
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedOver));
}

class SkinnedWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Used().NotLoaded()) GTEST_SKIP() << "the test program carries no skin (scripts/build_skin.sh)";
    ASSERT_EQ(LiveOwners(), OwnerCounts{});
    Used().Active = true;
    manager = &TSkinManage::Create(App());
    manager->SkinLoaded(&Used());
    ASSERT_TRUE(manager->Hooked());
    ASSERT_TRUE(manager->Active());
  }
  // The manager's application (its forms are attached as forms) and skin.
  virtual ui::Application* App() { return nullptr; }
  virtual TSkinData& Used() { return ProgramSkin(); }
  void TearDown() override {
    for (HWND h : windows)
      if (IsWindow(h)) DestroyWindow(h);
    TSkinManage::Destroy();
    PumpFor(50);
    EXPECT_EQ(LiveOwners(), OwnerCounts{}) << "the engine left something behind";
    EXPECT_EQ(SkinRegistry::Count(), 0u) << "a window stayed in the table";
  }
  // A shown test window, attached and through its first sizing.
  HWND Open(const std::string& title, HMENU menu = nullptr, DWORD style = WS_OVERLAPPEDWINDOW) {
    HWND h = CreateTestWindow(title, style, 60, 60, 300, 200, menu);
    windows.push_back(h);
    EXPECT_TRUE(PumpUntil([&] { return Running(h); })) << "the window was not attached";
    PumpFor(50);
    return h;
  }
  bool Running(HWND h) const {
    TWinSkinForm* f = manager->FindForm(h);
    return f && f->State() == kSkinRunning;
  }

  TSkinManage* manager = nullptr;
  std::vector<HWND> windows;
};

}  // namespace corvane::skin::win32
