// What the program list and the category icons need of the shell: a
// folder's entries as the shell shows them, the shell's name order, renaming
// in place, and whether an icon file loads.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct ShellItem {
  // Not looked up yet: finding an icon (a shortcut's is its target's) costs
  // far more than the name, so a listing leaves it until it is shown.
  static constexpr int kIconNotYet = -2;
  std::string display_name;  // as the shell shows it in its folder
  std::string path;          // full file-system path
  bool is_folder = false;
  int icon = -1;  // index in the system's small image list; -1 for none
};

class ShellFolders {
 public:
  virtual ~ShellFolders() = default;
  // The entries the shell shows in folder (hidden ones left out), in no
  // particular order, their icons possibly kIconNotYet; empty when the
  // folder cannot be listed.
  virtual std::vector<ShellItem> Items(const std::string& folder) = 0;
  // The entry's icon in the system's small image list, or -1.
  virtual int Icon(const ShellItem& item) = 0;
  // The shell's name order of two entries of one folder: <0, 0 or >0.
  virtual int CompareNames(const ShellItem& a, const ShellItem& b) = 0;
  // Puts entries into that order, keeping the order of equal ones. A shell
  // that has to convert names to compare them does so once an entry.
  virtual void SortByName(std::vector<ShellItem>::iterator first,
                          std::vector<ShellItem>::iterator last);
  // Gives an entry a new display name as the shell does (a shortcut keeps
  // its hidden ".lnk"); the entry as it is afterwards, or nothing when the
  // shell refused.
  virtual std::optional<ShellItem> Rename(const ShellItem& item, const std::string& new_name) = 0;
};

class IconFiles {
 public:
  virtual ~IconFiles() = default;
  // Whether the file loads as a small (16 x 16) icon.
  virtual bool Loads(const std::string& path) = 0;
};

// Whether bytes start like an icon file with at least one image whose data
// lies inside the file.
bool LooksLikeIconFile(std::string_view bytes);

}  // namespace corvane
