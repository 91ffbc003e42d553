// The folder routines the categorisation stands on: counting a folder's
// entries, copying and clearing folders, moving the loose Start-menu entries
// into the common Programs folder, recording the counts and writing a
// category's Desktop.ini.
//
// A folder entry is walked into only when its attributes are exactly the
// directory attribute: read-only, hidden or system folders, and junctions
// and links (whose content lies elsewhere), are neither copied nor removed.
// Failures are silent; the routines go on with the next entry.
#pragma once
#include <string>
#include <vector>

#include "categories/category_store.h"
#include "categories/start_menu.h"
#include "core/filesystem.h"

namespace corvane::categories {

// What a move left where it was, with the reason. Every path kept is in
// stayed, and also in the one list that says why.
struct MoveReport {
  int moved = 0;                    // files now only in the target
  std::vector<std::string> stayed;  // source paths of files and folders kept
  // Not copied: unreadable folders, failed or unchecked copies.
  std::vector<std::string> not_copied;
  // Never taken by a move: links, and read-only, hidden or system folders.
  std::vector<std::string> skipped;
  // Copied whole and checked, but the source could not be removed.
  std::vector<std::string> not_removed;
  bool listed = true;  // false when the source, or a folder inside it, could not be read

  void Append(const MoveReport& r);
  // Whether everything was copied and only removals failed.
  bool OnlyRemovalsFailed() const {
    return not_copied.empty() && skipped.empty() && !not_removed.empty();
  }
};

class FolderRoutines {
 public:
  FolderRoutines(FileSystem& fs, StartMenuPaths paths) : fs_(fs), paths_(std::move(paths)) {}
  const StartMenuPaths& Paths() const { return paths_; }

  // Entries of the folder, one level, hidden ones included; 0 when it cannot
  // be listed.
  int CountEntries(const std::string& folder);
  EntryCounts CountAll();

  // Copies the source's files and plain folders into destination (made
  // with its parents when missing), replacing same-named files; false when
  // the source cannot be listed.
  bool CopyFolderContents(const std::string& source, const std::string& destination);
  // Deletes the folder's files and removes its plain folders after clearing
  // them; a folder found empty is removed itself. False when it cannot be
  // listed.
  bool ClearFolder(const std::string& folder);

  // Copy and clear in one walk that deletes a source file only once its
  // copy in the destination holds the same bytes, and removes a source
  // folder only once it is empty: an entry whose copy failed stays. A
  // same-named file of other bytes in the destination is kept: the incoming
  // one takes a free name ("名称 (2).lnk"); one of the same bytes is
  // already there. A folder goes into a same-named folder, or takes a free
  // name beside a same-named file.
  MoveReport MoveFolderContents(const std::string& source, const std::string& destination);
  // One entry, file or folder, into folder under its own name, on the same
  // terms. An entry that is, or would land inside, itself stays.
  MoveReport MoveEntry(const std::string& path, const std::string& folder);

  // The common Start menu, the user Start menu and the user Programs folder,
  // in that order, moved into the common Programs folder. A missing source
  // is skipped, and so is one that is, holds or lies inside the target.
  MoveReport MergeIntoCommonPrograms();
  void RecordEntryCounts(CategoryStore& store);
  // Whether any of the four folders holds more entries than the store
  // says; a count at or below the stored one is no news.
  bool NewEntriesSince(CategoryStore& store);

  // folder\Desktop.ini naming the icon file; the folder becomes read-only
  // (which makes Explorer read the file) and the file hidden and system.
  void WriteCategoryIconFile(const std::string& folder, const std::string& icon_path);

  // Whether the walk may enter an entry: exactly the directory attribute.
  static bool IsPlainFolder(const FileEntry& e) { return e.attributes == attr::kDirectory; }
  // The text of a category's Desktop.ini.
  static std::string IconFileText(const std::string& icon_path);

 private:
  // Sets the attribute set only where it differs, so nothing changes for nothing.
  void SetAttributesUnlessSo(const std::string& path, std::uint32_t attributes);
  // The entries a walk of folder handles: no dots, no "程序" at the top of
  // either Start menu.
  std::vector<FileEntry> Walked(const std::string& folder, bool* listed);
  bool SameBytes(const std::string& from, const std::string& to);
  // One file: into folder under its name or a free one. True when the
  // source was deleted, which ConfirmDeleted has yet to see; otherwise the
  // report says why it stays.
  bool MoveFile(const std::string& from, const std::string& folder, const std::string& name,
                MoveReport& report);
  // Counts the files of folder deleted after their copy as moved, or as
  // not removed where they are still there.
  void ConfirmDeleted(const std::string& folder, const std::vector<std::string>& names,
                      MoveReport& report);
  // Removes an emptied source folder, or reports why it stays.
  void RemoveSourceFolder(const std::string& from, std::size_t stayed_before, MoveReport& report);
  void Move(const std::string& source, const std::string& destination, MoveReport& report);

  FileSystem& fs_;
  StartMenuPaths paths_;
};

}  // namespace corvane::categories
