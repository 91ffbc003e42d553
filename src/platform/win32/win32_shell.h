// The real notification area, restart calls and shell folders.
#pragma once
#include "core/notify_icon.h"
#include "core/power.h"
#include "core/shell_folders.h"
#include "core/shell_links.h"

namespace corvane {

class Win32NotifyIcons : public NotifyIconService {
 public:
  bool Notify(std::uint32_t message, const NotifyIconRecord& record) override;
};

class Win32Power : public PowerServices {
 public:
  std::unique_ptr<ProcessToken> OpenProcessToken(std::uint32_t access) override;
  std::optional<std::uint32_t> PlatformId() override;
  std::optional<Luid> LookupPrivilege(const std::string& name) override;
  void EndSession(std::uint32_t flags, std::uint32_t reason) override;
};

// The shell's view of a folder through SHGetFileInfoA: the display name the
// user's settings give, the icon in the system image list.
class Win32ShellFolders : public ShellFolders {
 public:
  std::vector<ShellItem> Items(const std::string& folder) override;
  int Icon(const ShellItem& item) override;
  int CompareNames(const ShellItem& a, const ShellItem& b) override;
  void SortByName(std::vector<ShellItem>::iterator first,
                  std::vector<ShellItem>::iterator last) override;
  std::optional<ShellItem> Rename(const ShellItem& item, const std::string& new_name) override;

 private:
  int document_icon_ = ShellItem::kIconNotYet;
};

class Win32IconFiles : public IconFiles {
 public:
  bool Loads(const std::string& path) override;
};

// Shortcuts through the shell link object (IShellLinkA, IPersistFile).
class Win32ShellLinks : public ShellLinks {
 public:
  bool Save(const std::string& file, const ShellLinkFields& fields) override;
  std::optional<ShellLinkFields> Load(const std::string& file) override;
};

}  // namespace corvane
