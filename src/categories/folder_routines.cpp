#include "categories/folder_routines.h"

#include "core/text.h"

namespace corvane::categories {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

// Whether one path is the other or lies inside it (names without case).
bool SameOrInside(const std::string& inner, const std::string& outer) {
  if (text::SameText(inner, outer)) return true;
  std::string prefix = text::IncludeTrailingBackslash(outer);
  return inner.size() > prefix.size() && text::SameText(inner.substr(0, prefix.size()), prefix);
}

bool IsLink(const FileEntry& e) { return (e.attributes & attr::kReparsePoint) != 0; }

}  // namespace

std::vector<FileEntry> FolderRoutines::Walked(const std::string& folder, bool* listed) {
  std::vector<FileEntry> all = fs_.List(folder, "*.*");
  // A folder that can be read lists "." and ".." at least.
  *listed = !all.empty();
  bool start_menu = folder == paths_.common_start_menu || folder == paths_.user_start_menu;
  std::vector<FileEntry> out;
  for (FileEntry& e : all) {
    if (e.IsDotEntry() || (start_menu && e.name == kProgramsName)) continue;
    out.push_back(std::move(e));
  }
  return out;
}

int FolderRoutines::CountEntries(const std::string& folder) {
  int n = 0;
  for (const FileEntry& e : fs_.List(folder, "*.*"))
    if (!e.IsDotEntry()) ++n;
  return n;
}

EntryCounts FolderRoutines::CountAll() {
  EntryCounts c;
  c.all_users_ks = CountEntries(paths_.common_start_menu);
  c.all_users_ks_cx = CountEntries(paths_.common_programs);
  c.current_user_ks = CountEntries(paths_.user_start_menu);
  c.current_user_ks_cx = CountEntries(paths_.user_programs);
  return c;
}

bool FolderRoutines::CopyFolderContents(const std::string& source, const std::string& destination) {
  bool listed = false;
  std::vector<FileEntry> entries = Walked(source, &listed);
  if (!listed) return false;
  fs_.ForceFolders(destination);
  for (const FileEntry& e : entries) {
    std::string from = Join(source, e.name), to = Join(destination, e.name);
    if (IsPlainFolder(e)) {
      if (!fs_.FolderExists(to)) fs_.CreateFolder(to);
      CopyFolderContents(from, to);
    } else if (!e.IsFolder() && !IsLink(e)) {
      fs_.Copy(from, to);
    }
  }
  return true;
}

bool FolderRoutines::ClearFolder(const std::string& folder) {
  bool listed = false;
  std::vector<FileEntry> entries = Walked(folder, &listed);
  if (!listed) return false;
  for (const FileEntry& e : entries) {
    std::string path = Join(folder, e.name);
    if (IsPlainFolder(e)) {
      ClearFolder(path);
      fs_.RemoveFolder(path);
    } else if (!e.IsFolder() && !IsLink(e)) {
      fs_.Delete(path);
    }
  }
  if (entries.empty()) fs_.RemoveFolder(folder);
  return true;
}

bool FolderRoutines::CopiedIntact(const std::string& from, const std::string& to) {
  if (!fs_.Copy(from, to)) return false;
  auto original = fs_.ReadFile(from);
  auto copy = fs_.ReadFile(to);
  // A copy that came out different is no copy, and the source keeps the
  // entry; what lies in the target may not be ours, so it is left alone.
  return original && copy && *original == *copy;
}

void FolderRoutines::Move(const std::string& source, const std::string& destination,
                          MoveReport& report) {
  bool listed = false;
  std::vector<FileEntry> entries = Walked(source, &listed);
  if (!listed) {
    report.listed = false;
    return;
  }
  fs_.ForceFolders(destination);
  for (const FileEntry& e : entries) {
    std::string from = Join(source, e.name), to = Join(destination, e.name);
    if (IsPlainFolder(e)) {
      if (!fs_.FolderExists(to)) fs_.CreateFolder(to);
      Move(from, to, report);
      // Removed only when nothing stayed in it.
      if (fs_.Exists(from) && !fs_.RemoveFolder(from) && fs_.Exists(from))
        report.stayed.push_back(from);
    } else if (!e.IsFolder() && !IsLink(e) && CopiedIntact(from, to) && fs_.Delete(from)) {
      ++report.moved;
    } else {
      report.stayed.push_back(from);
    }
  }
  if (entries.empty()) fs_.RemoveFolder(source);
}

MoveReport FolderRoutines::MoveFolderContents(const std::string& source,
                                              const std::string& destination) {
  MoveReport report;
  Move(source, destination, report);
  return report;
}

MoveReport FolderRoutines::MoveEntry(const std::string& path, const std::string& folder) {
  MoveReport report;
  std::optional<std::uint32_t> attributes = fs_.Attributes(path);
  if (!attributes) return report;  // gone already: nothing to lose
  std::string to = Join(folder, text::ExtractFileName(path));
  bool folder_entry = (*attributes & attr::kDirectory) != 0;
  if (SameOrInside(to, path) || (*attributes & attr::kReparsePoint) != 0) {
    report.stayed.push_back(path);
  } else if (folder_entry) {
    Move(path, to, report);
    if (report.listed && fs_.Exists(path) && !fs_.RemoveFolder(path) && fs_.Exists(path))
      report.stayed.push_back(path);
  } else if (CopiedIntact(path, to) && fs_.Delete(path) && !fs_.Exists(path)) {
    ++report.moved;
  } else {
    report.stayed.push_back(path);
  }
  return report;
}

MoveReport FolderRoutines::MergeIntoCommonPrograms() {
  MoveReport all;
  const std::string& target = paths_.common_programs;
  for (const std::string* source :
       {&paths_.common_start_menu, &paths_.user_start_menu, &paths_.user_programs}) {
    if (!fs_.FolderExists(*source)) continue;
    // A Start menu holds its Programs folder, which is skipped by name; any
    // other overlap would copy the target into itself.
    bool holds_target = SameOrInside(target, *source) &&
                        !text::SameText(target, Join(*source, kProgramsName));
    if (SameOrInside(*source, target) || holds_target) continue;
    MoveReport r = MoveFolderContents(*source, target);
    all.moved += r.moved;
    all.stayed.insert(all.stayed.end(), r.stayed.begin(), r.stayed.end());
    all.listed = all.listed && r.listed;
  }
  return all;
}

void FolderRoutines::RecordEntryCounts(CategoryStore& store) { store.WriteCounts(CountAll()); }

bool FolderRoutines::NewEntriesSince(CategoryStore& store) {
  EntryCounts stored = store.StoredCounts();
  EntryCounts now = CountAll();
  return stored.all_users_ks < now.all_users_ks || stored.all_users_ks_cx < now.all_users_ks_cx ||
         stored.current_user_ks < now.current_user_ks ||
         stored.current_user_ks_cx < now.current_user_ks_cx;
}

std::string FolderRoutines::IconFileText(const std::string& icon_path) {
  return "[.ShellClassInfo]\r\nIconFile=" + icon_path + "\r\nIconIndex=0\r\n[.ShellClassInfo.A]\r\n" +
         "IconFile=" + icon_path + "\r\n";
}

void FolderRoutines::WriteCategoryIconFile(const std::string& folder, const std::string& icon_path) {
  std::string ini = Join(folder, kDesktopIni);
  if (fs_.FileExists(ini)) {
    // Ours is hidden and system; one made read-only would not go otherwise.
    fs_.SetAttributes(ini, attr::kNormal);
    fs_.Delete(ini);
  }
  fs_.WriteFile(ini, IconFileText(icon_path));
  fs_.SetAttributes(folder, attr::kReadOnly);
  fs_.SetAttributes(ini, attr::kHidden | attr::kSystem);
}

}  // namespace corvane::categories
