// The file-system service the folder routines and the first run stand on.
// Paths are ANSI text with '\' separators, absolute ("C:\...") or relative
// to the current directory.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
// A junction or link: whatever it points at lies outside the folder walked.
inline constexpr std::uint32_t kReparsePoint = 0x400;
}  // namespace attr

struct FileEntry {
  std::string name;
  std::uint32_t attributes = 0;
  bool IsFolder() const { return (attributes & attr::kDirectory) != 0; }
  // Asked of every entry a count walks past, so no string compare.
  bool IsDotEntry() const {
    return !name.empty() && name.size() <= 2 && name[0] == '.' && name.back() == '.';
  }
};

// A file kept open for appending: each Append is on the disk when it returns.
class FileAppender {
 public:
  virtual ~FileAppender() = default;
  virtual bool Append(const std::string& data) = 0;
};

// How a move by copy ended.
enum class MoveOutcome {
  kMoved,
  kTargetTaken,  // something is at the target already; nothing changed
  kNotCopied,    // the copy failed; nothing changed
  kCopyDiffers,  // the copy did not come out as the source; the source stays
  kNotDeleted,   // copied and checked, but the source could not be deleted
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Every entry of folder matching pattern ("*.*", "*.ico"), "." and ".."
  // included; empty when the folder cannot be enumerated.
  virtual std::vector<FileEntry> List(const std::string& folder, const std::string& pattern) = 0;
  // Creates or replaces to; refuses a read-only or hidden target.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
  // Creates to; fails when anything is there already. Where the system can,
  // in one call: a name looked up before copying costs a second lookup, and
  // a lookup that finds nothing is the dear one in a big folder.
  virtual bool CopyNew(const std::string& from, const std::string& to) {
    return !Exists(to) && Copy(from, to);
  }
  // Moves a file onto a free name: copies it, reads the copy back against
  // the source and deletes the source only when they match, so that at no
  // moment are its bytes in neither place.
  virtual MoveOutcome MoveByCopy(const std::string& from, const std::string& to);
  // Refuses a read-only file.
  virtual bool Delete(const std::string& path) = 0;
  // Only an empty folder is removed.
  virtual bool RemoveFolder(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
  // Replaces the attribute set.
  virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual std::string CurrentDirectory() = 0;
  virtual bool ChangeDirectory(const std::string& path) = 0;
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  virtual bool WriteFile(const std::string& path, const std::string& data) = 0;

  // Built on the calls above.
  bool Exists(const std::string& path) { return Attributes(path).has_value(); }
  bool FileExists(const std::string& path);
  bool FolderExists(const std::string& path);
  // Creates the folder and any missing parents; true when it exists afterwards.
  bool ForceFolders(const std::string& path);
  // Adds data at the end of the file (made when missing) and flushes it to
  // the disk before returning: a record written this way survives a crash.
  virtual bool AppendFile(const std::string& path, const std::string& data);
  // The same for a run of appends, the file opened once; nothing when it
  // cannot be opened.
  virtual std::unique_ptr<FileAppender> OpenAppender(const std::string& path);
};

// The steps of FileSystem::MoveByCopy on fs; source, when given, is what the
// caller already read from `from`, so the check reads only the copy.
MoveOutcome MoveByCopyOn(FileSystem& fs, const std::string& from, const std::string& to,
                         const std::optional<std::string>& source = std::nullopt);

// name, or "name (2).ext", "name (3).ext", ... : the first that names nothing
// in folder.
std::string FreeName(FileSystem& fs, const std::string& folder, const std::string& name);

// Makes a folder the current directory for a scope and restores the previous
// one when the scope ends.
class ScopedCurrentDirectory {
 public:
  ScopedCurrentDirectory(FileSystem& fs, const std::string& folder);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;
  bool entered() const { return entered_; }

 private:
  FileSystem& fs_;
  std::string previous_;
  bool entered_;
};

}  // namespace corvane
