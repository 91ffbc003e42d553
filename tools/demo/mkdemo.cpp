// Lays out a Chinese XP Start menu in the demo prefix: the common Programs
// folder with a few real shortcuts and folders, and some loose entries in the
// user's own Start menu for the program to tidy up.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/win32_services.h"

namespace {

std::string Root() {
  char buf[MAX_PATH];
  GetWindowsDirectoryA(buf, MAX_PATH);
  return std::string(buf, 3);
}

void Folders(const std::string& path) {
  corvane::Win32FileSystem fs;
  fs.ForceFolders(path);
}

bool Shortcut(const std::string& folder, const std::string& name, const std::string& target) {
  Folders(folder);
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return false;
  link->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  bool ok = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::string path = folder + "\\" + name + ".lnk";
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    ok = SUCCEEDED(file->Save(wide, TRUE));
    file->Release();
  }
  link->Release();
  return ok;
}

}  // namespace

int main() {
  if (FAILED(CoInitialize(nullptr))) return 1;
  char user[256];
  DWORD size = sizeof user;
  GetUserNameA(user, &size);
  std::string root = Root();
  std::string sys = root + "windows\\system32\\";
  std::string common = root + "Documents and Settings\\All Users\\「开始」菜单";
  std::string programs = common + "\\程序";
  std::string mine = root + "Documents and Settings\\" + user + "\\「开始」菜单";

  bool ok = Shortcut(programs + "\\附件", "记事本", sys + "notepad.exe") &&
            Shortcut(programs + "\\附件", "命令提示符", sys + "cmd.exe") &&
            Shortcut(programs + "\\附件\\系统工具", "注册表编辑器", root + "windows\\regedit.exe") &&
            Shortcut(programs + "\\游戏", "扫雷", sys + "winemine.exe") &&
            Shortcut(programs, "Windows 资源管理器", root + "windows\\explorer.exe") &&
            Shortcut(programs, "帮助", root + "windows\\winhlp32.exe") &&
            Shortcut(common, "写字板", sys + "wordpad.exe") &&
            Shortcut(mine, "记事本", sys + "notepad.exe") &&
            Shortcut(mine + "\\程序\\新软件", "新软件", sys + "winver.exe");
  Folders(mine + "\\程序\\启动");
  CoUninitialize();
  return ok ? 0 : 1;
}
