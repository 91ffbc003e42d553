#include "categories/folder_routines.h"

#include <set>

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

void NotCopied(MoveReport& report, const std::string& path) {
  report.stayed.push_back(path);
  report.not_copied.push_back(path);
}

void Skipped(MoveReport& report, const std::string& path) {
  report.stayed.push_back(path);
  report.skipped.push_back(path);
}

void NotRemoved(MoveReport& report, const std::string& path) {
  report.stayed.push_back(path);
  report.not_removed.push_back(path);
}

}  // namespace

void MoveReport::Append(const MoveReport& r) {
  moved += r.moved;
  stayed.insert(stayed.end(), r.stayed.begin(), r.stayed.end());
  not_copied.insert(not_copied.end(), r.not_copied.begin(), r.not_copied.end());
  not_removed.insert(not_removed.end(), r.not_removed.begin(), r.not_removed.end());
  skipped.insert(skipped.end(), r.skipped.begin(), r.skipped.end());
  listed = listed && r.listed;
}

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

bool FolderRoutines::SameBytes(const std::string& from, const std::string& to) {
  auto original = fs_.ReadFile(from);
  auto copy = fs_.ReadFile(to);
  return original && copy && *original == *copy;
}

bool FolderRoutines::MoveFile(const std::string& from, const std::string& folder,
                              const std::string& name, MoveReport& report) {
  std::string to = Join(folder, name);
  MoveOutcome outcome = fs_.MoveByCopy(from, to);
  if (outcome == MoveOutcome::kTargetTaken) {
    // The same bytes are there already: the source alone goes.
    if (fs_.FileExists(to) && SameBytes(from, to)) {
      if (fs_.Delete(from)) return true;
      NotRemoved(report, from);
      return false;
    }
    // A folder's own settings file belongs where it is, not beside another.
    if (text::SameText(name, kDesktopIni)) {
      report.stayed.push_back(from);
      return false;
    }
    // Another entry of that name is kept; the incoming one takes a free name.
    outcome = fs_.MoveByCopy(from, Join(folder, FreeName(fs_, folder, name)));
  }
  switch (outcome) {
    case MoveOutcome::kMoved:
      return true;
    case MoveOutcome::kNotDeleted:
      NotRemoved(report, from);
      return false;
    default:
      // A copy that came out different is no copy, and the source keeps
      // the entry.
      NotCopied(report, from);
      return false;
  }
}

void FolderRoutines::ConfirmDeleted(const std::string& folder,
                                    const std::vector<std::string>& names, MoveReport& report) {
  if (names.empty()) return;
  // A delete that said yes may still have left the file (another program
  // holds it open): one listing tells for them all.
  std::vector<FileEntry> left = fs_.List(folder, "*.*");
  bool listed = !left.empty();
  std::set<std::string> still;
  for (const FileEntry& e : left) still.insert(text::UpperCase(e.name));
  for (const std::string& name : names) {
    std::string path = Join(folder, name);
    bool gone = listed ? still.count(text::UpperCase(name)) == 0 : !fs_.Exists(path);
    if (gone)
      ++report.moved;
    else
      NotRemoved(report, path);
  }
}

void FolderRoutines::RemoveSourceFolder(const std::string& from, std::size_t stayed_before,
                                        MoveReport& report) {
  // Removed only when nothing stayed in it.
  if (!fs_.Exists(from) || fs_.RemoveFolder(from) || !fs_.Exists(from)) return;
  // A folder that keeps entries is accounted for by them; one emptied of
  // everything could not itself be removed.
  if (report.stayed.size() == stayed_before)
    NotRemoved(report, from);
  else
    report.stayed.push_back(from);
}

void FolderRoutines::Move(const std::string& source, const std::string& destination,
                          MoveReport& report) {
  bool listed = false;
  std::vector<FileEntry> entries = Walked(source, &listed);
  if (!listed) {
    report.listed = false;
    NotCopied(report, source);
    return;
  }
  fs_.ForceFolders(destination);
  std::vector<std::string> deleted;
  for (const FileEntry& e : entries) {
    std::string from = Join(source, e.name);
    if (IsPlainFolder(e)) {
      std::string to = Join(destination, e.name);
      // A folder goes into its namesake; beside a file of its name it
      // takes a free name.
      if (fs_.Exists(to) && !fs_.FolderExists(to))
        to = Join(destination, FreeName(fs_, destination, e.name));
      if (!fs_.FolderExists(to)) fs_.CreateFolder(to);
      std::size_t before = report.stayed.size();
      std::size_t not_copied_before = report.not_copied.size();
      Move(from, to, report);
      // An unreadable folder is reported once, not again as left over.
      if (report.not_copied.size() > not_copied_before && report.not_copied.back() == from)
        continue;
      RemoveSourceFolder(from, before, report);
    } else if (!e.IsFolder() && !IsLink(e)) {
      if (MoveFile(from, destination, e.name, report)) deleted.push_back(e.name);
    } else {
      Skipped(report, from);
    }
  }
  ConfirmDeleted(source, deleted, report);
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
  std::string name = text::ExtractFileName(path);
  std::string to = Join(folder, name);
  bool folder_entry = (*attributes & attr::kDirectory) != 0;
  if (SameOrInside(to, path) || (*attributes & attr::kReparsePoint) != 0) {
    Skipped(report, path);
  } else if (folder_entry) {
    if (fs_.Exists(to) && !fs_.FolderExists(to)) to = Join(folder, FreeName(fs_, folder, name));
    Move(path, to, report);
    bool unreadable = !report.not_copied.empty() && report.not_copied.back() == path;
    if (!unreadable) RemoveSourceFolder(path, 0, report);
  } else if (MoveFile(path, folder, name, report)) {
    ConfirmDeleted(text::ExcludeTrailingBackslash(text::ExtractFilePath(path)), {name}, report);
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
    all.Append(MoveFolderContents(*source, target));
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
  std::string text = IconFileText(icon_path);
  // Every start passes here: a file that already says this is left alone.
  if (fs_.ReadFile(ini) != text) {
    if (fs_.FileExists(ini)) {
      // Ours is hidden and system; one made read-only would not go otherwise.
      fs_.SetAttributes(ini, attr::kNormal);
      fs_.Delete(ini);
    }
    fs_.WriteFile(ini, text);
  }
  SetAttributesUnlessSo(folder, attr::kReadOnly);
  SetAttributesUnlessSo(ini, attr::kHidden | attr::kSystem);
}

void FolderRoutines::SetAttributesUnlessSo(const std::string& path, std::uint32_t attributes) {
  auto now = fs_.Attributes(path);
  if (!now || (*now & ~attr::kDirectory) != attributes) fs_.SetAttributes(path, attributes);
}

}  // namespace corvane::categories
