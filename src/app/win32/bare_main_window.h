// A plain main window until the control library draws the real one.
#pragma once
#include <windows.h>

#include <string>

namespace corvane {

class BareMainWindow {
 public:
  BareMainWindow() = default;
  ~BareMainWindow() { Destroy(); }
  BareMainWindow(const BareMainWindow&) = delete;
  BareMainWindow& operator=(const BareMainWindow&) = delete;

  void Create(HINSTANCE instance, const std::string& application_title);
  void Show();
  void Destroy();

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace corvane
