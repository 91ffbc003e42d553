#include "journal/journalled_profile.h"

#include <algorithm>

#include "core/text.h"

namespace corvane::journal {

std::optional<std::string> IniValue(ProfileStore& store, const std::string& file,
                                    const std::string& section, const std::string& key) {
  // A value read back as the default may be absent or may be the default.
  std::vector<std::string> keys = store.ReadKeys(file, section);
  bool present = std::any_of(keys.begin(), keys.end(),
                             [&](const std::string& k) { return text::SameText(k, key); });
  if (!present) return std::nullopt;
  return store.ReadString(file, section, key, std::string());
}

bool JournalledProfileStore::Change(const std::string& file, const std::string& section,
                                    const std::string& key,
                                    const std::optional<std::string>& value,
                                    const std::function<bool()>& change) {
  if (!kept_ || !kept_(section)) return change();
  if (!IsSafeAbsolutePath(file)) return false;
  std::optional<std::string> old = IniValue(inner_, file, section, key);
  if (old == value) return change();  // nothing changes: nothing to record
  Record r;
  r.op = Op::kIniValue;
  r.path = file;
  r.name = IniValueName(section, key);
  if (old) r.old_value = RegValue{reg::kSz, *old};
  r.old_absent = !old;
  if (value) r.new_value = RegValue{reg::kSz, *value};
  return Journalled(journal_, r, nullptr, change, [&](Completion& c) {
    c.ok = IniValue(inner_, file, section, key) == value;
  });
}

bool JournalledProfileStore::WriteString(const std::string& file, const std::string& section,
                                         const std::string& key, const std::string& value) {
  return Change(file, section, key, value,
                [&] { return inner_.WriteString(file, section, key, value); });
}

bool JournalledProfileStore::DeleteKey(const std::string& file, const std::string& section,
                                       const std::string& key) {
  return Change(file, section, key, std::nullopt,
                [&] { return inner_.DeleteKey(file, section, key); });
}

}  // namespace corvane::journal
