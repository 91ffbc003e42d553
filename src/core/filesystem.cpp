#include "core/filesystem.h"

#include "core/text.h"

namespace corvane {

bool FileSystem::FileExists(const std::string& path) {
  auto a = Attributes(path);
  return a && !(*a & attr::kDirectory);
}

bool FileSystem::FolderExists(const std::string& path) {
  auto a = Attributes(path);
  return a && (*a & attr::kDirectory);
}

bool FileSystem::ForceFolders(const std::string& path) {
  std::string folder = text::ExcludeTrailingBackslash(path);
  if (folder.empty()) return false;
  if (FolderExists(folder)) return true;
  std::string parent = text::ExcludeTrailingBackslash(text::ExtractFilePath(folder));
  // A drive root ("C:") or a bare name has no parent to make.
  if (!parent.empty() && parent != folder && parent.back() != ':' && !ForceFolders(parent))
    return false;
  return CreateFolder(folder) || FolderExists(folder);
}

ScopedCurrentDirectory::ScopedCurrentDirectory(FileSystem& fs, const std::string& folder)
    : fs_(fs), previous_(fs.CurrentDirectory()), entered_(fs.ChangeDirectory(folder)) {}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  if (entered_) fs_.ChangeDirectory(previous_);
}

}  // namespace corvane
