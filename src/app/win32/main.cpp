// Program entry: the real services and the window layer behind RunProgram.
#include <windows.h>
#include <objbase.h>

#include "app/entry.h"
#include "app/win32/bare_main_window.h"
#include "platform/win32/win32_services.h"

namespace corvane {
namespace {

class Win32ProgramHost : public ProgramHost {
 public:
  explicit Win32ProgramHost(HINSTANCE instance) : instance_(instance) {}
  void InitializeFramework() override { com_ok_ = SUCCEEDED(OleInitialize(nullptr)); }
  void SetTitle(const std::string& title) override { title_ = title; }
  void CreateMainWindow() override { window_.Create(instance_, title_); }
  void RunMessageLoop() override {
    window_.Show();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  void ShutdownFramework() override {
    window_.Destroy();
    if (com_ok_) OleUninitialize();
  }

 private:
  HINSTANCE instance_;
  std::string title_;
  BareMainWindow window_;
  bool com_ok_ = false;
};

}  // namespace
}  // namespace corvane

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  corvane::UseSystemLeadByteRule();
  corvane::Win32System system;
  corvane::Win32UserInteraction user;
  corvane::Win32ProgramHost host(instance);
  return corvane::RunProgram(system, user, host);
}
