#include <windows.h>

#include <objbase.h>

#include "platform/win32/win32_services.h"
#include "platform/win32/win32_shell.h"
#include "platform_under_test.h"

namespace corvane::behaviour {
namespace {

void RemoveTree(FileSystem& fs, const std::string& folder) {
  for (const FileEntry& e : fs.List(folder, "*.*")) {
    if (e.IsDotEntry()) continue;
    std::string path = folder + "\\" + e.name;
    fs.SetAttributes(path, e.IsFolder() ? attr::kDirectory : attr::kNormal);
    if (e.IsFolder()) RemoveTree(fs, path);
    else fs.Delete(path);
  }
  fs.SetAttributes(folder, attr::kDirectory);
  fs.RemoveFolder(folder);
}

void RemoveKeyTree(RegistryBackend& r, RegHandle root, const std::string& path) {
  RegHandle h = 0;
  if (r.OpenKey(root, path, reg::kKeyAllAccess, &h) != reg::kSuccess) return;
  std::vector<std::string> names;
  r.EnumSubKeys(h, &names);
  r.CloseKey(h);
  for (const std::string& n : names) RemoveKeyTree(r, root, path + "\\" + n);
  r.DeleteKey(root, path);
}

class Win32Platform : public PlatformUnderTest {
 public:
  // The shell link object needs COM on this thread, as the program has it.
  Win32Platform() : com_ok_(SUCCEEDED(CoInitialize(nullptr))) {
    static int serial = 0;
    std::string tag = std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    char tmp[MAX_PATH + 1];
    GetTempPathA(sizeof tmp, tmp);
    dir_ = std::string(tmp) + "corvane_bt_" + tag;
    fs_.ForceFolders(dir_);
    key_ = "Software\\CorvaneBehaviour\\" + tag;
    previous_dir_ = fs_.CurrentDirectory();
  }
  ~Win32Platform() override {
    if (window_) DestroyWindow(window_);
    fs_.ChangeDirectory(previous_dir_);
    RemoveTree(fs_, dir_);
    RemoveKeyTree(registry_, reg::kCurrentUser, key_);
    if (com_ok_) CoUninitialize();
  }
  FileSystem& fs() override { return fs_; }
  ProfileStore& profile() override { return profile_; }
  RegistryBackend& registry() override { return registry_; }
  NotifyIconService& notify_icons() override { return icons_; }
  PowerServices& power() override { return power_; }
  ShellFolders& shell_folders() override { return shell_folders_; }
  IconFiles& icon_files() override { return icon_files_; }
  ShellLinks& shell_links() override { return shell_links_; }
  std::uintptr_t window() override {
    if (!window_)
      window_ = CreateWindowExA(0, "STATIC", "CorvaneBehaviour", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    return reinterpret_cast<std::uintptr_t>(window_);
  }
  std::string scratch() override { return dir_; }
  std::string scratch_key() override { return key_; }
  bool under_wine() const override {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }

 private:
  Win32FileSystem fs_;
  Win32ProfileStore profile_;
  Win32Registry registry_;
  Win32NotifyIcons icons_;
  Win32Power power_;
  Win32ShellFolders shell_folders_;
  Win32IconFiles icon_files_;
  Win32ShellLinks shell_links_;
  bool com_ok_;
  HWND window_ = nullptr;
  std::string dir_, key_, previous_dir_;
};

}  // namespace

std::unique_ptr<PlatformUnderTest> MakePlatformUnderTest() {
  return std::make_unique<Win32Platform>();
}

}  // namespace corvane::behaviour
