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

bool FileSystem::AppendFile(const std::string& path, const std::string& data) {
  std::optional<std::string> old = FileExists(path) ? ReadFile(path) : std::string();
  return old && WriteFile(path, *old + data);
}

MoveOutcome FileSystem::MoveByCopy(const std::string& from, const std::string& to) {
  return MoveByCopyOn(*this, from, to);
}

MoveOutcome MoveByCopyOn(FileSystem& fs, const std::string& from, const std::string& to,
                         const std::optional<std::string>& source) {
  // Most names are free: the copy that refuses an existing target is the
  // only look at the target they cost.
  if (!fs.CopyNew(from, to))
    return fs.Exists(to) ? MoveOutcome::kTargetTaken : MoveOutcome::kNotCopied;
  std::optional<std::string> original = source ? source : fs.ReadFile(from);
  std::optional<std::string> copy = fs.ReadFile(to);
  if (!original || !copy || *original != *copy) return MoveOutcome::kCopyDiffers;
  return fs.Delete(from) ? MoveOutcome::kMoved : MoveOutcome::kNotDeleted;
}

namespace {

class AppendEachTime : public FileAppender {
 public:
  AppendEachTime(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  bool Append(const std::string& data) override { return fs_.AppendFile(path_, data); }

 private:
  FileSystem& fs_;
  std::string path_;
};

}  // namespace

std::unique_ptr<FileAppender> FileSystem::OpenAppender(const std::string& path) {
  return std::make_unique<AppendEachTime>(*this, path);
}

std::string FreeName(FileSystem& fs, const std::string& folder, const std::string& name) {
  std::string base = text::IncludeTrailingBackslash(folder);
  if (!fs.Exists(base + name)) return name;
  std::string ext = text::ExtractFileExt(name);
  // A name that is all extension (".lnk") keeps it as its stem.
  if (ext.size() == name.size()) ext.clear();
  std::string stem = name.substr(0, name.size() - ext.size());
  for (int i = 2;; ++i) {
    std::string candidate = stem + " (" + std::to_string(i) + ")" + ext;
    if (!fs.Exists(base + candidate)) return candidate;
  }
}

ScopedCurrentDirectory::ScopedCurrentDirectory(FileSystem& fs, const std::string& folder)
    : fs_(fs), previous_(fs.CurrentDirectory()), entered_(fs.ChangeDirectory(folder)) {}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  if (entered_) fs_.ChangeDirectory(previous_);
}

}  // namespace corvane
