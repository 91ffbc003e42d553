// The registry as the features see it: every value written or deleted and
// every key made or removed is recorded with what was there before, ahead of
// the change. A change whose before-image cannot be read is refused.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "core/registry.h"
#include "journal/journal.h"

namespace corvane::journal {

class JournalledRegistry : public RegistryBackend {
 public:
  JournalledRegistry(RegistryBackend& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  long OpenKey(RegHandle parent, const std::string& path, std::uint32_t access,
               RegHandle* out) override;
  long CreateKey(RegHandle parent, const std::string& path, std::uint32_t access,
                 RegHandle* out) override;
  long CloseKey(RegHandle key) override;
  long QueryValue(RegHandle key, const std::string& name, RegValue* out) override {
    return inner_.QueryValue(key, name, out);
  }
  long SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                const std::string& data) override;
  long DeleteValue(RegHandle key, const std::string& name) override;
  long DeleteKey(RegHandle parent, const std::string& path) override;
  long EnumSubKeys(RegHandle key, std::vector<std::string>* names) override {
    return inner_.EnumSubKeys(key, names);
  }
  long EnumValues(RegHandle key, std::vector<std::string>* names) override {
    return inner_.EnumValues(key, names);
  }

 private:
  // "HKCU\a\b" for a path below a root or a key this object opened.
  std::optional<std::string> FullPath(RegHandle parent, const std::string& path) const;
  bool KeyExists(const std::string& full);
  // The value's before-image: set, absent (nullopt in *value), or unreadable.
  bool Before(RegHandle key, const std::string& name, std::optional<RegValue>* value);

  RegistryBackend& inner_;
  Journal& journal_;
  std::map<RegHandle, std::string> keys_;
};

// Every value of a key, read through backend; false when any cannot be read.
bool ReadKeyValues(RegistryBackend& backend, RegHandle key, std::vector<NamedValue>* values);

}  // namespace corvane::journal
