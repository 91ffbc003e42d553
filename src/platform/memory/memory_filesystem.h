// A file system in memory with the Windows rules the program relies on:
// names compare without case, attribute bits are kept, hidden or read-only
// targets are not replaced, read-only files are not deleted, only empty
// folders are removed.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/filesystem.h"

namespace corvane {

class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem();

  std::vector<FileEntry> List(const std::string& folder, const std::string& pattern) override;
  bool Copy(const std::string& from, const std::string& to) override;
  bool CopyNew(const std::string& from, const std::string& to) override;
  bool Delete(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool Rename(const std::string& from, const std::string& to) override;
  std::string CurrentDirectory() override;
  bool ChangeDirectory(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool WriteFile(const std::string& path, const std::string& data) override;

  // Test set-up: creates missing parents, replaces whatever is there.
  void AddFile(const std::string& path, const std::string& data = {},
               std::uint32_t attributes = attr::kArchive);
  void AddFolder(const std::string& path, std::uint32_t attributes = attr::kDirectory);
  // The folder stays visible but cannot be listed or entered.
  void MarkUnenterable(const std::string& path);

 private:
  struct Node {
    std::string name;
    std::uint32_t attributes = attr::kDirectory;
    std::string data;
    bool enterable = true;
    std::map<std::string, std::unique_ptr<Node>> children;  // by upper-case name
    bool IsFolder() const { return (attributes & attr::kDirectory) != 0; }
  };
  // Absolute components of a path ("C:", "a", "b"); empty on a bad path.
  std::vector<std::string> Split(const std::string& path) const;
  Node* Find(const std::string& path);
  // The folder that would hold path, and the leaf's name.
  Node* Parent(const std::string& path, std::string* leaf);
  Node* MakeFolders(const std::vector<std::string>& parts, std::size_t count);

  Node root_;  // drives are its children
  // Empty until a test enters a folder: where the program was started is not
  // known, so a relative path is refused rather than guessed at.
  std::string current_;
};

// Glob match of a file name against a pattern with '*' and '?', without case;
// "*.*" matches every name.
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace corvane
