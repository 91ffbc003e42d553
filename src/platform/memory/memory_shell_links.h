// Shortcuts kept as small files of the memory file system, so a test sees
// them where the real ones would lie.
#pragma once
#include "core/filesystem.h"
#include "core/shell_links.h"

namespace corvane {

class MemoryShellLinks : public ShellLinks {
 public:
  explicit MemoryShellLinks(FileSystem& fs) : fs_(fs) {}
  bool Save(const std::string& file, const ShellLinkFields& fields) override;
  std::optional<ShellLinkFields> Load(const std::string& file) override;

 private:
  FileSystem& fs_;
};

}  // namespace corvane
