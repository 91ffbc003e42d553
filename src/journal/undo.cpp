#include "journal/undo.h"

#include <map>

#include "core/text.h"
#include "journal/journalled_filesystem.h"
#include "journal/journalled_profile.h"
#include "journal/journalled_registry.h"

namespace corvane::journal {
namespace {

constexpr char kUndoPrefix[] = "撤销 ";
constexpr char kArrow[] = " → ";

std::optional<std::string> Content(FileSystem& fs, const std::string& path) {
  return fs.FileExists(path) ? fs.ReadFile(path) : std::nullopt;
}

bool Holds(const std::optional<std::string>& bytes, std::optional<std::uint64_t> hash) {
  return bytes && hash && ContentHash(*bytes) == *hash;
}

bool IsEmptyFolder(FileSystem& fs, const std::string& folder) {
  std::vector<FileEntry> entries = fs.List(folder, "*.*");
  // A folder that lists nothing at all, not even its dots, could not be read.
  if (entries.empty()) return false;
  for (const FileEntry& e : entries)
    if (!e.IsDotEntry()) return false;
  return true;
}

bool SameValue(const std::optional<RegValue>& a, const std::optional<RegValue>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->type == b->type && a->data == b->data);
}

// A key of the journal ("HKCU\a\b") opened through backend; closed on scope end.
class OpenedKey {
 public:
  OpenedKey(RegistryBackend& backend, const std::string& full, bool create) : backend_(backend) {
    auto split = SplitKeyPath(full);
    if (!split) return;
    rc_ = create ? backend_.CreateKey(split->first, split->second, reg::kKeyAllAccess, &key_)
                 : backend_.OpenKey(split->first, split->second, reg::kKeyAllAccess, &key_);
    if (rc_ != reg::kSuccess) key_ = 0;
  }
  ~OpenedKey() {
    if (key_) backend_.CloseKey(key_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  RegHandle get() const { return key_; }
  bool missing() const { return rc_ == reg::kFileNotFound; }
  // The value, nothing when absent; false in *ok when it cannot be read.
  std::optional<RegValue> Value(const std::string& name, bool* ok) {
    RegValue v;
    long rc = key_ ? backend_.QueryValue(key_, name, &v) : reg::kInvalidHandle;
    *ok = rc == reg::kSuccess || rc == reg::kFileNotFound;
    if (rc != reg::kSuccess) return std::nullopt;
    return v;
  }

 private:
  RegistryBackend& backend_;
  RegHandle key_ = 0;
  long rc_ = reg::kInvalidHandle;
};

std::string ValueLabel(const Record& r) {
  return r.path + "\\" + (r.name.empty() ? std::string("@") : r.name);
}

std::optional<std::string> Text(const std::optional<RegValue>& v) {
  return v ? std::optional(v->data) : std::nullopt;
}

// Whether a change begun and never completed is in effect.
bool Made(FileSystem& fs, RegistryBackend& registry, Journal& journal, ProfileStore* profile,
          const Record& r) {
  switch (r.op) {
    case Op::kIniValue: {
      auto split = SplitIniValueName(r.name);
      return profile && split &&
             IniValue(*profile, r.path, split->first, split->second) == Text(r.new_value);
    }
    case Op::kCopy: return Holds(Content(fs, r.to), r.hash);
    case Op::kWrite: return Holds(Content(fs, r.path), r.hash);
    case Op::kLink: {
      auto now = Content(fs, r.path);
      return now && (r.old_absent || (r.blob && now != journal.ReadBlob(*r.blob)));
    }
    case Op::kDelete:
    case Op::kRemoveFolder: return !fs.Exists(r.path);
    case Op::kRename: return fs.Exists(r.to) && !fs.Exists(r.path);
    case Op::kMoveByCopy: return !fs.Exists(r.path) && Holds(Content(fs, r.to), r.hash);
    case Op::kMakeFolder: return fs.FolderExists(r.path);
    case Op::kAttributes: {
      auto now = fs.Attributes(r.path);
      return now && *now != r.attributes;
    }
    case Op::kCreateKey:
    case Op::kDeleteKey: {
      OpenedKey key(registry, r.path, false);
      return (key.get() != 0) == (r.op == Op::kCreateKey);
    }
    case Op::kSetValue:
    case Op::kDeleteValue: {
      OpenedKey key(registry, r.path, false);
      bool ok = false;
      auto now = key.Value(r.name, &ok);
      return ok && SameValue(now, r.op == Op::kSetValue ? r.new_value : std::nullopt);
    }
  }
  return false;
}

}  // namespace

History ReadHistory(const ParsedJournal& parsed) {
  History h;
  h.damaged = parsed.damaged;
  std::map<std::uint64_t, std::size_t> index;  // group id -> position
  std::map<std::uint64_t, Record> begun;       // by seq
  auto group = [&](std::uint64_t id) -> GroupInfo& {
    auto it = index.find(id);
    if (it == index.end()) {
      it = index.emplace(id, h.groups.size()).first;
      h.groups.push_back(GroupInfo{id, {}, {}, {}, false, {}, {}});
    }
    return h.groups[it->second];
  };
  for (const Entry& e : parsed.entries) {
    switch (e.kind) {
      case Entry::Kind::kGroup: {
        GroupInfo& g = group(e.group.id);
        if (g.time.empty()) g.time = e.group.time;
        g.what = e.group.what;  // a later line describes it better
        g.undoes = e.group.undoes;
        break;
      }
      case Entry::Kind::kDo:
        // A record whose group line was lost still belongs to its group.
        group(e.record.group);
        begun[e.record.seq] = e.record;
        break;
      case Entry::Kind::kDone: {
        auto it = begun.find(e.completion.seq);
        if (it == begun.end()) break;
        if (e.completion.ok) {
          GroupInfo& g = group(it->second.group);
          g.changes.push_back(it->second);
          g.completions.push_back(e.completion);
        }
        begun.erase(it);
        break;
      }
      case Entry::Kind::kUndone:
        group(e.undone_group).undone = true;
        break;
      case Entry::Kind::kBaseline:
        h.folded += e.baseline.groups;
        break;
    }
  }
  for (auto& [seq, r] : begun) h.pending.push_back(r);
  return h;
}

std::vector<const GroupInfo*> UndoableGroups(const History& h) {
  std::vector<const GroupInfo*> out;
  for (auto it = h.groups.rbegin(); it != h.groups.rend(); ++it)
    if (!it->undone && !it->undoes && !it->changes.empty()) out.push_back(&*it);
  return out;
}

void UndoReport::Append(const UndoReport& r) {
  reverted += r.reverted;
  kept_beside.insert(kept_beside.end(), r.kept_beside.begin(), r.kept_beside.end());
  left.insert(left.end(), r.left.begin(), r.left.end());
  failed.insert(failed.end(), r.failed.begin(), r.failed.end());
}

UndoReport Undo::Group(std::uint64_t id) {
  History h = ReadHistory(journal_.Read());
  for (const GroupInfo& g : h.groups)
    if (g.id == id && !g.undone && !g.undoes) return Revert(g);
  return {};
}

std::optional<UndoReport> Undo::Newest() {
  History h = ReadHistory(journal_.Read());
  auto groups = UndoableGroups(h);
  if (groups.empty()) return std::nullopt;
  return Revert(*groups.front());
}

UndoReport Undo::All() {
  History h = ReadHistory(journal_.Read());
  UndoReport all;
  for (const GroupInfo* g : UndoableGroups(h)) {
    all.Append(Revert(*g));
    if (!all.failed.empty()) break;  // older groups stand on this one being undone
  }
  return all;
}

UndoReport Undo::Revert(const GroupInfo& g) {
  UndoReport report;
  GroupScope scope(&journal_, kUndoPrefix + g.what, g.id);
  // A failed step ends the undo: the older steps assume it went back.
  for (std::size_t i = g.changes.size(); i-- > 0 && report.failed.empty();)
    RevertOne(g.changes[i], g.completions[i], report);
  // Marked only when every step is settled: a failed one leaves the group
  // to be taken back again, and the steps already done find themselves done.
  if (report.failed.empty()) journal_.MarkUndone(g.id);
  return report;
}

std::optional<std::string> Undo::Blob(const Record& r, UndoReport& report) {
  if (!r.blob) return std::nullopt;
  auto bytes = journal_.ReadBlob(*r.blob);
  if (!bytes) report.failed.push_back(r.path);
  return bytes;
}

void Undo::KeepBeside(const std::string& path, const std::string& bytes, UndoReport& report) {
  std::string folder = text::ExtractFilePath(path);
  std::string beside = folder + FreeName(fs_, folder, text::ExtractFileName(path));
  if (fs_.WriteFile(beside, bytes))
    report.kept_beside.push_back(path + kArrow + beside);
  else
    report.failed.push_back(path);
}

void Undo::PutBack(const std::string& path, const std::string& bytes, std::uint32_t attributes,
                   UndoReport& report) {
  if (fs_.Exists(path)) return KeepBeside(path, bytes, report);
  if (!fs_.WriteFile(path, bytes) || Content(fs_, path) != bytes) {
    report.failed.push_back(path);
    return;
  }
  // As it was, not as a new file comes: the next older change may expect them.
  if (attributes && fs_.Attributes(path) != attributes && !fs_.SetAttributes(path, attributes))
    report.failed.push_back(path);
  ++report.reverted;
}

// A copy, write or link: the target goes back to its old bytes (or away)
// while it still holds what Corvane put there.
void Undo::RevertContent(const Record& r, std::optional<std::uint64_t> hash, UndoReport& report) {
  const std::string& target = r.op == Op::kCopy ? r.to : r.path;
  std::optional<std::string> old;
  if (r.blob && !(old = Blob(r, report))) return;
  std::optional<std::string> now = Content(fs_, target);
  if (now && old && *now == *old) return;  // already back
  if (!now && fs_.Exists(target)) {
    report.left.push_back(target);  // a folder took its place
    if (old) KeepBeside(target, *old, report);
    return;
  }
  if (!now) {
    if (old) PutBack(target, *old, 0, report);
    return;
  }
  if (!Holds(now, hash)) {
    // Changed since: the user's version stays, the old one goes beside it.
    if (old) KeepBeside(target, *old, report);
    else report.left.push_back(target);
    return;
  }
  bool ok = ClearAttributes(target) &&
            (old ? fs_.WriteFile(target, *old) && Content(fs_, target) == *old
                 : fs_.Delete(target) && !fs_.Exists(target));
  if (ok) ++report.reverted;
  else report.failed.push_back(target);
}

// A file of ours about to be taken away or written back: a read-only or
// hidden bit it came with is no reason to keep it.
bool Undo::ClearAttributes(const std::string& path) {
  std::uint32_t a = fs_.Attributes(path).value_or(0);
  return !(a & (attr::kReadOnly | attr::kHidden | attr::kSystem)) ||
         fs_.SetAttributes(path, attr::kNormal);
}

void Undo::RevertOne(const Record& r, const Completion& c, UndoReport& report) {
  switch (r.op) {
    case Op::kCopy:
    case Op::kWrite:
      return RevertContent(r, r.hash, report);
    case Op::kLink:
      return RevertContent(r, c.hash, report);
    case Op::kDelete: {
      auto now = Content(fs_, r.path);
      if (Holds(now, r.hash)) {  // already back, perhaps short of its attributes
        if (fs_.Attributes(r.path) != r.attributes && !fs_.SetAttributes(r.path, r.attributes))
          report.failed.push_back(r.path);
        return;
      }
      if (auto old = Blob(r, report)) PutBack(r.path, *old, r.attributes, report);
      return;
    }
    case Op::kRename: {
      bool here = fs_.Exists(r.path), there = fs_.Exists(r.to);
      if (!there) {
        if (!here) report.left.push_back(r.to);  // moved on by someone else
        return;
      }
      std::string back = r.path;
      if (here) {
        std::string folder = text::ExtractFilePath(r.path);
        back = folder + FreeName(fs_, folder, text::ExtractFileName(r.path));
      }
      if (!fs_.Rename(r.to, back)) return report.failed.push_back(r.to);
      if (here) report.kept_beside.push_back(r.path + kArrow + back);
      else ++report.reverted;
      return;
    }
    case Op::kMoveByCopy:
      return RevertMove(r, report);
    case Op::kMakeFolder:
      if (!fs_.Exists(r.path)) return;
      // Only an empty folder goes: whatever was put in it since stays.
      if (!fs_.FolderExists(r.path) || !IsEmptyFolder(fs_, r.path))
        return report.left.push_back(r.path);
      if (fs_.RemoveFolder(r.path) && !fs_.Exists(r.path)) ++report.reverted;
      else report.failed.push_back(r.path);
      return;
    case Op::kRemoveFolder:
      if (fs_.FolderExists(r.path)) return;
      if (fs_.Exists(r.path)) return report.left.push_back(r.path);
      if (!fs_.CreateFolder(r.path) ||
          (r.attributes != attr::kDirectory && !fs_.SetAttributes(r.path, r.attributes)))
        return report.failed.push_back(r.path);
      ++report.reverted;
      return;
    case Op::kAttributes: {
      auto now = fs_.Attributes(r.path);
      if (!now || *now == r.attributes) return;
      if (*now != c.attributes.value_or(r.new_attributes)) return report.left.push_back(r.path);
      if (fs_.SetAttributes(r.path, r.attributes)) ++report.reverted;
      else report.failed.push_back(r.path);
      return;
    }
    case Op::kSetValue:
    case Op::kDeleteValue:
      return RevertValue(r, report);
    case Op::kCreateKey:
    case Op::kDeleteKey:
      return RevertKey(r, report);
    case Op::kIniValue:
      return RevertIni(r, report);
  }
}

// The file goes back to where it came from as it is now: what the user
// changed in it since is theirs. A place taken since keeps what took it.
void Undo::RevertMove(const Record& r, UndoReport& report) {
  std::optional<std::string> now = Content(fs_, r.to);
  if (!now) {
    if (!fs_.Exists(r.path)) report.left.push_back(r.to);  // moved on by someone else
    return;
  }
  if (fs_.Exists(r.path)) {
    // The source back as it was, by someone else: the copy alone goes.
    if (Holds(now, r.hash) && Content(fs_, r.path) == now) {
      if (ClearAttributes(r.to) && fs_.Delete(r.to) && !fs_.Exists(r.to)) ++report.reverted;
      else report.failed.push_back(r.to);
      return;
    }
    std::string folder = text::ExtractFilePath(r.path);
    std::string beside = folder + FreeName(fs_, folder, text::ExtractFileName(r.path));
    if (fs_.MoveByCopy(r.to, beside) == MoveOutcome::kMoved)
      report.kept_beside.push_back(r.path + kArrow + beside);
    else
      report.failed.push_back(r.to);
    return;
  }
  if (fs_.MoveByCopy(r.to, r.path) == MoveOutcome::kMoved) ++report.reverted;
  else report.failed.push_back(r.to);
}

// Back only while it still holds what Corvane wrote.
void Undo::RevertIni(const Record& r, UndoReport& report) {
  auto split = SplitIniValueName(r.name);
  std::string label = r.path + " " + r.name;
  if (!profile_ || !split) return report.failed.push_back(label);
  const auto& [section, key] = *split;
  std::optional<std::string> was = Text(r.old_value);
  std::optional<std::string> now = IniValue(*profile_, r.path, section, key);
  if (now == was) return;  // already back
  if (now != Text(r.new_value)) return report.left.push_back(label);
  bool ok = was ? profile_->WriteString(r.path, section, key, *was)
                : profile_->DeleteKey(r.path, section, key);
  if (ok && IniValue(*profile_, r.path, section, key) == was) ++report.reverted;
  else report.failed.push_back(label);
}

void Undo::RevertValue(const Record& r, UndoReport& report) {
  std::optional<RegValue> wrote = r.op == Op::kSetValue ? r.new_value : std::nullopt;
  OpenedKey key(registry_, r.path, r.old_value.has_value());
  if (!key.get()) {
    // Gone with its key: as it was when the value was absent before.
    if (!r.old_value && key.missing()) return;
    return report.failed.push_back(ValueLabel(r));
  }
  bool ok = false;
  std::optional<RegValue> now = key.Value(r.name, &ok);
  if (!ok) return report.failed.push_back(ValueLabel(r));
  if (SameValue(now, r.old_value)) return;  // already back
  if (!SameValue(now, wrote)) return report.left.push_back(ValueLabel(r));
  long rc = r.old_value ? registry_.SetValue(key.get(), r.name, r.old_value->type, r.old_value->data)
                        : registry_.DeleteValue(key.get(), r.name);
  if (rc == reg::kSuccess) ++report.reverted;
  else report.failed.push_back(ValueLabel(r));
}

void Undo::RevertKey(const Record& r, UndoReport& report) {
  if (r.op == Op::kCreateKey) {
    OpenedKey key(registry_, r.path, false);
    if (!key.get()) {
      if (!key.missing()) report.failed.push_back(r.path);
      return;
    }
    std::vector<std::string> subkeys;
    std::vector<NamedValue> values;
    if (registry_.EnumSubKeys(key.get(), &subkeys) != reg::kSuccess ||
        !ReadKeyValues(registry_, key.get(), &values))
      return report.failed.push_back(r.path);
    // Something put in it since keeps it.
    if (!subkeys.empty() || !values.empty()) return report.left.push_back(r.path);
    auto split = SplitKeyPath(r.path);
    if (split && registry_.DeleteKey(split->first, split->second) == reg::kSuccess)
      ++report.reverted;
    else
      report.failed.push_back(r.path);
    return;
  }
  OpenedKey key(registry_, r.path, true);
  if (!key.get()) return report.failed.push_back(r.path);
  int put = 0;
  for (const NamedValue& v : r.values) {
    bool ok = false;
    std::optional<RegValue> now = key.Value(v.name, &ok);
    if (!ok) {
      report.failed.push_back(r.path + "\\" + v.name);
    } else if (!now) {
      if (registry_.SetValue(key.get(), v.name, v.value.type, v.value.data) == reg::kSuccess) ++put;
      else report.failed.push_back(r.path + "\\" + v.name);
    } else if (!SameValue(now, v.value)) {
      report.left.push_back(r.path + "\\" + v.name);
    }
  }
  report.reverted += put > 0 ? 1 : 0;
}

namespace {

// What a copy cut off leaves is the start of its source. Anything else at a
// target recorded as new was there already (a copy onto a free name that
// found it taken) and is not ours to remove.
bool TornCopyOf(FileSystem& fs, const std::string& source, const std::string& target) {
  auto now = Content(fs, target), src = Content(fs, source);
  return now && src && now->size() <= src->size() && src->compare(0, now->size(), *now) == 0;
}

}  // namespace

RecoveryReport Recover(FileSystem& fs, RegistryBackend& registry, Journal& journal,
                       ProfileStore* profile) {
  RecoveryReport report;
  for (const Record& r : journal.ReadOutline().pending) {
    Completion c;
    c.seq = r.seq;
    c.ok = Made(fs, registry, journal, profile, r);
    if (c.ok) {
      if (r.op == Op::kLink)
        if (auto now = Content(fs, r.path)) c.hash = ContentHash(*now);
      if (r.op == Op::kAttributes) c.attributes = fs.Attributes(r.path);
      ++report.completed;
    } else {
      // A copy or write cut off half-way leaves a target that is neither
      // the old bytes nor the new: the old ones go back.
      const std::string& target = r.op == Op::kCopy ? r.to : r.path;
      // A move cut off before its source went leaves at most a copy of it.
      if (r.op == Op::kMoveByCopy && fs.Exists(r.path) && TornCopyOf(fs, r.path, r.to))
        RestoreTarget(fs, r.to, std::nullopt);
      if (r.op == Op::kCopy || r.op == Op::kWrite) {
        std::optional<std::string> old = r.blob ? journal.ReadBlob(*r.blob) : std::nullopt;
        if (old) RestoreTarget(fs, target, old);
        else if (r.old_absent && (r.op != Op::kCopy || TornCopyOf(fs, r.path, target)))
          RestoreTarget(fs, target, old);
      }
      ++report.rolled_back;
    }
    journal.Complete(c);
  }
  return report;
}

}  // namespace corvane::journal
