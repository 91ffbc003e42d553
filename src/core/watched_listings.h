// Listings of a few folders that are enumerated again only when the system
// reported a change in them: for a periodic count that mostly finds nothing
// new. Only inside a Scope (the periodic pass) is a listing served from
// memory; elsewhere every call goes through to the file system.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/filesystem.h"

namespace corvane {

// The system's change notifications on folders.
class FolderChanges {
 public:
  virtual ~FolderChanges() = default;
  // Starts watching the folder's entries; false when it cannot be watched.
  virtual bool Watch(const std::string& folder) = 0;
  // Whether the folder changed since it was last asked (or watched), and
  // re-arms the notification. True when it is not being watched.
  virtual bool ChangedSince(const std::string& folder) = 0;
  virtual void Forget(const std::string& folder) = 0;
};

class WatchedListings : public FileSystem {
 public:
  WatchedListings(FileSystem& inner, FolderChanges& changes) : inner_(inner), changes_(changes) {}
  // The folders whose whole listing ("*.*") may be served from memory.
  void SetFolders(const std::vector<std::string>& folders);

  class Scope {
   public:
    explicit Scope(WatchedListings& l) : l_(l) { ++l_.scopes_; }
    ~Scope() { --l_.scopes_; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    WatchedListings& l_;
  };

  std::vector<FileEntry> List(const std::string& folder, const std::string& pattern) override;
  bool Copy(const std::string& from, const std::string& to) override;
  bool CopyNew(const std::string& from, const std::string& to) override;
  // Passed down whole: the file system beneath may record it as one move.
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

 private:
  struct Folder {
    std::string path;  // as given
    bool watched = false;
    std::optional<std::vector<FileEntry>> listing;
  };
  Folder* Find(const std::string& folder);
  // Our own writes drop every listing: the notification may come late.
  bool Wrote(bool result);

  FileSystem& inner_;
  FolderChanges& changes_;
  std::map<std::string, Folder> folders_;  // by upper-cased path without a trailing '\'
  int scopes_ = 0;
};

}  // namespace corvane
