#include "journal/journalled_filesystem.h"

#include "core/text.h"

namespace corvane::journal {
namespace {

void SetContent(Record& r, const std::string& bytes) {
  r.size = bytes.size();
  r.hash = ContentHash(bytes);
}

}  // namespace

bool RestoreTarget(FileSystem& fs, const std::string& target,
                   const std::optional<std::string>& old) {
  std::optional<std::string> now = fs.FileExists(target) ? fs.ReadFile(target) : std::nullopt;
  if (now == old) return true;
  if (!now && fs.Exists(target)) return false;  // a folder: not ours to touch
  if (old) return fs.WriteFile(target, *old);
  // A copy comes with its source's attributes; read-only would keep it.
  std::uint32_t a = fs.Attributes(target).value_or(0);
  return (!(a & attr::kReadOnly) || fs.SetAttributes(target, attr::kNormal)) && fs.Delete(target);
}

std::optional<std::string> JournalledFileSystem::Absolute(const std::string& path) {
  std::string full = path;
  if (!IsSafeAbsolutePath(full))
    full = text::IncludeTrailingBackslash(inner_.CurrentDirectory()) + path;
  if (!IsSafeAbsolutePath(full)) return std::nullopt;
  return text::ExcludeTrailingBackslash(full);
}

std::optional<std::string> JournalledFileSystem::OldContent(const std::string& path,
                                                            bool* unreadable) {
  *unreadable = false;
  if (!inner_.FileExists(path)) return std::nullopt;
  std::optional<std::string> old = inner_.ReadFile(path);
  *unreadable = !old.has_value();
  return old;
}

bool JournalledFileSystem::Copy(const std::string& from, const std::string& to) {
  auto src = Absolute(from), dst = Absolute(to);
  std::optional<std::string> bytes = inner_.FileExists(from) ? inner_.ReadFile(from) : std::nullopt;
  bool unreadable = false;
  std::optional<std::string> old = dst ? OldContent(*dst, &unreadable) : std::nullopt;
  // What cannot be recorded is not done: its undo could not be promised.
  if (!src || !dst || !bytes || unreadable) return false;
  if (old == bytes) return inner_.Copy(from, to);  // nothing changes
  Record r;
  r.op = Op::kCopy;
  r.path = *src;
  r.to = *dst;
  SetContent(r, *bytes);
  r.old_absent = !old;
  std::uint64_t hash = *r.hash;
  return Journalled(journal_, r, old ? &*old : nullptr, [&] { return inner_.Copy(from, to); },
                    [&](Completion& c) {
                      auto now = inner_.FileExists(to) ? inner_.ReadFile(to) : std::nullopt;
                      c.ok = now && ContentHash(*now) == hash;
                      if (!c.ok) RestoreTarget(inner_, to, old);
                    });
}

MoveOutcome JournalledFileSystem::MoveByCopy(const std::string& from, const std::string& to) {
  auto src = Absolute(from), dst = Absolute(to);
  std::optional<std::string> bytes = inner_.ReadFile(from);
  if (!src || !dst || !bytes) return MoveOutcome::kNotCopied;
  // No old bytes are saved: the file's bytes are at the source, the target
  // or both at every step, and its undo is a move back.
  Record r;
  r.op = Op::kMoveByCopy;
  r.path = *src;
  r.to = *dst;
  SetContent(r, *bytes);
  MoveOutcome outcome = MoveOutcome::kNotCopied;  // when the record cannot be written
  Journalled(journal_, r, nullptr,
             [&] {
               outcome = MoveByCopyOn(inner_, from, to, bytes);
               return true;
             },
             [&](Completion& c) {
               // A copy that came out different was made by this move onto
               // a free name: it goes, so the failure is the whole truth.
               if (outcome == MoveOutcome::kCopyDiffers) RestoreTarget(inner_, to, std::nullopt);
               c.ok = outcome == MoveOutcome::kMoved;
             });
  if (outcome == MoveOutcome::kNotDeleted) {
    // The source would not go: what the move left is a checked copy, kept
    // as one for undo to take away.
    Record copy = r;
    copy.op = Op::kCopy;
    copy.old_absent = true;
    Journalled(journal_, copy, nullptr, [] { return true; }, [](Completion& c) { c.ok = true; });
  }
  return outcome;
}

bool JournalledFileSystem::Delete(const std::string& path) {
  auto full = Absolute(path);
  bool unreadable = false;
  std::optional<std::string> old = full ? OldContent(*full, &unreadable) : std::nullopt;
  if (!full || unreadable) return false;
  if (!old) return inner_.Delete(path);  // nothing there: nothing to lose
  Record r;
  r.op = Op::kDelete;
  r.path = *full;
  SetContent(r, *old);
  r.attributes = inner_.Attributes(path).value_or(attr::kArchive);
  return Journalled(journal_, r, &*old, [&] { return inner_.Delete(path); },
                    [&](Completion& c) { c.ok = !inner_.Exists(path); });
}

bool JournalledFileSystem::RemoveFolder(const std::string& path) {
  auto full = Absolute(path);
  if (!full) return false;
  if (!inner_.FolderExists(path)) return inner_.RemoveFolder(path);
  Record r;
  r.op = Op::kRemoveFolder;
  r.path = *full;
  r.attributes = inner_.Attributes(path).value_or(attr::kDirectory);
  return Journalled(journal_, r, nullptr, [&] { return inner_.RemoveFolder(path); },
                    [&](Completion& c) { c.ok = !inner_.Exists(path); });
}

bool JournalledFileSystem::CreateFolder(const std::string& path) {
  auto full = Absolute(path);
  if (!full) return false;
  if (inner_.Exists(path)) return inner_.CreateFolder(path);
  Record r;
  r.op = Op::kMakeFolder;
  r.path = *full;
  return Journalled(journal_, r, nullptr, [&] { return inner_.CreateFolder(path); },
                    [&](Completion& c) { c.ok = inner_.FolderExists(path); });
}

bool JournalledFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  auto full = Absolute(path);
  std::optional<std::uint32_t> before = inner_.Attributes(path);
  if (!full) return false;
  if (!before || *before == attributes) return inner_.SetAttributes(path, attributes);
  Record r;
  r.op = Op::kAttributes;
  r.path = *full;
  r.attributes = *before;
  r.new_attributes = attributes;
  return Journalled(journal_, r, nullptr, [&] { return inner_.SetAttributes(path, attributes); },
                    [&](Completion& c) {
                      c.attributes = inner_.Attributes(path);
                      c.ok = c.attributes && *c.attributes != *before;
                    });
}

bool JournalledFileSystem::Rename(const std::string& from, const std::string& to) {
  auto src = Absolute(from), dst = Absolute(to);
  if (!src || !dst) return false;
  if (!inner_.Exists(from)) return inner_.Rename(from, to);
  Record r;
  r.op = Op::kRename;
  r.path = *src;
  r.to = *dst;
  bool same = text::SameText(*src, *dst);  // a change of case only
  return Journalled(journal_, r, nullptr, [&] { return inner_.Rename(from, to); },
                    [&](Completion& c) {
                      c.ok = inner_.Exists(to) && (same || !inner_.Exists(from));
                    });
}

bool JournalledFileSystem::Write(const std::string& path, const std::string& data, bool append) {
  auto full = Absolute(path);
  bool unreadable = false;
  std::optional<std::string> old = full ? OldContent(*full, &unreadable) : std::nullopt;
  if (!full || unreadable) return false;
  std::string after = append && old ? *old + data : data;
  if (old && *old == after)  // nothing changes: nothing to record
    return append ? inner_.AppendFile(path, data) : inner_.WriteFile(path, data);
  Record r;
  r.op = Op::kWrite;
  r.path = *full;
  SetContent(r, after);
  r.old_absent = !old;
  std::uint64_t hash = *r.hash;
  return Journalled(
      journal_, r, old ? &*old : nullptr,
      [&] { return append ? inner_.AppendFile(path, data) : inner_.WriteFile(path, data); },
      [&](Completion& c) {
        auto now = inner_.FileExists(path) ? inner_.ReadFile(path) : std::nullopt;
        c.ok = now && ContentHash(*now) == hash;
        if (!c.ok) RestoreTarget(inner_, path, old);
      });
}

bool JournalledFileSystem::WriteFile(const std::string& path, const std::string& data) {
  return Write(path, data, false);
}

bool JournalledFileSystem::AppendFile(const std::string& path, const std::string& data) {
  return Write(path, data, true);
}

bool JournalledShellLinks::Save(const std::string& file, const ShellLinkFields& fields) {
  if (!IsSafeAbsolutePath(file)) return false;
  std::optional<std::string> old = files_.FileExists(file) ? files_.ReadFile(file) : std::nullopt;
  if (files_.FileExists(file) && !old) return false;
  Record r;
  r.op = Op::kLink;
  r.path = file;
  r.old_absent = !old;
  // The link's bytes are known only once the shell has written them.
  return Journalled(journal_, r, old ? &*old : nullptr, [&] { return inner_.Save(file, fields); },
                    [&](Completion& c) {
                      auto now = files_.FileExists(file) ? files_.ReadFile(file) : std::nullopt;
                      c.ok = now.has_value() && now != old;
                      if (now) {
                        c.size = now->size();
                        c.hash = ContentHash(*now);
                      }
                    });
}

}  // namespace corvane::journal
