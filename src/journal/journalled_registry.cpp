#include "journal/journalled_registry.h"

#include "core/text.h"

namespace corvane::journal {
namespace {

bool IsRoot(RegHandle h) {
  return h == reg::kClassesRoot || h == reg::kCurrentUser || h == reg::kLocalMachine;
}

std::string TrimSeparators(const std::string& path) {
  std::size_t b = path.find_first_not_of('\\');
  return b == std::string::npos ? std::string() : text::ExcludeTrailingBackslash(path.substr(b));
}

bool SameValue(const std::optional<RegValue>& a, const std::optional<RegValue>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->type == b->type && a->data == b->data);
}

}  // namespace

bool ReadKeyValues(RegistryBackend& backend, RegHandle key, std::vector<NamedValue>* values) {
  std::vector<std::string> names;
  if (backend.EnumValues(key, &names) != reg::kSuccess || names.size() > kMaxKeyValues) return false;
  values->clear();
  for (const std::string& n : names) {
    RegValue v;
    if (backend.QueryValue(key, n, &v) != reg::kSuccess || v.data.size() > kMaxValueData)
      return false;
    values->push_back({n, std::move(v)});
  }
  return true;
}

std::optional<std::string> JournalledRegistry::FullPath(RegHandle parent,
                                                        const std::string& path) const {
  std::string rel = TrimSeparators(path);
  if (IsRoot(parent)) return rel.empty() ? std::nullopt : std::optional(KeyPath(parent, rel));
  auto it = keys_.find(parent);
  if (it == keys_.end()) return std::nullopt;
  return rel.empty() ? it->second : it->second + "\\" + rel;
}

bool JournalledRegistry::KeyExists(const std::string& full) {
  auto split = SplitKeyPath(full);
  RegHandle probe = 0;
  if (!split || inner_.OpenKey(split->first, split->second, reg::kKeyProbe, &probe) != reg::kSuccess)
    return false;
  inner_.CloseKey(probe);
  return true;
}

bool JournalledRegistry::Before(RegHandle key, const std::string& name,
                                std::optional<RegValue>* value) {
  RegValue v;
  long rc = inner_.QueryValue(key, name, &v);
  if (rc == reg::kFileNotFound) {
    value->reset();
    return true;
  }
  if (rc != reg::kSuccess || v.data.size() > kMaxValueData) return false;
  *value = std::move(v);
  return true;
}

long JournalledRegistry::OpenKey(RegHandle parent, const std::string& path, std::uint32_t access,
                                 RegHandle* out) {
  long rc = inner_.OpenKey(parent, path, access, out);
  if (rc == reg::kSuccess && *out)
    if (auto full = FullPath(parent, path)) keys_[*out] = *full;
  return rc;
}

long JournalledRegistry::CreateKey(RegHandle parent, const std::string& path, std::uint32_t access,
                                   RegHandle* out) {
  auto full = FullPath(parent, path);
  if (!full) return reg::kInvalidHandle;
  // Each level that is not there yet, outermost first, so that undo
  // removes them innermost first.
  std::vector<Record> made;
  if (!KeyExists(*full)) {
    auto split = SplitKeyPath(*full);
    std::string so_far;
    for (std::size_t i = 0; split && i <= split->second.size(); ++i) {
      if (i < split->second.size() && split->second[i] != '\\') {
        i += text::CharLength(split->second, i) - 1;
        continue;
      }
      std::string level = KeyPath(split->first, split->second.substr(0, i));
      if (KeyExists(level)) continue;
      Record r;
      r.op = Op::kCreateKey;
      r.path = level;
      made.push_back(r);
    }
  }
  for (Record& r : made)
    if (!journal_.Begin(r)) return reg::kAccessDenied;
  long rc = inner_.CreateKey(parent, path, access, out);
  for (const Record& r : made) {
    Completion c;
    c.seq = r.seq;
    c.ok = KeyExists(r.path);
    journal_.Complete(c);
  }
  if (rc == reg::kSuccess && *out) keys_[*out] = *full;
  return rc;
}

long JournalledRegistry::CloseKey(RegHandle key) {
  keys_.erase(key);
  return inner_.CloseKey(key);
}

long JournalledRegistry::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                                  const std::string& data) {
  auto full = FullPath(key, std::string());
  std::optional<RegValue> old;
  if (!full || !Before(key, name, &old)) return reg::kAccessDenied;
  RegValue now{type, data};
  if (SameValue(old, now)) return inner_.SetValue(key, name, type, data);
  Record r;
  r.op = Op::kSetValue;
  r.path = *full;
  r.name = name;
  r.old_value = old;
  r.old_absent = !old;
  r.new_value = now;
  if (!journal_.Begin(r)) return reg::kAccessDenied;
  long rc = inner_.SetValue(key, name, type, data);
  std::optional<RegValue> after;
  Completion c;
  c.seq = r.seq;
  c.ok = Before(key, name, &after) && SameValue(after, now);
  journal_.Complete(c);
  return rc;
}

long JournalledRegistry::DeleteValue(RegHandle key, const std::string& name) {
  auto full = FullPath(key, std::string());
  std::optional<RegValue> old;
  if (!full || !Before(key, name, &old)) return reg::kAccessDenied;
  if (!old) return inner_.DeleteValue(key, name);
  Record r;
  r.op = Op::kDeleteValue;
  r.path = *full;
  r.name = name;
  r.old_value = old;
  if (!journal_.Begin(r)) return reg::kAccessDenied;
  long rc = inner_.DeleteValue(key, name);
  std::optional<RegValue> after;
  Completion c;
  c.seq = r.seq;
  c.ok = Before(key, name, &after) && !after;
  journal_.Complete(c);
  return rc;
}

long JournalledRegistry::DeleteKey(RegHandle parent, const std::string& path) {
  auto full = FullPath(parent, path);
  if (!full) return reg::kInvalidHandle;
  RegHandle key = 0;
  if (inner_.OpenKey(parent, path, reg::kKeyRead, &key) != reg::kSuccess || !key)
    return inner_.DeleteKey(parent, path);  // nothing there to keep
  Record r;
  r.op = Op::kDeleteKey;
  r.path = *full;
  bool read = ReadKeyValues(inner_, key, &r.values);
  inner_.CloseKey(key);
  if (!read || !journal_.Begin(r)) return reg::kAccessDenied;
  long rc = inner_.DeleteKey(parent, path);
  Completion c;
  c.seq = r.seq;
  c.ok = !KeyExists(*full);
  journal_.Complete(c);
  return rc;
}

}  // namespace corvane::journal
