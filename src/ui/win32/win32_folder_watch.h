// The program's one second thread: it waits for the system's change
// notification on a folder and hands each change to the user-interface
// thread as a message, which calls the watch's callback there.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/win32/win32_handle.h"
#include "ui/win32/win32_backend.h"

namespace corvane::ui::win32 {

class Win32FolderWatch : public FolderWatch, public Win32Backend::WatchTarget {
 public:
  // Null when the folder cannot be watched (it is missing, say).
  static std::unique_ptr<Win32FolderWatch> Start(Win32Backend& backend, const std::string& folder,
                                                 std::function<void()> changed);
  // Stops the thread and waits for it.
  ~Win32FolderWatch() override;
  void Deliver() override;

 private:
  Win32FolderWatch(Win32Backend& backend, ChangeHandle change, std::function<void()> changed);
  static DWORD WINAPI Run(LPVOID self);

  Win32Backend& backend_;
  UINT_PTR id_;
  HWND target_;
  ChangeHandle change_;
  KernelHandle stop_;
  KernelHandle thread_;
  // One message in flight at most: set by the thread when it posts, cleared
  // here before the callback runs.
  volatile LONG pending_ = 0;
  std::function<void()> changed_;
};

}  // namespace corvane::ui::win32
