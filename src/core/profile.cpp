#include "core/profile.h"

#include "core/ini.h"

namespace corvane {

int ProfileStore::ReadInteger(const std::string& file, const std::string& section,
                              const std::string& key, int default_value) {
  // A unique default tells a missing key from a stored one.
  static const std::string kMissing("\x01missing\x01");
  std::string v = ReadString(file, section, key, kMissing);
  if (v == kMissing) return default_value;
  return ParseProfileInteger(v, default_value);
}

bool ProfileStore::WriteInteger(const std::string& file, const std::string& section,
                                const std::string& key, int value) {
  return WriteString(file, section, key, std::to_string(value));
}

}  // namespace corvane
