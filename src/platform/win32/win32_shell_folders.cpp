#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <map>

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

bool IsLinkFile(const ShellItem& item) {
  return !item.is_folder && text::SameText(text::ExtractFileExt(item.path), kLinkExt);
}

std::string ShellDisplayName(const std::string& path) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME)) return {};
  return info.szDisplayName;
}

// The shell shows a file by its name, with or without the extension as the
// extension's class says; asking it costs a walk through the whole path, so
// a listing asks once an extension. Folders, and the entries of a folder
// whose Desktop.ini gives them names of their own, are asked about each.
class DisplayNames {
 public:
  explicit DisplayNames(const std::string& base) {
    char section[8];
    per_entry_ = GetPrivateProfileSectionA("LocalizedFileNames", section, sizeof section,
                                           (base + "desktop.ini").c_str()) > 0;
  }
  std::string Of(const std::string& path, bool is_folder) {
    if (is_folder || per_entry_) return ShellDisplayName(path);
    std::string file = text::ExtractFileName(path);
    std::string ext = text::ExtractFileExt(file);
    if (ext.empty() || ext.size() == file.size()) return ShellDisplayName(path);
    std::string stem = file.substr(0, file.size() - ext.size());
    auto known = shows_.find(text::UpperCase(ext));
    if (known != shows_.end()) {
      if (known->second == Shows::kAsk) return ShellDisplayName(path);
      return known->second == Shows::kName ? file : stem;
    }
    std::string name = ShellDisplayName(path);
    Shows rule = name == file ? Shows::kName : name == stem ? Shows::kStem : Shows::kAsk;
    shows_[text::UpperCase(ext)] = rule;
    return name;
  }

 private:
  enum class Shows { kName, kStem, kAsk };
  bool per_entry_ = false;
  std::map<std::string, Shows> shows_;  // by upper-cased extension
};

// The entry with its display name; its icon is left until asked for.
ShellItem NamedItem(const std::string& path, DWORD attributes, DisplayNames& names) {
  ShellItem item;
  item.path = path;
  item.is_folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  item.icon = ShellItem::kIconNotYet;
  std::string file = text::ExtractFileName(path);
  item.display_name = names.Of(path, item.is_folder);
  if (item.display_name.empty()) item.display_name = file;
  // A shortcut never shows its extension, whatever the system's classes say.
  if (IsLinkFile(item) && text::SameText(item.display_name, file))
    item.display_name = file.substr(0, file.size() - 4);
  return item;
}

std::optional<ShellItem> ItemAt(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  DisplayNames names(text::ExtractFilePath(path));
  return NamedItem(path, a, names);
}

}  // namespace

std::vector<ShellItem> Win32ShellFolders::Items(const std::string& folder) {
  std::vector<ShellItem> out;
  std::string base = text::IncludeTrailingBackslash(folder);
  WIN32_FIND_DATAA fd;
  FindHandle find(FindFirstFileA((base + "*.*").c_str(), &fd));
  if (!find) return out;
  DisplayNames names(base);
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == ".." || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    out.push_back(NamedItem(base + name, fd.dwFileAttributes, names));
  } while (FindNextFileA(find.get(), &fd));
  return out;
}

int Win32ShellFolders::Icon(const ShellItem& item) {
  int icon = SmallIconOf(item.path);
  if (!IsLinkFile(item)) return icon;
  if (document_icon_ == ShellItem::kIconNotYet) document_icon_ = DocumentIcon();
  if (icon == document_icon_) {
    int own = LinkIcon(item.path);
    if (own >= 0) icon = own;
  }
  return icon;
}

int Win32ShellFolders::CompareNames(const ShellItem& a, const ShellItem& b) {
  // The shell's own order; it has no ANSI form.
  return StrCmpLogicalW(Wide(a.display_name).c_str(), Wide(b.display_name).c_str());
}

void Win32ShellFolders::SortByName(std::vector<ShellItem>::iterator first,
                                   std::vector<ShellItem>::iterator last) {
  std::vector<std::pair<std::wstring, ShellItem>> keyed;
  keyed.reserve(static_cast<std::size_t>(last - first));
  for (auto it = first; it != last; ++it) keyed.emplace_back(Wide(it->display_name), std::move(*it));
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return StrCmpLogicalW(a.first.c_str(), b.first.c_str()) < 0;
  });
  for (auto& k : keyed) *first++ = std::move(k.second);
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
  return ItemAt(target);
}

bool Win32IconFiles::Loads(const std::string& path) {
  HANDLE icon = LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE);
  if (!icon) return false;
  DestroyIcon(static_cast<HICON>(icon));
  return true;
}

}  // namespace corvane
