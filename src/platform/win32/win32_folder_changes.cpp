#include "platform/win32/win32_folder_changes.h"

#include <windows.h>

namespace corvane {

bool Win32FolderChanges::Watch(const std::string& folder) {
  // Entries added, removed or renamed, and changes to them one level down.
  ChangeHandle h(FindFirstChangeNotificationA(
      folder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
          FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
          FILE_NOTIFY_CHANGE_LAST_WRITE));
  if (!h) return false;
  handles_[folder] = std::move(h);
  return true;
}

bool Win32FolderChanges::ChangedSince(const std::string& folder) {
  auto it = handles_.find(folder);
  if (it == handles_.end()) return true;
  DWORD state = WaitForSingleObject(it->second.get(), 0);
  if (state == WAIT_TIMEOUT) return false;
  // Signalled (or failed): re-arm; a handle that cannot be re-armed goes,
  // and the folder is listed every time until it can be watched again.
  if (state != WAIT_OBJECT_0 || !FindNextChangeNotification(it->second.get())) handles_.erase(it);
  return true;
}

}  // namespace corvane
