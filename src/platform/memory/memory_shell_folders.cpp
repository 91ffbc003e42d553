#include "platform/memory/memory_shell_folders.h"

#include "core/text.h"

namespace corvane {
namespace {

constexpr char kLinkExt[] = ".lnk";

bool IsLink(const FileEntry& e) {
  return !e.IsFolder() && text::SameText(text::ExtractFileExt(e.name), kLinkExt);
}

ShellItem ItemOf(const std::string& folder, const FileEntry& e) {
  ShellItem item;
  item.path = text::IncludeTrailingBackslash(folder) + e.name;
  item.is_folder = e.IsFolder();
  item.display_name = IsLink(e) ? e.name.substr(0, e.name.size() - 4) : e.name;
  item.icon = ShellItem::kIconNotYet;
  return item;
}

// What the shell refuses in a name.
bool ValidName(const std::string& name) {
  if (text::Trim(name).empty()) return false;
  for (std::size_t i = 0; i < name.size(); i += text::CharLength(name, i)) {
    if (text::CharLength(name, i) != 1) continue;
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
      return false;
  }
  return true;
}

}  // namespace

std::vector<ShellItem> MemoryShellFolders::Items(const std::string& folder) {
  listed.push_back(folder);
  std::vector<ShellItem> out;
  for (const FileEntry& e : fs_.List(folder, "*.*")) {
    if (e.IsDotEntry() || (e.attributes & attr::kHidden)) continue;
    out.push_back(ItemOf(folder, e));
  }
  return out;
}

int MemoryShellFolders::Icon(const ShellItem& item) {
  icons_asked.push_back(item.path);
  return item.is_folder ? kFolderIcon : kFileIcon;
}

int MemoryShellFolders::CompareNames(const ShellItem& a, const ShellItem& b) {
  return text::CompareText(a.display_name, b.display_name);
}

std::optional<ShellItem> MemoryShellFolders::Rename(const ShellItem& item,
                                                    const std::string& new_name) {
  if (!ValidName(new_name)) return std::nullopt;
  std::string folder = text::ExtractFilePath(item.path);
  std::string old_file = text::ExtractFileName(item.path);
  bool link = !item.is_folder && text::SameText(text::ExtractFileExt(old_file), kLinkExt) &&
              item.display_name != old_file;
  std::string new_file = new_name + (link ? old_file.substr(old_file.size() - 4) : "");
  if (!fs_.Rename(item.path, folder + new_file)) return std::nullopt;
  auto a = fs_.Attributes(folder + new_file);
  if (!a) return std::nullopt;
  return ItemOf(text::ExcludeTrailingBackslash(folder), FileEntry{new_file, *a});
}

bool MemoryIconFiles::Loads(const std::string& path) {
  auto data = fs_.ReadFile(path);
  return data && LooksLikeIconFile(*data);
}

}  // namespace corvane
