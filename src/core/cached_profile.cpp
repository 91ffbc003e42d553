#include "core/cached_profile.h"

namespace corvane {
namespace {
// More than a store of this program holds; past it the reads start afresh.
constexpr std::size_t kMaxRemembered = 4096;
}  // namespace

CachedProfile::File* CachedProfile::Current(const std::string& file) {
  std::optional<FileStamp> stamp = inner_.Stamp(file);
  auto it = files_.find(file);
  if (it != files_.end() && stamp && it->second.stamp == *stamp &&
      it->second.values.size() + it->second.keys.size() < kMaxRemembered)
    return &it->second;
  if (it != files_.end()) files_.erase(it);
  if (!stamp) return nullptr;
  File& f = files_[file];
  f.stamp = *stamp;
  return &f;
}

std::string CachedProfile::ReadString(const std::string& file, const std::string& section,
                                      const std::string& key, const std::string& default_value) {
  File* f = Current(file);
  if (!f) return inner_.ReadString(file, section, key, default_value);
  auto id = std::make_tuple(section, key, default_value);
  auto it = f->values.find(id);
  if (it != f->values.end()) return it->second;
  std::string value = inner_.ReadString(file, section, key, default_value);
  f->values.emplace(std::move(id), value);
  return value;
}

std::vector<std::string> CachedProfile::ReadKeys(const std::string& file,
                                                 const std::string& section) {
  File* f = Current(file);
  if (!f) return inner_.ReadKeys(file, section);
  auto it = f->keys.find(section);
  if (it != f->keys.end()) return it->second;
  std::vector<std::string> keys = inner_.ReadKeys(file, section);
  f->keys.emplace(section, keys);
  return keys;
}

bool CachedProfile::WriteString(const std::string& file, const std::string& section,
                                const std::string& key, const std::string& value) {
  return Forget(inner_.WriteString(file, section, key, value));
}

bool CachedProfile::DeleteKey(const std::string& file, const std::string& section,
                              const std::string& key) {
  return Forget(inner_.DeleteKey(file, section, key));
}

}  // namespace corvane
