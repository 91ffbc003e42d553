// The shell's view of folders over any FileSystem, for tests: hidden
// entries are left out, shortcuts show without ".lnk", names sort without
// case.
#pragma once
#include "core/filesystem.h"
#include "core/shell_folders.h"

namespace corvane {

class MemoryShellFolders : public ShellFolders {
 public:
  // The indices the fake's system image list gives folders and files.
  static constexpr int kFolderIcon = 3;
  static constexpr int kFileIcon = 1;

  explicit MemoryShellFolders(FileSystem& fs) : fs_(fs) {}
  std::vector<ShellItem> Items(const std::string& folder) override;
  int Icon(const ShellItem& item) override;
  int CompareNames(const ShellItem& a, const ShellItem& b) override;
  std::optional<ShellItem> Rename(const ShellItem& item, const std::string& new_name) override;

  // Folders listed so far, in order.
  std::vector<std::string> listed;
  // Paths whose icon was asked for, in order.
  std::vector<std::string> icons_asked;

 private:
  FileSystem& fs_;
};

// An icon file loads when it is there and looks like one.
class MemoryIconFiles : public IconFiles {
 public:
  explicit MemoryIconFiles(FileSystem& fs) : fs_(fs) {}
  bool Loads(const std::string& path) override;

 private:
  FileSystem& fs_;
};

}  // namespace corvane
