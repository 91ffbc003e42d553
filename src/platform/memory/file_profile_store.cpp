#include "platform/memory/file_profile_store.h"

#include <functional>

#include "core/ini.h"
#include "core/text.h"

namespace corvane {

std::string FileProfileStore::ReadString(const std::string& file, const std::string& section,
                                         const std::string& key,
                                         const std::string& default_value) {
  auto data = fs_.ReadFile(file);
  if (!data) return default_value;
  auto value = IniDocument::Parse(*data).Get(section, key);
  return text::TruncateChars(value ? *value : default_value, kProfileValueMax);
}

bool FileProfileStore::WriteString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& value) {
  if (section.empty() || key.empty()) return false;
  auto data = fs_.ReadFile(file);
  IniDocument doc = IniDocument::Parse(data ? *data : std::string());
  doc.Set(section, key, value);
  return fs_.WriteFile(file, doc.Serialize());
}

bool FileProfileStore::DeleteKey(const std::string& file, const std::string& section,
                                 const std::string& key) {
  auto data = fs_.ReadFile(file);
  if (!data) return true;  // nothing to delete is success, as on Windows
  IniDocument doc = IniDocument::Parse(*data);
  if (!doc.Remove(section, key)) return true;
  return fs_.WriteFile(file, doc.Serialize());
}

std::vector<std::string> FileProfileStore::ReadKeys(const std::string& file,
                                                    const std::string& section) {
  auto data = fs_.ReadFile(file);
  if (!data) return {};
  return IniDocument::Parse(*data).Keys(section);
}

std::optional<FileStamp> FileProfileStore::Stamp(const std::string& file) {
  auto data = fs_.ReadFile(file);
  if (!data) return FileStamp{};
  return FileStamp{true, data->size(), std::hash<std::string>()(*data)};
}

}  // namespace corvane
