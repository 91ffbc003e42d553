#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "core/text.h"
#include "platform/win32/win32_com.h"
#include "platform/win32/win32_shell.h"

namespace corvane {
namespace {

constexpr char kLinkExt[] = ".lnk";

int SmallIconOf(const std::string& path) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
    return -1;
  return info.iIcon;
}

// The icon a plain document without a program of its own gets.
int DocumentIcon() {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA("x", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                      SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
    return -1;
  return info.iIcon;
}

// Where the shell gives a shortcut only the document icon (some shells do
// not look inside links), the icon of what the link names.
int LinkIcon(const std::string& link) {
  ComPtr<IShellLinkA> shell_link = CreateComObject<IShellLinkA>(CLSID_ShellLink, IID_IShellLinkA);
  ComPtr<IPersistFile> file = QueryComInterface<IPersistFile>(shell_link.get(), IID_IPersistFile);
  // The file interface takes wide names only.
  if (!file || FAILED(file.get()->Load(Wide(link).c_str(), STGM_READ))) return -1;
  char location[MAX_PATH] = {};
  int index = 0;
  if (SUCCEEDED(shell_link.get()->GetIconLocation(location, MAX_PATH, &index)) && location[0])
    return SmallIconOf(location);
  if (SUCCEEDED(shell_link.get()->GetPath(location, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
      location[0])
    return SmallIconOf(location);
  return -1;
}

std::optional<ShellItem> ItemAt(const std::string& path, int document_icon) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  SHFILEINFOA info{};
  ShellItem item;
  item.path = path;
  item.is_folder = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
  std::string file = text::ExtractFileName(path);
  if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof info,
                     SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
    item.display_name = info.szDisplayName;
    item.icon = info.iIcon;
  }
  if (item.display_name.empty()) item.display_name = file;
  // A shortcut never shows its extension, whatever the system's classes say.
  bool link = !item.is_folder && text::SameText(text::ExtractFileExt(file), kLinkExt);
  if (link && text::SameText(item.display_name, file))
    item.display_name = file.substr(0, file.size() - 4);
  if (link && item.icon == document_icon) {
    int own = LinkIcon(path);
    if (own >= 0) item.icon = own;
  }
  return item;
}

}  // namespace

std::vector<ShellItem> Win32ShellFolders::Items(const std::string& folder) {
  std::vector<ShellItem> out;
  std::string base = text::IncludeTrailingBackslash(folder);
  WIN32_FIND_DATAA fd;
  FindHandle find(FindFirstFileA((base + "*.*").c_str(), &fd));
  if (!find) return out;
  int document_icon = DocumentIcon();
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == ".." || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    if (auto item = ItemAt(base + name, document_icon)) out.push_back(std::move(*item));
  } while (FindNextFileA(find.get(), &fd));
  return out;
}

int Win32ShellFolders::CompareNames(const ShellItem& a, const ShellItem& b) {
  // The shell's own order; it has no ANSI form.
  return StrCmpLogicalW(Wide(a.display_name).c_str(), Wide(b.display_name).c_str());
}

std::optional<ShellItem> Win32ShellFolders::Rename(const ShellItem& item,
                                                   const std::string& new_name) {
  std::string folder = text::ExtractFilePath(item.path);
  std::string old_file = text::ExtractFileName(item.path);
  // The extension the display name hides stays on the file.
  std::string ext = text::ExtractFileExt(old_file);
  bool hidden_ext = !item.is_folder && !ext.empty() && item.display_name != old_file &&
                    !text::SameText(text::ExtractFileExt(item.display_name), ext);
  std::string target = folder + new_name + (hidden_ext ? ext : "");
  if (text::ContainsText(new_name, "\\") || text::ContainsText(new_name, "/")) return std::nullopt;
  // Double-NUL-terminated lists, as the shell's file operation takes them.
  std::string from = item.path + '\0' + '\0';
  std::string to = target + '\0' + '\0';
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_RENAME;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  op.fFlags = FOF_ALLOWUNDO;
  if (SHFileOperationA(&op) != 0 || op.fAnyOperationsAborted) return std::nullopt;
  return ItemAt(target, DocumentIcon());
}

bool Win32IconFiles::Loads(const std::string& path) {
  HANDLE icon = LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE);
  if (!icon) return false;
  DestroyIcon(static_cast<HICON>(icon));
  return true;
}

}  // namespace corvane
