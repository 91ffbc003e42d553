// The file system and shortcut writer as the features see them: every change
// goes through the journal first, and is refused when its record cannot be
// written. Reads pass straight through.
#pragma once
#include <optional>
#include <string>

#include "core/filesystem.h"
#include "core/shell_links.h"
#include "journal/journal.h"

namespace corvane::journal {

class JournalledFileSystem : public FileSystem {
 public:
  JournalledFileSystem(FileSystem& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  std::vector<FileEntry> List(const std::string& folder, const std::string& pattern) override {
    return inner_.List(folder, pattern);
  }
  bool Copy(const std::string& from, const std::string& to) override;
  MoveOutcome MoveByCopy(const std::string& from, const std::string& to) override;
  bool Delete(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::optional<std::uint32_t> Attributes(const std::string& path) override {
    return inner_.Attributes(path);
  }
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool Rename(const std::string& from, const std::string& to) override;
  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  bool ChangeDirectory(const std::string& path) override { return inner_.ChangeDirectory(path); }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return inner_.ReadFile(path);
  }
  bool WriteFile(const std::string& path, const std::string& data) override;
  bool AppendFile(const std::string& path, const std::string& data) override;

 private:
  // The path as the journal keeps it: absolute, or nothing when it cannot be.
  std::optional<std::string> Absolute(const std::string& path);
  // Old bytes of a file about to be replaced; nothing when there is no file.
  std::optional<std::string> OldContent(const std::string& path, bool* unreadable);
  bool Write(const std::string& path, const std::string& data, bool append);

  FileSystem& inner_;
  Journal& journal_;
};

// A copy or write that did not leave its bytes leaves the target as it was:
// the old bytes back, or no file when there was none. True when that holds.
bool RestoreTarget(FileSystem& fs, const std::string& target,
                   const std::optional<std::string>& old);

class JournalledShellLinks : public ShellLinks {
 public:
  // files is the plain file system the old and new link files are read with.
  JournalledShellLinks(ShellLinks& inner, FileSystem& files, Journal& journal)
      : inner_(inner), files_(files), journal_(journal) {}
  bool Save(const std::string& file, const ShellLinkFields& fields) override;
  std::optional<ShellLinkFields> Load(const std::string& file) override {
    return inner_.Load(file);
  }

 private:
  ShellLinks& inner_;
  FileSystem& files_;
  Journal& journal_;
};

}  // namespace corvane::journal
