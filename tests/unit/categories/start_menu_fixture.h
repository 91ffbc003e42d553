// A Chinese XP Start menu in memory, and a look at every file under a folder.
#pragma once
#include <map>
#include <string>

#include "categories/start_menu.h"
#include "platform/memory/memory_filesystem.h"

namespace corvane::testing {

inline const StartMenuPaths kPaths =
    StartMenuPathsFor("C:\\", "Administrator");

// Every file under folder, by path below it ("a\b.lnk"), with its bytes;
// folders of every kind are looked into.
inline void CollectFiles(FileSystem& fs, const std::string& folder, const std::string& below,
                         std::map<std::string, std::string>& out) {
  for (const FileEntry& e : fs.List(folder, "*.*")) {
    if (e.IsDotEntry()) continue;
    std::string path = folder + "\\" + e.name;
    std::string rel = below.empty() ? e.name : below + "\\" + e.name;
    if (e.IsFolder())
      CollectFiles(fs, path, rel, out);
    else
      out[rel] = fs.ReadFile(path).value_or("\x01unreadable");
  }
}

inline std::map<std::string, std::string> FilesUnder(FileSystem& fs, const std::string& folder) {
  std::map<std::string, std::string> out;
  CollectFiles(fs, folder, "", out);
  return out;
}

// Loose entries in both Start menus and the user's Programs folder, with
// traps: same-named hidden and read-only targets, a read-only file, a
// read-only folder, a junction, a nested "程序", an empty folder.
inline void LayOutStartMenu(MemoryFileSystem& fs) {
  const auto& p = kPaths;
  fs.AddFile(p.common_start_menu + "\\写字板.lnk", "wordpad");
  fs.AddFile(p.common_start_menu + "\\Office\\Word.lnk", "word");
  fs.AddFile(p.common_start_menu + "\\只读.lnk", "read-only source", attr::kReadOnly);
  fs.AddFile(p.common_programs + "\\帮助.lnk", "help");
  fs.AddFolder(p.common_programs + "\\办公应用", attr::kDirectory | attr::kReadOnly);
  fs.AddFile(p.common_programs + "\\办公应用\\Desktop.ini", "[.ShellClassInfo]",
             attr::kHidden | attr::kSystem);
  fs.AddFile(p.common_programs + "\\隐藏.lnk", "hidden target", attr::kHidden);
  fs.AddFile(p.common_programs + "\\锁定.lnk", "read-only target", attr::kReadOnly);
  fs.AddFile(p.user_start_menu + "\\记事本.lnk", "notepad");
  fs.AddFile(p.user_start_menu + "\\隐藏.lnk", "moved onto a hidden target");
  fs.AddFile(p.user_start_menu + "\\Tools\\程序\\x.lnk", "nested programs folder");
  fs.AddFile(p.user_programs + "\\新软件\\新软件.lnk", "new program");
  fs.AddFile(p.user_programs + "\\锁定.lnk", "moved onto a read-only target");
  fs.AddFolder(p.user_programs + "\\启动");
  fs.AddFolder(p.user_programs + "\\Secret", attr::kDirectory | attr::kReadOnly);
  fs.AddFile(p.user_programs + "\\Secret\\s.lnk", "in a read-only folder");
  fs.AddFolder(p.user_programs + "\\Link", attr::kDirectory | attr::kReparsePoint);
  fs.AddFile(p.user_programs + "\\Link\\outside.lnk", "behind a junction");
}

}  // namespace corvane::testing
