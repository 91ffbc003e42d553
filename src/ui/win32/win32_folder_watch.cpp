#include "ui/win32/win32_folder_watch.h"

namespace corvane::ui::win32 {

std::unique_ptr<Win32FolderWatch> Win32FolderWatch::Start(Win32Backend& backend,
                                                          const std::string& folder,
                                                          std::function<void()> changed) {
  ChangeHandle change(FindFirstChangeNotificationA(
      folder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
          FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_LAST_WRITE));
  if (!change) return nullptr;
  std::unique_ptr<Win32FolderWatch> watch(
      new Win32FolderWatch(backend, std::move(change), std::move(changed)));
  if (!watch->stop_) return nullptr;
  watch->thread_.reset(CreateThread(nullptr, 0, &Win32FolderWatch::Run, watch.get(), 0, nullptr));
  if (!watch->thread_) return nullptr;
  return watch;
}

Win32FolderWatch::Win32FolderWatch(Win32Backend& backend, ChangeHandle change,
                                   std::function<void()> changed)
    : backend_(backend),
      id_(backend.NextId()),
      target_(reinterpret_cast<HWND>(backend.OwnerWindow())),
      change_(std::move(change)),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      changed_(std::move(changed)) {
  backend_.AddWatch(id_, this);
}

Win32FolderWatch::~Win32FolderWatch() {
  backend_.RemoveWatch(id_);  // a message still queued finds no one
  if (thread_) {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }
}

DWORD WINAPI Win32FolderWatch::Run(LPVOID param) {
  auto* self = static_cast<Win32FolderWatch*>(param);
  HANDLE waits[2] = {self->stop_.get(), self->change_.get()};
  for (;;) {
    DWORD r = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (r != WAIT_OBJECT_0 + 1) break;
    if (InterlockedExchange(&self->pending_, 1) == 0)
      PostMessageA(self->target_, Win32Backend::kFolderChanged, self->id_, 0);
    if (!FindNextChangeNotification(self->change_.get())) break;
  }
  return 0;
}

void Win32FolderWatch::Deliver() {
  InterlockedExchange(&pending_, 0);
  if (changed_) changed_();
}

}  // namespace corvane::ui::win32
